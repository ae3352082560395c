#include "ReportExpression.h"
#include "MoneyText.h"
#include "NumberFormat.h"

#include <QDate>
#include <QDateTime>

namespace korvan {

// ---- values

namespace {

bool isMoney(const QVariant &v) { return v.typeId() == qMetaTypeId<Money>(); }

bool isInteger(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool isNumber(const QVariant &v)
{
    return isInteger(v) || v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

bool isNumeric(const QVariant &v) { return isMoney(v) || isNumber(v); }

Money asMoney(const QVariant &v)
{
    if (isMoney(v)) return v.value<Money>();
    if (isInteger(v)) return Money::fromYuan(v.toLongLong());
    if (v.typeId() == QMetaType::QString) return Money::parse(v.toString()).value_or(Money());
    return Money::parse(shortestDecimal(v.toDouble())).value_or(Money());
}

double asDouble(const QVariant &v) { return isMoney(v) ? v.value<Money>().toDouble() : v.toDouble(); }

// A number that arrived as text ("12.5"), for formats applied to text values.
std::optional<QVariant> numberFromText(const QString &s)
{
    bool ok = false;
    const double d = s.trimmed().toDouble(&ok);
    if (!ok) return std::nullopt;
    if (auto m = Money::parse(s.trimmed())) return QVariant::fromValue(*m);
    return QVariant(d);
}

bool isDatePattern(const QString &f)
{
    return f.contains(QLatin1String("yy")) || f.contains(QLatin1String("MM")) || f.contains(QLatin1String("dd"));
}

bool truthy(const QVariant &v)
{
    if (v.isNull() || !v.isValid()) return false;
    if (v.typeId() == QMetaType::Bool) return v.toBool();
    if (isMoney(v)) return !v.value<Money>().isZero();
    if (isNumber(v)) return v.toDouble() != 0;
    const QString s = v.toString();
    return !s.isEmpty() && s.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
}

QVariant add(const QVariant &a, const QVariant &b)
{
    const bool aNum = isNumeric(a) || a.isNull(), bNum = isNumeric(b) || b.isNull();
    if (!aNum || !bNum) return reportDisplayText(a) + reportDisplayText(b);
    if (a.isNull() || b.isNull()) return {};
    if (isMoney(a) || isMoney(b)) return QVariant::fromValue(asMoney(a) + asMoney(b));
    if (isInteger(a) && isInteger(b)) return QVariant(a.toLongLong() + b.toLongLong());
    return a.toDouble() + b.toDouble();
}

QVariant negate(const QVariant &a)
{
    if (isMoney(a)) return QVariant::fromValue(-a.value<Money>());
    if (isInteger(a)) return QVariant(-a.toLongLong());
    if (isNumber(a)) return -a.toDouble();
    if (a.typeId() == QMetaType::QString) {
        if (auto n = numberFromText(a.toString())) return negate(*n);
    }
    return {};
}

QVariant multiply(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull()) return {};
    if (isMoney(a) && !isMoney(b)) return QVariant::fromValue(a.value<Money>().times(asDouble(b)));
    if (isMoney(b) && !isMoney(a)) return QVariant::fromValue(b.value<Money>().times(asDouble(a)));
    if (isInteger(a) && isInteger(b)) return QVariant(a.toLongLong() * b.toLongLong());
    return asDouble(a) * asDouble(b);
}

QVariant divide(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull()) return {};
    const double d = asDouble(b);
    if (d == 0) return {};
    if (isMoney(a) && !isMoney(b)) {
        if (isInteger(b)) return QVariant::fromValue(Money::fromUnits(divRoundHalfEven(a.value<Money>().units(), b.toLongLong())));
        return QVariant::fromValue(a.value<Money>().times(1.0 / d));
    }
    return asDouble(a) / d;
}

int compare(const QVariant &a, const QVariant &b)
{
    if (isNumeric(a) && isNumeric(b)) {
        if (isMoney(a) || isMoney(b)) {
            const Money x = asMoney(a), y = asMoney(b);
            return x < y ? -1 : x > y ? 1 : 0;
        }
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    if (a.typeId() == QMetaType::QDate && b.typeId() == QMetaType::QDate) {
        const QDate x = a.toDate(), y = b.toDate();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    return QString::compare(reportDisplayText(a), reportDisplayText(b));
}

} // namespace

namespace {
const NumberFormat &numberFormat(const QString &pattern)
{
    static thread_local QHash<QString, NumberFormat> cache;
    auto it = cache.constFind(pattern);
    if (it == cache.cend()) it = cache.insert(pattern, NumberFormat(pattern));
    return *it;
}
} // namespace

QString reportDisplayText(const QVariant &v, const QString &format)
{
    if (!v.isValid() || v.isNull()) return {};
    const bool numeric = !format.isEmpty() && !isDatePattern(format)
        && (format.contains(QLatin1Char('0')) || format.contains(QLatin1Char('#')));
    if (isMoney(v))
        return numberFormat(numeric ? format : QStringLiteral("0.00##")).format(v.value<Money>());
    if (isInteger(v))
        return numeric ? numberFormat(format).format(qint64(v.toLongLong())) : QString::number(v.toLongLong());
    if (isNumber(v))
        return numeric ? numberFormat(format).format(v.toDouble()) : shortestDecimal(v.toDouble());
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    case QMetaType::QDate:
        return v.toDate().toString(isDatePattern(format) ? format : QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return v.toDateTime().toString(isDatePattern(format) ? format : QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("hh:mm:ss"));
    default:
        break;
    }
    const QString s = v.toString();
    if (numeric) {
        if (auto n = numberFromText(s)) return reportDisplayText(*n, format);
    } else if (isDatePattern(format)) {
        const QDate d = QDate::fromString(s.left(10), Qt::ISODate);
        if (d.isValid()) return d.toString(format);
    }
    return s;
}

// ---- syntax tree

struct ExprNode {
    enum Kind { Literal, Field, Variable, Unary, Binary, Call, Aggregate };
    Kind kind = Literal;
    QVariant value;                 // Literal
    QString a, b;                   // Field: data set, field; Variable: name; Unary/Binary: operator; Call: name
    QList<std::shared_ptr<const ExprNode>> args;
    std::shared_ptr<AggregateCall> aggregate;

    QVariant eval(const ReportEvalContext &ctx) const;
    void collect(QList<const AggregateCall *> &out) const
    {
        if (aggregate) out << aggregate.get();
        for (const auto &n : args) n->collect(out);
    }
};

QVariant ExprNode::eval(const ReportEvalContext &ctx) const
{
    switch (kind) {
    case Literal: return value;
    case Field: return ctx.field(a, b);
    case Variable: return ctx.variable(a);
    case Aggregate: return ctx.aggregate(*aggregate);
    case Unary: {
        const QVariant v = args[0]->eval(ctx);
        if (a == QLatin1String("not")) return !truthy(v);
        return negate(v);
    }
    case Binary: {
        if (a == QLatin1String("and")) return truthy(args[0]->eval(ctx)) && truthy(args[1]->eval(ctx));
        if (a == QLatin1String("or")) return truthy(args[0]->eval(ctx)) || truthy(args[1]->eval(ctx));
        const QVariant l = args[0]->eval(ctx), r = args[1]->eval(ctx);
        if (a == QLatin1String("+")) return add(l, r);
        if (a == QLatin1String("-")) return add(l, negate(r));
        if (a == QLatin1String("*")) return multiply(l, r);
        if (a == QLatin1String("/")) return divide(l, r);
        const int c = compare(l, r);
        if (a == QLatin1String("=")) return c == 0;
        if (a == QLatin1String("<>")) return c != 0;
        if (a == QLatin1String("<")) return c < 0;
        if (a == QLatin1String(">")) return c > 0;
        if (a == QLatin1String("<=")) return c <= 0;
        if (a == QLatin1String(">=")) return c >= 0;
        return {};
    }
    case Call: {
        if (a == QLatin1String("IIF")) return truthy(args[0]->eval(ctx)) ? args[1]->eval(ctx) : args[2]->eval(ctx);
        if (a == QLatin1String("FORMAT")) return reportDisplayText(args[0]->eval(ctx), args[1]->eval(ctx).toString());
        if (a == QLatin1String("MONEYMINTOBIG")) {
            const QVariant v = args[0]->eval(ctx);
            if (v.isNull() || !v.isValid()) return {};
            if (v.typeId() == QMetaType::QString) {
                const auto m = Money::parse(v.toString());
                return m ? MoneyMinToBig(*m) : QString();
            }
            return MoneyMinToBig(asMoney(v));
        }
        return {};
    }
    }
    return {};
}

// ---- parser

namespace {

struct Token {
    enum Type { End, Number, String, Ident, QuotedIdent, Op, Error };
    Type type = End;
    QString text;
};

class Lexer {
public:
    explicit Lexer(const QString &s) : m_s(s) {}
    Token next()
    {
        while (m_i < m_s.size() && m_s[m_i].isSpace()) ++m_i;
        if (m_i >= m_s.size()) return {Token::End, {}};
        const QChar c = m_s[m_i];
        if (c.isDigit() || (c == QLatin1Char('.') && m_i + 1 < m_s.size() && m_s[m_i + 1].isDigit())) {
            const int start = m_i;
            while (m_i < m_s.size() && (m_s[m_i].isDigit() || m_s[m_i] == QLatin1Char('.'))) ++m_i;
            return {Token::Number, m_s.mid(start, m_i - start)};
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString out;
            ++m_i;
            while (m_i < m_s.size()) {
                if (m_s[m_i] == c) {
                    if (m_i + 1 < m_s.size() && m_s[m_i + 1] == c) { out += c; m_i += 2; continue; }
                    ++m_i;
                    return {c == QLatin1Char('"') ? Token::QuotedIdent : Token::String, out};
                }
                out += m_s[m_i++];
            }
            return {Token::Error, QStringLiteral("引号未闭合")};
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            const int start = m_i;
            while (m_i < m_s.size() && (m_s[m_i].isLetterOrNumber() || m_s[m_i] == QLatin1Char('_') || m_s[m_i] == QLatin1Char('#')))
                ++m_i;
            return {Token::Ident, m_s.mid(start, m_i - start)};
        }
        static const QStringList twoChar = {QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">=")};
        const QString two = m_s.mid(m_i, 2);
        if (twoChar.contains(two)) { m_i += 2; return {Token::Op, two}; }
        if (QStringLiteral("+-*/=<>(),.").contains(c)) { ++m_i; return {Token::Op, QString(c)}; }
        return {Token::Error, QStringLiteral("无法识别的字符“%1”").arg(c)};
    }
private:
    QString m_s;
    int m_i = 0;
};

class Parser {
public:
    explicit Parser(const QString &s) : m_lex(s) { advance(); }
    std::shared_ptr<ExprNode> parseAll()
    {
        auto n = orExpr();
        if (n && m_tok.type != Token::End) fail(QStringLiteral("表达式后有多余内容“%1”").arg(m_tok.text));
        return m_error.isEmpty() ? n : nullptr;
    }
    QString error() const { return m_error; }

private:
    using Node = std::shared_ptr<ExprNode>;

    void advance() { m_tok = m_lex.next(); if (m_tok.type == Token::Error) fail(m_tok.text); }
    bool isOp(const char *op) const { return m_tok.type == Token::Op && m_tok.text == QLatin1String(op); }
    bool isWord(const char *w) const { return m_tok.type == Token::Ident && m_tok.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0; }
    Node fail(const QString &msg) { if (m_error.isEmpty()) m_error = msg; return nullptr; }
    static Node binary(const QString &op, Node l, Node r)
    {
        auto n = std::make_shared<ExprNode>();
        n->kind = ExprNode::Binary;
        n->a = op;
        n->args = {l, r};
        return n;
    }

    // One left-associative level: operands from `next`, joined by `ops` (symbols or words).
    Node chain(Node (Parser::*next)(), std::initializer_list<const char *> ops)
    {
        Node l = (this->*next)();
        for (;;) {
            QString op;
            for (const char *o : ops)
                if (isOp(o) || isWord(o)) op = QString::fromLatin1(o);
            if (!l || op.isEmpty()) return l;
            advance();
            Node r = (this->*next)();
            if (!r) return nullptr;
            l = binary(op, l, r);
        }
    }
    Node orExpr() { return chain(&Parser::andExpr, {"or"}); }
    Node andExpr() { return chain(&Parser::comparison, {"and"}); }
    Node comparison()
    {
        Node l = additive();
        static const QStringList ops = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("<"),
                                        QStringLiteral(">"), QStringLiteral("<="), QStringLiteral(">=")};
        if (l && m_tok.type == Token::Op && ops.contains(m_tok.text)) {
            const QString op = m_tok.text;
            advance();
            Node r = additive();
            if (!r) return nullptr;
            l = binary(op, l, r);
        }
        return l;
    }
    Node additive() { return chain(&Parser::term, {"+", "-"}); }
    Node term() { return chain(&Parser::unary, {"*", "/"}); }
    Node unary()
    {
        if (isOp("-") || isWord("not")) {
            const QString op = m_tok.type == Token::Op ? QStringLiteral("-") : QStringLiteral("not");
            advance();
            Node c = unary();
            if (!c) return nullptr;
            auto n = std::make_shared<ExprNode>();
            n->kind = ExprNode::Unary;
            n->a = op;
            n->args = {c};
            return n;
        }
        if (isOp("+")) advance();
        return primary();
    }
    Node primary()
    {
        auto n = std::make_shared<ExprNode>();
        switch (m_tok.type) {
        case Token::Number: {
            bool ok = false;
            if (!m_tok.text.contains(QLatin1Char('.'))) {
                const qlonglong v = m_tok.text.toLongLong(&ok);
                if (ok) n->value = v;
            }
            if (!ok) {
                const double d = m_tok.text.toDouble(&ok);
                if (!ok) return fail(QStringLiteral("数字“%1”无效").arg(m_tok.text));
                n->value = d;
            }
            advance();
            return n;
        }
        case Token::String:
        case Token::QuotedIdent:
            n->value = m_tok.text;
            advance();
            return n;
        case Token::Op:
            if (isOp("(")) {
                advance();
                Node inner = orExpr();
                if (!inner) return nullptr;
                if (!isOp(")")) return fail(QStringLiteral("缺少“)”"));
                advance();
                return inner;
            }
            return fail(QStringLiteral("此处不应有“%1”").arg(m_tok.text));
        case Token::Ident: {
            const QString name = m_tok.text;
            advance();
            if (isOp(".")) {
                advance();
                if (m_tok.type != Token::Ident && m_tok.type != Token::QuotedIdent)
                    return fail(QStringLiteral("“%1.”后缺少字段名").arg(name));
                n->kind = ExprNode::Field;
                n->a = name;
                n->b = m_tok.text;
                advance();
                return n;
            }
            if (isOp("(")) return call(name);
            n->kind = ExprNode::Variable;
            n->a = name;
            return n;
        }
        case Token::End:
            return fail(QStringLiteral("表达式不完整"));
        default:
            return nullptr;
        }
    }
    Node call(const QString &name)
    {
        advance(); // (
        QList<std::shared_ptr<const ExprNode>> args;
        if (!isOp(")")) {
            for (;;) {
                Node a = orExpr();
                if (!a) return nullptr;
                args << a;
                if (isOp(",")) { advance(); continue; }
                break;
            }
        }
        if (!isOp(")")) return fail(QStringLiteral("函数 %1 缺少“)”").arg(name));
        advance();
        const QString upper = name.toUpper();
        auto n = std::make_shared<ExprNode>();
        static const QStringList aggregates = {QStringLiteral("SUM"), QStringLiteral("COUNT"), QStringLiteral("AVG"),
                                               QStringLiteral("MIN"), QStringLiteral("MAX")};
        const int aggIndex = int(aggregates.indexOf(upper));
        if (aggIndex >= 0) {
            auto agg = std::make_shared<AggregateCall>();
            agg->fn = AggregateCall::Fn(aggIndex);
            // A trailing 'page' / 'group' / 'report' names the scope.
            if (!args.isEmpty() && args.last()->kind == ExprNode::Literal && args.last()->value.typeId() == QMetaType::QString) {
                const QString s = args.last()->value.toString().toLower();
                if (s == QLatin1String("page")) agg->scope = AggregateScope::Page;
                else if (s == QLatin1String("group")) agg->scope = AggregateScope::Group;
                else if (s == QLatin1String("report")) agg->scope = AggregateScope::Report;
                else return fail(QStringLiteral("%1 的范围只能是 'page'、'group' 或 'report'").arg(upper));
                args.removeLast();
            }
            if (args.size() > 1 || (args.isEmpty() && agg->fn != AggregateCall::Count))
                return fail(QStringLiteral("%1 需要一个参数").arg(upper));
            if (!args.isEmpty()) agg->arg = args.first();
            n->kind = ExprNode::Aggregate;
            n->aggregate = agg;
            return n;
        }
        struct Sig { const char *name; int count; };
        static const Sig sigs[] = {{"IIF", 3}, {"FORMAT", 2}, {"MONEYMINTOBIG", 1}};
        for (const Sig &s : sigs) {
            if (upper == QLatin1String(s.name)) {
                if (args.size() != s.count) return fail(QStringLiteral("函数 %1 需要 %2 个参数").arg(name).arg(s.count));
                n->kind = ExprNode::Call;
                n->a = upper;
                n->args = args;
                return n;
            }
        }
        return fail(QStringLiteral("未知的函数 %1").arg(name));
    }

    Lexer m_lex;
    Token m_tok;
    QString m_error;
};

} // namespace

ReportExpression ReportExpression::parse(const QString &source)
{
    ReportExpression e;
    e.m_source = source;
    Parser p(source);
    e.m_root = p.parseAll();
    e.m_error = p.error();
    return e;
}

QVariant ReportExpression::evaluate(const ReportEvalContext &ctx) const
{
    return m_root ? m_root->eval(ctx) : QVariant();
}

QList<const AggregateCall *> ReportExpression::aggregates() const
{
    QList<const AggregateCall *> out;
    if (m_root) m_root->collect(out);
    return out;
}

QVariant ReportExpression::evaluateArgument(const AggregateCall &call, const ReportEvalContext &ctx)
{
    return call.arg ? call.arg->eval(ctx) : QVariant(1);
}

// ---- text with expressions

ReportText ReportText::compile(const QString &text)
{
    ReportText t;
    QString literal;
    int i = 0;
    while (i < text.size()) {
        if (text[i] != QLatin1Char('[')) { literal += text[i++]; continue; }
        if (i + 1 < text.size() && text[i + 1] == QLatin1Char('[')) { literal += QLatin1Char('['); i += 2; continue; }
        // Find the closing bracket outside quotes.
        int j = i + 1;
        QChar quote;
        int depth = 0;
        for (; j < text.size(); ++j) {
            const QChar c = text[j];
            if (!quote.isNull()) { if (c == quote) quote = QChar(); continue; }
            if (c == QLatin1Char('\'') || c == QLatin1Char('"')) quote = c;
            else if (c == QLatin1Char('[')) ++depth;
            else if (c == QLatin1Char(']')) { if (depth == 0) break; --depth; }
        }
        if (j >= text.size()) { literal += text.mid(i); break; }
        if (!literal.isEmpty()) { t.m_parts << Part{literal, {}, false}; literal.clear(); }
        Part p;
        p.isExpr = true;
        p.literal = text.mid(i, j - i + 1);
        p.expr = ReportExpression::parse(text.mid(i + 1, j - i - 1));
        t.m_parts << p;
        t.m_hasExpressions = true;
        i = j + 1;
    }
    if (!literal.isEmpty()) t.m_parts << Part{literal, {}, false};
    return t;
}

QString ReportText::render(const ReportEvalContext &ctx, const QString &format) const
{
    QString out;
    for (const Part &p : m_parts) {
        if (!p.isExpr) out += p.literal;
        else if (!p.expr.isValid()) out += p.literal;
        else out += reportDisplayText(p.expr.evaluate(ctx), format);
    }
    return out;
}

QList<const AggregateCall *> ReportText::aggregates() const
{
    QList<const AggregateCall *> out;
    for (const Part &p : m_parts)
        if (p.isExpr) out += p.expr.aggregates();
    return out;
}

QStringList ReportText::errors() const
{
    QStringList out;
    for (const Part &p : m_parts)
        if (p.isExpr && !p.expr.isValid()) out << p.literal + QStringLiteral("：") + p.expr.error();
    return out;
}

// ---- aggregates

void AggregateValue::add(const QVariant &v)
{
    if (!v.isValid() || v.isNull()) return;
    ++m_count;
    QVariant n = v;
    if (v.typeId() == QMetaType::QString) {
        if (auto parsed = numberFromText(v.toString())) n = *parsed;
    }
    if (isMoney(n)) { m_money += n.value<Money>(); m_anyMoney = true; }
    else if (isNumber(n)) { m_number += n.toDouble(); m_anyNumber = true; }
    if (!m_min.isValid() || compare(n, m_min) < 0) m_min = n;
    if (!m_max.isValid() || compare(n, m_max) > 0) m_max = n;
}

QVariant AggregateValue::result(AggregateCall::Fn fn) const
{
    switch (fn) {
    case AggregateCall::Count:
        return QVariant(m_count + m_rows);
    case AggregateCall::Min:
        return m_min;
    case AggregateCall::Max:
        return m_max;
    case AggregateCall::Sum:
    case AggregateCall::Avg: {
        if (!m_anyMoney && !m_anyNumber) return {};
        QVariant sum;
        if (m_anyMoney) {
            Money total = m_money;
            if (m_anyNumber) total += Money::parse(shortestDecimal(m_number)).value_or(Money());
            sum = QVariant::fromValue(total);
        } else {
            sum = m_number;
        }
        if (fn == AggregateCall::Sum) return sum;
        if (m_anyMoney) return QVariant::fromValue(Money::fromUnits(divRoundHalfEven(sum.value<Money>().units(), m_count)));
        return m_number / double(m_count);
    }
    }
    return {};
}

QList<ReportFunctionInfo> reportFunctions()
{
    return {
        {QStringLiteral("MoneyMinToBig"), QStringLiteral("myTest"), QStringLiteral("金额小写转大写"),
         QStringLiteral("function MoneyMinToBig(rMoney: real): string;")},
        {QStringLiteral("SUM"), QStringLiteral("汇总"), QStringLiteral("合计（本页 'page'、本组 'group'、全部 'report'）"),
         QStringLiteral("SUM(值 [, 'page'|'group'|'report'])")},
        {QStringLiteral("COUNT"), QStringLiteral("汇总"), QStringLiteral("行数"), QStringLiteral("COUNT([值] [, 范围])")},
        {QStringLiteral("AVG"), QStringLiteral("汇总"), QStringLiteral("平均值"), QStringLiteral("AVG(值 [, 范围])")},
        {QStringLiteral("MIN"), QStringLiteral("汇总"), QStringLiteral("最小值"), QStringLiteral("MIN(值 [, 范围])")},
        {QStringLiteral("MAX"), QStringLiteral("汇总"), QStringLiteral("最大值"), QStringLiteral("MAX(值 [, 范围])")},
        {QStringLiteral("IIF"), QStringLiteral("其他"), QStringLiteral("条件取值"), QStringLiteral("IIF(条件, 真值, 假值)")},
        {QStringLiteral("FORMAT"), QStringLiteral("其他"), QStringLiteral("按格式显示"), QStringLiteral("FORMAT(值, '格式')")},
    };
}

} // namespace korvan
