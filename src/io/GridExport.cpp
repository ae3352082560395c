#include "GridExport.h"
#include "GridModel.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>
#include <QTextStream>
#include <cmath>
#include <xlsxwriter.h>

namespace korvan {

QString exportExtension(int type)
{
    switch (type) {
    case ExportExcel: return QStringLiteral("xlsx");
    case ExportText: return QStringLiteral("txt");
    case ExportHtml: return QStringLiteral("htm");
    case ExportRtf: return QStringLiteral("rtf");
    case ExportCsv: return QStringLiteral("csv");
    default: return QString();
    }
}

QString exportFilters()
{
    return QStringLiteral("Excel 文档 (*.xlsx);;Text files (*.txt);;HTML file (*.htm);;"
                          "Rich Text Format (*.rtf);;Comma separated values (*.csv)");
}

QString exportFileName(const QString &chosen, int type)
{
    const QString ext = exportExtension(type);
    if (ext.isEmpty() || chosen.endsWith(QLatin1Char('.') + ext, Qt::CaseInsensitive)) return chosen;
    if (type == ExportExcel && chosen.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive))
        return chosen.left(chosen.size() - 4) + QLatin1String(".xlsx");
    return chosen + QLatin1Char('.') + ext;
}

namespace {

// Converts one section of a display format ("￥,0.00##") to Excel's notation.
QString excelSection(const QString &section)
{
    int first = -1, last = -1;
    for (int i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') || c == QLatin1Char(',')) {
            if (first < 0) first = i;
            last = i;
        }
    }
    auto literal = [](const QString &t) {
        QString plain = t;
        plain.remove(QLatin1Char('"')).remove(QLatin1Char('\''));
        if (plain.isEmpty()) return QString();
        if (plain == QLatin1String("-")) return plain;
        return QLatin1Char('"') + plain + QLatin1Char('"');
    };
    if (first < 0) return literal(section);
    const QString body = section.mid(first, last - first + 1);
    const int point = body.indexOf(QLatin1Char('.'));
    const QString intPart = point < 0 ? body : body.left(point);
    const QString fracPart = point < 0 ? QString() : body.mid(point + 1).remove(QLatin1Char(','));
    const bool grouping = intPart.contains(QLatin1Char(','));
    const QString zeros(intPart.count(QLatin1Char('0')), QLatin1Char('0'));
    QString out = grouping ? QStringLiteral("#,##") + (zeros.isEmpty() ? QStringLiteral("#") : zeros)
                           : (zeros.isEmpty() ? QStringLiteral("#") : zeros);
    if (!fracPart.isEmpty()) out += QLatin1Char('.') + fracPart;
    return literal(section.left(first)) + out + literal(section.mid(last + 1));
}

QStringList splitSections(const QString &pattern)
{
    QStringList out;
    QString cur;
    QChar quote;
    for (QChar c : pattern) {
        if (!quote.isNull()) { cur += c; if (c == quote) quote = QChar(); continue; }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) { quote = c; cur += c; continue; }
        if (c == QLatin1Char(';')) { out << cur; cur.clear(); continue; }
        cur += c;
    }
    out << cur;
    return out;
}

// True when a format shows its decimals only when significant (minimum none):
// Excel would print "5." for such a format, so General is used on a rounded value.
bool onlyOptionalDecimals(const QString &pattern)
{
    const QString first = splitSections(pattern).first();
    const int point = first.indexOf(QLatin1Char('.'));
    if (point < 0) return false;
    const QString frac = first.mid(point + 1);
    return frac.contains(QLatin1Char('#')) && !frac.contains(QLatin1Char('0'));
}

} // namespace

QString excelNumberFormat(const QString &pattern)
{
    if (pattern.trimmed().isEmpty()) return QString();
    if (onlyOptionalDecimals(pattern) && !pattern.contains(QLatin1Char(',')) && splitSections(pattern).size() == 1) {
        const QString s = pattern.trimmed();
        if (s.startsWith(QLatin1Char('0')) || s.startsWith(QLatin1Char('#'))) return QString();
    }
    QStringList parts;
    for (const QString &s : splitSections(pattern)) parts << excelSection(s);
    return parts.join(QLatin1Char(';'));
}

