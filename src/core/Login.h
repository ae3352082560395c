#pragma once
#include "Session.h"

#include <QSet>
#include <QString>
#include <QStringList>

namespace korvan {
class DataModule;

// Mode 0: the login at start-up; mode 1: a change of operator while working.
enum class LoginMode { Startup = 0, ChangeOperator = 1 };

// An operator's warehouses are stored as quoted names separated by commas
// ('A','B'); a quote inside a name is doubled.
QStringList parseWarehouseList(const QString &stored);
QString formatWarehouseList(const QStringList &names);

// The warehouse restriction of the session as conditions to append to a
// WHERE clause (empty for an unrestricted operator). Documents without a
// warehouse stay visible.
SqlFilter WarehouseNameFilter(const Session &s);   // warehouse lists: rows of t_code by F_Name
SqlFilter WarehouseFilter(const Session &s);       // document rows by F_Depot
SqlFilter HeaderWarehouseFilter(const Session &s); // document headers aliased m
SqlFilter warehouseFilterOn(const Session &s, const QString &column);

// Everything the session holds for the operator `code`: name, role, rights,
// warehouses, company data and user-defined field settings. Super user "000"
// has every right and no warehouse restriction whatever his row says.
Session LoadSession(DataModule &dm, const QString &code);
// Codes of the main-window actions the session's operator may use.
QSet<int> VisibleActions(DataModule &dm, const Session &s);

// The checks of the login window; messages go through ShowMess.
class Login {
public:
    enum class Result {
        Refused,  // no code or no such operator: focus back to the code box
        Retry,    // wrong password, another try allowed
        LoggedIn, // the session is filled
        Failed,   // the fourth wrong password: the attempt ends
    };
    static constexpr int kMaxFailures = 4;

    Login(DataModule &dm, LoginMode mode) : m_dm(dm), m_mode(mode) {}

    LoginMode mode() const { return m_mode; }
    // The code remembered from the last successful login.
    QString initialCode() const;
    // The operator's name; empty when there is no such operator.
    QString operatorName(const QString &code);
    Result confirm(const QString &code, const QString &password);
    int failures() const { return m_failures; }

private:
    DataModule &m_dm;
    LoginMode m_mode;
    int m_failures = 0;
};

// The checks of the password change for the current operator.
enum class PasswordChange { NoOperator, WrongOld, Mismatch, Changed, Failed };
PasswordChange ChangePassword(DataModule &dm, const QString &oldPass, const QString &newPass, const QString &repeat);

} // namespace korvan
