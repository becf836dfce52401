#pragma once
// The designer window's palette: its pages of tools (data elements, variables, functions,
// graphic elements, detail reports), each page with the list it places from, and the tool
// that is chosen. The tools are the window's actions; the palette shows them as buttons and
// keeps what their lists offer and which entry is chosen.

#include "report/designer/TSesPrvek.h"

#include <QTabWidget>

class QAction;
class QComboBox;
class QToolButton;

namespace designer {

class DesignerPalette : public QTabWidget {
    Q_OBJECT

public:
    // The pages, in their order.
    enum Page : int { PageData, PageVariables, PageFunctions, PageGraphics, PageDetails };

    // The pages with the buttons of the window's tool actions, found by name in `actions`.
    DesignerPalette(const QObject& actions, QWidget* parent);
    // A flat button for `action`, named after it ("ActionNew" gives "SBNew").
    static QToolButton* toolButton(QAction* action, QWidget* parent);

    // The chosen tool: tcArrow, or an insertion tool's code.
    int tool() const { return m_tool; }
    void setTool(int tool) { m_tool = tool; }

    // The list of the data page offers what an insertion tool places (items, parameters or
    // functions): filled, then shown with entry `current` chosen, or hidden.
    void fillChoices(const QStringList& names);
    void showChoices(int current);
    void hideChoices();
    // The chosen entry of that list (-1: none), and none chosen.
    int choice() const;
    void clearChoice();
    // The next entry of the list of the page shown (data or functions), from the last to the
    // first.
    void chooseNext();

    // The groups of the template ("Skupina 1", ...), the first chosen; disabled without any.
    void fillGroups(int count);
    int group() const;
    // The user functions' titles, the last chosen.
    void fillFunctions(const QStringList& titles);
    int function() const;
    void chooseFunction(int index);
    // The registered detail reports.
    void fillDetails(const QStringList& names);
    int detail() const;

signals:
    // The entry of the functions' list changed.
    void functionChosen();

private:
    QComboBox* m_choices = nullptr;
    QComboBox* m_groups = nullptr;
    QComboBox* m_functions = nullptr;
    QComboBox* m_details = nullptr;
    int m_tool = tcArrow;
};

} // namespace designer
