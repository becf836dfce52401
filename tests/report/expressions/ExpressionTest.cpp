// The expression evaluator: precedence, kinds and nulls, every error code with its position,
// the value callback protocol, and bad input.

#include "platform/NumberText.h"
#include "report/engine/expressions/BuiltInFunctions.h"
#include "report/engine/expressions/ExpressionEvaluator.h"

#include <QList>
#include <QPair>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using report::EvaluateExpression;
using report::TCalcType;

class Expressions : public testing::Test {
protected:
    platform::ScopedLocaleSettings m_locale{platform::LocaleSettings::fromLocale(QLocale::c())};
    report::ScopedValueCallback m_noCallback{nullptr};
};

struct Result {
    int error = 0;
    int errPos = 0;
    TCalcType value;
};

Result evaluate(const QString& text) {
    Result r;
    r.value.kind = 99; // must be overwritten
    r.error = EvaluateExpression(text, r.value, r.errPos);
    return r;
}

TEST_F(Expressions, PrecedenceAndLeftAssociativity) {
    struct Case {
        const char* text;
        double number;
    } const cases[] = {
        {"1+2*3", 7},        {"(1+2)*3", 9},     {"2^3^2", 64},
        {"2*(-3)", -6},      {"NOT 1 = 0", 1},   {"1=1 AND 2=2", 0},
        {"1 OR 0 AND 0", 1}, {"10-4-3", 3},      {"12/4/3", 1},
        {"1<2=1", 1},        {"-(2+3)*2", -10},  {"- -3", 3},
        {"NOT NOT 2", 1},    {"1 AND NOT 0", 1}, {"3>=3", 1},
        {"3<>3", 0},         {"2<=1", 0},        {"((((7))))", 7},
        {"abs(-2)^2", 4},    {"-ABS(2)", -2},    {"2 ^ 0.5", std::sqrt(2.0)},
        {"1.5e2", 150},      {"  4  ", 4},
    };
    for (const Case& c : cases) {
        const Result r = evaluate(c.text);
        EXPECT_EQ(r.error, 0) << c.text;
        EXPECT_EQ(r.value.kind, 1) << c.text;
        EXPECT_DOUBLE_EQ(r.value.number, c.number) << c.text;
    }
    // Unary minus binds tighter than '^': a power of a negative base.
    EXPECT_EQ(evaluate("-2^2").error, report::kExprDomain);
}

TEST_F(Expressions, TextsKindsAndConcatenation) {
    const Result sum = evaluate("1+2");
    EXPECT_EQ(sum.value.text, "12"); // '+' always joins the texts
    EXPECT_EQ(evaluate("(1+2)*1").value.text, "3");
    EXPECT_EQ(evaluate("1.50").value.text, "1.50"); // a literal keeps its text

    EXPECT_EQ(evaluate("'abc'='abc'").value.number, 1);
    EXPECT_EQ(evaluate("'abc'='ABC'").value.number, 0);
    EXPECT_EQ(evaluate("'abc'<'abd'").value.number, 0); // both read as the number 0
    EXPECT_EQ(evaluate("'2'<'10'").value.number, 1);

    // A computed number's text follows the locale.
    platform::ScopedLocaleSettings czech(
        platform::LocaleSettings::fromLocale(QLocale(QLocale::Czech, QLocale::Czechia)));
    EXPECT_EQ(evaluate("3/2").value.text, "1,5");
    EXPECT_EQ(evaluate("'x'+3/2").value.text, "x1,5");
}

