#include "ReportDesignCanvas.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

namespace korvan {

ReportDesignCanvas::ReportDesignCanvas(ReportDesigner *designer) : QWidget(designer), m_d(designer)
{
    setObjectName(QStringLiteral("designCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xd8, 0xd8, 0xd8));
    setPalette(pal);
}

double ReportDesignCanvas::scale() const { return logicalDpiX() / 2540.0; }

int ReportDesignCanvas::bandTop(int band) const
{
    int y = 8;
    const QList<ReportBand> &bands = m_d->layout().bands;
    for (int i = 0; i < band && i < bands.size(); ++i) y += kCaption + qRound(bands[i].height * scale()) + 6;
    return y + kCaption;
}

QRect ReportDesignCanvas::bandRect(int band) const
{
    const ReportLayout &l = m_d->layout();
    return QRect(kGutter, bandTop(band), qRound(l.page.contentWidth() * scale()), qRound(l.bands[band].height * scale()));
}

QRect ReportDesignCanvas::itemRect(const ReportDesigner::ItemRef &ref) const
{
    const ReportItem *it = m_d->item(ref);
    if (!it) return {};
    const double s = scale();
    return QRect(kGutter + qRound(it->x * s), bandTop(ref.band) + qRound(it->y * s), qMax(3, qRound(it->w * s)), qMax(3, qRound(it->h * s)));
}

QRect ReportDesignCanvas::handleRect(const ReportDesigner::ItemRef &ref) const
{
    const QRect r = itemRect(ref);
    return QRect(r.right() - 3, r.bottom() - 3, 7, 7);
}

QSize ReportDesignCanvas::sizeHint() const
{
    const ReportLayout &l = m_d->layout();
    const int n = int(l.bands.size());
    return QSize(kGutter * 2 + qRound(l.page.contentWidth() * scale()), (n ? bandTop(n) : kCaption + 8) + 40);
}

void ReportDesignCanvas::layoutChanged()
{
    resize(sizeHint());
    update();
}

void ReportDesignCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const ReportLayout &l = m_d->layout();
    const double s = scale();
    const QList<ReportDesigner::ItemRef> sel = m_d->selection();
    for (int b = 0; b < l.bands.size(); ++b) {
        const ReportBand &band = l.bands[b];
        const QRect area = bandRect(b);
        QRect caption(area.left(), area.top() - kCaption, area.width(), kCaption);
        p.fillRect(caption, b == m_d->currentBand() ? QColor(0x9c, 0xb8, 0xe0) : QColor(0xc0, 0xc8, 0xd4));
        QString title = bandCaption(band.kind);
        if (band.kind == BandKind::Detail && !band.dataSet.isEmpty()) title += QStringLiteral("：") + band.dataSet;
        if (band.kind == BandKind::GroupHeader && !band.condition.isEmpty()) title += QStringLiteral("：") + band.condition;
        if (!band.rowsPerPage.isEmpty()) title += QStringLiteral("（每页 [%1] 行）").arg(band.rowsPerPage);
        p.setPen(Qt::black);
        p.setFont(font());
        p.drawText(caption.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, title);
        p.fillRect(area, Qt::white);
        p.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 1, Qt::DotLine));
        p.drawLine(area.bottomLeft(), area.bottomRight());
        p.save();
        p.setClipRect(area.adjusted(0, 0, 1, 1));
        for (int i = 0; i < band.items.size(); ++i) {
            const ReportItem &it = band.items[i];
            const QRect r = itemRect({b, i});
            if (it.fill.isValid()) p.fillRect(r, it.fill);
            if (it.type == ReportItem::Type::Line) {
                p.setPen(QPen(it.color, qMax(1.0, it.borderWidth * s)));
                p.drawLine(r.topLeft(), QPoint(r.left() + qRound(it.w * s), r.top() + qRound(it.h * s)));
                continue;
            }
            p.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), 1, Qt::DotLine));
            p.drawRect(r.adjusted(0, 0, -1, -1));
            p.setPen(QPen(it.color, qMax(1.0, it.borderWidth * s)));
            if (it.borders & BorderLeft) p.drawLine(r.topLeft(), r.bottomLeft());
            if (it.borders & BorderTop) p.drawLine(r.topLeft(), r.topRight());
            if (it.borders & BorderRight) p.drawLine(r.topRight(), r.bottomRight());
            if (it.borders & BorderBottom) p.drawLine(r.bottomLeft(), r.bottomRight());
            if (it.type == ReportItem::Type::Text) {
                QFont f(it.font.family);
                f.setPixelSize(qMax(6, qRound(it.font.size * 2540.0 / 72.0 * s)));
                f.setBold(it.font.bold);
                f.setItalic(it.font.italic);
                p.setFont(f);
                p.setPen(it.text.contains(QLatin1Char('[')) ? QColor(0x20, 0x40, 0xa0) : it.color);
                p.save();
                p.setClipRect(r);
                p.drawText(r.adjusted(2, 0, -2, 0), it.align, it.text);
                p.restore();
            }
        }
        p.restore();
    }
    p.setPen(QPen(QColor(0x20, 0x60, 0xe0), 1));
    for (const ReportDesigner::ItemRef &ref : sel) {
        const QRect r = itemRect(ref);
        if (r.isNull()) continue;
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(-1, -1, 0, 0));
        p.fillRect(handleRect(ref), QColor(0x20, 0x60, 0xe0));
    }
}

