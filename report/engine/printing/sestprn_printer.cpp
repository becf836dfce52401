#include "report/engine/printing/sestprn_printer.h"

#include "platform/Printers.h"

namespace report {

namespace {

platform::PrinterSystem& system() {
    return platform::PrinterSystem::instance();
}

// The current printer, as the system has one: the selected queue, else the default one.
bool havePrinter() {
    if (system().hasPrinter()) return true;
    return system().selectPrinter(-1);
}

} // namespace

int PrinterDpiX() {
    return havePrinter() ? system().resolutionX() : 100;
}
int PrinterDpiY() {
    return havePrinter() ? system().resolutionY() : 100;
}
int PrinterOffsetX() {
    return havePrinter() ? system().printingOffset().x() : 50;
}
int PrinterOffsetY() {
    return havePrinter() ? system().printingOffset().y() : 72;
}

int PhysicalPageWidth() {
    return havePrinter() ? system().physicalPageSize().width() : PageSetup().paperWidth;
}

int PhysicalPageHeight() {
    return havePrinter() ? system().physicalPageSize().height() : PageSetup().paperHeight;
}

int PrinterOrientation() {
    return havePrinter() ? system().orientation() : 0;
}

void SetPrinterOrientation(int o) {
    if (havePrinter()) system().setOrientation(o < 1 ? 0 : 1);
}

float PrinterScaleX() {
    return float(PrinterDpiX()) / 100.0f;
}
float PrinterScaleY() {
    return float(PrinterDpiY()) / 100.0f;
}

void SelectPrinter(int index) {
    TPageSetup& setup = PageSetup();
    setup.scaleX = setup.scaleY = 1.0f;
    if (index < -1) return;
    const int count = int(system().printerNames().size());
    if (count == 0) {
        setup.printerPresent = false;
        return;
    }
    if (index == -1 && system().hasPrinter()) {
        // The current printer stays, even when queues added meanwhile have moved its index.
        setup.printerPresent = true;
    } else {
        if (index == -1) index = system().defaultIndex();
        setup.printerPresent = index >= 0 && index < count && system().selectPrinter(index);
    }
    if (setup.printerPresent) {
        setup.scaleX = PrinterScaleX();
        setup.scaleY = PrinterScaleY();
    }
}

int PageToPrinterX(int x) {
    return x - PrinterOffsetX() * 100 / PrinterDpiX();
}
int PageToPrinterY(int y) {
    return y - PrinterOffsetY() * 100 / PrinterDpiY();
}

TUnprintableBorders UnprintableBorders() {
    if (!havePrinter()) return {};
    const int dpiX = PrinterDpiX(), dpiY = PrinterDpiY();
    const QPoint offset = system().printingOffset();
    const QSize physical = system().physicalPageSize();
    const QSize printable = system().printableSize();
    if (dpiX <= 0 || dpiY <= 0) return {};
    return {offset.x() * 100 / dpiX, offset.y() * 100 / dpiY,
            (physical.width() - printable.width() - offset.x()) * 100 / dpiX,
            (physical.height() - printable.height() - offset.y()) * 100 / dpiY};
}

bool MarginsFitPrinter(int orientation, int left, int top, int right, int bottom) {
    SelectPrinter(-1);
    if (!PageSetup().printerPresent || !havePrinter()) return true;
    SetPrinterOrientation(orientation);
    system().setCopies(1);
    const TUnprintableBorders b = UnprintableBorders();
    return left >= b.left && top >= b.top && right >= b.right && bottom >= b.bottom;
}

void AdjustMarginsToPrinter(int& left, int& top, int& right, int& bottom) {
    const TUnprintableBorders b = UnprintableBorders();
    left = std::max(left, b.left);
    top = std::max(top, b.top);
    right = std::max(right, b.right);
    bottom = std::max(bottom, b.bottom);
}

bool IsTextOnlyPrinter(int index, const QString& port) {
    Q_UNUSED(port);
    const int count = int(system().printerNames().size());
    if (count == 0) return false;
    // Any index outside the list means the default printer.
    if (index < 0 || index >= count) index = system().defaultIndex();
    if (index != system().currentIndex() && !system().selectPrinter(index)) return false;
    // Asked of the printer now selected, by name: the list may have changed meanwhile.
    return system().isTextOnly(system().currentName());
}

void GetPrinterDevice(int index, QString& device, QString& port) {
    const int count = int(system().printerNames().size());
    device.clear();
    port.clear();
    if (count == 0) return;
    if ((index < 0 || index >= count) && !havePrinter()) return;
    device = system().deviceName(index);
    port = system().port(device);
}

} // namespace report
