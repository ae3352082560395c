#include "WindowRegistry.h"
#include "Actions.h"

#include <QHash>
#include <QMap>

namespace korvan {

namespace {
QMap<QString, WindowEntry> &byClass()
{
    static QMap<QString, WindowEntry> entries;
    return entries;
}

QHash<int, WindowEntry> &byAction()
{
    static QHash<int, WindowEntry> entries;
    return entries;
}
} // namespace

void registerWindow(const QString &className, WindowKind kind, WindowFactory create)
{
    byClass().insert(className, WindowEntry{className, kind, std::move(create)});
}

void registerActionWindow(int actionCode, WindowKind kind, WindowFactory create)
{
    const ActionInfo *a = actionByCode(actionCode);
    if (!a || a->windowClass.isEmpty()) return;
    byAction().insert(actionCode, WindowEntry{a->windowClass, kind, std::move(create)});
}

const WindowEntry *registeredWindow(const QString &className)
{
    auto it = byClass().constFind(className);
    return it == byClass().constEnd() ? nullptr : &it.value();
}

const WindowEntry *registeredActionWindow(int actionCode)
{
    auto it = byAction().constFind(actionCode);
    return it == byAction().constEnd() ? nullptr : &it.value();
}

const WindowEntry *windowForAction(int actionCode)
{
    if (const WindowEntry *e = registeredActionWindow(actionCode)) return e;
    const ActionInfo *a = actionByCode(actionCode);
    return a && !a->windowClass.isEmpty() ? registeredWindow(a->windowClass) : nullptr;
}

QStringList registeredWindowClasses() { return byClass().keys(); }

void registerAllWindows()
{
    static bool done = false;
    if (done) return;
    done = true;
    registerAppWindows();
    registerAdminWindows();
    registerMasterWindows();
    registerDocumentWindows();
}

} // namespace korvan
