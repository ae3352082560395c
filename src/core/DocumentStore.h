#pragma once
#include "DocumentKind.h"
#include "Session.h"

#include <QDate>
#include <QList>
#include <QVariantMap>

namespace korvan {

// One line of a document, as column → value (column names as declared).
struct DocumentLine {
    qint64 id = 0;         // 0 = not stored yet
    QVariantMap values;
    bool changed = false;  // stored line changed since loading
};

// A document as a window holds it between loading and saving. Lines carry
// their changes until save() writes them as one batch.
struct Document {
    qint64 id = 0;          // header F_ID; 0 = new
    int rowVersion = 0;     // F_RowVer when loaded: detects changes by other workstations
    QVariantMap header;
    QList<DocumentLine> lines;
    QList<qint64> deletedLineIds;

    QString code() const { return header.value(QStringLiteral("F_Code")).toString().trimmed(); }
    bool audited() const { return header.value(QStringLiteral("F_CheckFlag")).toBool(); }
    Money totalAmount() const;
    double totalQuantity() const;
};

// Result of a write: ok, or the message the operator sees.
struct StoreResult {
    bool ok = false;
    QString message;
    int kind = 0; // ShowMess kind of the message
    QString code; // the code the document was saved under
    static StoreResult success(const QString &code = {}) { return {true, {}, 0, code}; }
    static StoreResult failure(const QString &message, int kind) { return {false, message, kind, {}}; }
};

// Loading and writing documents of one kind. Every write is one transaction;
// on failure nothing is written and the document passed in is unchanged.
class DocumentStore {
public:
    DocumentStore(DataModule &dm, const DocumentKind &kind) : m_dm(dm), m_kind(kind) {}
    const DocumentKind &kind() const { return m_kind; }

    // Header rows of one entry date in code order; `warehouses` narrows by F_Depot.
    QList<QVariantMap> loadDay(const QDate &listDate, const SqlFilter &warehouses = {});
    Document load(const QString &code);
    QList<DocumentLine> loadLines(const QString &code);

    // Writes header and lines. A new document keeps its proposed code unless
    // another one took it meanwhile, then gets the next free code; an edited
    // one is refused when another workstation changed, audited or deleted it.
    StoreResult save(Document &doc, const QString &operatorName);
    StoreResult remove(const Document &doc);
    // Sets the audit mark; false when the document is audited already.
    StoreResult audit(const QString &code, const QString &operatorName, const QDate &day);
    StoreResult unaudit(const QString &code, const QString &operatorName);

    QString proposeCode(const QDate &day = QDate::currentDate());

    static QString saveFailedMessage() { return QStringLiteral("保存失败，请检测数据库连接！"); }
    static QString changedElsewhereMessage() { return QStringLiteral("此单据已被其他用户修改，请取消后重新打开再修改！"); }
    static QString deletedElsewhereMessage() { return QStringLiteral("此单据已被其他用户删除，不能保存！"); }
    static QString auditedMessage() { return QStringLiteral("此单据已经审核，不能再修改！"); }

private:
    QVariantMap rowOf(const QSqlQuery &q, const QString &table) const;
    void writeLines(const Document &doc, const QString &code);
    void writeHeader(Document &doc, const QString &code, const QString &operatorName);

    DataModule &m_dm;
    const DocumentKind &m_kind;
};

} // namespace korvan
