#pragma once
// Reads an EMF or a placeable WMF back into a recording: the records our own writers emit
// (objects, text, shapes, bitmaps, clipping); any other record is skipped. A damaged file gives
// false, never a crash.

#include "platform/Metafile.h"

#include <QByteArray>

namespace report {

bool ReadMetafile(const QByteArray& bytes, platform::Metafile& metafile);

} // namespace report
