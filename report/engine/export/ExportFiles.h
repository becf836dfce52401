#pragma once
// The files one export writes, each completely or not at all (platform::AtomicFile). An export
// that fails or is cancelled part way removes the files it had already written, so that it
// leaves none of them behind; files it never reached stay as they were.

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>

namespace report {

class ExportFiles {
public:
    ExportFiles() = default;
    // Removes the files written, unless the export kept them.
    ~ExportFiles();
    ExportFiles(const ExportFiles&) = delete;
    ExportFiles& operator=(const ExportFiles&) = delete;

    // Writes `fileName` with what `write` streams into it; false from `write`, or a file that
    // cannot be written, gives false and no file.
    bool write(const QString& fileName, const std::function<bool(QIODevice&)>& write);
    // The export is complete: its files stay.
    void keep() { m_written.clear(); }

private:
    QStringList m_written;
};

} // namespace report
