#include "platform/SystemLocale.h"

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

// These tests run once with LC_ALL=C.UTF-8 and once with LC_ALL=cs_CZ.UTF-8.
TEST(SystemDecimalSeparator, FollowsTheLocaleOfTheProcess) {
    const QByteArray locale = qgetenv("LC_ALL");
    if (locale.startsWith("cs_CZ"))
        EXPECT_EQ(platform::SystemDecimalSeparator(), QChar(','));
    else if (locale.startsWith("C"))
        EXPECT_EQ(platform::SystemDecimalSeparator(), QChar('.'));
    else
        GTEST_SKIP() << "run under LC_ALL=C.UTF-8 or LC_ALL=cs_CZ.UTF-8";
}
