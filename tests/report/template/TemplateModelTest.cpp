// The template model: element texts per kind, option bits, pictures, drawing areas, groups and
// their counters, details, clearing.

#include "report/engine/document/TPicture.h"
#include "report/engine/run/sestavy.h"

#include "platform/NumberText.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <utility>

using namespace report;

namespace {

platform::LocaleSettings pointSettings() {
    platform::LocaleSettings settings;
    settings.decimalSeparator = u'.';
    return settings;
}

std::unique_ptr<TVoranReportElement> elementOf(TSestavaTyp& report, const QString& line) {
    auto element = std::make_unique<TVoranReportElement>(&report);
    element->LoadFromLine(line);
    return element;
}

TEST(TemplateElement, TextPerKind) {
    platform::ScopedLocaleSettings settings(pointSettings());
    TSestava report;
    report.SetItemNames({QStringLiteral("a"), QStringLiteral("b")});
    report.setItemDescriptions({QStringLiteral("Teplota"), QStringLiteral("Tlak")});
    report.setParametry({QStringLiteral("p1"), QStringLiteral("p2"), QStringLiteral("p3")});
    report.SetPredloha(TPredloha{QStringLiteral("F,0,f,\"t\",0,\"0\",0,\"1+2\",0,15,2,2")});
    report.Funkce().CalculateAll();

    auto text = elementOf(report, QStringLiteral("T,1,0,0,0,10,10,Arial,10,0,0,0,0,238,\"x,y\""));
    EXPECT_EQ(text->GetText(), u"x,y");

    auto item = elementOf(report, QStringLiteral("T,2,b"));
    item->Value.text = QStringLiteral("12.5");
    EXPECT_EQ(item->GetText(), u"12.5");
    // A label, parameters and functions in and out of range, a frame.
    for (auto [line, text] : {std::pair{"T,3,b", "Tlak"},
                              {"T,4,1", "p2"},
                              {"T,4,5", ""},
                              {"T,6,f", "3.00"},
                              {"T,6,3", ""},
                              {"T,8", ""}})
        EXPECT_EQ(elementOf(report, line)->GetText(), text) << line;

    // Page number 7 with and without a format; the print date with a pattern.
    auto page =
        elementOf(report, QStringLiteral("T,5,3,0,0,10,10,Arial,10,0,0,0,0,238,\"S. %d\""));
    page->Value.number = 7;
    page->Value.text = QStringLiteral("7");
    EXPECT_EQ(page->GetText(), u"S. 7");
    page->Text.clear();
    EXPECT_EQ(page->GetText(), u"7");
    page->Text = QStringLiteral("%d");
    page->Value.number = 1e30; // no overflow: the largest int
    EXPECT_EQ(page->GetText(), u"2147483647");
    auto date =
        elementOf(report, QStringLiteral("T,5,0,0,0,10,10,Arial,10,0,0,0,0,238,\"d.m.yyyy\""));
    date->Value.number = 45366.75;
    EXPECT_EQ(date->GetText(), u"15.3.2024");
    date->Text.clear();
    date->Value.text = QStringLiteral("as it is");
    EXPECT_EQ(date->GetText(), u"as it is");

    auto barcode =
        elementOf(report, QStringLiteral("T,12,0,0,0,10,10,,1,0,0,0,15,0,\"'8594',x\",0,0,0"));
    EXPECT_EQ(barcode->GetText(), u"8594");
    barcode->SetBarcodeText(QStringLiteral("'123','456'"));
    EXPECT_EQ(barcode->Text, u"'123','456'");
    EXPECT_EQ(barcode->Value.text, u"123");
}

TEST(TemplateElement, TextWithoutAReportIsTheElementsOwn) {
    // Kinds that read the report: item, label, parameter, function.
    for (int kind : {ekItem, ekItemLabel, ekParameter, ekFunction}) {
        TVoranReportElement element(nullptr);
        element.Kind = kind;
        element.Index = 1;
        element.Text = QStringLiteral("own");
        element.Value.text = QStringLiteral("value");
        const QString text = element.GetText();
        EXPECT_TRUE(text == u"own" || text == u"value") << kind << " " << text.toStdString();
    }
}

TEST(TemplateElement, OptionBitsAndAlignment) {
    TSestava report;
    TVoranReportElement e(&report);
    e.Kind = ekText;
    const std::pair<void (TVoranReportElement::*)(bool), int> textBits[] = {
        {&TVoranReportElement::SetRtf, 8},
        {&TVoranReportElement::SetMultiline, 16},
        {&TVoranReportElement::SetJustify, 32},
        {&TVoranReportElement::SetVarHeight, 64},
    };
    for (const auto& [set, bit] : textBits) {
        (e.*set)(true);
        EXPECT_EQ(e.TextOptions, bit);
        (e.*set)(false);
        EXPECT_EQ(e.TextOptions, 0);
    }
    const std::pair<void (TVoranReportElement::*)(bool), int> sideBits[] = {
        {&TVoranReportElement::SetFrameLeft, 1},  {&TVoranReportElement::SetFrameTop, 2},
        {&TVoranReportElement::SetFrameRight, 4}, {&TVoranReportElement::SetFrameBottom, 8},
        {&TVoranReportElement::SetOption5, 16},   {&TVoranReportElement::SetOption6, 32},
        {&TVoranReportElement::SetOption7, 64},
    };
    for (const auto& [set, bit] : sideBits) {
        (e.*set)(true);
        EXPECT_EQ(e.Options, bit);
        (e.*set)(false);
        EXPECT_EQ(e.Options, 0);
    }
    e.Alignment = 1;
    e.SetJustify(true);
    EXPECT_EQ(e.GetAlignment(), 3);
    e.SetRefName(QString(40, u'x'));
    EXPECT_EQ(e.RefName.size(), 32);
}

TEST(TemplateElement, ItemTypesMakeMultilineAndPictures) {
    TSestava report;
    report.SetItemNames({QStringLiteral("memo"), QStringLiteral("logo"), QStringLiteral("n")});
    report.OnGetDataType = [](TSestavaD*, int index, int& type) {
        type = index == 0 ? ftFmtMemo : index == 1 ? ftGraphic : ftInteger;
    };
    EXPECT_EQ(report.GetDataType(0), ftMemo); // 18 is reported as 16
    EXPECT_TRUE(elementOf(report, QStringLiteral("T,2,memo"))->IsMultilineText());
    EXPECT_FALSE(elementOf(report, QStringLiteral("T,2,memo"))->IsPicture());
    EXPECT_TRUE(elementOf(report, QStringLiteral("T,2,logo"))->IsPicture());
    EXPECT_FALSE(elementOf(report, QStringLiteral("T,3,logo"))->IsPicture());
    EXPECT_FALSE(elementOf(report, QStringLiteral("T,2,n"))->IsMultilineText());
    EXPECT_TRUE(elementOf(report, QStringLiteral("T,11"))->IsPicture());
}

TEST(TemplateElement, PenRulesOfLines) {
    TSestava report;
    TVoranReportElement line(&report);
    line.Kind = ekLine;
    line.SetPenStyle(2);
    EXPECT_EQ(line.PenStyle, 2);
    line.SetPenWidth(3);
    EXPECT_EQ(line.PenStyle, 0);
    line.SetPenStyle(4);
    EXPECT_EQ(line.PenStyle, 0);
    line.SetPenWidth(1);
    line.SetPenStyle(4);
    EXPECT_EQ(line.PenStyle, 4);

    TVoranReportElement frame(&report);
    frame.Kind = ekFrame;
    frame.SetPenWidth(3);
    frame.SetPenStyle(2);
    EXPECT_EQ(frame.PenStyle, 2);
}

TEST(TemplateElement, PictureFromTheTemplateFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(KOLV_TEST_DATA_DIR "/logo.bmp"),
                            dir.filePath(QStringLiteral("second.bmp"))));
    TSestava report(nullptr, dir.path());
    report.ReportDirIgnore = false;
    report.setReportDir(dir.path());
    report.SetReportName(QStringLiteral("r.pts"));

    auto element = elementOf(
        report, QStringLiteral("T,11,0,0,0,10,10,,1,0,0,0,15,0,\"first.bmp;second.bmp\""));
    ASSERT_NE(element->GetPicture(), nullptr);
    EXPECT_EQ(element->GetPicture()->Width(), 7);
    EXPECT_EQ(element->LoadedPictureName(), dir.filePath(QStringLiteral("second.bmp")));
    EXPECT_EQ(element->Text, u"first.bmp;second.bmp");

    element->LoadPicture(QStringLiteral("none.bmp;other.bmp"));
    EXPECT_EQ(element->GetPicture(), nullptr);

    TPicture picture;
    ASSERT_TRUE(picture.LoadFromFile(dir.filePath(QStringLiteral("second.bmp"))));
    element->SetPicture(&picture);
    ASSERT_NE(element->GetPicture(), nullptr);
    EXPECT_EQ(element->LoadedPictureName(), QString());
    element->SetPicture(nullptr);
    EXPECT_EQ(element->GetPicture(), nullptr);

    QStringList pictures;
    QFile(dir.filePath(QStringLiteral("note.txt"))).open(QIODevice::WriteOnly);
    QFile::copy(dir.filePath(QStringLiteral("second.bmp")), dir.filePath(QStringLiteral("A.BMP")));
    report.NactiSeznamObrazu(pictures);
    EXPECT_EQ(pictures, QStringList({"A.BMP", "second.bmp"}));
}

