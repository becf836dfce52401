#include "report/designer/TSest_FnEditVyraz.h"

#include "platform/BoxMessageSink.h"
#include "report/engine/expressions/sest_fn.h"
#include "report/engine/run/sestavyt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace designer {

namespace {

constexpr int kNumberRole = Qt::UserRole;   // the reference by number ("#12")
constexpr int kNameRole = Qt::UserRole + 1; // the reference by name ("#Name")
constexpr int kReferenceLength = 32;

struct ListCaption {
    const char* name;
    const char* caption;
};
const ListCaption kLists[8] = {
    {"CBFields", "Položky tabulky:"}, {"CBParameters", "Parametry:"},
    {"CBVariables", "Proměnné:"},     {"CBFunctions", "Uživatelské funkce:"},
    {"CBFx1", "Matematické:"},        {"CBFx2", "Textové:"},
    {"CBFx3", "Datumové a časové:"},  {"CBFx4", "Logické a ostatní:"},
};
// The templates of the built-in functions, per function list.
const char* const kMathFunctions[] = {"ABS()", "INT()",  "SGN()",  "MAX(,)", "MIN(,)",
                                      "SIN()", "COS()",  "TAN()",  "COTG()", "EXP()",
                                      "LOG()", "ASIN()", "ACOS()", "ATAN()", "ACOTG()"};
const char* const kTextFunctions[] = {
    "LEFT(,)", "RIGHT(,)", "SUBSTR(,,)", "LENGTH()",  "POS(,)", "UPPER()", "LOWER()",
    "LTRIM()", "RTRIM()",  "ALLTRIM()",  "FORMAT(,)", "CHR()",  "ORD()"};
const char* const kDateFunctions[] = {"FORMATDT(,)", "YEAR()",   "MONTH()",  "DAY()",
                                      "HOUR()",      "MINUTE()", "SECUNDE()"};
const char* const kLogicalFunctions[] = {"IIF(,,)", "ISNULL()"};

struct Operator {
    const char* caption;
    int advance;
};
const Operator kOperators[] = {
    {"()", 1},    {"+", 1},     {"-", 1},    {"*", 1},    {"/", 1},  {"^", 1},
    {"=", 1},     {"<", 1},     {">", 1},    {"<>", 2},   {"<=", 2}, {">=", 2},
    {" NOT ", 5}, {" AND ", 5}, {" OR ", 4}, {" IN ", 5},
};

QString errorText(int code) {
    switch (code) {
    case report::kExprUnknownWord:
        return QString::fromUtf8("neznámé slovo");
    case report::kExprSyntax:
        return QString::fromUtf8("chybná syntaxe");
    case report::kExprStackFull:
        return QString::fromUtf8("výraz je příliš složitý");
    case report::kExprUnopenedParen:
        return QString::fromUtf8("chybí levá závorka");
    case report::kExprUnclosedParen:
        return QString::fromUtf8("chybí pravá závorka");
    case report::kExprDomain:
        return QString::fromUtf8("chyba výpočtu");
    case report::kExprBadNumber:
        return QString::fromUtf8("chybné číslo");
    case report::kExprTooFewArgs:
        return QString::fromUtf8("málo parametrů");
    case report::kExprTooManyArgs:
        return QString::fromUtf8("mnoho parametrů");
    case report::kExprOpenString:
        return QString::fromUtf8("neukončený řetězec");
    case report::kExprOpenBracket:
        return QString::fromUtf8("neukončený název");
    default:
        return {};
    }
}

} // namespace

