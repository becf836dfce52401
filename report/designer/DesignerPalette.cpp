#include "report/designer/DesignerPalette.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QToolButton>

namespace designer {

QToolButton* DesignerPalette::toolButton(QAction* action, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setObjectName(QStringLiteral("SB") + action->objectName().mid(6));
    button->setAutoRaise(true);
    return button;
}

DesignerPalette::DesignerPalette(const QObject& actions, QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("PageControlPrv"));
    auto page = [this, &actions](const QString& title, std::initializer_list<const char*> names,
                                 QComboBox* combo) {
        auto* widget = new QWidget;
        auto* row = new QHBoxLayout(widget);
        row->setContentsMargins(2, 2, 2, 2);
        for (const char* name : names)
            row->addWidget(
                toolButton(actions.findChild<QAction*>(QString::fromLatin1(name)), widget));
        if (combo) {
            combo->setParent(widget);
            // the groups' entries are short ("Skupina 1"), and their page is the widest
            combo->setMinimumWidth(combo == m_groups ? 120 : 180);
            row->addWidget(combo);
        }
        row->addStretch(1);
        addTab(widget, title);
    };
    auto combo = [](const char* name) {
        auto* c = new QComboBox;
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    m_choices = combo("CBVyberPrvku");
    m_groups = combo("CbVyberSkup");
    m_functions = combo("CbVyberFunkce");
    m_details = combo("CbVyberDetail");
    page(QStringLiteral("Datové prvky"), {"ActionNoSelect", "ActionDb", "ActionLb", "ActionPar"},
         m_choices);
    page(QStringLiteral("Proměnné"),
         {"ActionNoSelect", "ActionDate", "ActionTime", "ActionRadek", "ActionStr",
          "ActionStrCelk", "ActionRadSk", "ActionSkCis"},
         m_groups);
    page(QStringLiteral("Funkce"),
         {"ActionNoSelect", "ActionFnInsert", "ActionFnDelete", "ActionFnEdit", "ActionFn"},
         m_functions);
    page(QStringLiteral("Grafické prvky"),
         {"ActionNoSelect", "ActionGrText", "ActionGrCara", "ActionGrRect", "ActionRoRect",
          "ActionElip", "ActionObr", "ActionBarc", "ActionPaintB"},
         nullptr);
    page(QStringLiteral("Detaily"), {"ActionNoSelect", "ActionDetail"}, m_details);
    // another page hides the list of the data page (the window then takes the arrow)
    connect(this, &QTabWidget::currentChanged, this, &DesignerPalette::hideChoices);
    connect(m_functions, &QComboBox::currentIndexChanged, this, &DesignerPalette::functionChosen);
}

void DesignerPalette::fillChoices(const QStringList& names) {
    m_choices->clear();
    m_choices->addItems(names);
}

void DesignerPalette::showChoices(int current) {
    m_choices->setCurrentIndex(current);
    m_choices->show();
}

void DesignerPalette::hideChoices() {
    m_choices->hide();
}

int DesignerPalette::choice() const {
    return m_choices->currentIndex();
}

void DesignerPalette::clearChoice() {
    m_choices->setCurrentIndex(-1);
}

void DesignerPalette::chooseNext() {
    QComboBox* list = currentIndex() == PageData        ? m_choices
                      : currentIndex() == PageFunctions ? m_functions
                                                        : nullptr;
    if (list && list->count() > 0)
        list->setCurrentIndex((list->currentIndex() + 1) % list->count());
}

void DesignerPalette::fillGroups(int count) {
    m_groups->clear();
    m_groups->setEnabled(count > 0);
    for (int i = 0; i < count; ++i)
        m_groups->addItem(QStringLiteral("Skupina %1").arg(i + 1));
    m_groups->setCurrentIndex(count > 0 ? 0 : -1);
}

int DesignerPalette::group() const {
    return m_groups->currentIndex();
}

void DesignerPalette::fillFunctions(const QStringList& titles) {
    m_functions->clear();
    m_functions->addItems(titles);
    m_functions->setCurrentIndex(int(titles.size()) - 1);
}

int DesignerPalette::function() const {
    return m_functions->currentIndex();
}

void DesignerPalette::chooseFunction(int index) {
    m_functions->setCurrentIndex(index);
}

void DesignerPalette::fillDetails(const QStringList& names) {
    m_details->clear();
    m_details->addItems(names);
}

int DesignerPalette::detail() const {
    return m_details->currentIndex();
}

} // namespace designer
