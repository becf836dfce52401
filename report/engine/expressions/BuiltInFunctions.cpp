#include "report/engine/expressions/BuiltInFunctions.h"

#include "platform/DateTimeText.h"
#include "platform/NumberFormats.h"
#include "platform/Windows1250.h"
#include "report/engine/expressions/ExpressionText.h"

#include <array>
#include <cmath>
#include <numbers>

namespace report {

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

} // namespace

int BuiltInNumber(const QString& upperWord) {
    for (int n = 0; n < kFunctionCount; ++n)
        if (upperWord == QLatin1String(kBuiltIns[static_cast<std::size_t>(n)].name)) return n + 1;
    return 0;
}

int BuiltInArgumentCount(int n) {
    return kBuiltIns[static_cast<std::size_t>(n - 1)].arguments;
}

TCalcType NumberResult(double v, bool wantText) {
    return wantText ? number(v) : bareNumber(v);
}

TCalcType StringValue(const QString& text) {
    TCalcType r;
    r.kind = 2;
    r.text = text;
    r.number = StrToFloatLoose(text);
    return r;
}

using namespace builtin;

TCalcType ApplyBuiltIn(int n, const TCalcType* a, bool& domainError, bool wantText) {
    const double x = a[0].number;
    const auto number = [wantText](double v) { return NumberResult(v, wantText); };
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
        return StringValue(a[0].text.left(clampedCount(a[1].number, 0, a[0].text.size())));
    case RIGHT: {
        const double count = a[1].number;
        return StringValue(
            copy(a[0].text, static_cast<double>(a[0].text.size()) - count + 1, count));
    }
    case SUBSTR:
        return StringValue(copy(a[0].text, a[1].number, a[2].number));
    case UPPER:
        return StringValue(a[0].text.toUpper());
    case LOWER:
        return StringValue(a[0].text.toLower());
    case LTRIM:
        return StringValue(trimmed(a[0].text, true, false));
    case RTRIM:
        return StringValue(trimmed(a[0].text, false, true));
    case ALLTRIM:
        return StringValue(trimmed(a[0].text, true, true));
    case FORMAT: {
        TCalcType r = StringValue(platform::FormatFloat(a[1].text, x));
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
        TCalcType r = StringValue(
            code > 0 && code < 256 ? QString(platform::Windows1250Char(static_cast<uchar>(code)))
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
        TCalcType r = StringValue(platform::FormatDateTime(a[1].text, x));
        r.number = x;
        return r;
    }
    default:
        return fail();
    }
}

QString FunctionTemplate(int n) {
    if (n < 1 || n > kFunctionCount) return {};
    const BuiltIn& f = kBuiltIns[static_cast<std::size_t>(n - 1)];
    return QLatin1String(f.name) + u'(' + QString(f.arguments - 1, u',') + u')';
}

} // namespace report
