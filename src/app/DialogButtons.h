#pragma once
#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace korvan {

// The confirm and cancel buttons of a dialog, named btnOK and btnCancel, in a
// right-aligned row for the caller to place. With `dialog`, OK is its default
// button and accepts it, cancel rejects it; without, the caller connects them.
struct DialogButtons {
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    QHBoxLayout *row = nullptr;
};
DialogButtons makeDialogButtons(QDialog *dialog, const QString &okCaption = QStringLiteral("确定"),
                                const QString &cancelCaption = QStringLiteral("取消"));

} // namespace korvan
