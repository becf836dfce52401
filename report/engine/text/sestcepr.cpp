#include "report/engine/text/sestcepr.h"

#include "platform/Windows1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace report {
namespace {

// In Kamenický order (its column is 128 + row): Č ü é ď ä Ď Ť č ě Ě Ĺ Í ľ ĺ Ä Á É ž Ž ô ö Ó ů Ú
// ý Ö Ü Š Ľ Ý Ř ť á í ó ú ň Ň Ů Ô š ř ŕ Ŕ.
constexpr std::array<CodePageRow, CodePageRowCount> table{{
    {'C', 128, 172, 200}, {'u', 129, 129, 252}, {'e', 130, 130, 233}, {'d', 131, 212, 239},
    {'a', 132, 132, 228}, {'D', 133, 210, 207}, {'T', 134, 155, 141}, {'c', 135, 159, 232},
    {'e', 136, 216, 236}, {'E', 137, 183, 204}, {'L', 138, 145, 197}, {'I', 139, 214, 205},
    {'l', 140, 150, 190}, {'l', 141, 146, 229}, {'A', 142, 142, 196}, {'A', 143, 181, 193},
    {'E', 144, 144, 201}, {'z', 145, 167, 158}, {'Z', 146, 166, 142}, {'o', 147, 147, 244},
    {'o', 148, 148, 246}, {'O', 149, 224, 211}, {'u', 150, 133, 249}, {'U', 151, 233, 218},
    {'y', 152, 236, 253}, {'O', 153, 153, 214}, {'U', 154, 154, 220}, {'S', 155, 230, 138},
    {'L', 156, 149, 188}, {'Y', 157, 237, 221}, {'R', 158, 252, 216}, {'t', 159, 156, 157},
    {'a', 160, 160, 225}, {'i', 161, 161, 237}, {'o', 162, 162, 243}, {'u', 163, 163, 250},
    {'n', 164, 229, 242}, {'N', 165, 213, 210}, {'U', 166, 222, 217}, {'O', 167, 226, 212},
    {'s', 168, 231, 154}, {'r', 169, 253, 248}, {'r', 170, 234, 224}, {'R', 171, 232, 192},
}};

bool isCodePage(TSestLanguage page) {
    return page >= slASCII && page <= slCP1250;
}

unsigned char column(const CodePageRow& row, TSestLanguage page) {
    switch (page) {
    case slASCII:
        return row.ascii;
    case slCP867:
        return row.cp867;
    case slCP852:
        return row.cp852;
    default:
        return row.cp1250;
    }
}

} // namespace

CodePageRow CodePageTableRow(int row) {
    return table.at(size_t(row));
}

unsigned char ConvertCharCP(TSestLanguage from, TSestLanguage to, unsigned char ch) {
    if (from == to || ch < 128 || !isCodePage(from) || !isCodePage(to)) return ch;
    for (const CodePageRow& row : table)
        if (column(row, from) == ch) return column(row, to);
    return ch;
}

QByteArray ConvertStringCP(TSestLanguage from, TSestLanguage to, const QByteArray& text) {
    QByteArray out = text;
    for (char& c : out)
        c = char(ConvertCharCP(from, to, static_cast<unsigned char>(c)));
    return out;
}

QByteArray EncodeForExport(const QString& text, TSestLanguage language) {
    if (language == slUndefined) return text.toUtf8();
    return ConvertStringCP(slCP1250, language, platform::EncodeWindows1250(text));
}

namespace {

// Code pages of the single-byte Windows charsets.
const char* codePageOf(int charset) {
    switch (charset) {
    case 0:
        return "windows-1252";
    case 161:
        return "windows-1253";
    case 162:
        return "windows-1254";
    case 186:
        return "windows-1257";
    case 204:
        return "windows-1251";
    default:
        return nullptr; // Windows-1250, our own table
    }
}

} // namespace

QByteArray EncodeForCharset(const QString& text, int charset) {
    const char* name = codePageOf(charset);
    if (!name) return platform::EncodeWindows1250(text);
    QByteArray out;
    QStringEncoder encoder(name, QStringConverter::Flag::Stateless);
    for (int i = 0; i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        const QString one = text.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
        QByteArray b = encoder.encode(one);
        out += (encoder.hasError() || b.size() != 1) ? QByteArray("?") : b;
        encoder.resetState();
    }
    return out;
}

QString DecodeForCharset(const QByteArray& bytes, int charset) {
    const char* name = codePageOf(charset);
    if (!name) return platform::DecodeWindows1250(bytes);
    QStringDecoder decoder(name);
    return decoder.decode(bytes);
}

} // namespace report
