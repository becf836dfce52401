#include "report/designer/TPapir.h"

#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"

#include <algorithm>

namespace designer {

namespace {
constexpr int kNewSectionHeight = 43;
} // namespace

// ---- TListSkupinE

TPolSkupE& TListSkupinE::add(const QString& keyName) {
    auto group = std::make_unique<TPolSkupE>();
    group->number = Count();
    group->keyName = keyName;
    m_groups.push_back(std::move(group));
    return *m_groups.back();
}

TPolSkupE* TListSkupinE::Skupina(int i) const {
    return i >= 0 && i < Count() ? m_groups[size_t(i)].get() : nullptr;
}

void TListSkupinE::removeLast() {
    if (!m_groups.empty()) m_groups.pop_back();
}

// ---- TPapir

TPapir::TPapir(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Papir"));
    setFocusPolicy(Qt::StrongFocus);
}

TPapir::~TPapir() {
    // Element controls die with their sections (their parents); the lists go first.
    m_elements.clear();
    m_listed.clear();
    m_shown.clear();
}

TOddil* TPapir::AddOddil(report::SectionNumber code) {
    auto* section = new TOddil(this, code);
    section->setSectionHeight(kNewSectionHeight);
    section->setSectionWidth(m_width);
    m_sections.append(section);
    section->show();
    return section;
}

void TPapir::AddSkupina(TPolSkupE& group) {
    const LayoutBatch batch(*this);
    auto make = [this](int code, bool visible, int height) {
        auto* section = new TOddil(this, code);
        section->resize(std::max(width() - 1, 0), section->height());
        section->setSectionWidth(m_width);
        section->SetZoom(m_zoom);
        section->setSectionHeight(height);
        section->setVisible(visible);
        m_sections.append(section);
        return section;
    };
    group.header = make(groupHeaderCode(group.number), group.headerVisible, group.headerHeight);
    group.footer = make(groupFooterCode(group.number), group.footerVisible, group.footerHeight);
    Layout();
}

void TPapir::RemoveSkupina(TPolSkupE& group) {
    const LayoutBatch batch(*this);
    for (TOddil** section : {&group.header, &group.footer}) {
        if (!*section) continue;
        ClearOddil(*section);
        // the last group's sections end the list: found at once from its end
        if (const qsizetype at = m_sections.lastIndexOf(*section); at >= 0)
            m_sections.removeAt(at);
        delete *section;
        *section = nullptr;
    }
    Layout();
}

void TPapir::AddPrvek(TOddil* section, TSesPrvek* element) {
    // the paper's sections are its children from their creation until they go
    if (!element || !section || section->parentWidget() != this) return;
    if (element->parentWidget() != section) element->setParent(section);
    element->show();
    if (!m_listed.contains(element)) {
        m_listed.insert(element);
        if (element->element()) m_shown.insert(element->element(), element);
        m_elements.append(element);
        section->addElement(element);
    } else if (!section->holds(element)) {
        section->addElement(element);
    }
}

void TPapir::RemovePrvek(TSesPrvek* element) {
    if (!m_listed.remove(element)) return;
    m_shown.remove(element->element());
    m_elements.removeAll(element);
    for (TOddil* section : m_sections)
        section->removeElement(element);
}

void TPapir::ClearOddil(TOddil* section) {
    if (!section) return;
    QSet<TSesPrvek*> elements;
    for (int i = 0; i < section->PocetPrvku(); ++i)
        elements.insert(section->Prvek(i));
    deleteElements(elements);
}

void TPapir::deleteElements(const QSet<TSesPrvek*>& elements) {
    if (elements.isEmpty()) return;
    QList<TSesPrvek*> removed;
    m_elements.removeIf([&](TSesPrvek* e) {
        if (!elements.contains(e)) return false;
        removed.append(e);
        return true;
    });
    for (TSesPrvek* e : removed) {
        m_listed.remove(e);
        m_shown.remove(e->element());
    }
    for (TOddil* section : m_sections)
        section->removeElements(elements);
    // the last first, as single deletions go
    for (auto e = removed.rbegin(); e != removed.rend(); ++e)
        delete *e;
}

TSesPrvek* TPapir::Prvek(int i) const {
    return i >= 0 && i < m_elements.size() ? m_elements[i] : nullptr;
}

TOddil* TPapir::Oddil(int i) const {
    return i >= 0 && i < m_sections.size() ? m_sections[i] : nullptr;
}

TOddil* TPapir::FindOddil(const TSesPrvek* element) const {
    for (TOddil* section : m_sections)
        if (section->holds(element)) return section;
    return nullptr;
}

void TPapir::ZOrder(TSesPrvek* element, bool front) {
    for (TOddil* section : m_sections)
        section->ZOrder(element, front);
}

void TPapir::SetSirka(int width) {
    m_width = width;
    SetZoom(m_zoom);
}

void TPapir::SetZoom(double zoom) {
    m_zoom = zoom;
    const int pixels = std::max(widgetPixels(m_width, zoom), 1);
    resize(pixels, height());
    for (TOddil* section : m_sections) {
        section->move(0, section->y());
        section->resize(pixels - 1, section->height());
        section->setSectionWidth(m_width);
        section->SetZoom(zoom);
    }
    Layout();
}

TPapir::LayoutBatch::LayoutBatch(TPapir& paper) : m_paper(paper) {
    ++m_paper.m_batches;
}

TPapir::LayoutBatch::~LayoutBatch() {
    if (--m_paper.m_batches == 0 && m_paper.m_layoutDue) m_paper.Layout();
}

void TPapir::Layout() {
    if (m_batches > 0) {
        m_layoutDue = true;
        return;
    }
    m_layoutDue = false;
    // the list holds the fixed sections at their codes, then each group's two
    const int groups = (PocetOddilu() - kFixedSections) / 2;
    QList<int> order = {report::odZ, report::odH};
    for (int k = 0; k < groups; ++k)
        order << groupHeaderCode(k);
    order << report::odT;
    for (int k = groups - 1; k >= 0; --k)
        order << groupFooterCode(k);
    order << report::odK << report::odP;
    qint64 y = 0;
    for (int index : order) {
        TOddil* section = Oddil(index);
        if (!section || section->isHidden()) continue;
        const int top = int(std::min<qint64>(y, QWIDGETSIZE_MAX));
        if (section->y() != top) section->move(section->x(), top);
        y += section->height();
    }
    const int paperHeight = int(std::min<qint64>(y + 1, QWIDGETSIZE_MAX));
    if (height() != paperHeight) resize(width(), paperHeight);
}

} // namespace designer
