// Export of a grid to the five file types, read back; the table readers.
#include "GridExport.h"
#include "GridModel.h"
#include "TableReader.h"
#include "TestKit.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace korvan;

namespace {

using Table = QList<QStringList>;

Money yuan(const char *text) { return *Money::parse(QString::fromUtf8(text)); }

// A grid with every cell type, a hidden column, a two-level title, texts that
// need quoting and a footer of fixed text and sums.
void fillModel(GridModel &model)
{
    model.setFields({{"F_Code", CellType::Text}, {"F_GoodName", CellType::Text}, {"F_Amount", CellType::Quantity},
                     {"F_Price", CellType::Price}, {"F_TotalPrice", CellType::Money}, {"F_MakeDate", CellType::Date},
                     {"F_Flag", CellType::Bool}, {"F_Secret", CellType::Text}, {"F_RQ1", CellType::Date}});
    model.appendRow({"CGD20240305001", "螺丝, \"M6\" {粗}\\牙", 100.5, QVariant::fromValue(yuan("0.5")),
                     QVariant::fromValue(yuan("50.25")), QDate(2024, 3, 5), false, "x", QDate(1900, 8, 14)});
    model.appendRow({"CGD20240305002", "扳手\n12寸", 2.0, QVariant::fromValue(yuan("617283.9455")),
                     QVariant::fromValue(yuan("1234567.891")), QDate(2024, 12, 31), true, "y", QDate(2024, 1, 2)});
    model.appendRow({"CGD20240306001", "电线", 0.25, QVariant(), QVariant::fromValue(yuan("-3.2")), QVariant(), false,
                     "z", QVariant()});
    GridColumns cols;
    auto add = [&](const char *field, const char *caption, const char *format = "") {
        GridColumn c;
        c.field = field;
        c.caption = QString::fromUtf8(caption);
        c.displayFormat = format;
        cols << c;
        return &cols.last();
    };
    GridColumn *code = add("F_Code", "编号");
    code->footer = FooterKind::Text;
    code->footerText = "合  计";
    add("F_GoodName", "货品|名称");
    add("F_Amount", "数量", "0.##")->footer = FooterKind::Sum;
    add("F_Price", "单价", ",0.00##");
    add("F_TotalPrice", "金额", ",0.00")->footer = FooterKind::Sum;
    add("F_MakeDate", "日期");
    add("F_Flag", "停用");
    add("F_Secret", "隐藏")->visible = false;
    add("F_RQ1", "日期一");
    model.setColumns(cols);
}

// What the grid shows: captions, the cells as texts, the footer.
Table shownTable(GridModel &model)
{
    Table t;
    QStringList caps;
    for (int c : model.visibleColumns()) caps << model.column(c).flatCaption();
    t << caps;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList row;
        for (int c : model.visibleColumns()) row << model.text(r, c);
        t << row;
    }
    QStringList foot;
    for (int c : model.visibleColumns()) foot << model.footerText(c);
    t << foot;
    return t;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Table readTabs(const QString &path)
{
    QByteArray bytes = fileBytes(path);
    Table t;
    if (!bytes.startsWith("\xEF\xBB\xBF")) return t;
    for (const QString &line : QString::fromUtf8(bytes.mid(3)).split("\r\n", Qt::SkipEmptyParts))
        t << line.split('\t');
    return t;
}

Table readCsvTable(const QString &path)
{
    Table t;
    if (!fileBytes(path).startsWith("\xEF\xBB\xBF")) return t;
    const auto sheet = readCsv(path);
    if (!sheet) return t;
    t << sheet->columns;
    for (const QVariantList &r : sheet->rows) {
        QStringList row;
        for (const QVariant &v : r) row << v.toString();
        t << row;
    }
    return t;
}

// The writer's HTML is well-formed XML, so the stream reader takes it.
Table readHtml(const QString &path)
{
    QXmlStreamReader xml(fileBytes(path));
    Table t;
    QStringList row;
    QString cell;
    bool inCell = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.name();
        if (xml.isStartElement()) {
            if (name == u"tr") row.clear();
            else if (name == u"td" || name == u"th") { inCell = true; cell.clear(); }
            else if (name == u"br" && inCell) cell += '\n';
        } else if (xml.isEndElement()) {
            if (name == u"tr") t << row;
            else if (name == u"td" || name == u"th") { inCell = false; row << cell; }
        } else if (xml.isCharacters() && inCell) {
            cell += xml.text();
        }
    }
    if (xml.hasError()) t << QStringList{xml.errorString()};
    return t;
}

