#pragma once
// Expressions of report templates and the user functions built on them.
//
// EvaluateExpression reads one-line expressions: number, 'string' and [name] literals, the
// references #item, &parameter, @function and %system-variable (by number, #/@ also by name),
// 37 built-in functions and the operators NOT ^ * / AND + - OR = < > <> <= >= IN. Values of
// references come from the process-wide value callback. TRadekFunkce folds an expression's
// value per record into a running result (value, count, sum, average, minimum, maximum,
// standard deviation, variation coefficient); TListFunkci holds a template's functions.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace report {

// The value of every literal, reference, intermediate and result.
struct TCalcType {
    std::uint8_t kind = 0; // 0 empty, 1 number, 2 string, 5 bracketed name
    double number = 0;     // for a string: the text read as a number
    QString text;          // every numeric result carries its text as well
    bool null = false;     // set by the value callback; propagates through operations
};

void ClearCalcValue(TCalcType& value);

// Value callback requests: name lookups answer a 0-based index or -1; fetches fill the value.
constexpr int kRequestItemIndex = 2;      // text = item name
constexpr int kRequestFunctionIndex = 3;  // text = function name
constexpr int kParameterBase = 2000;      // + n - 1: parameter n
constexpr int kItemBase = 4000;           // + n - 1: report item n
constexpr int kFunctionBase = 6000;       // + n - 1: current result of user function n
constexpr int kSystemVariableBase = 8000; // + n - 1: system variable n

using TValueCallback = std::function<int(int request, TCalcType& value)>;

// The one process-wide value callback. Without one, name lookups answer -1 and references
// give the cleared value. A callback must not install another one while it runs.
void InstallValueCallback(TValueCallback callback);
const TValueCallback& ValueCallback();

// While the callback answers a fetch: whether the evaluator will read the value's text. False
// when the text cannot reach the result (a sum of #Cena reads its number only); the callback
// may then leave the text empty instead of formatting it. True outside a fetch.
bool ValueTextWanted();

// Installs a callback for its lifetime, then restores the one that was installed before.
class ScopedValueCallback {
public:
    explicit ScopedValueCallback(TValueCallback callback);
    ~ScopedValueCallback();
    ScopedValueCallback(const ScopedValueCallback&) = delete;
    ScopedValueCallback& operator=(const ScopedValueCallback&) = delete;

private:
    TValueCallback m_previous;
};

// Error codes of EvaluateExpression.
enum ExpressionError : int {
    kExprOk = 0,
    kExprUnknownWord = 1,   // unknown word, unresolvable reference
    kExprSyntax = 2,        // character, operand or operator out of place; text too long
    kExprStackFull = 3,     // more than 40 pending operators or values
    kExprUnopenedParen = 4, // ')' without '('
    kExprUnclosedParen = 5, // '(' open at the end; ErrPos is the text length
    kExprDomain = 6,        // division by zero, overflow, argument out of the domain
    kExprBadNumber = 7,     // malformed or overflowing number literal
    kExprTooFewArgs = 10,   // also an empty argument
    kExprTooManyArgs = 11,  // also a comma outside parentheses
    kExprOpenString = 12,   // unterminated 'string'
    kExprOpenBracket = 13,  // unterminated [name]
};

// Longest expression accepted, in characters; a longer one is error 2 at this position.
constexpr int kMaxExpressionLength = 255;

// Evaluates `text` and returns the error code (0 on success). `value` receives the result,
// also after an error (the bottom of the value stack, or the cleared value). `errPos` is the
// 0-based offset of the token where the error was found (the text length for error 5). An
// error 6 does not stop the evaluation: the failing step gives the number 0. The evaluator
// keeps its stacks per call; it needs no state but the value callback.
int EvaluateExpression(const QString& text, TCalcType& value, int& errPos);

// Built-in function n (1..37) as the expression builder inserts it, e.g. "MAX(,)"; empty
// for any other n.
QString FunctionTemplate(int n);
// Number of built-in functions.
constexpr int kFunctionCount = 37;

// Character classes of the expression language.
bool IsDigitChar(QChar c);       // 0-9
bool IsQuoteChar(QChar c);       // '
bool IsBracketChar(QChar c);     // [
bool IsReferencePrefix(QChar c); // # % & @
bool IsNameStartChar(QChar c);   // letter or _
bool IsNameChar(QChar c);        // letter, digit, _ or $
bool IsWordChar(QChar c);        // letter or reference prefix
bool IsOperatorChar(QChar c);    // ) * + - / < = > ^

