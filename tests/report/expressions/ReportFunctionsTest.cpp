// User functions: aggregates over record sequences, resets by level, the list's names and
// references.

#include "platform/NumberText.h"
#include "report/engine/expressions/sest_fn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <tuple>
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

// Records as a report run answers them: items by name, item 1 a number, item 2 a text, item 3
// a number or null; @n the current result of function n. `honourHint` leaves the text of a
// fetch empty when the evaluator says it will not read it, as the run does.
struct ItemTable {
    ItemTable(TListFunkci& list, bool honourHint) : m_list(list), m_honourHint(honourHint) {}

    int answer(int request, TCalcType& v) {
        requests.append({request, report::ValueTextWanted()});
        if (request == report::kRequestItemIndex)
            return int(QStringList({"Cena", "Nazev", "Sleva"}).indexOf(v.text));
        if (request == report::kRequestFunctionIndex) return m_list.IndexOfName(v.text);
        if (request >= report::kFunctionBase) {
            if (auto* f = m_list.GetFunkce(request - report::kFunctionBase)) v = f->CurrentValue();
            return 0;
        }
        const int item = request - report::kItemBase;
        v.kind = item == 1 ? 2 : 1;
        v.number = item == 0 ? price : item == 2 ? discount.value_or(0) : 0;
        if (!m_honourHint || report::ValueTextWanted())
            v.text = item == 1 ? name : platform::FloatToStr(v.number);
        if (item == 1) v.number = report::StrToFloatLoose(name);
        v.null = item == 2 && !discount;
        return 0;
    }
    // Installs the table as the value callback for its lifetime.
    report::ScopedValueCallback installed() {
        return report::ScopedValueCallback([this](int r, TCalcType& v) { return answer(r, v); });
    }

    double price = 0;
    QString name;
    std::optional<double> discount;
    QList<QPair<int, bool>> requests; // request, text wanted

private:
    TListFunkci& m_list;
    bool m_honourHint;
};

// Every aggregate over expressions whose texts matter in different places. Read once with the
// texts left out where nothing reads them, or read per record with every text: the same results.
TEST(ParsedFunctions, GiveTheResultsOfReadingTheTextForEveryRecord) {
    platform::ScopedLocaleSettings locale(plainC());
    const char* const expressions[] = {
        "#Cena",
        "#Cena*2+#Sleva",
        "#1+#2",
        "#Nazev+'!'",
        "#2='ab'",
        "#1 IN [1.5,'3']",
        "LEFT(#2,1)",
        "IIF(#1>2,#2,#1)",
        "IIF(#1>2,#1,#3)",
        "LENGTH(#1/3)",
        "FORMAT(#1,'0.0')",
        "ISNULL(#Sleva)",
        "@1+1",
        "SUBSTR(#2,#1,2)+#3",
        "-#1^2",
        "UPPER(#2)+#1*2",
        "MAX(#1,#3)",
        "#3/0",
        "NOT #1",
        "ORD(#2)+POS('b',#2)",
    };
    const auto define = [](TListFunkci& list, const char* expression, int aggregate, int kind) {
        TRadekFunkce& f = list.AddFunction();
        f.SetDefinition(f.Name(), "t", expression, kind, "0", 0, aggregate, 15, 3, 2);
    };
    TListFunkci parsed;
    TListFunkci perRecord;
    for (int aggregate = 0; aggregate <= 7; ++aggregate)
        for (const char* expression : expressions)
            for (int kind : {0, 1}) {
                define(parsed, expression, aggregate, kind);
                define(perRecord, expression, aggregate, kind);
            }
    ItemTable onceTable(parsed, true);
    ItemTable everyTable(perRecord, false);
    {
        const auto callback = onceTable.installed();
        parsed.ParseExpressions();
    }
    parsed.ResetGroup(-1);
    perRecord.ResetGroup(-1);
    const std::vector<std::tuple<double, QString, std::optional<double>>> records = {
        {1.5, "ab", 2}, {3, "3", std::nullopt}, {2.25, "xyz", 0.1}, {-4, "", 7}};
    for (const auto& [price, name, discount] : records) {
        for (ItemTable* table : {&onceTable, &everyTable}) {
            table->price = price;
            table->name = name;
            table->discount = discount;
        }
        {
            const auto callback = onceTable.installed();
            parsed.CalculateAll();
        }
        {
            const auto callback = everyTable.installed();
            perRecord.CalculateAll();
        }
        for (int i = 0; i < parsed.Count(); ++i) {
            const TCalcType& a = parsed.GetFunkce(i)->CurrentValue();
            const TCalcType& b = perRecord.GetFunkce(i)->CurrentValue();
            QString expression, unused;
            int kind, n;
            perRecord.GetFunkce(i)->GetDefinition(unused, unused, expression, kind, unused, n, n,
                                                  n, n, n);
            SCOPED_TRACE(testing::Message() << expression.toStdString() << " function " << i);
            EXPECT_EQ(std::tuple(a.kind, a.number, a.text, a.null),
                      std::tuple(b.kind, b.number, b.text, b.null));
            EXPECT_EQ(parsed.GetFunkce(i)->GetResultText(),
                      perRecord.GetFunkce(i)->GetResultText());
        }
    }
}

