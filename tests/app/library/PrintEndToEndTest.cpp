// The Print command end to end: the shipped template, the real property library, the report
// run, its exports, a PDF printer and a text-only queue of the CUPS scheduler that
// scripts/test.sh runs.

#include "Cups.h"
#include "TestFiles.h"
#include "WindowFixture.h"

#include "app/AppState.h"
#include "app/ReportSetup.h"
#include "report/designer/TFormSestE.h"
#include "report/designer/TOddil.h"
#include "report/designer/TPapir.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/run/SaveFileChooser.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/ui/sestp.h"

#include "platform/Printers.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTableWidget>
#include <QToolBar>

namespace {

class FixedChooser : public report::SaveFileChooser {
public:
    explicit FixedChooser(QString path) : m_path(std::move(path)) {}
    QString chooseSaveFile(const report::SaveFileRequest&) override { return m_path; }

private:
    QString m_path;
};

QString readText(const QString& path) {
    return QString::fromUtf8(readFile(path));
}

// Where whole `word` ends in `line`, at every occurrence.
QList<qsizetype> wordEnds(const QString& line, const QString& word) {
    const QRegularExpression pattern("(?:^|\\s)" + QRegularExpression::escape(word) + "(?=\\s|$)");
    QList<qsizetype> ends;
    for (auto it = pattern.globalMatch(line); it.hasNext();)
        ends << it.next().capturedEnd();
    return ends;
}

// Whether `words` stand whole on consecutive lines of `text`, all ending in one column (as
// right-aligned lines of one cell do).
bool headStands(const QString& text, const QStringList& words) {
    const QStringList lines = text.split('\n');
    for (qsizetype first = 0; first + words.size() <= lines.size(); ++first) {
        for (const qsizetype end : wordEnds(lines[first], words[0])) {
            qsizetype k = 1;
            while (k < words.size() && wordEnds(lines[first + k], words[k]).contains(end))
                ++k;
            if (k == words.size()) return true;
        }
    }
    return false;
}

class PrintEndToEnd : public testing::Test, public WindowFixture {
protected:
    void SetUp() override {
        for (const char* name : {"zostava.pts", "DoriVOZ.ini"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(KOLV_RESOURCES_DIR "/") + name,
                                    dir.path() + '/' + name));
        open(RealPropertyLibrary());
    }
    void computeAt200(int language) {
        chooseLanguage(language);
        enter("Edit1", "200");
        enter("Edit2", "1");
    }
    QString exportText() {
        window->preparePrint();
        const QString path = dir.path() + "/out.txt";
        EXPECT_EQ(window->report()->SaveToTextFile(path), 0);
        return readText(path);
    }
    // Clicks Print and runs `inspect` on the preview it opens, then closes it. The report run
    // processes events before the preview is there, so the timer waits for the preview.
    void printAndInspect(const QString& menuLabel,
                         std::function<void(report::TFormSestP*)> inspect) {
        bool opened = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* preview = qobject_cast<report::TFormSestP*>(QApplication::activeModalWidget());
            if (!preview) return;
            poll.stop();
            opened = true;
            inspect(preview);
            preview->done(report::TFormSestP::Closed);
        });
        poll.start();
        click(menuLabel);
        poll.stop();
        EXPECT_TRUE(opened);
    }
};

} // namespace

// The preview of one page saves in every format; the ones that keep text keep the heads and the
// values. A folder that cannot be written gives the preview's error box, and the preview stays.
TEST_F(PrintEndToEnd, ThePreviewSavesEveryFormatAndReportsAnUnwritableFolder) {
    computeAt200(0);
    const QString base = dir.path() + "/saved";
    printAndInspect("menu0_6", [&](report::TFormSestP* preview) {
        EXPECT_EQ(window->report()->Vystup().PageCount(), 1);
        EXPECT_EQ(preview->CurrentPage(), 0);
        const std::pair<QString, std::function<bool()>> exports[] = {
            {".txt", [&] { return preview->ExportText(); }},
            {".rtf", [&] { return preview->ExportRtf(); }},
            {".html", [&] { return preview->ExportPageHtml(); }},
            {".emf", [&] { return preview->ExportPageMetafile(); }},
            {".wmf", [&] { return preview->ExportPageMetafile(); }},
            {"/missing/folder/out.txt", [&] { return !preview->ExportText(); }},
        };
        for (const auto& [suffix, save] : exports) {
            FixedChooser chooser(base + suffix);
            preview->setFileChooser(&chooser);
            EXPECT_TRUE(save()) << suffix.toStdString();
            preview->setFileChooser(nullptr);
        }
        for (const char* suffix : {".emf", ".wmf"})
            EXPECT_GT(QFileInfo(base + suffix).size(), 0) << suffix;
        EXPECT_TRUE(preview->isVisible());
    });
    for (const char* suffix : {".txt", ".html", ".rtf"}) {
        const QString saved = readText(base + suffix);
        EXPECT_TRUE(saved.contains("Teplota")) << suffix << '\n' << saved.toStdString();
        EXPECT_TRUE(saved.contains(num("200.00")) && saved.contains(num("2828.268"))) << suffix;
    }
    EXPECT_EQ(messages.messages().size(), 1); // the unwritable folder's alone
}

