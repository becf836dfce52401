#pragma once
// "Nastavení parametrů funkce": the dialog of one user function of a template.

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLineEdit;

namespace report {
class TListFunkci;
class TRadekFunkce;
class TSestavaTyp;
} // namespace report

namespace designer {

class TFunkceDlg : public QDialog {
    Q_OBJECT

public:
    // The reset levels offered: "Sestavy", "Stránky", "Skupiny n" for n = 1..groupCount.
    TFunkceDlg(QWidget* parent, report::TSestavaTyp* report, report::TListFunkci* functions,
               bool itemsByName, int groupCount);

    // The fields from the function's definition.
    void load(const report::TRadekFunkce& function);
    // The fields into the function; a precision or decimals text that is no number keeps
    // the function's value.
    void store(report::TRadekFunkce& function) const;

    // Shows the dialog modally on `function`; 1 after OK (the function written), 2 otherwise.
    static int EditFunkce(QWidget* owner, report::TSestavaTyp* report,
                          report::TListFunkci* functions, bool itemsByName, int groupCount,
                          report::TRadekFunkce& function);

private:
    void showNumericPanel();
    void editExpression();

    report::TSestavaTyp* m_report;
    report::TListFunkci* m_functions;
    bool m_itemsByName;
    int m_groupCount;
    QLineEdit* m_name;
    QLineEdit* m_title;
    QComboBox* m_type;
    QLineEdit* m_expression;
    QLineEdit* m_initial;
    QComboBox* m_reset;
    QWidget* m_numeric;
    QButtonGroup* m_aggregate;
    QComboBox* m_format;
    QLineEdit* m_precision;
    QLineEdit* m_decimals;
};

} // namespace designer