TEST(TemplateElement, DrawingAreaIsPaintedIntoAMetafile) {
    TSestava report;
    int calls = 0;
    report.OnPaintBox = [&](TSestavaD*, int index, int width, int height,
                            platform::TCanvas& canvas) {
        ++calls;
        EXPECT_EQ(index, 4);
        EXPECT_EQ(width, 200);
        EXPECT_EQ(height, 100);
        EXPECT_DOUBLE_EQ(canvas.PixelsPerInch(), 200.0);
        canvas.Rectangle({0, 0, width, height});
    };
    auto area = elementOf(report, QStringLiteral("T,13,4,0,0,100,50,,1,0,0,0,15,2"));
    area->PaintDrawingArea();
    EXPECT_EQ(calls, 1);
    ASSERT_NE(area->GetPicture(), nullptr);
    EXPECT_EQ(area->GetPicture()->kind(), TPicture::Kind::Metafile);
    EXPECT_EQ(area->GetPicture()->metafile().width(), 199);
    EXPECT_FALSE(area->GetPicture()->metafile().isEmpty());

    area->Width = INT_MAX; // sizes from a file: no overflow when scaled
    area->Height = -5;
    report.OnPaintBox = [&](TSestavaD*, int, int width, int height, platform::TCanvas&) {
        EXPECT_EQ(width, INT_MAX);
        EXPECT_EQ(height, 0);
    };
    area->PaintDrawingArea();

    report.setDesigning(true); // the designer paints no user drawing
    area->PaintDrawingArea();
    EXPECT_EQ(calls, 1);
}

