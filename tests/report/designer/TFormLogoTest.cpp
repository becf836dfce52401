// The wait splash: one at most, hiding without showing is harmless.

#include "report/designer/sestlogo.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designer::TFormLogo;

TEST(TFormLogo, ShowsOneSplashAndHidesItOnce) {
    TFormLogo::HideWait(); // nothing shown yet: nothing happens
    EXPECT_EQ(TFormLogo::instance(), nullptr);
    TFormLogo::ShowWait();
    TFormLogo::ShowWait(); // still one
    TFormLogo* logo = TFormLogo::instance();
    ASSERT_NE(logo, nullptr);
    EXPECT_TRUE(logo->isVisible());
    QStringList texts;
    for (const QLabel* label : logo->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(u"Čekejte prosím,"_s));
    EXPECT_TRUE(texts.contains(u"připravuji editační modul..."_s));
    TFormLogo::HideWait();
    EXPECT_EQ(TFormLogo::instance(), nullptr);
    TFormLogo::HideWait();
    EXPECT_EQ(TFormLogo::instance(), nullptr);
}
