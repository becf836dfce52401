#pragma once
// A real SQLite database for the report tests, built by the sqlite3 command-line tool (not by
// Qt), in a temporary folder, and a Qt connection to it that is removed after the test.

#include <QProcess>
#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace reporttest {

// Runs `script` through `sqlite3 <file>` in `folder`; the tool's output on failure.
inline void runSqlite3(const QString& folder, const QString& file, const QString& script) {
    QProcess tool;
    tool.setWorkingDirectory(folder);
    tool.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), file});
    ASSERT_TRUE(tool.waitForStarted(10000)) << "sqlite3 (Debian package sqlite3) is missing";
    tool.write(script.toUtf8());
    tool.closeWriteChannel();
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

// The points table of the binding tests: NULLs, a memo with Czech letters, a BMP blob (read by
// the tool from the committed fixture), ISO dates.
inline QString pointsScript() {
    return QStringLiteral(
        "CREATE TABLE points(name VARCHAR(12), grp TEXT, t REAL, p REAL, n INTEGER, "
        "ok BOOLEAN, note MEMO, logo GRAPHIC, measured DATE, at DATETIME);\n"
        "INSERT INTO points VALUES('b2', 'B', 150.5, 0.1, 2, 1, 'Příliš žluťoučký kůň', "
        "readfile('" KOLV_TEST_DATA_DIR "/logo.bmp'), '2024-03-15', '2024-03-15 12:30:00');\n"
        "INSERT INTO points VALUES('a1', 'A', 20, 1, 1, 0, NULL, NULL, '1899-12-29', NULL);\n"
        "INSERT INTO points VALUES('b1', 'B', NULL, NULL, NULL, NULL, '', NULL, NULL, NULL);\n"
        "CREATE TABLE empty(a TEXT, b REAL);\n");
}

class SqliteFixture : public testing::Test {
protected:
    SqliteFixture() : m_connection(QStringLiteral("reporttest_%1").arg(++s_connections)) {}

    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    void TearDown() override {
        if (QSqlDatabase::contains(m_connection)) {
            QSqlDatabase::database(m_connection, false).close();
            QSqlDatabase::removeDatabase(m_connection);
        }
    }

    // Builds `file` by the tool and opens a connection to it.
    void createDatabase(const QString& script,
                        const QString& file = QStringLiteral("data.sqlite")) {
        ASSERT_NO_FATAL_FAILURE(runSqlite3(m_dir.path(), file, script));
        connectTo(m_dir.filePath(file));
    }

    void connectTo(const QString& path) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(path);
    }

private:
    static inline int s_connections = 0;

protected:
    QTemporaryDir m_dir;
    QString m_connection;
};

} // namespace reporttest
