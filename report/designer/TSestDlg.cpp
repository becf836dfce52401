#include "report/designer/TSestDlg.h"

#include "platform/BoxMessageSink.h"
#include "platform/MessageSink.h"
#include "report/designer/TEditorSettings.h"
#include "report/designer/TFormSestE.h"
#include "report/designer/TOddil.h"
#include "report/engine/printing/sestprn_printer.h"
#include "report/engine/sest_lib.h"
#include "report/engine/sestzpr.h"
#include "report/engine/ui/sestprn_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace designer {

namespace {

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QSpinBox* spin(const char* name, int low, int high) {
    auto* box = named(new QSpinBox, name);
    box->setRange(low, high);
    return box;
}

// A height typed into a field: 24 when it is no number.
int heightOf(const QLineEdit* edit) {
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    return ok ? value : 24;
}

// The section and bit of each pagination option, in the order of the boxes.
constexpr report::SectionNumber kPaginationSection[TSestDlg::kPaginationOptions] = {
    report::odT, report::odZ, report::odK, report::odH, report::odP, report::odK};
constexpr int kPaginationBit[TSestDlg::kPaginationOptions] = {1, 1, 1, 1, 1, 2};

// PaintBoxPapiru: the page with its shadow, margins and a sketch of the labels.
class PagePreview : public QWidget {
public:
    explicit PagePreview(const TSestDlg* dialog) : m_dialog(dialog) {
        setObjectName(QStringLiteral("PaintBoxPapiru"));
        setFixedSize(85, 85);
        m_pattern = QPixmap(8, 8);
        m_pattern.fill(Qt::white);
        QPainter p(&m_pattern);
        p.setPen(QColor(0x00, 0xFF, 0xFF));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (x % 2 == y % 2) p.drawPoint(x, y);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const TSestDlg::Sheet s = m_dialog->sheet();
        const int longer = std::max(s.width, s.height);
        if (s.width <= 0 || s.height <= 0) return; // nothing to draw for a paper without size
        const double scale = double(std::max(width(), height()) - 3) / longer;
        const int w = qRound(s.width * scale), h = qRound(s.height * scale);
        const int x = (width() - 3 - w) / 2, y = (height() - 3 - h) / 2;
        QPainter p(this);
        p.fillRect(x + 3, y + 3, w, h, QColor(0x80, 0x80, 0x80));
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(x, y, w - 1, h - 1);
        const auto scaled = [scale](int v) { return qRound(v * scale + 1); };
        const int left = x + scaled(s.margins[0]), right = x + w - scaled(s.margins[1]);
        const int top = y + scaled(s.margins[2]), bottom = y + h - scaled(s.margins[3]);
        if (right <= left || bottom <= top) return;
        const int columns = std::max(s.columns, 1);
        const int rows = columns == 1 ? 1 : 4;
        const double columnWidth = double(right - left + qRound(s.gap * scale)) / columns;
        const double rowHeight = double(bottom - top) / rows;
        p.setPen(Qt::blue);
        p.setBrush(QBrush(m_pattern));
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < rows; ++r)
                p.drawRect(QRectF(left + c * columnWidth, top + r * rowHeight,
                                  columnWidth - s.gap * scale - 1, rowHeight - 1)
                               .toRect());
    }

private:
    const TSestDlg* m_dialog;
    QPixmap m_pattern;
};

QString sizeText(int width, int height) {
    return QString::number(width) + QStringLiteral(" x ") + QString::number(height);
}

} // namespace

