#include "SplashWindow.h"
#include "AppSettings.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace korvan {

SplashWindow::SplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TFrmSplash"));
    setFixedSize(470, 294);
    if (QScreen *s = QGuiApplication::primaryScreen()) {
        QRect r = rect();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
    m_status = QStringLiteral("系统正在启动，请稍候 .....");
}

void SplashWindow::setStatus(const QString &text)
{
    m_status = text;
    if (isVisible()) repaint();
}

void SplashWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, width(), height());
    g.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    g.setColorAt(1, QColor(0x5b, 0x9b, 0xd5));
    p.fillRect(rect(), g);
    p.setPen(Qt::white);
    QFont title = font();
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 70, width(), 50), Qt::AlignCenter, kProductName.trimmed());
    QFont sub = font();
    sub.setPixelSize(16);
    p.setFont(sub);
    p.drawText(QRect(0, 125, width(), 30), Qt::AlignCenter, kProductVersion.trimmed());
    QFont small = font();
    small.setPixelSize(13);
    p.setFont(small);
    p.drawText(QRect(16, height() - 34, width() - 32, 24), Qt::AlignLeft | Qt::AlignVCenter, m_status);
}

} // namespace korvan
