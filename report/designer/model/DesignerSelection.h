#pragma once
// What the designer has selected: the primary element, the members of a multiple selection
// and the count the design controls ask for. Elements are known by their model objects, which
// the selection never reads; one that is freed while selected must leave it first.
//
// Every change returns the elements whose marks (primary, member) it may have changed, so that
// their views can be brought up to date.

#include <QList>
#include <QSet>

namespace report {
class TVoranReportElement;
}

namespace designer {

class DesignerSelection {
public:
    using Element = report::TVoranReportElement;

    const Element* primary() const { return m_primary; }
    bool isPrimary(const Element* element) const { return element && element == m_primary; }
    // A member of a multiple selection (the primary may be one).
    bool isMember(const Element* element) const { return m_members.contains(element); }
    bool isSelected(const Element* element) const {
        return isPrimary(element) || isMember(element);
    }
    int count() const { return m_count; }

    // `element` becomes the primary (null: none). A multiple selection it is no member of
    // ends first; the previous primary stays a member only when `element` is one.
    QList<const Element*> select(const Element* element);
    // `element` joins: with a primary it is counted and it and the primary are members;
    // without one it becomes the primary, a member of its own. Nothing for null or the
    // primary.
    QList<const Element*> add(const Element* element);
    // `element` leaves (nothing when it is not selected). A primary leaving a multiple
    // selection hands over to the first other member in `order`; one element left is no
    // member.
    QList<const Element*> remove(const Element* element, const QList<const Element*>& order);
    QList<const Element*> clear();
    // Pasted elements: `primary` the primary, all of them members when they are several, and
    // all counted.
    QList<const Element*> selectPasted(const QList<const Element*>& pasted,
                                       const Element* primary);

private:
    const Element* m_primary = nullptr;
    QSet<const Element*> m_members;
    int m_count = 0;
};

} // namespace designer
