#pragma once
#include <QDialog>
#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QUrl;

namespace korvan {
class DataModule;

// TFrmUserInfo "公司信息": the company row of SysInfo.
class UserInfoWindow : public QDialog {
    Q_OBJECT
public:
    explicit UserInfoWindow(DataModule &dm, QWidget *parent = nullptr);

    // Opens a link with the system's handler; tests replace it.
    std::function<bool(const QUrl &)> openUrl;

    void clearClick();
    void reloadClick();
    void saveClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DataModule &m_dm;
    QLineEdit *m_name, *m_address, *m_manager, *m_phone, *m_mobile, *m_homepage, *m_email, *m_legalRep;
    QPlainTextEdit *m_profile;
};

} // namespace korvan
