#include "report/engine/text/sest_rtf_reader.h"

#include "platform/Windows1250.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <climits>
#include <string_view>
#include <vector>

namespace report {

namespace {

enum class Kind { Character, Destination, Property, Special };

// What a keyword does; the keyword table maps names to these.
enum class Action {
    // characters
    Tab,
    Paragraph,
    Blank,
    LeftDoubleQuote,
    RightDoubleQuote,
    Literal,
    // destinations
    SkipGroup,
    ColourTable,
    Red,
    Green,
    Blue,
    FontTable,
    FontFamily,
    BulletText,
    // properties
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Font,
    FontCharset,
    FontSize,
    Colour,
    LeftIndent,
    RightIndent,
    FirstIndent,
    BulletIndent,
    TabWidth,
    AlignLeft,
    AlignRight,
    AlignCenter,
    AlignJustify,
    ParagraphDefaults,
    PlainDefaults,
    Ignored,
    AnsiCodePage,
    UnicodeSkip,
    // specials
    Binary,
    Hex,
    SkipUnknown,
    Unicode,
};

struct Keyword {
    std::string_view name;
    Kind kind;
    Action action;
    int defaultParameter;
    bool fixed; // the table's parameter is used whatever the text says
};

// The keywords this reader knows. Characters: \tab and \cell give a tab, \par, \row and the
// escaped line ends a new paragraph. Skipped destinations are groups whose text is never shown.
// Beyond the classic set, \ansicpg names the code page of \'hh, and \u with \uc carry
// characters outside that code page, as every current writer of RTF uses them for.
constexpr std::array keywords{
    Keyword{"tab", Kind::Character, Action::Tab, 0, false},
    Keyword{"cell", Kind::Character, Action::Tab, 0, false},
    Keyword{"par", Kind::Character, Action::Paragraph, 0, false},
    Keyword{"row", Kind::Character, Action::Paragraph, 0, false},
    Keyword{"\n", Kind::Character, Action::Paragraph, 0, false},
    Keyword{"\r", Kind::Character, Action::Paragraph, 0, false},
    Keyword{"~", Kind::Character, Action::Blank, 0, false},
    Keyword{"ldblquote", Kind::Character, Action::LeftDoubleQuote, 0, false},
    Keyword{"rdblquote", Kind::Character, Action::RightDoubleQuote, 0, false},
    Keyword{"\\", Kind::Character, Action::Literal, 0, false},
    Keyword{"{", Kind::Character, Action::Literal, 0, false},
    Keyword{"}", Kind::Character, Action::Literal, 0, false},
    Keyword{"author", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"buptim", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"comment", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"creatim", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"doccomm", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"footer", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"footerf", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"footerl", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"footerr", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"footnote", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"ftncn", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"ftnsep", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"ftnsepc", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"header", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"headerf", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"headerl", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"headerr", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"info", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"keywords", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"operator", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"pict", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"printim", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"private1", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"revtim", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"rxe", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"stylesheet", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"subject", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"tc", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"title", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"txe", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"xe", Kind::Destination, Action::SkipGroup, 0, false},
    Keyword{"colortbl", Kind::Destination, Action::ColourTable, 0, false},
    Keyword{"red", Kind::Destination, Action::Red, 0, false},
    Keyword{"green", Kind::Destination, Action::Green, 0, false},
    Keyword{"blue", Kind::Destination, Action::Blue, 0, false},
    Keyword{"fonttbl", Kind::Destination, Action::FontTable, 0, false},
    Keyword{"fnil", Kind::Destination, Action::FontFamily, 0, false},
    Keyword{"froman", Kind::Destination, Action::FontFamily, 0, false},
    Keyword{"fswiss", Kind::Destination, Action::FontFamily, 0, false},
    Keyword{"fmodern", Kind::Destination, Action::FontFamily, 0, false},
    Keyword{"fscript", Kind::Destination, Action::FontFamily, 0, false},
    Keyword{"fdecor", Kind::Destination, Action::FontFamily, 0, false},
    Keyword{"ftech", Kind::Destination, Action::FontFamily, 0, false},
    Keyword{"pntext", Kind::Destination, Action::BulletText, 0, false},
    Keyword{"b", Kind::Property, Action::Bold, 1, false},
    Keyword{"i", Kind::Property, Action::Italic, 1, false},
    Keyword{"ul", Kind::Property, Action::Underline, 1, false},
    Keyword{"ulnone", Kind::Property, Action::UnderlineNone, 0, true},
    Keyword{"f", Kind::Property, Action::Font, 0, false},
    Keyword{"fcharset", Kind::Property, Action::FontCharset, 0, false},
    Keyword{"fs", Kind::Property, Action::FontSize, 12, false},
    Keyword{"cf", Kind::Property, Action::Colour, 0, false},
    Keyword{"li", Kind::Property, Action::LeftIndent, 0, false},
    Keyword{"ri", Kind::Property, Action::RightIndent, 0, false},
    Keyword{"fi", Kind::Property, Action::FirstIndent, 0, false},
    Keyword{"pnindent", Kind::Property, Action::BulletIndent, 0, false},
    Keyword{"deftab", Kind::Property, Action::TabWidth, 512, false},
    Keyword{"ql", Kind::Property, Action::AlignLeft, 0, true},
    Keyword{"qr", Kind::Property, Action::AlignRight, 0, true},
    Keyword{"qc", Kind::Property, Action::AlignCenter, 0, true},
    Keyword{"qj", Kind::Property, Action::AlignJustify, 0, true},
    Keyword{"pard", Kind::Property, Action::ParagraphDefaults, 0, true},
    Keyword{"plain", Kind::Property, Action::PlainDefaults, 0, true},
    Keyword{"cols", Kind::Property, Action::Ignored, 0, false},
    Keyword{"pgnx", Kind::Property, Action::Ignored, 0, false},
    Keyword{"pgny", Kind::Property, Action::Ignored, 0, false},
    Keyword{"paperw", Kind::Property, Action::Ignored, 0, false},
    Keyword{"paperh", Kind::Property, Action::Ignored, 0, false},
    Keyword{"margl", Kind::Property, Action::Ignored, 0, false},
    Keyword{"margr", Kind::Property, Action::Ignored, 0, false},
    Keyword{"margt", Kind::Property, Action::Ignored, 0, false},
    Keyword{"margb", Kind::Property, Action::Ignored, 0, false},
    Keyword{"pgnstart", Kind::Property, Action::Ignored, 0, false},
    Keyword{"sbknone", Kind::Property, Action::Ignored, 0, true},
    Keyword{"sbkcol", Kind::Property, Action::Ignored, 0, true},
    Keyword{"sbkeven", Kind::Property, Action::Ignored, 0, true},
    Keyword{"sbkodd", Kind::Property, Action::Ignored, 0, true},
    Keyword{"sbkpage", Kind::Property, Action::Ignored, 0, true},
    Keyword{"pgndec", Kind::Property, Action::Ignored, 0, true},
    Keyword{"pgnucrm", Kind::Property, Action::Ignored, 0, true},
    Keyword{"pgnlcrm", Kind::Property, Action::Ignored, 0, true},
    Keyword{"pgnucltr", Kind::Property, Action::Ignored, 0, true},
    Keyword{"pgnlcltr", Kind::Property, Action::Ignored, 0, true},
    Keyword{"facingp", Kind::Property, Action::Ignored, 0, true},
    Keyword{"landscape", Kind::Property, Action::Ignored, 0, true},
    Keyword{"ansicpg", Kind::Property, Action::AnsiCodePage, 1250, false},
    Keyword{"uc", Kind::Property, Action::UnicodeSkip, 1, false},
    Keyword{"bin", Kind::Special, Action::Binary, 0, false},
    Keyword{"'", Kind::Special, Action::Hex, 0, false},
    Keyword{"*", Kind::Special, Action::SkipUnknown, 0, false},
    Keyword{"u", Kind::Special, Action::Unicode, 0, false},
};

constexpr bool keywordsAreUnique() {
    for (std::size_t i = 0; i < keywords.size(); ++i)
        for (std::size_t j = i + 1; j < keywords.size(); ++j)
            if (keywords[i].name == keywords[j].name) return false;
    return true;
}
static_assert(keywordsAreUnique(), "a keyword is listed twice");

const Keyword* findKeyword(std::string_view name) {
    static const std::array<const Keyword*, keywords.size()> sorted = [] {
        std::array<const Keyword*, keywords.size()> byName;
        for (std::size_t i = 0; i < keywords.size(); ++i)
            byName[i] = &keywords[i];
        std::sort(byName.begin(), byName.end(),
                  [](const Keyword* a, const Keyword* b) { return a->name < b->name; });
        return byName;
    }();
    const auto found =
        std::lower_bound(sorted.begin(), sorted.end(), name,
                         [](const Keyword* k, std::string_view n) { return k->name < n; });
    return found != sorted.end() && (*found)->name == name ? *found : nullptr;
}

enum class Destination { Normal, Skip, ColourTable, FontTable };

struct State {
    RichTextStyle style;
    int fontNumber = -1; // -1: the base font
    int pnIndent = 0;    // \pnindent in twips, 0 meaning 200 twips
    int unicodeSkip = 1; // \uc: characters after \u that stand in for it
    bool bulletText = false;
    Destination destination = Destination::Normal;
};

struct FontEntry {
    int number = 0;
    QString face;
    int charset = -1;
    bool named = false; // the face name ended with ";"
};

// Windows charset numbers against the code pages of their text.
int codePageOfCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 238:
        return 1250;
    case 204:
        return 1251;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 186:
        return 1257;
    default:
        return 0;
    }
}

