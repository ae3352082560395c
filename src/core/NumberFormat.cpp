#include "NumberFormat.h"

#include <charconv>
#include <cmath>
#include <algorithm>

namespace korvan {

QString shortestDecimal(double value)
{
    if (!std::isfinite(value)) return QStringLiteral("0");
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

NumberFormat::NumberFormat(const QString &pattern) : m_pattern(pattern)
{
    // A quoted literal may hold ';' — split outside quotes only.
    QString cur;
    QChar quote;
    for (QChar c : pattern) {
        if (!quote.isNull()) { cur += c; if (c == quote) quote = QChar(); continue; }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) { quote = c; cur += c; continue; }
        if (c == QLatin1Char(';')) { m_sections << parseSection(cur); cur.clear(); continue; }
        cur += c;
    }
    m_sections << parseSection(cur);
}

NumberFormat::Section NumberFormat::parseSection(const QString &text)
{
    Section s;
    int first = -1, last = -1;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') || c == QLatin1Char(',')) {
            if (first < 0) first = i;
            last = i;
        }
    }
    auto unquote = [](const QString &t) {
        QString out;
        for (QChar c : t) if (c != QLatin1Char('"') && c != QLatin1Char('\'')) out += c;
        return out;
    };
    if (first < 0) { s.prefix = unquote(text); return s; }
    s.prefix = unquote(text.left(first));
    s.suffix = unquote(text.mid(last + 1));
    const QString body = text.mid(first, last - first + 1);
    bool afterPoint = false;
    for (QChar c : body) {
        if (c == QLatin1Char('.')) { afterPoint = true; s.point = true; continue; }
        if (c == QLatin1Char(',')) { if (!afterPoint) s.grouping = true; continue; }
        if (afterPoint) {
            ++s.maxFrac;
            if (c == QLatin1Char('0')) s.minFrac = s.maxFrac;
        } else if (c == QLatin1Char('0')) {
            ++s.minInt;
        }
    }
    return s;
}

int NumberFormat::maxDecimals() const
{
    return m_sections.isEmpty() ? 0 : m_sections.first().maxFrac;
}

QString NumberFormat::format(double value) const
{
    if (m_pattern.isEmpty()) return shortestDecimal(value);
    return formatDecimal(shortestDecimal(value));
}

QString NumberFormat::format(Money value) const
{
    if (m_pattern.isEmpty()) return value.toShortString();
    return formatDecimal(value.toPlainString());
}

namespace {

// Rounds the decimal digits "int.frac" to `keep` fraction digits, half away from zero.
void roundDigits(QString &intDigits, QString &fracDigits, int keep)
{
    if (fracDigits.size() <= keep) return;
    const bool up = fracDigits[keep].unicode() >= '5';
    fracDigits.truncate(keep);
    if (!up) return;
    QString all = intDigits + fracDigits;
    int i = all.size() - 1;
    for (; i >= 0; --i) {
        if (all[i] == QLatin1Char('9')) { all[i] = QLatin1Char('0'); continue; }
        all[i] = QChar(all[i].unicode() + 1);
        break;
    }
    if (i < 0) all.prepend(QLatin1Char('1'));
    intDigits = all.left(all.size() - keep);
    fracDigits = all.right(keep);
}

} // namespace

QString NumberFormat::formatDecimal(const QString &plain) const
{
    QString t = plain.trimmed();
    bool neg = t.startsWith(QLatin1Char('-'));
    if (neg) t.remove(0, 1);
    QString intDigits = t.section(QLatin1Char('.'), 0, 0);
    QString fracDigits = t.section(QLatin1Char('.'), 1, 1);
    if (m_sections.isEmpty()) return plain;

    const Section &pos = m_sections[0];
    // Rounding uses the section that will print the value; sections share decimals in practice.
    roundDigits(intDigits, fracDigits, pos.maxFrac);
    while (intDigits.size() > 1 && intDigits.startsWith(QLatin1Char('0'))) intDigits.remove(0, 1);
    const auto nonZero = [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); };
    const bool zero = std::none_of(intDigits.cbegin(), intDigits.cend(), nonZero)
        && std::none_of(fracDigits.cbegin(), fracDigits.cend(), nonZero);
    if (zero) neg = false;

    if (zero && m_sections.size() >= 3)
        return render(m_sections[2], intDigits, fracDigits);
    if (neg && m_sections.size() >= 2)
        return render(m_sections[1], intDigits, fracDigits);
    const QString out = render(pos, intDigits, fracDigits);
    return neg ? QLatin1Char('-') + out : out;
}

QString NumberFormat::render(const Section &s, const QString &intIn, const QString &fracIn)
{
    QString intDigits = intIn, fracDigits = fracIn;
    if (fracDigits.size() > s.maxFrac) fracDigits.truncate(s.maxFrac);
    while (fracDigits.size() > s.minFrac && fracDigits.endsWith(QLatin1Char('0'))) fracDigits.chop(1);
    while (fracDigits.size() < s.minFrac) fracDigits += QLatin1Char('0');
    if (intDigits == QLatin1String("0")) intDigits.clear();
    while (intDigits.size() < s.minInt) intDigits.prepend(QLatin1Char('0'));
    if (s.grouping && intDigits.size() > 3) {
        QString g;
        const int n = intDigits.size();
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) g += QLatin1Char(',');
            g += intDigits[i];
        }
        intDigits = g;
    }
    QString body = intDigits;
    if (!fracDigits.isEmpty()) body += QLatin1Char('.') + fracDigits;
    return s.prefix + body + s.suffix;
}

QString NumberFormat::quantityPattern(int decimals)
{
    return QStringLiteral("0.") + QString(qMax(0, decimals), QLatin1Char('#'));
}

QString NumberFormat::pricePattern(int decimals)
{
    QString p = QStringLiteral(",0.");
    for (int i = 0; i < decimals; ++i) p += i < 2 ? QLatin1Char('0') : QLatin1Char('#');
    return p;
}

} // namespace korvan
