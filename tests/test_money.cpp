// Exact money, display formats and the document code serial.
#include "AppSettings.h"
#include "DataModule.h"
#include "Money.h"
#include "MoneyText.h"
#include "NumberFormat.h"

#include <QTest>

using namespace korvan;

class TestMoney : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qlonglong>("units");
        QTest::addColumn<bool>("valid");
        QTest::newRow("integer") << "12" << 120000LL << true;
        QTest::newRow("negative") << "-3.5" << -35000LL << true;
        QTest::newRow("grouped with yuan sign") << "￥1,234.5678" << 12345678LL << true;
        QTest::newRow("fifth decimal half to even down") << "0.00005" << 0LL << true;
        QTest::newRow("fifth decimal half to even up") << "0.00015" << 2LL << true;
        QTest::newRow("empty") << "" << 0LL << false;
        QTest::newRow("letters") << "12a" << 0LL << false;
        QTest::newRow("two points") << "1.2.3" << 0LL << false;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(qlonglong, units);
        QFETCH(bool, valid);
        const auto m = Money::parse(text);
        QCOMPARE(m.has_value(), valid);
        if (valid) QCOMPARE(m->units(), units);
    }

    void times_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("expected");
        // Decimal factors are exact: binary doubles would give 3.6299999…
        QTest::newRow("3.3 x 1.1") << "1.1" << 3.3 << "3.6300";
        QTest::newRow("quantity x price") << "12.35" << 7.0 << "86.4500";
        QTest::newRow("discount rounding half even down") << "0.0005" << 0.5 << "0.0002";
        QTest::newRow("discount rounding half even up") << "0.0015" << 0.5 << "0.0008";
        QTest::newRow("negative factor") << "10" << -0.25 << "-2.5000";
        QTest::newRow("large amount") << "99999999.99" << 1000.0 << "99999999990.0000";
    }
    void times()
    {
        QFETCH(QString, price);
        QFETCH(double, factor);
        QFETCH(QString, expected);
        QCOMPARE(Money::parse(price)->times(factor).toPlainString(), expected);
    }

    void format_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("qty drops zeros") << "0.##" << "12.5" << "12.5";
        QTest::newRow("qty integer") << "0.##" << "3" << "3";
        QTest::newRow("qty zero") << "0.##" << "0" << "0";
        QTest::newRow("qty no decimals") << "0." << "2.5" << "3";
        QTest::newRow("price four places") << ",0.00##" << "1234.5" << "1,234.50";
        QTest::newRow("price four places full") << ",0.00##" << "1234.5678" << "1,234.5678";
        QTest::newRow("price half away from zero") << ",0.00" << "2.675" << "2.68";
        QTest::newRow("price negative") << ",0.00" << "-1234567.891" << "-1,234,567.89";
        QTest::newRow("no decimals grouped") << ",0." << "1234567.5" << "1,234,568";
        QTest::newRow("yuan positive") << "￥,0.00;-￥,0.00" << "1234.5" << "￥1,234.50";
        QTest::newRow("yuan negative section") << "￥,0.00;-￥,0.00" << "-1234.5" << "-￥1,234.50";
        QTest::newRow("sum section negative") << ",0.##;-,0.##" << "-0.5" << "-0.5";
        QTest::newRow("rounds to zero drops sign") << ",0.00" << "-0.001" << "0.00";
        QTest::newRow("carry through nines") << ",0.00" << "999.999" << "1,000.00";
        QTest::newRow("one place") << ",0.0" << "0.25" << "0.3";
    }
    void format()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        const NumberFormat f(pattern);
        QCOMPARE(f.format(*Money::parse(value)), expected);
        QCOMPARE(f.format(value.toDouble()), expected);
    }

    void buildFormats_data()
    {
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("qty");
        QTest::addColumn<QString>("price");
        QTest::newRow("0") << 0 << "0." << ",0.";
        QTest::newRow("1") << 1 << "0.#" << ",0.0";
        QTest::newRow("2") << 2 << "0.##" << ",0.00";
        QTest::newRow("4") << 4 << "0.####" << ",0.00##";
    }
    void buildFormats()
    {
        QFETCH(int, places);
        QFETCH(QString, qty);
        QFETCH(QString, price);
        SystemSwitches sw;
        sw.qtyDecimals = sw.priceDecimals = sw.amountDecimals = places;
        const NumberFormats f = BuildNumberFormats(sw);
        QCOMPARE(f.qty, qty);
        QCOMPARE(f.price, price);
        QCOMPARE(f.amount, price);
    }

    void capitals_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("expected");
        QTest::newRow("123.45") << "123.45" << "壹佰贰拾叁元肆角伍分";
        QTest::newRow("100.00") << "100" << "壹佰零拾零元整";
        QTest::newRow("0.50") << "0.5" << "零元伍角零分";
        QTest::newRow("zero") << "0" << "零元整";
        QTest::newRow("0.05") << "0.05" << "零元零角伍分";
        QTest::newRow("2001.5") << "2001.5" << "贰仟零佰零拾壹元伍角零分";
        QTest::newRow("rounded to cents") << "0.125" << "零元壹角叁分";
        QTest::newRow("one thousand million") << "1000000000" << "壹十零亿零仟零佰零拾零万零仟零佰零拾零元整";
        QTest::newRow("negative") << "-12.3" << "负壹拾贰元叁角零分";
        QTest::newRow("thirteen digits") << "1000000000000" << "壹万零仟零佰零十零亿零仟零佰零拾零万零仟零佰零拾零元整";
    }
    void capitals()
    {
        QFETCH(QString, amount);
        QFETCH(QString, expected);
        QCOMPARE(MoneyMinToBig(*Money::parse(amount)), expected);
        QCOMPARE(MoneyMinToBig(amount.toDouble()), expected);
    }

    void nextCode_data()
    {
        QTest::addColumn<QString>("greatest");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first of the day") << "" << "CGD20240305001";
        QTest::newRow("009 to 010") << "CGD20240305009" << "CGD20240305010";
        QTest::newRow("099 to 100") << "CGD20240305099" << "CGD20240305100";
        // Wrapping to 000 would reuse a code; the serial widens instead.
        QTest::newRow("999 widens") << "CGD20240305999" << "CGD202403051000";
        QTest::newRow("after widened") << "CGD202403051000" << "CGD202403051001";
    }
    void nextCode()
    {
        QFETCH(QString, greatest);
        QFETCH(QString, expected);
        QCOMPARE(nextCodeAfter(QStringLiteral("CGD20240305"), greatest), expected);
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "test_money.moc"
