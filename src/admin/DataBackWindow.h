#pragma once
#include <QDialog>
#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;
class QButtonGroup;

namespace korvan {
class DataModule;

// TFrmDataBack "系统备份及恢复": backup folder, automatic backup mode,
// backup by hand and restore.
class DataBackWindow : public QDialog {
    Q_OBJECT
public:
    explicit DataBackWindow(DataModule &dm, QWidget *parent = nullptr);

    // The platform's choices; tests replace them.
    std::function<QString(const QString &start)> chooseFolder;        // empty = cancelled
    std::function<std::optional<QString>()> askRestorePassword;       // nullopt = cancelled
    std::function<QString(const QString &folder)> chooseBackupFile;   // empty = none chosen
    std::function<void()> restartApplication;

private:
    void folderClick();
    void okClick();
    void backupClick();
    void restoreClick();

    DataModule &m_dm;
    QLineEdit *m_path;
    QButtonGroup *m_auto;
    QPushButton *m_btnRestore;
};

} // namespace korvan
