#include "report/designer/model/DesignerSelection.h"

#include <algorithm>

namespace designer {

QList<const DesignerSelection::Element*> DesignerSelection::select(const Element* element) {
    if (element == m_primary) return {};
    QList<const Element*> touched;
    if (m_count >= 2 && !isMember(element)) touched = clear();
    if (m_primary) {
        touched << m_primary;
        if (element && !isMember(element)) m_members.remove(m_primary);
        m_count = std::max(m_count - 1, 0);
    }
    m_primary = element;
    if (element) {
        ++m_count;
        touched << element;
    }
    return touched;
}

QList<const DesignerSelection::Element*> DesignerSelection::add(const Element* element) {
    if (!element || element == m_primary) return {};
    QList<const Element*> touched;
    if (m_primary)
        ++m_count;
    else
        touched = select(element);
    m_members << element << m_primary;
    touched << element << m_primary;
    return touched;
}

QList<const DesignerSelection::Element*>
DesignerSelection::remove(const Element* element, const QList<const Element*>& order) {
    if (!isSelected(element)) return {};
    QList<const Element*> touched{element};
    m_count = std::max(m_count - 1, 0);
    if (isPrimary(element)) m_primary = nullptr;
    if (m_members.remove(element) && !m_primary && m_count >= 1) {
        const auto next = std::find_if(order.begin(), order.end(),
                                       [this](const Element* e) { return isMember(e); });
        if (next != order.end()) {
            m_primary = *next;
            touched << m_primary;
        }
    }
    if (m_count == 1 && m_primary && m_members.remove(m_primary)) touched << m_primary;
    return touched;
}

QList<const DesignerSelection::Element*> DesignerSelection::clear() {
    QList<const Element*> touched(m_members.begin(), m_members.end());
    if (m_primary) touched << m_primary;
    m_primary = nullptr;
    m_members.clear();
    m_count = 0;
    return touched;
}

QList<const DesignerSelection::Element*>
DesignerSelection::selectPasted(const QList<const Element*>& pasted, const Element* primary) {
    QList<const Element*> touched = clear();
    if (pasted.size() > 1) m_members = QSet<const Element*>(pasted.begin(), pasted.end());
    m_primary = primary;
    m_count = int(pasted.size());
    return touched + pasted;
}

} // namespace designer
