#include "report/designer/TSestKonfigDlg.h"

#include "platform/BoxMessageSink.h"
#include "report/designer/TDlgKonfPrvku.h"
#include "report/engine/run/sestavyt.h"
#include "report/engine/sest_lib.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace designer {

namespace {

const QStringList kAlignments = {QStringLiteral("Vlevo"), QStringLiteral("Vpravo"),
                                 QStringLiteral("Uprostřed")};

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QCheckBox* checkBox(const char* name, const char* text) {
    return named(new QCheckBox(QString::fromUtf8(text)), name);
}

QLineEdit* intEdit(const char* name) {
    auto* edit = named(new QLineEdit, name);
    edit->setMaxLength(9);
    return edit;
}

QComboBox* alignmentCombo(const char* name) {
    auto* combo = named(new QComboBox, name);
    combo->addItems(kAlignments);
    return combo;
}

bool toInt(const QLineEdit* edit, int& value) {
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    if (ok) value = v;
    return ok;
}

} // namespace

TSestKonfigDlg::TSestKonfigDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SestKonfigDlg"));
    setWindowTitle(QStringLiteral("Prostředí editoru sestav"));
    auto* tabs = named(new QTabWidget, "PageControl");

    auto* environment = new QGroupBox(QStringLiteral("Prostředí editoru:"));
    auto* envForm = new QFormLayout(environment);
    envForm->addRow(m_showGrid = checkBox("CBZobrRastr", "Zobrazovat rastr"));
    envForm->addRow(m_snapGrid = checkBox("CBZarovRastr", "Zarovnávat do rastru"));
    envForm->addRow(QStringLiteral("Rastr X:"), m_gridX = intEdit("EditRastrX"));
    envForm->addRow(QStringLiteral("Rastr Y:"), m_gridY = intEdit("EditRastrY"));
    envForm->addRow(QStringLiteral("Maximální počet kroků sledování změn:"),
                    m_undo = intEdit("EditPocetUndo"));
    envForm->addRow(m_deleteOne = checkBox("CBMazaniJedne", "Potvrdit mazání jednoho prvku"));
    envForm->addRow(m_deleteMany = checkBox("CBMazaniVice", "Potvrdit mazání více prvků"));
    envForm->addRow(m_moveOutside = checkBox("CBPosunMimo", "Povolit přesun prvku mimo oddíl"));
    envForm->addRow(m_undoSave = checkBox("CBUndoSave", "Sledovat změny i po uložení na disk"));
    envForm->addRow(m_tree = checkBox("CBVyberZeSeznamu", "Zobrazit strom prvků předlohy"));
    envForm->addRow(m_descriptions =
                        checkBox("CbPouzivatPopisy", "Místo názvů položek používat popisy"));
    envForm->addRow(m_sortedFonts =
                        checkBox("CbPismaAbeceda", "Nabídku písem řadit podle abecedy"));
    auto* envPage = new QWidget;
    (new QVBoxLayout(envPage))->addWidget(environment);
    tabs->addTab(envPage, QStringLiteral("Prostředí editoru"));

    auto* defaults = new QGroupBox(QStringLiteral("Počáteční vlastnosti vkládaných položek:"));
    auto* defForm = new QFormLayout(defaults);
    defForm->addRow(QStringLiteral("Šířka položky:"), m_width = intEdit("EImplW"));
    defForm->addRow(QStringLiteral("Výška položky:"), m_height = intEdit("EImplH"));
    defForm->addRow(QStringLiteral("Zarovnání textu:"), m_textAlign = alignmentCombo("CBZarov"));
    defForm->addRow(QStringLiteral("Zarovnání čísel:"),
                    m_numberAlign = alignmentCombo("CBZarovCi"));
    defForm->addRow(m_byName = checkBox("CBSledPodle", "Sledovat podle názvu"));
    auto* fontButton = named(new QPushButton(QStringLiteral("Předvolené písmo ...")), "SBPismo");
    fontButton->setAutoDefault(false);
    defForm->addRow(fontButton);
    m_samplePanel = named(new QFrame, "PanelUkazky");
    m_samplePanel->setFrameShape(QFrame::StyledPanel);
    m_samplePanel->setFixedSize(300, 80);
    m_sample = named(new QLabel(QStringLiteral("ÁBČDábčd"), m_samplePanel), "SesLabel");
    m_sample->setFrameShape(QFrame::Box);
    defForm->addRow(m_samplePanel);
    auto* defPage = new QWidget;
    (new QVBoxLayout(defPage))->addWidget(defaults);
    tabs->addTab(defPage, QStringLiteral("Předvolené hodnoty"));

    auto* aboutPage = new QWidget;
    auto* aboutLayout = new QVBoxLayout(aboutPage);
    aboutLayout->addWidget(named(new QLabel(report::GetLibraryVersion()), "LabelVerze"));
    aboutLayout->addStretch();
    tabs->addTab(aboutPage, QStringLiteral("O programu"));

    auto* ok = named(new QPushButton(QStringLiteral("&Konec")), "BtnOK");
    auto* cancel = named(new QPushButton(QStringLiteral("Storno")), "BtnCancel");
    auto* printer = named(new QPushButton(QStringLiteral("&Tiskárna..")), "BtnTiskarna");
    printer->setAutoDefault(false);
    cancel->setAutoDefault(false);
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(printer);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &TSestKonfigDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &TSestKonfigDlg::reject);
    connect(printer, &QPushButton::clicked, this, [this] {
        QPrinter device;
        QPageSetupDialog(&device, this).exec();
    });
    connect(fontButton, &QPushButton::clicked, this, &TSestKonfigDlg::SBPismoClick);
    connect(m_width, &QLineEdit::textChanged, this, &TSestKonfigDlg::ImplChange);
    connect(m_height, &QLineEdit::textChanged, this, &TSestKonfigDlg::ImplChange);
    connect(m_textAlign, &QComboBox::currentIndexChanged, this, &TSestKonfigDlg::ImplChange);
    connect(m_numberAlign, &QComboBox::currentIndexChanged, this, &TSestKonfigDlg::ImplChange);
}