constexpr int kMaxKeywordLength = 20;
constexpr int kMaxParameterDigits = 30;

class Reader {
public:
    Reader(const QString& source, const RichTextBase& base) : m_source(source) {
        State initial;
        initial.style.bold = base.bold;
        initial.style.italic = base.italic;
        initial.style.underline = base.underline;
        initial.style.alignment = base.alignment;
        m_state = initial;
    }

    RichTextContent read() {
        m_result.error = parse();
        return std::move(m_result);
    }

private:
    int parse() {
        while (m_pos < m_source.size()) {
            const QChar c = m_source[m_pos++];
            if (c == u'{') {
                m_stack.push_back(m_state);
                m_pendingSkip = 0;
            } else if (c == u'}') {
                if (m_stack.empty()) return rtfStackUnderflow;
                const State inner = std::move(m_state);
                m_state = std::move(m_stack.back());
                m_stack.pop_back();
                // The bullet's group ends before its paragraph does; its indent stays.
                if (inner.bulletText && !m_state.bulletText)
                    m_state.style.bulletIndent = inner.style.bulletIndent;
                m_pendingSkip = 0;
            } else if (c == u'\\') {
                if (const int error = parseKeyword(); error != rtfOk) return error;
            } else if (c == u'\r' || c == u'\n' || c.unicode() == 0) {
                // line breaks of the source are no text in RTF
            } else {
                text(c);
            }
        }
        return m_stack.empty() ? rtfOk : rtfUnmatchedBrace;
    }

