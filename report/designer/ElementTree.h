#pragma once
// The designer window's element tree: the report, its sections in print order and their
// elements, in a panel beside the paper. A press on an element asks the window to select it,
// a double click to edit it or the settings of a section. Items hold guarded pointers and read
// the selection and the section's visibility when drawn, so a rebuild is needed only when
// elements come or go.

#include <QList>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace designer {

class TOddil;
class TSesPrvek;

class ElementTree : public QWidget {
    Q_OBJECT

public:
    // Hidden until shown with a tree.
    explicit ElementTree(QWidget* parent);

    QTreeWidget* view() const { return m_view; }
    // The tree built anew under the report's `title` from `sections` in print order; the
    // sections that were expanded stay so.
    void build(const QString& title, const QList<TOddil*>& sections);
    void clear();
    // Drawn again: the marks of the selection follow.
    void showSelection();

signals:
    void elementPressed(designer::TSesPrvek* element, Qt::KeyboardModifiers modifiers);
    void elementDoubleClicked(designer::TSesPrvek* element);
    void sectionDoubleClicked(int code);

private:
    void pressed(QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers);
    void doubleClicked(QTreeWidgetItem* item);

    QTreeWidget* m_view = nullptr;
};

} // namespace designer
