#include "platform/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace platform {

namespace {

constexpr int kMaxDecimals = 18;
constexpr int kSignificantDigits = 10;

// Decimal exponent of |v| (v finite, not 0) after rounding to 10 significant digits.
int roundedExponent(double magnitude) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                   kSignificantDigits - 1);
    const std::string text(buf, res.ptr);
    return std::stoi(text.substr(text.find('e') + 1));
}

QString scientific(double v, QChar separator) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v),
                                   std::chars_format::scientific, kSignificantDigits - 1);
    std::string text(buf, res.ptr);
    const auto e = text.find('e');
    std::string mantissa = text.substr(0, e);
    const int exponent = std::stoi(text.substr(e + 1));
    if (mantissa.find('.') != std::string::npos) {
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.back() == '.') mantissa.pop_back();
    }
    QString out = QString::fromLatin1(mantissa.c_str()) + 'E' + QString::number(exponent);
    out.replace('.', separator);
    return v < 0 ? '-' + out : out;
}

} // namespace

QString FormatFixed(double v, int decimals, QChar separator) {
    if (std::isnan(v)) return QStringLiteral("NAN");
    if (std::isinf(v)) return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    decimals = std::clamp(decimals, 0, kMaxDecimals);

    int places = decimals;
    if (v != 0) {
        const int exponent = roundedExponent(std::fabs(v));
        if (exponent >= kSignificantDigits) return scientific(v, separator);
        places = std::min(decimals, kSignificantDigits - 1 - exponent);
    }
    // |v| < 1e10 here, so 64 characters hold the integer part and at most 18 decimals.
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::fixed, places);
    std::string digits(buf, res.ptr);
    if (decimals > places) {
        if (places == 0) digits += '.';
        digits.append(static_cast<std::size_t>(decimals - places), '0');
    }
    const bool roundsToZero = digits.find_first_not_of("0.") == std::string::npos;
    QString out = QString::fromLatin1(digits.c_str());
    out.replace('.', separator);
    return (v < 0 && !roundsToZero) ? '-' + out : out;
}

std::optional<double> ParseNumber(const QString& text) {
    // from_chars takes no '+', and one sign is all a number may have.
    const QString trimmed = text.trimmed();
    const bool plus = trimmed.startsWith('+');
    const QString t = plus ? trimmed.mid(1) : trimmed;
    if (plus && t.startsWith('-')) return std::nullopt;
    std::string s;
    s.reserve(static_cast<std::size_t>(t.size()));
    for (QChar c : t) {
        if (c == ',') c = '.';
        // Digits, one sign, '.', 'e' and the exponent sign are all a number may contain;
        // anything else (letters of "nan", "inf", "0x") makes it not a number.
        if (!(c.isDigit() && c.unicode() < 128) && c != '.' && c != 'e' && c != 'E' && c != '-' &&
            c != '+')
            return std::nullopt;
        s += static_cast<char>(c.unicode());
    }
    if (s.empty()) return std::nullopt;
    double value = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), value);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> ParseInt(const QString& text) {
    const QString trimmed = text.trimmed();
    const bool plus = trimmed.startsWith('+');
    const QByteArray s = (plus ? trimmed.mid(1) : trimmed).toLatin1();
    if (s.isEmpty() || (plus && s[0] == '-')) return std::nullopt;
    int value = 0;
    const auto res = std::from_chars(s.constData(), s.constData() + s.size(), value);
    if (res.ec != std::errc() || res.ptr != s.constData() + s.size()) return std::nullopt;
    return value;
}

} // namespace platform
