// The formatting runtime under two locale fixtures, Czech and C. Number texts are compared
// with tables that python's decimal module computed on the exact values of the doubles
// (tests/oracle/gen_number_text.py), day numbers with python's date arithmetic.

#include "platform/NumberText.h"
#include "platform/SystemLocale.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

using platform::LocaleSettings;

LocaleSettings czech() {
    return LocaleSettings::fromLocale(QLocale(QLocale::Czech, QLocale::Czechia));
}
LocaleSettings plainC() {
    return LocaleSettings::fromLocale(QLocale::c());
}

// A text written with '.' and ',' as it reads under the given fixture: under the Czech one the
// decimal separator is ',' and the thousand separator a no-break space.
QString under(bool isCzech, QString text) {
    if (!isCzech) return text;
    for (QChar& c : text) {
        if (c == '.')
            c = ',';
        else if (c == ',')
            c = QChar(0x00A0);
    }
    return text;
}

double fromHex(const QString& text) {
    QByteArray s = text.toLatin1();
    const bool negative = s.startsWith('-');
    if (negative) s.remove(0, 1);
    s.remove(0, 2); // "0x"
    double v = 0;
    std::from_chars(s.constData(), s.constData() + s.size(), v, std::chars_format::hex);
    return negative ? -v : v;
}