// With no computed point the report has its heads and no values. Text pages have no wrapping of
// their own: with points, a head of two words keeps both, one above the other and above its
// unit, all ending in one column. (Rows in their order: the PDF test.)
TEST_F(PrintEndToEnd, EnglishHeadsWithoutAndWithPoints) {
    chooseLanguage(1);
    click("menu0_2");
    QString text = exportText();
    EXPECT_TRUE(text.contains("Temperature"));
    EXPECT_FALSE(text.contains(sep() + "00"));
    for (const char* cell : {"100", "0.1", "200", "1"}) {
        type(num(cell));
        key(Qt::Key_Tab);
    }
    printAndInspect("menu1_6", [&](report::TFormSestP*) {
        EXPECT_EQ(window->report()->Vystup().PageCount(), 1);
    });
    text = exportText();
    const QStringList heads[] = {{"Specific", "volume", "m3/kg"},
                                 {"Specific", "enthalpy", "kJ/kg"},
                                 {"Temperature", QString::fromUtf8("°C")},
                                 {"Point", "number:"}};
    for (const QStringList& head : heads)
        EXPECT_TRUE(headStands(text, head)) << head[0].toStdString() << '\n' << text.toStdString();
    EXPECT_TRUE(text.contains("KOLV software (IAPWS IF97) - calculated values"));
    EXPECT_TRUE(text.contains(num("100.00")) && text.contains(num("200.00")));
    EXPECT_EQ(messages.messages(), QStringList());
}

// The calculator's template in the designer, as sestedit opens it: a value field for one of the
// six values is placed with the palette and the template saved; the calculator's next Print
// shows that value once more than before.
TEST_F(PrintEndToEnd, AValueFieldAddedInTheDesignerAppearsInTheNextPrint) {
    computeAt200(0);
    const QString before = exportText();
    const QString volume = window->report()->itemValues().value(2); // Vel3
    ASSERT_FALSE(volume.isEmpty());
    const qsizetype shown = before.count(volume);

    report::TSestava edited(nullptr, dir.path());
    edited.setMessageSink(&messages);
    edited.ReportDirIgnore = false;
    edited.setReportDir(dir.path());
    edited.SetReportName("zostava.pts");
    AppState state;
    setUpPrintReport(edited, state);
    ASSERT_EQ(edited.NactiPredlohu(false), 0);
    designer::TFormSestE designer;
    ASSERT_TRUE(designer.OpenSestava(&edited, 1, false));
    designer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));
    designer.action("ActionDb")->trigger();
    designer.findChild<QComboBox*>("CBVyberPrvku")->setCurrentIndex(2);
    designer::TOddil* header = designer.paper()->Oddil(0); // report start: free at the left
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(20, 62));
    designer.action("ActionSave")->trigger();
    EXPECT_FALSE(designer.modified());
    designer.close();

    const QString after = exportText();
    EXPECT_EQ(after.count(volume), shown + 1) << after.toStdString();
    EXPECT_TRUE(messages.messages().isEmpty());
}

// A missing template gives the component's own message, and so does a damaged one: no empty
// or headless report is shown for it. An empty template is a report with nothing on it. The
// calculator goes on.
TEST_F(PrintEndToEnd, AMissingOrDamagedTemplateNeverStopsTheCalculator) {
    computeAt200(0);
    ASSERT_TRUE(QFile::remove(dir.path() + "/zostava.pts"));
    click("menu0_6");
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_TRUE(messages.messages()[0].contains("zostava.pts"));
    const QByteArray damaged[] = {QByteArray("\xff\xfe\x00garbage,,,\"\r\nT,2,", 20),
                                  QByteArray(5000, '\x01'), QByteArray("T,2,Vel1,70,1,10")};
    for (const QByteArray& bytes : damaged) {
        for (const char* name : {"zostava.pts", "DoriVOZ.ini"})
            ASSERT_TRUE(writeFile(dir.path() + '/' + name, bytes));
        const qsizetype before = messages.messages().size();
        click("menu0_6");
        ASSERT_EQ(messages.messages().size(), before + 1);
        EXPECT_TRUE(messages.messages().last().contains("zostava.pts"));
        EXPECT_TRUE(messages.messages().last().contains(QString::fromUtf8("poškozený")));
    }
    for (const char* name : {"zostava.pts", "DoriVOZ.ini"})
        ASSERT_TRUE(writeFile(dir.path() + '/' + name, QByteArray()));
    printAndInspect("menu0_6", [](report::TFormSestP*) {});
    EXPECT_TRUE(window->isVisible());
    enter("Edit1", "300");
    EXPECT_EQ(text("LabelV11"), num("0.257979"));
}

