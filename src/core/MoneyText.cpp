#include "MoneyText.h"
#include "NumberFormat.h"

namespace korvan {

QString MoneyMinToBig(Money amount)
{
    static const QString digits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    static const QString units = QStringLiteral("元拾佰仟万拾佰仟亿十佰仟万拾佰仟亿");
    const bool negative = amount.units() < 0;
    const QString plain = NumberFormat(QStringLiteral("0.00")).format(negative ? -amount : amount);
    QString out;
    int position = -2;
    for (int i = plain.size() - 1; i >= 0; --i) {
        const QChar c = plain[i];
        if (c == QLatin1Char('.')) continue;
        const QChar unit = position == -2 ? QChar(0x5206) /*分*/
                         : position == -1 ? QChar(0x89D2) /*角*/
                         : units[qMin(position, int(units.size()) - 1)];
        out.prepend(QString(digits[c.unicode() - '0']) + unit);
        ++position;
    }
    if (plain.endsWith(QLatin1String(".00"))) {
        out.chop(4);
        out += QStringLiteral("整");
    }
    return negative ? QStringLiteral("负") + out : out;
}

QString MoneyMinToBig(double amount)
{
    return MoneyMinToBig(Money::parse(shortestDecimal(amount)).value_or(Money()));
}

} // namespace korvan