QList<QStringList> readTable(const char* name) {
    QFile file(QStringLiteral(KOLV_TEST_DATA_DIR "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    QList<QStringList> rows;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (!line.isEmpty()) rows.append(line.split('\t'));
    }
    return rows;
}

class Formatting : public testing::TestWithParam<bool> {
protected:
    bool isCzech() const { return GetParam(); }
    QString u(const char* text) const { return under(isCzech(), QString::fromUtf8(text)); }
    platform::ScopedLocaleSettings m_locale{GetParam() ? czech() : plainC()};
};

INSTANTIATE_TEST_SUITE_P(Locales, Formatting, testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Czech" : "C"; });

TEST_P(Formatting, NumbersMatchTheDecimalOracle) {
    const auto rows = readTable("number_text.tsv");
    ASSERT_GT(rows.size(), 500);
    for (const QStringList& r : rows) {
        const double v = fromHex(r[0]);
        const QString expected = r[isCzech() ? 5 : 4];
        const QString actual =
            r[1] == "str" ? platform::FloatToStr(v)
                          : platform::FloatToStrF(v, r[1].toInt(), r[2].toInt(), r[3].toInt());
        EXPECT_EQ(actual, expected) << r.join(' ').toStdString();
    }
}

TEST_P(Formatting, FloatToStrSwitchesToScientificOutsideTheFixedRange) {
    EXPECT_EQ(platform::FloatToStr(1e15), "1E15");
    EXPECT_EQ(platform::FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(platform::FloatToStr(1.0 / 3), u("0.333333333333333"));
    EXPECT_EQ(platform::FloatToStr(-0.0), "0");
    EXPECT_EQ(platform::FloatToStr(std::numeric_limits<double>::infinity()), "INF");
}

// Doubles where shortest digits and exact values part: exact ties at 15 and fewer digits and
// decimals (which only the exact value can break), the doubles next to them (whose shortest
// digits look like ties), decade and range boundaries with their neighbours, subnormal numbers
// (whose spacing is coarse against 15 digits), and a random spread over every exponent.
std::vector<double> awkwardDoubles(int randomCount) {
    std::vector<double> values;
    std::mt19937_64 random(20261207);
    const auto between = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const auto withNeighbours = [&](double v) {
        values.insert(values.end(),
                      {v, std::nextafter(v, -HUGE_VAL), std::nextafter(v, HUGE_VAL)});
    };
    for (int i = 0; i < 2000; ++i) {
        const double n15 = std::floor(between(1e14, 1e15));
        withNeighbours(n15 + 0.5);    // tie at 15 digits
        withNeighbours(n15 * 10 + 5); // 16-digit integer, tie at 15 digits
        withNeighbours(std::ldexp(std::floor(between(1, 1e6)) * 2 + 1, -int(i % 40) - 1));
        withNeighbours(std::floor(between(1, 1e6)) / 1000 + 0.0005); // a decimal "tie"
        const int digits = 1 + i % 17;
        withNeighbours((std::floor(between(1, 9)) + 0.5) * std::pow(10.0, digits - 1) / 1e4);
    }
    for (int e = -323; e <= 308; ++e) {
        withNeighbours(std::pow(10.0, e));
        withNeighbours(9.999999999999995 * std::pow(10.0, e));
        withNeighbours(9.9999999999999949 * std::pow(10.0, e));
    }
    for (double v : {0.0001, 1e15, 999999999999999.5, 0.00009999999999999995,
                     2.2250738585072014e-308, std::numeric_limits<double>::max(),
                     std::numeric_limits<double>::denorm_min(), 0.125, 2.675, 1.005, 1.0 / 3})
        withNeighbours(v);
    for (int i = 0; i < randomCount; ++i) {
        double v = 0;
        const std::uint64_t bits = random() & 0x7FFFFFFFFFFFFFFFu;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) values.push_back(v);
        values.push_back(std::floor(between(0, 1e7)) * std::pow(10.0, -int(i % 8)));
        values.push_back(std::ldexp(between(1, 2), -1074 + int(i % 52))); // subnormal
    }
    const size_t positives = values.size();
    for (size_t i = 0; i < positives; ++i)
        values.push_back(-values[i]);
    return values;
}

TEST(ShortestDigits, GiveTheTextsOfTheExactPath) {
    platform::ScopedLocaleSettings locale(plainC());
    const std::vector<double> values = awkwardDoubles(20000);
    int differing = 0;
    for (double v : values) {
        const QString exact = platform::FloatToStrFExact(v, 0, 15, 0);
        if (platform::FloatToStr(v) != exact && ++differing <= 10)
            ADD_FAILURE() << "FloatToStr of " << std::hexfloat << v << ": "
                          << platform::FloatToStr(v).toStdString() << " vs "
                          << exact.toStdString();
    }
    // Every format at precisions and decimals around the 15 digits the shortest path serves.
    for (size_t i = 0; i < values.size(); i += 89)
        for (int format = 0; format <= 4; ++format)
            for (int precision : {1, 4, 14, 15, 16, 18})
                for (int digits : {0, 2, 5, 15, 18}) {
                    const double v = values[i];
                    const QString fast = platform::FloatToStrF(v, format, precision, digits);
                    const QString exact = platform::FloatToStrFExact(v, format, precision, digits);
                    if (fast != exact && ++differing <= 10)
                        ADD_FAILURE()
                            << "FloatToStrF(" << std::hexfloat << v << ", " << format << ", "
                            << precision << ", " << digits << "): " << fast.toStdString() << " vs "
                            << exact.toStdString();
                }
    EXPECT_EQ(differing, 0);
}

TEST_P(Formatting, CurrencyPlacesTheLocaleCurrencyString) {
    const QString cur = platform::CurrentLocaleSettings().currencyString;
    if (isCzech()) {
        EXPECT_EQ(cur, "Kč");
        EXPECT_EQ(platform::FloatToStrF(1234.5, 4, 15, 2), u("1,234.50 Kč"));
        EXPECT_EQ(platform::FloatToStrF(-1234.5, 4, 15, 2), u("-1,234.50 Kč"));
    }
    LocaleSettings s = platform::CurrentLocaleSettings();
    s.currencyString = "$";
    s.currencyFormat = 0;
    s.negCurrFormat = 0;
    platform::ScopedLocaleSettings dollars(s);
    EXPECT_EQ(platform::FloatToStrF(1234.5, 4, 15, 2), u("$1,234.50"));
    EXPECT_EQ(platform::FloatToStrF(-0.125, 4, 15, 2), u("($0.13)"));
    // More integer digits than the precision: the general form.
    EXPECT_EQ(platform::FloatToStrF(123456.0, 4, 3, 2), u("1.23E5"));
}

TEST_P(Formatting, FormatFloatFillsPictures) {
    struct Case {
        const char* pattern;
        double value;
        const char* text; // with '.' and ','
    } const cases[] = {
        {"0.00", 0.125, "0.13"},
        {"0.00", 2.675, "2.67"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0", -1234, "-1,234"},
        {"0.###", 1.5, "1.5"},
        {"0.###", 2, "2"},
        {"000", 7, "007"},
        {"#.00", 0.5, ".50"},
        {".00", 12.5, "12.50"},
        {"0.0", 99.95, "100.0"},
        {"0.00", -0.001, "0.00"},
        {"x0x", 12, "x12x"},
        {"0-0", 123, "12-3"},
        {"0.00E+00", 12345, "1.23E+04"},
        {"0.00e-00", 0.00012345, "1.23e-04"},
        {"0.00E-00", 12345, "1.23E04"},
        {"0.0E+0", -12345, "-1.2E+4"},
        {"0.00;(0.00);'nula'", -1.5, "(1.50)"},
        {"0.00;(0.00);'nula'", 0, "nula"},
        {"0.00;(0.00);'nula'", 0.001, "nula"},
        {"0.00;;'nula'", -1.5, "-1.50"},
        {"0.00;(0.00)", -0.001, "0.00"},
        {"0.00;(0.00)", -0.005, "(0.01)"},
        {"'Kč '0", 5, "Kč 5"},
        {"\"a;b\" 0", 5, "a;b 5"},
        {"", 1e15, "1E15"},
        {"0", 1e20, "1E20"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::FormatFloat(QString::fromUtf8(c.pattern), c.value), u(c.text))
            << c.pattern << " " << c.value;
}

double dateTime(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return platform::DateTimeToDouble(QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms)));
}

TEST_P(Formatting, FormatDateTimeReadsMAfterHAsMinutes) {
    const double t = dateTime(2026, 12, 7, 14, 5, 9, 123);
    EXPECT_EQ(platform::FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", t), "2026-12-07 14:05:09.123");
    EXPECT_EQ(platform::FormatDateTime("h:m", t), "14:5");
    EXPECT_EQ(platform::FormatDateTime("HH:MM", t), "14:05");
    EXPECT_EQ(platform::FormatDateTime("d.m.yy", t), "7.12.26");
    EXPECT_EQ(platform::FormatDateTime("h:nn am/pm", t), "2:05 pm");
    EXPECT_EQ(platform::FormatDateTime("h A/P", dateTime(2026, 1, 1, 0, 30)), "12 A");
    EXPECT_EQ(platform::FormatDateTime("'d' d \"m\" m", t), "d 7 m 12");
    EXPECT_EQ(platform::FormatDateTime("dddd d mmmm", t),
              isCzech() ? "pondělí 7 prosince" : "Monday 7 December");
    const auto& s = platform::CurrentLocaleSettings();
    // The named formats and names come from the locale settings.
    EXPECT_EQ(platform::FormatDateTime("ddddd", t), platform::DateToStr(t));
    EXPECT_EQ(platform::FormatDateTime("dddddd", t),
              platform::FormatDateTime(s.longDateFormat, t));
    EXPECT_EQ(platform::FormatDateTime("t", t), platform::FormatDateTime(s.shortTimeFormat, t));
    EXPECT_EQ(platform::FormatDateTime("tt", t), platform::TimeToStr(t));
    EXPECT_EQ(platform::FormatDateTime("ddd mmm", t),
              s.shortDayNames[1] + ' ' + s.shortMonthNames[11]);
    EXPECT_EQ(platform::FormatDateTime("hh ampm", t), "02 " + s.timePMString);
    EXPECT_EQ(platform::FormatDateTime("z|Y|yy", t), "123|26|26");
    EXPECT_EQ(platform::FormatDateTime("'unclosed", t), "unclosed");
    EXPECT_EQ(platform::FormatDateTime("yyyy/mm/dd", t),
              "2026" + QString(s.dateSeparator) + "12" + s.dateSeparator + "07");
    // "c" leaves out a time of midnight.
    EXPECT_EQ(platform::FormatDateTime("c", dateTime(2026, 12, 7)),
              platform::DateToStr(dateTime(2026, 12, 7)));
    EXPECT_EQ(platform::FormatDateTime("", t),
              platform::DateToStr(t) + ' ' + platform::TimeToStr(t));
    EXPECT_EQ(platform::FormatDateTime("yyyy", 1e300), "");
}

TEST_P(Formatting, LocaleDateAndTimeFormatsMatchQt) {
    const QLocale locale = isCzech() ? QLocale(QLocale::Czech, QLocale::Czechia) : QLocale::c();
    const auto& s = platform::CurrentLocaleSettings();
    for (const QDateTime& when : {QDateTime(QDate(2026, 3, 4), QTime(9, 7, 5)),
                                  QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58))}) {
        const double t = platform::DateTimeToDouble(when);
        EXPECT_EQ(platform::DateToStr(t), locale.toString(when.date(), QLocale::ShortFormat));
        EXPECT_EQ(platform::FormatDateTime(s.longDateFormat, t),
                  locale.toString(when.date(), QLocale::LongFormat));
        EXPECT_EQ(platform::FormatDateTime(s.shortTimeFormat, t),
                  locale.toString(when.time(), QLocale::ShortFormat));
    }
    EXPECT_EQ(platform::SystemDecimalSeparator(), isCzech() ? QChar(',') : QChar('.'));
}

TEST_P(Formatting, StrToFloatAcceptsOnlyTheLocaleSeparator) {
    EXPECT_EQ(platform::StrToFloat(u("1.5")), 1.5);
    EXPECT_EQ(platform::StrToFloat(isCzech() ? "1.5" : "1,5"), std::nullopt);
    EXPECT_EQ(platform::StrToFloat(" -2 "), -2.0);
    EXPECT_EQ(platform::StrToFloat("+3"), 3.0);
    EXPECT_EQ(platform::StrToFloat("1e3"), 1000.0);
    for (const char* bad : {"", " ", "1E400", "nan", "inf", "1 2", "--1", "+-1", "0x10", "e5"})
        EXPECT_EQ(platform::StrToFloat(bad), std::nullopt) << bad;
    EXPECT_EQ(platform::StrToFloat(u("1.5.3")), std::nullopt);
}

} // namespace

