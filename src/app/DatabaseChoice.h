#pragma once
#include <QDialog>
#include <functional>

class QLineEdit;
class QRadioButton;

namespace korvan {
class AppSettings;

// "连接网络数据": the database used from the next start, a SQLite file's
// folder (`ds`) or a PostgreSQL server (`pgurl`).
class DatabaseChoice : public QDialog {
    Q_OBJECT
public:
    DatabaseChoice(AppSettings &settings, QWidget *parent = nullptr);
    void accept() override;

    // Picks a database file; empty when cancelled. Tests replace it.
    std::function<QString(const QString &startFolder)> chooseFile;

private:
    void browse();
    void updateState();

    AppSettings &m_settings;
    QRadioButton *m_sqlite, *m_postgres;
    QLineEdit *m_folder, *m_url;
};

} // namespace korvan
