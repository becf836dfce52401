#pragma once
// The designer's copy of elements and the clipboard text that carries it, so that elements
// move between sections, designer windows and templates of other reports. The text is the
// marker line "VoranEditor", the anchor (the Left and Top of the primary element when it was
// copied), the position of the primary's line among the element lines (-1: none), then one
// element line per element, each line ended by CR LF.

#include "report/engine/template/sestavyt_model.h"

#include <QString>

#include <optional>

namespace designer {

struct ElementCopy {
    report::TPredloha lines; // element lines under the key "X"
    int anchorX = 0;
    int anchorY = 0;
    int focusIndex = -1;

    // How far pasting at (x, y) moves each element: to (x, y) from the anchor.
    qint64 dx(int x) const { return qint64(x) - anchorX; }
    qint64 dy(int y) const { return qint64(y) - anchorY; }

    bool operator==(const ElementCopy&) const = default;
};

QString WriteClipboardText(const ElementCopy& copy);

// The copy a clipboard text carries, whatever program wrote it: the exact marker, three header
// lines and at least one element line, with CR LF, LF or CR line ends; a header line that
// holds no number reads 0, and blank lines hold no element. None for any other text.
std::optional<ElementCopy> ReadClipboardText(const QString& text);

} // namespace designer
