#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Temporary names per target: more writers of one file at a time than this fail to open.
constexpr int kSlots = 16;
// Writes are gathered up to this size before they go to the file.
constexpr qsizetype kBufferSize = 64 * 1024;

QByteArray slotName(const QByteArray& target, int slot) {
    return target + ".kolvtmp" + QByteArray::number(slot);
}

// Files that cannot be synced (special files, some file systems) report EINVAL or EROFS: that
// is no lost data. Any other error (EIO, ENOSPC, EDQUOT on network and delayed-allocation file
// systems) is.
bool syncToDisk(int handle) {
    while (::fsync(handle) != 0) {
        if (errno == EINTR) continue;
        return errno == EINVAL || errno == EROFS;
    }
    return true;
}

// Removes `path` when it is what a killed writer left: a regular file nobody holds locked. The
// lock is taken before the file is removed, so a live writer's file is never touched.
void removeLeftover(const QByteArray& path) {
    const int handle = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) return;
    struct stat opened {};
    struct stat named {};
    if (::fstat(handle, &opened) == 0 && S_ISREG(opened.st_mode) &&
        ::flock(handle, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.constData(), &named) == 0 &&
        named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
        ::unlink(path.constData());
    ::close(handle);
}

// A new file at `path`, locked; -1 with errno set when it cannot be had. A file that some
// other save removed as a leftover before it was locked reports EEXIST: another name is due.
int createLocked(const QByteArray& path) {
    const int handle =
        ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (handle < 0) return -1;
    struct stat created {};
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0 || ::fstat(handle, &created) != 0 ||
        created.st_nlink == 0) {
        ::close(handle);
        errno = EEXIST;
        return -1;
    }
    return handle;
}

// The file a name stands for: symbolic links followed (a bounded number of times).
QString resolvedTarget(const QString& fileName) {
    QFileInfo info(fileName);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? fileName : info.filePath();
}

// The present content of `target` kept under a temporary name of its own: a second name for
// the same file where the file system allows one, else the file moved there. Empty on failure.
QByteArray keepAside(const QByteArray& target) {
    for (int slot = 1; slot <= kSlots; ++slot) {
        // Taken slots are passed over, never cleared: a staged file of the same target may wait
        // there, unlocked.
        const QByteArray aside = slotName(target, slot);
        if (::link(target.constData(), aside.constData()) == 0) return aside;
        if (errno == EEXIST) continue;
        if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK) return {};
        if (::access(aside.constData(), F_OK) != 0 &&
            ::rename(target.constData(), aside.constData()) == 0)
            return aside;
        return {};
    }
    return {};
}

// What tells a file from one given its name later, when a freed inode number may be given again
// at once: the second is a link of another file, of another size or changed at another time.
std::array<qint64, 6> identity(const struct stat& file) {
    return {qint64(file.st_dev),  qint64(file.st_ino),         qint64(file.st_nlink),
            qint64(file.st_size), qint64(file.st_ctim.tv_sec), qint64(file.st_ctim.tv_nsec)};
}

// Gives `target` back the content kept aside (a second name of the same file is just dropped).
void putBack(const QByteArray& target, const QByteArray& aside) {
    ::rename(aside.constData(), target.constData());
    ::unlink(aside.constData());
}

} // namespace

AtomicFile::AtomicFile(const QString& fileName) : m_target(fileName) {}

AtomicFile::~AtomicFile() {
    cancel();
}

void AtomicFile::fail(int error) {
    m_failed = true;
    setErrorString(QString::fromLocal8Bit(std::strerror(error)));
}

bool AtomicFile::open() {
    if (isOpen() || m_staged || m_target.isEmpty()) return false;
    m_failed = false;
    m_target = resolvedTarget(m_target);
    const QByteArray target = QFile::encodeName(m_target);
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        fail(EISDIR);
        return false;
    }
    // As QSaveFile did: a file that may not be written is not replaced either.
    if (exists && ::access(target.constData(), W_OK) != 0) {
        fail(errno);
        return false;
    }
    for (int slot = 1; slot <= kSlots; ++slot)
        removeLeftover(slotName(target, slot));
    for (int slot = 1; slot <= kSlots && m_handle < 0; ++slot) {
        const QByteArray name = slotName(target, slot);
        m_handle = createLocked(name);
        if (m_handle >= 0) {
            m_temporary = name;
        } else if (errno != EEXIST) {
            fail(errno);
            return false;
        }
    }
    if (m_handle < 0) {
        fail(EEXIST);
        return false;
    }
    if (exists) ::fchmod(m_handle, existing.st_mode & 07777);
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 AtomicFile::readData(char*, qint64) {
    return -1;
}

