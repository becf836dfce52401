#include "report/engine/template/sestavyt_model.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <iterator>

#include "platform/Windows1250.h"

namespace report {

// ---- TPredloha

TPredloha TPredloha::FromBytes(const QByteArray& bytes) {
    // An end-of-file byte (0x1A) ends the text: old editors wrote one after the last line.
    const qsizetype end = bytes.indexOf('\x1A');
    QByteArrayView data(bytes.constData(), end < 0 ? bytes.size() : end);
    if (data.startsWith("\xEF\xBB\xBF")) data = data.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(data);
    if (utf8.hasError()) text = platform::DecodeWindows1250(data.toByteArray());

    TPredloha lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r') continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < size) lines.append(text.mid(start));
    return lines;
}

QByteArray TPredloha::ToBytes() const {
    QByteArray bytes;
    for (const QString& line : *this) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

bool TPredloha::LoadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    *this = FromBytes(bytes);
    return true;
}

// ---- sections

TOddilSestavy::~TOddilSestavy() {
    Clear();
}

TVoranReportElement* TOddilSestavy::Add(std::unique_ptr<TVoranReportElement> element) {
    m_elements.push_back(std::move(element));
    return m_elements.back().get();
}

TVoranReportElement* TOddilSestavy::Prvek(int i) const {
    return i >= 0 && i < Count() ? m_elements[i].get() : nullptr;
}

void TOddilSestavy::Clear() {
    while (!m_elements.empty())
        m_elements.pop_back();
}

TListOddilu::TListOddilu() {
    for (int number = odZ; number <= odP; ++number)
        m_sections.push_back(std::make_unique<TOddilSestavy>(number, 1));
}

TOddilSestavy* TListOddilu::Oddil(int i) const {
    return i >= 0 && i < Count() ? m_sections[i].get() : nullptr;
}

TOddilSestavy* TListOddilu::ByNumber(int number) const {
    for (const auto& section : m_sections)
        if (section->Number == number) return section.get();
    return nullptr;
}

TOddilSestavy* TListOddilu::Add(std::unique_ptr<TOddilSestavy> section) {
    m_sections.push_back(std::move(section));
    return m_sections.back().get();
}

void TListOddilu::Remove(TOddilSestavy* section) {
    // Groups are deleted last first, so their sections are found at the end.
    const auto found = std::find_if(m_sections.rbegin(), m_sections.rend(),
                                    [section](const auto& s) { return s.get() == section; });
    if (found != m_sections.rend()) m_sections.erase(std::next(found).base());
}

void TListOddilu::ClearElements() {
    for (const auto& section : m_sections)
        section->Clear();
}

// ---- groups

TPolSkup* TListSkupin::Skupina(int i) const {
    return i >= 0 && i < Count() ? m_groups[i].get() : nullptr;
}

TPolSkup* TListSkupin::Add(const QString& name, std::unique_ptr<TPolSkup> group) {
    m_names.append(name);
    m_groups.push_back(std::move(group));
    return m_groups.back().get();
}

std::unique_ptr<TPolSkup> TListSkupin::Take(int i) {
    if (i < 0 || i >= Count()) return nullptr;
    std::unique_ptr<TPolSkup> group = std::move(m_groups[i]);
    m_groups.erase(m_groups.begin() + i);
    m_names.removeAt(i);
    return group;
}

void TListSkupin::Advance() {
    for (int i = 0; i < Count(); ++i) {
        TPolSkup& group = *m_groups[i];
        ++group.RowCounter;
        if (!group.Break) continue;
        group.RowCounter = 1;
        const bool outerBroke = i > 0 && m_groups[i - 1]->Break;
        group.NumberCounter = outerBroke ? 1 : group.NumberCounter + 1;
    }
}

void TListSkupin::ResetCounters() {
    for (const auto& group : m_groups) {
        group->RowCounter = 1;
        group->NumberCounter = 1;
        group->Break = false;
    }
}

void TListDetailu::Add(TSestDetail* detail) {
    if (detail && !m_details.contains(detail)) m_details.append(detail);
}

// ---- section flags

void SectionFlags::set(int section, int bits) {
    const bool bit0 = bits & 1;
    switch (section) {
    case odZ:
        reportHeaderOwnPage = bit0;
        break;
    case odH:
        noPageHeaderOnFirstPage = bit0;
        break;
    case odT:
        bodyEachRecordNewPage = bit0;
        break;
    case odK:
        reportFooterNewPage = bit0;
        reportFooterAtBottom = bits & 2;
        break;
    case odP:
        noPageFooterOnLastPage = bit0;
        break;
    default:
        break;
    }
}

int SectionFlags::bits(int section) const {
    switch (section) {
    case odZ:
        return reportHeaderOwnPage;
    case odH:
        return noPageHeaderOnFirstPage;
    case odT:
        return bodyEachRecordNewPage;
    case odK:
        return int(reportFooterNewPage) | int(reportFooterAtBottom) << 1;
    case odP:
        return noPageFooterOnLastPage;
    default:
        return 0;
    }
}

} // namespace report
