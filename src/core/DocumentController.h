#pragma once
#include "DocumentStore.h"

#include <QDate>
#include <QVariantMap>
#include <functional>

namespace korvan {

// The behaviour of a document window without its widgets: the day list,
// browse and entry modes, the tool-bar actions with their checks and
// messages, and line editing. The window shows what this holds and calls
// these operations; every message goes through ShowMess.
class DocumentController {
public:
    enum class Mode { Browse, Entry };

    // What Enter in the lines grid asks the window to do next.
    enum class EnterStep { Stay, SelectQuantity, NewLineFirstColumn };

    DocumentController(DataModule &dm, const DocumentKind &kind);

    const DocumentKind &kind() const { return m_store.kind(); }
    DataModule &dm() { return m_dm; }
    Mode mode() const { return m_mode; }
    bool isEditing() const { return m_isEditing; }
    const Document &document() const { return m_doc; }
    Document &document() { return m_doc; }
    QString currentCode() const { return m_doc.code(); }
    const QList<QVariantMap> &dayList() const { return m_dayList; }
    int row() const { return m_row; }
    QDate listDate() const { return m_listDate; }

    // LocateCode: the document to position on whenever the day list loads.
    QString locateCode;
    // The control that should get the focus after a refused action.
    QString focusControl() const { return m_focus; }

    void setListDate(const QDate &date);
    void loadDayList();
    void showRow(int row);

    bool newDocument();
    bool edit();
    bool copy();
    bool save();
    // Back to browse mode; what was entered is dropped.
    void cancel();
    // Cancel as the window's 取消 and Esc do it: entered values are dropped
    // only after the operator agrees. False when he keeps entering.
    bool cancelEntry();
    // Something was typed, picked or deleted since New, Edit or Copy.
    bool hasUnsavedInput() const { return m_mode == Mode::Entry && m_unsaved; }
    static QString discardQuestion() { return QStringLiteral("当前单据还没有保存，真的要放弃录入的内容吗？"); }
    bool remove();
    bool audit();
    bool unaudit();

    void first() { showRow(0); }
    void prior() { if (m_row > 0) showRow(m_row - 1); }
    void next() { if (m_row + 1 < m_dayList.size()) showRow(m_row + 1); }
    void last() { showRow(int(m_dayList.size()) - 1); }

    // Header editing in entry mode.
    void setHeader(const QString &column, const QVariant &value);
    // A value the window shows in place of an empty one (today for an empty
    // date): saved as if typed, but not input the operator could lose.
    void adoptShownHeader(const QString &column, const QVariant &value);
    QVariant header(const QString &column) const { return m_doc.header.value(column); }

    // Lines.
    int addLine();
    void deleteLine(int row);
    void setLineValue(int row, const QString &column, const QVariant &value);
    EnterStep enterInLines(int row, const QString &column);
    // Fills a line from the goods of its code; false (with the message) when unknown.
    bool lookupGoods(int row);
    bool barcodeEntry(const QString &barcode, double quantity);
    // Appends a goods line as the pickers do (quantity 1 unless given).
    int appendGoods(const QString &goodsCode, double quantity = 1);
    // Appends a ready line (pickers, import, conversions).
    int appendLine(const QVariantMap &values);
    // A new receipt holding every line of an audited order.
    bool newFromOrder(const Document &order);

    // The variables the print templates ask for (GetReportValue).
    QVariantMap reportVariables();

    // Enabled states of the tool bar in the current mode.
    struct Tools {
        bool newDoc, edit, del, copy, navigate, audit, unaudit, unauditVisible, print, design, exit,
            listDate, save, cancel, header, lineActions, convert;
    };
    Tools tools() const;

    static QString dateMessage() { return QStringLiteral("制单日期不正确，请按 yyyy-MM-dd 输入！"); }

    // Called after anything the window shows has changed.
    std::function<void()> changed;

private:
    QVariantMap goodsRow(const QString &sql, const QVariantList &params);
    QVariantMap lineFromGoods(const QVariantMap &goods);
    Money defaultPrice(const QString &goodsCode);
    void recompute(DocumentLine &line);
    void dropTrailingEmptyLines();
    void reloadAt(const QString &code);
    void notify() { if (changed) changed(); }
    bool refuseEmpty(const QString &message);

    DataModule &m_dm;
    DocumentStore m_store;
    Mode m_mode = Mode::Browse;
    bool m_isEditing = false;
    bool m_unsaved = false;
    QDate m_listDate = QDate::currentDate();
    QList<QVariantMap> m_dayList;
    int m_row = -1;
    Document m_doc;
    QString m_focus;
};

// GetReportValue of a document: page rows, company data and the supplier's
// contact data (empty when the supplier is blank or unknown).
QVariantMap DocumentReportValues(DataModule &dm, const DocumentKind &kind, const QVariantMap &header);

} // namespace korvan