namespace {

struct PdfWord {
    QString text;
    double xMin, yMin, xMax;
};

// Every word of the PDF's first page with its box in points, as pdftotext reads it.
std::vector<PdfWord> pdfWords(const QString& pdf) {
    QProcess tool;
    tool.start("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    EXPECT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << "pdftotext is needed";
    const QString html = QString::fromUtf8(tool.readAllStandardOutput());
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
    std::vector<PdfWord> words;
    for (const QRegularExpressionMatch& m : word.globalMatch(html))
        words.push_back({m.captured(4), m.captured(1).toDouble(), m.captured(2).toDouble(),
                         m.captured(3).toDouble()});
    return words;
}

} // namespace

// Twelve points printed to a PDF: pdftotext finds every value right-aligned under its head,
// the rows in order, on one page.
TEST_F(PrintEndToEnd, TwelvePointsPrintInTheirColumns) {
    QTemporaryDir jobs;
    platform::PrinterSystem::instance().installTestPrinter(jobs.path());
    chooseLanguage(0);
    click("menu0_2");
    for (int row = 0; row < kPointRows; ++row) {
        const QString t = QString::number(110 + 20 * row);
        ASSERT_EQ(window->model().computePoint(row, t, QString::number(row + 1)),
                  CalculationModel::PointStatus::Computed);
    }
    window->preparePrint();
    EXPECT_EQ(window->report()->Print(), 0);
    platform::PrinterSystem::instance().removeTestPrinter();
    const QStringList pdfs = QDir(jobs.path()).entryList({"*.pdf"}, QDir::Files);
    ASSERT_EQ(pdfs.size(), 1);
    const std::vector<PdfWord> words = pdfWords(QDir(jobs.path()).filePath(pdfs[0]));

    const auto find = [&](const QString& text, double below) -> const PdfWord* {
        for (const PdfWord& w : words)
            if (w.text == text && w.yMin > below) return &w;
        return nullptr;
    };
    const PdfWord* tHead = find("Teplota", 0);
    const PdfWord* pHead = find("Tlak", 0);
    ASSERT_TRUE(tHead && pHead);
    double lastY = tHead->yMin;
    for (int row = 0; row < kPointRows; ++row) {
        const PdfWord* t = find(QString::number(110 + 20 * row) + sep() + "00", tHead->yMin);
        const PdfWord* p = find(QString::number(row + 1) + sep() + "000", tHead->yMin);
        ASSERT_TRUE(t && p) << row;
        EXPECT_NEAR(t->xMax, tHead->xMax, 1.0) << row;
        EXPECT_NEAR(p->xMax, pHead->xMax, 1.0) << row;
        EXPECT_NEAR(p->yMin, t->yMin, 0.5) << row;
        EXPECT_GT(t->yMin, lastY) << row;
        lastY = t->yMin;
    }
    EXPECT_EQ(messages.messages(), QStringList());
}

TEST_F(PrintEndToEnd, TheStateOnATextOnlyCupsQueue) {
    REQUIRE_SCHEDULER();
    testsupport::LoopbackRawQueue queue;
    ASSERT_TRUE(queue.error().isEmpty()) << queue.error().toStdString();
    const int index = platform::PrinterSystem::instance().printerNames().indexOf(queue.name());
    ASSERT_GE(index, 0);
    ASSERT_TRUE(platform::PrinterSystem::instance().isTextOnly(queue.name()));
    computeAt200(0);
    window->preparePrint();
    window->report()->Popis = testsupport::uniqueName("KolvPrint");
    ASSERT_EQ(window->report()->PrintOn(index), 0);

    const QByteArray& received = queue.waitForJob(60000);
    QElapsedTimer timer;
    timer.start();
    while (!received.contains('\f') && timer.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    const QString text = QString::fromUtf8(received);
    EXPECT_TRUE(text.contains("Teplota")) << received.toStdString();
    EXPECT_TRUE(text.contains(num("200.00")));
    EXPECT_TRUE(text.contains(num("2828.268")));
    EXPECT_EQ(received.count('\f'), 1);
    EXPECT_EQ(messages.messages(), QStringList());
}

// The text export of twelve points has one row per point, one right under the other: the
// template lays its sections out on the text lines, so no empty row comes between them (the
// first one had one).
TEST_F(PrintEndToEnd, TwelvePointsAreTwelveTextRowsWithNoGap) {
    chooseLanguage(0);
    click("menu0_2");
    for (int row = 0; row < kPointRows; ++row)
        ASSERT_EQ(window->model().computePoint(row, QString::number(110 + 20 * row),
                                               QString::number(row + 1)),
                  CalculationModel::PointStatus::Computed);
    const QStringList lines = exportText().split("\r\n");
    QList<qsizetype> rows;
    for (int row = 0; row < kPointRows; ++row) {
        const QString t = QString::number(110 + 20 * row) + sep() + "00";
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines[i].contains(t)) rows << i;
    }
    ASSERT_EQ(rows.size(), kPointRows) << lines.join('\n').toStdString();
    for (int row = 1; row < kPointRows; ++row)
        EXPECT_EQ(rows[row], rows[row - 1] + 1) << row << '\n' << lines.join('\n').toStdString();
}

// Typed and computed at 0.0035 MPa, the printed pressure is 0.0035, beside the properties of
// that state, though the page shows pressures with three decimals.
TEST_F(PrintEndToEnd, ThePrintedInputIsTheValueComputedWith) {
    chooseLanguage(0);
    enter("Edit1", "200");
    enter("Edit2", num("0.0035"));
    const QString text = exportText();
    EXPECT_TRUE(text.contains(num("0.0035"))) << text.toStdString();
    EXPECT_FALSE(text.contains(num("0.004"))) << text.toStdString();
}

// Rows typed on the Points page and left: those the library did not compute (negative,
// unreadable, out of range) print what they were given with empty computed cells, each under
// its row number on the page; a row given nothing prints nothing; a computed row prints what
// the screen shows.
TEST_F(PrintEndToEnd, PointsNotComputedPrintTheirGivenPairUnderTheirRowNumbers) {
    chooseLanguage(0);
    click("menu0_2");
    const char* cells[] = {"100", "0.1", "", "", "-5", "1", "abc", "2", "2500", "1", "150", "1"};
    for (const char* cell : cells) {
        type(num(cell));
        key(Qt::Key_Tab);
    }
    ASSERT_EQ(pointOutputs(2), QStringList(4, "x x x"));
    ASSERT_EQ(pointOutputs(3), QStringList(4, "- - -"));

    // the words of every printed line that starts with a point number, by that number
    std::map<int, QStringList> printed;
    for (const QString& line : exportText().split("\r\n")) {
        const QStringList words = line.split(' ', Qt::SkipEmptyParts);
        if (!words.isEmpty() && words[0].toInt() > 0) printed[words[0].toInt()] = words.mid(1);
    }
    const std::map<int, QStringList> expected = {
        {1, QStringList{num("100.00"), num("0.100")} + pointOutputs(0)},
        {3, {num("-5.00"), num("1.000")}},
        {4, {"abc", num("2.000")}},
        {5, {num("2500.00"), num("1.000")}},
        {6, QStringList{num("150.00"), num("1.000")} + pointOutputs(5)},
    };
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(window->report()->Vystup().PageCount(), 1);
    EXPECT_EQ(messages.messages(), QStringList());
}

// The calculator has no designer to go back to: its preview offers no "Oprava předlohy..."
// (no toolbar button, no menu entry), Ctrl+E keeps the preview open and Esc closes it.
TEST_F(PrintEndToEnd, TheCalculatorsPreviewOffersNoTemplateEditing) {
    computeAt200(0);
    printAndInspect("menu0_6", [&](report::TFormSestP* preview) {
        QAction* edit = preview->ActionEdit;
        QStringList offered;
        for (QToolBar* bar : preview->findChildren<QToolBar*>()) {
            QWidget* button = bar->widgetForAction(edit);
            if (button && button->isVisible()) offered << "toolbar";
        }
        for (QMenu* menu : preview->findChildren<QMenu*>()) {
            for (QAction* entry : menu->actions())
                if (entry->isVisible() && entry->text() == edit->text()) offered << "menu";
        }
        EXPECT_EQ(offered, QStringList());
        preview->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus && preview->isAncestorOf(focus));
        QTest::keyClick(focus, Qt::Key_E, Qt::ControlModifier);
        EXPECT_TRUE(preview->isVisible());
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_FALSE(preview->isVisible());
        EXPECT_EQ(preview->result(), report::TFormSestP::Closed);
    });
    EXPECT_TRUE(window->isVisible());
}
