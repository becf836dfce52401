#pragma once
// Files written completely or not at all. The new content goes to a temporary file beside the
// target; only when every write, the final flush and the sync to disk have succeeded does it
// replace the target in one rename. Any failure, a cancel, or destruction without a commit
// removes the temporary file and leaves the previous file (or its absence) as it was.
//
// QSaveFile alone is not enough: its commit renames even when the final flush fails, which on
// a full disk replaces a small file by an empty one and reports success.

#include <QIODevice>
#include <QSaveFile>
#include <QString>

#include <functional>

namespace platform {

// A write-only stream into `fileName`, for writers that stream (exports page by page, images
// through QImageWriter) and may be cancelled half way.
class AtomicFile final : public QIODevice {
public:
    explicit AtomicFile(const QString& fileName);
    // Cancels unless committed.
    ~AtomicFile() override;

    // Creates the temporary file; false when it cannot be created (folder missing or not
    // writable, target a folder).
    bool open();
    // Flushes and checks, then runs `beforeReplacing` (false from it cancels; a template save
    // keeps its backup copy there, once the new content is safely written) and replaces the
    // target. True only when the target now holds every byte written.
    bool commit(const std::function<bool()>& beforeReplacing = {});
    // Drops what was written; the target stays as it was.
    void cancel();
    // Closing without a commit cancels.
    void close() override;

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    using QIODevice::open;

    QSaveFile m_file;
    bool m_failed = false; // a write fell short: the commit must fail
};

// `bytes` as the whole content of `fileName`; false, with the previous file untouched, on any
// failure.
bool writeFileAtomically(const QString& fileName, const QByteArray& bytes);
// The content `write` streams into `fileName`; false from `write` cancels.
bool writeFileAtomically(const QString& fileName, const std::function<bool(QIODevice&)>& write);

} // namespace platform
