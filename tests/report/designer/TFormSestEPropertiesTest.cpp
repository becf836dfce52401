// The designer's property strip, element dialogs, user functions and z-order: what each kind
// shows, which elements a change reaches, the history step it leaves, and text typed without
// Enter.

#include "support/EditingDesigner.h"

#include "../support/ReportFixture.h"
#include "platform/DateTimeText.h"

#include "report/engine/barcode/sestbarc.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/run/Dataset.h"
#include "report/engine/sest_lib.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <array>

using namespace Qt::StringLiterals;

using designtest::answerModal;
using designtest::EditedTemplate;

namespace {

enum Element { Text, Item, Line, Frame, Barcode, Picture, DrawingArea, RtfItem, Detail };

const QStringList kLines{
    u"T,1,0,10,10,200,20,Arial,10,0,0,0,0,1,\"text\",0,0,0"_s,
    u"T,2,1,300,10,200,20,Arial,10,0,0,0,0,1,\"\",0,0,0"_s,
    u"T,7,7,10,60,100,20,,1,0,2,64,15,0"_s,
    u"T,8,8,200,60,100,40,,1,0,0,0,15,0"_s,
    u"T,12,0,10,120,200,50,,3,0,99,0,15,0,\"12345\",0,0,0"_s,
    u"T,11,11,300,120,100,50,,1,0,0,16,15,0,\"logo.bmp\""_s,
    u"T,13,2,450,120,100,50,,1,0,0,16,15,3"_s,
    u"T,2,0,300,200,200,20,Arial,10,0,0,8,5,1,\"\",0,0,0"_s,
    u"T,15,0,0,250,827,40"_s,
};

const char* const kPanels[] = {"PanelTexty",     "PanelRtf",     "PanelObraz",   "PanelCary",
                               "PanelObdelniky", "PanelBarCode", "PanelPaintBox"};

report::TVoranReportElement& model(EditedTemplate& t, int i) {
    return *t.element(i)->element();
}

// The panels not hidden, by name.
QStringList shownPanels(EditedTemplate& t) {
    QStringList shown;
    for (const char* name : kPanels)
        if (!t.find<QWidget>(name)->isHidden()) shown << QString::fromLatin1(name);
    return shown;
}

template <typename Box> void choose(Box* box, int entry) {
    box->setCurrentIndex(entry);
    emit box->activated(entry);
}

} // namespace

