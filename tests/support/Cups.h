#pragma once
// Helpers for tests that print through the CUPS scheduler that scripts/test.sh runs.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

#include <cups/cups.h>
#include <pwd.h>
#include <unistd.h>

namespace testsupport {

// True when a scheduler accepts connections.
inline bool schedulerAnswers(const char* server = cupsServer()) {
    http_t* http = httpConnect2(server, ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1,
                                3000, nullptr);
    if (!http) return false;
    httpClose(http);
    return true;
}

// Printer tests skip when no scheduler answers (a developer's machine without CUPS); under
// scripts/test.sh, which runs its own scheduler and sets KOLV_REQUIRE_CUPS, they fail instead.
#define REQUIRE_SCHEDULER()                                                                       \
    if (!testsupport::schedulerAnswers()) {                                                       \
        if (qEnvironmentVariableIsSet("KOLV_REQUIRE_CUPS"))                                       \
            FAIL() << "no CUPS scheduler answers at " << cupsServer() << ", yet printer tests "   \
                   << "must run (KOLV_REQUIRE_CUPS)";                                             \
        GTEST_SKIP() << "no CUPS scheduler answers at " << cupsServer()                           \
                     << "; scripts/test.sh starts one";                                           \
    }

// Points libcups (and so Qt's printer list) at another server while in scope.
class ScopedCupsServer {
public:
    explicit ScopedCupsServer(const char* server) { cupsSetServer(server); }
    ~ScopedCupsServer() { cupsSetServer(nullptr); }
};

// Runs a CUPS administration command; its output when it fails.
inline QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) return program + ": did not finish";
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + ": " + QString::fromLocal8Bit(process.readAllStandardError());
    return {};
}

// A unique name for this process's queues, titles and files.
inline QString uniqueName(const QString& stem) {
    static int counter = 0;
    return QStringLiteral("%1-%2-%3")
        .arg(stem)
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

// A raw queue that delivers its jobs to a listener on loopback; deleted on destruction.
class LoopbackRawQueue {
public:
    LoopbackRawQueue() : m_name(uniqueName(QStringLiteral("KolvRaw"))) {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead,
                                 [this, socket] { m_received += socket->readAll(); });
                QObject::connect(socket, &QTcpSocket::disconnected, [this, socket] {
                    m_received += socket->readAll();
                    ++m_finishedConnections;
                    socket->deleteLater();
                });
            }
        });
        m_error = runTool(QStringLiteral("lpadmin"),
                          {"-p", m_name, "-E", "-v",
                           QStringLiteral("socket://127.0.0.1:%1").arg(m_server.serverPort()),
                           "-m", "raw"});
    }
    ~LoopbackRawQueue() { runTool(QStringLiteral("lpadmin"), {"-x", m_name}); }

    const QString& name() const { return m_name; }
    const QString& error() const { return m_error; }
    // Processes events until a job's connection has closed or `ms` has passed.
    const QByteArray& waitForJob(int ms) {
        QElapsedTimer timer;
        timer.start();
        while (m_finishedConnections == 0 && timer.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return m_received;
    }

private:
    QString m_name;
    QString m_error;
    QTcpServer m_server;
    QByteArray m_received;
    int m_finishedConnections = 0;
};

// Where the CUPS-PDF queue puts the PDFs of this user's jobs.
inline QString cupsPdfFolder() {
    const passwd* user = getpwuid(getuid());
    return QDir(user ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath()).filePath("PDF");
}

// The CUPS-PDF files whose name starts with `title`.
inline QStringList cupsPdfFiles(const QString& title) {
    return QDir(cupsPdfFolder()).entryList({title + "*.pdf"}, QDir::Files);
}

// Jobs of `queue` whose title is `title`, whatever their state.
inline int jobsTitled(const QString& queue, const QString& title) {
    cups_job_t* jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
    int found = 0;
    for (int i = 0; i < count; ++i)
        found += QString::fromUtf8(jobs[i].title) == title;
    cupsFreeJobs(count, jobs);
    return found;
}

// The value of one `pdfinfo` field ("Pages", "Page size"); empty when pdfinfo fails.
inline QString pdfInfo(const QString& file, const QString& field) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {file});
    process.waitForFinished(30000);
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n'))
        if (line.startsWith(field + ':')) return line.mid(field.size() + 1).trimmed();
    return {};
}

} // namespace testsupport