ReportDesigner::ItemRef ReportDesignCanvas::itemAt(const QPoint &pos) const
{
    const ReportLayout &l = m_d->layout();
    for (int b = 0; b < l.bands.size(); ++b) {
        if (!bandRect(b).adjusted(0, 0, 1, 1).contains(pos)) continue;
        for (int i = int(l.bands[b].items.size()) - 1; i >= 0; --i)
            if (itemRect({b, i}).adjusted(-2, -2, 2, 2).contains(pos)) return {b, i};
    }
    return {};
}

int ReportDesignCanvas::bandAt(const QPoint &pos) const
{
    for (int b = 0; b < m_d->layout().bands.size(); ++b) {
        const QRect r = bandRect(b);
        if (QRect(r.left(), r.top() - kCaption, r.width(), r.height() + kCaption + 1).contains(pos)) return b;
    }
    return -1;
}

int ReportDesignCanvas::bandEdgeAt(const QPoint &pos) const
{
    for (int b = 0; b < m_d->layout().bands.size(); ++b) {
        const QRect r = bandRect(b);
        if (pos.x() >= r.left() && pos.x() <= r.right() && qAbs(pos.y() - (r.bottom() + 1)) <= 3) return b;
    }
    return -1;
}

void ReportDesignCanvas::mousePressEvent(QMouseEvent *e)
{
    setFocus();
    if (e->button() != Qt::LeftButton) return;
    m_pressPos = e->pos();
    m_before = m_d->layout();
    m_drag = Drag::None;
    for (const ReportDesigner::ItemRef &ref : m_d->selection()) {
        if (handleRect(ref).adjusted(-2, -2, 2, 2).contains(e->pos())) {
            m_d->select({ref});
            m_drag = Drag::Resize;
            break;
        }
    }
    if (m_drag == Drag::None) {
        const int edge = bandEdgeAt(e->pos());
        const ReportDesigner::ItemRef hit = itemAt(e->pos());
        if (hit.band >= 0) {
            QList<ReportDesigner::ItemRef> sel = m_d->selection();
            if (e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) {
                if (sel.contains(hit)) sel.removeAll(hit);
                else sel << hit;
            } else if (!sel.contains(hit)) {
                sel = {hit};
            }
            m_d->select(sel);
            m_drag = sel.contains(hit) ? Drag::Move : Drag::None;
        } else if (edge >= 0) {
            m_dragBand = edge;
            m_d->setCurrentBand(edge);
            m_drag = Drag::BandHeight;
        } else {
            m_d->select({});
            m_d->setCurrentBand(bandAt(e->pos()));
        }
    }
    m_startRects.clear();
    for (const ReportDesigner::ItemRef &ref : m_d->selection()) {
        const ReportItem *it = m_d->item(ref);
        m_startRects << QRect(it->x, it->y, it->w, it->h);
    }
}

