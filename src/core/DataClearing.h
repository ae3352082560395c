#pragma once
#include <QList>
#include <QString>
#include <QVariantList>

namespace korvan {
class DataModule;

// One choice of the data clearing: its check box, its group and the
// statements it runs, in order.
struct ClearingChoice {
    QString caption;
    QString group;
    struct Statement { QString sql; QVariantList params; };
    QList<Statement> statements;
};

// The ten choices in the order they run.
const QList<ClearingChoice> &clearingChoices();

enum class ClearingResult { Declined, Cleared, Failed };
// "确定" of the data clearing: asks, then runs the statements of every chosen
// index (into clearingChoices()) in one transaction; all or nothing.
ClearingResult ClearData(DataModule &dm, const QList<bool> &chosen);

} // namespace korvan
