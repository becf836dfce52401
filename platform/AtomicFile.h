#pragma once
// Files written completely or not at all. The new content goes to a temporary file beside the
// target; only when every write, the final flush and the sync to disk have succeeded does it
// replace the target in one rename. Any failure, a cancel, or destruction without a commit
// removes the temporary file and leaves the previous file (or its absence) as it was.
//
// The temporary file of "name" is "name.kolvtmp1" (or ...2 up to ...16 while other writers of
// the same file hold the lower ones), locked for as long as its writer lives. A process killed
// before it could remove its temporary file leaves it unlocked, and the next save of the same
// file removes it: no stray file outlives one more save.
//
// QSaveFile is not used: its commit renames even when the final flush fails (on a full disk a
// small file becomes an empty one, reported as success), and its temporary names are random,
// so a killed writer's leftovers stay for good.

#include <QIODevice>
#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace platform {

// A write-only stream into `fileName`, for writers that stream (exports page by page, images
// through QImageWriter) and may be cancelled half way. A symbolic link as target is followed:
// the file it names is replaced.
class AtomicFile final : public QIODevice {
public:
    explicit AtomicFile(const QString& fileName);
    // Cancels unless committed.
    ~AtomicFile() override;

    // Creates the temporary file, removing what killed writers of the same file left; false
    // when it cannot be created (folder missing or not writable, target a folder or a file
    // that may not be written).
    bool open();
    // Flushes and checks, then runs `beforeReplacing` (false from it cancels; a template save
    // keeps its backup copy there, once the new content is safely written) and replaces the
    // target. True only when the target now holds every byte written.
    bool commit(const std::function<bool()>& beforeReplacing = {});
    // Flushes and checks like a commit, but leaves the content waiting beside the target, its
    // handle closed, for a later commit (many files replaced together, commitTogether). False,
    // with nothing left behind, when the content is not all on disk. A staged file holds no
    // lock (an export may stage more files than a process may keep open): a save of the same
    // file meanwhile takes it for a leftover, and the later commit fails (and leaves alone what
    // another writer may have put at its name since).
    bool stage();
    bool isStaged() const { return m_staged; }
    // Drops what was written (staged or not); the target stays as it was.
    void cancel();
    // Closing without a commit cancels.
    void close() override;

    bool isSequential() const override { return true; }
    // The file replaced by the commit (a symbolic link's target).
    const QString& targetName() const { return m_target; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    using QIODevice::open;
    bool flushBuffer();
    bool finishWriting();
    void fail(int error);
    // Whether the staged file is still at its name: a save of the same target meanwhile may
    // have removed it, and another writer may hold the name now.
    bool holdsStagedFile() const;

    QString m_target;
    QByteArray m_temporary; // encoded name of the temporary file; empty when there is none
    int m_handle = -1;
    QByteArray m_buffer;
    bool m_staged = false;
    std::array<qint64, 6> m_stagedIdentity{}; // of the staged file, as it was staged
    bool m_failed = false;                    // a write fell short: the commit must fail
};

// Replaces the targets of `staged` files (each stage()d) together: either every target holds
// its new content, or, when one cannot be replaced, the targets replaced before it get their
// previous content back (or vanish when they had none) and the answer is false. The staged
// files are committed or cancelled either way.
bool commitTogether(const std::vector<AtomicFile*>& staged);

// `bytes` as the whole content of `fileName`; false, with the previous file untouched, on any
// failure.
bool writeFileAtomically(const QString& fileName, const QByteArray& bytes);
// The content `write` streams into `fileName`; false from `write` cancels.
bool writeFileAtomically(const QString& fileName, const std::function<bool(QIODevice&)>& write);

} // namespace platform
