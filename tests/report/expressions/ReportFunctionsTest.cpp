// User functions: aggregates over record sequences, resets by level, the list's names and
// references, and the loose number and list helpers.

#include "platform/NumberText.h"
#include "report/engine/expressions/sest_fn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace {

using report::TCalcType;
using report::TListFunkci;
using report::TRadekFunkce;

platform::LocaleSettings czech() {
    return platform::LocaleSettings::fromLocale(QLocale(QLocale::Czech, QLocale::Czechia));
}
platform::LocaleSettings plainC() {
    return platform::LocaleSettings::fromLocale(QLocale::c());
}

// A stand-in for the report run: item 1 is the current record's value (nullopt = null),
// @n the current result of function n of the list.
class RecordRun {
public:
    explicit RecordRun(TListFunkci& list)
        : m_list(list), m_callback([this](int request, TCalcType& v) {
              if (request == report::kRequestFunctionIndex) return m_list.IndexOfName(v.text);
              if (request == report::kItemBase) {
                  v.kind = 1;
                  v.number = m_record.value_or(0);
                  v.text = platform::FloatToStr(v.number);
                  v.null = !m_record;
              } else if (request >= report::kFunctionBase &&
                         request < report::kFunctionBase + 999) {
                  if (auto* f = m_list.GetFunkce(request - report::kFunctionBase))
                      v = f->CurrentValue();
              }
              return 0;
          }) {}

    void records(const std::vector<std::optional<double>>& values) {
        for (const auto& v : values) {
            m_record = v;
            m_list.CalculateAll();
        }
    }

private:
    TListFunkci& m_list;
    std::optional<double> m_record;
    report::ScopedValueCallback m_callback;
};

TRadekFunkce& define(TListFunkci& list, int aggregate, const QString& initial = "0",
                     int resetGroup = 0, const QString& expression = "#1") {
    TRadekFunkce& f = list.AddFunction();
    f.SetDefinition(f.Name(), "test", expression, 0, initial, resetGroup, aggregate, 15, 2, 2);
    f.RequestReset(-1);
    return f;
}

constexpr auto kNull = std::nullopt;

TEST(Aggregates, FoldRecordSequences) {
    platform::ScopedLocaleSettings locale(plainC());
    struct Case {
        int aggregate;
        bool skipNulls;
        std::vector<std::optional<double>> values;
        std::optional<double> expected; // nullopt: the cleared value
    } const cases[] = {
        {TRadekFunkce::AggregateCount, true, {1, kNull, 2}, 2},
        {TRadekFunkce::AggregateCount, false, {1, kNull, 2}, 3},
        {TRadekFunkce::AggregateSum, false, {1, 2, 3}, 6},
        {TRadekFunkce::AggregateSum, true, {1, kNull, 3}, 4},
        {TRadekFunkce::AggregateAverage, false, {1, 2, 6}, 3},
        {TRadekFunkce::AggregateAverage, true, {kNull, 4, kNull}, 4},
        {TRadekFunkce::AggregateMinimum, false, {5, 3, 4}, 3},
        {TRadekFunkce::AggregateMaximum, false, {5, 3, 4}, 5},
        {TRadekFunkce::AggregateMinimum, true, {5, kNull, 4}, 4},
        {TRadekFunkce::AggregateMaximum, true, {kNull, -5, kNull}, -5},
        {TRadekFunkce::AggregateMinimum, false, {5, kNull, 4}, 0}, // a null counts as 0
        {TRadekFunkce::AggregateDeviation, false, {2, 4, 4, 4, 5, 5, 7, 9}, 2.138089935299395},
        {TRadekFunkce::AggregateDeviation, false, {7}, std::nullopt},
        {TRadekFunkce::AggregateDeviation, false, {0.1, 0.1, 0.1}, 0},
        {TRadekFunkce::AggregateDeviation, true, {1, kNull, 2, 3, kNull, 4}, 1.2909944487358056},
        {TRadekFunkce::AggregateVariation, false, {1, 2, 3, 4}, 0.5163977794943222},
        {TRadekFunkce::AggregateVariation, false, {1, 1}, 0},
        {TRadekFunkce::AggregateVariation, false, {-1, 1}, std::nullopt},
        {TRadekFunkce::AggregateValue, false, {1, 2, 3}, 3},
    };
    for (const Case& c : cases) {
        TListFunkci list;
        TRadekFunkce& f = define(list, c.aggregate);
        list.SetSkipNulls(c.skipNulls);
        RecordRun(list).records(c.values);
        SCOPED_TRACE(testing::Message() << "aggregate " << c.aggregate << " skip " << c.skipNulls
                                        << " over " << c.values.size() << " values");
        if (c.expected) {
            EXPECT_NEAR(f.CurrentValue().number, *c.expected,
                        1e-14 * (1 + std::fabs(*c.expected)));
            EXPECT_FALSE(std::isnan(f.CurrentValue().number));
        } else {
            EXPECT_EQ(f.CurrentValue().kind, 0);
            EXPECT_EQ(f.CurrentValue().number, 0);
        }
    }
}

