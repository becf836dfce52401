#include "report/designer/TFunkceDlg.h"

#include "report/designer/TSest_FnEditVyraz.h"
#include "report/engine/expressions/sest_fn.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace designer {

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TFunkceDlg::TFunkceDlg(QWidget* parent, report::TSestavaTyp* report,
                       report::TListFunkci* functions, bool itemsByName, int groupCount)
    : QDialog(parent), m_report(report), m_functions(functions), m_itemsByName(itemsByName),
      m_groupCount(groupCount) {
    setObjectName(QStringLiteral("FunkceDlg"));
    setWindowTitle(QStringLiteral("Nastavení parametrů funkce"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Název:"), m_name = named(new QLineEdit, "EditFnNaz"));
    form->addRow(QStringLiteral("Popis:"), m_title = named(new QLineEdit, "EditFnPop"));
    m_type = named(new QComboBox, "CBFnTyp");
    m_type->addItems({QString::fromUtf8("Číselná"), QString::fromUtf8("Řetězcová")});
    form->addRow(QStringLiteral("Typ:"), m_type);
    auto* expressionRow = new QHBoxLayout;
    expressionRow->addWidget(m_expression = named(new QLineEdit, "EditFnVyr"));
    auto* builder = named(new QToolButton, "SpeedButton1");
    builder->setText(QStringLiteral("..."));
    expressionRow->addWidget(builder);
    form->addRow(QString::fromUtf8("Výpočetní výraz:"), expressionRow);
    form->addRow(QString::fromUtf8("Počáteční hodnota:"),
                 m_initial = named(new QLineEdit, "EditFnPoh"));
    m_reset = named(new QComboBox, "CBFnPhn");
    m_reset->addItems({QStringLiteral("Sestavy"), QString::fromUtf8("Stránky")});
    for (int n = 1; n <= groupCount; ++n)
        m_reset->addItem(QStringLiteral("Skupiny %1").arg(n));
    form->addRow(QStringLiteral("Nastavit na začátku"), m_reset);

    m_numeric = named(new QWidget, "PanelCiselna");
    auto* numericLayout = new QHBoxLayout(m_numeric);
    auto* aggregates = named(new QGroupBox(QString::fromUtf8("Další zpracování:")), "RGDalZpr");
    auto* grid = new QGridLayout(aggregates);
    m_aggregate = new QButtonGroup(this);
    const char* const names[] = {"(Žádné)", "Počet",   "Součet",         "Průměr",
                                 "Minimum", "Maximum", "Směrodat.odch.", "Relat.sm.odch."};
    for (int i = 0; i < 8; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(names[i]));
        radio->setObjectName(QStringLiteral("RGDalZpr%1").arg(i));
        m_aggregate->addButton(radio, i);
        grid->addWidget(radio, i % 4, i / 4);
    }
    numericLayout->addWidget(aggregates);
    auto* output = new QGroupBox(QString::fromUtf8("Výstupní formát:"));
    auto* outputForm = new QFormLayout(output);
    m_format = named(new QComboBox, "CbFnFrm");
    m_format->addItems({"General", "Exponent", "Fixed", "Number", "Currency"});
    outputForm->addRow(QString::fromUtf8("Formát:"), m_format);
    outputForm->addRow(QString::fromUtf8("Celkový počet znaků:"),
                       m_precision = named(new QLineEdit, "EditFnSir"));
    outputForm->addRow(QString::fromUtf8("Počet desetinných míst:"),
                       m_decimals = named(new QLineEdit, "EditFnDes"));
    numericLayout->addWidget(output);

    auto* ok = named(new QPushButton(QStringLiteral("&Konec")), "BtnOK");
    auto* cancel = named(new QPushButton(QStringLiteral("Storno")), "BtnCancel");
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_numeric);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(builder, &QToolButton::clicked, this, &TFunkceDlg::editExpression);
    connect(m_type, &QComboBox::currentIndexChanged, this, &TFunkceDlg::showNumericPanel);
    showNumericPanel();
}

void TFunkceDlg::showNumericPanel() {
    m_numeric->setVisible(m_type->currentIndex() == 0);
}

void TFunkceDlg::load(const report::TRadekFunkce& function) {
    QString name, title, expression, initial;
    int kind = 0, reset = 0, aggregate = 0, precision = 0, digits = 0, format = 0;
    function.GetDefinition(name, title, expression, kind, initial, reset, aggregate, precision,
                           digits, format);
    m_name->setText(name);
    m_title->setText(title);
    m_expression->setText(expression);
    m_type->setCurrentIndex(kind == 1 ? 1 : 0);
    m_initial->setText(initial);
    m_reset->setCurrentIndex(std::clamp(reset, 0, m_reset->count() - 1));
    if (QAbstractButton* button = m_aggregate->button(aggregate)) button->setChecked(true);
    m_format->setCurrentIndex(std::clamp(format, 0, 4));
    m_precision->setText(QString::number(precision));
    m_decimals->setText(QString::number(digits));
    showNumericPanel();
}

void TFunkceDlg::store(report::TRadekFunkce& function) const {
    QString name, title, expression, initial;
    int kind = 0, reset = 0, aggregate = 0, precision = 0, digits = 0, format = 0;
    function.GetDefinition(name, title, expression, kind, initial, reset, aggregate, precision,
                           digits, format);
    bool ok = false;
    const int newPrecision = m_precision->text().trimmed().toInt(&ok);
    if (ok) precision = newPrecision;
    const int newDigits = m_decimals->text().trimmed().toInt(&ok);
    if (ok) digits = newDigits;
    function.SetDefinition(m_name->text(), m_title->text(), m_expression->text(),
                           m_type->currentIndex(), m_initial->text(), m_reset->currentIndex(),
                           std::max(m_aggregate->checkedId(), 0), precision, digits,
                           m_format->currentIndex());
}

void TFunkceDlg::editExpression() {
    TSest_FnEditVyraz builder(this);
    builder.setExpression(m_expression->text());
    builder.FillLists(m_report, m_functions, m_itemsByName, m_groupCount);
    if (builder.exec() == QDialog::Accepted) m_expression->setText(builder.expression());
}

int TFunkceDlg::EditFunkce(QWidget* owner, report::TSestavaTyp* report,
                           report::TListFunkci* functions, bool itemsByName, int groupCount,
                           report::TRadekFunkce& function) {
    TFunkceDlg dialog(owner, report, functions, itemsByName, groupCount);
    dialog.load(function);
    if (dialog.exec() != QDialog::Accepted) return 2;
    dialog.store(function);
    return 1;
}

} // namespace designer
