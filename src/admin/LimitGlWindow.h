#pragma once
#include "Operators.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace korvan {
class DataModule;

// TFrmLimitGl: one operator ("用户权限") or one role with its permission
// items ("角色权限"). A new one stays open after each save for the next.
class LimitGlWindow : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Operator, Role };
    // `code` is the operator or role to edit; empty for new ones.
    LimitGlWindow(DataModule &dm, Mode mode, const QString &code, QWidget *parent = nullptr);

    Mode mode() const { return m_mode; }
    // The code saved last; what the editor operations return on OK.
    QString savedCode() const { return m_savedCode; }

    // The warehouse picker; tests replace it.
    std::function<QString(const QString &current)> pickWarehouses;

signals:
    // After every successful save (the management window reloads its list).
    void saved();

private:
    QWidget *buildOperatorPage();
    QWidget *buildRolePage();
    QWidget *buildLimitPage();
    void loadOperator();
    void loadRole();
    void clearForm();
    void scopeChanged();
    void saveClick();
    void focusField(AccessField field);

    DataModule &m_dm;
    Mode m_mode;
    QString m_code;
    QString m_savedCode;

    QTabWidget *m_pages;
    QLineEdit *m_edtCode = nullptr, *m_edtName = nullptr, *m_edtPassword = nullptr, *m_edtDepot = nullptr;
    QComboBox *m_cbRole = nullptr;
    QPlainTextEdit *m_memDesc = nullptr;
    QList<QCheckBox *> m_rights;
    QRadioButton *m_rbAll = nullptr, *m_rbOwn = nullptr;
    QPushButton *m_btnDepot = nullptr;
    QLineEdit *m_edtRoleCode = nullptr, *m_edtRoleName = nullptr;
    QPlainTextEdit *m_memRoleDesc = nullptr;
    QListWidget *m_limits = nullptr;
    QCheckBox *m_chkDisabled;
};

// The editor operations of the management window: the code on OK, else empty.
QString EditOperator(DataModule &dm, const QString &code, QWidget *parent, const std::function<void()> &saved = {});
QString EditRole(DataModule &dm, const QString &code, QWidget *parent, const std::function<void()> &saved = {});

} // namespace korvan