TEST(TemplateGroups, KeyByNameOrNumber) {
    TSestava report;
    report.SetItemNames({QStringLiteral("name"), QStringLiteral("grp"), QStringLiteral("t")});
    const TPolSkup* byName = report.AddGroup(0, QStringLiteral("T"), true, 10, true, 20, false);
    EXPECT_EQ(byName->KeyText, u"T");
    EXPECT_TRUE(byName->NewPage);
    EXPECT_FALSE(byName->Header->Visible);
    EXPECT_EQ(QList<int>({byName->KeyIndex, byName->Header->Height, byName->Footer->Height,
                          byName->Footer->Further}),
              QList<int>({2, 20, 10, 50}));
    const TPolSkup* byNumber = report.AddGroup(1, QStringLiteral("1"), false, 0, true, 0, true);
    EXPECT_EQ(byNumber->KeyIndex, 1);
    EXPECT_EQ(byNumber->KeyText, QString());
    EXPECT_EQ(report.AddGroup(2, QStringLiteral("nosuch"), false, 0, true, 0, true)->KeyIndex, 0);
    EXPECT_EQ(report.AddGroup(3, QStringLiteral("9x"), false, 0, true, 0, true)->KeyIndex, 0);
    EXPECT_EQ(report.Skupiny().Name(3), u"Skupina 4");
    EXPECT_EQ(report.Oddily().Count(), 13);

    report.DeleteGroup(1);
    EXPECT_EQ(report.Skupiny().Count(), 3);
    EXPECT_EQ(report.Oddily().Count(), 11);
    EXPECT_EQ(report.Oddily().ByNumber(7), nullptr);
    EXPECT_EQ(report.Skupiny().Name(1), u"Skupina 3");
}

