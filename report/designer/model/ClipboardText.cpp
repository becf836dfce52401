#include "report/designer/model/ClipboardText.h"

#include <QRegularExpression>

namespace designer {

namespace {

const QString kMarker = QStringLiteral("VoranEditor");
constexpr int kHeaderLines = 4;
const QString kLineEnd = QStringLiteral("\r\n");

int headerNumber(const QString& line) {
    bool ok = false;
    const int value = line.trimmed().toInt(&ok);
    return ok ? value : 0;
}

} // namespace

QString WriteClipboardText(const ElementCopy& copy) {
    QStringList text{kMarker, QString::number(copy.anchorX), QString::number(copy.anchorY),
                     QString::number(copy.focusIndex)};
    text += copy.lines;
    return text.join(kLineEnd) + kLineEnd;
}

std::optional<ElementCopy> ReadClipboardText(const QString& text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    const QStringList lines = text.split(lineEnd);
    if (lines.size() <= kHeaderLines || lines[0] != kMarker) return std::nullopt;
    ElementCopy copy;
    for (qsizetype i = kHeaderLines; i < lines.size(); ++i)
        if (!lines[i].trimmed().isEmpty()) copy.lines.append(lines[i]);
    if (copy.lines.isEmpty()) return std::nullopt;
    copy.anchorX = headerNumber(lines[1]);
    copy.anchorY = headerNumber(lines[2]);
    copy.focusIndex = headerNumber(lines[3]);
    return copy;
}

} // namespace designer
