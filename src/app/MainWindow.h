#pragma once
#include <QMainWindow>

class QMdiArea;

namespace korvan {
class DataModule;

// The application's MDI frame.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(DataModule &dm, QWidget *parent = nullptr);
    QMdiArea *mdiArea() const { return m_mdi; }
private:
    DataModule &m_dm;
    QMdiArea *m_mdi;
};

} // namespace korvan
