#include "SeedData.h"
#include "Actions.h"
#include "AppSettings.h"
#include "Database.h"
#include "Passwords.h"
#include "Schema.h"

#include <QDir>
#include <QFile>

namespace korvan::SeedData {

namespace {
QString g_backupFolder;

const QString kAdminRole = QStringLiteral("001");

// Rows of a tab-separated resource file; the first line names the columns.
QList<QStringList> readTsv(const QString &resource, QStringList *header)
{
    QList<QStringList> rows;
    QFile f(resource);
    if (!f.open(QIODevice::ReadOnly)) return rows;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (header->isEmpty()) { *header = cells; continue; }
        rows << cells;
    }
    return rows;
}

QVariant typedCell(Database &db, const QString &table, const QString &column, const QString &text)
{
    const ColumnType type = Schema::table(table)->column(column)->type;
    switch (type) {
    case ColumnType::Int: return text.trimmed().toInt();
    case ColumnType::Bool: return text.trimmed() == QLatin1String("1") || text.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    default: return text;
    }
    Q_UNUSED(db);
}

void insertTsv(Database &db, const QString &table, const QString &resource)
{
    QStringList header;
    const QList<QStringList> rows = readTsv(resource, &header);
    if (header.isEmpty()) return;
    QStringList marks;
    for (int i = 0; i < header.size(); ++i) marks << QStringLiteral("?");
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, header.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    for (const QStringList &row : rows) {
        QVariantList values;
        for (int i = 0; i < header.size(); ++i)
            values << typedCell(db, table, header[i], i < row.size() ? row[i] : QString());
        db.exec(sql, values);
    }
}
} // namespace

void setBackupFolder(const QString &folder) { g_backupFolder = folder; }

QString backupFolder()
{
    if (!g_backupFolder.isEmpty()) return g_backupFolder;
    return QDir(AppSettings::applicationDir()).filePath(QStringLiteral("backup"));
}

void insertDeliveredRows(Database &db)
{
    db.exec(QStringLiteral("INSERT INTO PartList (F_Code, F_Name, F_Mem, F_Flag) VALUES (?, ?, ?, ?)"),
            {kAdminRole, QStringLiteral("系统管理员"), QStringLiteral("拥有全部功能"), false});
    db.exec(QStringLiteral(
                "INSERT INTO OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_Mem, F_Flag, F_new, F_edit, F_del,"
                " F_check, F_set, F_YGedit, F_HPedit, F_KHedit, F_Price, F_CKflag, F_depot)"
                " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {QStringLiteral("000"), QStringLiteral("系统管理员"), SavePass(QString()), kAdminRole,
             QStringLiteral("系统超级用户"), false, true, true, true, true, true, true, true, true, true, 0, QString()});
    for (const ActionInfo &a : allActions()) {
        const QString code = QString::number(a.code);
        db.exec(QStringLiteral("INSERT INTO Limits (F_Code, F_Name, F_Flag) VALUES (?, ?, ?)"), {code, a.caption, true});
        db.exec(QStringLiteral("INSERT INTO PartLimit (F_PartCode, F_LmtCode) VALUES (?, ?)"), {kAdminRole, code});
    }
    const QStringList captions = {
        QStringLiteral("字符项一"), QStringLiteral("字符项二"), QStringLiteral("字符项三"), QStringLiteral("字符项四"),
        QStringLiteral("字符项五"), QStringLiteral("数值项一"), QStringLiteral("数值项二"), QStringLiteral("数值项三"),
        QStringLiteral("日期项一"), QStringLiteral("日期项二"), QStringLiteral("日期项三")};
    for (int i = 0; i < captions.size(); ++i)
        db.exec(QStringLiteral("INSERT INTO KeyValue (F_ID, F_Value, F_Flag) VALUES (?, ?, ?)"), {i + 1, captions[i], false});
    db.exec(QStringLiteral(
                "INSERT INTO SysInfo (F_Code, F_Name, F_Manager, F_Phone, F_HandPhone, F_Email, F_Homepage, F_Enroler,"
                " F_Mem, F_BakPath, F_iAmount, F_iPrice, F_iTotal, F_b2, F_b3, F_b4)"
                " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString(),
             QDir::toNativeSeparators(backupFolder()), 2, 2, 2, false, false, false});
    insertTsv(db, QStringLiteral("cfg_Grid"), QStringLiteral(":/seed/cfg_grid.tsv"));
    insertTsv(db, QStringLiteral("cfg_import"), QStringLiteral(":/seed/cfg_import.tsv"));
    if (db.isPostgres()) {
        // KeyValue ids were given explicitly; move the identity past them.
        db.query(QStringLiteral("SELECT setval(pg_get_serial_sequence('keyvalue', 'f_id'), 11)"));
    }
}

} // namespace korvan::SeedData
