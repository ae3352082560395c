#pragma once
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <array>

namespace korvan {

// Who is logged in and what he may do; filled by a successful login.
struct Session {
    QString operatorCode;   // CurrentOperatorCode; "000" is the super user
    QString operatorName;   // CurrentOperatorName
    QString roleCode;       // CurrentRoleCode

    bool canAdd = false, canEdit = false, canDelete = false, canAudit = false, canSetup = false;
    bool canEditEmployees = false, canEditGoods = false, canEditPartners = false, canSeePrices = false;

    int warehouseScope = 0;          // WarehouseScope: 0 all, 1 only ownWarehouses
    QStringList ownWarehouses;       // OwnWarehouses, as names

    QString companyName, companyPhone, companyFax;
    std::array<QString, 11> userFieldCaptions;
    std::array<bool, 11> userFieldVisible{};

    bool isSuperUser() const { return operatorCode == QLatin1String("000"); }
    bool restrictedToWarehouses() const { return warehouseScope == 1 && !isSuperUser(); }
    // "1" for an operator who may not see prices, else empty.
    QString priceReportSuffix() const { return canSeePrices ? QString() : QStringLiteral("1"); }
};

// A condition with its bound values, to be joined into a WHERE clause.
struct SqlFilter {
    QString sql;          // empty = no condition; otherwise " AND (...)" ready to append
    QVariantList params;
};

} // namespace korvan
