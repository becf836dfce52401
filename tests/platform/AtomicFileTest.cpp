// Files written completely or not at all: what a commit, a cancel and a failure leave behind,
// on an ordinary folder and on a real full file system.

#include "platform/AtomicFile.h"
#include "FullDisk.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
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
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
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

// A symbolic link stays a link: the file it names gets the new content, beside which the
// temporary file lived and from where it went.
TEST(AtomicFile, WritingThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    const struct {
        const char* how;
        const char* link;
        const char* linkTo; // as the link holds it
        const char* target;
    } cases[] = {
        {"beside", "a/link.txt", "data.txt", "a/data.txt"},
        {"into another folder", "a/link.txt", "../b/data.txt", "b/data.txt"},
        {"through a second link", "a/link.txt", "../b/link.txt", "b/data.txt"},
        {"to a file not there yet", "a/link.txt", "../b/new.txt", "b/new.txt"},
    };
    const QMap<QString, QByteArray> originals{{"a/data.txt", pattern(700, 'a')},
                                              {"b/data.txt", pattern(900, 'b')}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        QTemporaryDir dir;
        const QDir root(dir.path());
        ASSERT_TRUE(root.mkdir("a") && root.mkdir("b"));
        for (auto original = originals.begin(); original != originals.end(); ++original)
            ASSERT_TRUE(writeFile(dir.filePath(original.key()), *original));
        ASSERT_TRUE(QFile::link("data.txt", dir.filePath("b/link.txt")));
        ASSERT_TRUE(QFile::link(c.linkTo, dir.filePath(c.link)));
        const QStringList beforeA = namesIn(dir.filePath("a")),
                          beforeB = namesIn(dir.filePath("b"));
        const QString targetBefore = QFileInfo(dir.filePath(c.link)).symLinkTarget();

        const QByteArray next = pattern(3000, 'n');
        AtomicFile file(dir.filePath(c.link));
        ASSERT_TRUE(file.open());
        EXPECT_EQ(file.targetName(), QFileInfo(dir.filePath(c.target)).absoluteFilePath());
        ASSERT_EQ(file.write(next), next.size());
        ASSERT_TRUE(file.commit());

        const QFileInfo link(dir.filePath(c.link));
        EXPECT_TRUE(link.isSymLink());
        EXPECT_EQ(link.symLinkTarget(), targetBefore);
        EXPECT_FALSE(QFileInfo(dir.filePath(c.target)).isSymLink());
        EXPECT_EQ(readFile(dir.filePath(c.target)), next);
        EXPECT_EQ(namesIn(dir.filePath("a")), beforeA);
        QStringList expectedB = beforeB + QStringList{QFileInfo(c.target).fileName()};
        expectedB.removeDuplicates();
        expectedB.sort();
        EXPECT_EQ(namesIn(dir.filePath("b")), expectedB);
        for (auto other = originals.begin(); other != originals.end(); ++other)
            if (other.key() != c.target) {
                EXPECT_EQ(readFile(dir.filePath(other.key())), *other);
            }
    }
}

// The helper only writes: opened its own way it is not readable, and opened by way of
// QIODevice for reading as well it gives nothing to read, takes no byte and commits nothing.
TEST(AtomicFile, GivesNothingToRead) {
    QTemporaryDir dir;
    const QString path = dir.filePath("data.bin");
    ASSERT_TRUE(writeFile(path, "previous"));
    char byte = 0;
    {
        AtomicFile file(path);
        ASSERT_TRUE(file.open());
        EXPECT_FALSE(file.isReadable());
        EXPECT_EQ(file.read(&byte, 1), -1);
        EXPECT_EQ(file.write("x"), 1);
        EXPECT_TRUE(file.commit());
    }
    EXPECT_EQ(readFile(path), "x");
    AtomicFile file(path);
    QIODevice& device = file;
    ASSERT_TRUE(device.open(QIODevice::ReadWrite));
    EXPECT_EQ(device.read(&byte, 1), -1);
    EXPECT_EQ(device.write("y"), -1);
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(readFile(path), "x");
    EXPECT_EQ(namesIn(dir.path()), QStringList{"data.bin"});
}

