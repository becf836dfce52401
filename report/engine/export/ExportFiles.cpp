#include "report/engine/export/ExportFiles.h"

namespace report {

bool ExportFiles::write(const QString& fileName, const std::function<bool(QIODevice&)>& write) {
    auto file = std::make_unique<platform::AtomicFile>(fileName);
    if (!file->open() || !write(*file) || !file->stage()) return false;
    m_staged.push_back(std::move(file));
    return true;
}

bool ExportFiles::keep() {
    std::vector<platform::AtomicFile*> files;
    for (const auto& file : m_staged)
        files.push_back(file.get());
    const bool kept = platform::commitTogether(files);
    m_staged.clear();
    return kept;
}

} // namespace report
