#pragma once
#include "Money.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

namespace korvan {

// The small expression language of report texts. A text item holds literal
// text with expressions in brackets: "单号：[frxDM."F_Code"]".
//
//   field      frxDM."F_Code"  or  frxDD.F_Amount   (data set . field)
//   variable   PageMaxRow, bsPhone, Page, TotalPages, Line, Date, Time
//   literal    12, 3.5, 'text' (a quote doubled inside)
//   operators  + - * /  = <> < > <= >=  and or not  ( )
//   functions  SUM(x [, 'page'|'group'|'report']), COUNT([x] [, scope]),
//              AVG, MIN, MAX (as SUM), IIF(c, a, b), FORMAT(x, 'pattern'),
//              MoneyMinToBig(x)
//
// Money stays exact: sums of money are Money, money × number goes through
// Money::times. A missing value (an unanswered variable, a hidden price, a
// blank filler row) is null and prints as nothing; arithmetic with null is null.

struct ExprNode;

enum class AggregateScope { Default, Page, Group, Report };

struct AggregateCall {
    enum Fn { Sum, Count, Avg, Min, Max };
    Fn fn = Sum;
    AggregateScope scope = AggregateScope::Default;
    std::shared_ptr<const ExprNode> arg; // null for COUNT()
};

class ReportEvalContext {
public:
    virtual ~ReportEvalContext() = default;
    virtual QVariant field(const QString &dataSet, const QString &field) const = 0;
    virtual QVariant variable(const QString &name) const = 0;
    virtual QVariant aggregate(const AggregateCall &call) const = 0;
};

class ReportExpression {
public:
    ReportExpression() = default;
    static ReportExpression parse(const QString &source);

    bool isValid() const { return m_root != nullptr; }
    QString error() const { return m_error; }
    QString source() const { return m_source; }
    QVariant evaluate(const ReportEvalContext &ctx) const;
    QList<const AggregateCall *> aggregates() const;

    // The value of an aggregate's argument in the current row's context.
    static QVariant evaluateArgument(const AggregateCall &call, const ReportEvalContext &ctx);

private:
    std::shared_ptr<const ExprNode> m_root;
    QString m_error, m_source;
};

// A text with [expression] parts; "[[" is a literal "[". An expression that
// does not parse prints as written.
class ReportText {
public:
    static ReportText compile(const QString &text);
    QString render(const ReportEvalContext &ctx, const QString &format) const;
    bool hasExpressions() const { return m_hasExpressions; }
    QList<const AggregateCall *> aggregates() const;
    QStringList errors() const;

private:
    struct Part { QString literal; ReportExpression expr; bool isExpr = false; };
    QList<Part> m_parts;
    bool m_hasExpressions = false;
};

// A value as printed: Money and numbers through a NumberFormat pattern
// (",0.00"), dates through a date pattern ("yyyy年MM月dd日", default yyyy-MM-dd).
QString reportDisplayText(const QVariant &value, const QString &format = {});
// Plain text for a text item, printed as it stands.
inline QString escapeReportText(QString s) { return s.replace(QLatin1Char('['), QLatin1String("[[")); }

// Running totals of one aggregate over the rows counted so far.
class AggregateValue {
public:
    void add(const QVariant &v);
    void countRow() { ++m_rows; }
    QVariant result(AggregateCall::Fn fn) const;
private:
    Money m_money;
    double m_number = 0;
    bool m_anyMoney = false, m_anyNumber = false;
    qint64 m_count = 0, m_rows = 0;
    QVariant m_min, m_max;
};

// Functions offered in the designer's palette.
struct ReportFunctionInfo {
    QString name, category, description, declaration;
};
QList<ReportFunctionInfo> reportFunctions();

} // namespace korvan
