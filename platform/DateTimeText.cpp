#include "platform/DateTimeText.h"

#include "platform/NumberFormats.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr double kMsecsPerDay = 86400000.0;
// 1 January 0001 and 31 December 9999 as day numbers.
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958465.0;

QDate dayZero() {
    return QDate(1899, 12, 30);
}

} // namespace

std::optional<DateTimeParts> DecodeDateTime(double dateTime) {
    if (!std::isfinite(dateTime) || dateTime < kFirstDay - 1 || dateTime >= kLastDay + 1)
        return std::nullopt;
    const double whole = std::trunc(dateTime);
    auto days = static_cast<qint64>(whole);
    auto msecs = static_cast<qint64>(std::llround(std::fabs(dateTime - whole) * kMsecsPerDay));
    if (msecs >= static_cast<qint64>(kMsecsPerDay)) {
        msecs = 0;
        ++days;
    }
    if (days < kFirstDay || days > kLastDay) return std::nullopt;
    const QDate date = dayZero().addDays(days);
    DateTimeParts p;
    p.year = date.year();
    p.month = date.month();
    p.day = date.day();
    p.dayOfWeek = date.dayOfWeek() % 7 + 1;
    p.hour = static_cast<int>(msecs / 3600000);
    p.minute = static_cast<int>(msecs / 60000 % 60);
    p.second = static_cast<int>(msecs / 1000 % 60);
    p.msec = static_cast<int>(msecs % 1000);
    return p;
}

double DateTimeToDouble(const QDateTime& dateTime) {
    const double days = static_cast<double>(dayZero().daysTo(dateTime.date()));
    const double fraction = dateTime.time().msecsSinceStartOfDay() / kMsecsPerDay;
    return days < 0 ? days - fraction : days + fraction;
}

std::optional<QDateTime> DoubleToDateTime(double dateTime) {
    const auto p = DecodeDateTime(dateTime);
    if (!p) return std::nullopt;
    return QDateTime(QDate(p->year, p->month, p->day),
                     QTime(p->hour, p->minute, p->second, p->msec));
}

namespace {

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QChar('0'));
}

// Writes `pattern` for the decoded date-time; `depth` stops formats that name themselves.
void appendDateTime(QString& out, const QString& pattern, const DateTimeParts& t, int depth) {
    const LocaleSettings& s = CurrentLocaleSettings();
    if (depth > 2) return;
    const QString upper = pattern.toUpper();
    const bool twelveHour =
        upper.contains("AM/PM") || upper.contains("A/P") || upper.contains("AMPM");
    auto name = [](const QStringList& names, int i) {
        return i >= 0 && i < names.size() ? names.at(i) : QString();
    };
    QChar lastLetter;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        QChar token = c.toUpper();
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run).toUpper() == token)
            ++run;
        if (token.isLetter() && token.unicode() < 128) {
            if (token == 'M' && lastLetter == 'H') token = 'N';
            lastLetter = token;
        }
        const int n = static_cast<int>(run);
        switch (token.unicode()) {
        case '\'':
        case '"': {
            qsizetype end = 0;
            out += QuotedLiteral(pattern, i, &end);
            i = end;
            continue;
        }
        case 'C':
            appendDateTime(out, s.shortDateFormat, t, depth + 1);
            if (t.hour || t.minute || t.second || t.msec) {
                out += ' ';
                appendDateTime(out, s.longTimeFormat, t, depth + 1);
            }
            i += 1;
            continue;
        case 'D':
            if (n >= 6)
                appendDateTime(out, s.longDateFormat, t, depth + 1);
            else if (n == 5)
                appendDateTime(out, s.shortDateFormat, t, depth + 1);
            else if (n == 4)
                out += name(s.longDayNames, t.dayOfWeek - 1);
            else if (n == 3)
                out += name(s.shortDayNames, t.dayOfWeek - 1);
            else
                out += n == 2 ? twoDigits(t.day) : QString::number(t.day);
            i += std::min<qsizetype>(run, 6);
            continue;
        case 'M':
            if (n >= 4)
                out += name(s.longMonthNames, t.month - 1);
            else if (n == 3)
                out += name(s.shortMonthNames, t.month - 1);
            else
                out += n == 2 ? twoDigits(t.month) : QString::number(t.month);
            i += std::min<qsizetype>(run, 4);
            continue;
        case 'Y':
            out += n <= 2 ? twoDigits(t.year % 100)
                          : QStringLiteral("%1").arg(t.year, 4, 10, QChar('0'));
            i += std::min<qsizetype>(run, 4);
            continue;
        case 'H': {
            int hour = t.hour;
            if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
            out += run >= 2 ? twoDigits(hour) : QString::number(hour);
            i += std::min<qsizetype>(run, 2);
            continue;
        }
        case 'N':
            out += run >= 2 ? twoDigits(t.minute) : QString::number(t.minute);
            i += std::min<qsizetype>(run, 2);
            continue;
        case 'S':
            out += run >= 2 ? twoDigits(t.second) : QString::number(t.second);
            i += std::min<qsizetype>(run, 2);
            continue;
        case 'Z':
            out += run >= 3 ? QStringLiteral("%1").arg(t.msec, 3, 10, QChar('0'))
                            : QString::number(t.msec);
            i += std::min<qsizetype>(run, 3);
            continue;
        case 'T':
            appendDateTime(out, run >= 2 ? s.longTimeFormat : s.shortTimeFormat, t, depth + 1);
            i += std::min<qsizetype>(run, 2);
            continue;
        case 'A': {
            const bool pm = t.hour >= 12;
            const QString rest = pattern.mid(i);
            if (rest.startsWith("am/pm", Qt::CaseInsensitive)) {
                const QString word = pm ? rest.mid(3, 2) : rest.mid(0, 2);
                out += word;
                i += 5;
            } else if (rest.startsWith("a/p", Qt::CaseInsensitive)) {
                out += pm ? rest.at(2) : rest.at(0);
                i += 3;
            } else if (rest.startsWith("ampm", Qt::CaseInsensitive)) {
                out += pm ? s.timePMString : s.timeAMString;
                i += 4;
            } else {
                out += c;
                i += 1;
            }
            continue;
        }
        case '/':
            out += s.dateSeparator;
            i += 1;
            continue;
        case ':':
            out += s.timeSeparator;
            i += 1;
            continue;
        default:
            out += c;
            i += 1;
        }
    }
}

} // namespace

QString FormatDateTime(const QString& pattern, double dateTime) {
    const auto parts = DecodeDateTime(dateTime);
    if (!parts) return {};
    QString out;
    appendDateTime(out, pattern.isEmpty() ? QStringLiteral("c") : pattern, *parts, 0);
    return out;
}

QString DateToStr(double dateTime) {
    return FormatDateTime(CurrentLocaleSettings().shortDateFormat, dateTime);
}

QString TimeToStr(double dateTime) {
    return FormatDateTime(CurrentLocaleSettings().longTimeFormat, dateTime);
}

} // namespace platform
