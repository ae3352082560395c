#include "Money.h"

#include <charconv>
#include <cstdlib>

namespace korvan {

static __int128 div128(__int128 num, __int128 den)
{
    const bool neg = (num < 0) != (den < 0);
    if (num < 0) num = -num;
    if (den < 0) den = -den;
    __int128 q = num / den;
    const __int128 r = num % den;
    const __int128 twice = r * 2;
    if (twice > den || (twice == den && (q & 1)))
        ++q;
    return neg ? -q : q;
}

int64_t divRoundHalfEven(__int128 num, __int128 den)
{
    return int64_t(div128(num, den));
}

namespace {

// Splits the shortest decimal form of a double into digits and a power of ten:
// value = mantissa × 10^-scale.
bool decimalOf(double value, __int128 &mantissa, int &scale)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (res.ec != std::errc())
        return false;
    std::string text(buf, res.ptr);
    bool neg = false;
    size_t i = 0;
    if (!text.empty() && text[0] == '-') { neg = true; i = 1; }
    __int128 m = 0;
    int s = 0;
    bool afterPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') { afterPoint = true; continue; }
        if (c < '0' || c > '9') return false;
        if (m > (__int128(1) << 100)) return false; // absurd magnitude
        m = m * 10 + (c - '0');
        if (afterPoint) ++s;
    }
    // Keep the arithmetic bounded: more than 18 decimals cannot matter here.
    while (s > 18) { m /= 10; --s; }
    mantissa = neg ? -m : m;
    scale = s;
    return true;
}

} // namespace

Money Money::times(double factor) const
{
    __int128 mant = 0;
    int scale = 0;
    if (!decimalOf(factor, mant, scale))
        return Money();
    __int128 den = 1;
    for (int i = 0; i < scale; ++i) den *= 10;
    return fromUnits(divRoundHalfEven(__int128(m_units) * mant, den));
}

Money Money::timesAll(std::initializer_list<double> factors) const
{
    // Exact rational product num / 10^scale, reduced only if it would overflow.
    __int128 num = m_units;
    int scale = 0;
    for (double f : factors) {
        __int128 mant = 0;
        int s = 0;
        if (!decimalOf(f, mant, s)) return Money();
        __int128 product;
        while (__builtin_mul_overflow(num, mant, &product)) {
            // Drop one decimal of the running product; only digits far below
            // the ten-thousandth are lost, so the final rounding is unchanged.
            if (scale == 0) return Money();
            num = div128(num, 10);
            --scale;
        }
        num = product;
        scale += s;
    }
    __int128 den = 1;
    for (int i = 0; i < scale; ++i) den *= 10;
    return fromUnits(divRoundHalfEven(num, den));
}

Money Money::rounded(int decimals) const
{
    if (decimals >= 4) return *this;
    if (decimals < 0) decimals = 0;
    int64_t step = 1;
    for (int i = decimals; i < 4; ++i) step *= 10;
    return fromUnits(divRoundHalfEven(m_units, step) * step);
}

std::optional<Money> Money::parse(const QString &input)
{
    QString t = input.trimmed();
    t.remove(QChar(0xFFE5)); // ￥
    t.remove(QChar(0x00A5)); // ¥
    t.remove(QLatin1Char(','));
    t = t.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool neg = false;
    if (t.startsWith(QLatin1Char('-'))) { neg = true; t.remove(0, 1); }
    else if (t.startsWith(QLatin1Char('+'))) t.remove(0, 1);
    if (t.isEmpty()) return std::nullopt;
    __int128 m = 0;
    int scale = 0;
    bool afterPoint = false, anyDigit = false;
    for (QChar c : t) {
        if (c == QLatin1Char('.')) {
            if (afterPoint) return std::nullopt;
            afterPoint = true;
            continue;
        }
        if (!c.isDigit() || c.unicode() > 127) return std::nullopt;
        anyDigit = true;
        if (m > (__int128(1) << 90)) return std::nullopt;
        m = m * 10 + (c.unicode() - '0');
        if (afterPoint) ++scale;
    }
    if (!anyDigit) return std::nullopt;
    __int128 units;
    if (scale <= 4) {
        units = m;
        for (int i = scale; i < 4; ++i) units *= 10;
    } else {
        __int128 den = 1;
        for (int i = 4; i < scale; ++i) den *= 10;
        units = divRoundHalfEven(m, den);
    }
    if (units > __int128(INT64_MAX)) return std::nullopt;
    return fromUnits(int64_t(neg ? -units : units));
}

QString Money::toPlainString() const
{
    const bool neg = m_units < 0;
    const uint64_t a = neg ? uint64_t(0) - uint64_t(m_units) : uint64_t(m_units);
    return QStringLiteral("%1%2.%3")
        .arg(neg ? QStringLiteral("-") : QString())
        .arg(a / kScale)
        .arg(a % kScale, 4, 10, QLatin1Char('0'));
}

QString Money::toShortString() const
{
    QString s = toPlainString();
    while (s.endsWith(QLatin1Char('0'))) s.chop(1);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s;
}

} // namespace korvan
