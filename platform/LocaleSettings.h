#pragma once
// The one process-wide record of the user's locale that the report engine's number and date
// texts follow. It is filled from QLocale::system() at first use; tests set it through
// ScopedLocaleSettings.

#include <QChar>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace platform {

// Separators, currency, date and time formats and names of one locale. Date and time formats
// are in the pattern language of FormatDateTime (`m` month, `n` minute), not Qt's.
struct LocaleSettings {
    QChar decimalSeparator = '.';
    QChar thousandSeparator = ',';
    QString currencyString;
    // Placement of the currency string: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int currencyFormat = 0;
    // Negative amounts: 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$",
    // 7 "1$-", 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)",
    // 15 "(1 $)".
    int negCurrFormat = 1;
    QString shortDateFormat = "dd/mm/yyyy";
    QString longDateFormat = "dddd, d mmmm yyyy";
    QString shortTimeFormat = "hh:nn";
    QString longTimeFormat = "hh:nn:ss";
    QChar dateSeparator = '/';
    QChar timeSeparator = ':';
    QString timeAMString = "AM";
    QString timePMString = "PM";
    QStringList shortMonthNames; // January first, 12 entries
    QStringList longMonthNames;
    QStringList shortDayNames; // Sunday first, 7 entries
    QStringList longDayNames;

    // The settings of `locale`, its Qt date and time patterns converted.
    static LocaleSettings fromLocale(const QLocale& locale);
};

// A Qt date or time pattern in FormatDateTime's pattern language, for a locale with the given
// separators (which `/` and `:` stand for there). The time zone is left out.
QString DateTimePatternFromQt(const QString& qtPattern, QChar dateSeparator, QChar timeSeparator);

// The record in force.
const LocaleSettings& CurrentLocaleSettings();

// Sets the record for its lifetime and restores the previous one after.
class ScopedLocaleSettings {
public:
    explicit ScopedLocaleSettings(const LocaleSettings& settings);
    ~ScopedLocaleSettings();
    ScopedLocaleSettings(const ScopedLocaleSettings&) = delete;
    ScopedLocaleSettings& operator=(const ScopedLocaleSettings&) = delete;

private:
    LocaleSettings m_previous;
};

} // namespace platform
