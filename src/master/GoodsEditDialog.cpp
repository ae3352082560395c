#include "GoodsEditDialog.h"
#include "CodeManPicker.h"
#include "OpeningStockGrid.h"
#include "DataModule.h"
#include "Messages.h"
#include "TreeCodeWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace korvan {

namespace {
MasterEditDialog::Config goodsEditConfig(const Session &s)
{
    return {QStringLiteral("t_goods"), QStringLiteral("货品信息编辑 - 新增"), QStringLiteral("货品信息编辑 - 修改"), true,
            s.canEditGoods || s.isSuperUser(), QStringLiteral("F_Name")};
}

bool seesPrices(const Session &s) { return s.canSeePrices || s.isSuperUser(); }
} // namespace

GoodsEditDialog::GoodsEditDialog(DataModule &dm, RowCursor *rows, QWidget *parent)
    : MasterEditDialog(dm, rows, goodsEditConfig(dm.session()), parent)
{
    setObjectName(QStringLiteral("TFrmGoodEdit"));
    auto button = [this](const char *name, void (GoodsEditDialog::*run)()) {
        return [this, name, run](QWidget *p) -> QWidget * {
            auto *b = new QToolButton(p);
            b->setObjectName(QLatin1String(name));
            b->setText(QStringLiteral("…"));
            b->setFocusPolicy(Qt::NoFocus);
            connect(b, &QToolButton::clicked, this, run);
            return b;
        };
    };
    auto autoTick = [this](QWidget *p) -> QWidget * {
        m_auto = new QCheckBox(QStringLiteral("自动"), p);
        m_auto->setObjectName(QStringLiteral("chkAuto"));
        connect(m_auto, &QCheckBox::clicked, this, &GoodsEditDialog::autoToggled);
        return m_auto;
    };
    auto *main = new QGroupBox(this);
    auto *mainLayout = new QVBoxLayout(main);
    mainLayout->addWidget(addFields({
        {"F_Code", "edtCode", "货品编码：", FieldKind::Text, {}, 1, autoTick},
        {"F_Name", "edtName", "货品名称："},
        {"F_Type", "edtType", "货品类型：", FieldKind::Text, {}, 1, button("btnType", &GoodsEditDialog::pickType)},
        {"F_Spec", "edtSpec", "商品规格：", FieldKind::Text, {}, 1, button("btnSpec", &GoodsEditDialog::pickSymbol)},
        {"F_Unit", "cbUnit", "计量单位：", FieldKind::Combo},
        {"F_BarCode", "edtBarCode", "货品条码："},
        {"F_EnterPrice", "edtEnterPrice", "成 本 价：", FieldKind::Money},
        {"F_SalePrice", "edtSalePrice", "参考售价：", FieldKind::Money},
        {"F_Address", "edtAddress", "产    地：", FieldKind::Text, {}, 2},
        {"F_Mem", "memMem", "备    注：", FieldKind::Memo},
        {"F_Flag", "chkFlag", "停用", FieldKind::Check},
        {"F_DeptUp", "edtDeptUp", "库存上限：", FieldKind::Number},
        {"F_DeptDown", "edtDeptDown", "库存下限：", FieldKind::Number},
        {"F_Depot", "cbDepot", "默认仓库：", FieldKind::Combo},
    }, 2, main));
    for (const char *hidden : {"F_DeptUp", "F_DeptDown", "F_Depot"}) setFieldVisible(hidden, false);

    auto *user = new QGroupBox(this);
    user->setObjectName(QStringLiteral("grpUserFields"));
    auto *userLayout = new QVBoxLayout(user);
    QList<EditField> userFields;
    for (int i = 1; i <= 5; ++i) userFields << EditField{QStringLiteral("F_ZF%1").arg(i), QStringLiteral("edtZF%1").arg(i), {}};
    for (int i = 1; i <= 3; ++i)
        userFields << EditField{QStringLiteral("F_SZ%1").arg(i), QStringLiteral("edtSZ%1").arg(i), {}, FieldKind::Number};
    for (int i = 1; i <= 3; ++i)
        userFields << EditField{QStringLiteral("F_RQ%1").arg(i), QStringLiteral("dtpRQ%1").arg(i), {}, FieldKind::Date};
    userLayout->addWidget(addFields(userFields, 2, user));

    auto *right = new QVBoxLayout;
    right->addWidget(main);
    right->addWidget(user);
    right->addStretch(1);
    auto *body = new QWidget(this);
    auto *bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    m_stock = new OpeningStockGrid(dm, body);
    bodyLayout->addWidget(m_stock);
    bodyLayout->addLayout(right, 1);
    setBody(body);
    finishLayout();

    fieldWidget("F_Unit")->installEventFilter(this);
    resize(900, 520);
}

