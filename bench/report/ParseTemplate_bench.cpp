// Reading a template into a report: the designer re-reads its template on every preview and
// print, so a large template must parse fast.

#include "BenchApplication.h"
#include "report/engine/run/sestavy.h"

#include <benchmark/benchmark.h>

namespace {

// A template of `lines` lines: settings, two groups, functions, and element lines of every kind
// spread over the sections.
report::TPredloha largeTemplate(int lines) {
    report::TPredloha text{QStringLiteral("I,0,\"Velká sestava\""),
                           QStringLiteral("I,1,5,40,17"),
                           QStringLiteral("I,2,0,2100,2970,100,100,100,100,1,0"),
                           QStringLiteral("I,4,0,grp,1,40,1,40,0"),
                           QStringLiteral("I,4,1,name,1,40,1,40,0"),
                           QStringLiteral("F,0,Soucet,\"Součet\",0,\"0\",1,\"#t\",2,15,2,2")};
    const QString elements[] = {
        QStringLiteral(
            "%1,1,0,%2,0,200,20,Arial,10,0,1,16,15,238,\"Text, \"\"s\"\" čárkou\",0,0,0"),
        QStringLiteral("%1,2,t,%2,0,100,20,Arial,10,0,0,1,0,238,\"\",0,0,0"),
        QStringLiteral("%1,5,3,%2,0,100,20,Times New Roman CE,9,0,0,2,0,238,\"Strana %d\",0,0,0"),
        QStringLiteral("%1,6,Soucet,%2,0,100,20,Arial,10,0,0,1,0,238,\"\",0,0,0"),
        QStringLiteral("%1,7,0,%2,0,800,0,,1,0,2,16,15,0"),
        QStringLiteral("%1,8,8,%2,0,800,20,,1,0,0,15,15,0"),
        QStringLiteral("%1,12,0,%2,0,300,80,,2,0,13,48,15,0,\"'8594000'+#name\",0,0,0"),
    };
    const QString keys[] = {QStringLiteral("Z"),  QStringLiteral("H"),  QStringLiteral("T"),
                            QStringLiteral("K"),  QStringLiteral("P"),  QStringLiteral("S0"),
                            QStringLiteral("U0"), QStringLiteral("S1"), QStringLiteral("U1")};
    for (int i = 0; text.size() < lines; ++i)
        text.append(elements[i % 7].arg(keys[i % 9]).arg(i % 700));
    return text;
}

void BM_ParseTemplate(benchmark::State& state) {
    ensureBenchApplication();
    const report::TPredloha text = largeTemplate(2000);
    report::TSestava report(nullptr, QStringLiteral("/nonexistent"));
    report.SetItemNames({QStringLiteral("name"), QStringLiteral("grp"), QStringLiteral("t")});
    for (auto _ : state)
        report.SetPredloha(text);
    state.SetItemsProcessed(state.iterations() * text.size());
    state.counters["lines"] = double(text.size());
}
BENCHMARK(BM_ParseTemplate)->Unit(benchmark::kMillisecond);

} // namespace