    int parseKeyword() {
        if (m_pos >= m_source.size()) return rtfEndOfFile;
        std::string name;
        bool hasParameter = false;
        int parameter = 0;
        if (!isAsciiLetter(m_source[m_pos])) {
            // A control symbol: one character, none of them beyond ASCII.
            if (m_source[m_pos].unicode() < 0x80) name.push_back(char(m_source[m_pos].unicode()));
            ++m_pos;
        } else {
            while (m_pos < m_source.size() && isAsciiLetter(m_source[m_pos])) {
                // A longer keyword is read to its end and then is unknown.
                if (name.size() <= kMaxKeywordLength)
                    name.push_back(char(m_source[m_pos].unicode()));
                ++m_pos;
            }
            bool negative = false;
            if (m_pos < m_source.size() && m_source[m_pos] == u'-') {
                negative = true;
                ++m_pos;
            }
            long long value = 0;
            int digits = 0;
            while (m_pos < m_source.size() && m_source[m_pos].isDigit() &&
                   m_source[m_pos].unicode() < 0x80) {
                if (digits < kMaxParameterDigits)
                    value = std::min<long long>(value * 10 + (m_source[m_pos].unicode() - '0'),
                                                1LL << 40);
                ++digits;
                ++m_pos;
            }
            hasParameter = digits > 0;
            if (negative) value = -value;
            parameter = int(std::clamp<long long>(value, INT_MIN, INT_MAX));
            if (m_pos < m_source.size() && m_source[m_pos] == u' ') ++m_pos;
        }
        if (name.size() > kMaxKeywordLength) name.clear();
        return keyword(name, hasParameter, parameter);
    }

    static bool isAsciiLetter(QChar c) {
        const char16_t u = c.unicode();
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
    }

    int keyword(const std::string& name, bool hasParameter, int parameter) {
        const Keyword* entry = name.empty() ? nullptr : findKeyword(name);
        const bool skipIfUnknown = m_skipIfUnknown;
        m_skipIfUnknown = false;
        if (!entry) {
            if (skipIfUnknown) m_state.destination = Destination::Skip;
            return rtfOk;
        }
        if (entry->fixed || !hasParameter) parameter = entry->defaultParameter;
        switch (entry->kind) {
        case Kind::Character:
            character(entry->action, name);
            return rtfOk;
        case Kind::Destination:
            destination(entry->action, parameter);
            return rtfOk;
        case Kind::Property:
            property(entry->action, parameter);
            return rtfOk;
        case Kind::Special:
            return special(entry->action, parameter);
        }
        return rtfBadTable;
    }