TSestDlg::TSestDlg(TFormSestE* designer) : QDialog(designer), m_designer(designer) {
    setObjectName(QStringLiteral("SestDlg"));
    setWindowTitle(QStringLiteral("Nastavení parametrů sestavy"));
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs);
    m_tabs->addTab(buildReportTab(), QStringLiteral("Sestava"));
    m_tabs->addTab(buildPaperTab(), QStringLiteral("Papír"));
    m_tabs->addTab(buildGridTab(), QStringLiteral("Rastr"));
    m_tabs->addTab(buildSectionsTab(), QStringLiteral("Oddíly"));
    m_tabs->addTab(buildGroupsTab(), QStringLiteral("Skupiny"));

    auto* box = new QDialogButtonBox(this);
    QPushButton* ok = box->addButton(QStringLiteral("&Konec"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = box->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(box, &QDialogButtonBox::accepted, this, &TSestDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &TSestDlg::reject);
    layout->addWidget(box);
    m_tabs->setCurrentIndex(PagePaper);
}

QWidget* TSestDlg::buildReportTab() {
    auto* report = new QWidget;
    auto* reportForm = new QFormLayout(report);
    m_description = named(new QLineEdit, "ENazev");
    reportForm->addRow(QStringLiteral("Popis:"), m_description);
    m_reportFile = named(new QLineEdit, "EReportName");
    m_reportDir = named(new QLineEdit, "EReportDir");
    for (QLineEdit* edit : {m_reportFile, m_reportDir}) {
        edit->setReadOnly(true);
        QPalette silver = edit->palette();
        silver.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
        edit->setPalette(silver);
    }
    reportForm->addRow(QStringLiteral("Soubor:"), m_reportFile);
    reportForm->addRow(QString(), m_reportDir);
    return report;
}

QWidget* TSestDlg::buildPaperTab() {
    auto* paper = new QWidget;
    auto* paperLayout = new QVBoxLayout(paper);
    auto* formatRow = new QHBoxLayout;
    m_formatCombo = named(new QComboBox, "CBFormaty");
    m_editFormat = named(new QPushButton(QStringLiteral("Ukaž")), "ButtonEditFormat");
    m_insertFormat = named(new QPushButton(QStringLiteral("Přidej")), "ButtonInsertFormat");
    m_deleteFormat = named(new QPushButton(QStringLiteral("Vynech")), "ButtonDeleteFormat");
    formatRow->addWidget(new QLabel(QStringLiteral("Formát papíru:")));
    formatRow->addWidget(m_formatCombo, 1);
    for (QPushButton* b : {m_editFormat, m_insertFormat, m_deleteFormat}) {
        b->setAutoDefault(false);
        formatRow->addWidget(b);
    }
    paperLayout->addLayout(formatRow);
    connect(m_formatCombo, &QComboBox::activated, this, &TSestDlg::CBFormatyChange);
    connect(m_editFormat, &QPushButton::clicked, this, &TSestDlg::ButtonEditFormatClick);
    connect(m_insertFormat, &QPushButton::clicked, this, &TSestDlg::ButtonInsertFormatClick);
    connect(m_deleteFormat, &QPushButton::clicked, this, &TSestDlg::ButtonDeleteFormatClick);
    auto* orientation = new QGroupBox(QStringLiteral("Orientace papíru:"));
    auto* orientationRow = new QHBoxLayout(orientation);
    m_portrait = named(new QRadioButton(QStringLiteral("na výšku")), "RbOrientationP");
    m_landscape = named(new QRadioButton(QStringLiteral("na šířku")), "RbOrientationL");
    m_allowChange = named(new QCheckBox(QStringLiteral("Povolit změnu orientace")),
                          "CbAllowChangeOrientation");
    orientationRow->addWidget(m_portrait);
    orientationRow->addWidget(m_landscape);
    orientationRow->addWidget(m_allowChange);
    paperLayout->addWidget(orientation);
    auto* margins = new QGroupBox(QStringLiteral("Okraje papíru:"));
    auto* marginForm = new QFormLayout(margins);
    static const char* const marginNames[] = {"SEOkrajLevy", "SEOkrajPravy", "SEOkrajHorni",
                                              "SEOkrajDolni"};
    static const char16_t* const marginLabels[] = {u"Levý:", u"Pravý:", u"Horní:", u"Dolní:"};
    for (int i = 0; i < 4; ++i) {
        m_margins[i] = spin(marginNames[i], 0, i < 2 ? 410 : 500);
        marginForm->addRow(QString::fromUtf16(marginLabels[i]), m_margins[i]);
    }
    paperLayout->addWidget(margins);
    auto* division = new QGroupBox(QStringLiteral("Dělení papíru:"));
    auto* divisionForm = new QFormLayout(division);
    m_columns = spin("SEPocSloup", 1, 99);
    m_gap = spin("SEMeziSloup", 0, 999);
    divisionForm->addRow(QStringLiteral("Počet sloupců tisku:"), m_columns);
    divisionForm->addRow(QStringLiteral("Mezera mezi sloupci:"), m_gap);
    paperLayout->addWidget(division);
    auto* previewRow = new QHBoxLayout;
    m_preview = new PagePreview(this);
    previewRow->addWidget(m_preview);
    auto* sizes = new QFormLayout;
    m_paperSize = named(new QLabel, "InfoRozmer");
    m_printableSize = named(new QLabel, "InfoRozmerT");
    m_labelSize = named(new QLabel, "InfoRozmerS");
    sizes->addRow(QStringLiteral("Papír:"), m_paperSize);
    sizes->addRow(QStringLiteral("Tisk:"), m_printableSize);
    sizes->addRow(QStringLiteral("Rozměr štítku:"), m_labelSize);
    previewRow->addLayout(sizes);
    paperLayout->addLayout(previewRow);
    for (QSpinBox* box :
         {m_margins[0], m_margins[1], m_margins[2], m_margins[3], m_columns, m_gap})
        connect(box, &QSpinBox::valueChanged, this, &TSestDlg::paperChanged);
    connect(m_landscape, &QRadioButton::toggled, this, &TSestDlg::paperChanged);
    paperLayout->addStretch(1);
    return paper;
}

QWidget* TSestDlg::buildGridTab() {
    auto* grid = new QWidget;
    auto* gridLayout = new QVBoxLayout(grid);
    auto* background = new QGroupBox(QStringLiteral("Pozadí:"));
    auto* backgroundGrid = new QGridLayout(background);
    m_defaultBackground =
        named(new QCheckBox(QStringLiteral("Výchozí nastavení")), "CheckBoxPozadi");
    m_printBackground =
        named(new QCheckBox(QStringLiteral("Tisknout pozadí")), "CheckBoxTiskPozadi");
    m_backgroundFile = named(new QComboBox, "CBBackgroundFile");
    m_backgroundFile->setEditable(true);
    m_wholePaper = named(new QCheckBox(QStringLiteral("Celý papír")), "CheckBoxCelyPapir");
    backgroundGrid->addWidget(m_defaultBackground, 0, 0);
    backgroundGrid->addWidget(m_printBackground, 0, 1);
    backgroundGrid->addWidget(m_backgroundFile, 1, 0, 1, 2);
    backgroundGrid->addWidget(m_wholePaper, 2, 0);
    static const char* const placementNames[] = {"SpinEditUmL", "SpinEditUmT", "SpinEditUmW",
                                                 "SpinEditUmH"};
    static const char16_t* const placementLabels[] = {u"Levý:", u"Horní:", u"Šířka:", u"Výška:"};
    for (int i = 0; i < 4; ++i) {
        m_placement[i] = spin(placementNames[i], i < 2 ? -9999 : 0, 99999);
        backgroundGrid->addWidget(new QLabel(QString::fromUtf16(placementLabels[i])), 3 + i, 0);
        backgroundGrid->addWidget(m_placement[i], 3 + i, 1);
    }
    for (QCheckBox* box : {m_defaultBackground, m_wholePaper})
        connect(box, &QCheckBox::toggled, this, &TSestDlg::backgroundChanged);
    auto* pitch = named(new QGroupBox(QStringLiteral("Rozteč znaků")), "RgRoztecZn");
    auto* pitchRow = new QHBoxLayout(pitch);
    static const char16_t* const pitches[] = {u"10 znaků/palec", u"12 znaků/palec",
                                              u"17 znaků/palec"};
    for (int i = 0; i < 3; ++i) {
        m_pitch[i] = new QRadioButton(QString::fromUtf16(pitches[i]));
        pitchRow->addWidget(m_pitch[i]);
    }
    gridLayout->addWidget(pitch);
    auto* type = named(new QGroupBox(QStringLiteral("Typ rastru:")), "RgTypRastru");
    auto* typeRow = new QHBoxLayout(type);
    m_graphicGrid = new QRadioButton(QStringLiteral("Grafický"));
    m_characterGrid = new QRadioButton(QStringLiteral("Znakový"));
    typeRow->addWidget(m_graphicGrid);
    typeRow->addWidget(m_characterGrid);
    gridLayout->addWidget(type);
    m_showGrid = named(new QCheckBox(QStringLiteral("Zobrazovat rastr")), "CBZobrRastr");
    m_snap = named(new QCheckBox(QStringLiteral("Zarovnávat do rastru")), "CBZarovRastr");
    gridLayout->addWidget(m_showGrid);
    gridLayout->addWidget(m_snap);
    auto* size = named(new QGroupBox(QStringLiteral("Velikost rastru:")), "GBRastr");
    auto* sizeForm = new QFormLayout(size);
    m_gridX = named(new QLineEdit, "EditRastrX");
    m_gridY = named(new QLineEdit, "EditRastrY");
    sizeForm->addRow(QStringLiteral("Rastr X:"), m_gridX);
    sizeForm->addRow(QStringLiteral("Rastr Y:"), m_gridY);
    gridLayout->addWidget(size);
    gridLayout->addWidget(background);
    gridLayout->addStretch(1);
    connect(m_characterGrid, &QRadioButton::toggled, this, &TSestDlg::gridTypeChanged);
    return grid;
}

QWidget* TSestDlg::buildSectionsTab() {
    auto* sections = new QWidget;
    auto* sectionGrid = new QGridLayout(sections);
    static const char* const visibleNames[] = {"CBOddZ", "CBOddH", "CBOddT", "CBOddK", "CBOddP"};
    static const char* const heightNames[] = {"EditHZ", "EditHH", "EditHT", "EditHK", "EditHP"};
    for (report::SectionNumber code : kFixedSectionCodes) {
        m_sectionVisible[code] = named(new QCheckBox(TOddil::captionOf(code)), visibleNames[code]);
        m_sectionHeight[code] = named(new QLineEdit, heightNames[code]);
        sectionGrid->addWidget(m_sectionVisible[code], code, 0);
        sectionGrid->addWidget(new QLabel(QStringLiteral("Výška:")), code, 1);
        sectionGrid->addWidget(m_sectionHeight[code], code, 2);
    }
    static const char* const paginationNames[] = {
        "CbNtNs", "CbNsZac", "CbNsKon", "CbNePrvniHlava", "CbNePosledniPata", "CbKonecKPate"};
    static const char16_t* const paginationTexts[] = {
        u"Nové tělo na novou stránku",          u"Odstránkovat po začátku sestavy",
        u"Odstránkovat před koncem sestavy",    u"Na první stránce netisknout hlavu",
        u"Na poslední stránce netisknout patu", u"Konec sestavy zarovnat k patě"};
    auto* pagination = new QGroupBox(QStringLiteral("Stránkování:"));
    auto* paginationColumn = new QVBoxLayout(pagination);
    for (int i = 0; i < kPaginationOptions; ++i) {
        m_pagination[i] =
            named(new QCheckBox(QString::fromUtf16(paginationTexts[i])), paginationNames[i]);
        paginationColumn->addWidget(m_pagination[i]);
    }
    sectionGrid->addWidget(pagination, 5, 0, 1, 3);
    return sections;
}

QWidget* TSestDlg::buildGroupsTab() {
    auto* groups = new QWidget;
    auto* groupGrid = new QGridLayout(groups);
    m_groups = named(new QListWidget, "LBSkupPol");
    groupGrid->addWidget(new QLabel(QStringLiteral("Skupiny:")), 0, 0);
    groupGrid->addWidget(m_groups, 1, 0, 6, 1);
    m_insert = named(new QToolButton, "SBInsSk");
    m_insert->setText(QStringLiteral("Ins"));
    m_delete = named(new QToolButton, "SBDelSk");
    m_delete->setText(QStringLiteral("Del"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_insert);
    buttons->addWidget(m_delete);
    groupGrid->addLayout(buttons, 7, 0);
    m_keyItem = named(new QComboBox, "CBSkupPol");
    m_byName = named(new QCheckBox(QStringLiteral("Skupinová položka podle názvu")), "CBSkPodle");
    m_headerVisible = named(new QCheckBox(QStringLiteral("Začátek")), "CBOddS");
    m_headerHeight = named(new QLineEdit, "EditHS");
    m_footerVisible = named(new QCheckBox(QStringLiteral("Konec")), "CBOddU");
    m_footerHeight = named(new QLineEdit, "EditHU");
    m_newPage = named(new QCheckBox(QStringLiteral("Novou skupinu na novou stránku")), "CBNsNs");
    groupGrid->addWidget(new QLabel(QStringLiteral("Skupinová položka:")), 1, 1);
    groupGrid->addWidget(m_keyItem, 1, 2, 1, 2);
    groupGrid->addWidget(m_byName, 2, 1, 1, 3);
    groupGrid->addWidget(m_headerVisible, 3, 1);
    groupGrid->addWidget(new QLabel(QStringLiteral("Výška oddílu:")), 3, 2);
    groupGrid->addWidget(m_headerHeight, 3, 3);
    groupGrid->addWidget(m_footerVisible, 4, 1);
    groupGrid->addWidget(new QLabel(QStringLiteral("Výška oddílu:")), 4, 2);
    groupGrid->addWidget(m_footerHeight, 4, 3);
    groupGrid->addWidget(m_newPage, 5, 1, 1, 3);
    // the list takes the height the tab has to spare, the group's fields stay at its top
    groupGrid->setRowStretch(6, 1);
    connect(m_groups, &QListWidget::currentRowChanged, this, &TSestDlg::showGroup);
    connect(m_insert, &QToolButton::clicked, this, &TSestDlg::SBInsSkClick);
    connect(m_delete, &QToolButton::clicked, this, &TSestDlg::SBDelSkClick);
    connect(m_keyItem, &QComboBox::currentIndexChanged, this, &TSestDlg::ZmenaSkupPol);
    for (QCheckBox* box : {m_byName, m_headerVisible, m_footerVisible, m_newPage})
        connect(box, &QCheckBox::toggled, this, &TSestDlg::ZmenaSkupPol);
    for (QLineEdit* edit : {m_headerHeight, m_footerHeight})
        connect(edit, &QLineEdit::textEdited, this, &TSestDlg::ZmenaSkupPol);
    return groups;
}

void TSestDlg::EnableControls(bool isDetail) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_formatCombo, m_editFormat, m_insertFormat, m_deleteFormat, m_portrait, m_landscape,
             m_allowChange, m_margins[0], m_margins[1], m_margins[2], m_margins[3]})
        w->setEnabled(!isDetail);
    // a detail prints no page header or footer: neither they nor their pagination options
    for (report::SectionNumber code : {report::odH, report::odP}) {
        m_sectionVisible[code]->setEnabled(!isDetail);
        m_sectionHeight[code]->setEnabled(!isDetail);
    }
    for (int i = 0; i < kPaginationOptions; ++i)
        if (kPaginationSection[i] == report::odH || kPaginationSection[i] == report::odP)
            m_pagination[i]->setEnabled(!isDetail);
}

