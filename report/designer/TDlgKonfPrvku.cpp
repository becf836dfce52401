#include "report/designer/TDlgKonfPrvku.h"

#include "report/designer/TEditorSettings.h"
#include "report/designer/TFunkceDlg.h"
#include "report/engine/barcode/sestbarc.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/run/Dataset.h"
#include "report/engine/run/sestavyt.h"
#include "report/engine/sest_lib.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace designer {

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* edit(const char* name) {
    return named(new QLineEdit, name);
}

QComboBox* combo(const char* name, const QStringList& items = {}, bool editable = false) {
    auto* box = named(new QComboBox, name);
    box->setEditable(editable);
    box->addItems(items);
    return box;
}

QStringList utf8List(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

QGroupBox* geometryBox(const char* title, const char* l, const char* t, const char* w,
                       const char* h) {
    auto* box = new QGroupBox(QString::fromUtf8(title));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Levý:"), edit(l));
    form->addRow(QStringLiteral("Horní:"), edit(t));
    form->addRow(QStringLiteral("Šířka:"), edit(w));
    form->addRow(QStringLiteral("Výška:"), edit(h));
    return box;
}

} // namespace

QFont SampleFont(const platform::TFont& font) {
    QFont result(font.name);
    result.setPointSizeF(font.size > 0 ? font.size : 10);
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    result.setStrikeOut(font.strikeOut);
    return result;
}

QColor SampleColor(platform::TColor colour) {
    return QColor(platform::redOf(colour), platform::greenOf(colour), platform::blueOf(colour));
}

TDlgKonfPrvku::TDlgKonfPrvku(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgKonfPrvku"));
    setWindowTitle(QStringLiteral("Nastavení vlastností prvku"));
    m_tabs = named(new QTabWidget, "PageControlPrv");
    m_tabs->addTab(m_basicPage = makeBasicPage(), QStringLiteral("Základní vlastnosti"));
    m_tabs->addTab(m_fontPage = makeFontPage(), QStringLiteral("Písmo prvku"));
    m_tabs->addTab(m_barcodePage = makeBarcodePage(), QStringLiteral("Čárový kód"));

    auto* ok = named(new QPushButton(QStringLiteral("OK")), "BtnOK");
    auto* cancel = named(new QPushButton(QStringLiteral("Storno")), "BtnCancel");
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);

    // The working font starts as the application's font.
    const QFont app = font();
    m_font.name = app.family();
    m_font.size = app.pointSizeF() > 0 ? app.pointSizeF() : 10;
    fillFontList();
    CBPismaChange();
}

QWidget* TDlgKonfPrvku::makeBasicPage() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    layout->addWidget(geometryBox("Základní vlastnosti prvku:", "EdL", "EdH", "EdS", "EdV"), 0, 0);

    auto* other = new QFormLayout;
    other->addRow(QStringLiteral("Zarovnání:"),
                  combo("CBZarovnani", utf8List({"Vlevo", "Vpravo", "Uprostřed"})));
    other->addRow(QStringLiteral("Rozteč znaků:"), edit("ERoztec"));
    other->addRow(QStringLiteral("Sklon textu:"), edit("EAngleT"));
    auto* kind = edit("EdTyp");
    kind->setReadOnly(true);
    other->addRow(QStringLiteral("Typ prvku:"), kind);
    m_index = combo("CbIndex");
    other->addRow(m_index);
    auto* text = edit("EditText");
    text->setMinimumWidth(m_index->sizeHint().width());
    text->hide();
    other->addRow(text);
    layout->addLayout(other, 0, 1);

    auto* follow = named(new QGroupBox(QStringLiteral("Sledovat podle:")), "RGPodle");
    auto* followLayout = new QVBoxLayout(follow);
    followLayout->addWidget(
        named(new QRadioButton(QString::fromUtf8("Pořadového čísla")), "RBPodleCisla"));
    followLayout->addWidget(
        named(new QRadioButton(QString::fromUtf8("Názvu položky")), "RBPodleNazvu"));
    layout->addWidget(follow, 1, 0);

    auto* further = named(new QGroupBox(QString::fromUtf8("Další vlastnosti:")), "GroupBox3");
    further->setMinimumSize(230, 110);
    struct PanelContent {
        const char* name;
        std::initializer_list<const char*> boxes;
    };
    const PanelContent panelContents[] = {
        {"PaDvText", {"Víceřádkový text", "Proměnná výška", "Zarovnat do bloku"}},
        {"PaDvMemo", {"Zarovnat do bloku", "Proměnná výška", "RTF formát textu"}},
        {"PaDvGraphic", {"Velikost podle okna", "Zachovat poměr stran"}},
        {"PaDvFunkce", {"Víceřádkový text", "Proměnná výška", "Zarovnat do bloku"}},
        {"PaDvPromenna", {}},
    };
    for (int i = 0; i < 5; ++i) {
        auto* panel = named(new QWidget(further), panelContents[i].name);
        auto* panelLayout = new QVBoxLayout(panel);
        int n = 0;
        for (const char* caption : panelContents[i].boxes) {
            auto* box = new QCheckBox(QString::fromUtf8(caption));
            box->setObjectName(
                QStringLiteral("%1_%2").arg(QLatin1String(panelContents[i].name)).arg(++n));
            panelLayout->addWidget(box);
        }
        if (i == PanelFunction - 1) {
            panelLayout->itemAt(2)->widget()->hide();
            auto* button = named(new QPushButton(QStringLiteral("Funkce ...")), "BtnFunkce");
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, &TDlgKonfPrvku::editFunction);
            panelLayout->insertWidget(0, button);
        }
        panel->move(8, 20);
        panel->hide();
        m_panels[i] = panel;
    }
    layout->addWidget(further, 1, 1);

    auto* frame = new QGroupBox(QString::fromUtf8("Rámování:"));
    auto* frameLayout = new QHBoxLayout(frame);
    for (int side = 1; side <= 4; ++side) {
        auto* button = new QToolButton;
        button->setObjectName(QStringLiteral("SBCarT%1").arg(side));
        button->setCheckable(true);
        button->setText(QStringList{"L", "H", "P", "D"}[side - 1]);
        frameLayout->addWidget(button);
    }
    layout->addWidget(frame, 2, 0, 1, 2);
    connect(m_index, &QComboBox::currentIndexChanged, this, &TDlgKonfPrvku::CbIndexChange);
    return page;
}