void TSestKonfigDlg::Setup(report::TSestavaTyp* report) {
    m_report = report;
    ReadSettings();
    fillControls();
    TEditorSettings& s = EditorSettings();
    s.ImplMeritko = 6;
    s.zoom = s.zoomCopy = float(report::ZoomFactor(6));
}

void TSestKonfigDlg::ReadSettings() {
    if (m_report) EditorSettings() = ReadEditorSettings(m_report->iniFilePath());
}

bool TSestKonfigDlg::WriteSettings() {
    return m_report && WriteEditorSettings(EditorSettings(), m_report->iniFilePath());
}

void TSestKonfigDlg::fillControls() {
    const TEditorSettings& s = EditorSettings();
    m_showGrid->setChecked(s.RastrZobrazovat);
    m_snapGrid->setChecked(s.RastrZarovnavat);
    m_gridX->setText(QString::number(s.RastrX));
    m_gridY->setText(QString::number(s.RastrY));
    m_undo->setText(QString::number(s.PocetUndo));
    m_deleteOne->setChecked(s.MazaniJedne);
    m_deleteMany->setChecked(s.MazaniVice);
    m_moveOutside->setChecked(s.PosunMimo);
    m_undoSave->setChecked(s.UndoSave);
    m_tree->setChecked(s.ShowTree);
    m_descriptions->setChecked(s.PopisyPol);
    m_sortedFonts->setChecked(s.PismaAbec);
    m_width->setText(QString::number(s.ImplSirka));
    m_height->setText(QString::number(s.ImplVyska));
    m_textAlign->setCurrentIndex(std::clamp(s.ImplZarovnani, 0, 2));
    m_numberAlign->setCurrentIndex(std::clamp(s.ImplZarovnaniCi, 0, 2));
    m_byName->setChecked(s.SledPodle);
    platform::TFont font;
    font.color = report::IndexToColor(s.ImplBarvaFontu);
    font.size = s.ImplVyskaFontu;
    font.name = s.ImplNazevFontu;
    report::BitsToFontStyle(font, s.ImplStylFontu);
    font.charset = s.ImplSkriptFontu;
    setSampleFont(font);
}

void TSestKonfigDlg::setSampleFont(const platform::TFont& font) {
    m_font = font;
    m_sample->setFont(SampleFont(font));
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::WindowText, SampleColor(font.color));
    m_sample->setPalette(palette);
    ImplChange();
}