void TSestDlg::setValues(const Values& v) {
    m_updating = true;
    m_description->setText(v.description);
    (v.paper.landscape ? m_landscape : m_portrait)->setChecked(true);
    m_allowChange->setChecked(v.paper.orientationChangeable);
    m_width = v.paper.paperWidth;
    m_height = v.paper.paperHeight;
    const int marginValues[] = {v.paper.marginLeft, v.paper.marginRight, v.paper.marginTop,
                                v.paper.marginBottom};
    for (int i = 0; i < 4; ++i)
        m_margins[i]->setValue(marginValues[i]);
    FillFormats();
    m_columns->setValue(v.columns);
    m_gap->setValue(v.gap);
    (v.characterGrid ? m_characterGrid : m_graphicGrid)->setChecked(true);
    m_showGrid->setChecked(v.showGrid);
    m_snap->setChecked(v.snap);
    m_gridX->setText(QString::number(v.gridX));
    m_gridY->setText(QString::number(v.gridY));
    m_pitch[std::clamp(v.pitchCode, 0, 2)]->setChecked(true);
    for (report::SectionNumber code : kFixedSectionCodes) {
        m_sectionVisible[code]->setChecked(v.visible[code]);
        m_sectionHeight[code]->setText(QString::number(v.height[code]));
    }
    for (int i = 0; i < kPaginationOptions; ++i)
        m_pagination[i]->setChecked(v.flags[kPaginationSection[i]] & kPaginationBit[i]);
    m_defaultBackground->setChecked(!v.background.own);
    m_printBackground->setChecked(v.background.print);
    m_backgroundFile->clear();
    QStringList pictures;
    m_designer->report()->NactiSeznamObrazu(pictures);
    m_backgroundFile->addItems(pictures);
    m_backgroundFile->setEditText(v.background.pictureName);
    m_wholePaper->setChecked(!v.background.positioned);
    const int placement[] = {v.background.x, v.background.y, v.background.width,
                             v.background.height};
    for (int i = 0; i < 4; ++i)
        m_placement[i]->setValue(placement[i]);
    m_bodyHeight = v.height[report::odT];
    const QFileInfo file(m_designer->report()->GetPredlohaFileName());
    m_reportFile->setText(file.fileName());
    m_reportDir->setText(file.absolutePath());
    gridTypeChanged();
    backgroundChanged();
    m_updating = false;
    paperChanged();
}

