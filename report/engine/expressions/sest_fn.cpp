#include "report/engine/expressions/sest_fn.h"

#include "platform/NumberText.h"
#include "platform/Windows1250.h"
#include "report/engine/sestzpr.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <utility>

namespace report {

// ---- Values and the callback -------------------------------------------------------------------

void ClearCalcValue(TCalcType& value) {
    value.kind = 0;
    value.number = 0;
    value.text.clear();
    value.null = false;
}

namespace {

TValueCallback& callbackSlot() {
    static TValueCallback callback;
    return callback;
}

// Name lookup through the callback: -1 without one.
int lookUpName(int request, const QString& name) {
    const TValueCallback& callback = callbackSlot();
    if (!callback) return -1;
    TCalcType value;
    value.text = name;
    return callback(request, value);
}

bool& textWantedSlot() {
    static bool wanted = true;
    return wanted;
}

// Fetches through the callback, telling it whether the text will be read.
TCalcType fetch(int request, bool wantText) {
    TCalcType value;
    const TValueCallback& callback = callbackSlot();
    if (!callback) return value;
    struct Restore {
        bool before;
        ~Restore() { textWantedSlot() = before; }
    } restore{std::exchange(textWantedSlot(), wantText)};
    callback(request, value);
    return value;
}

} // namespace

void InstallValueCallback(TValueCallback callback) {
    callbackSlot() = std::move(callback);
}
const TValueCallback& ValueCallback() {
    return callbackSlot();
}
bool ValueTextWanted() {
    return textWantedSlot();
}

ScopedValueCallback::ScopedValueCallback(TValueCallback callback) : m_previous(callbackSlot()) {
    callbackSlot() = std::move(callback);
}

ScopedValueCallback::~ScopedValueCallback() {
    callbackSlot() = std::move(m_previous);
}

// ---- Character classes -------------------------------------------------------------------------

bool IsDigitChar(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool IsQuoteChar(QChar c) {
    return c == u'\'';
}
bool IsBracketChar(QChar c) {
    return c == u'[';
}
bool IsReferencePrefix(QChar c) {
    return c == u'#' || c == u'%' || c == u'&' || c == u'@';
}
// Item names may carry Czech letters, so every Unicode letter counts.
bool IsNameStartChar(QChar c) {
    return c.isLetter() || c == u'_';
}
bool IsNameChar(QChar c) {
    return c.isLetter() || IsDigitChar(c) || c == u'_' || c == u'$';
}
bool IsWordChar(QChar c) {
    return c.isLetter() || IsReferencePrefix(c);
}
bool IsOperatorChar(QChar c) {
    return c == u')' || c == u'*' || c == u'+' || c == u'-' || c == u'/' || c == u'<' ||
           c == u'=' || c == u'>' || c == u'^';
}

// ---- Loose numbers and lists -------------------------------------------------------------------

double StrToFloatLoose(const QString& text) {
    const QChar point = platform::CurrentLocaleSettings().decimalSeparator;
    // The first of the other separator stands for the locale's.
    const QChar other = point == u',' ? u'.' : point == u'.' ? u',' : QChar();
    qsizetype start = 0;
    while (start < text.size() && text.at(start).unicode() <= ' ')
        ++start;
    // Read as the strict conversion reads it, without a text of its own: a report reads every
    // item's number this way, record after record.
    const qsizetype length = text.size() - start;
    if (length == 0) return 0;
    std::string number(std::size_t(length), ' ');
    bool otherSeen = false;
    for (qsizetype i = start; i < text.size(); ++i) {
        QChar c = text.at(i);
        if (!otherSeen && !other.isNull() && c == other) {
            otherSeen = true;
            c = point;
        }
        char& out = number[std::size_t(i - start)];
        if (IsDigitChar(c))
            out = char(c.unicode());
        else if (c == point && i > start)
            out = '.';
        else if ((c == u'E' || c == u'e') && i > start)
            out = char(c.unicode());
        else if (c == u'-' && i == start)
            out = '-';
        else
            return 0;
    }
    double value = 0;
    const char* end = number.data() + number.size();
    const auto res = std::from_chars(number.data(), end, value);
    return res.ec == std::errc() && res.ptr == end && std::isfinite(value) ? value : 0.0;
}

namespace {

// A reference that starts with its prefix at text[i]: its fetch request, or error 1 when it
// names nothing; `end` is the index after it either way.
struct Reference {
    qsizetype end = 0;
    int error = kExprOk;
    int request = 0; // the fetch request of a valid reference
};

int baseOf(QChar prefix) {
    switch (prefix.unicode()) {
    case u'#':
        return kItemBase;
    case u'&':
        return kParameterBase;
    case u'@':
        return kFunctionBase;
    default:
        return kSystemVariableBase;
    }
}

// Finds the reference at i; a name is looked up through the callback, nothing is fetched.
Reference resolveReference(const QString& text, qsizetype i) {
    Reference r;
    const QChar prefix = text.at(i);
    qsizetype j = i + 1;
    r.end = j;
    if (j >= text.size() || !IsNameChar(text.at(j))) {
        r.error = kExprUnknownWord;
        return r;
    }
    int n = 0;
    if (IsDigitChar(text.at(j))) {
        // One to three digits; a fourth is not part of the reference.
        for (int k = 0; k < 3 && j < text.size() && IsDigitChar(text.at(j)); ++k, ++j)
            n = n * 10 + text.at(j).digitValue();
    } else if (IsNameStartChar(text.at(j)) && (prefix == u'#' || prefix == u'@')) {
        const qsizetype start = j;
        while (j < text.size() && IsNameChar(text.at(j)))
            ++j;
        n = lookUpName(prefix == u'#' ? kRequestItemIndex : kRequestFunctionIndex,
                       text.mid(start, j - start)) +
            1;
    } else {
        while (j < text.size() && IsNameChar(text.at(j)))
            ++j;
        n = 0;
    }
    r.end = j;
    // Number 0 would address the last entry of the range before: refused like an unknown name.
    if (n < 1) {
        r.error = kExprUnknownWord;
        return r;
    }
    r.request = baseOf(prefix) + n - 1;
    return r;
}

// The entries of a comma-separated list as values: quoted text, fetched references, plain
// text; numbers by StrToFloatLoose.
std::vector<TCalcType> listEntries(const QString& text) {
    std::vector<TCalcType> entries;
    qsizetype i = 0;
    while (true) {
        const qsizetype entryStart = i;
        while (i < text.size() && text.at(i) == u' ')
            ++i;
        TCalcType entry;
        entry.kind = 2;
        qsizetype next = text.indexOf(u',', i);
        if (i < text.size() && IsQuoteChar(text.at(i))) {
            const qsizetype close = text.indexOf(u'\'', i + 1);
            entry.text = text.mid(i + 1, (close < 0 ? text.size() : close) - i - 1);
            entry.number = StrToFloatLoose(entry.text);
            next = close < 0 ? -1 : text.indexOf(u',', close + 1);
        } else if (i < text.size() && IsReferencePrefix(text.at(i))) {
            const qsizetype end = next < 0 ? text.size() : next;
            const Reference r = resolveReference(text.left(end), i);
            if (r.error == kExprOk) entry = fetch(r.request, true);
        } else {
            entry.text = text.mid(entryStart, (next < 0 ? text.size() : next) - entryStart);
            entry.number = StrToFloatLoose(entry.text);
        }
        entries.push_back(entry);
        if (next < 0) break;
        i = next + 1;
    }
    return entries;
}

} // namespace

void ParseValueList(const QString& text, QStringList& list) {
    list.clear();
    for (const TCalcType& entry : listEntries(text))
        list.append(entry.text);
}

// ---- Built-in functions ------------------------------------------------------------------------

namespace {

struct BuiltIn {
    const char* name;
    int arguments;
};

constexpr std::array<BuiltIn, kFunctionCount> kBuiltIns = {{
    {"ABS", 1},      {"INT", 1},     {"SGN", 1},    {"MAX", 2},    {"MIN", 2},    {"IIF", 3},
    {"LEFT", 2},     {"RIGHT", 2},   {"SUBSTR", 3}, {"UPPER", 1},  {"LOWER", 1},  {"LTRIM", 1},
    {"RTRIM", 1},    {"ALLTRIM", 1}, {"FORMAT", 2}, {"SIN", 1},    {"COS", 1},    {"TAN", 1},
    {"COTG", 1},     {"EXP", 1},     {"LOG", 1},    {"ASIN", 1},   {"ACOS", 1},   {"ATAN", 1},
    {"ACOTG", 1},    {"CHR", 1},     {"ORD", 1},    {"LENGTH", 1}, {"POS", 2},    {"ISNULL", 1},
    {"YEAR", 1},     {"MONTH", 1},   {"DAY", 1},    {"HOUR", 1},   {"MINUTE", 1}, {"SECUNDE", 1},
    {"FORMATDT", 2},
}};

enum Fn {
    ABS = 1,
    INT,
    SGN,
    MAX,
    MIN,
    IIF,
    LEFT,
    RIGHT,
    SUBSTR,
    UPPER,
    LOWER,
    LTRIM,
    RTRIM,
    ALLTRIM,
    FORMAT,
    SIN,
    COS,
    TAN,
    COTG,
    EXP,
    LOG,
    ASIN,
    ACOS,
    ATAN,
    ACOTG,
    CHR,
    ORD,
    LENGTH,
    POS,
    ISNULL,
    YEAR,
    MONTH,
    DAY,
    HOUR,
    MINUTE,
    SECUNDE,
    FORMATDT
};

int builtInNumber(const QString& upperWord) {
    for (int n = 0; n < kFunctionCount; ++n)
        if (upperWord == QLatin1String(kBuiltIns[static_cast<std::size_t>(n)].name)) return n + 1;
    return 0;
}

TCalcType number(double v) {
    TCalcType r;
    r.kind = 1;
    r.number = v;
    r.text = platform::FloatToStr(v);
    return r;
}

// A number result without a text (LENGTH, POS, ISNULL).
TCalcType bareNumber(double v) {
    TCalcType r;
    r.kind = 1;
    r.number = v;
    return r;
}

// A computed number, its text made only when something reads it.
TCalcType numberResult(double v, bool wantText) {
    return wantText ? number(v) : bareNumber(v);
}

TCalcType string(const QString& text) {
    TCalcType r;
    r.kind = 2;
    r.text = text;
    r.number = StrToFloatLoose(text);
    return r;
}

// A count or position from a double, truncated toward zero and clamped to lo..hi.
qsizetype clampedCount(double v, qsizetype lo, qsizetype hi) {
    if (std::isnan(v) || v <= static_cast<double>(lo)) return lo;
    if (v >= static_cast<double>(hi)) return hi;
    return static_cast<qsizetype>(std::trunc(v));
}

// Copy(s, index, count) with index from 1: index below 1 counts as 1.
QString copy(const QString& s, double index, double count) {
    const qsizetype from = clampedCount(index, 1, s.size() + 1);
    const qsizetype n = clampedCount(count, 0, s.size());
    return s.mid(from - 1, n);
}

bool isControlOrBlank(QChar c) {
    return c.unicode() <= ' ';
}

QString trimmed(const QString& s, bool left, bool right) {
    qsizetype b = 0;
    qsizetype e = s.size();
    if (left)
        while (b < e && isControlOrBlank(s.at(b)))
            ++b;
    if (right)
        while (e > b && isControlOrBlank(s.at(e - 1)))
            --e;
    return s.mid(b, e - b);
}

// Applies built-in function n to its arguments; sets `domainError` on a result outside the
// function's domain (the result is then the number 0).
TCalcType applyFunction(int n, const TCalcType* a, bool& domainError, bool wantText) {
    const double x = a[0].number;
    const auto number = [wantText](double v) { return numberResult(v, wantText); };
    const auto fail = [&domainError, &number] {
        domainError = true;
        return number(0);
    };
    const auto dateField = [&](auto field) {
        const auto parts = platform::DecodeDateTime(x);
        return parts ? number(field(*parts)) : fail();
    };
    switch (n) {
    case ABS:
        return number(std::fabs(x));
    case INT:
        return number(std::trunc(x));
    case SGN:
        return number(x > 0 ? 1 : x < 0 ? -1 : 0);
    case MAX:
        return number(a[1].number > x ? a[1].number : x);
    case MIN:
        return number(a[1].number < x ? a[1].number : x);
    case IIF: {
        const TCalcType& chosen = x > 0 ? a[1] : a[2];
        TCalcType r;
        r.kind = a[1].kind == 2 && a[2].kind == 2 ? 2 : 1;
        r.number = chosen.number;
        r.text = chosen.text;
        return r;
    }
    case LEFT:
        return string(a[0].text.left(clampedCount(a[1].number, 0, a[0].text.size())));
    case RIGHT: {
        const double count = a[1].number;
        return string(copy(a[0].text, static_cast<double>(a[0].text.size()) - count + 1, count));
    }
    case SUBSTR:
        return string(copy(a[0].text, a[1].number, a[2].number));
    case UPPER:
        return string(a[0].text.toUpper());
    case LOWER:
        return string(a[0].text.toLower());
    case LTRIM:
        return string(trimmed(a[0].text, true, false));
    case RTRIM:
        return string(trimmed(a[0].text, false, true));
    case ALLTRIM:
        return string(trimmed(a[0].text, true, true));
    case FORMAT: {
        TCalcType r = string(platform::FormatFloat(a[1].text, x));
        r.number = x;
        return r;
    }
    case SIN:
        return number(std::sin(x));
    case COS:
        return number(std::cos(x));
    case TAN:
        return std::cos(x) == 0 ? fail() : number(std::sin(x) / std::cos(x));
    case COTG:
        return std::sin(x) == 0 ? fail() : number(std::cos(x) / std::sin(x));
    case EXP:
        return number(std::exp(x));
    case LOG:
        return x <= 0 ? fail() : number(std::log(x));
    case ASIN:
        return x < -1 || x > 1 ? fail() : number(std::asin(x));
    case ACOS:
        return x < -1 || x > 1 ? fail() : number(std::acos(x));
    case ATAN:
        return number(std::atan(x));
    case ACOTG:
        return number(std::numbers::pi / 2 - std::atan(x));
    case CHR: {
        const double code = std::nearbyint(x);
        TCalcType r = string(code > 0 && code < 256
                                 ? QString(platform::Windows1250Char(static_cast<uchar>(code)))
                                 : QString());
        r.number = code;
        return r;
    }
    case ORD: {
        if (a[0].text.isEmpty()) return number(0);
        const int code = platform::Windows1250Code(a[0].text.at(0));
        return number(code < 0 ? '?' : code);
    }
    case LENGTH:
        return bareNumber(static_cast<double>(a[0].text.size()));
    case POS: {
        // The position of A's first character, not of the whole of A.
        const qsizetype p = a[0].text.isEmpty() ? -1 : a[1].text.indexOf(a[0].text.at(0));
        return bareNumber(static_cast<double>(p + 1));
    }
    case ISNULL:
        return bareNumber(a[0].null ? 1 : 0);
    case YEAR:
        return dateField([](const auto& p) { return p.year; });
    case MONTH:
        return dateField([](const auto& p) { return p.month; });
    case DAY:
        return dateField([](const auto& p) { return p.day; });
    case HOUR:
        return dateField([](const auto& p) { return p.hour; });
    case MINUTE:
        return dateField([](const auto& p) { return p.minute; });
    case SECUNDE:
        return dateField([](const auto& p) { return p.second; });
    case FORMATDT: {
        if (!platform::DecodeDateTime(x)) return fail();
        TCalcType r = string(platform::FormatDateTime(a[1].text, x));
        r.number = x;
        return r;
    }
    default:
        return fail();
    }
}

} // namespace

QString FunctionTemplate(int n) {
    if (n < 1 || n > kFunctionCount) return {};
    const BuiltIn& f = kBuiltIns[static_cast<std::size_t>(n - 1)];
    return QLatin1String(f.name) + u'(' + QString(f.arguments - 1, u',') + u')';
}

// ---- The evaluator -----------------------------------------------------------------------------

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
    return numberResult(result ? 1 : 0, wantText);
}

// L IN R: L matches an entry of R's text (equal text, or an equal non-zero number).
bool isMember(const TCalcType& l, const TCalcType& r) {
    for (const TCalcType& entry : listEntries(r.text))
        if (entry.text == l.text || (entry.number != 0 && entry.number == l.number)) return true;
    return false;
}

TCalcType applyBinary(int token, const TCalcType& l, const TCalcType& r, bool& domainError,
                      bool wantText) {
    const bool strings = l.kind == 2 && r.kind == 2;
    const auto number = [wantText](double v) { return numberResult(v, wantText); };
    const auto comparison = [wantText](bool result) {
        return numberResult(result ? 1 : 0, wantText);
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

} // namespace

// An expression read into the order its values are computed in: operands pushed, operators and
// functions applied to the values on top. Names are looked up when it is read.
struct ParsedExpression {
    struct Step {
        enum Kind : std::uint8_t { Literal, Fetch, Unary, Binary, Function };
        Kind kind = Literal;
        // Whether this step's text can reach the result; without it a number is not formatted
        // and a reference asks for its number only.
        bool wantText = true;
        int code = 0; // Fetch: the request; Unary, Binary: the token; Function: its number
        int pos = 0;  // where an error 6 of this step is reported
        std::array<int, 3> operands{}; // the steps whose values this one takes
        TCalcType literal;
    };
    std::vector<Step> steps; // up to the error, when there is one
    int error = kExprOk;
    int errPos = 0;
};

namespace {

using Step = ParsedExpression::Step;

int argumentCount(const Step& step) {
    switch (step.kind) {
    case Step::Unary:
        return 1;
    case Step::Binary:
        return 2;
    case Step::Function:
        return kBuiltIns[static_cast<std::size_t>(step.code - 1)].arguments;
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
    const int count = kBuiltIns[static_cast<std::size_t>(function.token - 1)].arguments;
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
    return addLiteral(string(m_text.mid(start + 1, close - start - 1)), start);
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
    const Reference r = resolveReference(m_text, i);
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
    if (const int n = builtInNumber(word)) {
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
        paren.expectedCommas =
            kBuiltIns[static_cast<std::size_t>(m_pendingFunction - 1)].arguments - 1;
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

ParsedExpression parseExpression(const QString& text, bool resultText) {
    ParsedExpression e;
    Parser(text, e).parse();
    if (e.error == kExprOk && !e.steps.empty()) markWantedTexts(e, resultText);
    return e;
}

// A result that is not finite is an error 6 and the number 0.
bool checkFinite(TCalcType& result, bool wantText) {
    if (std::isfinite(result.number)) return true;
    const bool null = result.null;
    result = numberResult(0, wantText);
    result.null = null;
    return false;
}

// Computes the steps. `value` gets the bottom value (the cleared value when there is none),
// also after an error; an error 6 lets the computation go on with the number 0.
int evaluateParsed(const ParsedExpression& e, TCalcType& value, int& errPos) {
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
            result = fetch(step.code, step.wantText);
            break;
        case Step::Unary: {
            const TCalcType r = values.pop();
            result = step.code == TokNot ? comparison(!isTrue(r), step.wantText)
                                         : numberResult(-r.number, step.wantText);
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
            result = applyFunction(step.code, args.data(), domain, step.wantText);
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

} // namespace

int EvaluateExpression(const QString& text, TCalcType& value, int& errPos) {
    return evaluateParsed(parseExpression(text, true), value, errPos);
}

// ---- User functions ----------------------------------------------------------------------------

TRadekFunkce::TRadekFunkce(int n)
    : m_name(LoadText(ReportText::KindFunction) + QString::number(n)), m_title(m_name) {}

void TRadekFunkce::SetDefinition(const QString& name, const QString& title,
                                 const QString& expression, int resultKind,
                                 const QString& initialValue, int resetGroup, int aggregate,
                                 int precision, int digits, int floatFormat) {
    m_name = name;
    m_title = title;
    m_expression = expression;
    m_resultKind = resultKind;
    m_initialValue = initialValue;
    m_resetGroup = resetGroup;
    m_aggregate = aggregate >= AggregateValue && aggregate <= AggregateVariation ? aggregate
                                                                                 : AggregateValue;
    m_precision = std::clamp(precision, 1, 18);
    m_digits = std::clamp(digits, 0, 18);
    m_floatFormat = floatFormat >= 0 && floatFormat <= 4 ? floatFormat : 2;
    m_value.kind = resultKind == 0 ? 1 : resultKind == 1 ? 2 : 0;
    m_parsed.reset();
}

void TRadekFunkce::GetDefinition(QString& name, QString& title, QString& expression,
                                 int& resultKind, QString& initialValue, int& resetGroup,
                                 int& aggregate, int& precision, int& digits,
                                 int& floatFormat) const {
    name = m_name;
    title = m_title;
    expression = m_expression;
    resultKind = m_resultKind;
    initialValue = m_initialValue;
    resetGroup = m_resetGroup;
    aggregate = m_aggregate;
    precision = m_precision;
    digits = m_digits;
    floatFormat = m_floatFormat;
}

void TRadekFunkce::RequestReset(int level) {
    if (level < 0 || level == m_resetGroup) m_resetPending = true;
}

void TRadekFunkce::reset() {
    if (const auto v = platform::StrToFloat(m_initialValue)) {
        m_value.number = *v;
        m_value.text = m_initialValue;
        m_value.null = false;
    } else {
        ClearCalcValue(m_value);
    }
    m_count = 0;
    m_sum = 0;
    m_sumOfSquares = 0;
    m_resetPending = false;
}

void TRadekFunkce::updateDeviation() {
    if (m_count <= 1) {
        ClearCalcValue(m_value);
        return;
    }
    // Rounding can make the difference slightly negative for equal values.
    const double variance = std::max(0.0, (m_sumOfSquares - m_sum * m_sum / m_count) /
                                              static_cast<double>(m_count - 1));
    const double s = std::sqrt(variance);
    if (m_aggregate == AggregateDeviation) {
        m_value.number = s;
    } else if (m_sum == 0) {
        ClearCalcValue(m_value);
    } else {
        m_value.number = s * m_count / m_sum;
    }
    if (!std::isfinite(m_value.number)) ClearCalcValue(m_value);
}

void TRadekFunkce::ParseExpression() {
    // Only the aggregates that keep the value itself read its text.
    const bool text = m_aggregate == AggregateValue || m_aggregate == AggregateMinimum ||
                      m_aggregate == AggregateMaximum;
    m_parsed = std::make_shared<const ParsedExpression>(parseExpression(m_expression, text));
}

void TRadekFunkce::ForgetParsedExpression() {
    m_parsed.reset();
}

void TRadekFunkce::Calculate() {
    if (m_resetPending) reset();
    TCalcType x;
    int errPos = 0;
    const int error = m_parsed ? evaluateParsed(*m_parsed, x, errPos)
                               : EvaluateExpression(m_expression, x, errPos);
    if (error != kExprOk) ClearCalcValue(x);
    const bool skipped = m_skipNulls && x.null;
    switch (m_aggregate) {
    case AggregateValue:
        ++m_count;
        m_value = x;
        break;
    case AggregateCount:
        if (!skipped) ++m_count;
        m_value.number = m_count;
        break;
    case AggregateSum:
        if (!skipped) {
            ++m_count;
            m_sum += x.number;
        }
        m_value.number = m_sum;
        break;
    case AggregateAverage:
        if (!skipped) {
            ++m_count;
            m_sum += x.number;
        }
        // With no value taken since the reset the initial number stays.
        if (m_count > 0) m_value.number = m_sum / m_count;
        break;
    case AggregateMinimum:
    case AggregateMaximum:
        if (!skipped) {
            ++m_count;
            const bool better = m_aggregate == AggregateMinimum ? m_value.number > x.number
                                                                : m_value.number < x.number;
            if (m_count == 1 || better) m_value = x;
        }
        break;
    case AggregateDeviation:
    case AggregateVariation:
        if (!skipped) {
            ++m_count;
            m_sum += x.number;
            m_sumOfSquares += x.number * x.number;
        }
        updateDeviation();
        break;
    }
    if (!std::isfinite(m_sum) || !std::isfinite(m_sumOfSquares) ||
        !std::isfinite(m_value.number)) {
        // Sums beyond the range of double: no value rather than an infinite text.
        ClearCalcValue(m_value);
    }
}

QString TRadekFunkce::GetResultText() const {
    if (m_skipNulls && m_value.null) return {};
    if (m_resultKind == 0)
        return platform::FloatToStrF(m_value.number, m_floatFormat, m_precision, m_digits);
    if (m_resultKind == 1) return m_value.text;
    return {};
}

QString TRadekFunkce::GetTitle() const {
    return m_name + QStringLiteral(" - ") + m_title;
}

TRadekFunkce& TListFunkci::AddFunction() {
    m_functions.push_back(std::make_unique<TRadekFunkce>(Count() + 1));
    return *m_functions.back();
}

TRadekFunkce* TListFunkci::GetFunkce(int i) const {
    return i >= 0 && i < Count() ? m_functions[static_cast<std::size_t>(i)].get() : nullptr;
}

void TListFunkci::DeleteLast() {
    if (!m_functions.empty()) m_functions.pop_back();
}

void TListFunkci::ClearFunctions() {
    while (!m_functions.empty())
        DeleteLast();
}

void TListFunkci::ResetGroup(int level) {
    for (auto& f : m_functions)
        f->RequestReset(level);
}

void TListFunkci::SetSkipNulls(bool skip) {
    for (auto& f : m_functions)
        f->SetSkipNulls(skip);
}

void TListFunkci::ParseExpressions() {
    for (const auto& f : m_functions)
        f->ParseExpression();
}

void TListFunkci::ForgetParsedExpressions() {
    for (const auto& f : m_functions)
        f->ForgetParsedExpression();
}

void TListFunkci::CalculateAll() {
    for (auto& f : m_functions)
        f->Calculate();
}

int TListFunkci::IndexOfName(const QString& name) const {
    for (int i = 0; i < Count(); ++i)
        if (m_functions[static_cast<std::size_t>(i)]->Name().compare(name, Qt::CaseInsensitive) ==
            0)
            return i;
    return -1;
}

QString TListFunkci::GetReference(int i) const {
    const TRadekFunkce* f = GetFunkce(i);
    return u'@' + QString::number(i + 1).leftJustified(3, u' ') + (f ? f->Name() : QString());
}

QString TListFunkci::GetDisplayName(int i) const {
    const QString prefix = LoadText(ReportText::KindFunction) + u' ';
    if (const TRadekFunkce* f = GetFunkce(i)) return prefix + f->GetTitle();
    return prefix + QString::number(i + 1) + QStringLiteral("  ???");
}

} // namespace report