TEST(Format, FillsOneIntegerOrFallsBackToItsPlainText) {
    struct Case {
        const char* pattern;
        int value;
        const char* text;
    } const cases[] = {
        {"Strana %d", 5, "Strana 5"},
        {"%5d|", 42, "   42|"},
        {"%-5d|", 42, "42   |"},
        {"%.3d", 7, "007"},
        {"%.3d", -7, "-007"},
        {"%x", 255, "FF"},
        {"%u", -1, "4294967295"},
        {"%0:d-%0:d", 3, "3-3"},
        {"100%% %d", 1, "100% 1"},
        {"%d z %d", 5, "5"},
        {"%s", 5, "5"},
        {"%f", 5, "5"},
        {"abc %", 5, "5"},
        {"%1:d", 5, "5"},
        {"%*d", 5, "5"},
        {"%99999d", 5, "5"},
        {"bez čísla", 5, "bez čísla"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::Format(QString::fromUtf8(c.pattern), c.value),
                  QString::fromUtf8(c.text))
            << c.pattern;
}

TEST(Round, TiesGoToEvenAndHugeValuesAreClamped) {
    EXPECT_EQ(platform::Round(0.5), 0);
    EXPECT_EQ(platform::Round(1.5), 2);
    EXPECT_EQ(platform::Round(2.5), 2);
    EXPECT_EQ(platform::Round(-1.5), -2);
    EXPECT_EQ(platform::Round(2.6), 3);
    EXPECT_EQ(platform::Round(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(platform::Round(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(platform::Round(std::nan("")), 0);
}

TEST(DateTimeDouble, DayNumbersDecodeAsPythonsCalendar) {
    for (const QStringList& r : readTable("day_numbers.tsv")) {
        const double day = r[0].toDouble();
        for (double fraction : {0.0, 0.75}) {
            // Negative days count the time forward from midnight as well.
            const double value = day < 0 ? day - fraction : day + fraction;
            const auto parts = platform::DecodeDateTime(value);
            ASSERT_TRUE(parts) << r[0].toStdString();
            EXPECT_EQ(parts->year, r[1].toInt()) << r[0].toStdString();
            EXPECT_EQ(parts->month, r[2].toInt()) << r[0].toStdString();
            EXPECT_EQ(parts->day, r[3].toInt()) << r[0].toStdString();
            EXPECT_EQ(parts->dayOfWeek, r[4].toInt()) << r[0].toStdString();
            EXPECT_EQ(parts->hour, fraction == 0 ? 0 : 18);
            EXPECT_EQ(platform::DateTimeToDouble(*platform::DoubleToDateTime(value)), value);
        }
    }
}

TEST(DateTimeDouble, OutOfRangeValuesHaveNoDate) {
    for (double v : {-693594.0, 2958466.0, 1e300, -1e300, std::nan(""), HUGE_VAL})
        EXPECT_FALSE(platform::DecodeDateTime(v)) << v;
    // A fraction that rounds to a whole day moves to the next day.
    const auto p = platform::DecodeDateTime(1.99999999999);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->day, 1); // 1900-01-01
    EXPECT_EQ(p->hour, 0);
    const auto q = platform::DecodeDateTime(-1.25);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->day, 29);
    EXPECT_EQ(q->hour, 6);
}
