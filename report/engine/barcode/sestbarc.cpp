#include "report/engine/barcode/sestbarc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>

namespace report {
namespace {

struct SymbologyInfo {
    const char* name;
    bool digitsOnly;
};

constexpr std::array<SymbologyInfo, BarcodeTypeCount> symbologies{{
    {"2/5 interleaved", true}, {"2/5 industrial", true}, {"2/5 matrix", true}, {"Code 39", false},
    {"Code 39 Full", false},   {"Code 128A", false},     {"Code 128B", false}, {"Code 128C", true},
    {"Code 93", false},        {"Code 93 Full", false},  {"MSI", true},        {"PostNet", true},
    {"Codebar", false},        {"EAN 8", true},          {"EAN 13", true},     {"UPC-A", true},
    {"UPC-E0", true},          {"UPC-E1", true},         {"UPC Supp2", true},  {"UPC Supp5", true},
}};

// 2 of 5 family: bits of weights 1, 2, 4, 7 and parity.
constexpr std::array<std::string_view, 10> twoOfFiveBits{
    "00110", "10001", "01001", "11000", "00101", "10100", "01100", "00011", "10010", "01010"};

// EAN set A (odd parity) as space, bar, space, bar in modules; set C is the same widths
// starting with a bar, set B is set C reversed.
constexpr std::array<std::string_view, 10> eanSetA{"2605", "1615", "1516", "0805", "0526",
                                                   "0625", "0508", "0706", "0607", "2506"};
constexpr std::array<std::string_view, 10> eanSetC{"7150", "6160", "6061", "5350", "5071",
                                                   "5170", "5053", "5251", "5152", "7051"};

// EAN 13 parity by the first digit.
constexpr std::array<std::string_view, 10> ean13Parity{"AAAAAA", "AABABB", "AABBAB", "AABBBA",
                                                       "ABAABB", "ABBAAB", "ABBBAA", "ABABAB",
                                                       "ABABBA", "ABBABA"};

// UPC-E parity for number system 0 by the check digit: 'E' even (set B), 'o' odd (set A).
constexpr std::array<std::string_view, 10> upcEParity{"EEEooo", "EEoEoo", "EEooEo", "EEoooE",
                                                      "EoEEoo", "EooEEo", "EoooEE", "EoEoEo",
                                                      "EoEooE", "EooEoE"};

// Code 39: character, wide flags of bar, space, bar, ... (nine elements), value.
struct Code39Row {
    char ch;
    std::string_view wide;
    int value;
};
constexpr std::array<Code39Row, 44> code39Table{{
    {'0', "000110100", 0},  {'1', "100100001", 1},  {'2', "001100001", 2},  {'3', "101100000", 3},
    {'4', "000110001", 4},  {'5', "100110000", 5},  {'6', "001110000", 6},  {'7', "000100101", 7},
    {'8', "100100100", 8},  {'9', "001100100", 9},  {'A', "100001001", 10}, {'B', "001001001", 11},
    {'C', "101001000", 12}, {'D', "000011001", 13}, {'E', "100011000", 14}, {'F', "001011000", 15},
    {'G', "000001101", 16}, {'H', "100001100", 17}, {'I', "001001100", 18}, {'J', "000011100", 19},
    {'K', "100000011", 20}, {'L', "001000011", 21}, {'M', "101000010", 22}, {'N', "000010011", 23},
    {'O', "100010010", 24}, {'P', "001010010", 25}, {'Q', "000000111", 26}, {'R', "100000110", 27},
    {'S', "001000110", 28}, {'T', "000010110", 29}, {'U', "110000001", 30}, {'V', "011000001", 31},
    {'W', "111000000", 32}, {'X', "010010001", 33}, {'Y', "110010000", 34}, {'Z', "011010000", 35},
    {'-', "010000101", 36}, {'.', "110000100", 37}, {' ', "011000100", 38}, {'*', "010010100", 0},
    {'$', "010101000", 39}, {'/', "010100010", 40}, {'+', "010001010", 41}, {'%', "000101010", 42},
}};

// Full ASCII: the Code 39 sequence of every code 0..127.
constexpr std::array<std::string_view, 128> code39FullAscii{
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N",
    "$O", "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C",
    "%D", "%E", " ",  "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L",
    "/M", "/N", "/O", "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "/Z", "%F",
    "%G", "%H", "%I", "%J", "%V", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",
    "K",  "L",  "M",  "N",  "O",  "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",  "Y",
    "Z",  "%K", "%L", "%M", "%N", "%O", "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H",
    "+I", "+J", "+K", "+L", "+M", "+N", "+O", "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W",
    "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T"};

// Code 128 element widths (bar, space, ... six elements) of values 0..102.
constexpr std::array<std::string_view, 103> code128Widths{
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131"};
constexpr std::string_view code128Stop = "2331112";

// Code 93: characters in value order (the four shifts as '[' ($), ']' (%), '{' (/), '}' (+))
// and their element widths.
constexpr std::string_view code93Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%[]{}";
constexpr std::array<std::string_view, 47> code93Widths{
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114",
    "131211", "141111", "211113", "211212", "211311", "221112", "221211", "231111",
    "112113", "112212", "112311", "122112", "132111", "111123", "111222", "111321",
    "121122", "131121", "212112", "212211", "211122", "211221", "221121", "222111",
    "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211"};
constexpr std::string_view code93Start = "111141";
constexpr std::string_view code93Stop = "1111411";

// PostNet: 1 is a full bar, 0 a short one.
constexpr std::array<std::string_view, 10> postNetBars{
    "11000", "00011", "00101", "00110", "01001", "01010", "01100", "10001", "10010", "10100"};

// Codabar: character and wide flags of its seven elements.
struct CodabarRow {
    char ch;
    std::string_view wide;
};
constexpr std::array<CodabarRow, 20> codabarTable{{
    {'1', "0000110"}, {'2', "0001001"}, {'3', "1100000"}, {'4', "0010010"}, {'5', "1000010"},
    {'6', "0100001"}, {'7', "0100100"}, {'8', "0110000"}, {'9', "1001000"}, {'0', "0000011"},
    {'-', "0001100"}, {'$', "0011000"}, {':', "1000101"}, {'/', "1010001"}, {'.', "1010100"},
    {'+', "0010101"}, {'A', "0011010"}, {'B', "0101001"}, {'C', "0001011"}, {'D', "0001110"},
}};

struct PainterState {
    int angle = 0;
    double ratio = 2.0;
    int module = 1;
    int type = bcEan13;
    bool checkDigit = false;
    bool showText = false;
    QString text;
    int left = 0;
    int top = 0;
    int height = 0;
    BarcodeWidths widths;
};

constexpr platform::TColor white = 0xFFFFFF;
constexpr platform::TColor black = 0x000000;
// Elements beyond this many device units from the start are off any page; not drawn. Corners
// stay within the coordinate limit, so that no sum overflows.
constexpr qint64 drawingLimit = 1 << 24;
constexpr qint64 coordinateLimit = 1 << 30;

PainterState& painter() {
    static PainterState state;
    return state;
}

// Alternating bar, space, ... from wide flags: narrow w1, wide w2.
QString narrowWide(std::string_view wide) {
    QString out;
    for (size_t i = 0; i < wide.size(); ++i) {
        const bool isWide = wide[i] == '1';
        out += QChar(i % 2 == 0 ? (isWide ? '6' : '5') : (isWide ? '1' : '0'));
    }
    return out;
}

// Width-digit form ("1".."4", bar first) to pattern characters.
QString fromWidthDigits(std::string_view digits) {
    QString out;
    for (size_t i = 0; i < digits.size(); ++i) {
        const int w = digits[i] - '1';
        out += QChar(i % 2 == 0 ? '5' + w : '0' + w);
    }
    return out;
}

int digitAt(const QString& text, qsizetype i) {
    return text.at(i).unicode() - '0';
}

// Blanks and control characters trimmed, every other non-digit made "0".
QString digitsOnly(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= ' ')
        ++first;
    while (last > first && text.at(last - 1).unicode() <= ' ')
        --last;
    QString out = text.mid(first, last - first);
    for (QChar& c : out)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) c = QLatin1Char('0');
    return out;
}

// Keeps the last n digits; a shorter text gets leading zeros, and for a symbology with a check
// digit a trailing "0" that stands for it.
QString fitDigits(const QString& text, int n, bool hasCheckSlot) {
    if (text.size() >= n) return text.right(n);
    if (!hasCheckSlot) return QString(n - text.size(), QLatin1Char('0')) + text;
    return QString(n - 1 - text.size(), QLatin1Char('0')) + text + QLatin1Char('0');
}

// Modulo 10 with weights 3, 1, 3, ... from the rightmost digit.
int mod10Check(const QString& digits) {
    int sum = 0;
    for (qsizetype i = digits.size() - 1, weight = 3; i >= 0; --i, weight = 4 - weight)
        sum += digitAt(digits, i) * int(weight);
    return (10 - sum % 10) % 10;
}

// Supplement check: weights 3, 9, 3, ... from the rightmost digit, no complement.
int supplementCheck(const QString& digits) {
    int sum = 0;
    for (qsizetype i = digits.size() - 1, weight = 3; i >= 0; --i, weight = 12 - weight)
        sum += digitAt(digits, i) * int(weight);
    return sum % 10;
}

// The UPC-E check digit: the modulo-10 digit of the UPC-A number the six digits stand for.
int upcECheck(const QString& d, int numberSystem) {
    QString upcA = QString::number(numberSystem);
    const int last = digitAt(d, 5);
    if (last <= 2)
        upcA += d.left(2) + d.mid(5, 1) + "0000" + d.mid(2, 3);
    else if (last == 3)
        upcA += d.left(3) + "00000" + d.mid(3, 2);
    else if (last == 4)
        upcA += d.left(4) + "00000" + d.mid(4, 1);
    else
        upcA += d.left(5) + "0000" + d.mid(5, 1);
    return mod10Check(upcA);
}

QString eanDigit(const QString& text, qsizetype i, char set) {
    const int d = digitAt(text, i);
    if (set == 'A') return QString::fromLatin1(eanSetA[d].data(), 4);
    QString c = QString::fromLatin1(eanSetC[d].data(), 4);
    if (set == 'C') return c;
    std::reverse(c.begin(), c.end());
    return c;
}

QString encodeInterleaved(QString& text) {
    if (text.size() % 2 != 0) text.prepend(QLatin1Char('0'));
    QString out = "5050";
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        const auto bars = twoOfFiveBits[digitAt(text, i)];
        const auto spaces = twoOfFiveBits[digitAt(text, i + 1)];
        for (int k = 0; k < 5; ++k) {
            out += QChar(bars[k] == '1' ? '6' : '5');
            out += QChar(spaces[k] == '1' ? '1' : '0');
        }
    }
    return out + "605";
}

