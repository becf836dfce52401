#pragma once
// The paper of the designer: owns the section panels, stacks the visible ones in print order,
// keeps the list of every element control and applies the zoom. Also the designer's record of
// one report group and its two sections.

#include "report/engine/template/sestavyt_model.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

namespace designer {

class DesignerEvents;
class TOddil;
class TSesPrvek;

// One report group as the designer keeps it.
struct TPolSkupE {
    int number = 0;
    int keyItem = 0;
    QString keyName; // the key item's name when the group follows it by name
    bool headerVisible = false;
    int headerHeight = 24;
    bool footerVisible = false;
    int footerHeight = 24;
    bool newPage = false;
    TOddil* header = nullptr; // owned by the paper
    TOddil* footer = nullptr;
};

// The groups by number.
class TListSkupinE {
public:
    // A new group numbered by its position; keyed by `keyName` (may be empty).
    TPolSkupE& add(const QString& keyName = {});
    // The record at i, or null outside the list.
    TPolSkupE* Skupina(int i) const;
    int Count() const { return int(m_groups.size()); }
    void removeLast();

private:
    std::vector<std::unique_ptr<TPolSkupE>> m_groups;
};

class TPapir : public QWidget {
    Q_OBJECT

public:
    explicit TPapir(QWidget* parent = nullptr);
    ~TPapir() override;

    void setEvents(DesignerEvents* events) { m_events = events; }
    DesignerEvents* events() const { return m_events; }

    // A visible fixed section, 43 units high, appended to the section list.
    TOddil* AddOddil(report::SectionNumber code);
    // The group's header and footer panels, appended at the paper's width and zoom; then the
    // sections are laid out.
    void AddSkupina(TPolSkupE& group);
    // The group's panels with their elements go (they are the last of the list when the
    // group is the last); then the sections are laid out.
    void RemoveSkupina(TPolSkupE& group);
    // Adds the control to the paper's and the section's lists; nothing for an unknown section.
    void AddPrvek(TOddil* section, TSesPrvek* element);
    // Takes the control out of every list; it is not freed.
    void RemovePrvek(TSesPrvek* element);
    // Removes and frees every element control of the section.
    void ClearOddil(TOddil* section);
    // Takes the paper's controls among `elements` out of every list and frees them, in one
    // pass over each list, so that clearing or deleting thousands of elements stays linear.
    void deleteElements(const QSet<TSesPrvek*>& elements);

    TSesPrvek* Prvek(int i) const;
    int PocetPrvku() const { return int(m_elements.size()); }
    TOddil* Oddil(int i) const;
    int PocetOddilu() const { return int(m_sections.size()); }
    TOddil* FindOddil(const TSesPrvek* element) const;
    // The control that shows `element`, or null.
    TSesPrvek* controlOf(const report::TVoranReportElement* element) const {
        return m_shown.value(element);
    }
    void ZOrder(TSesPrvek* element, bool front);

    // Paper width in 1/100 inch; the zoom is applied again.
    void SetSirka(int width);
    int paperWidth() const { return m_width; }
    // Pixel width ScaleRound(width, zoom); every section as wide and zoomed; then Layout.
    void SetZoom(double zoom);
    double zoom() const { return m_zoom; }
    // Stacks the visible sections in print order: Z, H, group headers, T, group footers from
    // the last group, K, P. Hidden sections take no room; the paper is one pixel higher than
    // the sections. Within a LayoutBatch it is only noted as due.
    void Layout();

    // While one lives, the paper is laid out at most once, when the last one ends: reading a
    // template of thousands of groups must not stack every section anew for each.
    class LayoutBatch {
    public:
        explicit LayoutBatch(TPapir& paper);
        ~LayoutBatch();
        LayoutBatch(const LayoutBatch&) = delete;
        LayoutBatch& operator=(const LayoutBatch&) = delete;

    private:
        TPapir& m_paper;
    };

private:
    QList<TOddil*> m_sections;
    QList<TSesPrvek*> m_elements;
    QSet<TSesPrvek*> m_listed; // the same controls, for a quick "already there?"
    QHash<const report::TVoranReportElement*, TSesPrvek*> m_shown; // their elements
    int m_width = 0;
    double m_zoom = 1.0;
    DesignerEvents* m_events = nullptr;
    int m_batches = 0;
    bool m_layoutDue = false;
};

} // namespace designer
