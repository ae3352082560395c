#include "SupplierEditDialog.h"
#include "DataModule.h"

#include <QComboBox>
#include <QLineEdit>

namespace korvan {

namespace {
MasterEditDialog::Config supplierEditConfig(const Session &s)
{
    return {QStringLiteral("t_client"), QStringLiteral("供应商资料 - 新增"), QStringLiteral("供应商资料 - 修改"), true,
            s.canEditPartners || s.isSuperUser(), QStringLiteral("F_Code")};
}
} // namespace

SupplierEditDialog::SupplierEditDialog(DataModule &dm, RowCursor *rows, QWidget *parent)
    : MasterEditDialog(dm, rows, supplierEditConfig(dm.session()), parent)
{
    setObjectName(QStringLiteral("TfrmCltEdit"));
    const QList<EditField> fields = {
        {"F_Code", "edtCode", "编    号："},
        {"F_Name", "edtName", "名    称："},
        {"F_Type", "cbType", "类    型：", FieldKind::Combo},
        {"F_EmpName", "cbEmpName", "业 务 员：", FieldKind::Combo},
        {"F_LinkMan", "edtLinkMan", "联 系 人："},
        {"F_PostCode", "edtPostCode", "邮    编："},
        {"F_Address", "edtAddress", "地    址：", FieldKind::Text, {}, 2},
        {"F_Phone", "edtPhone", "固定电话："},
        {"F_HandPhone", "edtHandPhone", "手    机："},
        {"F_Fax", "edtFax", "传    真："},
        {"F_BegPrice", "edtBegPrice", "期初欠款：", FieldKind::Money},
        {"F_Bank", "edtBank", "开户银行："},
        {"F_Account", "edtAccount", "银行帐号："},
        {"F_RateCode", "edtRateCode", "纳 税 号："},
        {"F_Homepage", "edtHomepage", "公司主页："},
        {"F_Email", "edtEmail", "电子邮箱："},
        {"F_Enrol", "edtEnrol", "公司法人："},
        {"F_Mem", "memMem", "备    注：", FieldKind::Memo},
        {"F_useFlag", "chkUseFlag", "停用", FieldKind::Check},
    };
    setBody(addFields(fields, 2));
    finishLayout();
    resize(620, sizeHint().height());
}

void SupplierEditDialog::prepare(int mode)
{
    auto *type = static_cast<QComboBox *>(fieldWidget("F_Type"));
    type->clear();
    type->addItems(PartnerTypeNames(dm()));
    auto *emp = static_cast<QComboBox *>(fieldWidget("F_EmpName"));
    emp->clear();
    emp->addItems(SalespersonNames(dm()));
    auto *code = static_cast<QLineEdit *>(fieldWidget("F_Code"));
    code->setReadOnly(mode != 0);
    code->setFocusPolicy(mode != 0 ? Qt::NoFocus : Qt::StrongFocus);
    code->setStyleSheet(mode != 0 ? QStringLiteral("QLineEdit { background: #e8e4d8; }") : QString());
}

MasterResult SupplierEditDialog::save(const QVariantMap &values, QString &code)
{
    SupplierEdit e;
    e.isNew = isNew();
    e.id = editedId();
    e.kind = m_kind;
    e.values = values;
    const MasterResult r = SaveSupplier(dm(), e);
    code = e.values.value(QStringLiteral("F_Code")).toString();
    return r;
}

} // namespace korvan