QString encodeIndustrial(const QString& text) {
    QString out = "606050";
    for (qsizetype i = 0; i < text.size(); ++i)
        for (char bit : twoOfFiveBits[digitAt(text, i)])
            out += bit == '1' ? "60" : "50";
    return out + "605060";
}

QString encodeMatrix(const QString& text) {
    QString out = "705050";
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto bits = twoOfFiveBits[digitAt(text, i)];
        for (int k = 0; k < 5; ++k) {
            const bool wide = bits[k] == '1';
            out += QChar(k % 2 == 0 ? (wide ? '6' : '5') : (wide ? '1' : '0'));
        }
        out += QLatin1Char('0');
    }
    return out + "70505";
}

const Code39Row* code39Row(QChar c) {
    for (const Code39Row& row : code39Table)
        if (c == QLatin1Char(row.ch)) return &row;
    return nullptr;
}

QString encodeCode39(const QString& text, bool checkDigit) {
    const QString star = narrowWide(code39Row(QLatin1Char('*'))->wide);
    QString out = star + QLatin1Char('0');
    int sum = 0;
    for (QChar c : text) {
        if (const Code39Row* row = code39Row(c)) {
            out += narrowWide(row->wide) + QLatin1Char('0');
            sum = (sum + row->value) % 43;
        }
    }
    if (checkDigit) {
        for (const Code39Row& row : code39Table) {
            if (row.value == sum) {
                out += narrowWide(row.wide) + QLatin1Char('0');
                break;
            }
        }
    }
    return out + star;
}

