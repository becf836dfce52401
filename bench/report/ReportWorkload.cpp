#include "ReportWorkload.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace benchwork {

namespace {

QString textLine(const QString& key, int kind, const QString& ref, int left, int top, int width,
                 const QString& text = {}, int alignment = 0) {
    return QStringLiteral("%1,%2,%3,%4,%5,%6,20,Arial,10,0,0,%7,0,238,\"%8\",0,0,0")
        .arg(key)
        .arg(kind)
        .arg(ref)
        .arg(left)
        .arg(top)
        .arg(width)
        .arg(alignment)
        .arg(text);
}

report::TPredloha benchTemplate() {
    QStringList lines{"I,2,0,827,1169,40,40,40,40,1,0",
                      "I,3,1,1,60,0",
                      "I,3,2,1,26,0",
                      "I,3,4,1,30,0",
                      "I,3,0,0,0,0",
                      "I,3,3,1,30,0",
                      "I,4,0,Skupina,1,24,1,24,0",
                      "F,0,suma,\"soucet\",0,\"0\",2,\"#Vel2\",2,15,2,1",
                      "F,1,prumer,\"prumer\",0,\"0\",2,\"#Vel3\",3,15,3,1",
                      "F,2,odchylka,\"odchylka\",0,\"0\",2,\"#Vel4\",6,15,3,1",
                      textLine("H", 1, "0", 0, 0, 400, "Vlastnosti vody a páry"),
                      textLine("H", 5, "3", 500, 0, 120, "Strana %d"),
                      textLine("H", 5, "4", 640, 0, 100, "z %d"),
                      textLine("P", 5, "0", 0, 5, 200, "", 0),
                      textLine("S0", 2, "Skupina", 0, 2, 200),
                      textLine("U0", 6, "suma", 100, 2, 150, {}, 1),
                      textLine("U0", 6, "prumer", 300, 2, 150, {}, 1),
                      textLine("U0", 6, "odchylka", 500, 2, 150, {}, 1),
                      textLine("K", 1, "0", 0, 5, 300, "Konec")};
    for (int i = 0; i < 6; ++i)
        lines << textLine("T", 2, QStringLiteral("Vel%1").arg(i + 1), i * 120, 3, 110, {}, 1);
    return report::TPredloha(lines);
}

// Value i of record r; the same in both feeds.
double measured(int r, int i) {
    return 100.0 + r * 0.37 + i * 11.5;
}

// The SQLite file with the records, written once per process; its Qt connection's name.
QString benchConnection() {
    static QTemporaryDir dir;
    static const QString connection = [] {
        const QString name = QStringLiteral("report_run_bench");
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dir.filePath(QStringLiteral("records.sqlite")));
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("CREATE TABLE records(Vel1 REAL, Vel2 REAL, Vel3 REAL, Vel4 REAL, "
                              "Vel5 REAL, Vel6 REAL, Skupina TEXT)"));
        db.transaction();
        q.prepare(QStringLiteral("INSERT INTO records VALUES(?, ?, ?, ?, ?, ?, ?)"));
        for (int r = 0; r < kRecordCount; ++r) {
            for (int i = 0; i < 6; ++i)
                q.bindValue(i, measured(r, i));
            q.bindValue(6, QStringLiteral("Skupina %1").arg(r / 50 + 1));
            q.exec();
        }
        db.commit();
        return name;
    }();
    return connection;
}

} // namespace

void ensureApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "report_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

EventsReport::EventsReport() {
    ensureApplication();
    for (int r = 0; r < kRecordCount; ++r) {
        QStringList row;
        for (int i = 0; i < 6; ++i)
            row << QString::number(measured(r, i), 'f', 3);
        row << QStringLiteral("Skupina %1").arg(r / 50 + 1);
        rows.push_back(row);
    }
    report.SetItemNames({"Vel1", "Vel2", "Vel3", "Vel4", "Vel5", "Vel6", "Skupina"});
    report.OnGetData = [this](report::TSestavaD* sender) {
        sender->itemValues() = rows[size_t(current)];
    };
    report.OnStepData = [this](report::TSestavaD*, int dir) {
        if (dir == 0) {
            current = 0;
            return 0;
        }
        if (current + 1 >= int(rows.size())) return 2;
        ++current;
        return 0;
    };
    report.SetPredloha(benchTemplate());
}

SqlReport::SqlReport() {
    ensureApplication();
    dataset = std::make_unique<report::SqlDataset>(benchConnection(), QStringLiteral("records"));
    // The program has its table open before it prints.
    dataset->open();
    source = std::make_unique<report::TDataSource>(dataset.get());
    report.setDataSource(source.get());
    report.IsStored = true;
    report.SetPredloha(benchTemplate());
}

int SqlReport::generate() {
    return report.PrepareAndGenerate();
}

EventsReport& eventsReport() {
    static EventsReport bench;
    static const bool ran = bench.report.Generate(true) == 0;
    (void)ran;
    return bench;
}

SqlReport& sqlReport() {
    static SqlReport bench;
    static const bool ran = bench.generate() == 0;
    (void)ran;
    return bench;
}

} // namespace benchwork