// Kinds: 1 number, 2 text, 5 a name in brackets.
TEST_F(Expressions, BuiltInFunctionsAndKinds) {
    struct Case {
        const char* text;
        int kind;
        double number;
        const char* out;
    } const cases[] = {
        {"'ab'+'cd'", 2, 0, "abcd"},
        {"'2'+1", 1, 3, "21"},
        {"IIF(1,'a','b')", 2, 0, "a"},
        {"IIF(0,2,'b')", 1, 0, "b"},
        {"[Položka 1]", 5, 0, "Položka 1"},
        {"ABS(-2.5)", 1, 2.5, "2.5"},
        {"INT(-2.7)", 1, -2, "-2"},
        {"SGN(-3)+SGN(0)*10", 1, -1, "-10"},
        {"MAX(1,2)", 1, 2, "2"},
        {"MIN(1,2)", 1, 1, "1"},
        {"LEFT('abcdef',2)", 2, 0, "ab"},
        {"RIGHT('abcdef',2)", 2, 0, "ef"},
        {"SUBSTR('abcdef',2,3)", 2, 0, "bcd"},
        {"UPPER('žluťoučký kůň')", 2, 0, "ŽLUŤOUČKÝ KŮŇ"},
        {"LOWER('ČÁP')", 2, 0, "čáp"},
        {"LTRIM('  12 ')", 2, 0, "12 "},
        {"RTRIM(' 12  ')", 2, 12, " 12"},
        {"ALLTRIM('  12  ')", 2, 12, "12"},
        {"FORMAT(1234.5,'#,##0.00')", 2, 1234.5, "1,234.50"},
        {"LOG(EXP(2))", 1, 2, "2"},
        {"ACOTG(1)", 1, std::atan(1.0), "0.785398163397448"},
        {"ASIN(1)", 1, std::asin(1.0), "1.5707963267949"},
        {"CHR(65)", 2, 65, "A"},
        {"CHR(200)", 2, 200, "Č"},
        {"CHR(0)", 2, 0, ""},
        {"CHR(256)", 2, 256, ""},
        {"ORD('Č')", 1, 200, "200"},
        {"ORD('中')", 1, 63, "63"},
        {"ORD('')", 1, 0, "0"},
        {"LENGTH('abc')", 1, 3, ""},
        {"POS('cz','abcd')", 1, 3, ""},
        {"POS('','abcd')", 1, 0, ""},
        {"POS('x','abcd')", 1, 0, ""},
        {"ISNULL(1)", 1, 0, ""},
        {"YEAR(36585.75)", 1, 2000, "2000"},
        {"MONTH(36585.75)", 1, 2, "2"},
        {"DAY(36585.75)", 1, 29, "29"},
        {"HOUR(36585.75)", 1, 18, "18"},
        {"MINUTE(0.5+1/1440)", 1, 1, "1"},
        {"SECUNDE(1/86400*7)", 1, 7, "7"},
        {"FORMATDT(36585.75,'yyyy-mm-dd hh:nn')", 2, 36585.75, "2000-02-29 18:00"},
    };
    for (const Case& c : cases) {
        const Result r = evaluate(QString::fromUtf8(c.text));
        EXPECT_EQ(r.error, 0) << c.text;
        EXPECT_EQ(r.value.kind, c.kind) << c.text;
        EXPECT_DOUBLE_EQ(r.value.number, c.number) << c.text;
        EXPECT_EQ(r.value.text, QString::fromUtf8(c.out)) << c.text;
    }
    for (int n = 1; n <= report::kFunctionCount; ++n) {
        // Every template parses as far as its empty arguments.
        const QString t = report::FunctionTemplate(n);
        EXPECT_EQ(evaluate(t).error, report::kExprTooFewArgs) << t.toStdString();
    }
    EXPECT_EQ(report::FunctionTemplate(0), "");
    EXPECT_EQ(report::FunctionTemplate(38), "");
}