// Full-ASCII sequences of the text; codes of 128 and above are dropped. Code 93 writes its
// four shift characters in place of "$", "%", "/" and "+".
QString fullAscii(const QString& text, bool code93Shifts) {
    QString out;
    for (QChar c : text) {
        if (c.unicode() >= 128) continue;
        const std::string_view seq = code39FullAscii[c.unicode()];
        if (code93Shifts && seq.size() == 2)
            out += QLatin1Char("[]{}"[std::string_view("$%/+").find(seq[0])]);
        else
            out += QLatin1Char(seq[0]);
        if (seq.size() == 2) out += QLatin1Char(seq[1]);
    }
    return out;
}

QString encodeCode128(QString& text, int type) {
    const int start = 103 + (type - bcCode128A);
    const std::array<std::string_view, 3> startWidths{"211412", "211214", "211232"};
    QList<int> values;
    if (type == bcCode128C) {
        if (text.size() % 2 != 0) text.prepend(QLatin1Char('0'));
        for (qsizetype i = 0; i + 1 < text.size(); i += 2)
            values.append(digitAt(text, i) * 10 + digitAt(text, i + 1));
    } else {
        const char16_t last = type == bcCode128A ? '_' : '~';
        if (type == bcCode128A)
            for (QChar& c : text)
                c = c.toUpper();
        for (QChar c : text)
            values.append(c.unicode() >= ' ' && c.unicode() <= last ? c.unicode() - ' ' : 0);
    }
    QString out = fromWidthDigits(startWidths[start - 103]);
    int sum = start % 103;
    for (qsizetype i = 0; i < values.size(); ++i) {
        out += fromWidthDigits(code128Widths[values[i]]);
        sum = int((sum + values[i] * ((i + 1) % 103)) % 103);
    }
    out += fromWidthDigits(code128Widths[sum]);
    return out + fromWidthDigits(code128Stop);
}

