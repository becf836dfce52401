// A report's preview and print as the model does them: through the window and the printers
// that a program installs, and without them (a program without windows shows and prints
// nothing, and says there is no printer).

#include "support/QtPrinters.h"
#include "support/ReportFixture.h"

#include "platform/MessageSink.h"
#include "report/engine/document/DocumentPrinter.h"
#include "report/engine/document/PreviewWindow.h"
#include "report/engine/sestzpr.h"

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

// Three pages of one row each, with its own background to be printed.
struct ThreePages {
    ThreePages() : t({QStringLiteral("Vel1")}, {{"a"}, {"b"}, {"c"}}) {
        t.setTemplate({paperLine(827, 1169, 50), sectionLine(2, true, 1000),
                       textLine("T", 2, "Vel1", 10, 0, 200, 20),
                       QStringLiteral("I,7,1,1,1,10,20,300,400," KOLV_TEST_DATA_DIR "/logo.bmp")});
        t.report.IsStored = true;
        t.report.setMessageSink(&messages);
        t.report.Popis = QStringLiteral("Tři stránky");
    }
    TableReport t;
    platform::MessageRecorder messages;
};

// Keeps what the report asked of the printers and answers as scripted.
struct ScriptedPrinter : DocumentPrinter {
    struct Call {
        int printer, start, end, copies, pages;
        QString title;
        bool busy;
        bool background;
    };
    TSestVystup::PrintFailure unavailable(TSestVystup&) override { return missing; }
    bool print(TSestVystup& document, int printer, int start, int end, const QString& title,
               int copies) override {
        calls.push_back({printer, start, end, copies, document.PageCount(), title, report->busy(),
                         document.PrintsBackground()});
        document.SetPrintFailure(failure);
        return printed;
    }
    TSestavaTyp* report = nullptr;
    TSestVystup::PrintFailure missing;
    TSestVystup::PrintFailure failure;
    bool printed = true;
    std::vector<Call> calls;
};

// A refusal message names the printer (in quotes) and the scheduler's reason.
bool namesBoth(const QString& message, QStringView printer, QStringView reason) {
    return message.contains(u'"' + printer.toString() + u'"') && message.endsWith(reason);
}

// Installs `printer` for one test; the model is left without printers afterwards.
struct Installed {
    explicit Installed(std::unique_ptr<DocumentPrinter> printer) {
        InstallDocumentPrinter(std::move(printer));
    }
    ~Installed() {
        InstallDocumentPrinter(nullptr);
        InstallPreviewWindow({});
    }
};

TEST(ReportHooks, WithoutWindowsAndPrintersNothingIsShownOrPrinted) {
    ThreePages r;
    ASSERT_EQ(r.t.report.Generate(true), seOk);
    EXPECT_EQ(r.t.report.ShowPreview(true), seNothingDone);
    EXPECT_EQ(r.t.report.PrintOn(-1), seNoPrinter);
    EXPECT_EQ(r.messages.messages(), QStringList{LoadText(ReportText::NoPrinterInstalled)});
    // The run before them still happens, and the published calls report their result.
    EXPECT_EQ(r.t.report.Preview(), seOk);
    EXPECT_EQ(r.t.report.Print(), seNoPrinter);
    EXPECT_EQ(r.t.report.Vystup().PageCount(), 3);
}

