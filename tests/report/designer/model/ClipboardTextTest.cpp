// The clipboard text of copied elements: its exact form, copies that come back unchanged, and
// texts of any shape from other programs.

#include "report/designer/model/ClipboardText.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

using designer::ElementCopy;
using designer::ReadClipboardText;
using designer::WriteClipboardText;

TEST(ClipboardText, ACopyIsTheMarkerTheAnchorTheFocusAndItsLines) {
    ElementCopy copy;
    copy.lines = {u"X,1,0,100,50,60,20"_s, u"X,7,7,140,90,30,3"_s};
    copy.anchorX = 100;
    copy.anchorY = 50;
    copy.focusIndex = 0;
    EXPECT_EQ(WriteClipboardText(copy),
              u"VoranEditor\r\n100\r\n50\r\n0\r\nX,1,0,100,50,60,20\r\nX,7,7,140,90,30,3\r\n"_s);
    // pasted at (300, 80) the elements move by (200, 30)
    EXPECT_EQ(copy.dx(300), 200);
    EXPECT_EQ(copy.dy(80), 30);
    // far anchors do not overflow
    copy.anchorX = INT_MIN;
    EXPECT_EQ(copy.dx(INT_MAX), qint64(INT_MAX) - INT_MIN);
}

TEST(ClipboardText, CopiesComeBackAsTheyWent) {
    std::mt19937 random(11);
    for (int run = 0; run < 200; ++run) {
        ElementCopy copy;
        const int lines = 1 + int(random() % 5);
        for (int i = 0; i < lines; ++i)
            copy.lines << u"X,%1,\"a, \"\"b\"\"\",%2"_s.arg(random() % 16).arg(int(random()));
        copy.anchorX = int(random() % 4000001) - 2000000;
        copy.anchorY = int(random() % 3000) - 1000;
        copy.focusIndex = int(random() % (lines + 1)) - 1;
        const std::optional<ElementCopy> read = ReadClipboardText(WriteClipboardText(copy));
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(*read, copy);
    }
}

TEST(ClipboardText, TextsFromOtherProgramsReadAsFarAsTheyGo) {
    struct Case {
        QString text;
        bool read;
        int anchorX, anchorY, focus;
        QStringList lines;
    };
    const Case cases[] = {
        {u"VoranEditor\n5\n6\n0\nX,1\nX,2"_s, true, 5, 6, 0, {u"X,1"_s, u"X,2"_s}},
        {u"VoranEditor\r7\r8\r-1\rX,1\r"_s, true, 7, 8, -1, {u"X,1"_s}},
        {u"VoranEditor\r\n x \r\n\r\n1.5\r\nX,1\r\n\r\n  \r\nX,3\r\n"_s,
         true,
         0,
         0,
         0,
         {u"X,1"_s, u"X,3"_s}},
        {u"voraneditor\r\n1\r\n2\r\n0\r\nX,1\r\n"_s, false, 0, 0, 0, {}},
        {u"VoranEditor\r\n1\r\n2\r\n0\r\n"_s, false, 0, 0, 0, {}},
        {u"VoranEditor\r\n1\r\n2\r\n0\r\n \r\n"_s, false, 0, 0, 0, {}},
        {u" VoranEditor\r\n1\r\n2\r\n0\r\nX,1"_s, false, 0, 0, 0, {}},
        {QString(), false, 0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const std::optional<ElementCopy> read = ReadClipboardText(c.text);
        ASSERT_EQ(read.has_value(), c.read);
        if (!read) continue;
        EXPECT_EQ(read->anchorX, c.anchorX);
        EXPECT_EQ(read->anchorY, c.anchorY);
        EXPECT_EQ(read->focusIndex, c.focus);
        EXPECT_EQ(QStringList(read->lines), c.lines);
    }
}
