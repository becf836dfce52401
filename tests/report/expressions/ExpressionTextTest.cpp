// The text of expressions: character classes, numbers written loosely, lists of values.

#include "report/engine/expressions/ExpressionText.h"
#include "platform/NumberText.h"

#include <gtest/gtest.h>

namespace {

using report::TCalcType;

platform::LocaleSettings czech() {
    return platform::LocaleSettings::fromLocale(QLocale(QLocale::Czech, QLocale::Czechia));
}
platform::LocaleSettings plainC() {
    return platform::LocaleSettings::fromLocale(QLocale::c());
}

TEST(CharacterClasses, MatchTheExpressionLanguage) {
    EXPECT_TRUE(report::IsNameStartChar(u'Č'));
    EXPECT_FALSE(report::IsNameStartChar(u'1'));
    EXPECT_TRUE(report::IsNameChar(u'$'));
    EXPECT_TRUE(report::IsWordChar(u'@'));
    EXPECT_FALSE(report::IsWordChar(u'_'));
    for (QChar c : QString(")*+-/<=>^"))
        EXPECT_TRUE(report::IsOperatorChar(c));
    EXPECT_FALSE(report::IsOperatorChar(u'('));
    for (QChar c : QString("#%&@"))
        EXPECT_TRUE(report::IsReferencePrefix(c));
}

TEST(StrToFloatLoose, AcceptsEitherSeparatorAndNothingElse) {
    for (bool isCzech : {true, false}) {
        platform::ScopedLocaleSettings locale(isCzech ? czech() : plainC());
        struct Case {
            const char* text;
            double value;
        } const cases[] = {
            {"1.5", 1.5},
            {"1,5", 1.5},
            {" -2", -2},
            {"1e3", 1000},
            {"1.5 ", 0},
            {"1E-3", 0},
            {"abc", 0},
            {"", 0},
            {"1,2,3", 0},
            {"1.2.3", 0},
            {"1E", 0},
            {"-", 0},
            {"1E400", 0},
            {"+1", 0},
            {"2-", 0},
            {"-.5", -0.5},
            {".5", 0},
            {"\t 7", 7},
            {"1,5.5", 0},
            {"1.5e2", 150},
            {"0.00000000000000000000000000000000000000000000000000000000000000000000001", 1e-71},
        };
        for (const Case& c : cases)
            EXPECT_EQ(report::StrToFloatLoose(c.text), c.value) << c.text << " " << isCzech;
    }
}

TEST(ParseValueList, QuotedReferencesAndPlainEntries) {
    report::ScopedValueCallback callback([](int request, TCalcType& v) {
        if (request == report::kRequestItemIndex) return v.text == "Obr" ? 4 : -1;
        v.kind = 2;
        v.text = QString("v%1").arg(request);
        return 0;
    });
    QStringList list{"stale"};
    report::ParseValueList("a.bmp,'x,y',#2,&3,@1,%2,#Obr,#0, plain ,", list);
    EXPECT_EQ(list, QStringList({"a.bmp", "x,y", "v4001", "v2002", "v6000", "v8001", "v4004", "",
                                 " plain ", ""}));
    report::ParseValueList("", list);
    EXPECT_EQ(list, QStringList({""}));
}

} // namespace