TEST_F(Expressions, EveryErrorCodeWithItsPosition) {
    std::string longSum = "1";
    for (int i = 0; i < 127; ++i)
        longSum += "+1"; // 255 characters
    struct Case {
        std::string text;
        int error;
        int pos;
    } const cases[] = {
        {"", 0, 0},
        {"FOO(1)", 1, 0},
        {"#Nic", 1, 0},
        {"&abc", 1, 0},
        {"#", 1, 0},
        {"1+#0", 1, 2},
        {"@0", 1, 0},
        {"%000", 1, 0},
        {"&0", 1, 0},
        {"1+ #$", 1, 3},
        {"2*-3", 2, 2},
        {"1 2", 2, 2},
        {"1 ! 2", 2, 2},
        {"ABS 1", 2, 4},
        {"1(", 2, 1},
        {"1+", 2, 2},
        {"1 NOT 2", 2, 2},
        {"AND 1", 2, 0},
        {"()", 2, 1},
        {"1.2.3", 2, 3},
        {"#1#2", 2, 2},
        {std::string("1\0", 2), 2, 1},
        {"1)", 4, 1},
        {"(1))", 4, 3},
        {"(1", 5, 2},
        {"ABS(1", 5, 5},
        {"1/0", 6, 1},
        {"ASIN(2)", 6, 0},
        {"ACOS(-1.5)", 6, 0},
        {"LOG(0)", 6, 0},
        {"COTG(0)", 6, 0},
        {"0^2", 6, 1},
        {"1E99*1E99*1E99*1E99", 6, 14},
        {"EXP(1000)", 6, 0},
        {"10^400", 6, 2},
        {"1.5E123", 7, 0},
        {"12abc", 7, 0},
        {"1E", 7, 0},
        {"1E+", 7, 0},
        {"3#", 7, 0},
        {"MAX(1)", 10, 5},
        {"ABS()", 10, 4},
        {"MAX(1,)", 10, 6},
        {"MAX(,1)", 10, 4},
        {"IIF(1,2)", 10, 7},
        {"MAX(1,2,3)", 11, 7},
        {"1,2", 11, 1},
        {"(1,2)", 11, 2},
        {"ABS(,", 11, 4},
        {"'abc", 12, 0},
        {"1+'abc", 12, 2},
        {"[abc", 13, 0},
        // Longer than 255 characters: refused at 255, never cut.
        {longSum, 0, 0},
        {longSum + "0", 2, 255},
        {std::string(300 * 1024, 'x'), 2, 255},
        {std::string(100000, '('), 2, 255},
        // Overflowing literals (at most two exponent digits: 1E300 is written 10^300).
        {std::string(250, '9') + "E99", 7, 0},
        {"1E300", 7, 0},
        // Dates out of range.
        {"YEAR(10^300)", 6, 0},
        {"DAY(-1E7)", 6, 0},
        {"FORMATDT(10^300,'yyyy')", 6, 0},
    };
    for (const Case& c : cases) {
        const Result r = evaluate(QString::fromUtf8(c.text.data(), qsizetype(c.text.size())));
        EXPECT_EQ(r.error, c.error) << c.text;
        EXPECT_EQ(r.errPos, c.pos) << c.text;
        EXPECT_NE(r.value.kind, 99) << c.text;
    }
    // The value left after an error is the bottom of the value stack.
    EXPECT_EQ(evaluate("5 6").value.number, 5);
    EXPECT_DOUBLE_EQ(evaluate("1E99*1E99").value.number, 1e198); // large, but no overflow
    const Result overflow = evaluate("1E99*1E99*1E99*1E99");
    EXPECT_EQ(overflow.value.number, 0);
    EXPECT_EQ(overflow.value.text, "0");
    const Result empty = evaluate("");
    EXPECT_EQ(empty.value.kind, 0);
    EXPECT_EQ(evaluate("   ").error, 0);
}

TEST_F(Expressions, StacksHoldFortyEntries) {
    const QString forty = QString(40, '(') + '1' + QString(40, ')');
    const Result ok = evaluate(forty);
    EXPECT_EQ(ok.error, 0);
    EXPECT_EQ(ok.value.number, 1);
    const Result deep = evaluate(QString(41, '(') + '1' + QString(41, ')'));
    EXPECT_EQ(deep.error, report::kExprStackFull);
    EXPECT_EQ(deep.errPos, 40);
    // Forty pending additions with their parentheses overflow as well.
    QString chain;
    for (int i = 0; i < 25; ++i)
        chain += "1+(";
    EXPECT_EQ(evaluate(chain + "1" + QString(25, ')')).error, report::kExprStackFull);
}

TEST_F(Expressions, OutOfRangeCountsAndCodesAreClamped) {
    EXPECT_EQ(evaluate("CHR(10^300)").value.text, "");
    EXPECT_GT(evaluate("CHR(10^300)").value.number, 1e299); // round(A), not clamped
    EXPECT_EQ(evaluate("CHR(-(10^300))").value.text, "");
    EXPECT_EQ(evaluate("SUBSTR('abc',-5,10^300)").value.text, "abc");
    EXPECT_EQ(evaluate("SUBSTR('abc',10^300,2)").value.text, "");
    EXPECT_EQ(evaluate("LEFT('abc',-(10^300))").value.text, "");
    EXPECT_EQ(evaluate("RIGHT('abc',10^300)").value.text, "abc");
    EXPECT_EQ(evaluate("RIGHT('abc',-2)").value.text, "");
    EXPECT_EQ(evaluate("FORMAT(1,'%s%d')").value.text, "%s%d");
}