TEST(PropertyPanel, ShowsEachKindsValuesAndChangesOnlyTheNamedKindsOfSeveral) {
    EditedTemplate t(kLines);
    const std::pair<int, QStringList> expected[] = {
        {Text, {"PanelTexty"}},           {Item, {"PanelTexty"}},      {Line, {"PanelCary"}},
        {Frame, {"PanelObdelniky"}},      {Barcode, {"PanelBarCode"}}, {Picture, {"PanelObraz"}},
        {DrawingArea, {"PanelPaintBox"}}, {RtfItem, {"PanelRtf"}},     {Detail, {}},
    };
    for (const auto& [element, panels] : expected) {
        t.window->SelectElement(t.element(element));
        EXPECT_EQ(shownPanels(t), panels) << element;
        EXPECT_EQ(t.find<QLineEdit>("EditX")->text().toInt(), t.element(element)->Left());
    }

    // SbCar7 is the ellipse option of a line; CBSirkaBarCary shows module code 3
    // clang-format off
    const std::tuple<int, const char*, const char*> values[] = {
        {Text, "EditText", "text"}, {Item, "EditText", "ro:Položka pol1"}, {Line, "SbCar7", "1"},
        {Line, "SBCar5", "0"}, {Line, "CBStylCary", "tečkovaná"},
        {Barcode, "CBTypBarCode", "EAN 13"}, {Barcode, "EditBarText", "12345"},
        {Picture, "CBObrazFile", "logo.bmp"}, {Picture, "CBObrStretch", "1"},
        {Picture, "CBObrPomer", "0"}, {Picture, "CBObrVariable", "0"},
        {DrawingArea, "EPaintBoxIndex", "2"}, {DrawingArea, "EPaintBoxZoom", "3"},
        {RtfItem, "SBCarR1", "1"}, {RtfItem, "SBCarR2", "0"}, {RtfItem, "SBCarR3", "1"}};
    // clang-format on
    for (const auto& [element, name, value] : values) {
        t.window->SelectElement(t.element(element));
        EXPECT_EQ(t.shown(name), QString::fromUtf8(value)) << name;
    }
    t.window->SelectElement(t.element(Barcode));
    EXPECT_EQ(t.find<QComboBox>("CBSirkaBarCary")->currentIndex(), 4);
    EXPECT_TRUE(t.find<QToolButton>("SBPrenesP")->isEnabled());
    t.window->ClearSelection();
    EXPECT_TRUE(shownPanels(t).isEmpty());
    EXPECT_FALSE(t.find<QToolButton>("SBPrenesP")->isEnabled());

    // a change of a multiple selection reaches the kinds it names
    const auto isText = [](int kind) { return kind >= 1 && kind <= 6; };

    t.selectAll(t.element(Text));
    EXPECT_FALSE(t.find<QToolButton>("SBPrenesP")->isEnabled());
    choose(t.find<QComboBox>("CBZarovnani"), 2);
    EXPECT_EQ(t.undoCaption(), u"Zrušit změna zarovnávání"_s);
    t.find<QToolButton>("SBCarT2")->click();
    EXPECT_EQ(t.undoCaption(), u"Zrušit nastavení prvku"_s);
    for (int i = 0; i < t.paper()->PocetPrvku(); ++i) {
        const report::TVoranReportElement& e = model(t, i);
        EXPECT_EQ(e.Alignment, isText(e.Kind) ? 2 : 0) << i;
        if (i == RtfItem) continue; // had sides 1 and 4
        EXPECT_EQ(e.Options & report::soTop, isText(e.Kind) ? report::soTop : 0) << i;
    }
    EXPECT_EQ(model(t, RtfItem).Options, report::soLeft | report::soTop | report::soRight);

    // a line as the primary: the line colour reaches lines only; a frame: frames only
    t.selectAll(t.element(Line));
    choose(t.find<QComboBox>("CBBarvaCary"), 9);
    t.selectAll(t.element(Frame));
    choose(t.find<QComboBox>("CBRamBarvaVypl"), 11);
    choose(t.find<QComboBox>("CBRamStyl"), 6);
    for (int i = 0; i < t.paper()->PocetPrvku(); ++i) {
        const report::TVoranReportElement& e = model(t, i);
        if (e.Kind >= 7 && e.Kind <= 13) {
            EXPECT_EQ(report::ColorToIndex(e.PenColor), e.Kind == 7 ? 9 : 0) << i;
            EXPECT_EQ(report::ColorToIndex(e.BrushColor), e.Kind == 8 ? 11 : 15) << i;
        }
        EXPECT_EQ(e.BrushStyle, e.Kind == 8 ? 6 : e.Kind == 13 ? 3 : 0) << i;
    }
    // everything reached the history: undoing the five steps gives the original lines back
    const int steps = t.steps();
    EXPECT_EQ(steps, 5);
    for (int i = 0; i < steps; ++i)
        t.window->Undo();
    EXPECT_EQ(t.elementLines(), QStringList(kLines));
}

TEST(PropertyPanel, WideLineIsSolidAndDrawingAreaFieldsFallBack) {
    EditedTemplate t(kLines);
    t.window->SelectElement(t.element(Line));
    auto* width = t.find<QSpinBox>("SBSirkaCary");
    auto* style = t.find<QComboBox>("CBStylCary");
    width->setValue(3);
    EXPECT_EQ(style->currentText(), u"plná"_s);
    EXPECT_EQ(model(t, Line).PenStyle, 0);
    EXPECT_EQ(model(t, Line).PenWidth, 3);
    choose(style, 1); // ignored while wide
    EXPECT_EQ(model(t, Line).PenStyle, 0);
    width->setValue(1);
    choose(style, 3);
    EXPECT_EQ(model(t, Line).PenStyle, 3);
    EXPECT_EQ(t.steps(), 4);
    EXPECT_TRUE(t.elementLines()[Line].startsWith(u"T,7,7,10,60,100,20,,1,0,3,"_s));

    t.window->SelectElement(t.element(DrawingArea));
    auto* zoom = t.find<QLineEdit>("EPaintBoxZoom");
    zoom->setText(u"abc"_s);
    emit zoom->editingFinished();
    EXPECT_EQ(model(t, DrawingArea).BrushStyle, 1);
    t.find<QLineEdit>("EPaintBoxIndex")->setText(u"x"_s);
    emit t.find<QLineEdit>("EPaintBoxIndex")->editingFinished();
    EXPECT_EQ(model(t, DrawingArea).Index, 0);
    EXPECT_TRUE(model(t, DrawingArea).GetOption5());
    EXPECT_EQ(t.steps(), 6);

    t.window->SelectElement(t.element(Barcode));
    choose(t.find<QComboBox>("CBTypBarCode"), 3);
    choose(t.find<QComboBox>("CBSirkaBarCary"), 0);
    t.find<QCheckBox>("CBBarText")->click();
    EXPECT_EQ(model(t, Barcode).PenStyle, 3);
    EXPECT_EQ(model(t, Barcode).PenWidth, 4);
    EXPECT_TRUE(model(t, Barcode).GetOption6());
}