    void character(Action action, const std::string& name) {
        switch (action) {
        case Action::Tab:
            text(QChar(9));
            break;
        case Action::Paragraph:
            text(QChar(10));
            break;
        case Action::Blank:
            text(QChar(32));
            break;
        case Action::LeftDoubleQuote:
            text(QChar(0x201C));
            break;
        case Action::RightDoubleQuote:
            text(QChar(0x201D));
            break;
        default:
            text(QChar(name[0]));
            break;
        }
    }

    void destination(Action action, int parameter) {
        if (m_state.destination == Destination::Skip) return;
        switch (action) {
        case Action::SkipGroup:
            m_state.destination = Destination::Skip;
            break;
        case Action::ColourTable:
            m_state.destination = Destination::ColourTable;
            m_colours.clear();
            m_red = m_green = m_blue = 0;
            break;
        case Action::Red:
            m_red = std::clamp(parameter, 0, 255);
            break;
        case Action::Green:
            m_green = std::clamp(parameter, 0, 255);
            break;
        case Action::Blue:
            m_blue = std::clamp(parameter, 0, 255);
            break;
        case Action::FontTable:
            m_state.destination = Destination::FontTable;
            break;
        case Action::FontFamily:
            break; // the family of a font table entry does not matter here
        case Action::BulletText:
            // The bullet's own text is shown; its paragraph is indented by the bullet indent.
            m_state.style.bulletIndent = m_state.pnIndent > 0 ? m_state.pnIndent : 200;
            m_state.bulletText = true;
            break;
        default:
            break;
        }
    }

    void property(Action action, int parameter) {
        if (m_state.destination == Destination::Skip) return;
        if (m_state.destination == Destination::FontTable) {
            fontTableProperty(action, parameter);
            return;
        }
        RichTextStyle& style = m_state.style;
        switch (action) {
        case Action::Bold:
            style.bold = parameter >= 1;
            break;
        case Action::Italic:
            style.italic = parameter >= 1;
            break;
        case Action::Underline:
            style.underline = parameter >= 1;
            break;
        case Action::UnderlineNone:
            style.underline = false;
            break;
        case Action::Font:
            m_state.fontNumber = parameter;
            break;
        case Action::FontSize:
            if (parameter > 0) style.halfPoints = std::min(parameter, 3276);
            break;
        case Action::Colour:
            style.colour = parameter >= 0 && parameter < m_colours.size() ? m_colours[parameter]
                                                                          : QColor(Qt::black);
            break;
        case Action::LeftIndent:
            style.leftIndent = parameter;
            break;
        case Action::RightIndent:
            style.rightIndent = parameter;
            break;
        case Action::FirstIndent:
            style.firstIndent = parameter;
            break;
        case Action::BulletIndent:
            m_state.pnIndent = std::max(parameter, 0);
            break;
        case Action::TabWidth:
            style.tabWidth = parameter > 0 ? parameter : 720;
            break;
        case Action::AlignLeft:
            style.alignment = alignLeft;
            break;
        case Action::AlignRight:
            style.alignment = alignRight;
            break;
        case Action::AlignCenter:
            style.alignment = alignCenter;
            break;
        case Action::AlignJustify:
            style.alignment = alignJustify;
            break;
        case Action::ParagraphDefaults:
            style.leftIndent = style.rightIndent = style.firstIndent = 0;
            style.bulletIndent = 0;
            m_state.pnIndent = 0;
            style.alignment = alignLeft;
            break;
        case Action::PlainDefaults:
            style.bold = style.italic = style.underline = false;
            style.colour = QColor(Qt::black);
            break;
        case Action::AnsiCodePage:
            m_ansiCodePage = parameter;
            break;
        case Action::UnicodeSkip:
            m_state.unicodeSkip = std::clamp(parameter, 0, 16);
            break;
        default:
            break;
        }
    }

    void fontTableProperty(Action action, int parameter) {
        if (action == Action::Font) {
            m_fonts.push_back(FontEntry{parameter, {}, -1, false});
        } else if (action == Action::FontCharset && !m_fonts.empty()) {
            m_fonts.back().charset = parameter;
        }
    }

    int special(Action action, int parameter) {
        switch (action) {
        case Action::Binary:
            // Binary data is never text: skip it, clamped to what is there.
            m_pos += std::clamp<qsizetype>(parameter, 0, m_source.size() - m_pos);
            return rtfOk;
        case Action::Hex:
            return hexCharacter();
        case Action::SkipUnknown:
            m_skipIfUnknown = true;
            return rtfOk;
        case Action::Unicode:
            // The value is a signed 16-bit number; the next characters only stand in for it.
            text(QChar(char16_t(parameter & 0xFFFF)));
            m_pendingSkip = m_state.unicodeSkip;
            return rtfOk;
        default:
            return rtfOk;
        }
    }