namespace {

// What every writer needs of the grid: the visible columns and their cells.
struct Table {
    GridModel &model;
    QList<int> cols;
    bool footer = false;
    explicit Table(GridModel &m) : model(m)
    {
        model.fetchAll();
        cols = model.visibleColumns();
        for (int c : cols)
            if (model.column(c).footer != FooterKind::None) footer = true;
    }
    int rows() const { return model.rowCount(); }
    QString caption(int i) const { return model.column(cols[i]).flatCaption(); }
    QString text(int r, int i) const { return model.text(r, cols[i]); }
    QString footerText(int i) const { return model.footerText(cols[i]); }
    CellAlign align(int i) const { return effectiveAlign(model.column(cols[i]), model.columnType(cols[i])); }
};

void setError(QString *error, const QString &text) { if (error) *error = text; }

QString colLetters(int col)
{
    QString s;
    for (int n = col + 1; n > 0; n = (n - 1) / 26) s.prepend(QChar(u'A' + (n - 1) % 26));
    return s;
}

bool writeXlsx(Table &t, const QString &path, QString *error)
{
    lxw_workbook_options opts{};
    opts.constant_memory = LXW_TRUE;
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook *wb = workbook_new_opt(file.constData(), &opts);
    if (!wb) { setError(error, QStringLiteral("cannot create ") + path); return false; }
    lxw_worksheet *ws = workbook_add_worksheet(wb, nullptr);

    lxw_format *head = workbook_add_format(wb);
    format_set_bold(head);
    format_set_align(head, LXW_ALIGN_CENTER);
    format_set_bg_color(head, 0xE8E8E8);
    format_set_border(head, LXW_BORDER_THIN);
    lxw_format *dateFmt = workbook_add_format(wb);
    format_set_num_format(dateFmt, "yyyy-mm-dd");

    const int n = int(t.cols.size());
    std::vector<lxw_format *> cellFmt(static_cast<size_t>(n), nullptr), footFmt(static_cast<size_t>(n), nullptr);
    std::vector<int> roundTo(static_cast<size_t>(n), -1);
    std::vector<NumberFormat> rounder(static_cast<size_t>(n));
    std::vector<CellType> types(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const GridColumn &c = t.model.column(t.cols[i]);
        types[size_t(i)] = t.model.columnType(t.cols[i]);
        const QByteArray numFmt = excelNumberFormat(c.displayFormat).toUtf8();
        if (isNumericType(types[size_t(i)]) && !c.displayFormat.isEmpty() && numFmt.isEmpty())
        {
            roundTo[size_t(i)] = NumberFormat(c.displayFormat).maxDecimals();
            rounder[size_t(i)] = NumberFormat(NumberFormat::quantityPattern(roundTo[size_t(i)]));
        }
        const CellAlign a = t.align(i);
        const uint8_t align = a == CellAlign::Right ? LXW_ALIGN_RIGHT : a == CellAlign::Center ? LXW_ALIGN_CENTER : LXW_ALIGN_LEFT;
        if (types[size_t(i)] == CellType::Date) {
            cellFmt[size_t(i)] = dateFmt;
        } else if (!numFmt.isEmpty() || c.align != CellAlign::Auto) {
            cellFmt[size_t(i)] = workbook_add_format(wb);
            if (!numFmt.isEmpty() && isNumericType(types[size_t(i)])) format_set_num_format(cellFmt[size_t(i)], numFmt.constData());
            format_set_align(cellFmt[size_t(i)], align);
        }
        footFmt[size_t(i)] = workbook_add_format(wb);
        format_set_bold(footFmt[size_t(i)]);
        format_set_align(footFmt[size_t(i)], align);
        format_set_top(footFmt[size_t(i)], LXW_BORDER_THIN);
        if (!numFmt.isEmpty()) format_set_num_format(footFmt[size_t(i)], numFmt.constData());
        worksheet_set_column(ws, lxw_col_t(i), lxw_col_t(i), qMax(4.0, c.width / 7.0), nullptr);
    }
    for (int i = 0; i < n; ++i)
        worksheet_write_string(ws, 0, lxw_col_t(i), t.caption(i).toUtf8().constData(), head);
    worksheet_freeze_panes(ws, 1, 0);

    const int rows = t.rows();
    for (int r = 0; r < rows; ++r) {
        const lxw_row_t xr = lxw_row_t(r + 1);
        for (int i = 0; i < n; ++i) {
            const lxw_col_t xc = lxw_col_t(i);
            const QVariant v = t.model.value(r, t.cols[i]);
            if (v.isNull()) continue;
            lxw_format *f = cellFmt[size_t(i)];
            switch (types[size_t(i)]) {
            case CellType::Price:
            case CellType::Money: {
                Money m = v.value<Money>();
                if (roundTo[size_t(i)] >= 0) m = m.rounded(qMin(4, roundTo[size_t(i)]));
                worksheet_write_number(ws, xr, xc, m.toDouble(), f);
                break;
            }
            case CellType::Quantity:
            case CellType::Int: {
                double d = v.toDouble();
                if (roundTo[size_t(i)] >= 0) // as shown: rounded on the decimal form
                    d = rounder[size_t(i)].format(d).toDouble();
                worksheet_write_number(ws, xr, xc, d, f);
                break;
            }
            case CellType::Date: {
                const QString shown = t.text(r, i);
                if (shown.isEmpty()) break; // the empty date shows blank
                const QDate d = v.toDate();
                lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0};
                worksheet_write_datetime(ws, xr, xc, &dt, f);
                break;
            }
            case CellType::Bool:
                worksheet_write_boolean(ws, xr, xc, v.toBool(), f);
                break;
            case CellType::Text: {
                const QString s = v.toString();
                if (!s.isEmpty()) worksheet_write_string(ws, xr, xc, s.toUtf8().constData(), f);
                break;
            }
            }
        }
    }
    if (t.footer) {
        const lxw_row_t xr = lxw_row_t(rows + 1);
        for (int i = 0; i < n; ++i) {
            const GridColumn &c = t.model.column(t.cols[i]);
            const lxw_col_t xc = lxw_col_t(i);
            if (c.footer == FooterKind::Sum && isNumericType(types[size_t(i)])) {
                const QVariant sum = t.model.fieldSum(c.field);
                const double value = isMoneyType(types[size_t(i)]) ? sum.value<Money>().toDouble() : sum.toDouble();
                const QString col = colLetters(i);
                const QByteArray formula = rows > 0
                    ? QStringLiteral("=SUM(%1%2:%1%3)").arg(col).arg(2).arg(rows + 1).toUtf8()
                    : QByteArray("=0");
                worksheet_write_formula_num(ws, xr, xc, formula.constData(), footFmt[size_t(i)], value);
            } else {
                const QString s = t.footerText(i);
                if (!s.isEmpty()) worksheet_write_string(ws, xr, xc, s.toUtf8().constData(), footFmt[size_t(i)]);
                else worksheet_write_blank(ws, xr, xc, footFmt[size_t(i)]);
            }
        }
    }
    const lxw_error rc = workbook_close(wb);
    if (rc != LXW_NO_ERROR) {
        setError(error, QString::fromUtf8(lxw_strerror(rc)));
        QFile::remove(path);
        return false;
    }
    return true;
}

