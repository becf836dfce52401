#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <limits>

using platform::FormatFixed;
using platform::ParseInt;
using platform::ParseNumber;

// Ten significant digits, padded to the decimals; more than ten integer digits go scientific;
// values that round to zero carry no sign; the given separator; fixed words for non-finite.
TEST(FormatFixed, RoundsToTenSignificantDigitsAndPadsToTheDecimals) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        int decimals;
        char separator;
        const char* text;
    } cases[] = {
        {4160.661234567, 8, '.', "4160.66123500"},
        {0.00100215168, 6, '.', "0.001002"},
        {26.85, 2, '.', "26.85"},
        {3, 3, '.', "3.000"},
        {0, 2, '.', "0.00"},
        {-1.26, 1, '.', "-1.3"},
        {1.7, 0, '.', "2"},
        {99.96, 1, '.', "100.0"},
        {9999999999.0, 2, '.', "9999999999.00"},
        {1.234567890123e-5, 18, '.', "0.000012345678900000"},
        {123.456, 2147483647, '.', "123.456000000000000000"},
        {1.7, -5, '.', "2"},
        {-0.001, 2, '.', "0.00"},
        {-0.0, 3, '.', "0.000"},
        {-0.4, 0, '.', "0"},
        {-0.006, 2, '.', "-0.01"},
        {12345678901.0, 2, '.', "1.23456789E10"},
        {9999999999.6, 0, '.', "1E10"},
        {-1e300, 3, ',', "-1E300"},
        {1.5e22, 3, ',', "1,5E22"},
        {0.00100215168, 6, ',', "0,001002"},
        {-12.5, 1, ',', "-12,5"},
        {7, 0, ',', "7"},
        {std::numeric_limits<double>::quiet_NaN(), 2, '.', "NAN"},
        {inf, 2, '.', "INF"},
        {-inf, 2, '.', "-INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals, c.separator), QString(c.text))
            << c.value << " with " << c.decimals;
}

// The text holds 10 significant digits, and that is what parses back.
TEST(FormatFixed, ScientificTextParsesBack) {
    for (auto [v, shown] : {std::pair{12345678901.0, 12345678900.0},
                            {1e300, 1e300},
                            {-1.5e22, -1.5e22},
                            {4.2512345678e15, 4.251234568e15}}) {
        const auto back = ParseNumber(FormatFixed(v, 4, ','));
        ASSERT_TRUE(back.has_value()) << v;
        EXPECT_DOUBLE_EQ(*back, shown);
    }
}

TEST(ParseNumber, AcceptsBothSeparatorsSignsExponentsAndBlanks) {
    const std::pair<const char*, double> cases[] = {
        {"26.85", 26.85},
        {"26,85", 26.85},
        {" 3 ", 3},
        {"1,5e3", 1500},
        {"+5", 5},
        {"-2.5", -2.5},
        {"1e300", 1e300},
        {".5", 0.5},
        {"1E-3", 0.001},
        {"0", 0},
        {"7.", 7},
        {"1e+2", 100},
        {"\t16,257\n", 16.257},
    };
    for (const auto& [text, value] : cases) {
        const auto parsed = ParseNumber(QString::fromUtf8(text));
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_DOUBLE_EQ(*parsed, value) << text;
    }
}

TEST(ParseNumber, RejectsWhatIsNotAFiniteNumber) {
    for (const char* text : {"",    "  ",   "1.2.3",    "1,2,3", "1e400", "-1e400", "nan", "NaN",
                             "inf", "-inf", "infinity", "0x10",  "1 2",   "abc",    "12a", "++5",
                             "+-5", "--5",  "e5",       "1e",    "٣",     "½"})
        EXPECT_FALSE(ParseNumber(QString::fromUtf8(text)).has_value()) << text;
}

TEST(ParseInt, AcceptsDecimalIntegersThatFit) {
    EXPECT_EQ(ParseInt("5"), 5);
    EXPECT_EQ(ParseInt(" 7\r\n"), 7);
    EXPECT_EQ(ParseInt("-3"), -3);
    EXPECT_EQ(ParseInt("+4"), 4);
    EXPECT_EQ(ParseInt("2147483647"), 2147483647);
    EXPECT_EQ(ParseInt("-2147483648"), std::numeric_limits<int>::min());
}

TEST(ParseInt, RejectsEverythingElse) {
    for (const char* text : {"", "\r\n", "abc", "1.5", "1,5", "99999999999", "2147483648", "0x10",
                             "1e3", "+-1", "--1", "1 2", "٣"})
        EXPECT_FALSE(ParseInt(QString::fromUtf8(text)).has_value()) << text;
}