TSestDlg::Sheet TSestDlg::sheet() const {
    Sheet s;
    const bool landscape = m_landscape->isChecked();
    s.width = landscape ? m_height : m_width;
    s.height = landscape ? m_width : m_height;
    for (int i = 0; i < 4; ++i)
        s.margins[i] = m_margins[i]->value();
    s.columns = std::max(m_columns->value(), 1);
    s.gap = m_gap->value();
    return s;
}

void TSestDlg::paperChanged() {
    if (m_updating) return;
    const Sheet s = sheet();
    const int printableWidth = s.width - s.margins[0] - s.margins[1];
    const int printableHeight = s.height - s.margins[2] - s.margins[3];
    m_paperSize->setText(sizeText(s.width, s.height));
    m_printableSize->setText(sizeText(printableWidth, printableHeight));
    m_labelSize->setText(sizeText((printableWidth + s.gap) / s.columns - s.gap, m_bodyHeight));
    m_preview->update();
}

void TSestDlg::backgroundChanged() {
    const bool own = !m_defaultBackground->isChecked();
    m_printBackground->setEnabled(own);
    m_backgroundFile->setEnabled(own);
    m_wholePaper->setEnabled(own);
    for (QSpinBox* box : m_placement)
        box->setEnabled(own && !m_wholePaper->isChecked());
}

