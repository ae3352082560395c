#pragma once
#include "DocumentController.h"
#include "DocumentPrint.h"
#include "GridLayout.h"

#include <QKeySequence>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QGroupBox;
class QKeyEvent;
class QVBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class QWidget;

namespace korvan {

class DataGrid;
class DocumentWindow;

// One box of a document header.
struct HeaderControl {
    enum Type {
        Text,     // free text
        ReadOnly, // shown only
        Date,     // date box, yyyy-MM-dd
        DateText, // date typed as text yyyy-MM-dd
        Combo,    // drop-down filled by fillSql, free text allowed
        Supplier, // text with a button opening the supplier picker
        Memo,     // several lines; keeps Enter
    };
    QString objectName;
    QString label;
    QString column;           // header column shown and edited
    Type type = Text;
    QString fillSql;          // Combo: the names offered
    QVariantList fillParams;
    bool warehouseNames = false; // Combo: narrowed to the operator's warehouses (before fillSql's tail)
    QString fillTail;            // Combo: appended after the warehouse condition ("ORDER BY F_ID")
    int row = 0, column2 = 0, span = 1; // place in the header block: row, pair column, pairs spanned
    bool bottom = false;      // in the bottom panel instead of the header block
    bool auditedOnly = false; // shown only for an audited document
};

// A button under the lines and the action behind it (also in the grid's pop-up menu).
struct LineAction {
    enum Role { AddLine, DeleteLine, Convert };
    QString buttonName;       // "Button1"
    QString actionName;       // "actAdd"
    QString buttonCaption;    // "增行(&F9)"
    QString actionCaption;    // "增行"
    QKeySequence key;
    Role role = AddLine;
    // Convert: what the action does; none = the action stays disabled.
    std::function<void(DocumentWindow &)> run;
};

// What one document window is: its kind, captions, header boxes, line
// actions, grid layout and print templates. The window builds itself from it.
struct DocumentDeclaration {
    QString className;        // objectName of the window
    QString caption;          // window title
    QString heading;          // big label above the header
    const DocumentKind *kind = nullptr;
    QList<HeaderControl> controls;
    QList<LineAction> lineActions;
    GridColumns lineColumns;  // default columns, replaced by the stored layout
    QString layoutKey;
    int formatKind = 1, priceMode = PriceHide;
    int goodsDocKind = 0;     // what the goods picker adds lines for (7 orders, 1 receipts, -1 returns); 0 none
    bool copy = true;
    bool barcode = true;      // barcode panel and its toggle
    bool excelImport = true;  // the Excel import button (disabled until the import exists)
};

// The purchase order window's declaration.
const DocumentDeclaration &orderDeclaration();

// A document window: day list, header, lines, tool bar, browse and entry
// modes. What it does lives in DocumentController; this shows it.
class DocumentWindow : public QWidget {
    Q_OBJECT
public:
    DocumentWindow(DataModule &dm, const DocumentDeclaration &decl, QWidget *parent = nullptr);
    ~DocumentWindow() override;

    DocumentController &controller() { return *m_ctl; }
    const DocumentDeclaration &declaration() const { return m_decl; }
    DataGrid *linesGrid() const { return m_grid; }
    // Opening at a document: positions on `code` whenever the list of `date`
    // loads. Ignored while a document is being entered.
    void openAt(const QString &code, const QDate &date);
    // The template 打印 and 设置 use.
    QString defaultTemplate() const;

    // Handlers of the tool bar.
    void tbNewClick();
    void tbEditClick();
    void tbCopyClick();
    void tbDelClick();
    void tbSaveClick();
    void tbCancelClick();
    void tbCheckClick();
    void tbFcheckClick();
    void printTemplate(const QString &name);
    void designTemplate(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Closing while a document is being entered asks before dropping input.
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolBar(QVBoxLayout *top);
    QWidget *buildControl(const HeaderControl &c);
    void buildLines(QVBoxLayout *top);
    void fillCombos();
    void refresh();
    void showHeader();
    void showLines();
    void applyMode();
    void pushHeader(const QString &column, const QVariant &value);
    void lineEdited(const QModelIndex &from, const QModelIndex &to);
    bool handleKey(QObject *watched, QKeyEvent *key);
    void enterInGrid();
    void barcodeEntry();
    void focusControl(const QString &name);
    void saveLayout();
    void pickSupplier();
    void pickGoods();
    QString supplierControl() const;
    std::pair<std::shared_ptr<TableDataSet>, std::shared_ptr<TableDataSet>> printData();
    class GoodsTarget;
    QToolButton *button(const char *name) const;

    DataModule &m_dm;
    const DocumentDeclaration &m_decl;
    std::unique_ptr<DocumentController> m_ctl;
    DataGrid *m_grid = nullptr;
    QGroupBox *m_headerBox = nullptr;
    QWidget *m_bottom = nullptr;
    QWidget *m_barcodePanel = nullptr;
    QLabel *m_status = nullptr;
    QMenu *m_linesMenu = nullptr;
    QHash<QString, QWidget *> m_controls;   // by objectName
    QHash<QString, QAction *> m_actions;    // by objectName
    QHash<QString, QAction *> m_toolActions; // the tool bar's place of each button
    bool m_filling = false;
    bool m_shownOnce = false;
    bool m_modeEditable = false;
};

} // namespace korvan
