// The engine's message table and its message boxes.

#include "report/engine/sestzpr.h"
#include "platform/MessageSink.h"
#include "platform/Windows1250.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

using report::LoadText;
using report::ReportText;

TEST(ReportTexts, EveryTextFitsTheLegacyCodePageAndIsWellFormed) {
    for (int i = 0; i < report::kReportTextCount; ++i) {
        const QString text = LoadText(static_cast<ReportText>(i));
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(text.isEmpty());
        // The texts were kept in Windows-1250, so each must survive that code page.
        EXPECT_EQ(platform::DecodeWindows1250(platform::EncodeWindows1250(text)), text);
        EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
        // Every '%' starts a specifier the callers fill.
        for (qsizetype p = text.indexOf('%'); p >= 0; p = text.indexOf('%', p + 1))
            EXPECT_TRUE(text.mid(p + 1, 1) == "s" || text.mid(p + 1, 1) == "d");
    }
    EXPECT_EQ(LoadText(static_cast<ReportText>(report::kReportTextCount)), QString());
}

TEST(FillText, FillsSpecifiersInOrder) {
    EXPECT_EQ(report::FillText(LoadText(ReportText::ExpressionError), {"", "17"}),
              "Chyba : \"\" na pozici 17");
    EXPECT_EQ(report::FillText(LoadText(ReportText::DetailTabTitle), {"2", "Faktury"}),
              "Detail 2: Faktury");
    // An argument's own '%' is copied, not filled; a specifier without argument stays.
    EXPECT_EQ(report::FillText("%s and %s", {"100%s"}), "100%s and %s");
    EXPECT_EQ(report::FillText("50 % off %d", {"3"}), "50 % off 3");
}

TEST(ReportBoxes, CaptionsButtonsAndIconsFollowTheKindOfMessage) {
    platform::MessageRecorder sink;
    sink.scriptAnswers({platform::MessageAnswer::Yes, platform::MessageAnswer::No});
    EXPECT_TRUE(report::AskYesNo(sink, LoadText(ReportText::SaveChangesQuestion)));
    EXPECT_FALSE(report::AskYesNo(sink, LoadText(ReportText::DeleteFunctionQuestion)));
    report::ShowError(sink, LoadText(ReportText::TemplateNotSaved));
    report::ShowWarning(sink, report::FillText(LoadText(ReportText::UnknownAlias), {"DB"}));
    report::ShowInformation(sink, LoadText(ReportText::ExpressionOk));

    const auto& boxes = sink.boxes();
    ASSERT_EQ(boxes.size(), 5);
    EXPECT_EQ(boxes[0].caption, "Potvrzení");
    EXPECT_EQ(boxes[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(boxes[0].icon, platform::MessageIcon::Question);
    EXPECT_EQ(boxes[2].caption, "Chyba");
    EXPECT_EQ(boxes[2].buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(boxes[2].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(boxes[3].caption, "Varování");
    EXPECT_EQ(boxes[3].icon, platform::MessageIcon::Warning);
    // The carriage return of the alias warning is shown as a line break.
    EXPECT_EQ(boxes[3].text, "Neznámý alias: DB\nBude použito stand. nastavení");
    EXPECT_EQ(boxes[4].caption, "Informace");
    EXPECT_EQ(boxes[4].icon, platform::MessageIcon::Information);
}

} // namespace