QWidget* TDlgKonfPrvku::makeFontPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Typ písma:"), m_fonts = combo("CBPisma"));
    QStringList sizes;
    report::FillFontSizeList(sizes);
    form->addRow(QStringLiteral("Velikost:"), m_size = combo("CBVyska", sizes, true));
    form->addRow(QStringLiteral("Barva:"),
                 m_colour =
                     combo("CBBarva", utf8List({"černá", "kaštanová", "zelená", "olivová",
                                                "ultramarínová", "purpurová", "šedozelená", "šedá",
                                                "stříbrná", "červená", "žlutozelená", "žlutá",
                                                "modrá", "růžová", "akvamarínová", "bílá"})));
    form->addRow(QStringLiteral("Skript:"),
                 m_script = combo("CbSkript",
                                  utf8List({"západní", "řecký", "turecký", "pobaltský",
                                            "středoevropský", "cyrilice", "symboly", "default"})));
    auto* style = new QGroupBox(QStringLiteral("Styl:"));
    auto* styleLayout = new QVBoxLayout(style);
    styleLayout->addWidget(m_bold = named(new QCheckBox(QStringLiteral("Tučné")), "CBBold"));
    styleLayout->addWidget(m_italic = named(new QCheckBox(QStringLiteral("Kurzíva")), "CBItalic"));
    styleLayout->addWidget(
        m_underline = named(new QCheckBox(QString::fromUtf8("Podtržení")), "CbUnderline"));
    styleLayout->addWidget(
        m_strikeOut = named(new QCheckBox(QString::fromUtf8("Přeškrtnutí")), "CBStrikeout"));
    form->addRow(style);
    m_sample = named(new QLabel(QString::fromUtf8("ÁBČĎábčď")), "LabelUkazkaF");
    m_sample->setMinimumSize(200, 60);
    form->addRow(QString::fromUtf8("Ukázka:"), m_sample);

    for (QComboBox* box : {m_fonts, m_colour, m_script})
        connect(box, &QComboBox::currentIndexChanged, this, &TDlgKonfPrvku::CBPismaChange);
    connect(m_size, &QComboBox::currentTextChanged, this, &TDlgKonfPrvku::CBPismaChange);
    for (QCheckBox* box : {m_bold, m_italic, m_underline, m_strikeOut})
        connect(box, &QCheckBox::toggled, this, &TDlgKonfPrvku::CBPismaChange);
    return page;
}

QWidget* TDlgKonfPrvku::makeBarcodePage() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    layout->addWidget(geometryBox("", "EdBcL", "EdBcH", "EdBcS", "EdBcV"), 0, 0, 2, 1);
    QStringList types;
    QStringList modules;
    report::FillBarcodeTypes(types);
    report::FillBarcodeModules(modules);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Typ kódu:"), combo("CBBcTypBarCode", types));
    form->addRow(QString::fromUtf8("Zvětšení:"), combo("CBBcSirkaBarCary", modules));
    form->addRow(
        named(new QCheckBox(QString::fromUtf8("Vytvářet kontrolní součet")), "CBBcCheckSum"));
    layout->addLayout(form, 0, 1);
    auto* content = new QGroupBox(QStringLiteral("Obsah:"));
    auto* contentForm = new QFormLayout(content);
    contentForm->addRow(QString::fromUtf8("Funkční výraz:"), edit("EditBcBarText"));
    contentForm->addRow(named(new QCheckBox(QStringLiteral("Tisknout text")), "CBBcBarText"));
    layout->addWidget(content, 1, 1);
    auto* further = new QGroupBox(QString::fromUtf8("Další:"));
    (new QFormLayout(further))->addRow(QString::fromUtf8("Úhel:"), edit("EBcAngleT"));
    layout->addWidget(further, 2, 1);
    return page;
}

