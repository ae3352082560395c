#include "DataClearing.h"
#include "DataModule.h"
#include "Messages.h"

namespace korvan {

namespace {
ClearingChoice::Statement all(const char *table)
{
    return {QStringLiteral("DELETE FROM ") + QLatin1String(table), {}};
}

// Receipt and return lines share depotD and are told apart by the code prefix.
ClearingChoice::Statement linesOf(const DocumentSeries &series)
{
    return {QStringLiteral("DELETE FROM depotD WHERE F_Code LIKE ?") + kLikeEscape, {likeLiteral(series.prefix) + '%'}};
}

ClearingChoice::Statement headersOf(const DocumentSeries &series)
{
    return {QStringLiteral("DELETE FROM depotM WHERE F_Flag = ?"), {series.kind}};
}
} // namespace

const QList<ClearingChoice> &clearingChoices()
{
    const QString docs = QStringLiteral("采购单据"), master = QStringLiteral("基本资料");
    static const QList<ClearingChoice> choices = {
        {QStringLiteral("采购订货单"), docs, {all("ddDepotD"), all("ddDepotM")}},
        {QStringLiteral("采购进货单"), docs, {headersOf(Series::Receipt), linesOf(Series::Receipt)}},
        {QStringLiteral("采购退货单"), docs, {headersOf(Series::Return), linesOf(Series::Return)}},
        {QStringLiteral("采购收票单"), docs, {all("KPdepotD"), all("KPdepotM")}},
        {QStringLiteral("采购付款单"), docs, {all("cashPayM"), all("cashPayD")}},
        {QStringLiteral("供应商档案"), master, {all("t_client")}},
        {QStringLiteral("员工档案"), master, {all("t_employee")}},
        {QStringLiteral("货品资料"), master, {all("t_goods"), all("t_begDept")}},
        {QStringLiteral("货品类型"), master, {all("t_treecode")}},
        {QStringLiteral("选项.."), master, {all("t_code")}},
    };
    return choices;
}

ClearingResult ClearData(DataModule &dm, const QList<bool> &chosen)
{
    if (ShowMess(QStringLiteral("数据清理，将删除所有列表框所选中的所有数据表的数据，\n"
                                "建议您在清理之前，备份当前数据，真的要清除当前数据吗？"),
                 MsgQuestion)
        == AnswerNo)
        return ClearingResult::Declined;
    const QList<ClearingChoice> &choices = clearingChoices();
    try {
        WriteTransaction tx(dm.db());
        for (qsizetype i = 0; i < choices.size() && i < chosen.size(); ++i) {
            if (!chosen[i]) continue;
            for (const ClearingChoice::Statement &s : choices[i].statements) dm.db().exec(s.sql, s.params);
        }
        tx.commit();
    } catch (const DbError &e) {
        qWarning("%s", qPrintable(e.message()));
        ShowMess(QStringLiteral("操作失败，请检查连接..."), MsgError);
        return ClearingResult::Failed;
    }
    ShowMess(QStringLiteral("数据清理成功！"), MsgInfo);
    return ClearingResult::Cleared;
}

} // namespace korvan