TEST(PropertyPanel, PictureOptionsActOnASinglePictureOnlyAndFilesComeFromTheFolder) {
    EditedTemplate t(kLines);
    t.window->SelectElement(t.element(Picture));
    t.find<QCheckBox>("CBObrPomer")->click();
    EXPECT_TRUE(model(t, Picture).GetOption6());
    t.find<QCheckBox>("CBObrStretch")->click();
    EXPECT_FALSE(model(t, Picture).GetOption5());
    EXPECT_TRUE(t.find<QCheckBox>("CBObrPomer")->isHidden());
    const int steps = t.steps();
    EXPECT_EQ(steps, 2);

    t.selectAll(t.element(Picture));
    t.find<QCheckBox>("CBObrVariable")->click();
    EXPECT_FALSE(model(t, Picture).GetOption7());
    EXPECT_EQ(t.steps(), steps);

    // the file list comes from the template's folder
    t.report.SetReportName(u"zk.pts"_s);
    t.report.ReportDirIgnore = false;
    t.report.setReportDir(t.folder.path());
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(t.folder.path() + u"/modra.bmp"_s, "BMP"));
    ASSERT_TRUE(image.save(t.folder.path() + u"/jina.jpg"_s, "JPG"));
    t.select({t.element(Picture)});
    ASSERT_EQ(model(t, Picture).GetPicture(), nullptr);
    auto* files = t.find<QComboBox>("CBObrazFile");
    files->showPopup();
    QStringList listed;
    for (int i = 0; i < files->count(); ++i)
        listed << files->itemText(i);
    files->hidePopup();
    EXPECT_EQ(listed, QStringList({"jina.jpg", "modra.bmp"}));
    EXPECT_EQ(files->currentText(), u"logo.bmp"_s); // the shown name stays
    choose(files, 1);
    ASSERT_NE(model(t, Picture).GetPicture(), nullptr);
    EXPECT_EQ(model(t, Picture).GetPicture()->Width(), 8);
    EXPECT_EQ(t.undoCaption(), u"Zrušit nastavení prvku"_s);
    // an item's picture comes from its data: no file choice there
    t.window->SelectElement(t.element(Item));
    EXPECT_TRUE(files->isHidden());
}

TEST(PropertyPanel, TextLeftWithoutEnterIsRecordedWhenTheFieldLosesTheFocus) {
    EditedTemplate t(kLines);
    t.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.window.get()));
    t.window->SelectElement(t.element(Text));
    auto* edit = t.find<QLineEdit>("EditText");
    edit->setFocus();
    QTest::keyClicks(edit, u"X"_s);
    EXPECT_EQ(model(t, Text).Text, u"textX"_s); // while typing
    EXPECT_FALSE(t.window->modified());

    // a click on an empty spot of the body section
    designer::TOddil* body = t.element(Text)->section();
    const QPoint spot = body->mapTo(t.window.get(), QPoint(body->width() - 10, 30));
    QTest::mouseClick(t.window->windowHandle(), Qt::LeftButton, {}, spot);
    EXPECT_EQ(t.steps(), 1);
    EXPECT_EQ(t.undoCaption(), u"Zrušit změna textu"_s);
    EXPECT_TRUE(t.window->modified());
    EXPECT_TRUE(t.elementLines()[Text].contains(u"\"textX\""_s));

    // Enter records at once, and leaving the field afterwards adds nothing
    t.window->SelectElement(t.element(Text));
    edit->setFocus();
    QTest::keyClicks(edit, u"Y"_s);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(t.steps(), 2);
    t.window->paper()->setFocus();
    EXPECT_EQ(t.steps(), 2);

    // typing then undo takes the typing back; closing after typing asks to save
    edit->setFocus();
    QTest::keyClicks(edit, u"Z"_s);
    t.window->Undo();
    EXPECT_EQ(model(t, Text).Text, u"textXY"_s);
    t.window->Redo();
    EXPECT_EQ(model(t, Text).Text, u"textXYZ"_s);

    t.window->SelectElement(t.element(Barcode));
    t.window->setModified(false);
    auto* barText = t.find<QLineEdit>("EditBarText");
    barText->setFocus();
    QTest::keyClicks(barText, u"6"_s);
    EXPECT_EQ(model(t, Barcode).Value.text, u"123456"_s);
    t.window->reject(); // the recorder answers Cancel
    EXPECT_TRUE(t.window->isVisible());
    EXPECT_TRUE(
        t.messages.messages().contains(u"V předloze sestavy byly provedeny změny. Uložit?"_s));
    EXPECT_EQ(t.undoCaption(), u"Zrušit změna textu"_s);
}

