#pragma once
#include <QList>
#include <QString>

namespace korvan {

// The 41 functions of the main window; each is also a permission item.
struct ActionInfo {
    int code;
    QString caption;
    QString windowClass; // the window it opens; empty for built-in handlers
};

const QList<ActionInfo> &allActions();
const ActionInfo *actionByCode(int code);

} // namespace korvan
