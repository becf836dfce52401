// The template check: files that are templates (whole, without their last line end, with
// lines the reader skips) against files that are not (no template line, binary bytes, a last
// line cut before its fields end).

#include "support/ReportFixture.h"

#include "report/engine/template/TemplateCheck.h"

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

QByteArray sampleTemplate() {
    return TPredloha({paperLine(827, 1169, 50), sectionLine(1, true, 20), sectionLine(2, true, 20),
                      textLine("H", 1, "0", 0, 0, 200, 20, "Hlavicka"),
                      textLine("T", 2, "Vel1", 0, 0, 100, 20)})
        .ToBytes();
}

} // namespace

// The template check, against files we know: real templates (also without their last line
// end, or with lines the reader skips) pass; no template text at all, binary bytes and a last
// line cut before its fields end do not.
TEST(TemplateCheck, TellsDamagedFilesFromTemplates) {
    const QByteArray good = sampleTemplate();
    EXPECT_EQ(CheckTemplateBytes(good), TemplateDamage::None);
    EXPECT_EQ(CheckTemplateBytes(good.chopped(2)), TemplateDamage::None); // no last CR LF
    EXPECT_EQ(CheckTemplateBytes(QByteArray()), TemplateDamage::None);
    EXPECT_EQ(CheckTemplateBytes("\r\n\r\n"), TemplateDamage::None);
    EXPECT_EQ(CheckTemplateBytes("; a note\r\n" + good + "Q,unknown key\r\n"),
              TemplateDamage::None);
    EXPECT_EQ(CheckTemplateBytes(QByteArray("\xEF\xBB\xBFI,0,\"Popis\"")), TemplateDamage::None);

    EXPECT_EQ(CheckTemplateBytes("Dear reader,\r\nthis is a letter.\r\n"),
              TemplateDamage::NoValidLine);
    EXPECT_EQ(CheckTemplateBytes(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)),
              TemplateDamage::Binary);
    EXPECT_EQ(CheckTemplateBytes(QByteArray(5000, '\x01')), TemplateDamage::Binary);
    // What old editors wrote: an end-of-file byte (or a padding of them) ends the text, form
    // feeds and vertical tabs are text.
    EXPECT_EQ(CheckTemplateBytes(good.chopped(2) + QByteArray(3, '\x1A')), TemplateDamage::None);
    EXPECT_EQ(CheckTemplateBytes(good + "T,1,0,0,0,9,9,A,9,0,0,0,0,1,\"\f\v\",0,0,0"),
              TemplateDamage::None);
    EXPECT_EQ(TPredloha::FromBytes("Z,1\f\v\r\n\x1A\r\nZ"), TPredloha({"Z,1\f\v"}));

    // Cut anywhere in the last line before its last field: always found. (A cut inside the
    // last number leaves a line that reads whole: nothing tells it apart.)
    for (const QString& last :
         {textLine("T", 2, "Vel1", 0, 0, 100, 20), QStringLiteral("T,8,8,1,2,3,4,,1,0,0,15,0,1"),
          QStringLiteral("F,0,f,\"t\",1,\"\",0,\"#1+1\",0,15,2,2"),
          QStringLiteral("I,2,0,827,1169,50,50,50,50,1,0"),
          QStringLiteral("D0,") + textLine("T", 1, "0", 0, 0, 100, 20, "detail")}) {
        const QByteArray whole = good + last.toUtf8();
        ASSERT_EQ(CheckTemplateBytes(whole), TemplateDamage::None) << last.toStdString();
        const qsizetype lastComma = whole.lastIndexOf(',');
        // (A line cut to its first character may be any line the reader skips.)
        for (qsizetype cut = good.size() + 2; cut < lastComma; ++cut)
            EXPECT_EQ(CheckTemplateBytes(whole.left(cut)), TemplateDamage::CutLastLine)
                << whole.left(cut).mid(good.size()).toStdString();
    }
}
