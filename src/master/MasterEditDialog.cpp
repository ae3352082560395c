#include "MasterEditDialog.h"
#include "DataModule.h"
#include "Messages.h"
#include "Money.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>

namespace korvan {

namespace {
// A date box with its tick: unticked means no date.
QWidget *dateBox(const QString &name, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto *tick = new QCheckBox(box);
    tick->setObjectName(name + QStringLiteral("Set"));
    auto *date = new QDateEdit(QDate::currentDate(), box);
    date->setObjectName(name);
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date->setCalendarPopup(true);
    date->setEnabled(false);
    QObject::connect(tick, &QCheckBox::toggled, date, &QWidget::setEnabled);
    row->addWidget(tick);
    row->addWidget(date, 1);
    box->setFocusProxy(date);
    return box;
}
} // namespace

MasterEditDialog::MasterEditDialog(DataModule &dm, RowCursor *rows, Config config, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_rows(rows), m_config(std::move(config))
{
    m_layout = new QVBoxLayout(this);
    auto *save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(save, &QShortcut::activated, this, [this] { if (m_ok->isEnabled()) okClick(); });
}

QWidget *MasterEditDialog::addFields(const QList<EditField> &fields, int columns, QWidget *parent)
{
    auto *panel = new QWidget(parent ? parent : this);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0, col = 0;
    static const QRegularExpression number(QStringLiteral("^-?[0-9,]*\\.?[0-9]*$"));
    for (const EditField &f : fields) {
        QWidget *box = nullptr;
        switch (f.kind) {
        case FieldKind::Text: case FieldKind::Money: case FieldKind::Number: {
            auto *edit = new QLineEdit(panel);
            if (f.kind != FieldKind::Text) {
                edit->setValidator(new QRegularExpressionValidator(number, edit));
                edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            box = edit;
            break;
        }
        case FieldKind::Memo: {
            auto *memo = new QPlainTextEdit(panel);
            memo->setTabChangesFocus(true);
            memo->setFixedHeight(memo->fontMetrics().height() * 3 + 12);
            box = memo;
            break;
        }
        case FieldKind::Combo: {
            auto *combo = new QComboBox(panel);
            combo->setEditable(true);
            combo->addItems(f.items);
            combo->setCurrentIndex(-1);
            box = combo;
            break;
        }
        case FieldKind::Check: box = new QCheckBox(f.label, panel); break;
        case FieldKind::Date: box = dateBox(f.name, panel); break;
        }
        if (f.kind != FieldKind::Date) box->setObjectName(f.name);
        box->setProperty("column", f.column);
        if (f.kind != FieldKind::Check && f.kind != FieldKind::Memo) box->setMinimumWidth(130);
        QWidget *cell = box;
        if (f.side) {
            cell = new QWidget(panel);
            auto *pair = new QHBoxLayout(cell);
            pair->setContentsMargins(0, 0, 0, 0);
            box->setParent(cell);
            pair->addWidget(box, 1);
            pair->addWidget(f.side(cell));
        }
        m_widgets.insert(f.column.toLower(), box);
        m_cells.insert(f.column.toLower(), cell);
        m_kinds.insert(f.column.toLower(), f.kind);
        const int span = qMin(f.kind == FieldKind::Memo ? columns : f.span, columns);
        if (col + span > columns) { ++row; col = 0; }
        if (f.kind == FieldKind::Check) {
            grid->addWidget(cell, row, col * 2 + 1, 1, span * 2 - 1);
        } else {
            auto *label = new QLabel(f.label, panel);
            label->setObjectName(QStringLiteral("lbl") + f.name.mid(3));
            label->setBuddy(f.kind == FieldKind::Date ? box->focusProxy() : box);
            grid->addWidget(label, row, col * 2, f.kind == FieldKind::Memo ? Qt::AlignTop | Qt::AlignRight : Qt::AlignRight);
            grid->addWidget(cell, row, col * 2 + 1, 1, span * 2 - 1);
        }
        col += span;
        if (col >= columns) { ++row; col = 0; }
    }
    for (int c = 0; c < columns; ++c) grid->setColumnStretch(c * 2 + 1, 1);
    return panel;
}

void MasterEditDialog::setBody(QWidget *body) { m_layout->addWidget(body, 1); }

QLabel *MasterEditDialog::labelOf(const QString &column) const
{
    QWidget *box = fieldWidget(column);
    if (!box) return nullptr;
    for (QLabel *label : findChildren<QLabel *>())
        if (label->buddy() == box || (box->focusProxy() && label->buddy() == box->focusProxy())) return label;
    return nullptr;
}

void MasterEditDialog::setFieldVisible(const QString &column, bool visible)
{
    if (QWidget *cell = m_cells.value(column.toLower())) cell->setVisible(visible);
    if (QLabel *label = labelOf(column)) label->setVisible(visible);
}

void MasterEditDialog::finishLayout()
{
    auto *bottom = new QHBoxLayout;
    m_continue = new QCheckBox(QStringLiteral("连续新增"), this);
    m_continue->setObjectName(QStringLiteral("chkContinue"));
    m_continue->setChecked(m_config.continueByDefault);
    bottom->addWidget(m_continue);
    m_navigator = new QWidget(this);
    m_navigator->setObjectName(QStringLiteral("DBNavigator1"));
    auto *nav = new QHBoxLayout(m_navigator);
    nav->setContentsMargins(0, 0, 0, 0);
    nav->setSpacing(0);
    const QList<QPair<QString, QString>> buttons = {{"navFirst", "|◀"}, {"navPrior", "◀"}, {"navNext", "▶"}, {"navLast", "▶|"}};
    for (const auto &b : buttons) {
        auto *button = new QPushButton(b.second, m_navigator);
        button->setObjectName(b.first);
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("▶|")) + 20);
        button->setAutoDefault(false);
        nav->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, which = b.first] {
            const int row = m_rows->currentRow();
            navigate(which == QLatin1String("navFirst") ? 0 : which == QLatin1String("navPrior") ? row - 1
                     : which == QLatin1String("navNext") ? row + 1 : m_rows->rowCount() - 1);
        });
    }
    bottom->addWidget(m_navigator);
    bottom->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_cancel->setAutoDefault(false);
    bottom->addWidget(m_ok);
    bottom->addWidget(m_cancel);
    m_layout->addLayout(bottom);
    connect(m_ok, &QPushButton::clicked, this, &MasterEditDialog::okClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int MasterEditDialog::edit(int mode)
{
    m_new = mode == 0;
    setWindowTitle(m_new ? m_config.captionNew : m_config.captionEdit);
    m_continue->setVisible(m_new && !m_pickerMode);
    m_navigator->setVisible(!m_new && !m_pickerMode && m_rows);
    m_ok->setEnabled(m_config.mayEdit);
    prepare(mode);
    if (m_new) clearRecord();
    else loadCurrent();
    adjustSize();
    return exec();
}

void MasterEditDialog::loadCurrent()
{
    m_id = m_rows ? m_rows->idAt(m_rows->currentRow()) : 0;
    QVariantMap row;
    try {
        row = LoadRecord(m_dm.db(), m_config.table, m_id);
    } catch (const DbError &) {
        ShowMess(DataModule::openFailMessage(), MsgError);
    }
    loadRecord(row);
}

void MasterEditDialog::navigate(int row)
{
    if (!m_rows || row < 0 || row >= m_rows->rowCount()) return;
    m_rows->setCurrentRow(row);
    loadCurrent();
}

QVariant MasterEditDialog::value(const QString &column) const
{
    QWidget *w = fieldWidget(column);
    if (!w) return {};
    switch (m_kinds.value(column.toLower())) {
    case FieldKind::Text: return static_cast<QLineEdit *>(w)->text();
    case FieldKind::Memo: return static_cast<QPlainTextEdit *>(w)->toPlainText();
    case FieldKind::Combo: return static_cast<QComboBox *>(w)->currentText();
    case FieldKind::Check: return static_cast<QCheckBox *>(w)->isChecked();
    case FieldKind::Money:
        return QVariant::fromValue(Money::parse(static_cast<QLineEdit *>(w)->text()).value_or(Money()));
    case FieldKind::Number: return static_cast<QLineEdit *>(w)->text().remove(QLatin1Char(',')).toDouble();
    case FieldKind::Date: {
        auto *tick = w->findChild<QCheckBox *>();
        return tick->isChecked() ? static_cast<QDateEdit *>(w->focusProxy())->date() : QDate();
    }
    }
    return {};
}

void MasterEditDialog::setValue(const QString &column, const QVariant &v)
{
    QWidget *w = fieldWidget(column);
    if (!w) return;
    switch (m_kinds.value(column.toLower())) {
    case FieldKind::Text: static_cast<QLineEdit *>(w)->setText(v.toString()); break;
    case FieldKind::Memo: static_cast<QPlainTextEdit *>(w)->setPlainText(v.toString()); break;
    case FieldKind::Combo: static_cast<QComboBox *>(w)->setEditText(v.toString()); break;
    case FieldKind::Check: static_cast<QCheckBox *>(w)->setChecked(v.toBool()); break;
    case FieldKind::Money:
        static_cast<QLineEdit *>(w)->setText(v.isValid() ? v.value<Money>().toShortString() : QString());
        break;
    case FieldKind::Number: static_cast<QLineEdit *>(w)->setText(v.isValid() ? QString::number(v.toDouble()) : QString()); break;
    case FieldKind::Date: {
        const QDate d = v.toDate();
        const bool set = d.isValid() && d >= QDate(1901, 8, 14);
        w->findChild<QCheckBox *>()->setChecked(set);
        if (set) static_cast<QDateEdit *>(w->focusProxy())->setDate(d);
        break;
    }
    }
}

QVariantMap MasterEditDialog::values() const
{
    QVariantMap out;
    for (auto it = m_widgets.begin(); it != m_widgets.end(); ++it) {
        // Keys in the declared spelling are what the core expects.
        const QString column = it.value()->property("column").toString();
        out.insert(column, value(column));
    }
    return out;
}

void MasterEditDialog::loadRecord(const QVariantMap &row)
{
    for (auto it = row.begin(); it != row.end(); ++it) setValue(it.key(), it.value());
}

void MasterEditDialog::clearRecord()
{
    m_id = 0;
    for (QWidget *w : std::as_const(m_widgets)) setValue(w->property("column").toString(), QVariant());
}

void MasterEditDialog::okClick()
{
    if (!m_ok->isEnabled()) return;
    QString code;
    const MasterResult r = save(values(), code);
    if (!r.ok) {
        ShowMess(r.message, r.kind);
        if (QWidget *w = fieldWidget(r.focus.isEmpty() ? QStringLiteral("F_Code") : r.focus)) w->setFocus();
        return;
    }
    m_savedCode = code;
    if (m_new) m_id = r.id;
    if (m_rows) m_rows->refreshAt(code);
    if (m_pickerMode || !m_new || !m_continue->isChecked()) {
        accept();
        return;
    }
    clearRecord();
    if (QWidget *w = fieldWidget(m_config.continueFocus)) w->setFocus();
}

} // namespace korvan