// Records every request and answers from tables.
struct RecordingCallback {
    QList<QPair<int, QString>> requests;
    QStringList items{"Cena", "Název", "Prázdná"};
    QStringList functions{"Suma"};

    int operator()(int request, TCalcType& value) {
        requests.append({request, value.text});
        if (request == report::kRequestItemIndex) return int(items.indexOf(value.text));
        if (request == report::kRequestFunctionIndex) return int(functions.indexOf(value.text));
        value.kind = 1;
        value.number = request;
        value.text = QString::number(request);
        if (request == report::kItemBase + 2) value.null = true;
        return 0;
    }
};

TEST_F(Expressions, ReferencesGoThroughTheValueCallback) {
    RecordingCallback recorder;
    report::ScopedValueCallback installed(
        [&recorder](int request, TCalcType& v) { return recorder(request, v); });

    EXPECT_EQ(evaluate("#1+&2+@3+%4").value.number, 4000 + 2001 + 6002 + 8003);
    EXPECT_EQ(recorder.requests,
              (QList<QPair<int, QString>>{{4000, ""}, {2001, ""}, {6002, ""}, {8003, ""}}));

    recorder.requests.clear();
    EXPECT_EQ(evaluate("#Název*2").value.number, 4001 * 2);
    EXPECT_EQ(evaluate("@Suma").value.number, 6000);
    EXPECT_EQ(recorder.requests,
              (QList<QPair<int, QString>>{{2, "Název"}, {4001, ""}, {3, "Suma"}, {6000, ""}}));

    // Number 0 and unknown names never reach a fetch.
    recorder.requests.clear();
    EXPECT_EQ(evaluate("#0").error, report::kExprUnknownWord);
    EXPECT_EQ(evaluate("#Nic").error, report::kExprUnknownWord);
    EXPECT_EQ(recorder.requests, (QList<QPair<int, QString>>{{2, "Nic"}}));
    // Three digits at most: the fourth is an operand out of place.
    EXPECT_EQ(evaluate("#1234").error, report::kExprSyntax);

    // Nulls propagate, except through ISNULL.
    EXPECT_TRUE(evaluate("#3+1").value.null);
    EXPECT_TRUE(evaluate("IIF(1,2,#3)").value.null);
    const Result isNull = evaluate("ISNULL(#Prázdná)");
    EXPECT_EQ(isNull.value.number, 1);
    EXPECT_FALSE(isNull.value.null);

    // IN with quoted text, references and plain entries.
    recorder.requests.clear();
    EXPECT_EQ(evaluate("#2 IN [1,2,'x',&3]").value.number, 0);
    EXPECT_EQ(recorder.requests, (QList<QPair<int, QString>>{{4001, ""}, {2002, ""}}));
    EXPECT_EQ(evaluate("2002 IN [1,&3]").value.number, 1);
    EXPECT_EQ(evaluate("'x' IN [1, 'x']").value.number, 1);
    EXPECT_EQ(evaluate("2 IN [1, 2.0]").value.number, 1);
    EXPECT_EQ(evaluate("0 IN [a,b]").value.number, 0); // zero never matches by number
    EXPECT_EQ(evaluate("'b' IN [a,b]").value.number, 1);
}

// Without a callback references are empty and names unknown; a scoped callback restores the
// one before it.
TEST_F(Expressions, CallbacksInstalledForAScope) {
    const Result r = evaluate("#5");
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.value.kind, 0);
    EXPECT_EQ(evaluate("@Suma").error, report::kExprUnknownWord);
    report::ScopedValueCallback outer([](int, TCalcType& v) {
        v.number = 1;
        return 0;
    });
    {
        report::ScopedValueCallback inner([](int, TCalcType& v) {
            v.number = 2;
            return 0;
        });
        EXPECT_EQ(evaluate("#1").value.number, 2);
    }
    EXPECT_EQ(evaluate("#1").value.number, 1);
}

} // namespace
