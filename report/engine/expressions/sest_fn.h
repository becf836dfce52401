#pragma once
// The user functions of templates. TRadekFunkce folds an expression's value per record into a
// running result (value, count, sum, average, minimum, maximum, standard deviation, variation
// coefficient); TListFunkci holds a template's functions. The expression language they are
// written in comes with this header: values and the value callback (ExpressionValue), the
// text of expressions (ExpressionText) and the evaluator (ExpressionEvaluator).

#include "report/engine/expressions/ExpressionEvaluator.h"
#include "report/engine/expressions/ExpressionText.h"
#include "report/engine/expressions/ExpressionValue.h"

#include <QString>

#include <memory>
#include <vector>

namespace report {

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
