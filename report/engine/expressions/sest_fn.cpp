#include "report/engine/expressions/sest_fn.h"

#include "platform/NumberFormats.h"
#include "report/engine/sestzpr.h"

#include <algorithm>
#include <cmath>

namespace report {

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
    m_parsed = std::make_shared<const ParsedExpression>(ReadExpression(m_expression, text));
}

void TRadekFunkce::ForgetParsedExpression() {
    m_parsed.reset();
}

void TRadekFunkce::Calculate() {
    if (m_resetPending) reset();
    TCalcType x;
    int errPos = 0;
    const int error = m_parsed ? EvaluateParsed(*m_parsed, x, errPos)
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
