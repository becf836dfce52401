// The designer's codes by name: section codes with their keys and captions as the paper makes
// them, the step names of the change kinds, and the window's answers to the events that give
// a result.

#include "support/EditingDesigner.h"

#include "report/designer/TOddil.h"
#include "report/designer/TPapir.h"
#include "report/designer/model/TListVariant.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(DesignerCodes, GroupSectionsTakeTheCodesKeysAndCaptionsOfTheirGroup) {
    designer::TPapir paper;
    for (report::SectionNumber code : designer::kFixedSectionCodes)
        paper.AddOddil(code);
    designer::TListSkupinE groups;
    for (int k = 0; k < 3; ++k)
        paper.AddSkupina(groups.add());
    // the list holds Z H T K P, then header and footer of each group in turn
    const QStringList keys{u"Z"_s,  u"H"_s,  u"T"_s,  u"K"_s,  u"P"_s, u"S0"_s,
                           u"U0"_s, u"S1"_s, u"U1"_s, u"S2"_s, u"U2"_s};
    ASSERT_EQ(paper.PocetOddilu(), keys.size());
    for (int i = 0; i < paper.PocetOddilu(); ++i) {
        const int code = paper.Oddil(i)->code();
        EXPECT_EQ(code, i);
        EXPECT_EQ(designer::sectionKey(code), keys[i]);
        const int group = designer::groupOfCode(code);
        EXPECT_EQ(group, i < 5 ? -1 : (i - 5) / 2);
        if (group < 0) continue;
        const bool header = designer::isGroupHeaderCode(code);
        EXPECT_EQ(paper.Oddil(i),
                  header ? groups.Skupina(group)->header : groups.Skupina(group)->footer);
        EXPECT_EQ(code,
                  header ? designer::groupHeaderCode(group) : designer::groupFooterCode(group));
        EXPECT_EQ(paper.Oddil(i)->caption(),
                  (header ? u"Začátek skupiny %1"_s : u"Konec skupiny %1"_s).arg(group + 1));
    }
}

TEST(DesignerCodes, EveryChangeKindHasAStepNameOfItsOwn) {
    QSet<QString> names;
    for (int kind = designer::ckInsertElement; kind <= designer::ckDetail; ++kind) {
        const QString name = designer::TListVariant::StepName(kind);
        EXPECT_FALSE(name.isEmpty()) << kind;
        EXPECT_LE(name.size(), 32) << kind;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), designer::ckDetail - designer::ckInsertElement + 1);
    EXPECT_EQ(designer::TListVariant::StepName(designer::ckInsertElement - 1), QString());
    EXPECT_EQ(designer::TListVariant::StepName(designer::ckDetail + 1), QString());
}

TEST(DesignerCodes, TheWindowAnswersTheCountAndTheInsertionRangeEnds) {
    designtest::EditedTemplate t({u"T,1,0,10,10,50,20,Arial,10,0,0,0,0,1,\"a\",0,0,0"_s,
                                  u"T,1,0,100,10,50,20,Arial,10,0,0,0,0,1,\"b\",0,0,0"_s});
    t.select({t.element(0), t.element(1)});
    EXPECT_EQ(t.window->elementEvent(designer::eeSelectionCount, nullptr), 2);
    // the primary travels typed, never through the integer result
    EXPECT_EQ(t.window->elementEvent(designer::eePrimarySelection, nullptr), 0);
    EXPECT_EQ(t.window->primarySelection(), t.element(0));

    t.action("ActionGrText")->trigger();
    const int steps = t.steps();
    // past the last insertion code nothing is inserted; a body click inserts
    t.window->paperEvent(designer::peSectionClickLast + 1, 30, 30);
    EXPECT_EQ(t.paper()->PocetPrvku(), 2);
    t.window->paperEvent(designer::peSectionClick + int(report::odT), 30, 30);
    EXPECT_EQ(t.paper()->PocetPrvku(), 3);
    EXPECT_EQ(t.steps(), steps + 1);
    EXPECT_EQ(t.stepName(), designer::TListVariant::StepName(designer::ckInsertElement));
}
