#pragma once
#include <QDialog>

class QLineEdit;

namespace korvan {

// A dialog of one name box: OK accepts only a text that is not blank, else
// shows `emptyMessage` and puts the focus back into the box. The text is
// returned as typed.
class TextEntryDialog : public QDialog {
    Q_OBJECT
public:
    TextEntryDialog(const QString &label, const QString &cancelCaption, const QString &emptyMessage,
                    QWidget *parent = nullptr);
    QLineEdit *edit() const { return m_name; }
    // Shows the dialog modally; true and the text when confirmed.
    bool ask(QString &text);

private:
    void okClick();
    QLineEdit *m_name;
    QString m_emptyMessage;
};

// TDLGaddText: asks for the name of a new option code.
class AddTextDialog : public TextEntryDialog {
    Q_OBJECT
public:
    explicit AddTextDialog(QWidget *parent = nullptr);
    // InputText: true and the text as typed (not trimmed) when confirmed.
    bool InputText(QString &text) { return ask(text); }
};

} // namespace korvan