TEST(ElementDialog, DataElementBarcodeAndFontOfSeveral) {
    EditedTemplate t(kLines);
    designer::TSesPrvek* item = t.element(Item);
    t.window->SelectElement(item);
    // Storno changes nothing
    EXPECT_EQ(answerModal([&] { t.window->EditElement(item); }, [](QDialog&) {}), 1);
    EXPECT_EQ(t.steps(), 0);

    const int seen =
        answerModal([&] { t.window->EditElement(item); },
                    [](QDialog& dialog) {
                        auto* index = dialog.findChild<QComboBox*>(u"CbIndex"_s);
                        EXPECT_EQ(index->currentIndex(), 1);
                        EXPECT_EQ(index->itemText(2), u"#3  pol2"_s);
                        index->setCurrentIndex(2);
                        dialog.findChild<QRadioButton*>(u"RBPodleNazvu"_s)->setChecked(true);
                        dialog.findChild<QComboBox*>(u"CBVyska"_s)->setCurrentText("14");
                        dialog.findChild<QCheckBox*>(u"CBBold"_s)->setChecked(true);
                        dialog.findChild<QLineEdit*>(u"EdL"_s)->setText(u"abc"_s);
                        dialog.findChild<QLineEdit*>(u"EdS"_s)->setText(u"0"_s);
                        dialog.findChild<QLineEdit*>(u"EdV"_s)->setText(u"-4"_s);
                        dialog.findChild<QLineEdit*>(u"EAngleT"_s)->setText(u"x"_s);
                        dialog.findChild<QCheckBox*>(u"PaDvText_1"_s)->setChecked(true);
                        dialog.accept();
                    });
    EXPECT_EQ(seen, 1);
    // by name, size 14 bold, left kept, sizes at least 3, several lines
    EXPECT_EQ(t.elementLines()[Item], u"T,2,pol2,300,10,3,3,Arial,14,0,1,16,0,1,\"\",0,0,0"_s);
    EXPECT_EQ(item->toolTip(), u"Položka pol2"_s);
    EXPECT_EQ(t.window->primarySelection(), item);
    EXPECT_EQ(t.undoCaption(), u"Zrušit nastavení prvku"_s);

    // a constant text is edited in the dialog's text field
    t.window->SelectElement(t.element(Text));
    answerModal([&] { t.window->EditElement(t.element(Text)); },
                [](QDialog& dialog) {
                    auto* text = dialog.findChild<QLineEdit*>(u"EditText"_s);
                    EXPECT_EQ(text->text(), u"text"_s);
                    text->setText(u"nový"_s);
                    dialog.accept();
                });
    EXPECT_EQ(model(t, Text).Text, u"nový"_s);

    // a barcode, and the font of several elements
    t.window->SelectElement(t.element(Barcode));
    answerModal([&] { t.window->EditElement(t.element(Barcode)); },
                [](QDialog& dialog) {
                    auto* type = dialog.findChild<QComboBox*>(u"CBBcTypBarCode"_s);
                    EXPECT_EQ(type->currentText(), u"EAN 13"_s);
                    EXPECT_EQ(dialog.findChild<QComboBox*>(u"CBBcSirkaBarCary"_s)->currentIndex(),
                              4);
                    EXPECT_FALSE(dialog.findChild<QTabWidget*>()->isTabVisible(0));
                    dialog.findChild<QLineEdit*>(u"EdBcS"_s)->setText(u"-1"_s);
                    dialog.findChild<QLineEdit*>(u"EditBcBarText"_s)->setText("987");
                    dialog.accept();
                });
    EXPECT_EQ(model(t, Barcode).PenStyle, report::bcEan13);
    EXPECT_EQ(model(t, Barcode).PenWidth, 8);
    EXPECT_EQ(model(t, Barcode).Width, 3);
    EXPECT_EQ(model(t, Barcode).Value.text, u"987"_s);
    EXPECT_EQ(t.undoCaption(), u"Zrušit nastavení prvku"_s);

    t.selectAll(t.element(Text));
    answerModal([&] { t.window->EditElement(t.element(Text)); },
                [](QDialog& dialog) {
                    auto* tabs = dialog.findChild<QTabWidget*>();
                    EXPECT_FALSE(tabs->isTabVisible(0));
                    EXPECT_TRUE(tabs->isTabVisible(1));
                    dialog.findChild<QCheckBox*>(u"CBItalic"_s)->setChecked(true);
                    dialog.accept();
                });
    EXPECT_EQ(t.undoCaption(), u"Zrušit změna písma"_s);
    for (int i = 0; i < t.paper()->PocetPrvku(); ++i)
        EXPECT_EQ(model(t, i).Font.italic, model(t, i).Kind <= 6) << i;
}