TSestDlg::Values TSestDlg::values() const {
    Values v;
    v.description = m_description->text();
    v.paper.landscape = m_landscape->isChecked();
    v.paper.orientationChangeable = m_allowChange->isChecked();
    v.paper.paperWidth = m_width;
    v.paper.paperHeight = m_height;
    v.paper.marginLeft = m_margins[0]->value();
    v.paper.marginRight = m_margins[1]->value();
    v.paper.marginTop = m_margins[2]->value();
    v.paper.marginBottom = m_margins[3]->value();
    v.columns = std::max(m_columns->value(), 1);
    v.gap = m_gap->value();
    v.characterGrid = m_characterGrid->isChecked() ? 1 : 0;
    v.showGrid = m_showGrid->isChecked();
    v.snap = m_snap->isChecked();
    // a grid step typed as 0, negative or no number becomes 8
    const auto step = [](const QLineEdit* edit) {
        bool ok = false;
        const int value = edit->text().trimmed().toInt(&ok);
        return ok && value >= 1 ? value : 8;
    };
    v.gridX = step(m_gridX);
    v.gridY = step(m_gridY);
    v.pitchCode = m_pitch[0]->isChecked() ? 0 : m_pitch[2]->isChecked() ? 2 : 1;
    for (report::SectionNumber code : kFixedSectionCodes) {
        v.visible[code] = m_sectionVisible[code]->isChecked();
        v.height[code] = std::max(heightOf(m_sectionHeight[code]), 0);
    }
    v.background.own = !m_defaultBackground->isChecked();
    v.background.print = m_printBackground->isChecked();
    v.background.positioned = !m_wholePaper->isChecked();
    v.background.pictureName = m_backgroundFile->currentText();
    v.background.x = m_placement[0]->value();
    v.background.y = m_placement[1]->value();
    v.background.width = m_placement[2]->value();
    v.background.height = m_placement[3]->value();
    for (int i = 0; i < kPaginationOptions; ++i)
        if (m_pagination[i]->isChecked()) v.flags[kPaginationSection[i]] |= kPaginationBit[i];
    return v;
}

