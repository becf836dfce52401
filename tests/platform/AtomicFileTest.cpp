// Files written completely or not at all: what a commit, a cancel and a failure leave behind,
// on an ordinary folder and on a real full file system.

#include "platform/AtomicFile.h"
#include "FullDisk.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using platform::AtomicFile;
using platform::writeFileAtomically;

namespace {

// The names in `folder`: a write that failed or was cancelled leaves no temporary file.
QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Bytes that differ from position to position, so a truncated or shifted copy shows.
QByteArray pattern(qsizetype size, char seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 31 + i / 251);
    return bytes;
}

} // namespace

TEST(AtomicFile, ACommitReplacesTheWholeFileAndEverythingElseLeavesItAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath("data.bin");
    const QByteArray previous = pattern(5000, 'p');
    ASSERT_TRUE(writeFile(path, previous));

    // Streamed in pieces, bigger and smaller than any buffer.
    const QByteArray next = pattern(100'000, 'n');
    AtomicFile file(path);
    ASSERT_TRUE(file.open());
    for (qsizetype at = 0; at < next.size(); at += 7777)
        ASSERT_EQ(file.write(next.mid(at, 7777)), next.mid(at, 7777).size());
    EXPECT_EQ(readFile(path), previous) << "replaced before the commit";
    EXPECT_TRUE(file.commit());
    EXPECT_EQ(readFile(path), next);
    EXPECT_EQ(namesIn(dir.path()), QStringList{"data.bin"});

    const auto leavesTheFile = [&](const char* how, const std::function<void()>& attempt) {
        SCOPED_TRACE(how);
        attempt();
        EXPECT_EQ(readFile(path), next);
        EXPECT_EQ(namesIn(dir.path()), QStringList{"data.bin"});
    };
    leavesTheFile("cancel", [&] {
        AtomicFile cancelled(path);
        ASSERT_TRUE(cancelled.open());
        cancelled.write("partial");
        cancelled.cancel();
        EXPECT_FALSE(cancelled.commit());
    });
    leavesTheFile("destroyed", [&] {
        AtomicFile dropped(path);
        ASSERT_TRUE(dropped.open());
        dropped.write("partial");
    });
    leavesTheFile("closed", [&] {
        AtomicFile closed(path);
        ASSERT_TRUE(closed.open());
        closed.write("partial");
        closed.close();
        EXPECT_FALSE(closed.commit());
    });
    leavesTheFile("writer gave up", [&] {
        EXPECT_FALSE(writeFileAtomically(path, [](QIODevice& device) {
            device.write("partial");
            return false;
        }));
    });
    leavesTheFile("refused before replacing", [&] {
        AtomicFile refused(path);
        ASSERT_TRUE(refused.open());
        refused.write("partial");
        EXPECT_FALSE(refused.commit([] { return false; }));
    });
}

TEST(AtomicFile, TheStepBeforeReplacingStillSeesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.pts");
    ASSERT_TRUE(writeFile(path, "old"));
    AtomicFile file(path);
    ASSERT_TRUE(file.open());
    file.write("new content");
    QByteArray seen;
    EXPECT_TRUE(file.commit([&] {
        seen = readFile(path);
        return true;
    }));
    EXPECT_EQ(seen, "old");
    EXPECT_EQ(readFile(path), "new content");
}

TEST(AtomicFile, AFileThatCannotBeCreatedFailsAtOnceAndTouchesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    for (const QString& name : {QString("missing/file.txt"), QString("folder")}) {
        SCOPED_TRACE(name.toStdString());
        AtomicFile file(dir.filePath(name));
        EXPECT_FALSE(file.open());
        EXPECT_FALSE(file.commit());
        EXPECT_FALSE(writeFileAtomically(dir.filePath(name), QByteArray("x")));
    }
    EXPECT_EQ(namesIn(dir.path()), QStringList{"folder"});
    EXPECT_TRUE(namesIn(dir.filePath("folder")).isEmpty());
}

// Small files stay in a write buffer until the final flush, large ones fail on the way; both
// must fail, and so must a file that did not exist before.
TEST(AtomicFile, OnAFullDiskEveryWriteFailsAndThePreviousFileStaysByteForByte) {
    if (!FullDisk::insidePrivateMounts()) return FullDisk::runTestInPrivateMounts();
    FullDisk disk;
    ASSERT_TRUE(disk.mounted());
    const QString path = disk.filePath("kept.bin");
    const QByteArray previous = pattern(3000, 'k');
    ASSERT_TRUE(writeFile(path, previous));
    ASSERT_TRUE(disk.fill());
    const QStringList before = namesIn(disk.path());

    for (const qsizetype size : {qsizetype(1), qsizetype(100), qsizetype(200'000)}) {
        SCOPED_TRACE(size);
        EXPECT_FALSE(writeFileAtomically(path, pattern(size, 'n')));
        EXPECT_FALSE(writeFileAtomically(disk.filePath("new.bin"), pattern(size, 'n')));
        // A writer that does not look at what its writes return.
        AtomicFile careless(path);
        ASSERT_TRUE(careless.open());
        for (int i = 0; i < 4; ++i)
            careless.write(pattern(size, 'c'));
        // What must wait for the new content (a backup copy) never runs.
        EXPECT_FALSE(careless.commit([] {
            ADD_FAILURE() << "the content was taken for written";
            return true;
        }));
        EXPECT_EQ(readFile(path), previous);
        EXPECT_EQ(namesIn(disk.path()), before);
    }
}

// The next save of a file removes what killed writers of it left; a live writer keeps its own.
TEST(AtomicFile, TheNextSaveOfAFileRemovesWhatKilledWritersOfItLeft) {
    QTemporaryDir dir;
    const QString config = dir.filePath("kolv.cfg"), other = dir.filePath("zostava.pts");
    for (const QString& target : {config, config, other}) {
        if (::fork() == 0) {
            AtomicFile file(target);
            if (file.open()) file.write("half of it");
            ::raise(SIGKILL);
        }
        ::wait(nullptr);
    }
    EXPECT_EQ(namesIn(dir.path()).size(), 2); // the second writer removed what the first left
    AtomicFile working(config);
    ASSERT_TRUE(working.open());
    ASSERT_TRUE(writeFileAtomically(config, QByteArray("saved")));
    EXPECT_EQ(namesIn(dir.path()).size(), 3);
    EXPECT_TRUE(working.commit());
    ASSERT_TRUE(writeFileAtomically(other, QByteArray("saved")));
    EXPECT_EQ(namesIn(dir.path()), (QStringList{"kolv.cfg", "zostava.pts"}));
}