void TSestKonfigDlg::ImplChange() {
    int width = 0;
    int height = 0;
    if (!toInt(m_width, width) || !toInt(m_height, height)) return;
    // Sizes beyond the panel would only push the sample out of sight.
    width = std::clamp(width, 0, 10000);
    height = std::clamp(height, 0, 10000);
    m_sample->resize(width, height);
    m_sample->move((m_samplePanel->width() - width) / 2, (m_samplePanel->height() - height) / 2);
    static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    m_sample->setAlignment(alignments[std::clamp(m_textAlign->currentIndex(), 0, 2)] |
                           Qt::AlignVCenter);
}

void TSestKonfigDlg::SBPismoClick() {
    TDlgKonfPrvku dialog(this);
    dialog.HideBasicPages();
    dialog.LoadFont(m_font);
    if (dialog.exec() == QDialog::Accepted) setSampleFont(dialog.WorkingFont());
}

platform::MessageSink& TSestKonfigDlg::sink() {
    static platform::BoxMessageSink boxes(platform::BoxMessageSink::Buttons::Czech);
    if (m_messages) return *m_messages;
    if (m_report && m_report->messageSink()) return *m_report->messageSink();
    return boxes;
}

void TSestKonfigDlg::accept() {
    struct Field {
        QLineEdit* edit;
        const char* caption;
        int TEditorSettings::*target;
    };
    const Field fields[] = {
        {m_gridX, "Rastr X", &TEditorSettings::RastrX},
        {m_gridY, "Rastr Y", &TEditorSettings::RastrY},
        {m_undo, "Maximální počet kroků sledování změn", &TEditorSettings::PocetUndo},
        {m_width, "Šířka položky", &TEditorSettings::ImplSirka},
        {m_height, "Výška položky", &TEditorSettings::ImplVyska},
    };
    TEditorSettings s = EditorSettings();
    for (const Field& field : fields) {
        if (!toInt(field.edit, s.*field.target)) {
            sink().ShowBox(QStringLiteral("Pole \"%1\" neobsahuje celé číslo.")
                               .arg(QString::fromUtf8(field.caption)),
                           QStringLiteral("Chyba"), platform::MessageButtons::Ok,
                           platform::MessageIcon::Warning);
            field.edit->setFocus();
            field.edit->selectAll();
            return;
        }
    }
    if (s.RastrX < 1) s.RastrX = 8;
    if (s.RastrY < 1) s.RastrY = 8;
    s.PocetUndo = std::max(s.PocetUndo, 1);
    s.RastrZobrazovat = m_showGrid->isChecked();
    s.RastrZarovnavat = m_snapGrid->isChecked();
    s.MazaniJedne = m_deleteOne->isChecked();
    s.MazaniVice = m_deleteMany->isChecked();
    s.PosunMimo = m_moveOutside->isChecked();
    s.UndoSave = m_undoSave->isChecked();
    s.ShowTree = m_tree->isChecked();
    s.PopisyPol = m_descriptions->isChecked();
    s.PismaAbec = m_sortedFonts->isChecked();
    s.ImplZarovnani = m_textAlign->currentIndex();
    s.ImplZarovnaniCi = m_numberAlign->currentIndex();
    s.SledPodle = m_byName->isChecked();
    s.ImplBarvaFontu = report::ColorToIndex(m_font.color);
    s.ImplVyskaFontu = int(m_font.size);
    s.ImplNazevFontu = m_font.name.left(32);
    s.ImplStylFontu = report::FontStyleToBits(m_font);
    s.ImplSkriptFontu = m_font.charset & 0xFF;
    EditorSettings() = s;
    // the settings hold for this run also when the file keeps the old ones
    if (m_report && !WriteSettings())
        sink().ShowBox(QStringLiteral("Nastavení editoru se nepodařilo uložit do souboru "
                                      "\"%1\".")
                           .arg(QDir::toNativeSeparators(m_report->iniFilePath())),
                       QStringLiteral("Chyba"), platform::MessageButtons::Ok,
                       platform::MessageIcon::Critical);
    QDialog::accept();
}

void TSestKonfigDlg::showEvent(QShowEvent* event) {
    // every opening shows the settings in force: what a Storno left in the fields is gone
    fillControls();
    QDialog::showEvent(event);
}

} // namespace designer
