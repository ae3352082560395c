#pragma once
#include "ReportDesigner.h"

#include <QWidget>

namespace korvan {

// The designer's drawing surface: the bands one under the other, each with
// its caption strip, and the items inside. Click selects (Ctrl adds), drag
// moves, the corner handle resizes, a band's lower edge sets its height.
class ReportDesignCanvas : public QWidget {
    Q_OBJECT
public:
    explicit ReportDesignCanvas(ReportDesigner *designer);

    static constexpr int kCaption = 18;   // height of a band's caption strip, px
    static constexpr int kGutter = 24;    // left margin, px
    static constexpr int kSnap = 50;      // 0.5 mm

    double scale() const;                 // pixels per 0.01 mm
    int bandTop(int band) const;          // top of the band's area, below its caption
    QRect bandRect(int band) const;
    QRect itemRect(const ReportDesigner::ItemRef &ref) const;
    QRect handleRect(const ReportDesigner::ItemRef &ref) const;
    QSize sizeHint() const override;
    void layoutChanged();

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    enum class Drag { None, Move, Resize, BandHeight };
    ReportDesigner::ItemRef itemAt(const QPoint &p) const;
    int bandAt(const QPoint &p) const;
    int bandEdgeAt(const QPoint &p) const;
    static int snap(int v) { return (v + (v >= 0 ? kSnap / 2 : -kSnap / 2)) / kSnap * kSnap; }

    ReportDesigner *m_d;
    Drag m_drag = Drag::None;
    QPoint m_pressPos;
    int m_dragBand = -1;
    ReportLayout m_before;
    QList<QRect> m_startRects;   // the dragged items' geometry at the press, in units
};

} // namespace korvan
