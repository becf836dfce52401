#include "report/engine/expressions/ExpressionEvaluator.h"

#include "platform/NumberText.h"
#include "report/engine/expressions/BuiltInFunctions.h"

#include <cmath>
#include <optional>
#include <utility>

namespace report {

namespace {

constexpr int kStackSize = 40;

// Operator tokens and their priorities (a larger number binds tighter).
enum Token : int {
    TokEqual = 230,
    TokLess,
    TokGreater,
    TokNotEqual,
    TokLessEqual,
    TokGreaterEqual,
    TokNot,
    TokAnd,
    TokOr,
    TokIn,
    TokMinus,
    TokPlus,
    TokProduct,
    TokQuotient,
    TokPower,
    TokParen = 246,
    TokNegate,
};

int priorityOf(int token) {
    switch (token) {
    case TokNot:
    case TokNegate:
        return 254;
    case TokPower:
        return 253;
    case TokProduct:
    case TokQuotient:
    case TokAnd:
        return 252;
    case TokPlus:
    case TokMinus:
    case TokOr:
        return 251;
    default:
        return 250; // comparisons and IN
    }
}

struct Op {
    int token = 0; // operator token, TokParen, or a built-in function 1..37
    int priority = 0;
    int pos = 0;
    int commas = 0;         // TokParen: commas seen
    int expectedCommas = 0; // TokParen: commas its function takes
    bool forFunction = false;
};

// Fixed-capacity stack; pushing onto a full one fails.
template <typename T> class Stack {
public:
    bool push(T v) {
        if (m_size == kStackSize) return false;
        m_items[static_cast<std::size_t>(m_size++)] = std::move(v);
        return true;
    }
    T pop() { return std::move(m_items[static_cast<std::size_t>(--m_size)]); }
    T& top() { return m_items[static_cast<std::size_t>(m_size - 1)]; }
    T& at(int i) { return m_items[static_cast<std::size_t>(i)]; }
    int size() const { return m_size; }
    bool empty() const { return m_size == 0; }

private:
    std::array<T, kStackSize> m_items;
    int m_size = 0;
};

bool isTrue(const TCalcType& v) {
    return v.number > 0;
}

TCalcType comparison(bool result, bool wantText) {
    return NumberResult(result ? 1 : 0, wantText);
}

// L IN R: L matches an entry of R's text (equal text, or an equal non-zero number).
bool isMember(const TCalcType& l, const TCalcType& r) {
    for (const TCalcType& entry : ValueListEntries(r.text))
        if (entry.text == l.text || (entry.number != 0 && entry.number == l.number)) return true;
    return false;
}

TCalcType applyBinary(int token, const TCalcType& l, const TCalcType& r, bool& domainError,
                      bool wantText) {
    const bool strings = l.kind == 2 && r.kind == 2;
    const auto number = [wantText](double v) { return NumberResult(v, wantText); };
    const auto comparison = [wantText](bool result) {
        return NumberResult(result ? 1 : 0, wantText);
    };
    switch (token) {
    case TokPlus: {
        TCalcType v;
        v.kind = strings ? 2 : 1;
        v.number = l.number + r.number;
        if (wantText) v.text = l.text + r.text;
        return v;
    }
    case TokMinus:
        return number(l.number - r.number);
    case TokProduct:
        return number(l.number * r.number);
    case TokQuotient:
        if (r.number == 0) {
            domainError = true;
            return number(0);
        }
        return number(l.number / r.number);
    case TokPower:
        if (l.number <= 0) {
            domainError = true;
            return number(0);
        }
        return number(std::exp(r.number * std::log(l.number)));
    case TokEqual:
        return comparison(strings ? l.text == r.text : l.number == r.number);
    case TokNotEqual:
        return comparison(strings ? l.text != r.text : l.number != r.number);
    case TokLess:
        return comparison(l.number < r.number);
    case TokGreater:
        return comparison(l.number > r.number);
    case TokLessEqual:
        return comparison(l.number <= r.number);
    case TokGreaterEqual:
        return comparison(l.number >= r.number);
    case TokAnd:
        return comparison(isTrue(l) && isTrue(r));
    case TokOr:
        return comparison(isTrue(l) || isTrue(r));
    case TokIn:
        return comparison(isMember(l, r));
    default:
        return number(0);
    }
}

using namespace builtin;
using Step = ParsedExpression::Step;

int argumentCount(const Step& step) {
    switch (step.kind) {
    case Step::Unary:
        return 1;
    case Step::Binary:
        return 2;
    case Step::Function:
        return BuiltInArgumentCount(step.code);
    default:
        return 0;
    }
}

// Whether the text of argument k of `step` can change its result or reach its text.
bool argumentTextMatters(const Step& step, int k) {
    if (step.kind == Step::Unary) return false;
    if (step.kind == Step::Binary)
        return step.code == TokPlus
                   ? step.wantText
                   : step.code == TokEqual || step.code == TokNotEqual || step.code == TokIn;
    switch (step.code) {
    case IIF:
        return k > 0 && step.wantText;
    case LEFT:
    case RIGHT:
    case SUBSTR:
        return k == 0;
    case FORMAT:
    case FORMATDT:
        return k == 1;
    case UPPER:
    case LOWER:
    case LTRIM:
    case RTRIM:
    case ALLTRIM:
    case ORD:
    case LENGTH:
    case POS:
        return true;
    default: // numeric functions and ISNULL
        return false;
    }
}

// Marks the steps whose text can reach the result (operands come before the steps that take
// them, so one pass from the end sees every reader first).
void markWantedTexts(ParsedExpression& e, bool resultText) {
    for (Step& step : e.steps)
        step.wantText = false;
    e.steps.back().wantText = resultText;
    for (auto it = e.steps.rbegin(); it != e.steps.rend(); ++it)
        for (int k = 0; k < argumentCount(*it); ++k)
            if (argumentTextMatters(*it, k))
                e.steps[static_cast<std::size_t>(it->operands[static_cast<std::size_t>(k)])]
                    .wantText = true;
}

class Parser {
public:
    Parser(const QString& text, ParsedExpression& out) : m_text(text), m_out(out) {}

