#pragma once
#include "AddTextDialog.h"

namespace korvan {

// TDLGenterCaption: asks for the name of a goods type node.
class EnterCaptionDialog : public TextEntryDialog {
    Q_OBJECT
public:
    explicit EnterCaptionDialog(QWidget *parent = nullptr);
    // EnterCaption: the box's text on OK, empty otherwise; `preset` fills the box.
    QString EnterCaption(const QString &caption, const QString &preset = QString());
};

} // namespace korvan
