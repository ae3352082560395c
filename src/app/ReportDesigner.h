#pragma once
#include "ReportEngine.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QGroupBox;
class QLineEdit;
class QTreeWidget;
class QUndoStack;

namespace korvan {

class ReportDesignCanvas;

// The report designer. It edits the layout document only: bands and their
// heights, text items bound to fields, variables and expressions, their
// position, size, font, alignment, borders, format and overflow. Every change
// is one undo step; saving writes the layout file.
class ReportDesigner : public QDialog {
    Q_OBJECT
public:
    explicit ReportDesigner(ReportJob job, QWidget *parent = nullptr);
    ~ReportDesigner() override;

    struct ItemRef {
        int band = -1, item = -1;
        bool operator==(const ItemRef &) const = default;
    };

    const ReportLayout &layout() const { return m_layout; }
    const ReportJob &job() const { return m_job; }
    QUndoStack *undoStack() const { return m_undo; }
    bool isModified() const;
    bool wasSaved() const { return m_saved; }

    QList<ItemRef> selection() const { return m_selection; }
    void select(const QList<ItemRef> &items);
    int currentBand() const { return m_band; }
    void setCurrentBand(int band);
    const ReportItem *item(const ItemRef &ref) const;

    // The editing operations of the tool bar, menus, palette and canvas.
    // Adds a text item to the current band, at `at` (0.01 mm) or at a free place.
    ItemRef addText(const QString &text, QPoint at = QPoint(-1, -1));
    void moveSelection(int dx, int dy);
    void resizeSelection(int dw, int dh);
    enum class Align { Left, Right, Top, Bottom, SameWidth, SameHeight };
    void alignSelection(Align how);
    void deleteSelection();
    void copySelection();
    void paste();
    void setBandHeight(int band, int height);
    void addBand(BandKind kind);
    void removeBand(int band);
    bool save();
    void revertToDefault();
    void preview();

    // One undoable step: `edit` changes a copy of the layout.
    void change(const QString &what, const std::function<void(ReportLayout &)> &edit);
    // A step whose result is already shown (dragging on the canvas).
    void commitLive(const QString &what, const ReportLayout &before);
    ReportLayout &liveLayout() { return m_layout; }
    void liveChanged();

    // Replaced by tests: the preview window opened from the designer.
    std::function<void(QWidget *preview)> showPreview;

    // Asks whether to save a modified layout (Esc, the close box, 关闭).
    void reject() override;

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    friend class LayoutCommand;
    void setLayout(const ReportLayout &layout);
    void buildUi();
    void fillPalette();
    void refreshProperties();
    void applyToSelection(const QString &what, const std::function<void(ReportItem &)> &edit);
    void changeBand(const QString &what, const std::function<void(ReportBand &)> &edit);
    int targetBand() const;

    ReportJob m_job;
    ReportLayout m_layout;
    QList<ItemRef> m_selection;
    int m_band = -1;
    QUndoStack *m_undo;
    bool m_refreshing = false;
    bool m_saved = false;

    ReportDesignCanvas *m_canvas = nullptr;
    QTreeWidget *m_palette = nullptr;
    QGroupBox *m_itemBox = nullptr, *m_bandBox = nullptr;
    QLineEdit *m_text = nullptr, *m_rowsPerPage = nullptr, *m_condition = nullptr;
    QFontComboBox *m_family = nullptr;
    QDoubleSpinBox *m_size = nullptr, *m_x = nullptr, *m_y = nullptr, *m_w = nullptr, *m_h = nullptr;
    QDoubleSpinBox *m_borderWidth = nullptr, *m_bandHeight = nullptr;
    QCheckBox *m_bold = nullptr, *m_italic = nullptr, *m_atBottom = nullptr, *m_autoHeight = nullptr;
    QCheckBox *m_border[4] = {};
    QComboBox *m_hAlign = nullptr, *m_vAlign = nullptr, *m_format = nullptr, *m_overflow = nullptr, *m_dataSet = nullptr;
};

} // namespace korvan
