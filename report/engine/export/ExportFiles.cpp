#include "report/engine/export/ExportFiles.h"

#include "platform/AtomicFile.h"

#include <QFile>

namespace report {

ExportFiles::~ExportFiles() {
    for (const QString& name : m_written)
        QFile::remove(name);
}

bool ExportFiles::write(const QString& fileName, const std::function<bool(QIODevice&)>& write) {
    if (!platform::writeFileAtomically(fileName, write)) return false;
    m_written << fileName;
    return true;
}

} // namespace report
