#pragma once
// The files of one export, all or nothing. Each file is written completely beside its target
// first (platform::AtomicFile, staged); only when the export keeps them do they replace their
// targets, together. An export that fails or is cancelled part way, or whose files cannot all
// be put in place, leaves every earlier file of the same names as it was.

#include "platform/AtomicFile.h"

#include <QIODevice>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace report {

class ExportFiles {
public:
    ExportFiles() = default;
    // Drops the files written, unless the export kept them.
    ~ExportFiles() = default;
    ExportFiles(const ExportFiles&) = delete;
    ExportFiles& operator=(const ExportFiles&) = delete;

    // Writes what `write` streams for `fileName` beside it; false from `write`, or a file that
    // cannot be written, gives false and leaves nothing.
    bool write(const QString& fileName, const std::function<bool(QIODevice&)>& write);
    // The export is complete: its files replace their targets, all of them or none.
    bool keep();

private:
    std::vector<std::unique_ptr<platform::AtomicFile>> m_staged;
};

} // namespace report