TEST(ElementDialog, MemoAndPictureItemsChooseTheirPanels) {
    EditedTemplate t(kLines);
    t.report.OnGetDataType = [](report::TSestavaD*, int index, int& type) {
        type = index == 0 ? report::ftMemo : index == 2 ? report::ftGraphic : report::ftString;
    };
    designer::TSesPrvek* item = t.element(Item);
    const auto shownPanel = [](QDialog& dialog) {
        for (const char* name : {"PaDvText", "PaDvMemo", "PaDvGraphic", "PaDvFunkce"})
            if (!dialog.findChild<QWidget*>(QString::fromLatin1(name))->isHidden())
                return QString::fromLatin1(name);
        return QString();
    };
    const auto edit = [&](int index, const char* box) {
        t.window->SelectElement(item);
        answerModal([&] { t.window->EditElement(item); },
                    [&](QDialog& dialog) {
                        dialog.findChild<QComboBox*>(u"CbIndex"_s)->setCurrentIndex(index);
                        const QString panel = shownPanel(dialog);
                        if (box) dialog.findChild<QCheckBox*>(panel + box)->setChecked(true);
                        dialog.accept();
                    });
    };
    // a memo item: the memo panel, and always several lines
    edit(0, nullptr);
    EXPECT_EQ(model(t, Item).Index, 0);
    EXPECT_TRUE(model(t, Item).GetMultiline());
    EXPECT_EQ(shownPanels(t), QStringList{"PanelTexty"});
    // its rich-text box makes the strip show the rich-text panel
    edit(0, "_3");
    EXPECT_TRUE(model(t, Item).GetRtf());
    EXPECT_EQ(shownPanels(t), QStringList{"PanelRtf"});
    // a picture item: the stretch box of the picture panel; the strip offers no file
    edit(2, "_1");
    EXPECT_EQ(model(t, Item).Index, 2);
    EXPECT_TRUE(model(t, Item).GetOption5());
    EXPECT_EQ(shownPanels(t), QStringList{"PanelObraz"});
    EXPECT_TRUE(t.find<QWidget>("CBObrazFile")->isHidden());
    EXPECT_TRUE(t.find<QWidget>("CBObrVariable")->isHidden());
}

TEST(ElementDialog, FunctionOutsideItsListOpensNothing) {
    EditedTemplate t({u"T,6,3,10,10,200,20,Arial,10,0,0,0,0,1,\"\",0,0,0"_s});
    t.window->SelectElement(t.element(0));
    EXPECT_EQ(answerModal([&] { t.window->EditElement(t.element(0)); }, [](QDialog&) {}), 0);
}

