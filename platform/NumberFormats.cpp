#include "platform/NumberFormats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace platform {

// ---- Digits

namespace {

// |v| as decimal digits: value = 0.d1d2...dn x 10^intDigits; no leading or trailing zero
// digits; zero has no digits.
struct Decimal {
    std::string digits;
    int intDigits = 0;
};

// The first `significant` digits of |v| as std::to_chars rounds them.
Decimal expand(double magnitude, int significant) {
    char buf[800];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                   significant - 1);
    const std::string text(buf, res.ptr);
    const auto e = text.find('e');
    Decimal d;
    d.digits = text.substr(0, 1) + (e > 1 ? text.substr(2, e - 2) : std::string());
    d.intDigits = std::stoi(text.substr(e + 1)) + 1;
    return d;
}

// A double has at most 767 significant decimal digits, so this many are its exact value.
constexpr int kExactDigits = 767;
constexpr int kQuickDigits = 40;

// Whether the digits from `keep` on could be an exact tie that a rounded expansion hides.
bool nearTie(const std::string& digits, int keep) {
    if (keep < 0 || keep >= static_cast<int>(digits.size())) return false;
    const std::string tail = digits.substr(static_cast<std::size_t>(keep));
    const auto rest = tail.substr(1);
    return (tail[0] == '5' && rest.find_first_not_of('0') == std::string::npos) ||
           (tail[0] == '4' && rest.find_first_not_of('9') == std::string::npos);
}

// Keeps the first `keep` digits of the exact value of d, rounded half away from zero.
Decimal keepDigits(Decimal d, int keep) {
    if (keep < 0 || d.digits.empty()) return {};
    const bool up = keep < static_cast<int>(d.digits.size()) &&
                    d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep), '0');
    if (up) {
        int i = keep - 1;
        for (; i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9'; --i)
            d.digits[static_cast<std::size_t>(i)] = '0';
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.intDigits;
        }
    }
    const auto last = d.digits.find_last_not_of('0');
    d.digits.erase(last == std::string::npos ? 0 : last + 1);
    if (d.digits.empty()) d.intDigits = 0;
    return d;
}

// Where the digits of a rounding come from: the shortest digits that read back as the double
// wherever they decide the result (a few hundred instructions), or always its exact value.
enum class DigitSource { Shortest, Exact };

// Below this the spacing of doubles is fixed and no longer small against 15 significant
// digits: subnormal numbers take the exact path.
constexpr double kSmallestNormal = 2.2250738585072014e-308;

// The shortest digits S that read back as the normal double |v|. Its exact value x lies within
// half a unit in the last place of S, and that is less than 0.111 of a unit in S's 15th
// significant digit (the spacing of doubles is at most 2^-52 of the value, and
// 10^15 x 2^-52 < 0.222). So x rounded to at most 15 digits is S rounded to as many, unless
// S's digits after the kept ones lie within 0.111 of a half: then x may fall on the other side
// of the tie, and the exact path decides. False when S cannot decide.
bool roundShortest(double magnitude, int (*keepFor)(int, int), int arg, Decimal& out) {
    if (magnitude < kSmallestNormal) return false;
    char buf[32];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    const char* e = std::find(buf, res.ptr, 'e');
    Decimal d;
    d.digits.push_back(buf[0]);
    if (e - buf > 2) d.digits.append(buf + 2, static_cast<std::size_t>(e - buf - 2));
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), res.ptr, exponent);
    d.intDigits = exponent + 1;
    const int keep = keepFor(d.intDigits, arg);
    if (keep > 15) return false;
    const int n = static_cast<int>(d.digits.size());
    if (keep >= 0 && keep < n) {
        // The first two digits after the kept ones, as hundredths of a unit of the last kept.
        const int tail = (d.digits[static_cast<std::size_t>(keep)] - '0') * 10 +
                         (keep + 1 < n ? d.digits[static_cast<std::size_t>(keep) + 1] - '0' : 0);
        if (tail >= 38 && tail <= 61) return false;
    }
    out = keepDigits(std::move(d), keep);
    return true;
}

// |v| rounded half away from zero on its exact value; `keepFor(intDigits, arg)` says how many
// digits to keep given the number of integer digits.
Decimal roundExact(double v, int (*keepFor)(int, int), int arg, DigitSource source) {
    const double magnitude = std::fabs(v);
    if (magnitude == 0) return {};
    Decimal d;
    if (source == DigitSource::Shortest && roundShortest(magnitude, keepFor, arg, d)) return d;
    d = expand(magnitude, kQuickDigits);
    int keep = keepFor(d.intDigits, arg);
    if (keep >= kQuickDigits || nearTie(d.digits, keep)) {
        d = expand(magnitude, kExactDigits);
        keep = keepFor(d.intDigits, arg);
    }
    return keepDigits(std::move(d), keep);
}

