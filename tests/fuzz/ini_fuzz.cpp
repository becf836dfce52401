// Any bytes as the report's settings file: its paper formats and the designer's settings are
// read, saved and read again. Never a crash, a hang or a sanitizer report; saving succeeds and
// what is read again is what was saved.

#include "report/designer/TEditorSettings.h"
#include "report/engine/printing/sestprn.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

bool sameFormats(const report::TListFormatu& a, const report::TListFormatu& b) {
    if (a.count() != b.count() || a.names() != b.names()) return false;
    for (int i = 0; i < a.count(); ++i)
        if (a.GetFormat(i)->width != b.GetFormat(i)->width ||
            a.GetFormat(i)->height != b.GetFormat(i)->height)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("DoriVOZ.ini"));
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    file.close();

    report::TListFormatu formats;
    formats.Load(path);
    check(formats.Save(path));
    report::TListFormatu again;
    again.Load(path);
    check(sameFormats(formats, again));

    const designer::TEditorSettings settings = designer::ReadEditorSettings(path);
    check(designer::WriteEditorSettings(settings, path));
    check(designer::ReadEditorSettings(path) == settings);
    return 0;
}
