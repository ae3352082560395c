#include "TableReader.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <cmath>
#include <unzip.h>

namespace korvan {

QDate excelSerialDate(double serial)
{
    return QDate(1899, 12, 30).addDays(qint64(std::floor(serial)));
}

namespace {

void setError(QString *error, const QString &text) { if (error) *error = text; }

// The entries of a zip archive, read whole (workbook parts are small next to memory).
class ZipArchive {
public:
    explicit ZipArchive(const QString &path) : m_zip(unzOpen64(QFile::encodeName(path).constData())) {}
    ~ZipArchive() { if (m_zip) unzClose(m_zip); }
    bool ok() const { return m_zip != nullptr; }
    std::optional<QByteArray> read(const QString &name)
    {
        if (unzLocateFile(m_zip, name.toUtf8().constData(), 2) != UNZ_OK) return std::nullopt;
        if (unzOpenCurrentFile(m_zip) != UNZ_OK) return std::nullopt;
        QByteArray out;
        char buf[65536];
        int n;
        while ((n = unzReadCurrentFile(m_zip, buf, sizeof buf)) > 0) out.append(buf, n);
        const bool good = n == 0;
        unzCloseCurrentFile(m_zip);
        if (!good) return std::nullopt;
        return out;
    }
private:
    unzFile m_zip;
};

QString resolvePart(const QString &base, const QString &target)
{
    if (target.startsWith(QLatin1Char('/'))) return target.mid(1);
    QString path = base + target;
    // Fold "dir/../" away.
    QStringList parts;
    for (const QString &p : path.split(QLatin1Char('/'))) {
        if (p == QLatin1String("..")) { if (!parts.isEmpty()) parts.removeLast(); }
        else if (p != QLatin1String(".")) parts << p;
    }
    return parts.join(QLatin1Char('/'));
}

// Whether an Excel number format shows a date or time.
bool isDateFormatCode(const QString &code)
{
    QString plain;
    bool quoted = false, bracket = false, escaped = false;
    for (QChar c : code) {
        if (escaped) { escaped = false; continue; }
        if (quoted) { if (c == QLatin1Char('"')) quoted = false; continue; }
        if (bracket) { if (c == QLatin1Char(']')) bracket = false; continue; }
        if (c == QLatin1Char('\\')) { escaped = true; continue; }
        if (c == QLatin1Char('"')) { quoted = true; continue; }
        if (c == QLatin1Char('[')) { bracket = true; continue; }
        plain += c.toLower();
    }
    if (plain.contains(QLatin1String("general"))) return false;
    for (QChar c : plain)
        if (c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y')) return true;
    return false;
}

bool isBuiltinDateFormat(int id) { return (id >= 14 && id <= 22) || (id >= 45 && id <= 47) || (id >= 27 && id <= 36) || (id >= 50 && id <= 58); }

// Zero-based column of a cell reference such as "AB12"; -1 when absent.
int columnOfRef(QStringView ref)
{
    int col = 0, letters = 0;
    for (QChar c : ref) {
        if (c.isLetter()) { col = col * 26 + (c.toUpper().unicode() - 'A' + 1); ++letters; }
        else break;
    }
    return letters ? col - 1 : -1;
}

// All text of <t> elements inside the current element (rich runs joined; phonetic runs skipped).
QString readStringItem(QXmlStreamReader &xml)
{
    QString text;
    const QString endName = xml.name().toString();
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh")) ++phonetic;
            else if (xml.name() == QLatin1String("t") && !phonetic) text += xml.readElementText();
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh")) --phonetic;
            else if (xml.name() == endName) break;
        }
    }
    return text;
}

} // namespace

