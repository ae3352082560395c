#pragma once
#include <QString>
#include <QVariant>
#include <compare>
#include <cstdint>
#include <initializer_list>
#include <optional>

namespace korvan {

// Exact currency amount in ten-thousandths (four decimals), stored as int64.
// There is deliberately no implicit conversion from double: a factor such as a
// quantity or a discount enters only through times(), which works on the
// factor's shortest decimal form, so 3.3 × 1.10 is 3.63 exactly.
class Money {
public:
    static constexpr int64_t kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(int64_t units) { Money m; m.m_units = units; return m; }
    static constexpr Money fromYuan(int64_t yuan) { return fromUnits(yuan * kScale); }
    // Parses "12", "-3.5", "1,234.5678", "￥12.30". More than four decimals are
    // rounded half to even. Empty or malformed text gives nullopt.
    static std::optional<Money> parse(const QString &text);
    // Reads a database value holding units (INTEGER/BIGINT); null gives zero.
    static Money fromDb(const QVariant &v) { return fromUnits(v.isNull() ? 0 : v.toLongLong()); }

    constexpr int64_t units() const { return m_units; }
    QVariant toDb() const { return QVariant::fromValue<qlonglong>(m_units); }
    // Only for charts and display arithmetic that is not stored.
    double toDouble() const { return double(m_units) / kScale; }

    // Multiplies by a decimal factor, rounding the result to four decimals with
    // ties to even. The factor is taken as its shortest round-trip decimal text.
    Money times(double factor) const;
    // Multiplies by several decimal factors and rounds once at the end
    // (quantity × discount for a line amount).
    Money timesAll(std::initializer_list<double> factors) const;
    // Rounds to the given number of decimals (0..4), ties to even.
    Money rounded(int decimals) const;

    // Plain decimal text with exactly four decimals: "-12.3400".
    QString toPlainString() const;
    // Plain text without trailing zeros: "12.34", "5".
    QString toShortString() const;

    constexpr Money operator+(Money o) const { return fromUnits(m_units + o.m_units); }
    constexpr Money operator-(Money o) const { return fromUnits(m_units - o.m_units); }
    constexpr Money operator-() const { return fromUnits(-m_units); }
    Money &operator+=(Money o) { m_units += o.m_units; return *this; }
    Money &operator-=(Money o) { m_units -= o.m_units; return *this; }
    constexpr Money operator*(int64_t n) const { return fromUnits(m_units * n); }
    constexpr auto operator<=>(const Money &) const = default;
    constexpr bool isZero() const { return m_units == 0; }

private:
    int64_t m_units = 0;
};

// Divides a 128-bit numerator by a positive denominator, rounding half to even.
int64_t divRoundHalfEven(__int128 num, __int128 den);

} // namespace korvan

Q_DECLARE_METATYPE(korvan::Money)