QString encodeCode93(const QString& text) {
    QList<int> values;
    for (QChar c : text) {
        if (c.unicode() >= 128) continue;
        const size_t v = code93Chars.find(char(c.unicode()));
        if (v != std::string_view::npos) values.append(int(v));
    }
    int c = 0;
    int k = 0;
    const qsizetype n = values.size();
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype fromRight = n - 1 - i;
        c = int((c + values[i] * (fromRight % 20 + 1)) % 47);
        k = int((k + values[i] * ((fromRight + 1) % 15 + 1)) % 47);
    }
    k = (k + c) % 47;
    QString out = fromWidthDigits(code93Start);
    for (int v : values)
        out += fromWidthDigits(code93Widths[v]);
    out += fromWidthDigits(code93Widths[c]) + fromWidthDigits(code93Widths[k]);
    return out + fromWidthDigits(code93Stop);
}

// MSI modulo 10, counted from the rightmost digit: that digit and every second one leftwards
// form a number that is doubled; the digit sum of the double is built digit by digit (a digit
// of 5 or more carries), so any length works.
int msiCheck(const QString& digits) {
    int total = 0;
    for (qsizetype i = digits.size() - 1, doubled = 1; i >= 0; --i, doubled = 1 - doubled) {
        const int d = digitAt(digits, i);
        total += doubled ? (d < 5 ? 2 * d : 2 * d - 9) : d;
        total %= 10;
    }
    return (10 - total) % 10;
}

QString msiDigit(int d) {
    QString out;
    for (int bit = 3; bit >= 0; --bit)
        out += (d >> bit) & 1 ? "60" : "51";
    return out;
}

QString encodeMsi(const QString& text) {
    QString out = "60";
    for (qsizetype i = 0; i < text.size(); ++i)
        out += msiDigit(digitAt(text, i));
    return out + msiDigit(msiCheck(text)) + "515";
}

QString encodePostNet(const QString& text) {
    QString out = "51";
    for (qsizetype i = 0; i < text.size(); ++i)
        for (char bar : postNetBars[digitAt(text, i)])
            out += bar == '1' ? "51" : "A1";
    return out + "5";
}

QString encodeCodabar(const QString& text) {
    auto pattern = [](QChar c) -> QString {
        for (const CodabarRow& row : codabarTable)
            if (c == QLatin1Char(row.ch)) return narrowWide(row.wide);
        return {};
    };
    QString out = pattern(QLatin1Char('A')) + QLatin1Char('0');
    for (QChar c : text) {
        const QString p = pattern(c);
        if (!p.isEmpty()) out += p + QLatin1Char('0');
    }
    return out + pattern(QLatin1Char('B'));
}

