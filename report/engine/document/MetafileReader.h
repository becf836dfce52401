#pragma once
// Reads an EMF or a placeable WMF back into a recording: the records our own writers emit
// (objects, text, shapes, bitmaps, clipping); any other record is skipped. A damaged file, or one
// whose frame is empty or wider or higher than 2^24 units, gives false, never a crash. The
// coordinates, sizes and font heights of records are clamped to 2^24 units either way.

#include "platform/Metafile.h"

#include <QByteArray>

namespace report {

bool ReadMetafile(const QByteArray& bytes, platform::Metafile& metafile);

} // namespace report