TEST(Aggregates, ResultTextFollowsTheLocale) {
    for (bool isCzech : {true, false}) {
        platform::ScopedLocaleSettings locale(isCzech ? czech() : plainC());
        TListFunkci list;
        TRadekFunkce& sum = define(list, TRadekFunkce::AggregateSum);
        TRadekFunkce& deviation = define(list, TRadekFunkce::AggregateDeviation);
        RecordRun(list).records({1, 2, 3});
        EXPECT_EQ(sum.GetResultText(), isCzech ? "6,00" : "6.00");
        EXPECT_EQ(deviation.GetResultText(), isCzech ? "1,00" : "1.00");
    }
}

TEST(Aggregates, ResetsByLevelAndInitialValues) {
    platform::ScopedLocaleSettings locale(plainC());
    TListFunkci list;
    TRadekFunkce& group = define(list, TRadekFunkce::AggregateSum, "10", 1);
    TRadekFunkce& average = define(list, TRadekFunkce::AggregateAverage, "5", 2);
    TRadekFunkce& bad = define(list, TRadekFunkce::AggregateCount, "abc", 3);
    RecordRun run(list);
    run.records({1, 2});
    EXPECT_EQ(group.CurrentValue().number, 3); // the initial value is not part of the sum
    EXPECT_EQ(bad.CurrentValue().number, 2);

    list.ResetGroup(0); // no function resets on level 0
    run.records({4});
    EXPECT_EQ(group.CurrentValue().number, 7);
    list.ResetGroup(1);
    run.records({5});
    EXPECT_EQ(group.CurrentValue().number, 5);
    EXPECT_EQ(average.CurrentValue().number, (1 + 2 + 4 + 5) / 4.0);

    // An average over no values after a reset shows the initial number.
    list.ResetGroup(2);
    list.SetSkipNulls(true);
    run.records({kNull});
    EXPECT_EQ(average.CurrentValue().number, 5);
    EXPECT_EQ(average.CurrentValue().text, "5");
    // A null result prints as nothing while nulls are skipped.
    list.SetSkipNulls(false);
    TRadekFunkce& value = define(list, TRadekFunkce::AggregateValue);
    run.records({kNull});
    EXPECT_TRUE(value.CurrentValue().null);
    EXPECT_EQ(value.GetResultText(), "0.00");
    list.SetSkipNulls(true);
    EXPECT_EQ(value.GetResultText(), "");

    // An initial value that is no number clears the value, kind included.
    list.ResetGroup(-1);
    run.records({1});
    EXPECT_EQ(bad.CurrentValue().kind, 0);
    EXPECT_EQ(bad.CurrentValue().number, 1);
}

TEST(Aggregates, AnExpressionErrorCountsAsTheEmptyValue) {
    platform::ScopedLocaleSettings locale(plainC());
    TListFunkci list;
    TRadekFunkce& count = define(list, TRadekFunkce::AggregateCount, "0", 0, "1/0");
    TRadekFunkce& value = define(list, TRadekFunkce::AggregateValue, "0", 0, "'x'+");
    RecordRun(list).records({1, 2});
    EXPECT_EQ(count.CurrentValue().number, 2);
    EXPECT_EQ(value.CurrentValue().kind, 0);
    EXPECT_FALSE(value.CurrentValue().null);
}