platform::MessageSink& TSestDlg::sink() {
    static platform::BoxMessageSink boxes(platform::BoxMessageSink::Buttons::Czech);
    return m_messages ? *m_messages : boxes;
}

void TSestDlg::FillFormats(int chosen) {
    const bool updating = m_updating;
    m_updating = true;
    m_formats = report::TListFormatu();
    m_formats.Load(m_designer->report()->iniFilePath());
    // the paper's own size within 1 %, else a user format of that size at the end (written
    // only with the list's next change)
    if (chosen < 0 || chosen >= m_formats.count())
        chosen = m_formats.FindOrAddFormat(m_width, m_height);
    m_formatCombo->clear();
    m_formatCombo->addItems(m_formats.names());
    m_formatCombo->setCurrentIndex(chosen);
    const bool user = chosen >= report::TListFormatu::builtInCount;
    m_deleteFormat->setEnabled(user && m_formatCombo->isEnabled());
    m_editFormat->setText(user ? QStringLiteral("Oprav") : QStringLiteral("Ukaž"));
    m_updating = updating;
}

void TSestDlg::saveFormats() {
    const QString file = m_designer->report()->iniFilePath();
    if (m_formats.Save(file)) return;
    sink().ShowBox(QStringLiteral("Formáty papíru se nepodařilo uložit do souboru \"%1\".")
                       .arg(QDir::toNativeSeparators(file)),
                   QStringLiteral("Chyba"), platform::MessageButtons::Ok,
                   platform::MessageIcon::Critical);
}

