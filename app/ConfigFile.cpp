#include "app/ConfigFile.h"

#include "platform/AtomicFile.h"
#include "platform/NumberText.h"

#include <QFile>

namespace {

constexpr qint64 kMaxLineBytes = 4096;

} // namespace

bool readDecimalPlaces(const QString& path, std::array<int, 7>& places) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    for (std::size_t i = 1; i <= 6; ++i) {
        const QByteArray line = file.readLine(kMaxLineBytes);
        // Nothing left, or a line longer than the cap: not an integer line.
        if (line.isEmpty() || (!line.endsWith('\n') && !file.atEnd())) return false;
        const auto value = platform::ParseInt(QString::fromLatin1(line));
        if (!value) return false;
        places[i] = *value;
    }
    return true;
}

bool writeDecimalPlaces(const QString& path, const std::array<int, 7>& places) {
    QByteArray text;
    for (std::size_t i = 1; i <= 6; ++i)
        text += QByteArray::number(places[i]) + "\r\n";
    return platform::writeFileAtomically(path, text);
}
