// Template text through the designer and back loses and corrupts nothing: generated templates
// with fixed seeds (DESIGNER_ROUNDTRIP_SEED reruns the tests with another one).

#include "support/DesignerWindow.h"

#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/printing/sestprn.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designtest::DesignedReport;
using designtest::firstDifference;
using designtest::TemplateGenerator;

namespace {

unsigned baseSeed() {
    bool ok = false;
    const unsigned seed = qEnvironmentVariable("DESIGNER_ROUNDTRIP_SEED").toUInt(&ok);
    return ok ? seed : 20261207u;
}

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts);
}

// One edit of the kinds a user makes, chosen by `generator`: a key move or resize, a
// position field, an insertion, a deletion, a cut, a copy and paste or a section height.
void randomEdit(designer::TFormSestE& window, TemplateGenerator& generator) {
    static const char* const tools[] = {"ActionGrText", "ActionDb",  "ActionDate", "ActionGrRect",
                                        "ActionFn",     "ActionPar", "ActionBarc", "ActionDetail"};
    designer::TPapir* paper = window.paper();
    if (const int count = paper->PocetPrvku())
        window.SelectElement(paper->Prvek(generator.range(0, count - 1)));
    designer::TOddil* section = paper->Oddil(generator.range(0, paper->PocetOddilu() - 1));
    const int x = generator.range(0, 600);
    const int y = generator.range(0, 100);
    switch (generator.range(0, 6)) {
    case 0: {
        static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
        static const Qt::KeyboardModifiers states[] = {
            Qt::ControlModifier, Qt::ControlModifier | Qt::ShiftModifier, Qt::ShiftModifier};
        QTest::keyClick(paper, keys[generator.range(0, 3)], states[generator.range(0, 2)]);
        break;
    }
    case 1: {
        const char* const fields[] = {"EditX", "EditY", "EditW", "EditH"};
        auto* field = window.findChild<QLineEdit*>(fields[generator.range(0, 3)]);
        field->setText(QString::number(generator.range(-5, 400)));
        QTest::keyClick(field, Qt::Key_Return);
        break;
    }
    case 2:
        window.action(QString::fromLatin1(tools[generator.range(0, 7)]))->trigger();
        window.paperEvent(designer::peSectionClick + section->code(), x, y);
        break;
    case 3:
        QTest::keyClick(paper, Qt::Key_Delete);
        break;
    case 4:
        QTest::keyClick(paper, Qt::Key_X, Qt::ControlModifier);
        break;
    case 5:
        QTest::keyClick(paper, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(paper, Qt::Key_V, Qt::ControlModifier);
        window.paperEvent(designer::peSectionClick + section->code(), x, y);
        break;
    default:
        section->setSectionHeight(generator.range(14, 300));
        window.paperEvent(designer::peHeightChanged, section->code(), section->sectionHeight());
        break;
    }
}

} // namespace

TEST(DesignerRoundTrip, CanonicalTemplatesComeBackLineForLine) {
    const unsigned seed = baseSeed();
    for (unsigned i = 0; i < 500; ++i) {
        TemplateGenerator generator(seed + i);
        DesignedReport fixture(generator.fixture());
        const QStringList text = generator.canonical();
        ASSERT_EQ(firstDifference(text, fixture.open(text)->storedText()), "")
            << "seed " << seed + i;
    }
}

TEST(DesignerRoundTrip, SavedFileReadsBackToTheSameText) {
    const unsigned seed = baseSeed() + 100000;
    for (unsigned i = 0; i < 40; ++i) {
        TemplateGenerator generator(seed + i);
        DesignedReport fixture(generator.fixture());
        fixture.report.SetReportName(u"rt.pts"_s);
        fixture.report.setReportDir(fixture.folder.path());
        const QStringList text = generator.canonical();
        {
            auto window = fixture.open(text);
            window->RecordChange(designer::ckMove);
            ASSERT_TRUE(window->SavePredloha()) << "seed " << seed + i;
            EXPECT_FALSE(window->modified());
        }
        ASSERT_EQ(fixture.report.NactiPredlohu(false), 0) << "seed " << seed + i;
        ASSERT_EQ(firstDifference(text, fixture.open()->storedText()), "") << "seed " << seed + i;
        EXPECT_EQ(firstDifference(text, readLines(fixture.report.GetPredlohaPath())), "");
    }
}

TEST(DesignerRoundTrip, DamagedTemplatesSettleAfterOneStore) {
    const unsigned seed = baseSeed() + 200000;
    const auto paperOf = [](const report::TPageSetup& p) {
        return QList<int>({p.paperWidth, p.paperHeight, p.orientation, p.leftMargin, p.rightMargin,
                           p.topMargin, p.bottomMargin});
    };
    for (unsigned i = 0; i < 200; ++i) {
        TemplateGenerator generator(seed + i);
        DesignedReport fixture(generator.fixture());
        QStringList noisy = generator.noisy();
        // every other one without its paper and background lines
        if (i % 2)
            noisy.removeIf([](const QString& line) {
                return line.startsWith(u"I,2"_s) || line.startsWith(u"I,7"_s);
            });
        const QStringList first = fixture.open(noisy)->storedText();
        // without a paper line the report prints on the printer model's paper: so must the
        // stored text
        const QList<int> before = paperOf(report::PageSetup());
        fixture.report.SetPredloha(first);
        if (i % 2) {
            EXPECT_EQ(paperOf(report::PageSetup()), before) << "seed " << seed + i;
        }
        ASSERT_EQ(firstDifference(first, fixture.open()->storedText()), "") << "seed " << seed + i;
    }
}

// Every edit is held by a step, and undo and redo give back every snapshot, over random edits
// of generated templates.
TEST(DesignerRoundTrip, UndoAndRedoGiveBackEverySnapshotOfEditing) {
    const unsigned seed = baseSeed() + 500000;
    int recorded = 0;
    for (unsigned i = 0; i < 30; ++i) {
        TemplateGenerator generator(seed + i);
        DesignedReport fixture(generator.fixture());
        auto window = fixture.open(generator.canonical());
        window->document().setHistoryCapacity(40);
        QList<QStringList> kept{window->storedText()};
        for (int step = 0; step < 12; ++step) {
            const int steps = window->history().CurrentIndex();
            randomEdit(*window, generator);
            // every change is held by a step
            ASSERT_EQ(firstDifference(window->history().Current(), window->storedText()), "")
                << "seed " << seed + i << " step " << step;
            if (window->history().CurrentIndex() == steps) continue;
            ++recorded;
            kept << window->storedText();
        }
        for (int back = int(kept.size()) - 2; back >= 0; --back) {
            window->Undo();
            ASSERT_EQ(firstDifference(kept[back], window->storedText()), "")
                << "seed " << seed + i << " undo to " << back;
        }
        if (kept.size() > 1) {
            EXPECT_TRUE(window->modified());
        }
        for (qsizetype forward = 1; forward < kept.size(); ++forward) {
            window->Redo();
            ASSERT_EQ(firstDifference(kept[forward], window->storedText()), "")
                << "seed " << seed + i << " redo to " << forward;
        }
    }
    EXPECT_GT(recorded, 200); // most edits record a step
}