TEST(UserFunctions, InsertEditAndDeleteTheLast) {
    EditedTemplate t({});
    QAction* insert = t.window->action(u"ActionFnInsert"_s);
    QAction* edit = t.window->action(u"ActionFnEdit"_s);
    QAction* remove = t.window->action(u"ActionFnDelete"_s);
    auto* combo = t.find<QComboBox>("CbVyberFunkce");
    const auto named = [](const QString& name) {
        return [name](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(u"EditFnNaz"_s)->setText(name);
            dialog.accept();
        };
    };
    EXPECT_FALSE(edit->isEnabled());
    answerModal([&] { insert->trigger(); }, [](QDialog&) {}); // Storno
    EXPECT_EQ(t.report.Funkce().Count(), 0);
    EXPECT_EQ(t.steps(), 0);

    answerModal([&] { insert->trigger(); }, named(u"Prvni"_s));
    answerModal([&] { insert->trigger(); }, named(u"Druha"_s));
    EXPECT_EQ(t.report.Funkce().Count(), 2);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(t.undoCaption(), u"Zrušit přidání funkce"_s);
    EXPECT_TRUE(remove->isEnabled());
    combo->setCurrentIndex(0);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_TRUE(edit->isEnabled());

    answerModal([&] { edit->trigger(); }, named(u"Jina"_s));
    EXPECT_EQ(t.report.Funkce().GetFunkce(0)->Name(), u"Jina"_s);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(t.undoCaption(), u"Zrušit oprava funkce"_s);

    combo->setCurrentIndex(1);
    remove->trigger(); // answered No
    EXPECT_EQ(t.report.Funkce().Count(), 2);
    ASSERT_FALSE(t.messages.boxes().isEmpty());
    EXPECT_EQ(t.messages.boxes().last().text, u"Smazat vybranou funkci?"_s);
    EXPECT_EQ(t.messages.boxes().last().caption, u"Potvrzení"_s);
    t.messages.scriptAnswers({platform::MessageAnswer::Yes});
    remove->trigger();
    EXPECT_EQ(t.report.Funkce().Count(), 1);
    EXPECT_EQ(t.report.Funkce().GetFunkce(0)->Name(), u"Jina"_s);
    EXPECT_EQ(t.undoCaption(), u"Zrušit zrušení funkce"_s);
    t.window->Undo();
    EXPECT_EQ(t.report.Funkce().Count(), 2);
}

TEST(PropertyPanel, ZOrderRewritesTheCurrentStateWithoutAStep) {
    EditedTemplate t(kLines);
    t.window->SelectElement(t.element(Text));
    t.find<QToolButton>("SBPrenesP")->click();
    EXPECT_EQ(t.steps(), 0);
    EXPECT_TRUE(t.window->modified());
    const auto recorded = [&t] {
        return QStringList(t.window->history().Current()).filter(QRegularExpression("^T,"));
    };
    EXPECT_EQ(recorded().last(), kLines[Text]);
    t.find<QToolButton>("SBPrenesZ")->click();
    EXPECT_EQ(recorded(), kLines);
}

namespace {

// Group keys (g1 outer, g2 inner) of the rows the element dialogs' choices are printed over.
const std::vector<QStringList> kGroupRows{{"A", "x"}, {"A", "x"}, {"A", "y"}, {"B", "y"},
                                          {"B", "y"}, {"B", "z"}, {"C", "z"}};

// What a run of `text` over kGroupRows prints for the elements of `kind`: "page|text" each,
// and the number of pages.
std::pair<QStringList, int> printed(const QStringList& text, int kind,
                                    const QStringList& parameters = {}) {
    reporttest::TableReport t({u"g1"_s, u"g2"_s}, kGroupRows);
    t.report.setParametry(parameters);
    t.setTemplate(text);
    EXPECT_EQ(t.report.Generate(true), 0);
    QStringList out;
    for (const QString& line :
         reporttest::readingDump(t.report.Vystup()).filter(u" k%1 "_s.arg(kind)))
        // without the line range a text of several lines is dumped with
        out << line.section(u' ', 0, 0) + u'|' +
                   line.section(u'\'', 1, 1).remove(QRegularExpression(u" \\[\\d+-\\d+\\]$"_s));
    return {out, t.report.Vystup().PageCount()};
}

// Opens the dialog of `element` by a double click on it, for `answer`.
void editByDoubleClick(designer::TSesPrvek* element, const std::function<void(QDialog&)>& answer) {
    const auto click = [element] { QTest::mouseDClick(element, Qt::LeftButton, {}, {5, 5}); };
    EXPECT_EQ(answerModal(click, answer), 1);
}

void chooseByKeys(QComboBox* box, int entry) {
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < entry; ++i)
        QTest::keyClick(box, Qt::Key_Down);
}

} // namespace

