#include "EnterCaptionDialog.h"

#include <QLineEdit>

namespace korvan {

EnterCaptionDialog::EnterCaptionDialog(QWidget *parent)
    : TextEntryDialog(QStringLiteral("节点名称"), QStringLiteral("取消"), QStringLiteral("部门名称不能为空！"), parent)
{
    setObjectName(QStringLiteral("TDLGenterCaption"));
}

QString EnterCaptionDialog::EnterCaption(const QString &caption, const QString &preset)
{
    setWindowTitle(caption);
    edit()->setText(preset);
    edit()->selectAll();
    QString name;
    return ask(name) ? name : QString();
}

} // namespace korvan