// Texts of computed numbers where an expression reads them.
TEST(ParsedFunctions, ComputedNumbersKeepTheTextsTheirReadersUse) {
    platform::ScopedLocaleSettings locale(plainC());
    TListFunkci list;
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"LEFT(LENGTH(#1/3)*1,2)", "17"}, {"LEFT(#1*2,2)+'|'", "5.|"},
        {"IIF(#1>0,#1*2,'x')", "5.5"},    {"(#1+1)+'|'", "2.751|"},
        {"FORMAT(#1/2,'0.00')", "1.38"},  {"#1*2+#1", "5.52.75"},
        {"SUBSTR(1/4,2,2)", ".2"},        {"IIF(#1<0,'a',1/8)", "0.125"},
    };
    for (const auto& [expression, expected] : cases) {
        TRadekFunkce& f = list.AddFunction();
        f.SetDefinition(f.Name(), "t", expression, 1, "0", 0, TRadekFunkce::AggregateValue, 15, 2,
                        2);
    }
    ItemTable table(list, true);
    const auto callback = table.installed();
    table.price = 2.75;
    list.ParseExpressions();
    list.CalculateAll();
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(list.GetFunkce(int(i))->GetResultText(), cases[i].second) << cases[i].first;
}

// A report run reads its expressions once: names are looked up then, and per record only the
// values are fetched, numbers alone where only they are read.
TEST(ParsedFunctions, LookNamesUpOnceAndAskForTextsOnlyWhereRead) {
    platform::ScopedLocaleSettings locale(plainC());
    TListFunkci list;
    const auto define = [&list](const char* expression, int aggregate) {
        TRadekFunkce& f = list.AddFunction();
        f.SetDefinition(f.Name(), "t", expression, 0, "0", 0, aggregate, 15, 2, 2);
    };
    define("#Cena", TRadekFunkce::AggregateSum);
    define("#Cena*2+#Sleva", TRadekFunkce::AggregateAverage);
    define("#Cena", TRadekFunkce::AggregateValue);
    define("LEFT(#Nazev,1)", TRadekFunkce::AggregateCount);
    define("IIF(#Cena>0,#Nazev,0)", TRadekFunkce::AggregateMaximum);
    ItemTable table(list, true);
    const auto callback = table.installed();
    list.ParseExpressions();
    const auto lookups = [&table] {
        int n = 0;
        for (const auto& r : table.requests)
            n += r.first == report::kRequestItemIndex ? 1 : 0;
        return n;
    };
    EXPECT_EQ(lookups(), 7);
    table.requests.clear();
    for (int record = 0; record < 3; ++record)
        list.CalculateAll();
    EXPECT_EQ(lookups(), 0);
    using Fetch = QPair<int, bool>;
    const QList<Fetch> oneRecord = {{4000, false}, {4000, false}, {4002, false}, {4000, true},
                                    {4001, true},  {4000, false}, {4001, true}};
    EXPECT_EQ(table.requests, oneRecord + oneRecord + oneRecord);

    // Forgotten, the text is read for every record again.
    list.ForgetParsedExpressions();
    table.requests.clear();
    list.CalculateAll();
    EXPECT_EQ(lookups(), 7);
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

} // namespace