std::optional<SheetTable> readXlsx(const QString &path, QString *error)
{
    ZipArchive zip(path);
    if (!zip.ok()) { setError(error, QStringLiteral("不是有效的 Excel 工作簿：") + path); return std::nullopt; }

    // First worksheet: workbook.xml names it, its relationships give the part.
    QString sheetPart = QStringLiteral("xl/worksheets/sheet1.xml");
    QString stringsPart = QStringLiteral("xl/sharedStrings.xml"), stylesPart = QStringLiteral("xl/styles.xml");
    if (const auto wb = zip.read(QStringLiteral("xl/workbook.xml"))) {
        QString firstId;
        QXmlStreamReader xml(*wb);
        while (!xml.atEnd() && firstId.isEmpty()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("sheet")) {
                for (const QXmlStreamAttribute &a : xml.attributes())
                    if (a.name() == QLatin1String("id")) firstId = a.value().toString();
            }
        }
        if (const auto rels = zip.read(QStringLiteral("xl/_rels/workbook.xml.rels"))) {
            QXmlStreamReader r(*rels);
            while (!r.atEnd()) {
                if (r.readNext() != QXmlStreamReader::StartElement || r.name() != QLatin1String("Relationship")) continue;
                const QString id = r.attributes().value(QLatin1String("Id")).toString();
                const QString type = r.attributes().value(QLatin1String("Type")).toString();
                const QString target = resolvePart(QStringLiteral("xl/"), r.attributes().value(QLatin1String("Target")).toString());
                if (id == firstId) sheetPart = target;
                else if (type.endsWith(QLatin1String("/sharedStrings"))) stringsPart = target;
                else if (type.endsWith(QLatin1String("/styles"))) stylesPart = target;
            }
        }
    }

    QStringList shared;
    if (const auto ss = zip.read(stringsPart)) {
        QXmlStreamReader xml(*ss);
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("si"))
                shared << readStringItem(xml);
    }

    // Styles: which cell formats show dates.
    QList<bool> xfIsDate;
    if (const auto st = zip.read(stylesPart)) {
        QHash<int, bool> customDate;
        QXmlStreamReader xml(*st);
        bool inCellXfs = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                if (xml.name() == QLatin1String("numFmt"))
                    customDate.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                                      isDateFormatCode(xml.attributes().value(QLatin1String("formatCode")).toString()));
                else if (xml.name() == QLatin1String("cellXfs")) inCellXfs = true;
                else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                    const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
                    xfIsDate << (customDate.contains(id) ? customDate.value(id) : isBuiltinDateFormat(id));
                }
            } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = false;
            }
        }
    }

    const auto sheet = zip.read(sheetPart);
    if (!sheet) { setError(error, QStringLiteral("工作簿中没有工作表：") + path); return std::nullopt; }

    QList<QVariantList> grid;
    QXmlStreamReader xml(*sheet);
    QVariantList row;
    bool inRow = false;
    int nextCol = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("row")) {
            row.clear();
            inRow = true;
            nextCol = 0;
        } else if (xml.isEndElement() && xml.name() == QLatin1String("row")) {
            grid << row;
            inRow = false;
        } else if (inRow && xml.isStartElement() && xml.name() == QLatin1String("c")) {
            const QXmlStreamAttributes at = xml.attributes();
            int col = columnOfRef(at.value(QLatin1String("r")));
            if (col < 0) col = nextCol;
            nextCol = col + 1;
            const QString t = at.value(QLatin1String("t")).toString();
            const int style = at.value(QLatin1String("s")).toInt();
            QString v;
            bool hasValue = false;
            QString inlineText;
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement() && xml.name() == QLatin1String("v")) { v = xml.readElementText(); hasValue = true; }
                else if (xml.isStartElement() && xml.name() == QLatin1String("is")) { inlineText = readStringItem(xml); hasValue = true; }
                else if (xml.isEndElement() && xml.name() == QLatin1String("c")) break;
            }
            if (!hasValue) continue;
            QVariant value;
            if (t == QLatin1String("s")) value = shared.value(v.toInt());
            else if (t == QLatin1String("inlineStr")) value = inlineText;
            else if (t == QLatin1String("str") || t == QLatin1String("e")) value = v;
            else if (t == QLatin1String("b")) value = v.trimmed() == QLatin1String("1");
            else if (t == QLatin1String("d")) value = QDate::fromString(v.left(10), Qt::ISODate);
            else {
                bool ok = false;
                const double d = v.toDouble(&ok);
                if (!ok) value = v;
                else if (style >= 0 && style < xfIsDate.size() && xfIsDate[style]) value = excelSerialDate(d);
                else value = d;
            }
            while (row.size() <= col) row << QVariant();
            row[col] = value;
        }
    }
    if (xml.hasError()) { setError(error, xml.errorString()); return std::nullopt; }

    SheetTable table;
    if (grid.isEmpty()) return table;
    for (const QVariant &v : grid.first()) table.columns << (v.metaType().id() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate) : v.toString());
    for (int r = 1; r < grid.size(); ++r) {
        QVariantList cells = grid[r];
        while (cells.size() < table.columns.size()) cells << QVariant();
        table.rows << cells;
    }
    return table;
}

std::optional<SheetTable> readCsv(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) { setError(error, file.errorString()); return std::nullopt; }
    QByteArray bytes = file.readAll();
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        text = QString::fromUtf8(bytes.mid(3));
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8(bytes);
        if (utf8.hasError()) {
            QStringDecoder gb("GB18030");
            if (gb.isValid()) text = gb(bytes);
        }
    }

    QList<QStringList> lines;
    QStringList fields;
    QString cur;
    bool quoted = false, any = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) { cur += c; ++i; }
                else quoted = false;
            } else {
                cur += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) { quoted = true; any = true; }
        else if (c == QLatin1Char(',')) { fields << cur; cur.clear(); any = true; }
        else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
            if (any || !cur.isEmpty()) { fields << cur; lines << fields; }
            fields.clear(); cur.clear(); any = false;
        } else { cur += c; any = true; }
    }
    if (any || !cur.isEmpty()) { fields << cur; lines << fields; }

    SheetTable table;
    if (lines.isEmpty()) return table;
    table.columns = lines.first();
    for (int r = 1; r < lines.size(); ++r) {
        QVariantList cells;
        for (const QString &f : lines[r]) cells << f;
        while (cells.size() < table.columns.size()) cells << QString();
        table.rows << cells;
    }
    return table;
}

std::optional<SheetTable> readTableFile(const QString &path, QString *error)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("xlsx")) return readXlsx(path, error);
    if (ext == QLatin1String("csv")) return readCsv(path, error);
    setError(error, QStringLiteral("不支持的文件类型：") + path);
    return std::nullopt;
}

} // namespace korvan