qint64 AtomicFile::writeData(const char* data, qint64 size) {
    if (m_failed || m_handle < 0) return -1;
    m_buffer.append(data, size);
    if (m_buffer.size() >= kBufferSize && !flushBuffer()) return -1;
    return size;
}

bool AtomicFile::flushBuffer() {
    qsizetype done = 0;
    while (!m_failed && done < m_buffer.size()) {
        const ssize_t n =
            ::write(m_handle, m_buffer.constData() + done, size_t(m_buffer.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            fail(errno);
        else if (n == 0)
            fail(ENOSPC);
    }
    m_buffer.clear();
    return !m_failed;
}

bool AtomicFile::finishWriting() {
    if (m_failed || !flushBuffer()) return false;
    if (syncToDisk(m_handle)) return true;
    fail(errno);
    return false;
}

bool AtomicFile::holdsStagedFile() const {
    struct stat named {};
    return ::lstat(m_temporary.constData(), &named) == 0 && identity(named) == m_stagedIdentity;
}

bool AtomicFile::commit(const std::function<bool()>& beforeReplacing) {
    if (!isOpen() && !m_staged) return false;
    if (m_staged && !holdsStagedFile()) {
        fail(ENOENT);
        m_temporary.clear(); // the name is another writer's now
        cancel();
        return false;
    }
    if ((!m_staged && !finishWriting()) || (beforeReplacing && !beforeReplacing())) {
        cancel();
        return false;
    }
    // Renamed while still locked: no other save takes it for a leftover on the way.
    if (::rename(m_temporary.constData(), QFile::encodeName(m_target).constData()) != 0) {
        fail(errno);
        cancel();
        return false;
    }
    m_temporary.clear();
    cancel(); // nothing is left to remove: closes the handle
    return true;
}

bool AtomicFile::stage() {
    if (!isOpen()) return false;
    struct stat written {};
    if (!finishWriting() || ::fstat(m_handle, &written) != 0) {
        cancel();
        return false;
    }
    m_stagedIdentity = identity(written);
    ::close(m_handle);
    m_handle = -1;
    QIODevice::close();
    m_staged = true;
    return true;
}

void AtomicFile::cancel() {
    // Removed before the handle and its lock go; a staged file only while its name is still its.
    if (!m_temporary.isEmpty() && (!m_staged || holdsStagedFile()))
        ::unlink(m_temporary.constData());
    m_temporary.clear();
    if (m_handle >= 0) ::close(m_handle);
    m_handle = -1;
    m_buffer.clear();
    m_staged = false;
    if (isOpen()) QIODevice::close();
}

void AtomicFile::close() {
    cancel();
}

bool commitTogether(const std::vector<AtomicFile*>& staged) {
    struct Replaced {
        QByteArray target;
        QByteArray aside; // its previous content; empty when there was none
    };
    std::vector<Replaced> replaced;
    bool complete = true;
    for (AtomicFile* file : staged) {
        if (!complete || !file->isStaged()) {
            complete = false;
            file->cancel();
            continue;
        }
        Replaced r{QFile::encodeName(file->targetName()), {}};
        struct stat existing {};
        if (::lstat(r.target.constData(), &existing) == 0) {
            r.aside = S_ISREG(existing.st_mode) ? keepAside(r.target) : QByteArray();
            if (r.aside.isEmpty()) {
                complete = false;
                file->cancel();
                continue;
            }
        }
        if (!file->commit()) {
            complete = false;
            if (!r.aside.isEmpty()) putBack(r.target, r.aside);
            continue;
        }
        replaced.push_back(r);
    }
    for (auto r = replaced.rbegin(); r != replaced.rend(); ++r) {
        if (complete)
            ::unlink(r->aside.constData());
        else if (!r->aside.isEmpty())
            putBack(r->target, r->aside);
        else
            ::unlink(r->target.constData());
    }
    return complete;
}

bool writeFileAtomically(const QString& fileName, const QByteArray& bytes) {
    return writeFileAtomically(fileName,
                               [&](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

bool writeFileAtomically(const QString& fileName, const std::function<bool(QIODevice&)>& write) {
    AtomicFile file(fileName);
    return file.open() && write(file) && file.commit();
}

} // namespace platform
