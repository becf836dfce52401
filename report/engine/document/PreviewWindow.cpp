#include "report/engine/document/PreviewWindow.h"

namespace report {

namespace {

PreviewWindow& installed() {
    static PreviewWindow window;
    return window;
}

} // namespace

void InstallPreviewWindow(PreviewWindow window) {
    installed() = std::move(window);
}

std::optional<bool> ShowPreviewWindow(const PreviewRequest& request) {
    if (!installed()) return std::nullopt;
    return installed()(request);
}

} // namespace report