// Just enough RTF for a table: \cell and \row, \uN? and \'hh escapes, \line.
Table readRtf(const QString &path)
{
    const QString s = QString::fromLatin1(fileBytes(path));
    Table t;
    QStringList row;
    QString cell;
    int skipDepth = -1, depth = 0;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == '{') { ++depth; continue; }
        if (c == '}') { if (depth == skipDepth) skipDepth = -1; --depth; continue; }
        if (c == '\r' || c == '\n') continue;
        const bool skipping = skipDepth >= 0;
        if (c != '\\') { if (!skipping) cell += c; continue; }
        const QChar n = i + 1 < s.size() ? s[i + 1] : QChar();
        if (n == '\\' || n == '{' || n == '}') { if (!skipping) cell += n; ++i; continue; }
        if (n == '\'') { if (!skipping) cell += QChar(s.mid(i + 2, 2).toInt(nullptr, 16)); i += 3; continue; }
        int j = i + 1;
        while (j < s.size() && s[j].isLetter()) ++j;
        const QString word = s.mid(i + 1, j - i - 1);
        int k = j;
        if (k < s.size() && (s[k] == '-' || s[k].isDigit())) { ++k; while (k < s.size() && s[k].isDigit()) ++k; }
        const int param = s.mid(j, k - j).toInt();
        if (k < s.size() && s[k] == ' ') ++k;
        i = k - 1;
        if (word == "fonttbl") skipDepth = depth;
        if (skipping) continue;
        if (word == "u") { cell += QChar(ushort(qint16(param))); ++i; } // skip the '?' fallback
        else if (word == "line") cell += '\n';
        else if (word == "cell") { row << cell; cell.clear(); }
        else if (word == "row") { t << row; row.clear(); }
        else if (word == "intbl" || word == "pard") cell.clear();
    }
    return t;
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT
private slots:
    void textFormats_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("txt") << int(ExportText);
        QTest::newRow("htm") << int(ExportHtml);
        QTest::newRow("rtf") << int(ExportRtf);
        QTest::newRow("csv") << int(ExportCsv);
    }
    // The four text formats hold exactly what the grid shows.
    void textFormats()
    {
        QFETCH(int, type);
        GridModel model;
        fillModel(model);
        QTemporaryDir dir;
        const QString path = dir.filePath("导出 报表." + exportExtension(type));
        QString error;
        QVERIFY2(writeGridFile(model, path, type, &error), qPrintable(error));
        Table got;
        switch (type) {
        case ExportText: got = readTabs(path); break;
        case ExportHtml: got = readHtml(path); break;
        case ExportRtf: got = readRtf(path); break;
        case ExportCsv: got = readCsvTable(path); break;
        }
        Table expected = shownTable(model);
        if (type == ExportText) expected[2][1] = "扳手 12寸"; // tab-separated lines cannot hold a line break
        QCOMPARE(got, expected);
        // Spot checks of what "as shown" means.
        QCOMPARE(expected[0], QStringList({"编号", "货品-名称", "数量", "单价", "金额", "日期", "停用", "日期一"}));
        QCOMPARE(expected[2][4], QString("1,234,567.89"));
        QCOMPARE(expected[1][7], QString()); // the empty date
        QCOMPARE(expected[4], QStringList({"合  计", "", "102.75", "", "1,234,614.94", "", "", ""}));
    }

    // The workbook holds typed cells: numbers, dates and booleans as such.
    void xlsxWorkbook()
    {
        GridModel model;
        fillModel(model);
        QTemporaryDir dir;
        const QString path = dir.filePath("导出 报表.xlsx");
        QString error;
        QVERIFY2(writeGridFile(model, path, ExportExcel, &error), qPrintable(error));
        const auto sheet = readXlsx(path, &error);
        QVERIFY2(sheet, qPrintable(error));
        QCOMPARE(sheet->columns, QStringList({"编号", "货品-名称", "数量", "单价", "金额", "日期", "停用", "日期一"}));
        QCOMPARE(sheet->rows.size(), 4);
        const QVariantList &r0 = sheet->rows[0], &r1 = sheet->rows[1], &r2 = sheet->rows[2], &foot = sheet->rows[3];
        QCOMPARE(r0[0], QVariant("CGD20240305001"));
        QCOMPARE(r0[1], QVariant("螺丝, \"M6\" {粗}\\牙"));
        QCOMPARE(r1[1], QVariant("扳手\n12寸"));
        QCOMPARE(r0[2], QVariant(100.5));
        QCOMPARE(r0[5], QVariant(QDate(2024, 3, 5)));
        QCOMPARE(r1[5], QVariant(QDate(2024, 12, 31)));
        QCOMPARE(r0[6], QVariant(false));
        QCOMPARE(r1[6], QVariant(true));
        QVERIFY(r0[7].isNull());                       // the empty date stays blank
        QCOMPARE(r1[7], QVariant(QDate(2024, 1, 2)));
        QVERIFY(r2[3].isNull());
        auto money = [](const QVariant &v) { return Money::parse(shortestDecimal(v.toDouble())); };
        QCOMPARE(money(r1[3]), yuan("617283.9455"));    // all four decimals, formatted by the cell
        QCOMPARE(money(r1[4]), yuan("1234567.891"));
        QCOMPARE(money(r2[4]), yuan("-3.2"));
        QCOMPARE(foot[0], QVariant("合  计"));
        QCOMPARE(foot[2], QVariant(102.75));
        QCOMPARE(money(foot[4]), yuan("1234614.9410"));
    }

    void exportFileName_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("written");
        QTest::newRow("excel bare") << "/tmp/report" << 1 << "/tmp/report.xlsx";
        QTest::newRow("excel upper") << "/tmp/report.XLSX" << 1 << "/tmp/report.XLSX";
        QTest::newRow("excel old name") << "/tmp/report.XLS" << 1 << "/tmp/report.xlsx";
        QTest::newRow("text") << "a/订单" << 2 << "a/订单.txt";
        QTest::newRow("text has it") << "a/订单.TXT" << 2 << "a/订单.TXT";
        QTest::newRow("no dot") << "mytxt" << 2 << "mytxt.txt";
        QTest::newRow("html") << "x.html" << 3 << "x.html.htm";
        QTest::newRow("rtf") << "x" << 4 << "x.rtf";
        QTest::newRow("csv other ext") << "x.txt" << 5 << "x.txt.csv";
    }
    void exportFileName()
    {
        QFETCH(QString, chosen);
        QFETCH(int, type);
        QFETCH(QString, written);
        QCOMPARE(korvan::exportFileName(chosen, type), written);
    }

    void excelNumberFormat_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("excel");
        QTest::newRow("amount") << ",0.00" << "#,##0.00";
        QTest::newRow("price") << ",0.00##" << "#,##0.00##";
        QTest::newRow("quantity: General, rounded") << "0.##" << "";
        QTest::newRow("integer") << ",0" << "#,##0";
        QTest::newRow("currency sections") << "￥,0.00;-￥,0.00" << "\"￥\"#,##0.00;\"-￥\"#,##0.00";
        QTest::newRow("none") << "" << "";
    }
    void excelNumberFormat()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, excel);
        QCOMPARE(korvan::excelNumberFormat(pattern), excel);
    }

    // CSV files from elsewhere: quoted fields, embedded line breaks, GB18030.
    void csvReader()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("in.csv");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QStringEncoder gb("GB18030");
        QVERIFY(gb.isValid());
        f.write(gb(QStringLiteral("编号,名称,备注\r\nG001,\"螺丝, M6\",\"两行\n说明\"\r\nG002,扳手\r\n\r\n")));
        f.close();
        const auto sheet = readCsv(path);
        QVERIFY(sheet);
        QCOMPARE(sheet->columns, QStringList({"编号", "名称", "备注"}));
        QCOMPARE(sheet->rows.size(), 2);
        QCOMPARE(sheet->rows[0], QVariantList({"G001", "螺丝, M6", "两行\n说明"}));
        QCOMPARE(sheet->rows[1], QVariantList({"G002", "扳手", ""}));
    }

    void readerFailures()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("not.xlsx");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("plain text");
        f.close();
        QString error;
        QVERIFY(!readXlsx(path, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!readTableFile(dir.filePath("x.doc"), &error));
        QVERIFY(!readCsv(dir.filePath("missing.csv"), &error));
    }

    void writeFailure()
    {
        GridModel model;
        fillModel(model);
        QString error;
        QVERIFY(!writeGridFile(model, "/nonexistent-dir/x.csv", ExportCsv, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!writeGridFile(model, "/nonexistent-dir/x.xlsx", ExportExcel, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "test_export.moc"
