// The windows of the application core, made known to the main window.
#include "AboutBox.h"
#include "DesktopWindow.h"
#include "MainWindow.h"
#include "WindowRegistry.h"

namespace korvan {

void registerAppWindows()
{
    registerWindow(QStringLiteral("TFrmBtnImage"), WindowKind::Child, [](DataModule &, QWidget *parent) -> QWidget * {
        auto *main = qobject_cast<MainWindow *>(parent);
        return main ? new DesktopWindow(main) : nullptr;
    });
    registerWindow(QStringLiteral("TfrmAboutInfo"), WindowKind::Modal,
                   [](DataModule &, QWidget *parent) { return new AboutBox(parent); });
}

} // namespace korvan