    int hexCharacter() {
        int value = 0;
        for (int i = 0; i < 2; ++i) {
            if (m_pos >= m_source.size()) return rtfEndOfFile;
            const int digit = hexDigit(m_source[m_pos++]);
            if (digit < 0) return rtfInvalidHex;
            value = value * 16 + digit;
        }
        text(DecodeCodePageByte(currentCodePage(), static_cast<unsigned char>(value)));
        return rtfOk;
    }

    static int hexDigit(QChar c) {
        const char16_t u = c.unicode();
        if (u >= '0' && u <= '9') return u - '0';
        if (u >= 'a' && u <= 'f') return u - 'a' + 10;
        if (u >= 'A' && u <= 'F') return u - 'A' + 10;
        return -1;
    }

    const FontEntry* findFont(int number) const {
        for (const FontEntry& font : m_fonts)
            if (font.number == number) return &font;
        return nullptr;
    }

    int currentCodePage() const {
        if (const FontEntry* font = findFont(m_state.fontNumber))
            if (const int codePage = codePageOfCharset(font->charset)) return codePage;
        return m_ansiCodePage > 0 ? m_ansiCodePage : 1250;
    }

    // One character read from the source, for the current destination.
    void text(QChar c) {
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        switch (m_state.destination) {
        case Destination::Skip:
            return;
        case Destination::ColourTable:
            if (c == u';') {
                m_colours.push_back(QColor(m_red, m_green, m_blue));
                m_red = m_green = m_blue = 0;
            }
            return;
        case Destination::FontTable:
            if (!m_fonts.empty() && !m_fonts.back().named) {
                if (c == u';') {
                    m_fonts.back().face = m_fonts.back().face.trimmed();
                    m_fonts.back().named = true;
                } else {
                    m_fonts.back().face += c;
                }
            }
            return;
        case Destination::Normal:
            putCharacter(c);
            return;
        }
    }

    void putCharacter(QChar c) {
        RichTextStyle style = m_state.style;
        if (const FontEntry* font = findFont(m_state.fontNumber)) {
            style.face = font->face;
            style.charset = font->charset;
        }
        if (m_result.styles.isEmpty() || !(m_result.styles.back() == style))
            m_result.styles.append(style);
        m_result.text.append(c);
        m_result.styleOfChar.append(int(m_result.styles.size()) - 1);
    }

    const QString& m_source;
    qsizetype m_pos = 0;
    State m_state;
    std::vector<State> m_stack; // on the heap, so any depth of groups is safe
    bool m_skipIfUnknown = false;
    int m_pendingSkip = 0;
    int m_ansiCodePage = 0;
    QList<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    std::vector<FontEntry> m_fonts;
    RichTextContent m_result;
};

} // namespace

QChar DecodeCodePageByte(int codePage, unsigned char byte) {
    if (byte < 0x80) return QChar(byte);
    if (codePage == 1250) return platform::Windows1250Char(byte);
    struct Page {
        int codePage;
        std::array<char16_t, 128> upper;
    };
    static thread_local std::vector<Page> pages;
    for (const Page& page : pages)
        if (page.codePage == codePage) return QChar(page.upper[byte - 0x80]);
    Page page{codePage, {}};
    QStringDecoder decoder(QStringLiteral("windows-%1").arg(codePage).toLatin1().constData());
    for (int i = 0; i < 128; ++i) {
        const char b = char(0x80 + i);
        const QString decoded =
            decoder.isValid() ? decoder.decode(QByteArrayView(&b, 1)) : QString();
        page.upper[i] = decoded.size() == 1 ? decoded[0].unicode() : char16_t(0xFFFD);
        decoder.resetState();
    }
    pages.push_back(page);
    return QChar(page.upper[byte - 0x80]);
}

RichTextContent ReadRichText(const QString& source, bool rtf, const RichTextBase& base) {
    if (rtf) return Reader(source, base).read();
    RichTextContent content;
    content.text = source;
    if (!source.isEmpty()) {
        RichTextStyle style;
        style.bold = base.bold;
        style.italic = base.italic;
        style.underline = base.underline;
        style.alignment = base.alignment;
        content.styles.append(style);
        content.styleOfChar = QList<int>(source.size(), 0);
    }
    return content;
}

} // namespace report
