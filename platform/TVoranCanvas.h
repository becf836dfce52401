#pragma once
// The measuring canvas of the report layout: a recording canvas whose fonts take their height
// from their point size at a fixed pixels per inch (100 for the report run), so that layout
// never depends on the screen.

#include "platform/RecordingCanvas.h"

namespace platform {

class TVoranCanvas : public RecordingCanvas {
public:
    // Records into `metafile`; a font of s points is s * pixelsPerInch / 72 units high.
    TVoranCanvas(Metafile& metafile, double pixelsPerInch);
};

} // namespace platform
