#pragma once
#include <QDialog>
#include <functional>

class QLineEdit;
class QListWidget;

namespace korvan {
class DataModule;

// TDlgCodeFuHaoXz "选项代码": picks an entry of one option list, with search
// by name and adding new entries.
class CodeManPicker : public QDialog {
    Q_OBJECT
public:
    explicit CodeManPicker(DataModule &dm, QWidget *parent = nullptr);

    // The list the dialog shows and adds to; set it (and the caption) before SelectCode.
    QString CodeType;
    // Loads the list and shows the dialog modally. On OK `name` is the
    // current entry (empty for an empty list); otherwise it is left as passed.
    bool SelectCode(QString &name);

    QListWidget *grid() const { return m_grid; }
    // Asks for a new entry's name (TDLGaddText); tests may replace it.
    std::function<bool(QString &text)> inputText;

    void searchClick();
    void newClick();

private:
    void fill(const QStringList &names);

    DataModule &m_dm;
    QLineEdit *m_code, *m_name;
    QListWidget *m_grid;
};

} // namespace korvan