QString htmlEscaped(const QString &s)
{
    return s.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br/>"));
}

QString rtfEscaped(const QString &s)
{
    QString out;
    out.reserve(s.size() * 2);
    for (QChar c : s) {
        const ushort u = c.unicode();
        if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}')) { out += QLatin1Char('\\'); out += c; }
        else if (c == QLatin1Char('\n')) out += QLatin1String("\\line ");
        else if (c == QLatin1Char('\r') || c == QLatin1Char('\t')) out += QLatin1Char(' ');
        else if (u < 128) out += c;
        else out += QStringLiteral("\\u%1?").arg(qint16(u)); // UTF-16 units, signed as RTF wants
    }
    return out;
}

QString csvField(const QString &s)
{
    if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"')) && !s.contains(QLatin1Char('\n'))
        && !s.contains(QLatin1Char('\r')))
        return s;
    QString q = s;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString tsvField(QString s)
{
    s.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

bool writeText(Table &t, const QString &path, int type, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) { setError(error, file.errorString()); return false; }
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    const int n = int(t.cols.size());
    const int rows = t.rows();
    auto align = [&](int i) {
        const CellAlign a = t.align(i);
        return a == CellAlign::Right ? "right" : a == CellAlign::Center ? "center" : "left";
    };

    if (type == ExportText || type == ExportCsv) {
        out.setGenerateByteOrderMark(true);
        const QLatin1Char sep(type == ExportCsv ? ',' : '\t');
        auto field = [&](const QString &s) { return type == ExportCsv ? csvField(s) : tsvField(s); };
        auto line = [&](auto cell) {
            for (int i = 0; i < n; ++i) {
                if (i) out << sep;
                out << field(cell(i));
            }
            out << "\r\n";
        };
        line([&](int i) { return t.caption(i); });
        for (int r = 0; r < rows; ++r) line([&](int i) { return t.text(r, i); });
        if (t.footer) line([&](int i) { return t.footerText(i); });
    } else if (type == ExportHtml) {
        out << "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\"/>\n<title>"
            << htmlEscaped(QFileInfo(path).completeBaseName()) << "</title>\n</head>\n<body>\n"
            << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\n<thead>\n<tr>";
        for (int i = 0; i < n; ++i) out << "<th>" << htmlEscaped(t.caption(i)) << "</th>";
        out << "</tr>\n</thead>\n<tbody>\n";
        for (int r = 0; r < rows; ++r) {
            out << "<tr>";
            for (int i = 0; i < n; ++i) out << "<td align=\"" << align(i) << "\">" << htmlEscaped(t.text(r, i)) << "</td>";
            out << "</tr>\n";
        }
        out << "</tbody>\n";
        if (t.footer) {
            out << "<tfoot>\n<tr>";
            for (int i = 0; i < n; ++i) out << "<td align=\"" << align(i) << "\"><b>" << htmlEscaped(t.footerText(i)) << "</b></td>";
            out << "</tr>\n</tfoot>\n";
        }
        out << "</table>\n</body>\n</html>\n";
    } else if (type == ExportRtf) {
        // Every row repeats its definition: per cell the borders and the right
        // edge in twips (1 px = 15 twips at 96 dpi).
        QString rowDef = QStringLiteral("\\trowd\\trgaph60\\trleft0");
        int right = 0;
        for (int i = 0; i < n; ++i) {
            right += qMax(30, t.model.column(t.cols[i]).width) * 15;
            rowDef += QStringLiteral("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
                                     "\\clbrdrr\\brdrs\\brdrw10\\cellx%1").arg(right);
        }
        auto row = [&](auto cell, bool bold) {
            out << rowDef << "\n";
            for (int i = 0; i < n; ++i) {
                const CellAlign a = t.align(i);
                out << "\\pard\\intbl" << (a == CellAlign::Right ? "\\qr" : a == CellAlign::Center ? "\\qc" : "\\ql")
                    << (bold ? "\\b " : " ") << rtfEscaped(cell(i)) << (bold ? "\\b0" : "") << "\\cell\n";
            }
            out << "\\row\n";
        };
        out << "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}\n\\f0\\fs20\n";
        row([&](int i) { return t.caption(i); }, true);
        for (int r = 0; r < rows; ++r) row([&](int i) { return t.text(r, i); }, false);
        if (t.footer) row([&](int i) { return t.footerText(i); }, true);
        out << "\\pard\\par\n}\n";
    } else {
        setError(error, QStringLiteral("unknown export type"));
        file.cancelWriting();
        return false;
    }
    out.flush();
    if (out.status() != QTextStream::Ok || !file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool writeGridFile(GridModel &model, const QString &path, int type, QString *error)
{
    Table t(model);
    if (type == ExportExcel) return writeXlsx(t, path, error);
    return writeText(t, path, type, error);
}

} // namespace korvan
