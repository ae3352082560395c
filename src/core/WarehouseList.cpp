#include "WarehouseList.h"
#include "Login.h"

namespace korvan {

QStringList WarehouseNames(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("，"), QStringLiteral(","));
    return parseWarehouseList(plain);
}

QString NormalizedWarehouseList(const QString &text) { return formatWarehouseList(WarehouseNames(text)); }

QList<bool> PreTickedWarehouses(const QStringList &available, const QString &current)
{
    const QStringList chosen = WarehouseNames(current);
    QList<bool> ticked;
    ticked.reserve(available.size());
    for (const QString &name : available) ticked << chosen.contains(name.trimmed());
    return ticked;
}

QString PickedWarehouses(const QStringList &available, const QList<bool> &ticked)
{
    QStringList names;
    for (qsizetype i = 0; i < available.size() && i < ticked.size(); ++i)
        if (ticked[i]) names << available[i].trimmed();
    return formatWarehouseList(names);
}

} // namespace korvan
