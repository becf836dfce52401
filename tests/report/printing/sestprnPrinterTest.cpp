// The printer side of the page setup: the fixed answers without a printer, and the metrics of
// the CUPS-PDF queue that scripts/test.sh sets up.

#include "Cups.h"
#include "platform/Printers.h"
#include "report/engine/printing/sestprn_printer.h"

#include <gtest/gtest.h>

#include <optional>

using namespace report;
using namespace testsupport;

namespace {

const QString pdfQueue = QStringLiteral("ReportPdf");

struct Reset {
    PageSetupGuard page;
    ~Reset() {
        platform::PrinterSystem::instance().selectPrinter(-2);
        platform::PrinterSystem::instance().setCopies(1);
    }
};

int indexOf(const QString& queue) {
    return int(platform::PrinterSystem::instance().printerNames().indexOf(queue));
}

QString current() {
    return platform::PrinterSystem::instance().currentName();
}

// Printers are chosen by index while parallel tests add and delete queues: `attempt` answers
// nullopt when the index it used went stale, and is then tried again.
template <class Attempt> auto retried(Attempt attempt) -> decltype(attempt()) {
    for (int i = 0; i < 20; ++i)
        if (auto answer = attempt()) return answer;
    return std::nullopt;
}

// Selection is by index while parallel tests add queues: retry when the index went stale.
bool selectQueue(const QString& queue) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        SelectPrinter(indexOf(queue));
        if (PageSetup().printerPresent &&
            platform::PrinterSystem::instance().currentName() == queue)
            return true;
    }
    return false;
}

} // namespace

TEST(PrinterModelWithoutPrinter, EveryMetricFallsBack) {
    Reset reset;
    ScopedCupsServer missing("/nonexistent.sock");
    PageSetup().printerPresent = true;
    PageSetup().paperWidth = 850;
    PageSetup().paperHeight = 1100;
    SelectPrinter(-1);
    EXPECT_FALSE(PageSetup().printerPresent);
    EXPECT_EQ(PageSetup().scaleX, 1.0f);
    SetPrinterOrientation(1);
    // Resolution, offsets, the paper of the page setup, portrait; pages shifted by the offsets.
    EXPECT_EQ(QList<int>({PrinterDpiX(), PrinterDpiY(), PrinterOffsetX(), PrinterOffsetY(),
                          PhysicalPageWidth(), PhysicalPageHeight(), PrinterOrientation(),
                          PageToPrinterX(100), PageToPrinterY(100)}),
              QList<int>({100, 100, 50, 72, 850, 1100, 0, 50, 28}));
    EXPECT_EQ(PrinterScaleX(), 1.0f);
    EXPECT_TRUE(MarginsFitPrinter(0, 0, 0, 0, 0));
    int l = 1, t = 2, r = 3, b = 4;
    AdjustMarginsToPrinter(l, t, r, b);
    EXPECT_EQ(QList<int>({l, t, r, b}), QList<int>({1, 2, 3, 4}));
    EXPECT_FALSE(IsTextOnlyPrinter(-1, QString()));
    QString device = "x", port = "y";
    GetPrinterDevice(0, device, port);
    EXPECT_TRUE(device.isEmpty());
    EXPECT_TRUE(port.isEmpty());
}

TEST(PrinterModelWithoutPrinter, IndexBelowMinusOneLeavesThePresentFlag) {
    Reset reset;
    ScopedCupsServer missing("/nonexistent.sock");
    PageSetup().printerPresent = true;
    PageSetup().scaleX = 12.0f;
    SelectPrinter(-2);
    EXPECT_TRUE(PageSetup().printerPresent);
    EXPECT_EQ(PageSetup().scaleX, 1.0f);
}

TEST(CupsPrinterModel, PdfQueueMetricsAndMargins) {
    REQUIRE_SCHEDULER();
    Reset reset;
    ASSERT_TRUE(selectQueue(pdfQueue)) << "queue missing; scripts/cups-ci.sh creates it";
    EXPECT_EQ(PageSetup().scaleX, 12.0f);
    EXPECT_EQ(PageSetup().scaleY, 12.0f);
    // A4 at 1200 dpi with offsets of 167 dots; 167 * 100 / 1200 truncated is 13.
    EXPECT_EQ(QList<int>({PrinterDpiX(), PrinterOffsetX(), PrinterOffsetY(), PhysicalPageWidth(),
                          PhysicalPageHeight(), PageToPrinterX(50)}),
              QList<int>({1200, 167, 167, 9917, 14033, 50 - 13}));
    const TUnprintableBorders borders = UnprintableBorders();
    EXPECT_EQ(QList<int>({borders.left, borders.top, borders.right, borders.bottom}),
              QList<int>({13, 13, 13, 13}));

    platform::PrinterSystem::instance().setCopies(3);
    EXPECT_FALSE(MarginsFitPrinter(1, 10, 50, 50, 50));
    // Side effects: the orientation, and one copy.
    EXPECT_EQ(PrinterOrientation(), 1);
    EXPECT_EQ(PhysicalPageWidth(), 14033);
    EXPECT_EQ(platform::PrinterSystem::instance().copies(), 1);
    EXPECT_FALSE(MarginsFitPrinter(0, 50, 50, 50, 12));
    EXPECT_TRUE(MarginsFitPrinter(0, 13, 13, 13, 13));
    int l = 10, t = 20, r = 5, b = 70;
    AdjustMarginsToPrinter(l, t, r, b);
    EXPECT_EQ(QList<int>({l, t, r, b}), QList<int>({13, 20, 13, 70}));

    QString device, port;
    GetPrinterDevice(-5, device, port);
    EXPECT_EQ(device, pdfQueue);
    EXPECT_EQ(port, "cups-pdf:/");
    EXPECT_FALSE(retried([] {
                     const bool textOnly = IsTextOnlyPrinter(indexOf(pdfQueue), QString());
                     return current() == pdfQueue ? std::optional(textOnly) : std::nullopt;
                 }).value_or(true));

    // An index past the list: no printer present, the system printer stays.
    SelectPrinter(100000);
    EXPECT_FALSE(PageSetup().printerPresent);
    EXPECT_EQ(PageSetup().scaleX, 1.0f);
}

TEST(CupsPrinterModel, RawQueueIsTextOnly) {
    REQUIRE_SCHEDULER();
    Reset reset;
    LoopbackRawQueue queue;
    ASSERT_TRUE(queue.error().isEmpty()) << queue.error().toStdString();
    // The printer asked about becomes the current one.
    EXPECT_TRUE(retried([&] {
                    const bool textOnly =
                        IsTextOnlyPrinter(indexOf(queue.name()), QStringLiteral("FILE:"));
                    return current() == queue.name() ? std::optional(textOnly) : std::nullopt;
                }).value_or(false));
    const QString port = retried([&]() -> std::optional<QString> {
                             QString device, port;
                             GetPrinterDevice(indexOf(queue.name()), device, port);
                             return device == queue.name() ? std::optional(port) : std::nullopt;
                         }).value_or(QString());
    EXPECT_TRUE(port.startsWith("socket://127.0.0.1:")) << port.toStdString();
}