void TSestDlg::CBFormatyChange(int index) {
    const report::TFormatPapiru* format = m_formats.GetFormat(index);
    if (!format) return;
    m_width = format->width;
    m_height = format->height;
    paperChanged();
    const bool user = index >= report::TListFormatu::builtInCount;
    m_deleteFormat->setEnabled(user);
    m_editFormat->setText(user ? QStringLiteral("Oprav") : QStringLiteral("Ukaž"));
    const bool landscape = m_landscape->isChecked();
    const int pageWidth = landscape ? m_height : m_width;
    const int pageHeight = landscape ? m_width : m_height;
    for (int i = 0; i < 4; ++i)
        m_margins[i]->setMaximum(std::max((i < 2 ? pageWidth : pageHeight) / 2, 0));
}

void TSestDlg::ButtonEditFormatClick() {
    const int index = m_formatCombo->currentIndex();
    const bool user = index >= report::TListFormatu::builtInCount;
    if (report::EditFormat(m_formats, index, user, this) == report::mrOk && user) {
        saveFormats();
        const report::TFormatPapiru* f = m_formats.GetFormat(index);
        m_width = f->width;
        m_height = f->height;
        FillFormats(index);
        paperChanged();
    }
}

void TSestDlg::ButtonInsertFormatClick() {
    report::TFormatPapiru format{QStringLiteral("uživ. formát"), m_width, m_height};
    if (report::EditPaperFormat(format, true, this) != report::mrOk) return;
    m_formats.AddFormat(format);
    saveFormats();
    m_width = format.width;
    m_height = format.height;
    FillFormats(m_formats.count() - 1);
    paperChanged();
}

void TSestDlg::ButtonDeleteFormatClick() {
    const int index = m_formatCombo->currentIndex();
    if (index < report::TListFormatu::builtInCount) return;
    if (sink().ShowBox(QStringLiteral("Zrušit vybraný uživatelský formát?"),
                       report::LoadText(report::ReportText::CaptionConfirm),
                       platform::MessageButtons::YesNo,
                       platform::MessageIcon::Question) != platform::MessageAnswer::Yes)
        return;
    m_formats.DeleteFormat(index);
    saveFormats();
    m_formatCombo->clear();
    m_formatCombo->addItems(m_formats.names());
    m_formatCombo->setCurrentIndex(0);
    CBFormatyChange(0);
}

void TSestDlg::accept() {
    if (m_graphicGrid->isChecked() && m_margins[0]->isEnabled()) {
        int left = m_margins[0]->value(), right = m_margins[1]->value();
        int top = m_margins[2]->value(), bottom = m_margins[3]->value();
        if (!report::MarginsFitPrinter(m_landscape->isChecked() ? 1 : 0, left, top, right,
                                       bottom)) {
            const platform::MessageAnswer answer = sink().ShowBox(
                QStringLiteral("Nastavené okraje tisku jsou menší, než umožňuje připojená "
                               "tiskárna. Upravit velikost okrajů podle možností tiskárny?"),
                report::LoadText(report::ReportText::CaptionConfirm),
                platform::MessageButtons::YesNoCancel, platform::MessageIcon::Question);
            if (answer == platform::MessageAnswer::Cancel) return;
            if (answer == platform::MessageAnswer::Yes) {
                report::AdjustMarginsToPrinter(left, top, right, bottom);
                m_margins[0]->setValue(left);
                m_margins[1]->setValue(right);
                m_margins[2]->setValue(top);
                m_margins[3]->setValue(bottom);
            }
        }
    }
    QDialog::accept();
}