    void parse();

private:
    bool fail(int code, qsizetype pos) {
        m_out.error = code;
        m_out.errPos = static_cast<int>(pos);
        return false;
    }
    bool pushOp(Op op, qsizetype pos) { return m_ops.push(op) || fail(kExprStackFull, pos); }
    // Appends a step taking the top `count` values and pushes its result.
    bool addStep(Step step, int count, qsizetype pos);
    bool addLiteral(TCalcType value, qsizetype pos) {
        Step step;
        step.literal = std::move(value);
        return addStep(std::move(step), 0, pos);
    }
    bool reduceTop();
    bool reduceWhile(int minPriority);
    bool closeFunction(const Op& paren, qsizetype pos);

    bool scanNumber(qsizetype& i);
    bool scanString(qsizetype& i);
    bool scanBracket(qsizetype& i);
    bool scanReference(qsizetype& i);
    bool scanWord(qsizetype& i);
    bool scanOpen(qsizetype i);
    bool scanComma(qsizetype i);
    bool scanClose(qsizetype i);
    bool scanOperator(qsizetype& i);
    bool step(qsizetype& i);

    const QString& m_text;
    ParsedExpression& m_out;
    Stack<Op> m_ops;
    Stack<int> m_values; // the step that makes each pending value
    int m_depth = 0;
    // Where an operand must come next: at the start, after '(' ',' or an operator.
    bool m_expectOperand = true;
    // Whether unary minus may come next: at the start, after '(' ',' or a unary operator.
    bool m_minusAllowed = true;
    // A function name was read; its '(' must follow.
    int m_pendingFunction = 0;
    bool m_sawToken = false;
};

bool Parser::addStep(Step step, int count, qsizetype pos) {
    for (int k = count - 1; k >= 0; --k)
        step.operands[static_cast<std::size_t>(k)] = m_values.pop();
    m_out.steps.push_back(std::move(step));
    return m_values.push(static_cast<int>(m_out.steps.size()) - 1) || fail(kExprStackFull, pos);
}

bool Parser::reduceTop() {
    const Op op = m_ops.pop();
    const bool unary = op.token == TokNot || op.token == TokNegate;
    if (m_values.size() < (unary ? 1 : 2)) return fail(kExprSyntax, op.pos);
    Step step;
    step.kind = unary ? Step::Unary : Step::Binary;
    step.code = op.token;
    step.pos = op.pos;
    return addStep(std::move(step), unary ? 1 : 2, op.pos);
}

bool Parser::reduceWhile(int minPriority) {
    while (!m_ops.empty() && m_ops.top().token != TokParen && m_ops.top().priority >= minPriority)
        if (!reduceTop()) return false;
    return true;
}

bool Parser::closeFunction(const Op& paren, qsizetype pos) {
    if (!paren.forFunction) return true;
    const Op function = m_ops.pop();
    const int count = BuiltInArgumentCount(function.token);
    if (m_values.size() < count) return fail(kExprSyntax, pos);
    Step step;
    step.kind = Step::Function;
    step.code = function.token;
    step.pos = function.pos;
    return addStep(std::move(step), count, function.pos);
}

bool Parser::scanNumber(qsizetype& i) {
    const qsizetype start = i;
    const auto digits = [&] {
        while (i < m_text.size() && IsDigitChar(m_text.at(i)))
            ++i;
    };
    digits();
    if (i < m_text.size() && m_text.at(i) == u'.') {
        ++i;
        digits();
    }
    if (i < m_text.size() && (m_text.at(i) == u'E' || m_text.at(i) == u'e')) {
        ++i;
        if (i < m_text.size() && (m_text.at(i) == u'+' || m_text.at(i) == u'-')) ++i;
        const qsizetype expStart = i;
        digits();
        if (i == expStart || i - expStart > 2) return fail(kExprBadNumber, start);
    }
    if (i < m_text.size() && IsWordChar(m_text.at(i))) return fail(kExprBadNumber, start);
    const QString literal = m_text.mid(start, i - start);
    const std::optional<double> v = platform::ParseNumber(literal);
    if (!v) return fail(kExprBadNumber, start); // overflow
    TCalcType value;
    value.kind = 1;
    value.number = *v;
    value.text = literal;
    return addLiteral(std::move(value), start);
}

bool Parser::scanString(qsizetype& i) {
    const qsizetype close = m_text.indexOf(u'\'', i + 1);
    if (close < 0) return fail(kExprOpenString, i);
    const qsizetype start = i;
    i = close + 1;
    return addLiteral(StringValue(m_text.mid(start + 1, close - start - 1)), start);
}

bool Parser::scanBracket(qsizetype& i) {
    const qsizetype close = m_text.indexOf(u']', i + 1);
    if (close < 0) return fail(kExprOpenBracket, i);
    TCalcType value;
    value.kind = 5;
    value.text = m_text.mid(i + 1, close - i - 1);
    const qsizetype start = i;
    i = close + 1;
    return addLiteral(std::move(value), start);
}

bool Parser::scanReference(qsizetype& i) {
    const Reference r = ResolveReference(m_text, i);
    if (r.error != kExprOk) return fail(r.error, i);
    const qsizetype start = i;
    i = r.end;
    Step step;
    step.kind = Step::Fetch;
    step.code = r.request;
    return addStep(std::move(step), 0, start);
}

bool Parser::scanWord(qsizetype& i) {
    const qsizetype start = i;
    while (i < m_text.size() && IsWordChar(m_text.at(i)))
        ++i;
    const QString word = m_text.mid(start, i - start).toUpper();
    if (const int n = BuiltInNumber(word)) {
        if (!m_expectOperand) return fail(kExprSyntax, start);
        m_pendingFunction = n;
        return pushOp({n, 255, static_cast<int>(start)}, start);
    }
    if (word == u"NOT") {
        if (!m_expectOperand) return fail(kExprSyntax, start);
        m_minusAllowed = true;
        return pushOp({TokNot, priorityOf(TokNot), static_cast<int>(start)}, start);
    }
    const int token = word == u"AND" ? TokAnd : word == u"OR" ? TokOr : word == u"IN" ? TokIn : 0;
    if (!token) return fail(kExprUnknownWord, start);
    if (m_expectOperand) return fail(kExprSyntax, start);
    if (!reduceWhile(priorityOf(token))) return false;
    m_expectOperand = true;
    m_minusAllowed = false;
    return pushOp({token, priorityOf(token), static_cast<int>(start)}, start);
}

bool Parser::scanOpen(qsizetype i) {
    if (!m_expectOperand) return fail(kExprSyntax, i);
    Op paren{TokParen, m_depth, static_cast<int>(i)};
    if (m_pendingFunction) {
        paren.forFunction = true;
        paren.expectedCommas = BuiltInArgumentCount(m_pendingFunction) - 1;
        m_pendingFunction = 0;
    }
    if (!pushOp(paren, i)) return false;
    ++m_depth;
    m_minusAllowed = true;
    return true;
}

bool Parser::scanComma(qsizetype i) {
    if (m_depth == 0) return fail(kExprTooManyArgs, i);
    if (m_expectOperand) {
        // "MAX(,": an empty argument; "ABS(," or "(,": a comma too many; "(1+,": syntax.
        if (m_ops.empty() || m_ops.top().token != TokParen) return fail(kExprSyntax, i);
        const Op& paren = m_ops.top();
        const bool tooMany = paren.commas >= paren.expectedCommas;
        return fail(tooMany ? kExprTooManyArgs : kExprTooFewArgs, i);
    }
    if (!reduceWhile(0)) return false;
    Op& paren = m_ops.top();
    if (++paren.commas > paren.expectedCommas) return fail(kExprTooManyArgs, i);
    m_expectOperand = true;
    m_minusAllowed = true;
    return true;
}

bool Parser::scanClose(qsizetype i) {
    if (m_depth == 0) return fail(kExprUnopenedParen, i);
    if (m_expectOperand) {
        // "()" or "(1,)": an empty argument of a function, anything else out of place.
        const bool emptyArgument =
            !m_ops.empty() && m_ops.top().token == TokParen && m_ops.top().forFunction;
        return fail(emptyArgument ? kExprTooFewArgs : kExprSyntax, i);
    }
    if (!reduceWhile(0)) return false;
    const Op paren = m_ops.pop();
    --m_depth;
    if (paren.commas < paren.expectedCommas) return fail(kExprTooFewArgs, i);
    m_minusAllowed = false;
    return closeFunction(paren, i);
}

bool Parser::scanOperator(qsizetype& i) {
    const QChar c = m_text.at(i);
    const QChar next = i + 1 < m_text.size() ? m_text.at(i + 1) : QChar();
    const qsizetype start = i;
    if (m_expectOperand) {
        if (c != u'-' || !m_minusAllowed) return fail(kExprSyntax, start);
        ++i;
        return pushOp({TokNegate, priorityOf(TokNegate), static_cast<int>(start)}, start);
    }
    int token = 0;
    int length = 1;
    switch (c.unicode()) {
    case u'+':
        token = TokPlus;
        break;
    case u'-':
        token = TokMinus;
        break;
    case u'*':
        token = TokProduct;
        break;
    case u'/':
        token = TokQuotient;
        break;
    case u'^':
        token = TokPower;
        break;
    case u'=':
        token = TokEqual;
        break;
    case u'<':
        token = next == u'>' ? TokNotEqual : next == u'=' ? TokLessEqual : TokLess;
        length = token == TokLess ? 1 : 2;
        break;
    case u'>':
        token = next == u'=' ? TokGreaterEqual : TokGreater;
        length = token == TokGreater ? 1 : 2;
        break;
    default:
        return fail(kExprSyntax, start);
    }
    i += length;
    if (!reduceWhile(priorityOf(token))) return false;
    m_expectOperand = true;
    m_minusAllowed = false;
    return pushOp({token, priorityOf(token), static_cast<int>(start)}, start);
}

bool Parser::step(qsizetype& i) {
    const QChar c = m_text.at(i);
    if (c == u' ') {
        ++i;
        return true;
    }
    m_sawToken = true;
    // A function name must be followed by its argument list.
    if (m_pendingFunction && c != u'(') return fail(kExprSyntax, i);
    const bool operand =
        IsDigitChar(c) || IsQuoteChar(c) || IsBracketChar(c) || IsReferencePrefix(c);
    if (operand) {
        if (!m_expectOperand) return fail(kExprSyntax, i);
        bool ok = IsDigitChar(c)     ? scanNumber(i)
                  : IsQuoteChar(c)   ? scanString(i)
                  : IsBracketChar(c) ? scanBracket(i)
                                     : scanReference(i);
        m_expectOperand = false;
        m_minusAllowed = false;
        return ok;
    }
    if (c.isLetter()) return scanWord(i);
    if (c == u'(') return scanOpen(i++);
    if (c == u',') return scanComma(i++);
    if (c == u')') {
        const bool ok = scanClose(i++);
        m_expectOperand = false;
        return ok;
    }
    if (IsOperatorChar(c)) return scanOperator(i);
    return fail(kExprSyntax, i);
}

void Parser::parse() {
    if (m_text.size() > kMaxExpressionLength) {
        fail(kExprSyntax, kMaxExpressionLength);
        return;
    }
    bool ok = true;
    for (qsizetype i = 0; ok && i < m_text.size();)
        ok = step(i);
    const qsizetype end = m_text.size();
    if (!ok || !m_sawToken) return;
    if (m_depth > 0)
        fail(kExprUnclosedParen, end);
    else if (m_expectOperand)
        fail(kExprSyntax, end);
    else
        reduceWhile(0);
}

// A result that is not finite is an error 6 and the number 0.
bool checkFinite(TCalcType& result, bool wantText) {
    if (std::isfinite(result.number)) return true;
    const bool null = result.null;
    result = NumberResult(0, wantText);
    result.null = null;
    return false;
}

} // namespace

ParsedExpression ReadExpression(const QString& text, bool resultText) {
    ParsedExpression e;
    Parser(text, e).parse();
    if (e.error == kExprOk && !e.steps.empty()) markWantedTexts(e, resultText);
    return e;
}

// `value` gets the bottom value (the cleared value when there is none), also after an error;
// an error 6 lets the computation go on with the number 0.
int EvaluateParsed(const ParsedExpression& e, TCalcType& value, int& errPos) {
    Stack<TCalcType> values;
    int domainPos = -1;
    std::array<TCalcType, 3> args;
    for (const Step& step : e.steps) {
        TCalcType result;
        bool domain = false;
        switch (step.kind) {
        case Step::Literal:
            result = step.literal;
            break;
        case Step::Fetch:
            result = FetchValue(step.code, step.wantText);
            break;
        case Step::Unary: {
            const TCalcType r = values.pop();
            result = step.code == TokNot ? comparison(!isTrue(r), step.wantText)
                                         : NumberResult(-r.number, step.wantText);
            result.null = r.null;
            domain = !checkFinite(result, step.wantText);
            break;
        }
        case Step::Binary: {
            const TCalcType r = values.pop();
            const TCalcType l = values.pop();
            result = applyBinary(step.code, l, r, domain, step.wantText);
            result.null = l.null || r.null;
            domain = !checkFinite(result, step.wantText) || domain;
            break;
        }
        case Step::Function: {
            const int count = argumentCount(step);
            for (int k = count - 1; k >= 0; --k)
                args[static_cast<std::size_t>(k)] = values.pop();
            result = ApplyBuiltIn(step.code, args.data(), domain, step.wantText);
            result.null = false;
            if (step.code != ISNULL)
                for (int k = 0; k < count; ++k)
                    result.null = result.null || args[static_cast<std::size_t>(k)].null;
            domain = !checkFinite(result, step.wantText) || domain;
            break;
        }
        }
        if (domain && domainPos < 0) domainPos = step.pos;
        values.push(std::move(result));
    }
    if (values.empty())
        ClearCalcValue(value);
    else
        value = values.at(0);
    if (e.error != kExprOk) {
        errPos = e.errPos;
        return e.error;
    }
    errPos = domainPos >= 0 ? domainPos : 0;
    return domainPos >= 0 ? kExprDomain : kExprOk;
}

int EvaluateExpression(const QString& text, TCalcType& value, int& errPos) {
    return EvaluateParsed(ReadExpression(text, true), value, errPos);
}

} // namespace report
