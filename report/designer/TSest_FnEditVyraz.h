#pragma once
// "Tvorba výrazu pro výpočet funkce": builds an expression from pick lists of the report's
// items, parameters, variables and user functions, the built-in function templates and
// operator buttons, and checks it with the expression evaluator.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace platform {
class MessageSink;
}
namespace report {
class TListFunkci;
class TSestavaTyp;
} // namespace report

namespace designer {

class TSest_FnEditVyraz : public QDialog {
    Q_OBJECT

public:
    // Pick lists by their tag.
    enum List { Fields = 1, Parameters, Variables, Functions, Math, Text, DateTime, Logical };

    explicit TSest_FnEditVyraz(QWidget* parent = nullptr);

    // The four reference lists from the report (may be null: empty lists), the function list
    // and the `groups` the template being designed has (the report's own model may still
    // hold the groups of the last template it read); "Položky podle názvu" from the flag.
    void FillLists(report::TSestavaTyp* report, const report::TListFunkci* functions,
                   bool itemsByName, int groups);
    QString expression() const;
    void setExpression(const QString& text);
    // The text that line `index` of reference list `list` inserts: prefix and number, or with
    // "Položky podle názvu" (fields and user functions) prefix and name; at most 32
    // characters.
    QString ReferenceText(int list, int index) const;
    // A pick line: prefix, the number left-aligned in at least 3 characters (never cut), text.
    static QString PickLine(QChar prefix, int number, const QString& text);

    void setMessageSink(platform::MessageSink* sink) { m_messages = sink; }

    // Inserts the chosen line of the current list at the caret.
    void insertChoice();
    // "Kontrola": evaluates the expression and reports the result; true when it is valid.
    bool check();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void enterList(int list);
    void chooseLine(int list);
    void insertOperator(const QString& text, int advance);
    void addLine(int list, QChar prefix, int number, const QString& text);
    platform::MessageSink& sink();

    report::TSestavaTyp* m_report = nullptr;
    platform::MessageSink* m_messages = nullptr;
    QLineEdit* m_edit;
    QComboBox* m_lists[8];
    QToolButton* m_listButtons[8];
    QCheckBox* m_byName;
    QPushButton* m_insert;
    int m_current = 0; // current list, 0 none
};

} // namespace designer