TSest_FnEditVyraz::TSest_FnEditVyraz(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Sest_FnEditVyraz"));
    setWindowTitle(QString::fromUtf8("Tvorba výrazu pro výpočet funkce"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QFormLayout;
    m_edit = new QLineEdit;
    m_edit->setObjectName(QStringLiteral("EditVyraz"));
    top->addRow(QString::fromUtf8("Výpočetní výraz:"), m_edit);
    layout->addLayout(top);

    auto* lists = new QGridLayout;
    for (int i = 0; i < 8; ++i) {
        auto* box = new QGroupBox(QString::fromUtf8(kLists[i].caption));
        auto* row = new QHBoxLayout(box);
        m_lists[i] = new QComboBox;
        m_lists[i]->setObjectName(QString::fromLatin1(kLists[i].name));
        m_lists[i]->setProperty("tag", i + 1);
        m_lists[i]->setMinimumWidth(200);
        m_lists[i]->installEventFilter(this);
        m_listButtons[i] = new QToolButton;
        m_listButtons[i]->setObjectName(QStringLiteral("SB") + kLists[i].name);
        m_listButtons[i]->setText(QString::fromUtf8("Vložit"));
        m_listButtons[i]->setToolTip(QString::fromUtf8("Vložit"));
        m_listButtons[i]->setEnabled(false);
        row->addWidget(m_lists[i], 1);
        row->addWidget(m_listButtons[i]);
        lists->addWidget(box, i % 4, i / 4);
        const int list = i + 1;
        connect(m_lists[i], &QComboBox::activated, this, [this, list] { chooseLine(list); });
        connect(m_listButtons[i], &QToolButton::clicked, this, [this, list] {
            m_current = list;
            insertChoice();
        });
    }
    auto fill = [this](int list, const auto& templates) {
        for (const char* text : templates)
            m_lists[list - 1]->addItem(QString::fromLatin1(text));
        m_lists[list - 1]->setCurrentIndex(-1);
    };
    fill(Math, kMathFunctions);
    fill(Text, kTextFunctions);
    fill(DateTime, kDateFunctions);
    fill(Logical, kLogicalFunctions);
    layout->addLayout(lists);
    m_byName = new QCheckBox(QString::fromUtf8("Položky podle názvu"));
    m_byName->setObjectName(QStringLiteral("CBPodle"));
    layout->addWidget(m_byName);

    auto* operators = new QGroupBox(QString::fromUtf8("Operátory:"));
    auto* operatorRow = new QHBoxLayout(operators);
    int n = 0;
    for (const Operator& op : kOperators) {
        auto* button = new QToolButton;
        const QString caption = QString::fromLatin1(op.caption);
        button->setObjectName(QStringLiteral("SBOperator%1").arg(++n));
        button->setText(caption.trimmed());
        button->setProperty("tag", op.advance);
        const QString inserted =
            caption == QLatin1String(" IN ") ? QStringLiteral(" IN[]") : caption;
        connect(button, &QToolButton::clicked, this,
                [this, inserted, advance = op.advance] { insertOperator(inserted, advance); });
        operatorRow->addWidget(button);
    }
    layout->addWidget(operators);

    auto* ok = new QPushButton(QStringLiteral("&Konec"));
    ok->setObjectName(QStringLiteral("BtnOK"));
    auto* cancel = new QPushButton(QStringLiteral("Storno"));
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    auto* checkButton = new QPushButton(QStringLiteral("Kontrola"));
    checkButton->setObjectName(QStringLiteral("BtnKontrola"));
    m_insert = new QPushButton(QString::fromUtf8("Vložit"));
    m_insert->setObjectName(QStringLiteral("BtnVlozit"));
    m_insert->setEnabled(false);
    for (QPushButton* button : {cancel, checkButton, m_insert})
        button->setAutoDefault(false);
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(checkButton);
    buttons->addWidget(m_insert);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(checkButton, &QPushButton::clicked, this, &TSest_FnEditVyraz::check);
    connect(m_insert, &QPushButton::clicked, this, &TSest_FnEditVyraz::insertChoice);
}

QString TSest_FnEditVyraz::expression() const {
    return m_edit->text();
}

void TSest_FnEditVyraz::setExpression(const QString& text) {
    m_edit->setText(text);
}

QString TSest_FnEditVyraz::PickLine(QChar prefix, int number, const QString& text) {
    return prefix + QString::number(number).leftJustified(3, QLatin1Char(' ')) + text;
}

void TSest_FnEditVyraz::addLine(int list, QChar prefix, int number, const QString& text) {
    QComboBox* box = m_lists[list - 1];
    box->addItem(PickLine(prefix, number, text));
    box->setItemData(box->count() - 1, prefix + QString::number(number), kNumberRole);
    box->setItemData(box->count() - 1, prefix + text, kNameRole);
}

void TSest_FnEditVyraz::FillLists(report::TSestavaTyp* report,
                                  const report::TListFunkci* functions, bool itemsByName,
                                  int groups) {
    m_report = report;
    for (int list = Fields; list <= Functions; ++list)
        m_lists[list - 1]->clear();
    if (report) {
        for (int i = 0; i < report->GetItemCount(); ++i)
            addLine(Fields, QLatin1Char('#'), i + 1, report->GetItemName(i));
        for (int i = 0; i < report->Parametry().size(); ++i)
            addLine(Parameters, QLatin1Char('&'), i + 1, QStringLiteral("Parametr %1").arg(i + 1));
    }
    const QChar variable('%');
    addLine(Variables, variable, 1, QStringLiteral("Datum tisku"));
    addLine(Variables, variable, 2, QString::fromUtf8("Čas tisku"));
    addLine(Variables, variable, 3, QString::fromUtf8("Číslo řádku"));
    if (!report || !report->IsDetail())
        addLine(Variables, variable, 4, QString::fromUtf8("Číslo stránky"));
    for (int i = 0; i < groups; ++i) {
        addLine(Variables, variable, 2 * i + 6, QString::fromUtf8("Číslo ř. ve sk.%1").arg(i + 1));
        addLine(Variables, variable, 2 * i + 7, QString::fromUtf8("Číslo skupiny %1").arg(i + 1));
    }
    if (functions)
        for (int i = 0; i < functions->Count(); ++i)
            addLine(Functions, QLatin1Char('@'), i + 1, functions->GetFunkce(i)->Name());
    for (QComboBox* box : m_lists)
        box->setCurrentIndex(-1);
    m_byName->setChecked(itemsByName);
}

QString TSest_FnEditVyraz::ReferenceText(int list, int index) const {
    if (list < Fields || list > Functions) return {};
    const QComboBox* box = m_lists[list - 1];
    const bool byName = m_byName->isChecked() && (list == Fields || list == Functions);
    return box->itemData(index, byName ? kNameRole : kNumberRole)
        .toString()
        .left(kReferenceLength);
}

bool TSest_FnEditVyraz::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        for (int i = 0; i < 8; ++i)
            if (watched == m_lists[i] && m_current != i + 1) enterList(i + 1);
    return QDialog::eventFilter(watched, event);
}

void TSest_FnEditVyraz::enterList(int list) {
    if (m_current >= 1) m_lists[m_current - 1]->setCurrentIndex(-1);
    m_current = list;
    m_insert->setDefault(false);
    m_insert->setEnabled(false);
    m_listButtons[list - 1]->setEnabled(false);
}

void TSest_FnEditVyraz::chooseLine(int list) {
    if (m_current != list) enterList(list);
    m_lists[list - 1]->setCurrentIndex(m_lists[list - 1]->currentIndex());
    m_insert->setEnabled(true);
    m_insert->setDefault(true);
    m_listButtons[list - 1]->setEnabled(true);
}

void TSest_FnEditVyraz::insertChoice() {
    if (m_current < 1) return;
    QComboBox* box = m_lists[m_current - 1];
    const int index = box->currentIndex();
    if (index < 0) return;
    if (m_current <= Functions) {
        m_edit->insert(ReferenceText(m_current, index));
    } else {
        const QString text = box->itemText(index);
        const int start =
            m_edit->hasSelectedText() ? m_edit->selectionStart() : m_edit->cursorPosition();
        m_edit->insert(text);
        m_edit->setCursorPosition(start + int(text.indexOf(QLatin1Char('('))) + 1);
    }
    box->setCurrentIndex(-1);
    m_listButtons[m_current - 1]->setEnabled(false);
    m_current = 0;
    m_insert->setEnabled(false);
    m_insert->setDefault(false);
    m_edit->setFocus();
    m_edit->deselect();
}

void TSest_FnEditVyraz::insertOperator(const QString& text, int advance) {
    const int start =
        m_edit->hasSelectedText() ? m_edit->selectionStart() : m_edit->cursorPosition();
    m_edit->insert(text);
    m_edit->setCursorPosition(start + advance);
    if (m_current >= 1) m_lists[m_current - 1]->setCurrentIndex(-1);
    m_current = 0;
    m_insert->setEnabled(false);
}

platform::MessageSink& TSest_FnEditVyraz::sink() {
    static platform::BoxMessageSink boxes(platform::BoxMessageSink::Buttons::Czech);
    if (m_messages) return *m_messages;
    if (m_report && m_report->messageSink()) return *m_report->messageSink();
    return boxes;
}

bool TSest_FnEditVyraz::check() {
    report::TCalcType value;
    int position = 0;
    const int error = report::EvaluateExpression(m_edit->text(), value, position);
    if (error == report::kExprOk) {
        sink().ShowBox(QString::fromUtf8("Výraz je v pořádku."), QStringLiteral("Informace"),
                       platform::MessageButtons::Ok, platform::MessageIcon::Information);
        return true;
    }
    // The evaluator counts from 0; the message counts from 1 and the caret goes before it.
    sink().ShowBox(
        QStringLiteral("Chyba : \"%1\" na pozici %2").arg(errorText(error)).arg(position + 1),
        QStringLiteral("Chyba"), platform::MessageButtons::Ok, platform::MessageIcon::Warning);
    m_edit->setFocus();
    m_edit->deselect();
    m_edit->setCursorPosition(std::max(position, 0));
    return false;
}

} // namespace designer
