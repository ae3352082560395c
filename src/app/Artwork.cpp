#include "Artwork.h"
#include "AppSettings.h"

#include <QGuiApplication>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace korvan {

namespace {
QChar glyphOf(int code)
{
    static const QHash<int, QChar> glyphs = {
        {101, u'公'}, {102, u'密'}, {103, u'权'}, {104, u'备'}, {105, u'清'}, {106, u'货'}, {107, u'商'},
        {108, u'压'}, {109, u'连'}, {110, u'配'}, {201, u'员'}, {202, u'商'}, {203, u'货'}, {204, u'选'},
        {205, u'类'}, {301, u'订'}, {302, u'进'}, {303, u'退'}, {304, u'票'}, {305, u'付'}, {306, u'查'},
        {307, u'查'}, {308, u'查'}, {309, u'查'}, {501, u'月'}, {502, u'时'}, {503, u'汇'}, {504, u'明'},
    };
    if (code == 0) return u'采';
    return glyphs.value(code, u'表');
}

QColor colourOf(int code)
{
    if (code == 106 || code == 107) return QColor(0x2e, 0x7d, 0x32); // the two imports
    switch (code / 100) {
    case 0: return QColor(0x1f, 0x4e, 0x79);
    case 1: return QColor(0x45, 0x5a, 0x8c);
    case 2: return QColor(0x00, 0x83, 0x8f);
    case 3: return QColor(0xd9, 0x6c, 0x1e);
    case 4: return QColor(0x6a, 0x4c, 0x9c);
    default: return QColor(0x1f, 0x7a, 0x4d);
    }
}

QPixmap tile(int code, int px)
{
    QPixmap pm(px, px);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor base = colourOf(code);
    QLinearGradient g(0, 0, 0, px);
    g.setColorAt(0, base.lighter(135));
    g.setColorAt(1, base);
    const qreal m = px * 0.06;
    QPainterPath path;
    path.addRoundedRect(QRectF(m, m, px - 2 * m, px - 2 * m), px * 0.18, px * 0.18);
    p.fillPath(path, g);
    p.setPen(QPen(base.darker(130), qMax(1.0, px / 48.0)));
    p.drawPath(path);
    QFont f = QGuiApplication::font();
    f.setPixelSize(int(px * 0.56));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, px, px * 0.98), Qt::AlignCenter, QString(glyphOf(code)));
    return pm;
}
} // namespace

QIcon actionIcon(int actionCode)
{
    QIcon icon;
    for (int px : {16, 32, 64, 128}) icon.addPixmap(tile(actionCode, px));
    return icon;
}

QIcon applicationIcon() { return actionIcon(0); }

QPixmap bannerPixmap(const QSize &size, qreal dpr)
{
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRect r(QPoint(0, 0), size);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    g.setColorAt(1, QColor(0x5b, 0x9b, 0xd5));
    p.fillRect(r, g);
    // A few receding squares: the goods that come in.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        const int s = size.height() * (6 - i) / 10;
        p.setBrush(QColor(255, 255, 255, 22 + 10 * i));
        p.drawRoundedRect(QRect(size.width() - s - i * size.height() / 5, (size.height() - s) / 2, s, s), 6, 6);
    }
    p.setPen(Qt::white);
    QFont title = QGuiApplication::font();
    title.setPixelSize(qMax(14, size.height() * 28 / 100));
    title.setBold(true);
    p.setFont(title);
    const QRect textArea = r.adjusted(size.height() / 4, 0, 0, -size.height() / 5);
    p.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, kProductName.trimmed());
    QFont sub = QGuiApplication::font();
    sub.setPixelSize(qMax(10, size.height() * 15 / 100));
    p.setFont(sub);
    p.drawText(r.adjusted(size.height() / 4, size.height() / 2, 0, -size.height() / 10), Qt::AlignLeft | Qt::AlignVCenter,
               kProductVersion.trimmed());
    return pm;
}

} // namespace korvan
