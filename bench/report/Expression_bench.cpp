// Evaluations per second of the expression evaluator and of a report's user functions. A
// report of 10,000 records with 10 functions makes 100,000 evaluations.

#include "platform/NumberText.h"
#include "report/engine/expressions/sest_fn.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

// Answers like a report run with fixed records: items and functions by name and number.
int answer(int request, report::TCalcType& value) {
    if (request == report::kRequestItemIndex) return value.text == "Cena" ? 0 : -1;
    if (request == report::kRequestFunctionIndex) return 0;
    if (request == report::kItemBase + 1) {
        value.kind = 2;
        value.text = QStringLiteral("Přehled");
        return 0;
    }
    value.kind = 1;
    value.number = 12.5;
    value.text = QStringLiteral("12.5");
    return 0;
}

const std::array<const char*, 3> kTypical = {
    "IIF(#1>0,#1*2+@1,0)",
    "LEFT(UPPER(#2),3)+'x'",
    "#3 IN [1,2,3,'x']",
};

void BM_Evaluate(benchmark::State& state) {
    platform::ScopedLocaleSettings locale(platform::LocaleSettings::fromLocale(QLocale::c()));
    report::ScopedValueCallback callback(answer);
    const QString text = QString::fromUtf8(kTypical[static_cast<std::size_t>(state.range(0))]);
    report::TCalcType value;
    int errPos = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(report::EvaluateExpression(text, value, errPos));
    }
    state.SetLabel(text.toStdString());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Evaluate)->DenseRange(0, 2);

// One record step of ten functions: sums, averages, deviations and values over item
// references and earlier results.
void BM_CalculateAll(benchmark::State& state) {
    platform::ScopedLocaleSettings locale(platform::LocaleSettings::fromLocale(QLocale::c()));
    report::TListFunkci list;
    report::ScopedValueCallback callback([&list](int request, report::TCalcType& value) {
        if (request >= report::kFunctionBase && request < report::kFunctionBase + 10) {
            value = list.GetFunkce(request - report::kFunctionBase)->CurrentValue();
            return 0;
        }
        return answer(request, value);
    });
    const char* expressions[10] = {
        "#1",         "#Cena*1.21", "@1+@2",          "IIF(#1>10,1,0)", "#1^2",
        "ABS(#1-@1)", "#1",         "LEFT(#2,3)+'x'", "#1/3",           "MAX(#1,@3)",
    };
    for (int i = 0; i < 10; ++i) {
        report::TRadekFunkce& f = list.AddFunction();
        f.SetDefinition(f.Name(), f.Name(), expressions[i], i == 7 ? 1 : 0, "0", 0, i % 8, 15, 2,
                        2);
    }
    list.ResetGroup(-1);
    for (auto _ : state) {
        list.CalculateAll();
        benchmark::DoNotOptimize(list.GetFunkce(9)->CurrentValue().number);
    }
    state.SetItemsProcessed(state.iterations() * list.Count());
}
BENCHMARK(BM_CalculateAll);

} // namespace
