#include "DialogButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace korvan {

DialogButtons makeDialogButtons(QDialog *dialog, const QString &okCaption, const QString &cancelCaption)
{
    DialogButtons b;
    b.ok = new QPushButton(okCaption);
    b.ok->setObjectName(QStringLiteral("btnOK"));
    b.cancel = new QPushButton(cancelCaption);
    b.cancel->setObjectName(QStringLiteral("btnCancel"));
    b.row = new QHBoxLayout;
    b.row->addStretch(1);
    b.row->addWidget(b.ok);
    b.row->addWidget(b.cancel);
    if (dialog) {
        b.ok->setDefault(true);
        QObject::connect(b.ok, &QPushButton::clicked, dialog, &QDialog::accept);
        QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    }
    return b;
}

} // namespace korvan
