#pragma once
// The designer's undo and redo history: a list of whole-template snapshots, each under the
// name of the step that led to it, with a capacity, a current position and a clean index.
// Undo and redo only move the position; the window reloads the snapshot found there.

#include "report/engine/template/sestavyt_model.h"

#include <QString>

#include <vector>

namespace designer {

// What a history step records; each kind names its step (TListVariant::StepName).
enum ChangeKind : int {
    ckInsertElement = 1,
    ckFont = 2,
    ckDeleteElement = 3,
    ckSectionsAndGroups = 4, // the report settings dialog
    ckSectionHeight = 5,
    ckText = 6,
    ckMove = 7, // moves and resizes by keys, mouse and position fields; align to the grid
    ckAlignment = 8,
    ckEditFunction = 9,
    ckAddFunction = 10,
    ckDeleteFunction = 11,
    ckCut = 12,
    ckPaste = 13,
    ckElementSettings = 14, // every other property of elements
    ckDetail = 15,          // the designer of a detail report closed
};

class TListVariant {
public:
    // One entry "Základní varianta" with an empty template; capacity 10.
    TListVariant();

    int Count() const { return int(m_entries.size()); }
    int CurrentIndex() const { return m_current; }
    int Capacity() const { return m_capacity; }
    QString Name(int i) const;

    // The snapshot of entry i (clamped into the list); Current: of the current entry.
    report::TPredloha& Variant(int i);
    const report::TPredloha& Variant(int i) const;
    report::TPredloha& Current() { return Variant(m_current); }
    const report::TPredloha& Current() const { return Variant(m_current); }

    // Drops the redo tail, and entry 0 when the list is full; appends an empty snapshot under
    // `name` (cut to 32 characters), makes it current and returns it for the caller to fill.
    report::TPredloha& AddVariant(const QString& name);
    // Capacity n (at least 1): trims the oldest states first, then redo states.
    void SetCapacity(int n);
    // Only the current entry remains, as entry 0 with its name.
    void ForgetHistory();

    // The clean index: the entry that holds what the template file holds, as an undo stack's
    // clean state; -1 when no entry does. A new history is clean at its one entry; entries
    // that go take it along, and entries that move keep it on theirs.
    int CleanIndex() const { return m_clean; }
    bool IsClean() const { return m_clean == m_current; }
    void SetClean() { m_clean = m_current; }
    void ResetClean() { m_clean = -1; }

    bool CanUndo() const { return m_current >= 1; }
    bool CanRedo() const { return m_current < Count() - 1; }
    // Move the current position; false (nothing moved) at either end.
    bool Undo();
    bool Redo();
    // "Zrušit <name of the current step>" / "Zrušit změny"; "Znovu <name of the next step>" /
    // "Znovu změny".
    QString UndoCaption() const;
    QString RedoCaption() const;

    // The step name of a change kind; empty for any other number.
    static QString StepName(int kind);

private:
    struct Entry {
        QString name;
        report::TPredloha snapshot;
    };
    std::vector<Entry> m_entries;
    int m_capacity = 10;
    int m_current = 0;
    int m_clean = 0;

    // Entry 0 goes; the indexes after it move down.
    void dropFirst();
};

} // namespace designer
