#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace korvan {

// An operator's warehouses as the editor and the picker handle them: the
// stored form 'A','B' (see formatWarehouseList), where a typed full-width
// comma separates names as well.
QStringList WarehouseNames(const QString &text);
// The stored form of `text`, whatever separators and quotes were typed.
QString NormalizedWarehouseList(const QString &text);

// The warehouse picker: which of `available` start ticked for the current
// value. Names match whole, so 'AB' does not tick A.
QList<bool> PreTickedWarehouses(const QStringList &available, const QString &current);
// The picker's result for the ticked items, in list order: 'A','B'; empty
// when nothing is ticked.
QString PickedWarehouses(const QStringList &available, const QList<bool> &ticked);

} // namespace korvan
