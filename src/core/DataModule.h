#pragma once
#include "AppSettings.h"
#include "Database.h"
#include "Money.h"
#include "Session.h"

#include <QDate>
#include <QSqlQuery>
#include <QStringList>
#include <memory>

namespace korvan {

// The five numbered document series.
struct DocumentSeries {
    QString table;
    QString prefix;
    int kind; // the header's F_Flag
};
namespace Series {
inline const DocumentSeries Order{QStringLiteral("ddDepotM"), QStringLiteral("CDD"), 1};
inline const DocumentSeries Receipt{QStringLiteral("depotM"), QStringLiteral("CGD"), 1};
inline const DocumentSeries Return{QStringLiteral("depotM"), QStringLiteral("CTD"), -1};
inline const DocumentSeries Invoice{QStringLiteral("KPdepotM"), QStringLiteral("CKP"), -1};
inline const DocumentSeries Payment{QStringLiteral("cashPayM"), QStringLiteral("FKD"), -1};
}

// The shared data services every window uses. Each catches database errors,
// shows its message through ShowMess and returns a neutral result, so callers
// can chain calls. SQL always arrives with bound '?' parameters.
class DataModule {
public:
    DataModule(AppSettings &settings, std::unique_ptr<Database> db);
    ~DataModule();

    // The data module of the running application (set by start-up).
    static DataModule *instance();
    static void setInstance(DataModule *dm);

    AppSettings &settings() { return m_settings; }
    Database &db() { return *m_db; }
    Session &session() { return m_session; }
    const Session &session() const { return m_session; }
    SystemSwitches &switches() { return m_switches; }
    const NumberFormats &formats() const { return m_formats; }
    // `iPrintNum` and `bTM` as read when the main window first shows (the
    // settings window replaces them).
    int printRows() const { return m_printRows; }
    bool barcodeInput() const { return m_barcodeInput; }
    void setPrintRows(int rows) { m_printRows = rows; }
    void setBarcodeInput(bool on) { m_barcodeInput = on; }

    static QString failMessage() { return QStringLiteral("操作失败，请检查数据连接... "); }
    static QString openFailMessage() { return QStringLiteral("打开操作失败，请检查数据连接... "); }
    static QString deleteFailMessage() { return QStringLiteral("删除操作失败，请检查数据连接... "); }

    bool ExecSql(const QString &sql, const QVariantList &params = {});
    bool OpenQuery(const QString &sql, const QVariantList &params, QSqlQuery &query);
    QString LookupString(const QString &sql, const QVariantList &params = {});
    double LookupFloat(const QString &sql, const QVariantList &params = {});
    int LookupInt(const QString &sql, const QVariantList &params = {});
    Money LookupMoney(const QString &sql, const QVariantList &params = {});
    // The non-blank first-column values of the rows, in row order, untrimmed.
    QStringList FillComboBox(const QString &sql, const QVariantList &params = {});
    bool DeleteById(const QString &table, qint64 id);
    void WriteLog(const QString &operation);

    // Greatest code of the day + 1. Call inside the save's WriteTransaction:
    // it locks the series so concurrent savers are serialized.
    QString NextDocumentCode(const DocumentSeries &series, const QDate &day = QDate::currentDate());
    bool HasPermission(const QString &itemCode);
    Money LastReceiptPrice(const QString &goodsCode, const QString &supplier, int kind);
    Money LastOrderPrice(const QString &goodsCode, const QString &supplier, int kind);

    // Daily consistent copy of the database into the backup folder.
    void AutoBackup(const QDate &today = QDate::currentDate());
    // Whether config.ini's `ibak` mode asks for the automatic backup today:
    // 1 every start, 2 on Mondays, 3 on the first day of a month.
    static bool AutoBackupDue(int mode, const QDate &today)
    {
        return mode == 1 || (mode == 2 && today.dayOfWeek() == Qt::Monday) || (mode == 3 && today.day() == 1);
    }
    // Reads the SysInfo switches and rebuilds the display formats.
    void LoadSwitches();
    void BuildNumberFormats();

private:
    Money lastPrice(const QString &head, const QString &lines, const QString &goodsCode, const QString &supplier, int kind);

    AppSettings &m_settings;
    std::unique_ptr<Database> m_db;
    Session m_session;
    SystemSwitches m_switches;
    NumberFormats m_formats;
    int m_printRows = 5;
    bool m_barcodeInput = false;
};

// The next code after `greatest` in a day's series (head = prefix + yyyymmdd).
// Serials run 001…999 and then widen to 1000 rather than wrap to a used code.
QString nextCodeAfter(const QString &head, const QString &greatest, int width = 3);

} // namespace korvan
