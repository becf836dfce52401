#pragma once
// A page recording written as an enhanced metafile (EMF): one logical unit per recording unit,
// on a reference device of the recording's units per inch. Text is UTF-16 with the recorded
// advances; nested pictures are inlined.

#include "platform/Metafile.h"

#include <QByteArray>

namespace report {

QByteArray WriteEmf(const platform::Metafile& metafile);

} // namespace report