void GoodsEditDialog::prepare(int mode)
{
    const Session &s = dm().session();
    auto *unit = static_cast<QComboBox *>(fieldWidget("F_Unit"));
    unit->clear();
    unit->addItems(GoodsUnits(dm()));
    auto *depot = static_cast<QComboBox *>(fieldWidget("F_Depot"));
    depot->clear();
    depot->addItems(OperatorWarehouses(dm(), s));
    m_auto->setEnabled(mode == 0);
    m_auto->setChecked(mode == 0 && dm().switches().autoGoodsCode);
    for (const char *price : {"F_EnterPrice", "F_SalePrice"}) setFieldVisible(price, seesPrices(s));
    bool anyUserField = false;
    for (int i = 0; i < 11; ++i) {
        static const char *const fields[] = {"F_ZF1", "F_ZF2", "F_ZF3", "F_ZF4", "F_ZF5", "F_SZ1",
                                             "F_SZ2", "F_SZ3", "F_RQ1", "F_RQ2", "F_RQ3"};
        if (QLabel *label = labelOf(fields[i])) label->setText(s.userFieldCaptions[size_t(i)] + QStringLiteral("："));
        setFieldVisible(fields[i], s.userFieldVisible[size_t(i)]);
        anyUserField = anyUserField || s.userFieldVisible[size_t(i)];
    }
    findChild<QWidget *>(QStringLiteral("grpUserFields"))->setVisible(anyUserField);
}

void GoodsEditDialog::defaultWarehouse()
{
    auto *depot = static_cast<QComboBox *>(fieldWidget("F_Depot"));
    if (depot->currentText().isEmpty() && depot->count() > 0) depot->setCurrentIndex(0);
}

void GoodsEditDialog::loadRecord(const QVariantMap &row)
{
    MasterEditDialog::loadRecord(row);
    m_oldCode = row.value("F_Code").toString();
    defaultWarehouse();
    m_stock->load(m_oldCode);
}

void GoodsEditDialog::clearRecord()
{
    MasterEditDialog::clearRecord();
    m_oldCode.clear();
    autoToggled(m_auto->isChecked());
    defaultWarehouse();
    m_stock->load(QString());
}

void GoodsEditDialog::autoToggled(bool on)
{
    QWidget *code = fieldWidget("F_Code");
    if (on) setValue("F_Code", NextGoodsCode(dm()));
    code->setFocusPolicy(on ? Qt::ClickFocus : Qt::StrongFocus);
}

void GoodsEditDialog::pickType()
{
    setValue("F_Type", PickGoodsType(dm(), this, value("F_Type").toString()));
}

void GoodsEditDialog::pickSymbol()
{
    CodeManPicker picker(dm(), this);
    picker.CodeType = QStringLiteral("abSheet1");
    picker.setWindowTitle(QStringLiteral("特殊符号"));
    QString symbol;
    if (picker.SelectCode(symbol) && !symbol.isEmpty()) static_cast<QLineEdit *>(fieldWidget("F_Spec"))->insert(symbol);
}

bool GoodsEditDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == fieldWidget("F_Unit") && event->type() == QEvent::FocusOut) unitExit();
    return MasterEditDialog::eventFilter(watched, event);
}

void GoodsEditDialog::unitExit()
{
    auto *unit = static_cast<QComboBox *>(fieldWidget("F_Unit"));
    const QString typed = unit->currentText();
    if (m_inUnitCheck || typed.trimmed().isEmpty() || GoodsUnitExists(dm(), typed)) return;
    m_inUnitCheck = true;
    if (ShowMess(QStringLiteral("此货品计量单位不存在，真的要新增此单位吗？"), MsgQuestion) == AnswerNo) {
        unit->clearEditText();
        unit->setFocus();
    } else if (AddGoodsUnit(dm(), typed)) {
        unit->addItem(typed);
        auto *barcode = static_cast<QLineEdit *>(fieldWidget("F_BarCode"));
        barcode->setFocus();
        barcode->selectAll();
    }
    m_inUnitCheck = false;
}

MasterResult GoodsEditDialog::save(const QVariantMap &values, QString &code)
{
    GoodsEdit e;
    e.isNew = isNew();
    e.id = editedId();
    e.oldCode = m_oldCode;
    e.autoCode = m_auto->isChecked();
    e.values = values;
    e.stock = m_stock->lines();
    const MasterResult r = SaveGoods(dm(), e);
    code = e.values.value("F_Code").toString().trimmed();
    return r;
}

} // namespace korvan
