#include "SystemSettings.h"
#include "DataModule.h"
#include "Messages.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace korvan {

CompanyInfo LoadCompanyInfo(DataModule &dm)
{
    CompanyInfo c;
    QSqlQuery q;
    if (dm.OpenQuery(QStringLiteral("SELECT F_Code, F_Name, F_Manager, F_Phone, F_HandPhone, F_Homepage, F_Email,"
                                    " F_Enroler, F_Mem FROM SysInfo ORDER BY F_ID"),
                     {}, q)
        && q.next()) {
        c.name = q.value(0).toString();
        c.address = q.value(1).toString();
        c.manager = q.value(2).toString();
        c.phone = q.value(3).toString();
        c.mobile = q.value(4).toString();
        c.homepage = q.value(5).toString();
        c.email = q.value(6).toString();
        c.legalRep = q.value(7).toString();
        c.profile = q.value(8).toString();
    }
    return c;
}

bool SaveCompanyInfo(DataModule &dm, const CompanyInfo &info)
{
    const QVariantList values = {info.name.trimmed(),     info.address.trimmed(), info.manager.trimmed(),
                                 info.phone.trimmed(),    info.mobile.trimmed(),  info.homepage.trimmed(),
                                 info.email.trimmed(),    info.legalRep.trimmed(), info.profile.trimmed()};
    Database &db = dm.db();
    try {
        WriteTransaction tx(db);
        // The table holds the one company row; every row takes the values.
        const int changed = db.exec(QStringLiteral("UPDATE SysInfo SET F_Code = ?, F_Name = ?, F_Manager = ?, F_Phone = ?,"
                                                   " F_HandPhone = ?, F_Homepage = ?, F_Email = ?, F_Enroler = ?, F_Mem = ?"),
                                    values);
        if (changed == 0)
            db.exec(QStringLiteral("INSERT INTO SysInfo (F_Code, F_Name, F_Manager, F_Phone, F_HandPhone, F_Homepage,"
                                   " F_Email, F_Enroler, F_Mem) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    values);
        tx.commit();
    } catch (const DbError &) {
        ShowMess(DataModule::failMessage(), MsgError);
        return false;
    }
    Session &s = dm.session();
    s.companyName = info.name.trimmed();
    s.companyPhone = info.phone.trimmed();
    s.companyFax = info.mobile.trimmed();
    return true;
}

bool IsValidEmail(const QString &address)
{
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9@._-]*$"));
    if (!allowed.match(address).hasMatch()) return false;
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (at < 0 || address.contains(QLatin1String(".."))) return false;
    const QString host = address.mid(at + 1);
    if (at == 0 || host.size() <= 3) return false;
    const qsizetype dot = host.indexOf(QLatin1Char('.')); // the first dot counts
    return dot >= 0 && dot + 1 < host.size() - 2;
}

QString homePageUrl(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(//|\\\\\\\\)"));
    if (t.contains(QLatin1String("http:"), Qt::CaseInsensitive) || scheme.match(t).hasMatch()) return t;
    return QStringLiteral("http://") + t;
}

QString mailToUrl(const QString &text)
{
    const QString t = text.trimmed();
    return IsValidEmail(t) ? QStringLiteral("mailto:") + t + QStringLiteral("?subject") : QString();
}

void SoftwareSettings::setLastPrice(bool on)
{
    switches.lastPrice = on;
    if (on) switches.lastSupplierPrice = false;
}

void SoftwareSettings::setLastSupplierPrice(bool on)
{
    switches.lastSupplierPrice = on;
    if (on) switches.lastPrice = false;
}

SoftwareSettings CurrentSoftwareSettings(DataModule &dm)
{
    SoftwareSettings s;
    s.switches = dm.switches();
    s.printRows = dm.printRows();
    s.barcodeInput = dm.barcodeInput();
    s.fieldCaptions = dm.session().userFieldCaptions;
    s.fieldVisible = dm.session().userFieldVisible;
    return s;
}

namespace {
// config.ini's two entries, written with the database transaction still open
// so that a failure on either side leaves both as they were.
struct IniEntries {
    int printRows;
    bool barcode;
    static IniEntries read(AppSettings &a) { return {a.printRows(), a.barcodeInput()}; }
    bool write(AppSettings &a) const
    {
        return a.ini().setInt(AppSettings::section(), QStringLiteral("iprintNum"), printRows)
            && a.ini().setBool(AppSettings::section(), QStringLiteral("bTM"), barcode);
    }
};
} // namespace

bool SaveSoftwareSettings(DataModule &dm, SoftwareSettings s)
{
    SystemSwitches &sw = s.switches;
    sw.qtyDecimals = qBound(kMinDecimals, sw.qtyDecimals, kMaxDecimals);
    sw.priceDecimals = qBound(kMinDecimals, sw.priceDecimals, kMaxDecimals);
    sw.amountDecimals = qBound(kMinDecimals, sw.amountDecimals, kMaxDecimals);
    if (sw.lastPrice && sw.lastSupplierPrice) sw.lastPrice = false;
    s.printRows = qBound(kMinPrintRows, s.printRows, kMaxPrintRows);

    Database &db = dm.db();
    AppSettings &app = dm.settings();
    const IniEntries before = IniEntries::read(app);
    bool iniTouched = false;
    try {
        WriteTransaction tx(db);
        QList<qint64> ids;
        {
            QSqlQuery q = db.query(QStringLiteral("SELECT F_ID FROM KeyValue ORDER BY F_ID"));
            while (q.next()) ids << q.value(0).toLongLong();
        }
        for (size_t n = 0; n < s.fieldCaptions.size(); ++n) {
            const QVariantList v = {s.fieldCaptions[n], s.fieldVisible[n]};
            if (qsizetype(n) < ids.size())
                db.exec(QStringLiteral("UPDATE KeyValue SET F_Value = ?, F_Flag = ? WHERE F_ID = ?"), v + QVariantList{ids[qsizetype(n)]});
            else
                db.exec(QStringLiteral("INSERT INTO KeyValue (F_Value, F_Flag) VALUES (?, ?)"), v);
        }
        db.exec(QStringLiteral("UPDATE SysInfo SET F_iAmount = ?, F_iPrice = ?, F_iTotal = ?, F_b2 = ?, F_b3 = ?, F_b4 = ?"),
                {sw.qtyDecimals, sw.priceDecimals, sw.amountDecimals, sw.autoGoodsCode, sw.lastPrice, sw.lastSupplierPrice});
        iniTouched = true;
        if (!IniEntries{s.printRows, s.barcodeInput}.write(app)) throw DbError(QStringLiteral("config.ini not written"));
        tx.commit();
    } catch (const DbError &) {
        if (iniTouched) before.write(app);
        ShowMess(DataModule::failMessage(), MsgError);
        return false;
    }

    dm.switches() = sw;
    dm.BuildNumberFormats();
    dm.setPrintRows(s.printRows);
    dm.setBarcodeInput(s.barcodeInput);
    dm.session().userFieldCaptions = s.fieldCaptions;
    dm.session().userFieldVisible = s.fieldVisible;
    return true;
}

} // namespace korvan
