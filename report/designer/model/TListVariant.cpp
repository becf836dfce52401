#include "report/designer/model/TListVariant.h"

#include <algorithm>

namespace designer {

namespace {
constexpr int kNameLength = 32;
}

TListVariant::TListVariant() {
    m_entries.push_back({QStringLiteral("Základní varianta"), {}});
}

QString TListVariant::Name(int i) const {
    return i >= 0 && i < Count() ? m_entries[size_t(i)].name : QString();
}

report::TPredloha& TListVariant::Variant(int i) {
    return m_entries[size_t(std::clamp(i, 0, Count() - 1))].snapshot;
}

const report::TPredloha& TListVariant::Variant(int i) const {
    return m_entries[size_t(std::clamp(i, 0, Count() - 1))].snapshot;
}

void TListVariant::dropFirst() {
    m_entries.erase(m_entries.begin());
    --m_current;
    m_clean = m_clean > 0 ? m_clean - 1 : -1;
}

report::TPredloha& TListVariant::AddVariant(const QString& name) {
    m_entries.resize(size_t(m_current + 1));
    if (m_clean > m_current) m_clean = -1;
    if (m_current >= m_capacity - 1) dropFirst();
    m_entries.push_back({name.left(kNameLength), {}});
    m_current = Count() - 1;
    return m_entries.back().snapshot;
}

void TListVariant::SetCapacity(int n) {
    m_capacity = std::max(n, 1);
    while (Count() > m_capacity && m_current >= 1)
        dropFirst();
    while (Count() > m_capacity && Count() - 1 > m_current) {
        if (m_clean == Count() - 1) m_clean = -1;
        m_entries.pop_back();
    }
}

void TListVariant::ForgetHistory() {
    Entry kept = std::move(m_entries[size_t(m_current)]);
    m_entries.clear();
    m_entries.push_back(std::move(kept));
    m_clean = m_clean == m_current ? 0 : -1;
    m_current = 0;
}

bool TListVariant::Undo() {
    if (!CanUndo()) return false;
    --m_current;
    return true;
}

bool TListVariant::Redo() {
    if (!CanRedo()) return false;
    ++m_current;
    return true;
}

QString TListVariant::UndoCaption() const {
    return CanUndo() ? QStringLiteral("Zrušit ") + Name(m_current)
                     : QStringLiteral("Zrušit změny");
}

QString TListVariant::RedoCaption() const {
    return CanRedo() ? QStringLiteral("Znovu ") + Name(m_current + 1)
                     : QStringLiteral("Znovu změny");
}

QString TListVariant::StepName(int kind) {
    static const char* const names[] = {
        "vložení prvku",      "změna písma",     "zrušení prvku",  "nastavení oddílů a skupin",
        "změna výšky oddílu", "změna textu",     "posun prvku",    "změna zarovnávání",
        "oprava funkce",      "přidání funkce",  "zrušení funkce", "vystřižení do úschovy",
        "vložení z úschovy",  "nastavení prvku", "změna detailu",
    };
    if (kind < ckInsertElement || kind > ckDetail) return {};
    return QString::fromUtf8(names[kind - ckInsertElement]).left(kNameLength);
}

} // namespace designer
