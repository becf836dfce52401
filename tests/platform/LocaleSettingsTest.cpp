// The date and time formats of a locale record against Qt's own texts: every locale Qt knows,
// formatted through our pictures, must read as Qt formats it, but for what a picture cannot say.

#include "platform/LocaleSettings.h"
#include "platform/DateTimeText.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::LocaleSettings;

// Qt's text of `qtPattern` without what a picture of a date-time double cannot say: the time
// zone `zone` (with the brackets around it or the comma before it), the case Qt gives the
// am/pm text ("AP" upper-cases it, "ap" lower-cases it; our pictures write it as the locale has
// it) and the locale's own digits (pictures write ASCII digits).
QString withoutWhatPicturesCannotSay(QString text, const QLocale& locale, const QString& qtPattern,
                                     const QString& zone) {
    static const QRegularExpression quotedLiteral("'[^']*'");
    const QString fields = QString(qtPattern).remove(quotedLiteral);
    if (!zone.isEmpty() && fields.contains('t'))
        for (const QString& form : {'(' + zone + ')', '[' + zone + ']', zone})
            if (const qsizetype at = text.indexOf(form); at >= 0) {
                qsizetype from = at;
                while (from > 0 && (text.at(from - 1) == ' ' || text.at(from - 1) == ','))
                    --from;
                text = text.remove(from, at + form.size() - from).trimmed();
                break;
            }
    for (const QString& word : {locale.amText(), locale.pmText()}) {
        if (fields.contains('A')) text.replace(word.toUpper(), word);
        if (fields.contains('a')) text.replace(word.toLower(), word);
    }
    const char32_t zero = locale.zeroDigit().toUcs4().value(0, U'0');
    QList<uint> chars = text.toUcs4();
    for (uint& c : chars)
        if (c >= zero && c <= zero + 9) c = U'0' + (c - zero);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()), chars.size());
}

// Mornings and afternoons, single-digit days and months, midnight and noon.
std::vector<QDateTime> moments() {
    return {QDateTime(QDate(2026, 3, 4), QTime(9, 7, 5)),
            QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58)),
            QDateTime(QDate(2026, 11, 22), QTime(0, 0, 0)),
            QDateTime(QDate(2026, 7, 15), QTime(12, 30, 45))};
}

TEST(LocaleSettings, EveryLocalesDateAndTimeFormatsReadAsQtWritesThem) {
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 300);
    int differing = 0;
    for (const QLocale& locale : locales) {
        const LocaleSettings s = LocaleSettings::fromLocale(locale);
        // A separator is what a user's "dd/mm/yyyy" shows between its fields.
        for (const QChar separator : {s.dateSeparator, s.timeSeparator})
            EXPECT_FALSE(separator.isLetter() || separator.isMark() || separator.isSpace() ||
                         separator.category() == QChar::Other_Format)
                << locale.name().toStdString() << " U+" << std::hex << int(separator.unicode());
        platform::ScopedLocaleSettings scope(s);
        for (const QDateTime& when : moments()) {
            const double t = platform::DateTimeToDouble(when);
            const QString zone = locale.toString(when.time(), "t");
            const struct {
                const QString& ours;
                QString qtPattern;
                QString qtText;
            } formats[] = {
                {s.shortDateFormat, locale.dateFormat(QLocale::ShortFormat),
                 locale.toString(when.date(), QLocale::ShortFormat)},
                {s.longDateFormat, locale.dateFormat(QLocale::LongFormat),
                 locale.toString(when.date(), QLocale::LongFormat)},
                {s.shortTimeFormat, locale.timeFormat(QLocale::ShortFormat),
                 locale.toString(when.time(), QLocale::ShortFormat)},
                {s.longTimeFormat, locale.timeFormat(QLocale::LongFormat),
                 locale.toString(when.time(), QLocale::LongFormat)},
            };
            for (const auto& f : formats) {
                const QString ours = platform::FormatDateTime(f.ours, t);
                const QString qt =
                    withoutWhatPicturesCannotSay(f.qtText, locale, f.qtPattern, zone);
                if (ours != qt && ++differing <= 20)
                    ADD_FAILURE() << locale.name().toStdString() << " "
                                  << f.qtPattern.toStdString() << " as " << f.ours.toStdString()
                                  << ": " << ours.toStdString() << " vs " << qt.toStdString();
            }
        }
    }
    EXPECT_EQ(differing, 0);
}

// Patterns beyond those of Qt's locales: quotes within quoted literals, milliseconds, lower-case
// am/pm, letters that are no field, the time zone, and separators that are not the locale's.
TEST(LocaleSettings, QtPatternsReadAsQtWritesThem) {
    const QLocale c = QLocale::c();
    platform::ScopedLocaleSettings scope(LocaleSettings::fromLocale(c));
    const struct {
        const char* qtPattern;
        QChar dateSeparator, timeSeparator;
    } cases[] = {
        {"h''mm", '/', ':'},
        {"'o''clock' H 'o''' ''", '/', ':'},
        {"'say \"when\"' d", '/', ':'},
        {"HH:mm:ss.zzz", '/', ':'},
        {"s.z", '/', ':'},
        {"h:mm ap", '/', ':'},
        {"h:mm:ss a", '/', ':'},
        {"hh AP, dd MMM", '/', ':'},
        {"Bh:mm EEE", '/', ':'},
        {"yyyy-MM-dd'T'HH", '/', ':'},
        {"H:mm:ss (t)", '/', ':'},
        {"t HH.mm", '/', ':'},
        {"HH:mm:ss, t", '/', ':'},
        {"d/M/yy H:mm", '.', '.'},
        {"d/M/yy H:mm", '-', ':'},
    };
    // Qt's "z" leaves out the trailing zeros of the milliseconds, pictures cannot: none here.
    for (const int msecs : {5, 123})
        for (const QDateTime& when : moments()) {
            const QDateTime precise = when.addMSecs(msecs);
            const double t = platform::DateTimeToDouble(precise);
            for (const auto& k : cases) {
                const QString qtPattern = QString::fromUtf8(k.qtPattern);
                const QString ours =
                    platform::DateTimePatternFromQt(qtPattern, k.dateSeparator, k.timeSeparator);
                LocaleSettings s = platform::CurrentLocaleSettings();
                s.dateSeparator = k.dateSeparator;
                s.timeSeparator = k.timeSeparator;
                platform::ScopedLocaleSettings separators(s);
                EXPECT_EQ(platform::FormatDateTime(ours, t).toStdString(),
                          withoutWhatPicturesCannotSay(c.toString(precise, qtPattern), c,
                                                       qtPattern, c.toString(precise, "t"))
                              .toStdString())
                    << k.qtPattern << " as " << ours.toStdString();
            }
        }
}

} // namespace
