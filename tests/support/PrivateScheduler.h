#pragma once
// A CUPS scheduler of the test's own, all in a temporary folder: a test may freeze it, stop it
// or give it failing printers without touching the one other tests print through. Point libcups
// (and so Qt) at it with ScopedCupsServer(scheduler.server()), then REQUIRE_SCHEDULER. Its
// queues use our backend "kolv": `kolv:/fail` fails each job as a jammed printer does, `kolv:/`
// keeps its bytes in jobs/<id>. Graphic queues get data/kolv-test.ppd; text queues are raw.

#include "Cups.h"
#include "platform/Printers.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace testsupport {

class PrivateScheduler {
public:
    static constexpr const char* jamMessage = "Paper jam in tray 2";

    PrivateScheduler() : m_server(QFile::encodeName(m_root.filePath("cups.sock"))) {
        // The scheduler drops its rights for its helpers, which must reach the folder.
        QFile::setPermissions(m_root.path(), QFile::permissions(m_root.path()) | QFile::ExeGroup |
                                                 QFile::ExeOther);
        for (const char* dir :
             {"conf", "bin/backend", "spool", "cache", "state", "log", "tmp", "jobs"})
            QDir(m_root.path()).mkpath(dir);
        for (const char* dir : {"filter", "cgi-bin", "daemon", "monitor", "notifier", "driver"})
            QFile::link(QStringLiteral("/usr/lib/cups/") + dir, path("bin/") + dir);
        write("bin/backend/kolv",
              "#!/bin/sh\n[ $# -eq 0 ] && exit 0\ncase \"$DEVICE_URI\" in\n"
              "*fail) echo \"ERROR: %1\" >&2; exit 1;;\nesac\ncat \"${6:--}\" > %2/jobs/\"$1\"\n");
        QFile::setPermissions(path("bin/backend/kolv"), QFile::ReadOwner | QFile::ExeOwner);
        write("conf/cups-files.conf",
              "ServerRoot %2/conf\nRequestRoot %2/spool\nCacheDir %2/cache\nStateDir %2/state\n"
              "TempDir %2/tmp\nServerBin %2/bin\nErrorLog %2/log/error_log\n"
              "AccessLog %2/log/access_log\nPageLog %2/log/page_log\nSystemGroup root\n");
        write("conf/cupsd.conf", "Listen %3\nBrowsing No\nErrorPolicy stop-printer\n"
                                 "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n"
                                 "</Policy>\n");
        m_cupsd.setProgram(QStringLiteral("/usr/sbin/cupsd"));
        m_cupsd.setArguments(
            {"-f", "-c", path("conf/cupsd.conf"), "-s", path("conf/cups-files.conf")});
        m_cupsd.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // It dies with the test, however the test ends.
        m_cupsd.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_cupsd.start();
        for (int i = 0; i < 400 && m_cupsd.waitForStarted() && !schedulerAnswers(server()); ++i)
            QThread::msleep(50);
    }
    // Leaves none of its printers selected.
    ~PrivateScheduler() {
        platform::PrinterSystem::instance().selectPrinter(-2);
        stop();
    }

    const char* server() const { return m_server.constData(); }
    QString path(const QString& name) const { return m_root.filePath(name); }

    // Adds a graphic (our PPD) or raw queue, failing or keeping its jobs; lpadmin's complaint.
    QString addQueue(const QString& name, bool textOnly, bool failing,
                     const QStringList& options = {}) {
        QStringList args{
            "-h", server(), "-p", name, "-E", "-v", failing ? "kolv:/fail" : "kolv:/"};
        args << (textOnly ? QStringList{"-m", "raw"}
                          : QStringList{"-P", KOLV_TEST_DATA_DIR "/kolv-test.ppd"});
        for (const QString& option : options)
            args << "-o" << option;
        return runTool(QStringLiteral("lpadmin"), args);
    }

    // A frozen scheduler takes connections (the system queues them) and never answers.
    void freeze() { sendSignal(SIGSTOP); }
    void thaw() { sendSignal(SIGCONT); }
    // From now on connections are refused.
    void stop() {
        if (m_cupsd.state() == QProcess::NotRunning) return;
        thaw();
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(10000)) m_cupsd.kill();
        m_cupsd.waitForFinished(10000);
    }

    // The jobs the backend kept, in the order they came.
    QStringList keptJobs() const {
        return QDir(path("jobs")).entryList(QDir::Files, QDir::Time | QDir::Reversed);
    }

private:
    void sendSignal(int number) {
        if (m_cupsd.processId() > 0) ::kill(pid_t(m_cupsd.processId()), number);
    }

    // `text` with %1 the jam message, %2 the folder and %3 the socket.
    void write(const char* name, const char* text) {
        QFile file(path(QString::fromLatin1(name)));
        if (file.open(QIODevice::WriteOnly))
            file.write(QString::fromLatin1(text)
                           .replace("%1", QString::fromLatin1(jamMessage))
                           .replace("%2", m_root.path())
                           .replace("%3", QFile::decodeName(m_server))
                           .toUtf8());
    }

    QTemporaryDir m_root;
    QByteArray m_server;
    QProcess m_cupsd;
};

} // namespace testsupport