void TSestDlg::gridTypeChanged() {
    const bool character = m_characterGrid->isChecked();
    findChild<QGroupBox*>(QStringLiteral("GBRastr"))->setVisible(!character);
    findChild<QGroupBox*>(QStringLiteral("RgRoztecZn"))->setVisible(character);
}

void TSestDlg::fillGroups(const QStringList& itemTexts) {
    m_updating = true;
    m_keyItem->clear();
    m_keyItem->addItems(itemTexts);
    m_groups->clear();
    for (int i = 0; i < m_designer->groups().Count(); ++i)
        m_groups->addItem(QStringLiteral("Skupina %1").arg(i + 1));
    m_groupsChanged = false;
    m_updating = false;
    m_groups->setCurrentRow(m_groups->count() > 0 ? 0 : -1);
    showGroup(m_groups->currentRow());
}

void TSestDlg::showPage(int page, int group) {
    for (int tab = 0; tab < m_tabs->count(); ++tab)
        m_tabs->setTabVisible(tab, page < 0 || tab == page);
    if (page >= 0) m_tabs->setCurrentIndex(std::min(page, m_tabs->count() - 1));
    if (group >= 0 && group < m_groups->count()) m_groups->setCurrentRow(group);
}

void TSestDlg::done(int result) {
    // the designer may rebuild its group records once the dialog is closed
    m_group = nullptr;
    QDialog::done(result);
}

void TSestDlg::showGroup(int row) {
    TListSkupinE& groups = m_designer->groups();
    m_group = groups.Skupina(row);
    m_delete->setEnabled(m_group && row == groups.Count() - 1);
    if (!m_group) return;
    m_updating = true;
    m_keyItem->setCurrentIndex(m_group->keyItem);
    m_byName->setChecked(!m_group->keyName.isEmpty() && !m_group->keyName[0].isDigit());
    m_headerVisible->setChecked(!m_group->header->isHidden());
    m_headerHeight->setText(QString::number(m_group->header->sectionHeight()));
    m_footerVisible->setChecked(!m_group->footer->isHidden());
    m_footerHeight->setText(QString::number(m_group->footer->sectionHeight()));
    m_newPage->setChecked(m_group->newPage);
    m_updating = false;
}

void TSestDlg::ZmenaSkupPol() {
    if (m_updating || !m_group) return;
    m_group->keyItem = std::max(m_keyItem->currentIndex(), 0);
    m_group->keyName =
        m_byName->isChecked() ? m_designer->report()->GetItemName(m_group->keyItem) : QString();
    m_group->headerVisible = m_headerVisible->isChecked();
    m_group->headerHeight = heightOf(m_headerHeight);
    m_group->footerVisible = m_footerVisible->isChecked();
    m_group->footerHeight = heightOf(m_footerHeight);
    m_group->newPage = m_newPage->isChecked();
}

void TSestDlg::SBInsSkClick() {
    TPolSkupE record;
    record.keyItem = 0;
    if (EditorSettings().SledPodle) record.keyName = m_designer->report()->GetItemName(0);
    record.headerVisible = record.footerVisible = false;
    record.headerHeight = record.footerHeight = 24;
    m_designer->AddGroupSections(record);
    m_designer->RefreshSections();
    m_groupsChanged = true;
    m_groups->addItem(QStringLiteral("Skupina %1").arg(m_groups->count() + 1));
    m_groups->setCurrentRow(m_groups->count() - 1);
}

void TSestDlg::SBDelSkClick() {
    TListSkupinE& groups = m_designer->groups();
    if (!m_group || m_group != groups.Skupina(groups.Count() - 1)) return;
    static platform::BoxMessageSink boxes(platform::BoxMessageSink::Buttons::Czech);
    platform::MessageSink& sink = m_messages ? *m_messages : boxes;
    if (sink.ShowBox(report::LoadText(report::ReportText::DeleteGroupQuestion),
                     report::LoadText(report::ReportText::CaptionConfirm),
                     platform::MessageButtons::YesNo,
                     platform::MessageIcon::Question) != platform::MessageAnswer::Yes)
        return;
    m_group = nullptr;
    m_designer->deleteLastGroup();
    m_groupsChanged = true;
    delete m_groups->takeItem(m_groups->count() - 1);
    // no line stays chosen, so nothing is edited or deleted before the user chooses again
    m_groups->setCurrentRow(-1);
    m_delete->setEnabled(false);
}

} // namespace designer
