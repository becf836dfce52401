#include "platform/LocaleSettings.h"

#include <algorithm>

namespace platform {

QString DateTimePatternFromQt(const QString& qt, QChar dateSeparator, QChar timeSeparator) {
    QString out;
    auto quoted = [&out](const QString& literal) {
        if (literal.isEmpty()) return;
        const QChar q = literal.contains('"') ? '\'' : '"';
        out += q + literal + q;
    };
    for (qsizetype i = 0; i < qt.size();) {
        const QChar c = qt.at(i);
        if (c == '\'') {
            QString literal;
            qsizetype j = i + 1;
            for (; j < qt.size(); ++j) {
                if (qt.at(j) != '\'')
                    literal += qt.at(j);
                else if (j + 1 < qt.size() && qt.at(j + 1) == '\'')
                    literal += qt.at(++j);
                else
                    break;
            }
            if (j == i + 1 && j < qt.size()) literal = "'"; // '' is one quote
            quoted(literal);
            i = j + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < qt.size() && qt.at(i + run) == c)
            ++run;
        const int n = static_cast<int>(run);
        switch (c.unicode()) {
        case 'd':
            out += QString(std::min(n, 4), 'd');
            break;
        case 'M':
            out += QString(std::min(n, 4), 'm');
            break;
        case 'y':
            out += n >= 3 ? "yyyy" : "yy";
            break;
        case 'h':
        case 'H':
            out += n >= 2 ? "hh" : "h";
            break;
        case 'm':
            out += n >= 2 ? "nn" : "n";
            break;
        case 's':
            out += n >= 2 ? "ss" : "s";
            break;
        case 'z': // Qt's "z" is a fraction of the second (5 ms ".005"), no count of milliseconds
            out += "zzz";
            break;
        case 'A':
        case 'a':
            out += "ampm";
            if (i + run < qt.size() && qt.at(i + run).toLower() == 'p') ++run;
            break;
        case 't': {
            // The time zone has no place in a date-time double: it goes with the brackets
            // around it and the comma before it.
            const bool bracketed = out.endsWith('(') || out.endsWith('[');
            if (bracketed) out.chop(1);
            while (out.endsWith(' ') || out.endsWith(','))
                out.chop(1);
            if (bracketed && i + run < qt.size() &&
                (qt.at(i + run) == ')' || qt.at(i + run) == ']'))
                ++run;
            break;
        }
        default:
            // A '/' or ':' of a locale whose separator is another stays itself.
            if (c.isLetter() || (c == '/' && dateSeparator != c) ||
                (c == ':' && timeSeparator != c))
                quoted(QString(n, c));
            else
                out += QString(n, c);
        }
        i += run;
    }
    return out.simplified();
}

namespace {

QChar firstSeparator(const QString& pattern, QChar fallback) {
    // Vowel signs and direction marks stand between the fields of some scripts too.
    for (QChar c : pattern)
        if (!c.isLetter() && !c.isMark() && !c.isSpace() && c.category() != QChar::Other_Format &&
            c != '\'' && c != '"')
            return c;
    return fallback;
}

// The position of the currency string in `text` (the amount as "1" and currency as "$").
int formIndex(QString text, const QString& symbol, const char* const* forms, int count) {
    text.replace(symbol, "$").replace(QChar(0x00A0), ' ').replace(QChar(0x202F), ' ');
    QString shape;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isDigit()) {
            shape += '1';
            while (i + 1 < text.size() &&
                   (text.at(i + 1).isDigit() ||
                    ((text.at(i + 1) == '.' || text.at(i + 1) == ',' || text.at(i + 1) == ' ') &&
                     i + 2 < text.size() && text.at(i + 2).isDigit())))
                ++i;
        } else {
            shape += text.at(i);
        }
    }
    for (int k = 0; k < count; ++k)
        if (shape == forms[k]) return k;
    return -1;
}

LocaleSettings& settings() {
    static LocaleSettings current = LocaleSettings::fromLocale(QLocale::system());
    return current;
}

} // namespace

LocaleSettings LocaleSettings::fromLocale(const QLocale& locale) {
    LocaleSettings s;
    const QString point = locale.decimalPoint();
    s.decimalSeparator = point.isEmpty() ? QChar('.') : point.at(0);
    const QString group = locale.groupSeparator();
    s.thousandSeparator = group.isEmpty() ? QChar() : group.at(0);
    s.currencyString = locale.currencySymbol();
    static const char* const positive[] = {"$1", "1$", "$ 1", "1 $"};
    static const char* const negative[] = {"($1)", "-$1",  "$-1",   "$1-",  "(1$)", "-1$",
                                           "1-$",  "1$-",  "-1 $",  "-$ 1", "1 $-", "$ 1-",
                                           "$ -1", "1- $", "($ 1)", "(1 $)"};
    if (!s.currencyString.isEmpty()) {
        s.currencyFormat =
            std::max(0, formIndex(locale.toCurrencyString(1.0), s.currencyString, positive, 4));
        const int neg = formIndex(locale.toCurrencyString(-1.0), s.currencyString, negative, 16);
        s.negCurrFormat = neg >= 0 ? neg : (s.currencyFormat == 3 ? 8 : 1);
    }
    s.dateSeparator = firstSeparator(locale.dateFormat(QLocale::ShortFormat), '/');
    s.timeSeparator = firstSeparator(locale.timeFormat(QLocale::ShortFormat), ':');
    const auto convert = [&s](const QString& qt) {
        return DateTimePatternFromQt(qt, s.dateSeparator, s.timeSeparator);
    };
    s.shortDateFormat = convert(locale.dateFormat(QLocale::ShortFormat));
    s.longDateFormat = convert(locale.dateFormat(QLocale::LongFormat));
    s.shortTimeFormat = convert(locale.timeFormat(QLocale::ShortFormat));
    s.longTimeFormat = convert(locale.timeFormat(QLocale::LongFormat));
    s.timeAMString = locale.amText();
    s.timePMString = locale.pmText();
    for (int m = 1; m <= 12; ++m) {
        s.shortMonthNames << locale.monthName(m, QLocale::ShortFormat);
        s.longMonthNames << locale.monthName(m, QLocale::LongFormat);
    }
    for (int d : {7, 1, 2, 3, 4, 5, 6}) {
        s.shortDayNames << locale.dayName(d, QLocale::ShortFormat);
        s.longDayNames << locale.dayName(d, QLocale::LongFormat);
    }
    return s;
}

const LocaleSettings& CurrentLocaleSettings() {
    return settings();
}

ScopedLocaleSettings::ScopedLocaleSettings(const LocaleSettings& s) : m_previous(settings()) {
    settings() = s;
}

ScopedLocaleSettings::~ScopedLocaleSettings() {
    settings() = m_previous;
}

} // namespace platform
