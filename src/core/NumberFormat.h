#pragma once
#include "Money.h"
#include <QString>
#include <QStringList>

namespace korvan {

// A display format in the notation the windows and stored layouts use:
// "0.##", ",0.00##", ",0.", "￥,0.00;-￥,0.00", ",0.##;-,0.##".
//   0  a digit that is always shown      #  a digit shown when significant
//   .  the decimal point (dropped when no digit follows it)
//   ,  anywhere before the point: group thousands
//   ;  separates the sections for positive;negative;zero values
// Any other character is printed as it stands. With one section a negative
// value gets a leading "-"; with a negative section the section supplies the
// sign itself. Rounding to the shown decimals is half away from zero on the
// value's decimal form (so 2.675 shows as 2.68 with two decimals).
class NumberFormat {
public:
    NumberFormat() = default;
    explicit NumberFormat(const QString &pattern);

    QString pattern() const { return m_pattern; }
    bool isEmpty() const { return m_pattern.isEmpty(); }
    int maxDecimals() const;

    QString format(double value) const;
    QString format(Money value) const;
    QString format(qint64 value) const { return formatDecimal(QString::number(value)); }

    // Formats a plain decimal text ("-1234.5"); the common path of all overloads.
    QString formatDecimal(const QString &plain) const;

    // The format string of a number of decimals under the settings rule:
    // quantity style "0." + n × "#", price/amount style ",0." + "00" + "#"….
    static QString quantityPattern(int decimals);
    static QString pricePattern(int decimals);

private:
    struct Section {
        QString prefix, suffix;
        int minInt = 0, minFrac = 0, maxFrac = 0;
        bool grouping = false, point = false;
    };
    static Section parseSection(const QString &text);
    static QString render(const Section &s, const QString &intDigits, const QString &fracDigits);

    QString m_pattern;
    QList<Section> m_sections;
};

// Shortest decimal text of a double that reads back as the same double ("0.1").
QString shortestDecimal(double value);

} // namespace korvan