// A commit whose last step fails reports it and leaves what is at the target as it was: a
// folder put where the new file was to go, or a later save of the same file that took a staged
// file for a leftover. The tests may run as root, whom permission bits do not stop.
TEST(AtomicFile, ACommitThatCannotReplaceFailsAndLeavesTheTargetAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath("data.bin");
    {
        AtomicFile file(path);
        ASSERT_TRUE(file.open());
        file.write(pattern(100, 'n'));
        ASSERT_TRUE(QDir(dir.path()).mkdir("data.bin"));
        ASSERT_TRUE(writeFile(dir.filePath("data.bin/inside.txt"), "inside"));
        EXPECT_FALSE(file.commit());
        EXPECT_NE(file.errorString(), AtomicFile(path).errorString());
    }
    EXPECT_EQ(readFile(dir.filePath("data.bin/inside.txt")), "inside");
    EXPECT_EQ(namesIn(dir.path()), QStringList{"data.bin"});
    ASSERT_TRUE(QDir(path).removeRecursively());

    const QByteArray meanwhile = pattern(4000, 'm');
    AtomicFile staged(path);
    ASSERT_TRUE(staged.open());
    staged.write(pattern(5000, 's'));
    ASSERT_TRUE(staged.stage());
    ASSERT_TRUE(writeFileAtomically(path, meanwhile));
    EXPECT_FALSE(staged.commit());
    EXPECT_NE(staged.errorString(), AtomicFile(path).errorString());
    EXPECT_EQ(readFile(path), meanwhile);
    EXPECT_EQ(namesIn(dir.path()), QStringList{"data.bin"});

    // A live writer of the same file may now hold the staged file's name: the staged file
    // neither commits nor removes what is now the live writer's.
    for (const bool commit : {true, false}) {
        SCOPED_TRACE(commit ? "commit" : "cancel");
        AtomicFile stale(path);
        ASSERT_TRUE(stale.open());
        stale.write(pattern(5000, 's'));
        ASSERT_TRUE(stale.stage());
        AtomicFile live(path);
        ASSERT_TRUE(live.open());
        live.write(pattern(3000, 'l'));
        if (commit)
            EXPECT_FALSE(stale.commit());
        else
            stale.cancel();
        EXPECT_EQ(readFile(path), meanwhile);
        EXPECT_TRUE(live.commit());
        EXPECT_EQ(readFile(path), pattern(3000, 'l'));
        ASSERT_TRUE(writeFile(path, meanwhile));
        EXPECT_EQ(namesIn(dir.path()), QStringList{"data.bin"});
    }
}

// Files replaced together: when one of them cannot be replaced, those replaced before it get
// their previous content back and those that were new go again, byte for byte as before.
TEST(AtomicFile, FilesReplacedTogetherAllGetTheirPreviousContentBackWhenOneFails) {
    QTemporaryDir dir;
    const QString first = dir.filePath("first.bin"), fresh = dir.filePath("fresh.bin"),
                  last = dir.filePath("last.bin");
    const QByteArray firstBefore = pattern(3000, 'f'), lastMeanwhile = pattern(2000, 'l');
    ASSERT_TRUE(writeFile(first, firstBefore));
    ASSERT_TRUE(writeFile(last, "before"));
    AtomicFile a(first), b(fresh), c(last);
    for (AtomicFile* file : {&a, &b, &c}) {
        ASSERT_TRUE(file->open());
        file->write(pattern(6000, 'x'));
        ASSERT_TRUE(file->stage());
    }
    ASSERT_TRUE(writeFileAtomically(last, lastMeanwhile)); // takes c's staged file
    EXPECT_FALSE(platform::commitTogether({&a, &b, &c}));
    EXPECT_EQ(readFile(first), firstBefore);
    EXPECT_FALSE(QFileInfo::exists(fresh));
    EXPECT_EQ(readFile(last), lastMeanwhile);
    EXPECT_EQ(namesIn(dir.path()), (QStringList{"first.bin", "last.bin"}));
    for (AtomicFile* file : {&a, &b, &c})
        EXPECT_FALSE(file->isStaged());
}