TEST(ReportHooks, ThePreviewGetsWhatTheReportSets) {
    ThreePages r;
    Installed installed(nullptr);
    std::vector<PreviewRequest> requests;
    bool edit = false;
    InstallPreviewWindow([&](const PreviewRequest& request) {
        requests.push_back(request);
        request.userAction(2);
        return edit;
    });
    int customPage = -1;
    r.t.report.OnPreviewCustomEvent = [&](TSestava*, int page) { customPage = page; };
    r.t.report.PreviewUserActionVisible = true;
    r.t.report.PreviewUserActionHint = QStringLiteral("Akce");
    r.t.report.DisablePrint = true;
    ASSERT_EQ(r.t.report.Generate(true), seOk);
    EXPECT_EQ(r.t.report.ShowPreview(false, 75, QRect(1, 2, 300, 200), 2), 0);
    edit = true;
    EXPECT_EQ(r.t.report.ShowPreview(true, 300), 1);

    ASSERT_EQ(requests.size(), 2u);
    const PreviewRequest& first = requests[0];
    EXPECT_EQ(first.document, &r.t.report.Vystup());
    EXPECT_EQ(first.messages, &r.messages);
    EXPECT_FALSE(first.editEnabled);
    EXPECT_FALSE(first.printEnabled);
    EXPECT_TRUE(first.userActionVisible);
    EXPECT_EQ(first.userActionHint, u"Akce");
    EXPECT_EQ(first.bounds, QRect(1, 2, 300, 200));
    EXPECT_TRUE(first.maximized);
    // The own background's rectangle as its line gives it, in the pages because it prints.
    EXPECT_EQ(first.backgroundRect, (platform::TRect{10, 20, 310, 420}));
    EXPECT_TRUE(first.backgroundInPages);
    EXPECT_EQ(customPage, 2);
    // Zoom steps of 75 % and 300 %: the fifth and the last of the eleven.
    EXPECT_EQ(first.zoomStep, 4);
    EXPECT_EQ(requests[1].zoomStep, 10);
    EXPECT_TRUE(requests[1].editEnabled);
    EXPECT_FALSE(requests[1].maximized);
}

TEST(ReportHooks, PrintingGoesToTheInstalledPrinters) {
    ThreePages r;
    auto scripted = std::make_unique<ScriptedPrinter>();
    ScriptedPrinter& printer = *scripted;
    printer.report = &r.t.report;
    Installed installed(std::move(scripted));
    ASSERT_EQ(r.t.report.Generate(true), seOk);
    r.t.report.StartPage = 2;
    r.t.report.PrintCopies = 3;
    EXPECT_EQ(r.t.report.PrintOn(4), seOk);
    ASSERT_EQ(printer.calls.size(), 1u);
    const ScriptedPrinter::Call& call = printer.calls[0];
    EXPECT_EQ(call.printer, 4);
    EXPECT_EQ(call.start, 2);
    EXPECT_EQ(call.copies, 3);
    EXPECT_EQ(call.pages, 3);
    EXPECT_EQ(call.title, u"Tři stránky");
    EXPECT_TRUE(call.busy); // no second run or print meanwhile
    EXPECT_TRUE(call.background);
    EXPECT_FALSE(r.t.report.busy());
    EXPECT_TRUE(r.messages.messages().isEmpty());

    // Cancelled: nothing said. Refused: the printer and the scheduler's reason.
    printer.printed = false;
    EXPECT_EQ(r.t.report.PrintOn(-1), seCancelled);
    EXPECT_TRUE(r.messages.messages().isEmpty());
    printer.failure = {TSestVystup::PrintFailure::Refused, QStringLiteral("Fronta"),
                       QStringLiteral("plná")};
    EXPECT_EQ(r.t.report.PrintOn(-1), seNoPrinter);
    ASSERT_EQ(r.messages.messages().size(), 1);
    EXPECT_TRUE(namesBoth(r.messages.messages()[0], u"Fronta", u"plná"));

    // Printers out of reach: none at all warns, a vanished one says why; nothing prints.
    const std::size_t printed = printer.calls.size();
    printer.missing = {TSestVystup::PrintFailure::NoPrinter, {}, {}};
    EXPECT_EQ(r.t.report.PrintOn(-1), seNoPrinter);
    printer.missing = {TSestVystup::PrintFailure::PrinterStopped, QStringLiteral("Stará"),
                       QStringLiteral("pryč")};
    EXPECT_EQ(r.t.report.Print(), seNoPrinter);
    EXPECT_EQ(printer.calls.size(), printed);
    ASSERT_EQ(r.messages.messages().size(), 3);
    EXPECT_EQ(r.messages.messages()[1], LoadText(ReportText::NoPrinterInstalled));
    EXPECT_TRUE(namesBoth(r.messages.messages()[2], u"Stará", u"pryč"));
}

} // namespace