TEST(FunctionList, CalculatesInOrderSoLaterFunctionsSeeEarlierResults) {
    platform::ScopedLocaleSettings locale(plainC());
    TListFunkci list;
    define(list, TRadekFunkce::AggregateSum);
    TRadekFunkce& twice = define(list, TRadekFunkce::AggregateValue, "0", 0, "@1*2");
    TRadekFunkce& byName = define(list, TRadekFunkce::AggregateValue, "0", 0, "@funkce2+1");
    RecordRun(list).records({1, 2, 3});
    EXPECT_EQ(twice.CurrentValue().number, 12);
    EXPECT_EQ(byName.CurrentValue().number, 13);
}

TEST(FunctionList, NamesReferencesAndDefinitions) {
    TListFunkci list;
    for (int i = 0; i < 12; ++i)
        list.AddFunction();
    EXPECT_EQ(list.GetReference(0), "@1  Funkce1");
    EXPECT_EQ(list.GetReference(11), "@12 Funkce12");
    EXPECT_EQ(list.GetDisplayName(0), "Funkce Funkce1 - Funkce1");
    EXPECT_EQ(list.GetDisplayName(14), "Funkce 15  ???");
    EXPECT_EQ(list.GetFunkce(12), nullptr);
    EXPECT_EQ(list.GetFunkce(-1), nullptr);
    EXPECT_EQ(list.IndexOfName("FUNKCE12"), 11);
    EXPECT_EQ(list.IndexOfName("Funkce13"), -1);

    TRadekFunkce* f = list.GetFunkce(1);
    f->SetDefinition("Cena", "Cena s DPH", "#1*1.21", 1, "1", 2, 9, 40, -3, 7);
    QString name, title, expression, initial;
    int kind, group, aggregate, precision, digits, format;
    f->GetDefinition(name, title, expression, kind, initial, group, aggregate, precision, digits,
                     format);
    EXPECT_EQ(QStringList({name, title, expression, initial}),
              QStringList({"Cena", "Cena s DPH", "#1*1.21", "1"}));
    // An unknown aggregate is none, precision and digits are clamped, an unknown format is 2.
    EXPECT_EQ(QList<int>({kind, group, aggregate, precision, digits, format}),
              QList<int>({1, 2, 0, 18, 0, 2}));
    EXPECT_EQ(f->CurrentValue().kind, 2);
    EXPECT_EQ(f->GetTitle(), "Cena - Cena s DPH");
    EXPECT_EQ(list.IndexOfName("cena"), 1);

    list.DeleteLast();
    EXPECT_EQ(list.Count(), 11);
    list.ClearFunctions();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StrToFloatLoose, AcceptsEitherSeparatorAndNothingElse) {
    for (bool isCzech : {true, false}) {
        platform::ScopedLocaleSettings locale(isCzech ? czech() : plainC());
        struct Case {
            const char* text;
            double value;
        } const cases[] = {
            {"1.5", 1.5}, {"1,5", 1.5}, {" -2", -2},  {"1e3", 1000}, {"1.5 ", 0},
            {"1E-3", 0},  {"abc", 0},   {"", 0},      {"1,2,3", 0},  {"1.2.3", 0},
            {"1E", 0},    {"-", 0},     {"1E400", 0}, {"+1", 0},     {"2-", 0},
        };
        for (const Case& c : cases)
            EXPECT_EQ(report::StrToFloatLoose(c.text), c.value) << c.text << " " << isCzech;
    }
}

TEST(ParseValueList, QuotedReferencesAndPlainEntries) {
    report::ScopedValueCallback callback([](int request, TCalcType& v) {
        if (request == report::kRequestItemIndex) return v.text == "Obr" ? 4 : -1;
        v.kind = 2;
        v.text = QString("v%1").arg(request);
        return 0;
    });
    QStringList list{"stale"};
    report::ParseValueList("a.bmp,'x,y',#2,&3,@1,%2,#Obr,#0, plain ,", list);
    EXPECT_EQ(list, QStringList({"a.bmp", "x,y", "v4001", "v2002", "v6000", "v8001", "v4004", "",
                                 " plain ", ""}));
    report::ParseValueList("", list);
    EXPECT_EQ(list, QStringList({""}));
}

} // namespace
