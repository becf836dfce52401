#pragma once
// A page recording written as a placeable Windows metafile (WMF). Coordinates are 16-bit: a
// recording too large for them is written at a lower resolution (fewer units per inch, the
// same size on paper). Text is 8-bit in the code page of its font's charset; a character the
// code page lacks becomes "?".

#include "platform/Metafile.h"

#include <QByteArray>

namespace report {

QByteArray WriteWmf(const platform::Metafile& metafile);
} // namespace report
