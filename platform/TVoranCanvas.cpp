#include "platform/TVoranCanvas.h"

namespace platform {

TVoranCanvas::TVoranCanvas(Metafile& metafile, double pixelsPerInch)
    : RecordingCanvas(metafile, pixelsPerInch) {}

} // namespace platform
