#pragma once
#include "Login.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace korvan {
class DataModule;

// TfrmOperLogin: code, name and password; only its buttons leave it.
class LoginWindow : public QDialog {
    Q_OBJECT
public:
    LoginWindow(DataModule &dm, LoginMode mode, QWidget *parent = nullptr);

    // Shows the window modally; true when an operator logged in. At start-up
    // a false answer means the application ends.
    static bool run(DataModule &dm, LoginMode mode, QWidget *parent = nullptr);

    void reject() override; // Esc does not leave

protected:
    void closeEvent(QCloseEvent *event) override; // nor Alt+F4

private:
    void lookUpName();
    void okClick();
    void cancelClick();

    Login m_login;
    QLineEdit *m_code, *m_name, *m_password;
};

} // namespace korvan