// Per number of groups, every choice of a variable element is taken by the dialog with the
// boxes of its panel, kept through the template text into a window opened on it, and printed
// by the run as what it names: counted from the rows here. The panel's third box, hidden
// behind the function button, keeps the element's justification.
TEST(ElementDialog, VariableChoicesPrintWhatTheyNameAndKeepTheirBoxes) {
    const QDateTime start = QDateTime::currentDateTime();
    QStringList fixed{u"Datum tisku"_s, u"Čas tisku"_s, u"Číslo řádku"_s, u"Číslo stránky"_s,
                      u"Počet stran"_s};
    const char* const boxes[] = {"PaDvFunkce_1", "PaDvFunkce_2"};
    for (int groups = 0; groups <= 2; ++groups) {
        SCOPED_TRACE(groups);
        QStringList text{
            u"I,0,\"Proměnné\""_s, u"I,1,5,40,17"_s, u"I,2,0,827,1169,50,50,70,70,1,0"_s,
            u"I,3,0,0,0,0"_s,      u"I,3,1,0,0,0"_s, u"I,3,2,1,300,0"_s,
            u"I,3,3,0,0,0"_s,      u"I,3,4,0,0,0"_s};
        QStringList choices = fixed;
        for (int n = 1; n <= groups; ++n) {
            text << u"I,4,%1,g%2,0,0,0,0,0"_s.arg(n - 1).arg(n);
            choices << u"Číslo ř. ve sk.%1"_s.arg(n) << u"Číslo skupiny %1"_s.arg(n);
        }
        text << u"T,5,0,10,10,200,20,Arial,10,0,0,32,0,1,\"\",0,0,0"_s; // justified
        // the counters of each row, columns 2 and 5 on as the choices name them
        QList<QStringList> expected(kGroupRows.size());
        QList<int> rowIn(groups + 1, 0), number(groups + 1, 0);
        for (size_t r = 0; r < kGroupRows.size(); ++r) {
            bool broke = r == 0;
            for (int n = 1; n <= groups; ++n) {
                const bool outerBroke = broke;
                broke = broke || kGroupRows[r][n - 1] != kGroupRows[r - 1][n - 1];
                rowIn[n] = broke ? 1 : rowIn[n] + 1;
                number[n] = outerBroke ? 1 : number[n] + (broke ? 1 : 0);
                expected[r] << QString::number(rowIn[n]) << QString::number(number[n]);
            }
        }
        int previous = 0;
        // one opening more than there are choices: the last only looks at what the one before
        // left
        for (int choice = 0; choice <= choices.size(); ++choice) {
            SCOPED_TRACE(choice);
            designtest::EditingDesigner d({{"g1", "g2"}, {"G1", "G2"}, {}, 0}, text, true);
            designer::TSesPrvek* variable = d.element(0);
            const bool flags[] = {bool(choice & 1), bool(choice & 2)};
            editByDoubleClick(variable, [&](QDialog& dialog) {
                auto* index = dialog.findChild<QComboBox*>(u"CbIndex"_s);
                QStringList listed;
                for (int i = 0; i < index->count(); ++i)
                    listed << index->itemText(i);
                EXPECT_EQ(listed, choices);
                // what the previous choice left in the template
                EXPECT_EQ(index->currentIndex(), previous);
                auto* justify = dialog.findChild<QCheckBox*>(u"PaDvFunkce_3"_s);
                EXPECT_TRUE(justify->isHidden() && justify->isChecked());
                for (int b = 0; b < 2; ++b) {
                    auto* box = dialog.findChild<QCheckBox*>(QString::fromLatin1(boxes[b]));
                    EXPECT_EQ(box->isChecked(), bool(previous & (1 << b))) << boxes[b];
                    if (box->isChecked() != flags[b]) QTest::mouseClick(box, Qt::LeftButton);
                }
                if (choice == choices.size()) return; // Storno
                chooseByKeys(index, choice);
                QTest::mouseClick(dialog.findChild<QPushButton*>(u"BtnOK"_s), Qt::LeftButton);
            });
            if (choice == choices.size()) break;
            const report::TVoranReportElement& e = *variable->element();
            EXPECT_EQ(e.Index, choice);
            EXPECT_EQ((std::array{e.GetMultiline(), e.GetVarHeight(), e.GetJustify()}),
                      (std::array{flags[0], flags[1], true}));
            text = d.window->storedText();
            previous = choice;

            const auto [lines, pages] = printed(text, report::ekVariable);
            ASSERT_EQ(lines.size(), qsizetype(kGroupRows.size()));
            const QDateTime end = QDateTime::currentDateTime();
            for (qsizetype r = 0; r < lines.size(); ++r) {
                const QString page = lines[r].section(u'|', 0, 0);
                const QString shown = lines[r].section(u'|', 1);
                switch (choice) {
                case 0:
                    EXPECT_EQ(shown.toStdString(),
                              platform::DateToStr(platform::DateTimeToDouble(end)).toStdString());
                    break;
                case 1: {
                    QStringList times;
                    for (QDateTime t = start; t <= end.addSecs(1); t = t.addSecs(1))
                        times << platform::TimeToStr(platform::DateTimeToDouble(t));
                    EXPECT_TRUE(times.contains(shown)) << shown.toStdString();
                    break;
                }
                case 2:
                    EXPECT_EQ(shown.toStdString(), std::to_string(r + 1));
                    break;
                case 3:
                    EXPECT_EQ(shown.toStdString(), page.toStdString());
                    break;
                case 4:
                    EXPECT_EQ(shown.toStdString(), std::to_string(pages));
                    break;
                default:
                    EXPECT_EQ(shown.toStdString(), expected[r][choice - 5].toStdString()) << r;
                }
            }
            EXPECT_GT(pages, 1);
        }
    }
}

