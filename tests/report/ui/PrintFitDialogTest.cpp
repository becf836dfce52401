// The print-fit dialog over a fake printer: the three options, rotation, the printer set-up
// and the picture, read back by what must hold of it (proportions, one outline per sheet).
#include "report/engine/ui/sestfrmp.h"
#include "support/QtPrinters.h"

#include "platform/Printers.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/printing/sestprn_printer.h"

#include <QLabel>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

using namespace report;

namespace {

struct FakePrinter : PrintFitPrinter {
    QSize sheet{826, 1169};
    int orient = 0;
    QList<int> orientationsSet;
    std::function<bool()> setup = [] { return false; };
    int setups = 0;

    QSize sheetSize() const override { return orient == 0 ? sheet : sheet.transposed(); }
    int orientation() const override { return orient; }
    void setOrientation(int o) override {
        orient = o;
        orientationsSet.append(o);
    }
    bool runPageSetup(QWidget*) override {
        ++setups;
        return setup();
    }
};

template <class T> T* child(QWidget& form, const char* name) {
    T* widget = form.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QString text(QWidget& form, const char* name) {
    return child<QLabel>(form, name)->text();
}

void click(QWidget& form, const char* name) {
    QTest::mouseClick(child<QAbstractButton>(form, name), Qt::LeftButton);
}

// The picture's parts by their colours: the page, its shadow, the sheets' outlines and the
// margin pattern.
constexpr QRgb kWhite = qRgb(255, 255, 255), kShadow = qRgb(128, 128, 128);
constexpr QRgb kBlue = qRgb(0, 0, 255), kAqua = qRgb(0, 255, 255);

struct Picture {
    explicit Picture(QWidget& box)
        : image(box.grab().toImage().convertToFormat(QImage::Format_RGB32)) {}

    // The bounding box of the pixels of `colour`.
    QRect box(QRgb colour) const {
        QRect found;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == colour) found |= QRect(x, y, 1, 1);
        return found;
    }

    // Straight lines of `colour` at least 20 pixels long in `direction`; neighbouring rows or
    // columns that hold such a line count as one.
    int lines(QRgb colour, Qt::Orientation direction) const {
        const bool vertical = direction == Qt::Vertical;
        const int across = vertical ? image.width() : image.height();
        const int along = vertical ? image.height() : image.width();
        int count = 0;
        bool previous = false;
        for (int i = 0; i < across; ++i) {
            int run = 0, longest = 0;
            for (int j = 0; j < along; ++j) {
                const QRgb c = vertical ? image.pixel(i, j) : image.pixel(j, i);
                run = c == colour ? run + 1 : 0;
                longest = std::max(longest, run);
            }
            const bool line = longest >= 20;
            count += line && !previous;
            previous = line;
        }
        return count;
    }

    QImage image;
};

} // namespace

TEST(PrintFitDialog, TheThreeOptions) {
    FakePrinter printer;
    TFormVoranReportZoom form(printer);
    form.SetSizes(1652, 1169, 0, 0, 0, 0);
    // Cropping is the starting option.
    EXPECT_TRUE(child<QRadioButton>(form, "RadioCrop")->isChecked());
    EXPECT_EQ(text(form, "LabelReportSize"), "1652 x 1169");
    EXPECT_EQ(text(form, "LabelSheetSize"), "826 x 1169");
    EXPECT_EQ(QList<int>({form.Zoom(), form.Columns(), form.Rows()}), QList<int>({100, 1, 1}));
    click(form, "RadioMultipleSheets");
    EXPECT_EQ(form.Columns(), 2);
    EXPECT_EQ(form.Rows(), 1);
    EXPECT_EQ(form.Zoom(), 100);
    click(form, "RadioReduce");
    EXPECT_EQ(form.Zoom(), 50);
    EXPECT_EQ(text(form, "LabelZoom"), "50 %");
    EXPECT_EQ(form.Columns(), 1);
    click(form, "RadioCrop");
    EXPECT_EQ(form.Zoom(), 100);

    // The same page on a sheet of its own size needs no reduction.
    TFormVoranReportZoom same(printer);
    same.SetSizes(826, 1169, 0, 0, 0, 0);
    click(same, "RadioReduce");
    EXPECT_EQ(same.Zoom(), 100);
}

TEST(PrintFitDialog, SheetsAcrossCountTheMarginsOverlap) {
    // Each further sheet advances by the sheet less the margins, until at most 1 % of a
    // sheet is left over: counted directly here, one sheet at a time.
    const auto count = [](int report, int sheet, int margins) {
        int sheets = 1;
        for (long long rest = report - sheet; rest > sheet / 100; rest -= sheet - margins)
            ++sheets;
        return sheets;
    };
    FakePrinter printer;
    for (const int width : {826, 830, 834, 1652, 2000, 2478, 5000}) {
        for (const int margins : {0, 50, 200}) {
            TFormVoranReportZoom form(printer);
            form.SetSizes(width, 3000, margins / 2, margins / 2, margins - margins / 2,
                          margins - margins / 2);
            click(form, "RadioMultipleSheets");
            EXPECT_EQ(form.Columns(), count(width, 826, margins)) << width << " " << margins;
            EXPECT_EQ(form.Rows(), count(3000, 1169, margins)) << width << " " << margins;
        }
    }
}