void TDlgKonfPrvku::setReport(report::TSestavaTyp* report, report::TListFunkci* functions,
                              bool itemsByName, int groupCount) {
    m_report = report;
    m_functions = functions;
    m_itemsByName = itemsByName;
    m_groupCount = groupCount;
}

void TDlgKonfPrvku::fillFontList() {
    QStringList names = report::PrinterFontList();
    if (EditorSettings().PismaAbec) names.sort(Qt::CaseInsensitive);
    const QSignalBlocker block(m_fonts);
    m_fonts->clear();
    m_fonts->addItems(names);
}

void TDlgKonfPrvku::HideBarcodePage() {
    m_tabs->setTabVisible(m_tabs->indexOf(m_barcodePage), false);
}

void TDlgKonfPrvku::HideBasicPages() {
    m_tabs->setTabVisible(m_tabs->indexOf(m_basicPage), false);
    HideBarcodePage();
}

void TDlgKonfPrvku::HideFontPages() {
    m_tabs->setTabVisible(m_tabs->indexOf(m_basicPage), false);
    m_tabs->setTabVisible(m_tabs->indexOf(m_fontPage), false);
}

void TDlgKonfPrvku::LoadFont(const platform::TFont& font) {
    m_loading = true;
    int at = m_fonts->findText(font.name, Qt::MatchFixedString);
    if (at < 0 && !font.name.isEmpty()) {
        m_fonts->addItem(font.name);
        at = m_fonts->count() - 1;
    }
    m_fonts->setCurrentIndex(at);
    m_bold->setChecked(font.bold);
    m_italic->setChecked(font.italic);
    m_underline->setChecked(font.underline);
    m_strikeOut->setChecked(font.strikeOut);
    m_size->setCurrentText(QString::number(font.size));
    m_colour->setCurrentIndex(report::ColorToIndex(font.color));
    m_script->setCurrentIndex(report::CharsetToIndex(font.charset));
    m_loading = false;
    CBPismaChange();
}

void TDlgKonfPrvku::CBPismaChange() {
    if (m_loading) return;
    if (m_fonts->currentIndex() >= 0) m_font.name = m_fonts->currentText();
    bool isNumber = false;
    const double size = m_size->currentText().trimmed().toDouble(&isNumber);
    m_font.size = isNumber && size > 0 && size < 1000 ? size : 12;
    m_font.bold = m_bold->isChecked();
    m_font.italic = m_italic->isChecked();
    m_font.underline = m_underline->isChecked();
    m_font.strikeOut = m_strikeOut->isChecked();
    const int colour = m_colour->currentIndex();
    if (colour >= 0 && colour <= 15) m_font.color = report::IndexToColor(colour);
    m_font.charset = report::IndexToCharset(m_script->currentIndex());

    platform::TFont shown = m_font;
    report::MapRomanFont(shown);
    m_sample->setFont(SampleFont(shown));
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::WindowText, SampleColor(shown.color));
    m_sample->setPalette(palette);
    const double fixed = report::RomanFontSize(m_font);
    if (fixed != m_font.size) {
        m_font.size = fixed;
        const QSignalBlocker block(m_size);
        m_size->setCurrentText(QString::number(fixed));
    }
    m_script->setEnabled(!report::IsRomanFont(m_font.name));
}

void TDlgKonfPrvku::ShowKindPanel(int n) {
    for (QWidget* panel : m_panels)
        panel->hide();
    m_shownPanel = n >= 1 && n <= 5 ? n : 0;
    if (m_shownPanel) m_panels[m_shownPanel - 1]->show();
}

void TDlgKonfPrvku::CbIndexChange() {
    if (m_shownPanel == PanelFunction || m_shownPanel == PanelVariable || !m_report) return;
    const int type = m_report->GetDataType(m_index->currentIndex());
    if (type == report::ftBlob || type == report::ftGraphic)
        ShowKindPanel(PanelPicture);
    else if (type == report::ftMemo)
        ShowKindPanel(PanelMemo);
    else
        ShowKindPanel(PanelText);
}

void TDlgKonfPrvku::editFunction() {
    if (!m_functions) return;
    report::TRadekFunkce* function = m_functions->GetFunkce(m_index->currentIndex());
    if (function)
        TFunkceDlg::EditFunkce(this, m_report, m_functions, m_itemsByName, m_groupCount,
                               *function);
}

} // namespace designer
