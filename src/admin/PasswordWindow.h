#pragma once
#include <QDialog>

class QLineEdit;

namespace korvan {
class DataModule;

// TfrmModPass: the current operator changes his password.
class PasswordWindow : public QDialog {
    Q_OBJECT
public:
    explicit PasswordWindow(DataModule &dm, QWidget *parent = nullptr);

private:
    void okClick();

    DataModule &m_dm;
    QLineEdit *m_old, *m_new, *m_repeat;
};

} // namespace korvan
