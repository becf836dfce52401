#include "report/engine/expressions/ExpressionText.h"

#include "platform/LocaleSettings.h"

#include <charconv>
#include <cmath>
#include <string>

namespace report {

// ---- Character classes -------------------------------------------------------------------------

bool IsDigitChar(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool IsQuoteChar(QChar c) {
    return c == u'\'';
}
bool IsBracketChar(QChar c) {
    return c == u'[';
}
bool IsReferencePrefix(QChar c) {
    return c == u'#' || c == u'%' || c == u'&' || c == u'@';
}
// Item names may carry Czech letters, so every Unicode letter counts.
bool IsNameStartChar(QChar c) {
    return c.isLetter() || c == u'_';
}
bool IsNameChar(QChar c) {
    return c.isLetter() || IsDigitChar(c) || c == u'_' || c == u'$';
}
bool IsWordChar(QChar c) {
    return c.isLetter() || IsReferencePrefix(c);
}
bool IsOperatorChar(QChar c) {
    return c == u')' || c == u'*' || c == u'+' || c == u'-' || c == u'/' || c == u'<' ||
           c == u'=' || c == u'>' || c == u'^';
}

// ---- Loose numbers -----------------------------------------------------------------------------

double StrToFloatLoose(const QString& text) {
    const QChar point = platform::CurrentLocaleSettings().decimalSeparator;
    // The first of the other separator stands for the locale's.
    const QChar other = point == u',' ? u'.' : point == u'.' ? u',' : QChar();
    qsizetype start = 0;
    while (start < text.size() && text.at(start).unicode() <= ' ')
        ++start;
    // Read as the strict conversion reads it, without a text of its own: a report reads every
    // item's number this way, record after record.
    const qsizetype length = text.size() - start;
    if (length == 0) return 0;
    std::string number(std::size_t(length), ' ');
    bool otherSeen = false;
    for (qsizetype i = start; i < text.size(); ++i) {
        QChar c = text.at(i);
        if (!otherSeen && !other.isNull() && c == other) {
            otherSeen = true;
            c = point;
        }
        char& out = number[std::size_t(i - start)];
        if (IsDigitChar(c))
            out = char(c.unicode());
        else if (c == point && i > start)
            out = '.';
        else if ((c == u'E' || c == u'e') && i > start)
            out = char(c.unicode());
        else if (c == u'-' && i == start)
            out = '-';
        else
            return 0;
    }
    double value = 0;
    const char* end = number.data() + number.size();
    const auto res = std::from_chars(number.data(), end, value);
    return res.ec == std::errc() && res.ptr == end && std::isfinite(value) ? value : 0.0;
}

// ---- References and lists ----------------------------------------------------------------------

namespace {

int baseOf(QChar prefix) {
    switch (prefix.unicode()) {
    case u'#':
        return kItemBase;
    case u'&':
        return kParameterBase;
    case u'@':
        return kFunctionBase;
    default:
        return kSystemVariableBase;
    }
}

} // namespace

Reference ResolveReference(const QString& text, qsizetype i) {
    Reference r;
    const QChar prefix = text.at(i);
    qsizetype j = i + 1;
    r.end = j;
    if (j >= text.size() || !IsNameChar(text.at(j))) {
        r.error = kExprUnknownWord;
        return r;
    }
    int n = 0;
    if (IsDigitChar(text.at(j))) {
        // One to three digits; a fourth is not part of the reference.
        for (int k = 0; k < 3 && j < text.size() && IsDigitChar(text.at(j)); ++k, ++j)
            n = n * 10 + text.at(j).digitValue();
    } else if (IsNameStartChar(text.at(j)) && (prefix == u'#' || prefix == u'@')) {
        const qsizetype start = j;
        while (j < text.size() && IsNameChar(text.at(j)))
            ++j;
        n = LookUpName(prefix == u'#' ? kRequestItemIndex : kRequestFunctionIndex,
                       text.mid(start, j - start)) +
            1;
    } else {
        while (j < text.size() && IsNameChar(text.at(j)))
            ++j;
        n = 0;
    }
    r.end = j;
    // Number 0 would address the last entry of the range before: refused like an unknown name.
    if (n < 1) {
        r.error = kExprUnknownWord;
        return r;
    }
    r.request = baseOf(prefix) + n - 1;
    return r;
}

std::vector<TCalcType> ValueListEntries(const QString& text) {
    std::vector<TCalcType> entries;
    qsizetype i = 0;
    while (true) {
        const qsizetype entryStart = i;
        while (i < text.size() && text.at(i) == u' ')
            ++i;
        TCalcType entry;
        entry.kind = 2;
        qsizetype next = text.indexOf(u',', i);
        if (i < text.size() && IsQuoteChar(text.at(i))) {
            const qsizetype close = text.indexOf(u'\'', i + 1);
            entry.text = text.mid(i + 1, (close < 0 ? text.size() : close) - i - 1);
            entry.number = StrToFloatLoose(entry.text);
            next = close < 0 ? -1 : text.indexOf(u',', close + 1);
        } else if (i < text.size() && IsReferencePrefix(text.at(i))) {
            const qsizetype end = next < 0 ? text.size() : next;
            const Reference r = ResolveReference(text.left(end), i);
            if (r.error == kExprOk) entry = FetchValue(r.request, true);
        } else {
            entry.text = text.mid(entryStart, (next < 0 ? text.size() : next) - entryStart);
            entry.number = StrToFloatLoose(entry.text);
        }
        entries.push_back(entry);
        if (next < 0) break;
        i = next + 1;
    }
    return entries;
}

void ParseValueList(const QString& text, QStringList& list) {
    list.clear();
    for (const TCalcType& entry : ValueListEntries(text))
        list.append(entry.text);
}

} // namespace report