QString encodeEan(QString& text, int type, bool checkDigit) {
    switch (type) {
    case bcEan8: {
        text = fitDigits(text, 8, true);
        if (checkDigit) text[7] = QChar('0' + mod10Check(text.left(7)));
        QString out = "505";
        for (int i = 0; i < 4; ++i)
            out += eanDigit(text, i, 'A');
        out += "05050";
        for (int i = 4; i < 8; ++i)
            out += eanDigit(text, i, 'C');
        return out + "505";
    }
    case bcEan13: {
        text = fitDigits(text, 13, true);
        if (checkDigit) text[12] = QChar('0' + mod10Check(text.left(12)));
        const auto parity = ean13Parity[digitAt(text, 0)];
        QString out = "505";
        for (int i = 1; i < 7; ++i)
            out += eanDigit(text, i, parity[i - 1]);
        out += "05050";
        for (int i = 7; i < 13; ++i)
            out += eanDigit(text, i, 'C');
        return out + "505";
    }
    case bcUpcA: {
        text = fitDigits(text, 12, true);
        if (checkDigit) text[11] = QChar('0' + mod10Check(text.left(11)));
        QString out = "505";
        for (int i = 0; i < 6; ++i)
            out += eanDigit(text, i, 'A');
        out += "05050";
        for (int i = 6; i < 12; ++i)
            out += eanDigit(text, i, 'C');
        return out + "505";
    }
    case bcUpcE0:
    case bcUpcE1: {
        text = fitDigits(text, 7, true);
        const int numberSystem = type == bcUpcE0 ? 0 : 1;
        const int check = upcECheck(text.left(6), numberSystem);
        if (checkDigit) text[6] = QChar('0' + check);
        const auto parity = upcEParity[check];
        QString out = "505";
        for (int i = 0; i < 6; ++i) {
            const bool even = (parity[i] == 'E') != (numberSystem == 1);
            out += eanDigit(text, i, even ? 'B' : 'A');
        }
        return out + "050505";
    }
    case bcUpcSupp2: {
        text = fitDigits(text, 2, false);
        const std::array<std::string_view, 4> parities{"oo", "oE", "Eo", "EE"};
        const auto parity = parities[(digitAt(text, 0) * 10 + digitAt(text, 1)) % 4];
        QString out = "506" + eanDigit(text, 0, parity[0] == 'E' ? 'B' : 'A') + "05" +
                      eanDigit(text, 1, parity[1] == 'E' ? 'B' : 'A');
        if (checkDigit) text += QChar('0' + supplementCheck(text));
        return out;
    }
    default: { // bcUpcSupp5
        text = fitDigits(text, 5, false);
        const int check = supplementCheck(text);
        const auto parity = upcEParity[check].substr(1);
        QString out = "506";
        for (int i = 0; i < 5; ++i) {
            if (i > 0) out += "05";
            out += eanDigit(text, i, parity[i] == 'E' ? 'B' : 'A');
        }
        if (checkDigit) text += QChar('0' + check);
        return out;
    }
    }
}

void clampRatio(int type) {
    double& ratio = painter().ratio;
    if (type == bcMatrix25) {
        ratio = std::clamp(ratio, 2.25, 3.0);
    } else if (type <= bcCode39Full || type >= bcCodabar) {
        ratio = std::clamp(ratio, 2.0, 3.0);
    }
}

// Lays the elements along x from 0 and draws each as a filled quadrilateral turned by the
// painter's angle about the rectangle's top-left corner.
void drawElements(platform::TCanvas& canvas, const QString& pattern) {
    const PainterState& state = painter();
    const double radians = std::fmod(double(state.angle), 360.0) * std::numbers::pi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const bool upright = state.angle % 360 == 0;
    auto at = [](qint64 origin, double offset) {
        return int(std::clamp<qint64>(origin + qint64(std::nearbyint(offset)), -coordinateLimit,
                                      coordinateLimit));
    };
    auto corner = [&](qint64 x, int y) {
        return QPoint(at(state.left, double(x) * c + y * s),
                      at(state.top, -double(x) * s + y * c));
    };
    qint64 x = 0;
    for (QChar element : pattern) {
        const int w = BarcodeElementWidth(element, state.widths);
        if (x > drawingLimit) break;
        const int h = IsBarcodeShortBar(element) ? state.height * 2 / 5 : state.height;
        const platform::TColor fill = IsBarcodeBar(element) ? black : white;
        canvas.SetBrush({fill, platform::bsSolid});
        if (upright) {
            // Exact pixel columns x .. x + w - 1 and rows 0 .. h, as the outlined polygon.
            canvas.FillRect({at(state.left, double(x)), state.top, at(state.left, double(x + w)),
                             at(state.top, h + 1.0)});
        } else {
            canvas.SetPen({fill, platform::psSolid, 1});
            canvas.Polygon(QPolygon(
                {corner(x, 0), corner(x, h), corner(x + w - 1, h), corner(x + w - 1, 0)}));
        }
        x += w;
    }
}

} // namespace

