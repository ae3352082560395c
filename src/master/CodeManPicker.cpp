#include "CodeManPicker.h"
#include "AddTextDialog.h"
#include "MessageBox.h"
#include "OptionCodes.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

CodeManPicker::CodeManPicker(DataModule &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TDlgCodeFuHaoXz"));
    setWindowTitle(QStringLiteral("选项代码"));
    inputText = [this](QString &text) {
        AddTextDialog dialog(this);
        return dialog.InputText(text);
    };

    const auto box = [](const QString &caption, const QString &name, QHBoxLayout *row) {
        auto *label = new QLabel(caption);
        auto *edit = new QLineEdit;
        edit->setObjectName(name);
        label->setBuddy(edit);
        row->addWidget(label);
        row->addWidget(edit, 1);
        return edit;
    };
    auto *top = new QHBoxLayout;
    m_code = box(QStringLiteral("助 记 码："), QStringLiteral("edtCode"), top);
    m_name = box(QStringLiteral("名    称："), QStringLiteral("edtName"), top);
    auto *search = new QPushButton(QStringLiteral("查询"));
    search->setObjectName(QStringLiteral("btnQuery"));
    search->setAutoDefault(false);
    top->addWidget(search);

    // One column "名称", whole rows selected.
    m_grid = new QListWidget;
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setMinimumSize(380, 300);
    auto *title = new QLabel(QStringLiteral("名称"));
    title->setObjectName(QStringLiteral("lblColumn"));
    title->setBuddy(m_grid);

    auto *add = new QPushButton(QStringLiteral("新增"));
    add->setObjectName(QStringLiteral("btnNew"));
    auto *ok = new QPushButton(QStringLiteral("确定"));
    ok->setObjectName(QStringLiteral("btnOK"));
    auto *close = new QPushButton(QStringLiteral("关闭"));
    close->setObjectName(QStringLiteral("btnClose"));
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(add);
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(close);
    for (QPushButton *b : {add, ok, close}) b->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(title);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    connect(search, &QPushButton::clicked, this, &CodeManPicker::searchClick);
    connect(m_code, &QLineEdit::textChanged, this, &CodeManPicker::searchClick);
    connect(m_name, &QLineEdit::textChanged, this, &CodeManPicker::searchClick);
    connect(m_grid, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_grid, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(add, &QPushButton::clicked, this, &CodeManPicker::newClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

bool CodeManPicker::SelectCode(QString &name)
{
    fill(PickerNames(m_dm, CodeType));
    DispFormPos(this, 1);
    m_grid->setFocus();
    if (exec() != QDialog::Accepted) return false;
    QListWidgetItem *current = m_grid->currentItem();
    name = current ? current->text() : QString();
    return true;
}

void CodeManPicker::searchClick()
{
    // The mnemonic box starts the search too; t_code holds nothing to match it against.
    fill(SearchOptionCodes(m_dm, CodeType, m_name->text()));
}

void CodeManPicker::newClick()
{
    QString text;
    if (!inputText(text)) return;
    if (!AddOptionCode(m_dm, CodeType, text)) return;
    m_grid->addItem(text);
    m_grid->setCurrentRow(m_grid->count() - 1);
}

void CodeManPicker::fill(const QStringList &names)
{
    m_grid->clear();
    m_grid->addItems(names);
    if (m_grid->count() > 0) m_grid->setCurrentRow(0);
}

} // namespace korvan
