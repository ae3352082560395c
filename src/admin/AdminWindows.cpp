// The windows of system administration, made known to the main window.
#include "DataBackWindow.h"
#include "DataClearWindow.h"
#include "OperGlWindow.h"
#include "PasswordWindow.h"
#include "SysInfoWindow.h"
#include "WindowRegistry.h"

namespace korvan {

void registerAdminWindows()
{
    registerWindow(QStringLiteral("TfrmModPass"), WindowKind::Modal,
                   [](DataModule &dm, QWidget *parent) { return new PasswordWindow(dm, parent); });
    registerWindow(QStringLiteral("TFrmOperGl"), WindowKind::Modal,
                   [](DataModule &dm, QWidget *parent) { return new OperGlWindow(dm, parent); });
    registerWindow(QStringLiteral("TFrmDataBack"), WindowKind::Modal,
                   [](DataModule &dm, QWidget *parent) { return new DataBackWindow(dm, parent); });
    registerWindow(QStringLiteral("TFrmDataClear"), WindowKind::Modal,
                   [](DataModule &dm, QWidget *parent) { return new DataClearWindow(dm, parent); });
    registerSettingsWindows(); // TFrmUserInfo, TfrmSysInfoGl
}

} // namespace korvan
