#include "Navigator.h"

#include <QAction>
#include <QWidget>

namespace korvan {

void SetNavigatorButtonsEnabled(QWidget *window, bool enabled)
{
    if (!window) return;
    for (const char *name : {"tbFirst", "tbPrior", "tbNext", "tbLast", "tbPrint", "tbSet", "tbExport"}) {
        QObject *control = window->findChild<QObject *>(QLatin1String(name));
        if (auto *w = qobject_cast<QWidget *>(control)) w->setEnabled(enabled);
        else if (auto *a = qobject_cast<QAction *>(control)) a->setEnabled(enabled);
        else return;
    }
}

} // namespace korvan