void DrawBarcode(platform::TCanvas& canvas, const platform::TRect& rect, int type, int module,
                 int angle, bool checkDigit, bool showText, const QString& text) {
    if (type < 0 || type >= BarcodeTypeCount) return;
    const BarcodeSymbol symbol = EncodeBarcode(type, module, checkDigit, text);
    PainterState& state = painter();
    state.angle = angle;
    state.showText = showText;
    state.left = rect.left;
    state.top = rect.top;
    state.height = int(std::clamp<qint64>(qint64(rect.bottom) - rect.top, 0, drawingLimit));

    canvas.SaveState();
    if (state.height > 0) drawElements(canvas, symbol.pattern);
    if (showText) {
        platform::TFont font;
        font.name = QStringLiteral("Arial");
        font.size = 3.0 * state.module;
        font.color = black;
        canvas.SetFont(font);
        canvas.SetTextBackground(true, white);
        canvas.SetTextAlign(platform::taLeft | platform::taTop);
        canvas.TextOut(rect.left, rect.top, symbol.shownText);
    }
    canvas.RestoreState();
}

void FillBarcodeTypes(QStringList& list) {
    for (const SymbologyInfo& info : symbologies)
        list.append(QString::fromLatin1(info.name));
}

void FillBarcodeModules(QStringList& list) {
    for (int code = 4; code <= 16; ++code) {
        const int hundredths = (code * 100 + 4) / 8; // code / 8 to two places, halves up
        list.append(QStringLiteral("%1,%2")
                        .arg(hundredths / 100)
                        .arg(hundredths % 100, 2, 10, QLatin1Char('0')));
    }
}

BarcodeSymbol EncodeBarcode(int type, int module, bool checkDigit, const QString& text) {
    if (type < 0 || type >= BarcodeTypeCount) return {};
    PainterState& state = painter();
    state.type = type;
    state.checkDigit = checkDigit;
    if (module >= 1 && module <= 49) state.module = module;
    clampRatio(type);
    state.widths.w1 = state.module;
    state.widths.w2 = int(std::nearbyint(state.module * state.ratio));
    state.widths.w3 = state.widths.w2 * 3 / 2;
    state.widths.w4 = state.widths.w2 * 2;

    state.text = symbologies[type].digitsOnly ? digitsOnly(text) : text;
    QString& current = state.text;
    QString pattern;
    switch (type) {
    case bcInterleaved25:
        pattern = encodeInterleaved(current);
        break;
    case bcIndustrial25:
        pattern = encodeIndustrial(current);
        break;
    case bcMatrix25:
        pattern = encodeMatrix(current);
        break;
    case bcCode39:
        pattern = encodeCode39(current, checkDigit);
        break;
    case bcCode39Full:
        pattern = encodeCode39(fullAscii(current, false), checkDigit);
        break;
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
        pattern = encodeCode128(current, type);
        break;
    case bcCode93:
        pattern = encodeCode93(current);
        break;
    case bcCode93Full:
        pattern = encodeCode93(fullAscii(current, true));
        break;
    case bcMsi:
        pattern = encodeMsi(current);
        break;
    case bcPostNet:
        pattern = encodePostNet(current);
        break;
    case bcCodabar:
        pattern = encodeCodabar(current);
        break;
    default:
        pattern = encodeEan(current, type, checkDigit);
        break;
    }
    return {pattern, current};
}

BarcodeWidths CurrentBarcodeWidths() {
    return painter().widths;
}

double CurrentBarcodeRatio() {
    return painter().ratio;
}

void ResetBarcodePainter() {
    painter() = PainterState{};
}

int BarcodeElementWidth(QChar element, const BarcodeWidths& widths) {
    const std::array<int, 4> w{widths.w1, widths.w2, widths.w3, widths.w4};
    const char16_t c = element.unicode();
    if (c >= '0' && c <= '3') return w[c - '0'];
    if (c >= '5' && c <= '8') return w[c - '5'];
    if (c >= 'A' && c <= 'D') return w[c - 'A'];
    return 0;
}

bool IsBarcodeBar(QChar element) {
    return (element >= QLatin1Char('5') && element <= QLatin1Char('8')) ||
           IsBarcodeShortBar(element);
}

bool IsBarcodeShortBar(QChar element) {
    return element >= QLatin1Char('A') && element <= QLatin1Char('D');
}

void DrawBarcodeScaled(platform::TCanvas& canvas, const platform::TRect& rect, int type,
                       int moduleCode, int angle, bool checkDigit, bool showText,
                       const QString& text, double scale) {
    const double module = std::trunc(moduleCode * scale / 6);
    const int pixels = std::isfinite(module) && std::abs(module) < 1e9 ? int(module) : 0;
    DrawBarcode(canvas, rect, type, pixels, angle, checkDigit, showText, text);
}

} // namespace report