void ReportDesignCanvas::mouseMoveEvent(QMouseEvent *e)
{
    if (!(e->buttons() & Qt::LeftButton) || m_drag == Drag::None) {
        setCursor(bandEdgeAt(e->pos()) >= 0 ? Qt::SizeVerCursor : Qt::ArrowCursor);
        return;
    }
    const double s = scale();
    const int dx = snap(qRound((e->pos().x() - m_pressPos.x()) / s));
    const int dy = snap(qRound((e->pos().y() - m_pressPos.y()) / s));
    ReportLayout &l = m_d->liveLayout();
    if (m_drag == Drag::BandHeight) {
        l.bands[m_dragBand].height = qMax(kSnap, m_before.bands[m_dragBand].height + dy);
    } else {
        const QList<ReportDesigner::ItemRef> sel = m_d->selection();
        for (int i = 0; i < sel.size() && i < m_startRects.size(); ++i) {
            ReportItem &it = l.bands[sel[i].band].items[sel[i].item];
            const QRect start = m_startRects[i];
            const int bandH = l.bands[sel[i].band].height, bandW = l.page.contentWidth();
            if (m_drag == Drag::Move) {
                it.x = qBound(0, start.x() + dx, qMax(0, bandW - it.w));
                it.y = qBound(0, start.y() + dy, qMax(0, bandH - it.h));
            } else {
                it.w = qBound(kSnap, start.width() + dx, bandW - it.x);
                it.h = qBound(kSnap, start.height() + dy, qMax(kSnap, bandH - it.y));
            }
        }
    }
    m_d->liveChanged();
}

void ReportDesignCanvas::mouseReleaseEvent(QMouseEvent *)
{
    static const char *names[] = {"", "移动", "改变大小", "改变区域高度"};
    if (m_drag != Drag::None) m_d->commitLive(QString::fromUtf8(names[int(m_drag)]), m_before);
    m_drag = Drag::None;
}

void ReportDesignCanvas::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (itemAt(e->pos()).band >= 0) {
        if (QWidget *edit = m_d->findChild<QWidget *>(QStringLiteral("edtItemText"))) {
            edit->setFocus();
        }
    }
}

void ReportDesignCanvas::keyPressEvent(QKeyEvent *e)
{
    const int step = (e->modifiers() & Qt::ControlModifier) ? 10 : kSnap;
    const bool resize = e->modifiers() & Qt::ShiftModifier;
    int dx = 0, dy = 0;
    switch (e->key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = -step; break;
    case Qt::Key_Down: dy = step; break;
    case Qt::Key_Delete: m_d->deleteSelection(); return;
    default: QWidget::keyPressEvent(e); return;
    }
    if (resize) m_d->resizeSelection(dx, dy);
    else m_d->moveSelection(dx, dy);
}

void ReportDesignCanvas::dragEnterEvent(QDragEnterEvent *e)
{
    if (e->mimeData()->hasFormat(QStringLiteral("application/x-korvan-report-text"))) e->acceptProposedAction();
}

void ReportDesignCanvas::dragMoveEvent(QDragMoveEvent *e)
{
    if (bandAt(e->position().toPoint()) >= 0) e->acceptProposedAction();
    else e->ignore();
}

void ReportDesignCanvas::dropEvent(QDropEvent *e)
{
    const QPoint pos = e->position().toPoint();
    const int band = bandAt(pos);
    if (band < 0) return;
    const QString text = QString::fromUtf8(e->mimeData()->data(QStringLiteral("application/x-korvan-report-text")));
    m_d->setCurrentBand(band);
    const double s = scale();
    m_d->addText(text, QPoint(snap(qRound((pos.x() - kGutter) / s)), snap(qRound((pos.y() - bandTop(band)) / s))));
    e->acceptProposedAction();
}

} // namespace korvan
