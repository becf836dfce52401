// Stepping a dataset-bound report's records: open, then every record read as six fields.

#include "BenchApplication.h"
#include "report/engine/run/DB_Bridge.h"
#include "report/engine/run/SqlDataset.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int rowCount = 100000;

// A database of `rowCount` points with six fields, built once per process.
QString benchConnection() {
    ensureBenchApplication();
    static QTemporaryDir dir;
    static const QString connection = [] {
        const QString name = QStringLiteral("bench");
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dir.filePath(QStringLiteral("bench.sqlite")));
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("CREATE TABLE points(name TEXT, grp TEXT, t REAL, p REAL, "
                              "n INTEGER, measured DATE)"));
        q.exec(QStringLiteral(
                   "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < %1) "
                   "INSERT INTO points SELECT 'point ' || i, 'group ' || (i / 100), i * 0.25, "
                   "i / 1000.0, i, date('2024-01-01', '+' || (i % 365) || ' days') FROM k")
                   .arg(rowCount));
        return name;
    }();
    return connection;
}

void BM_SqlStep(benchmark::State& state) {
    const QString connection = benchConnection();
    for (auto _ : state) {
        report::SqlDataset points(connection, QStringLiteral("points"));
        report::TDataSource source(&points);
        report::TBridge bridge;
        bridge.SetDataSource(&source);
        points.open();
        double sum = 0;
        for (int result = bridge.Step(report::sdFirst); !(result & report::srNoMore);
             result = bridge.Step(report::sdNext)) {
            benchmark::DoNotOptimize(bridge.FieldText(0));
            benchmark::DoNotOptimize(bridge.FieldText(1));
            sum += bridge.FieldAsFloat(2) + bridge.FieldAsFloat(3) + bridge.FieldAsFloat(4) +
                   bridge.FieldAsFloat(5);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * rowCount);
}
BENCHMARK(BM_SqlStep)->Unit(benchmark::kMillisecond);

} // namespace
