#include "platform/AtomicFile.h"

#include <cerrno>

#include <unistd.h>

namespace platform {

namespace {

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

} // namespace

AtomicFile::AtomicFile(const QString& fileName) : m_file(fileName) {}

AtomicFile::~AtomicFile() {
    cancel();
}

bool AtomicFile::open() {
    if (isOpen()) return false;
    m_failed = false;
    if (!m_file.open(QIODevice::WriteOnly)) {
        setErrorString(m_file.errorString());
        return false;
    }
    // Unbuffered: every write reaches writeData at once, so none can fail unseen.
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 AtomicFile::readData(char*, qint64) {
    return -1;
}

qint64 AtomicFile::writeData(const char* data, qint64 size) {
    if (m_failed) return -1;
    if (m_file.write(data, size) != size) {
        m_failed = true;
        setErrorString(m_file.errorString());
        return -1;
    }
    return size;
}

bool AtomicFile::commit(const std::function<bool()>& beforeReplacing) {
    if (!isOpen()) return false;
    const bool written = !m_failed && m_file.flush() && m_file.error() == QFileDevice::NoError &&
                         syncToDisk(m_file.handle());
    if (!written) setErrorString(m_file.errorString());
    if (!written || (beforeReplacing && !beforeReplacing())) {
        cancel();
        return false;
    }
    QIODevice::close();
    // Nothing is left to flush: the commit only syncs and renames.
    if (m_file.commit()) return true;
    setErrorString(m_file.errorString());
    return false;
}

void AtomicFile::cancel() {
    if (!isOpen()) return;
    m_file.cancelWriting();
    m_file.commit(); // removes the temporary file, since writing was cancelled
    QIODevice::close();
}

void AtomicFile::close() {
    cancel();
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
