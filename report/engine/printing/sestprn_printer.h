#pragma once
// The printer side of the page setup: metrics of the selected system printer in its device
// pixels, with fixed answers when there is no printer (100 dpi, offsets 50 and 72, the paper
// as the physical page), printer selection, margin checks and text-only detection.
// "No printer" covers a missing scheduler, no queue, and a queue that has vanished.

#include "report/engine/printing/sestprn.h"

#include <QString>

namespace report {

int PrinterDpiX();
int PrinterDpiY();
int PrinterOffsetX();
int PrinterOffsetY();
int PhysicalPageWidth();
int PhysicalPageHeight();
// 0 portrait, 1 landscape; 0 without a printer.
int PrinterOrientation();
// Portrait for o below 1, landscape otherwise; only with a printer.
void SetPrinterOrientation(int o);
float PrinterScaleX();
float PrinterScaleY();

// Selects system printer `index` (-1: the current one) and sets the printer-present flag and
// the scales of the page setup. An index below -1 only resets the scales.
void SelectPrinter(int index);

// Page coordinates (1/100 inch) to positions on the printer's printable area.
int PageToPrinterX(int x);
int PageToPrinterY(int y);

// The parts of the sheet the printer cannot print on, in 1/100 inch (all 0 without printer).
struct TUnprintableBorders {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
TUnprintableBorders UnprintableBorders();

// Selects the current printer; true without one. Otherwise sets the orientation and one copy
// and answers whether every margin is at least the printer's unprintable border.
bool MarginsFitPrinter(int orientation, int left, int top, int right, int bottom);
// Raises each margin to at least its unprintable border (nothing without a printer).
void AdjustMarginsToPrinter(int& left, int& top, int& right, int& bottom);

// Selects printer `index` (out of range: the system default) and answers whether it takes
// plain text: a raw queue or a generic text-only driver. `port` is not used: a CUPS queue's
// device is fixed by the queue.
bool IsTextOnlyPrinter(int index, const QString& port);

// Name and port (device URI) of printer `index`, or of the current printer when `index` is
// out of range; both empty without printers.
void GetPrinterDevice(int index, QString& device, QString& port);

} // namespace report