// A number from loosely written text: the first '.' or ',' is taken for the locale decimal
// separator, leading blanks are skipped, and the text must hold only digits, E, e, the
// separator and a leading '-'. Anything else, or a text that is still no number ("1,2,3",
// "1E", "-", overflow), gives 0.
double StrToFloatLoose(const QString& text);

// The entries of a comma-separated list: 'quoted' entries give their inner text, #, &, @ and %
// references the text of the fetched value (the empty text when the reference is invalid),
// other entries their text up to the next comma.
void ParseValueList(const QString& text, QStringList& list);

struct ParsedExpression;

// One user function of a template.
class TRadekFunkce {
public:
    enum Aggregate {
        AggregateValue = 0,
        AggregateCount,
        AggregateSum,
        AggregateAverage,
        AggregateMinimum,
        AggregateMaximum,
        AggregateDeviation, // sample standard deviation
        AggregateVariation, // variation coefficient
    };

    // Function number n: named and titled "Funkce" + n, precision 15, 2 digits, fixed format.
    explicit TRadekFunkce(int n);

    // Stores a definition. Precision is clamped to 1..18, digits to 0..18, a float format
    // outside 0..4 becomes 2, an aggregate outside 0..7 becomes 0. The current value's kind
    // follows the result kind (0 number → 1, 1 string → 2, else 0).
    void SetDefinition(const QString& name, const QString& title, const QString& expression,
                       int resultKind, const QString& initialValue, int resetGroup, int aggregate,
                       int precision, int digits, int floatFormat);
    void GetDefinition(QString& name, QString& title, QString& expression, int& resultKind,
                       QString& initialValue, int& resetGroup, int& aggregate, int& precision,
                       int& digits, int& floatFormat) const;

    // Marks a reset before the next Calculate when `level` is negative or this function's
    // reset group.
    void RequestReset(int level);
    // One record: a pending reset (the initial value read strictly with the locale separator,
    // or the cleared value when it is no number; the values taken are forgotten), then the
    // expression's value (the empty value after an error) folded in by the aggregate. With
    // skip nulls set, null values are left out of every aggregate but 0.
    void Calculate();
    // Reads the expression once, looking its names up through the callback installed now;
    // Calculate then evaluates the read form instead of reading the text for every record,
    // until ForgetParsedExpression or a new definition.
    void ParseExpression();
    void ForgetParsedExpression();
    // The printable result: empty while nulls are skipped and the value is null; for result
    // kind 0 the number by FloatToStrF with this function's format, precision and digits; for
    // result kind 1 the value's text; else empty.
    QString GetResultText() const;
    // name + " - " + title
    QString GetTitle() const;

    const QString& Name() const { return m_name; }
    const TCalcType& CurrentValue() const { return m_value; }
    int Count() const { return m_count; }
    void SetSkipNulls(bool skip) { m_skipNulls = skip; }

private:
    void reset();
    void updateDeviation();

    QString m_name;
    QString m_title;
    QString m_expression;
    int m_resultKind = 0;
    QString m_initialValue = QStringLiteral("0");
    int m_resetGroup = 0;
    int m_aggregate = AggregateValue;
    int m_precision = 15;
    int m_digits = 2;
    int m_floatFormat = 2;
    TCalcType m_value;
    int m_count = 0;
    double m_sum = 0;
    double m_sumOfSquares = 0;
    bool m_resetPending = false;
    bool m_skipNulls = false;
    std::shared_ptr<const ParsedExpression> m_parsed;
};

// The user functions of a template, in order; owns them.
class TListFunkci {
public:
    // Appends function number Count() + 1 with its defaults and returns it.
    TRadekFunkce& AddFunction();
    int Count() const { return static_cast<int>(m_functions.size()); }
    // The function at i, nullptr when i is out of range.
    TRadekFunkce* GetFunkce(int i) const;
    void DeleteLast();
    void ClearFunctions();
    // The reset request for `level` on every function.
    void ResetGroup(int level);
    void SetSkipNulls(bool skip);
    // Calculate on every function in list order, so that @n sees the updated results of the
    // functions before it.
    void CalculateAll();
    // ParseExpression / ForgetParsedExpression on every function. A report run reads its
    // expressions once, since the names keep their meaning while it runs.
    void ParseExpressions();
    void ForgetParsedExpressions();
    // Index of the first function whose name equals `name` ignoring case, -1 when none.
    int IndexOfName(const QString& name) const;
    // "@" + i+1 in a three-character field padded on the right + the name.
    QString GetReference(int i) const;
    // "Funkce " + title, or "Funkce " + (i + 1) + "  ???" for an index out of range.
    QString GetDisplayName(int i) const;

private:
    std::vector<std::unique_ptr<TRadekFunkce>> m_functions;
};

} // namespace report
