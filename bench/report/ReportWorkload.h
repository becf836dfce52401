#pragma once
// The report of the run benchmarks: 10,000 records of six measured values and a group name on
// about 280 A4 pages (a page header with "Strana N z M", a group every 50 records with sum,
// average and standard deviation footers, six items per record). The same template is fed by
// events from rows held in memory or from a SQLite file through the dataset bridge.

#include "report/engine/run/Dataset.h"
#include "report/engine/run/SqlDataset.h"
#include "report/engine/run/sestavy.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace benchwork {

constexpr int kRecordCount = 10000;

// Fonts, printers and the SQL plugins need the application object; it lives to the end of
// the process (destroyed among the static objects, Qt's clean-up would run after Qt Sql's
// statics are gone).
void ensureApplication();

// A report fed by events from rows made once.
struct EventsReport {
    EventsReport();
    report::TSestava report;
    std::vector<QStringList> rows;
    int current = 0;
};

// The same report over a table of a SQLite file, read through the dataset bridge.
struct SqlReport {
    SqlReport();
    // One run as a program makes it: the bridge checks and opens the dataset, the template is
    // read, the pages are generated. 0 on success.
    int generate();
    std::unique_ptr<report::SqlDataset> dataset;
    std::unique_ptr<report::TDataSource> source;
    report::TSestava report;
};

// Made and generated once per process.
EventsReport& eventsReport();
SqlReport& sqlReport();

} // namespace benchwork
