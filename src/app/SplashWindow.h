#pragma once
#include <QWidget>

namespace korvan {

// The borderless start-up window with one status line, repainted at once.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow();
    void setStatus(const QString &text);
    QString status() const { return m_status; }
protected:
    void paintEvent(QPaintEvent *) override;
private:
    QString m_status;
};

} // namespace korvan