TEST(TemplateGroups, CountersAfterBreaks) {
    TListSkupin groups;
    for (int i = 0; i < 3; ++i)
        groups.Add(QStringLiteral("g"), std::make_unique<TPolSkup>());
    const auto state = [&groups] {
        QString s;
        for (int i = 0; i < groups.Count(); ++i)
            s += QStringLiteral("%1/%2 ")
                     .arg(groups.Skupina(i)->RowCounter)
                     .arg(groups.Skupina(i)->NumberCounter);
        return s.trimmed();
    };
    const auto advance = [&](std::initializer_list<bool> breaks) {
        int i = 0;
        for (bool b : breaks)
            groups.Skupina(i++)->Break = b;
        groups.Advance();
    };
    advance({false, false, false});
    EXPECT_EQ(state(), u"2/1 2/1 2/1");
    advance({false, false, true}); // the innermost group breaks
    EXPECT_EQ(state(), u"3/1 3/1 1/2");
    advance({false, false, true});
    EXPECT_EQ(state(), u"4/1 4/1 1/3");
    advance({false, true, true}); // the middle one breaks: the inner count restarts
    EXPECT_EQ(state(), u"5/1 1/2 1/1");
    advance({true, true, true});
    EXPECT_EQ(state(), u"1/2 1/1 1/1");
}

TEST(TemplateModel, ClearingEmptiesSectionsGroupsAndText) {
    TSestava report;
    report.SetPredloha(
        TPredloha{QStringLiteral("I,4,0,0"), QStringLiteral("T,1"), QStringLiteral("S0,1")});
    EXPECT_EQ(report.Skupiny().Count(), 1);
    QSignalSpy clearing(&report, &TSestavaTyp::modelClearing);
    report.ClearModel();
    EXPECT_EQ(clearing.count(), 1);
    EXPECT_EQ(report.Skupiny().Count(), 0);
    EXPECT_EQ(report.Oddily().Count(), 5);
    EXPECT_EQ(report.Oddily().Oddil(odT)->Count(), 0);
    EXPECT_TRUE(report.Predloha().isEmpty());
    int set = 0;
    report.OnSetPredloha = [&set](TSestava*) { ++set; };
    report.SetPredloha(TPredloha{QStringLiteral("T,1")});
    EXPECT_EQ(set, 1);
    EXPECT_EQ(clearing.count(), 2); // every new template drops the old model first
}

TEST(TemplateModel, DetailsRegisterWithTheirMaster) {
    auto master = std::make_unique<TSestava>();
    TSestava other;
    auto detail = std::make_unique<TSestDetail>();
    TSestDetail inner;

    EXPECT_TRUE(detail->setMaster(master.get()));
    EXPECT_TRUE(master->HasDetails());
    EXPECT_TRUE(detail->setMaster(&other));
    EXPECT_FALSE(master->HasDetails());
    EXPECT_EQ(other.Detaily().Detail(0), detail.get());

    // Itself, or one of its own details at any depth, can never be its master.
    EXPECT_FALSE(detail->setMaster(detail.get()));
    EXPECT_TRUE(inner.setMaster(detail.get()));
    EXPECT_FALSE(detail->setMaster(&inner));
    EXPECT_EQ(detail->MasterSestava(), &other);

    EXPECT_TRUE(detail->setMaster(master.get()));
    master.reset(); // the detail forgets its master
    EXPECT_EQ(detail->MasterSestava(), nullptr);
    detail.reset(); // the inner detail forgets it too
    EXPECT_EQ(inner.MasterSestava(), nullptr);
    EXPECT_FALSE(other.HasDetails());
}

} // namespace
