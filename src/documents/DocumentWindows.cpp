// The document windows: one declaration each, made known to the main window.
#include "DocumentWindow.h"
#include "Goods.h"
#include "WindowRegistry.h"

namespace korvan {

namespace {
GridColumn lineColumn(const char *field, const char *caption, int width, FooterKind footer = FooterKind::None)
{
    GridColumn c;
    c.field = QLatin1String(field);
    c.caption = QString::fromUtf8(caption);
    c.width = width;
    c.footer = footer;
    return c;
}

// The goods lines of orders, receipts and returns; the stored layout replaces them.
GridColumns goodsLineColumns()
{
    GridColumns cols = {
        lineColumn("F_GoodCode", "编号", 90), lineColumn("F_GoodName", "名称", 160), lineColumn("F_Type", "类型", 100),
        lineColumn("F_Spec", "规格", 100), lineColumn("F_Address", "产地", 80), lineColumn("F_Unit", "单位", 50),
        lineColumn("F_TMcode", "条码", 100), lineColumn("F_Amount", "数量", 70, FooterKind::Sum),
        lineColumn("F_Price", "单价", 80), lineColumn("F_Rate", "折扣", 60),
        lineColumn("F_TotalPrice", "金额", 90, FooterKind::Sum), lineColumn("F_Mem", "备注", 150)};
    for (const QString &f : userFieldNames()) cols << lineColumn(f.toLatin1().constData(), "", 90);
    return cols;
}

HeaderControl control(const char *name, const char *label, const char *column, HeaderControl::Type type, int row, int col,
                      int span = 1)
{
    HeaderControl c;
    c.objectName = QLatin1String(name);
    c.label = QString::fromUtf8(label);
    c.column = QLatin1String(column);
    c.type = type;
    c.row = row;
    c.column2 = col;
    c.span = span;
    return c;
}

HeaderControl bottomControl(const char *name, const char *label, const char *column, HeaderControl::Type type,
                            bool auditedOnly = false)
{
    HeaderControl c = control(name, label, column, type, 0, 0);
    c.bottom = true;
    c.auditedOnly = auditedOnly;
    return c;
}
} // namespace

const DocumentDeclaration &orderDeclaration()
{
    static const DocumentDeclaration d = [] {
        using T = HeaderControl;
        DocumentDeclaration d;
        d.className = QStringLiteral("TFrmInCaigouDdGl");
        d.caption = QStringLiteral("采购订单管理");
        d.heading = QStringLiteral("采购订单");
        d.kind = &DocumentKind::order();
        d.goodsDocKind = GoodsForOrder;
        HeaderControl emp = control("cbbEmpName", "业 务 员：", "F_EmpName", T::Combo, 1, 2);
        emp.fillSql = QStringLiteral("SELECT F_Name FROM t_employee WHERE F_Flag = ?");
        emp.fillParams = {false};
        HeaderControl depot = control("cbbDepot", "采购仓库：", "F_Depot", T::Combo, 1, 1);
        depot.fillSql = QStringLiteral("SELECT F_Name FROM t_code WHERE F_Name <> '' AND F_Type = ?");
        depot.fillParams = {QStringLiteral("depot")};
        depot.warehouseNames = true;
        depot.fillTail = QStringLiteral("ORDER BY F_ID");
        d.controls = {
            control("edtCode", "单据编号：", "F_Code", T::ReadOnly, 0, 0),
            control("dtpMakeDate", "订货日期：", "F_MakeDate", T::Date, 0, 1),
            control("dtpJHdate", "交货日期：", "F_JHdate", T::Date, 0, 2),
            control("cbeClient", "供 应 商：", "F_Client", T::Supplier, 1, 0),
            depot,
            emp,
            control("edtOldCode", "原始单号：", "F_OldCode", T::Text, 2, 0),
            control("Mem", "备    注：", "F_Mem", T::Memo, 2, 1, 2),
            bottomControl("edtMaker", "制 单 人：", "F_Maker", T::ReadOnly),
            bottomControl("edtDate", "制单日期：", "F_date", T::DateText),
            bottomControl("edtAuditer", "审 核 人：", "F_Auditer", T::ReadOnly, true),
            bottomControl("edtAudDate", "审核日期：", "F_AudDate", T::ReadOnly, true),
        };
        d.lineActions = {
            {QStringLiteral("Button1"), QStringLiteral("actAdd"), QStringLiteral("增行(&F9)"), QStringLiteral("增行"),
             Qt::Key_F9, LineAction::AddLine, {}},
            {QStringLiteral("Button2"), QStringLiteral("actDel"), QStringLiteral("删行(&F10)"), QStringLiteral("删行"),
             Qt::Key_F10, LineAction::DeleteLine, {}},
            // Making a receipt needs the receipt window; until it exists the action stays disabled.
            {QStringLiteral("Button3"), QStringLiteral("actBill"), QStringLiteral("采购入库(&F8)"), QStringLiteral("采购入库"),
             Qt::Key_F8, LineAction::Convert, {}},
        };
        d.lineColumns = goodsLineColumns();
        d.layoutKey = QStringLiteral("incaigouddgl");
        return d;
    }();
    return d;
}

void registerDocumentWindows()
{
    registerWindow(QStringLiteral("TFrmInCaigouDdGl"), WindowKind::Child,
                   [](DataModule &dm, QWidget *parent) { return new DocumentWindow(dm, orderDeclaration(), parent); });
}

} // namespace korvan
