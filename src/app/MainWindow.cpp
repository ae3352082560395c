#include "MainWindow.h"
#include "DataModule.h"
#include "MessageBox.h"

#include <QMdiArea>
#include <QStatusBar>

namespace korvan {

MainWindow::MainWindow(DataModule &dm, QWidget *parent) : QMainWindow(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TFrmMain"));
    setWindowTitle(kProductName + kProductVersion);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(m_mdi);
    statusBar()->showMessage(m_dm.db().target().describe());
    DispFormPos(this, 2);
}

} // namespace korvan
