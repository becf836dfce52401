#pragma once
// Writers tried on a real full file system: a small tmpfs, filled to its last page.
//
// Mounting needs a mount namespace of the test's own, so a full-disk test runs twice: the
// ordinary run starts the test executable again, for this one test, under `unshare` (as root
// a plain private mount namespace; otherwise a user namespace as well, `unshare -rm`), and
// takes that run's result as its own. A test reads:
//
//     TEST(Writer, FailsOnAFullDisk) {
//         if (!FullDisk::insidePrivateMounts()) return FullDisk::runTestInPrivateMounts();
//         FullDisk disk;
//         ... the previous file on disk.path() ...
//         ASSERT_TRUE(disk.fill());
//         ... the writer fails, the previous file is byte-identical ...
//     }
//
// Root must manage (CI runs as root): only a user without root whose system refuses user
// namespaces has the test skipped.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

class FullDisk {
public:
    static constexpr const char* insideVariable = "KOLV_INSIDE_PRIVATE_MOUNTS";

    static bool insidePrivateMounts() { return qEnvironmentVariableIsSet(insideVariable); }

    // Runs the current test again in a private mount namespace and fails when it fails there.
    static void runTestInPrivateMounts() {
        const std::optional<std::vector<std::string>> unshare = workingUnshare();
        if (!unshare) {
            if (geteuid() == 0) FAIL() << "root, yet no private mount namespace could be made";
            GTEST_SKIP() << "neither root nor user namespaces: no tmpfs can be mounted";
        }
        const testing::TestInfo& test = *testing::UnitTest::GetInstance()->current_test_info();
        std::vector<std::string> arguments = *unshare;
        arguments.push_back(
            QFile::encodeName(QFileInfo("/proc/self/exe").symLinkTarget()).toStdString());
        arguments.push_back(std::string("--gtest_filter=") + test.test_suite_name() + "." +
                            test.name());
        std::vector<std::string> environment{std::string(insideVariable) + "=1"};
        // Without the sharding of a parallel runner, which could leave the one test out.
        for (char** variable = environ; *variable; ++variable)
            if (std::strncmp(*variable, "GTEST_SHARD", 11) != 0 &&
                std::strncmp(*variable, "GTEST_TOTAL_SHARDS", 18) != 0)
                environment.emplace_back(*variable);
        EXPECT_EQ(run(arguments, environment), 0) << "the run in a private mount namespace";
    }

    // A fresh tmpfs of `bytes` (whole pages) on a new temporary folder; see `mounted`.
    explicit FullDisk(qint64 bytes = 256 * 1024) {
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
        m_mounted = m_folder.isValid() && ::mount("tmpfs", QFile::encodeName(path()), "tmpfs",
                                                  MS_NOSUID | MS_NODEV, options.data()) == 0;
        EXPECT_TRUE(m_mounted) << "mounting a tmpfs: " << std::strerror(errno);
    }
    ~FullDisk() {
        if (m_mounted) ::umount2(QFile::encodeName(path()), MNT_DETACH);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_folder.path(); }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }

    // Every file on the disk by name, with its bytes: a failed writer changes none and adds
    // none.
    QMap<QString, QByteArray> contents() const {
        QMap<QString, QByteArray> files;
        for (const QString& name : QDir(path()).entryList(QDir::Files | QDir::Hidden)) {
            QFile file(filePath(name));
            files[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : "(unreadable)";
        }
        return files;
    }
    // The files added, removed or changed since `before` (a `contents()`), as "+name",
    // "-name" and "~name"; empty when none.
    QString changedSince(const QMap<QString, QByteArray>& before) const {
        const QMap<QString, QByteArray> now = contents();
        QStringList changes;
        for (auto file = now.begin(); file != now.end(); ++file)
            if (!before.contains(file.key()))
                changes << "+" + file.key();
            else if (before[file.key()] != file.value())
                changes << "~" + file.key();
        for (auto file = before.begin(); file != before.end(); ++file)
            if (!now.contains(file.key())) changes << "-" + file.key();
        return changes.join(' ');
    }

    // Takes every free page with a filler file: afterwards no byte more can be written. True
    // when the file system reports no free block left.
    bool fill() const {
        const int handle = ::open(QFile::encodeName(filePath("filler")), O_WRONLY | O_CREAT, 0600);
        if (handle < 0) return false;
        const std::vector<char> chunk(64 * 1024, 'f');
        for (std::size_t size = chunk.size(); size > 0; size /= 2)
            while (::write(handle, chunk.data(), size) == ssize_t(size)) {
            }
        ::close(handle);
        struct statvfs space {};
        return ::statvfs(QFile::encodeName(path()), &space) == 0 && space.f_bavail == 0;
    }

private:
    // The first `unshare` call that makes a private mount namespace here, or none.
    static std::optional<std::vector<std::string>> workingUnshare() {
        static const std::optional<std::vector<std::string>> found =
            []() -> std::optional<std::vector<std::string>> {
            std::vector<std::vector<std::string>> candidates;
            if (geteuid() == 0) candidates.push_back({"unshare", "--mount"});
            candidates.push_back({"unshare", "--map-root-user", "--mount"});
            for (const std::vector<std::string>& candidate : candidates) {
                std::vector<std::string> probe = candidate;
                probe.push_back("true");
                if (run(probe, {}) == 0) return candidate;
            }
            return std::nullopt;
        }();
        return found;
    }

    // Runs `arguments` (found on PATH) with `environment`, its output going where ours goes;
    // its exit status, or -1.
    static int run(const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (const std::string& variable : environment)
            envp.push_back(const_cast<char*>(variable.c_str()));
        envp.push_back(nullptr);
        pid_t child = 0;
        if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(),
                         environment.empty() ? environ : envp.data()) != 0)
            return -1;
        int status = 0;
        while (waitpid(child, &status, 0) < 0)
            if (errno != EINTR) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    QTemporaryDir m_folder;
    bool m_mounted = false;
};