TEST(PrintFitDialog, RotatingTwiceRestoresAndPrintingTellsThePrinter) {
    FakePrinter printer;
    TFormVoranReportZoom form(printer);
    form.SetSizes(1652, 1169, 0, 0, 0, 0);
    click(form, "RadioReduce");
    click(form, "CheckRotate");
    EXPECT_EQ(form.sheet(), QSize(1169, 826));
    EXPECT_EQ(form.Orientation(), 1);
    EXPECT_EQ(text(form, "LabelSheetSize"), "1169 x 826");
    EXPECT_EQ(form.Zoom(), 70); // the option is applied again: min(116900/1652, 82600/1169)
    click(form, "CheckRotate");
    EXPECT_EQ(form.sheet(), QSize(826, 1169));
    EXPECT_EQ(form.Orientation(), 0);
    EXPECT_EQ(form.Zoom(), 50);
    EXPECT_TRUE(printer.orientationsSet.isEmpty()); // the printer is told only on printing
    click(form, "CheckRotate");
    click(form, "ButtonPrint");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(printer.orientationsSet, QList<int>({1}));

    FakePrinter other;
    TFormVoranReportZoom unrotated(other);
    unrotated.SetSizes(1652, 1169, 0, 0, 0, 0);
    click(unrotated, "ButtonPrint");
    EXPECT_TRUE(other.orientationsSet.isEmpty());
    TFormVoranReportZoom cancelled(other);
    click(cancelled, "ButtonCancel");
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

TEST(PrintFitDialog, PrinterSetupRereadsTheSheetOnlyWhenAccepted) {
    FakePrinter printer;
    TFormVoranReportZoom form(printer);
    form.SetSizes(1652, 1169, 0, 0, 0, 0);
    click(form, "RadioMultipleSheets");
    click(form, "CheckRotate"); // landscape in the dialog
    click(form, "ButtonPrinter");
    EXPECT_EQ(printer.setups, 1);
    EXPECT_EQ(printer.orientationsSet, QList<int>({1})); // the dialog's orientation first
    EXPECT_EQ(form.sheet(), QSize(1169, 826));
    // Accepted with A3 chosen: the sheet is read again and the option applied again.
    printer.setup = [&printer] {
        printer.sheet = QSize(1169, 1653);
        return true;
    };
    click(form, "ButtonPrinter");
    EXPECT_EQ(form.sheet(), QSize(1653, 1169));
    EXPECT_EQ(text(form, "LabelSheetSize"), "1653 x 1169");
    EXPECT_EQ(form.Columns(), 1);
}

TEST(PrintFitDialog, DegenerateSizesTerminate) {
    FakePrinter printer;
    {
        // A page of no size (a user format read as 0 x 0).
        TFormVoranReportZoom form(printer);
        form.SetSizes(0, 0, 0, 0, 0, 0);
        click(form, "RadioReduce");
        EXPECT_EQ(form.Zoom(), 100);
        click(form, "RadioMultipleSheets");
        EXPECT_EQ(form.Columns(), 1);
        form.grab();
    }
    {
        // Margins wider than the sheet: the sheet is widened to hold them, and leaves nothing
        // of the page to tile with (one hundredth of an inch per sheet): one sheet, cropped,
        // not a hundred thousand.
        TFormVoranReportZoom form(printer);
        form.SetSizes(100000, 100000, 600, 900, 600, 900);
        EXPECT_EQ(form.sheet(), QSize(1201, 1801));
        click(form, "RadioMultipleSheets");
        EXPECT_EQ(form.Columns() * form.Rows(), 1);
        click(form, "RadioReduce");
        click(form, "RadioMultipleSheets");
        form.grab();
    }
    {
        // Margins that leave a sliver of the 826 sheet tile no finer than a hundredth of it:
        // 6 left is one sheet, 26 left tiles by 26.
        TFormVoranReportZoom form(printer);
        form.SetSizes(100000, 1000, 410, 0, 410, 0);
        click(form, "RadioMultipleSheets");
        EXPECT_EQ(form.Columns(), 1);
        form.SetSizes(100000, 1000, 400, 0, 400, 0);
        EXPECT_EQ(form.Columns(), 1 + (100000 - 826 - 8 + 25) / 26);
    }
    {
        // No printer: a sheet of 0 x 0.
        FakePrinter none;
        none.sheet = QSize(0, 0);
        TFormVoranReportZoom form(none);
        form.SetSizes(826, 1169, 10, 10, 10, 10);
        click(form, "RadioReduce");
        EXPECT_EQ(form.sheet(), QSize(21, 21)); // widened to hold the margins
        EXPECT_EQ(form.Zoom(), 1);              // 2100 / 1169 %
        click(form, "RadioMultipleSheets");
        form.grab();
    }
}

TEST(PrintFitDialog, ThePictureShowsThePageAndTheSheetsInProportion) {
    const struct {
        QSize report;
        int margin;
        const char* option;
        bool rotate;
    } cases[] = {{{1652, 1169}, 50, "RadioMultipleSheets", false},
                 {{1000, 2000}, 100, "RadioMultipleSheets", false},
                 {{1652, 1169}, 50, "RadioReduce", false},
                 {{1652, 1169}, 0, "RadioCrop", false},
                 {{1652, 1169}, 0, "RadioCrop", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option + std::to_string(c.report.height()) + (c.rotate ? " rotated" : ""));
        FakePrinter printer;
        TFormVoranReportZoom form(printer);
        const int m = c.margin;
        form.SetSizes(c.report.width(), c.report.height(), m, m, m, m);
        click(form, c.option);
        if (c.rotate) click(form, "CheckRotate");
        const Picture picture(*child<QWidget>(form, "PaintBox"));
        const QRect sheets = picture.box(kBlue), shadow = picture.box(kShadow);
        ASSERT_FALSE(sheets.isEmpty() || shadow.isEmpty());

        // The sheets start at the page's corner; the page casts its shadow down and right, as
        // far each way, and keeps its proportions.
        const QPoint offset = shadow.topLeft() - sheets.topLeft();
        EXPECT_GT(offset.x(), 0);
        EXPECT_LE(std::abs(offset.x() - offset.y()), 1); // a margin strip may hide one line
        const QRect page = shadow.translated(-offset);
        EXPECT_NEAR(page.width(), page.height() * c.report.width() / c.report.height(), 3);
        EXPECT_NE(picture.image.pixel(shadow.topLeft()), kShadow); // under the page
        EXPECT_EQ(picture.image.pixel(shadow.bottomRight()), kShadow);

        // The drawing fills the picture along its longer side, centred.
        const QRect all = sheets | shadow;
        const QRect frame(QPoint(), picture.image.size());
        EXPECT_TRUE(frame.contains(all));
        EXPECT_GE(std::max(all.width(), all.height()), frame.width() - offset.x() - 2);
        EXPECT_LE(std::abs(all.left() - (frame.right() - all.right())), offset.x() + 1);
        EXPECT_LE(std::abs(all.top() - (frame.bottom() - all.bottom())), offset.x() + 1);

        // Two blue edges for each column and each row of sheets.
        EXPECT_EQ(picture.lines(kBlue, Qt::Vertical), 2 * form.Columns());
        EXPECT_EQ(picture.lines(kBlue, Qt::Horizontal), 2 * form.Rows());
        if (form.Columns() * form.Rows() == 1) {
            EXPECT_NEAR(double(sheets.width()) / sheets.height(),
                        double(form.sheet().width()) / form.sheet().height(), 0.03);
        }
        // Reduced or spread over sheets, the page lies on them; cropped, it goes beyond.
        EXPECT_EQ(sheets.contains(page), std::string(c.option) != "RadioCrop");
        // The margins in the pattern, on the sheets only.
        const QRect margins = picture.box(kAqua);
        EXPECT_EQ(margins.isEmpty(), m == 0);
        if (m > 0) {
            EXPECT_TRUE(sheets.contains(margins));
        }
    }
}

TEST(PrintFitDialog, TheMarginPatternIsAHalftone) {
    // Each pixel differs from its neighbours across and down: the two colours alternate, and
    // the tile repeats seamlessly.
    const QImage tile = TFormVoranReportZoom::pattern().toImage();
    ASSERT_FALSE(tile.isNull());
    QSet<QRgb> colours;
    for (int y = 0; y < tile.height(); ++y) {
        for (int x = 0; x < tile.width(); ++x) {
            const QRgb c = tile.pixel(x, y);
            colours.insert(c);
            EXPECT_NE(c, tile.pixel((x + 1) % tile.width(), y)) << x << "," << y;
            EXPECT_NE(c, tile.pixel(x, (y + 1) % tile.height())) << x << "," << y;
        }
    }
    EXPECT_EQ(colours, QSet<QRgb>({kWhite, kAqua}));
}

TEST(PrintFitDialog, CurrentPrinterGivesTheSheetAndTakesTheOrientation) {
    // The test printer: an A4 sheet (8.27 x 11.69 inches) at its own resolution.
    QTemporaryDir folder;
    platform::PrinterSystem& system = platform::PrinterSystem::instance();
    system.installTestPrinter(folder.path());
    const PageSetupGuard pageSetup;
    SelectPrinter(-1);
    ASSERT_TRUE(system.hasPrinter());
    SetPrinterOrientation(0);
    {
        TFormVoranReportZoom form;
        form.SetSizes(1652, 1169, 0, 0, 0, 0);
        EXPECT_EQ(form.sheet(), QSize(826, 1169));
        EXPECT_EQ(form.Orientation(), 0);
        click(form, "CheckRotate");
        click(form, "ButtonPrint");
        EXPECT_EQ(PrinterOrientation(), 1);
    }
    SetPrinterOrientation(0);
    system.removeTestPrinter();
    system.selectPrinter(-2);
}