TEST(ElementDialog, ParameterAndFunctionChoicesPrintTheChosenOne) {
    const QStringList parameters{u"alfa"_s, u"beta"_s, u"gama"_s};
    struct Case {
        int kind;
        int choice;
        bool byName;
        QString reference; // as the template stores it
        QString printed;
    };
    const Case cases[] = {
        {report::ekParameter, 2, false, u"2"_s, u"gama"_s},
        {report::ekFunction, 1, false, u"1"_s, u"20"_s},
        {report::ekFunction, 2, true, u"treti"_s, u"30"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reference.toStdString());
        const QStringList text{u"I,0,\"Volby\""_s,
                               u"I,1,5,40,17"_s,
                               u"I,2,0,827,1169,50,50,70,70,1,0"_s,
                               u"I,3,2,1,40,0"_s,
                               u"F,0,prvni,\"první\",0,\"0\",0,\"10\",0,15,0,2"_s,
                               u"F,1,druha,\"druhá\",0,\"0\",0,\"20\",0,15,0,2"_s,
                               u"F,2,treti,\"třetí\",0,\"0\",0,\"30\",0,15,0,2"_s,
                               u"T,%1,0,10,10,200,20,Arial,10,0,0,0,0,1,\"\",0,0,0"_s.arg(c.kind)};
        designtest::EditingDesigner d({{"g1", "g2"}, {"G1", "G2"}, parameters, 0}, text, true);
        editByDoubleClick(d.element(0), [&](QDialog& dialog) {
            auto* index = dialog.findChild<QComboBox*>(u"CbIndex"_s);
            EXPECT_EQ(index->count(), 3);
            chooseByKeys(index, c.choice);
            if (c.byName)
                QTest::mouseClick(dialog.findChild<QRadioButton*>(u"RBPodleNazvu"_s),
                                  Qt::LeftButton);
            QTest::mouseClick(dialog.findChild<QPushButton*>(u"BtnOK"_s), Qt::LeftButton);
        });
        EXPECT_EQ(d.element(0)->element()->Index, c.choice);
        const QStringList stored = d.window->storedText();
        EXPECT_TRUE(stored.last().startsWith(u"T,%1,%2,"_s.arg(c.kind).arg(c.reference)))
            << stored.last().toStdString();
        // once for each row, on the one page
        EXPECT_EQ(printed(stored, c.kind, parameters).first,
                  QStringList(qsizetype(kGroupRows.size()), u"1|"_s + c.printed));
    }
}
