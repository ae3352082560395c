// korvan-cli print: a saved document to PDF through its print template.
#include "Fixture.h"
#include "TestKit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

using namespace korvan;
using namespace korvan::test;

namespace {
struct Run {
    int exitCode = -1;
    QString out, err;
};

Run cli(const QStringList &args)
{
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + "/korvan-cli", args);
    Run r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList databaseArgs(TestDb &db)
{
    const DatabaseTarget t = db.target();
    return t.engine == DatabaseTarget::Engine::PostgreSQL ? QStringList{"--pg", t.pgUrl} : QStringList{"--db", t.sqliteFile};
}
} // namespace

class TestCliPrint : public QObject {
    Q_OBJECT
private slots:
    void print_data() { addEngineRows(); }
    void print()
    {
        QFETCH(QString, engine);
        TestDb db(engine);
        KORVAN_REQUIRE(db);
        loadFixture(db.db());
        db.db().exec("UPDATE t_client SET F_LinkMan = ? WHERE F_Name = ?", {QString("赵六"), QString("华强五金")});
        const QString app = db.dir() + "/app";
        QVERIFY(QDir().mkpath(app + "/Qr"));
        const QString pdf = db.dir() + "/order.pdf";
        const QStringList base = QStringList{"print"} + databaseArgs(db) + QStringList{"--app", app};

        // Without a layout file: the default layout, amount in capitals included.
        Run r = cli(base + QStringList{"CDD20240305001", "--pdf", pdf});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QString text = pdfText(pdf);
        for (const QString &expected : {QString("CDD20240305001"), QString("华强五金"), QString("螺丝"), QString("扳手"),
                                        QString("100.00"), QString("壹佰零拾零元整")})
            QVERIFY2(text.contains(expected), qPrintable(expected + " missing from:\n" + text));

        // A layout file of the template is used when present, with the supplier's variables.
        QFile layout(app + "/Qr/frCaigouInddDept.json");
        QVERIFY(layout.open(QIODevice::WriteOnly));
        layout.write("{\"format\": \"korvan-report\", \"version\": 1, \"name\": \"frCaigouInddDept\","
                     " \"kind\": \"document\", \"bands\": [{\"kind\": \"title\", \"height\": 1000, \"items\":"
                     " [{\"text\": \"供货通知 [frxDM.\\\"F_Code\\\"] [sLinkMan]\", \"w\": 15000, \"h\": 800}]}]}");
        layout.close();
        r = cli(base + QStringList{"CDD20240305001", "--pdf", pdf});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        text = pdfText(pdf);
        QVERIFY2(text.contains("供货通知 CDD20240305001 赵六"), qPrintable(text));
        QVERIFY(!text.contains("螺丝"));

        // Unknown codes and missing arguments fail clearly, writing nothing.
        QFile::remove(pdf);
        r = cli(base + QStringList{"CDD20991231001", "--pdf", pdf});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("单据不存在") && r.err.contains("CDD20991231001"), qPrintable(r.err));
        QVERIFY(!QFile::exists(pdf));
        r = cli(base + QStringList{"CDD20240305001"});
        QCOMPARE(r.exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestCliPrint)
#include "test_cli_print.moc"
