#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace korvan {
class DataModule;

// The nine personal rights of an operator: check box caption and column.
struct OperatorRight {
    QString caption;
    QString column;
};
const std::array<OperatorRight, 9> &operatorRights();

// One operator as the editor shows it. The password is what was typed: the
// editor never shows a stored one, and an empty box on an existing operator
// keeps his password.
struct OperatorForm {
    QString code, name, password, roleName, memo;
    bool disabled = false;
    std::array<bool, 9> rights{true, true, true, true, true, true, true, true, true};
    int warehouseScope = 0; // 0 all warehouses, 1 only his own
    QString warehouses;     // 'A','B'
};

struct RoleForm {
    QString code, name, memo;
    bool disabled = false;
    QStringList items; // names of the ticked permission items
};

// The box that gets the focus after a refused save.
enum class AccessField { None, Code, Role, Warehouses };
struct SaveResult {
    bool saved = false;
    AccessField focus = AccessField::None;
};

struct OperatorRow {
    QString code, name, roleName, memo;
    bool disabled = false;
};
struct RoleRow {
    QString code, name, memo;
    bool disabled = false;
};

QList<OperatorRow> LoadOperatorRows(DataModule &dm);
QList<RoleRow> LoadRoleRows(DataModule &dm);

// The roles offered to an operator: enabled ones only.
QStringList OfferedRoleNames(DataModule &dm);
// The permission items of the role editor's check list, by code.
QStringList PermissionItemNames(DataModule &dm);

// "000" is the system's own operator: refused (kind 2) with the message of
// the action; true when `code` may be edited.
bool MayEditOperator(const QString &code);

std::optional<OperatorForm> LoadOperator(DataModule &dm, const QString &code);
std::optional<RoleForm> LoadRole(DataModule &dm, const QString &code);

// Saves the form in one transaction. `openedCode` is the code the editor was
// opened with, empty for a new one; an existing code never changes.
// Refusals and failures are reported through ShowMess.
SaveResult SaveOperator(DataModule &dm, const OperatorForm &form, const QString &openedCode);
SaveResult SaveRole(DataModule &dm, const RoleForm &form, const QString &openedCode);

// Deletions belong to the super user; each asks first. True when deleted.
bool DeleteOperator(DataModule &dm, const QString &code, const QString &name);
bool DeleteRole(DataModule &dm, const QString &code, const QString &name);

} // namespace korvan
