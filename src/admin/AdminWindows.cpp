// The windows of system administration, made known to the main window.
#include "PasswordWindow.h"
#include "SysInfoWindow.h"
#include "WindowRegistry.h"

namespace korvan {

void registerAdminWindows()
{
    registerWindow(QStringLiteral("TfrmModPass"), WindowKind::Modal,
                   [](DataModule &dm, QWidget *parent) { return new PasswordWindow(dm, parent); });
    registerSettingsWindows(); // TFrmUserInfo, TfrmSysInfoGl
}

} // namespace korvan