Decimal roundSignificant(double v, int significant, DigitSource source = DigitSource::Shortest) {
    return roundExact(
        v, [](int, int significant) { return significant; }, significant, source);
}

Decimal roundPlaces(double v, int places, DigitSource source = DigitSource::Shortest) {
    return roundExact(
        v, [](int intDigits, int places) { return intDigits + places; }, places, source);
}

// The integer digits of d ("" below 1).
std::string integerPart(const Decimal& d) {
    if (d.intDigits <= 0) return {};
    std::string s = d.digits.substr(0, static_cast<std::size_t>(d.intDigits));
    s.resize(static_cast<std::size_t>(d.intDigits), '0');
    return s;
}

// The fraction digits of d, without trailing zeros.
std::string fractionPart(const Decimal& d) {
    if (d.intDigits >= static_cast<int>(d.digits.size())) return {};
    if (d.intDigits >= 0) return d.digits.substr(static_cast<std::size_t>(d.intDigits));
    return std::string(static_cast<std::size_t>(-d.intDigits), '0') + d.digits;
}

QString latin(const std::string& s) {
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

QString grouped(const std::string& integer, QChar separator) {
    QString out;
    const int n = static_cast<int>(integer.size());
    for (int i = 0; i < n; ++i) {
        out += QChar(integer[static_cast<std::size_t>(i)]);
        const int fromRight = n - 1 - i;
        if (fromRight > 0 && fromRight % 3 == 0 && !separator.isNull()) out += separator;
    }
    return out;
}

QString exponentText(int exponent, int minDigits, bool plusSign) {
    QString digits = QString::number(std::abs(exponent));
    if (digits.size() < minDigits) digits.prepend(QString(minDigits - digits.size(), '0'));
    return (exponent < 0 ? "-" : plusSign ? "+" : "") + digits;
}

QString nonFinite(double v) {
    if (std::isnan(v)) return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString general(double v, int precision, int minExponentDigits,
                DigitSource source = DigitSource::Shortest) {
    if (!std::isfinite(v)) return nonFinite(v);
    const Decimal d = roundSignificant(v, precision, source);
    if (d.digits.empty()) return QStringLiteral("0");
    // A sign, at most 18 digits with 3 leading zeros and the separator, or "E", a sign and
    // at least 3 exponent digits (at most 4 asked for).
    char text[40];
    int n = 0;
    int point = -1;
    if (v < 0) text[n++] = '-';
    const int count = static_cast<int>(d.digits.size());
    if (d.intDigits <= precision && d.intDigits >= -3) {
        if (d.intDigits <= 0) {
            text[n++] = '0';
            point = n++;
            for (int i = d.intDigits; i < 0; ++i)
                text[n++] = '0';
        }
        for (int i = 0; i < std::max(count, d.intDigits); ++i) {
            if (i == d.intDigits && i > 0) point = n++;
            text[n++] = i < count ? d.digits[static_cast<std::size_t>(i)] : '0';
        }
    } else {
        for (int i = 0; i < count; ++i) {
            if (i == 1) point = n++;
            text[n++] = d.digits[static_cast<std::size_t>(i)];
        }
        text[n++] = 'E';
        const int exponent = d.intDigits - 1;
        if (exponent < 0) text[n++] = '-';
        char digits[8];
        const auto end = std::to_chars(digits, digits + sizeof digits, std::abs(exponent)).ptr;
        for (int pad = std::clamp(minExponentDigits, 0, 4) - int(end - digits); pad > 0; --pad)
            text[n++] = '0';
        n = int(std::copy(digits, end, text + n) - text);
    }
    QString out = QString::fromLatin1(text, n);
    if (point >= 0) out[point] = CurrentLocaleSettings().decimalSeparator;
    return out;
}

QString currency(const QString& number, bool negative) {
    static const char* const positive[] = {"$1", "1$", "$ 1", "1 $"};
    static const char* const negativeForms[] = {"($1)", "-$1",  "$-1",   "$1-",  "(1$)", "-1$",
                                                "1-$",  "1$-",  "-1 $",  "-$ 1", "1 $-", "$ 1-",
                                                "$ -1", "1- $", "($ 1)", "(1 $)"};
    const LocaleSettings& s = CurrentLocaleSettings();
    const char* form = negative ? negativeForms[std::clamp(s.negCurrFormat, 0, 15)]
                                : positive[std::clamp(s.currencyFormat, 0, 3)];
    QString out;
    for (const char* c = form; *c; ++c) {
        if (*c == '$')
            out += s.currencyString;
        else if (*c == '1')
            out += number;
        else
            out += QChar(*c);
    }
    return out;
}

} // namespace

// ---- Numbers

namespace {

QString floatToStrF(double v, int format, int precision, int digits, DigitSource source) {
    if (!std::isfinite(v)) return nonFinite(v);
    precision = std::clamp(precision, 1, 18);
    if (format == 1) {
        const Decimal d = roundSignificant(v, precision, source);
        std::string mantissa = d.digits;
        mantissa.resize(static_cast<std::size_t>(precision), '0');
        QString body = QChar(mantissa[0]);
        if (precision > 1)
            body += CurrentLocaleSettings().decimalSeparator + latin(mantissa.substr(1));
        const int exponent = d.digits.empty() ? 0 : d.intDigits - 1;
        body += 'E' + exponentText(exponent, std::clamp(digits, 0, 4), true);
        return v < 0 && !d.digits.empty() ? '-' + body : body;
    }
    if (format < 2 || format > 4) return general(v, precision, std::clamp(digits, 0, 4), source);

    digits = std::clamp(digits, 0, 18);
    const Decimal d = roundPlaces(v, digits, source);
    if (d.intDigits > precision) return general(v, precision, 0, source);
    const LocaleSettings& s = CurrentLocaleSettings();
    std::string integer = integerPart(d);
    if (integer.empty()) integer.push_back('0');
    std::string fraction = fractionPart(d);
    fraction.resize(static_cast<std::size_t>(digits), '0');
    QString number = format == 2 ? latin(integer) : grouped(integer, s.thousandSeparator);
    if (digits > 0) number += s.decimalSeparator + latin(fraction);
    const bool negative = v < 0 && !d.digits.empty();
    if (format == 4) return currency(number, negative);
    return negative ? '-' + number : number;
}

} // namespace

QString FloatToStr(double v) {
    return general(v, 15, 0);
}

QString FloatToStrF(double v, int format, int precision, int digits) {
    return floatToStrF(v, format, precision, digits, DigitSource::Shortest);
}

QString FloatToStrFExact(double v, int format, int precision, int digits) {
    return floatToStrF(v, format, precision, digits, DigitSource::Exact);
}

QString QuotedLiteral(const QString& picture, qsizetype i, qsizetype* end) {
    const qsizetype close = picture.indexOf(picture.at(i), i + 1);
    *end = close < 0 ? picture.size() : close + 1;
    return picture.mid(i + 1, (close < 0 ? picture.size() : close) - i - 1);
}

namespace {

// One section of a FormatFloat picture, scanned.
struct Picture {
    int intPlaces = 0; // placeholders before the decimal point
    int minInt = 0;    // from the first '0' before the point on
    int decPlaces = 0; // placeholders after the point
    int minDec = 0;    // up to the last '0' after the point
    bool grouping = false;
    bool scientific = false;
    int expDigits = 0;
};

// Length of an exponent specifier ("E+00") at i, 0 when there is none.
qsizetype exponentSpec(const QString& section, qsizetype i, int* zeros) {
    if (i + 2 >= section.size() || (section.at(i) != 'E' && section.at(i) != 'e') ||
        (section.at(i + 1) != '+' && section.at(i + 1) != '-') || section.at(i + 2) != '0')
        return 0;
    qsizetype j = i + 2;
    while (j < section.size() && section.at(j) == '0' && j - (i + 2) < 4)
        ++j;
    *zeros = static_cast<int>(j - (i + 2));
    return j - i;
}

// Index after the quoted literal that starts at i (an unclosed one runs to the end).
qsizetype skipQuoted(const QString& section, qsizetype i) {
    const qsizetype close = section.indexOf(section.at(i), i + 1);
    return close < 0 ? section.size() : close + 1;
}

Picture scanPicture(const QString& section) {
    Picture p;
    bool afterPoint = false;
    int firstZero = -1;
    for (qsizetype i = 0; i < section.size();) {
        const QChar c = section.at(i);
        int zeros = 0;
        if (c == '\'' || c == '"') {
            i = skipQuoted(section, i);
            continue;
        }
        if (const qsizetype n = exponentSpec(section, i, &zeros)) {
            p.scientific = true;
            p.expDigits = zeros;
            break;
        }
        if (c == '0' || c == '#') {
            if (afterPoint) {
                ++p.decPlaces;
                if (c == '0') p.minDec = p.decPlaces;
            } else {
                if (c == '0' && firstZero < 0) firstZero = p.intPlaces;
                ++p.intPlaces;
            }
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            p.grouping = true;
        }
        ++i;
    }
    p.minInt = firstZero < 0 ? 0 : p.intPlaces - firstZero;
    return p;
}

// The section for |v| filled in: digits in the placeholders, literals copied.
QString fillPicture(const QString& section, const Picture& p, const std::string& integer,
                    const std::string& fraction, const QString& exponent) {
    const LocaleSettings& s = CurrentLocaleSettings();
    QString out;
    const int length = static_cast<int>(integer.size());
    auto emitDigit = [&](int j) {
        out += QChar(integer[static_cast<std::size_t>(j)]);
        const int fromRight = length - 1 - j;
        if (p.grouping && fromRight > 0 && fromRight % 3 == 0 && !s.thousandSeparator.isNull())
            out += s.thousandSeparator;
    };
    int intIndex = 0;
    int decIndex = 0;
    bool afterPoint = false;
    bool done = false; // after the exponent the picture is plain text
    for (qsizetype i = 0; i < section.size();) {
        const QChar c = section.at(i);
        int zeros = 0;
        if (c == '\'' || c == '"') {
            qsizetype end = 0;
            out += QuotedLiteral(section, i, &end);
            i = end;
            continue;
        }
        if (!done) {
            if (const qsizetype n = exponentSpec(section, i, &zeros)) {
                out += c + exponent;
                done = true;
                i += n;
                continue;
            }
            if ((c == '0' || c == '#') && !afterPoint) {
                if (intIndex == 0)
                    for (int j = 0; j < length - (p.intPlaces - 1); ++j)
                        emitDigit(j);
                else if (const int j = length - p.intPlaces + intIndex; j >= 0)
                    emitDigit(j);
                ++intIndex;
                ++i;
                continue;
            }
            if ((c == '0' || c == '#') && afterPoint) {
                if (decIndex < static_cast<int>(fraction.size()))
                    out += QChar(fraction[static_cast<std::size_t>(decIndex)]);
                ++decIndex;
                ++i;
                continue;
            }
            if (c == '.' && !afterPoint) {
                if (p.intPlaces == 0)
                    for (int j = 0; j < length; ++j)
                        emitDigit(j);
                if (!fraction.empty()) out += s.decimalSeparator;
                afterPoint = true;
                ++i;
                continue;
            }
            if (c == ',') {
                ++i;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

// |v| by one section; `zero` tells whether it rounded to zero.
QString formatSection(const QString& section, double v, bool* zero) {
    const Picture p = scanPicture(section);
    std::string integer, fraction;
    QString exponent;
    if (p.scientific) {
        const int significant = std::max(1, p.intPlaces + p.decPlaces);
        const Decimal d = roundSignificant(v, significant);
        *zero = d.digits.empty();
        std::string digits = d.digits;
        digits.resize(static_cast<std::size_t>(significant), '0');
        integer = digits.substr(0, static_cast<std::size_t>(std::min(p.intPlaces, significant)));
        fraction = digits.substr(integer.size());
        const int e = *zero ? 0 : d.intDigits - static_cast<int>(integer.size());
        exponent = exponentText(e, p.expDigits, section.contains("E+") || section.contains("e+"));
    } else {
        const Decimal d = roundPlaces(v, p.decPlaces);
        *zero = d.digits.empty();
        integer = integerPart(d);
        if (static_cast<int>(integer.size()) < p.minInt)
            integer.insert(0, static_cast<std::size_t>(p.minInt) - integer.size(), '0');
        fraction = fractionPart(d);
        fraction.resize(static_cast<std::size_t>(p.decPlaces), '0');
    }
    while (static_cast<int>(fraction.size()) > p.minDec && fraction.back() == '0')
        fraction.pop_back();
    return fillPicture(section, p, integer, fraction, exponent);
}

QStringList splitSections(const QString& pattern) {
    QStringList sections{QString()};
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == ';') {
            if (sections.size() == 3) break;
            sections.append(QString());
        } else if (c == '\'' || c == '"') {
            const qsizetype end = skipQuoted(pattern, i);
            sections.last() += pattern.mid(i, end - i);
            i = end - 1;
        } else {
            sections.last() += c;
        }
    }
    return sections;
}

} // namespace

QString FormatFloat(const QString& pattern, double v) {
    if (pattern.isEmpty() || !std::isfinite(v)) return FloatToStr(v);
    const QStringList sections = splitSections(pattern);
    const bool useNegative = v < 0 && sections.size() > 1 && !sections[1].isEmpty();
    const QString& section = useNegative ? sections[1] : sections[0];
    // Fixed pictures of values with more than 18 integer digits would be long rows of
    // meaningless digits: they get the general form.
    if (std::fabs(v) >= 1e18 && !scanPicture(section).scientific) return FloatToStr(v);
    bool zero = false;
    QString text = formatSection(section, v, &zero);
    // A value that rounds to zero is shown as zero: by the zero section when there is one,
    // else by the first section (never as a negative amount).
    if (zero && sections.size() > 2 && !sections[2].isEmpty())
        return formatSection(sections[2], 0.0, &zero);
    if (zero && useNegative) return formatSection(sections[0], 0.0, &zero);
    return (v < 0 && !useNegative && !zero) ? '-' + text : text;
}

// ---- Integers

namespace {

// One "%[index:][-][width][.precision]type" specifier at i (after the '%').
struct Spec {
    qsizetype end = 0;
    int index = -1;
    bool left = false;
    int width = 0;
    int precision = -1;
    QChar type;
};

// Decimal digits at i (at most four), advancing i: -1 when there are none, -2 when too many.
int readCount(const QString& text, qsizetype& i) {
    const qsizetype start = i;
    while (i < text.size() && text.at(i).unicode() >= '0' && text.at(i).unicode() <= '9')
        ++i;
    if (i == start) return -1;
    return i - start > 4 ? -2 : text.mid(start, i - start).toInt();
}

std::optional<Spec> readSpec(const QString& text, qsizetype i) {
    Spec s;
    qsizetype j = i;
    if (const int n = readCount(text, j); n >= 0 && j < text.size() && text.at(j) == ':') {
        s.index = n;
        i = j + 1;
    }
    j = i;
    if (j < text.size() && text.at(j) == '-') {
        s.left = true;
        ++j;
    }
    const int width = readCount(text, j);
    if (width == -2) return std::nullopt;
    s.width = std::max(width, 0);
    if (j < text.size() && text.at(j) == '.') {
        ++j;
        s.precision = readCount(text, j);
        if (s.precision < 0) return std::nullopt;
    }
    if (j >= text.size()) return std::nullopt;
    s.type = text.at(j).toLower();
    s.end = j + 1;
    return s;
}

} // namespace

QString Format(const QString& pattern, int n) {
    const QString plain = QString::number(n);
    QString out;
    int nextIndex = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i) != '%') {
            out += pattern.at(i);
            continue;
        }
        if (i + 1 < pattern.size() && pattern.at(i + 1) == '%') {
            out += '%';
            ++i;
            continue;
        }
        const auto spec = readSpec(pattern, i + 1);
        if (!spec) return plain;
        const int index = spec->index >= 0 ? spec->index : nextIndex;
        nextIndex = index + 1;
        if (index != 0) return plain;
        QString digits;
        const bool negative = n < 0 && spec->type == 'd';
        if (spec->type == 'd')
            digits = QString::number(std::abs(static_cast<qint64>(n)));
        else if (spec->type == 'u')
            digits = QString::number(static_cast<quint32>(n));
        else if (spec->type == 'x')
            digits = QString::number(static_cast<quint32>(n), 16).toUpper();
        else
            return plain;
        if (spec->precision > digits.size())
            digits.prepend(QString(spec->precision - digits.size(), '0'));
        if (negative) digits.prepend('-');
        if (spec->width > digits.size()) {
            const QString pad(spec->width - digits.size(), ' ');
            digits = spec->left ? digits + pad : pad + digits;
        }
        out += digits;
        i = spec->end - 1;
    }
    return out;
}

// ---- Parsing and rounding

std::optional<double> StrToFloat(const QString& text) {
    const QString t = text.trimmed();
    const QChar point = CurrentLocaleSettings().decimalSeparator;
    std::string s;
    s.reserve(static_cast<std::size_t>(t.size()));
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c == point)
            s += '.';
        else if ((c.isDigit() && c.unicode() < 128) || c == 'e' || c == 'E' || c == '-' ||
                 c == '+')
            s += static_cast<char>(c.unicode());
        else
            return std::nullopt;
    }
    const char* begin = s.data();
    if (!s.empty() && s[0] == '+' && (s.size() < 2 || s[1] != '-')) ++begin;
    if (begin == s.data() + s.size()) return std::nullopt;
    double value = 0;
    const auto res = std::from_chars(begin, s.data() + s.size(), value);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::int64_t Round(double v) {
    if (std::isnan(v)) return 0;
    constexpr double kLimit = 9223372036854775807.0; // 2^63
    if (v >= kLimit) return INT64_MAX;
    if (v <= -kLimit) return INT64_MIN;
    return static_cast<std::int64_t>(std::nearbyint(v));
}

} // namespace platform
