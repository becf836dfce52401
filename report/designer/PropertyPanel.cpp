#include "report/designer/PropertyPanel.h"

#include "platform/PainterCanvas.h"
#include "report/designer/DesignerEvents.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/barcode/sestbarc.h"
#include "report/engine/run/sestavyt.h"
#include "report/engine/sest_lib.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <QToolButton>

namespace designer {

namespace {

const char* const kColourNames[] = {"černá",         "kaštanová", "zelená",       "olivová",
                                    "ultramarínová", "purpurová", "šedozelená",   "šedá",
                                    "stříbrná",      "červená",   "žlutozelená",  "žlutá",
                                    "modrá",         "růžová",    "akvamarínová", "bílá"};

// The kinds a control of the strip changes in a multiple selection.
constexpr report::ElementKind kLineKinds[] = {report::ekLine};
constexpr report::ElementKind kFrameKinds[] = {report::ekFrame, report::ekRoundFrame,
                                               report::ekEllipse};

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QToolButton* sideButton(const QString& name, const QString& text) {
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setText(text);
    button->setCheckable(true);
    button->setAutoRaise(true);
    return button;
}

QComboBox* colourCombo(const char* name) {
    auto* box = named(new QComboBox, name);
    for (const char* colour : kColourNames)
        box->addItem(QString::fromUtf8(colour));
    return box;
}

// A 24 x 14 sample of brush style `style` (black on white), as the fill-style list shows it.
QIcon brushSample(int style) {
    QPixmap pixmap(24, 14);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    platform::PainterCanvas canvas(painter);
    platform::TBrush brush;
    brush.style = style;
    brush.color = 0;
    canvas.SetBrush(brush);
    canvas.Rectangle({0, 0, 24, 14});
    return QIcon(pixmap);
}

} // namespace

// The picture list is read from the template's folder each time it opens.
class PropertyPanel::PictureCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<QStringList()> names;

protected:
    void showPopup() override {
        if (names) {
            const QString text = currentText();
            clear();
            addItems(names());
            setEditText(text);
        }
        QComboBox::showPopup();
    }
};

int PropertyPanel::fieldNumber(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

int PropertyPanel::barcodeTypeEntry(int type) {
    if (type >= 0 && type < report::BarcodeTypeCount) return type;
    QStringList names;
    report::FillBarcodeTypes(names);
    return int(names.indexOf(QStringLiteral("EAN 13")));
}

int PropertyPanel::barcodeModuleEntry(int module) {
    return module - 4 >= 0 && module - 4 <= 12 ? module - 4 : 4;
}

void PropertyPanel::setBit(int& bits, int bit, bool on) {
    bits = on ? bits | bit : bits & ~bit;
}

// ---- building

PropertyPanel::PropertyPanel(const DesignerEvents& selection, QWidget* parent)
    : QWidget(parent), m_selection(selection) {
    setObjectName(QStringLiteral("PanelObjektu"));
    buildPositionFields();
    buildStrip();
    connectTextControls();
    connectGraphicControls();
    connectPictureControls();
    connect(m_front, &QToolButton::clicked, this, [this] { emit zOrderRequested(true); });
    connect(m_back, &QToolButton::clicked, this, [this] { emit zOrderRequested(false); });
}

void PropertyPanel::buildPositionFields() {
    static const char* const names[] = {"EditX", "EditY", "EditW", "EditH"};
    static const int lengths[] = {4, 4, 4, 3};
    for (int field = 0; field < 4; ++field) {
        QLineEdit* edit = m_position[field] = named(new QLineEdit(this), names[field]);
        edit->setMaxLength(lengths[field]);
        edit->setMaximumWidth(60);
        m_positionLabels[field] = new QLabel(QString::fromLatin1(names[field] + 4) + u':', this);
        connect(edit, &QLineEdit::returnPressed, this,
                [this, field] { emit positionEntered(field, m_position[field]->text()); });
        connect(edit, &QLineEdit::editingFinished, this, &PropertyPanel::positionLeft);
    }
}

void PropertyPanel::placePositionFields(QBoxLayout& row) {
    for (int field = 0; field < 4; ++field) {
        row.addWidget(m_positionLabels[field]);
        row.addWidget(m_position[field]);
    }
}

void PropertyPanel::buildStrip() {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_front = named(new QToolButton, "SBPrenesP");
    m_front->setText(QString::fromUtf8("Přenést dopředu"));
    m_back = named(new QToolButton, "SBPrenesZ");
    m_back->setText(QString::fromUtf8("Přesunout dozadu"));
    row->addWidget(m_front);
    row->addWidget(m_back);
    const auto panel = [&](const char* name) {
        auto* widget = named(new QWidget, name);
        auto* layout = new QHBoxLayout(widget);
        layout->setContentsMargins(4, 0, 4, 0);
        row->addWidget(widget);
        return layout;
    };
    const auto label = [](const char* text) { return new QLabel(QString::fromUtf8(text)); };

    QHBoxLayout* p = panel("PanelTexty");
    m_font = named(new QToolButton, "SBPismo");
    m_font->setText(QString::fromUtf8("Písmo..."));
    m_alignment = named(new QComboBox, "CBZarovnani");
    m_alignment->addItems(
        {QStringLiteral("Vlevo"), QStringLiteral("Vpravo"), QString::fromUtf8("Uprostřed")});
    m_text = named(new QLineEdit, "EditText");
    m_text->setMinimumWidth(200);
    p->addWidget(m_font);
    p->addWidget(m_alignment);
    p->addWidget(m_text, 1);
    const QString sideTexts[] = {QStringLiteral("L"), QStringLiteral("H"), QStringLiteral("P"),
                                 QStringLiteral("D")};
    for (int i = 0; i < 4; ++i)
        p->addWidget(m_textSides[i] =
                         sideButton(QStringLiteral("SBCarT%1").arg(i + 1), sideTexts[i]));

    p = panel("PanelRtf");
    p->addWidget(m_justify =
                     named(new QCheckBox(QString::fromUtf8("Zarovnávat do bloku")), "CbZarBlok"));
    p->addWidget(m_varHeight =
                     named(new QCheckBox(QString::fromUtf8("Proměnná výška")), "CbPromVys"));
    for (int i = 0; i < 4; ++i)
        p->addWidget(m_rtfSides[i] =
                         sideButton(QStringLiteral("SBCarR%1").arg(i + 1), sideTexts[i]));

    p = panel("PanelObraz");
    m_file = named(new PictureCombo, "CBObrazFile");
    m_file->setEditable(true);
    m_file->setInsertPolicy(QComboBox::NoInsert);
    m_file->setMinimumWidth(180);
    m_file->names = [this] {
        QStringList names;
        if (m_report) m_report->NactiSeznamObrazu(names);
        return names;
    };
    p->addWidget(m_file);
    p->addWidget(m_stretch = named(new QCheckBox(QStringLiteral("Podle okna")), "CBObrStretch"));
    p->addWidget(
        m_aspect = named(new QCheckBox(QString::fromUtf8("Zachovat poměr stran")), "CBObrPomer"));
    p->addWidget(m_ownCopy =
                     named(new QCheckBox(QString::fromUtf8("Povolit změnu")), "CBObrVariable"));

    p = panel("PanelCary");
    p->addWidget(m_lineColour = colourCombo("CBBarvaCary"));
    m_lineWidth = named(new QSpinBox, "SBSirkaCary");
    m_lineWidth->setRange(1, 16);
    m_lineWidth->setKeyboardTracking(false); // a typed width counts once, not per digit
    p->addWidget(m_lineWidth);
    m_lineStyle = named(new QComboBox, "CBStylCary");
    for (const char* style : {"plná", "čárkovaná", "tečkovaná", "čerchovaná"})
        m_lineStyle->addItem(QString::fromUtf8(style));
    p->addWidget(m_lineStyle);
    const char* const bitTexts[] = {"L", "H", "P", "D", "/", "\\", "O"};
    for (int i = 0; i < 7; ++i) {
        const QString name =
            i == 6 ? QStringLiteral("SbCar7") : QStringLiteral("SBCar%1").arg(i + 1);
        p->addWidget(m_lineBits[i] = sideButton(name, QString::fromLatin1(bitTexts[i])));
    }

    p = panel("PanelObdelniky");
    p->addWidget(label("Výplň:"));
    p->addWidget(m_fillColour = colourCombo("CBRamBarvaVypl"));
    m_fillStyle = named(new QComboBox, "CBRamStyl");
    int style = 0;
    for (const char* name :
         {"plné", "prázdné", "vodorovné", "svislé", "šikmé F", "šikmé B", "svis/vod", "šikmé"})
        m_fillStyle->addItem(brushSample(style++), QString::fromUtf8(name));
    p->addWidget(m_fillStyle);
    p->addWidget(label("Okraj:"));
    p->addWidget(m_borderColour = colourCombo("CBRamBarvaOkr"));
    m_borderWidth = named(new QSpinBox, "SERamSirOkr");
    m_borderWidth->setRange(0, 8);
    m_borderWidth->setKeyboardTracking(false);
    p->addWidget(m_borderWidth);

    p = panel("PanelBarCode");
    m_symbology = named(new QComboBox, "CBTypBarCode");
    QStringList list;
    report::FillBarcodeTypes(list);
    m_symbology->addItems(list);
    p->addWidget(m_symbology);
    p->addWidget(m_checkDigit =
                     named(new QCheckBox(QString::fromUtf8("Kontrolní součet")), "CBCheckSum"));
    m_module = named(new QComboBox, "CBSirkaBarCary");
    list.clear();
    report::FillBarcodeModules(list);
    m_module->addItems(list);
    p->addWidget(m_module);
    p->addWidget(m_printText = named(new QCheckBox(QStringLiteral("Text")), "CBBarText"));
    p->addWidget(m_barText = named(new QLineEdit, "EditBarText"), 1);

    p = panel("PanelPaintBox");
    p->addWidget(label("Index:"));
    p->addWidget(m_paintIndex = named(new QLineEdit, "EPaintBoxIndex"));
    p->addWidget(label("Zoom:"));
    p->addWidget(m_paintZoom = named(new QLineEdit, "EPaintBoxZoom"));
    for (QLineEdit* edit : {m_paintIndex, m_paintZoom})
        edit->setMaximumWidth(60);
    row->addStretch(1);

    int i = 0;
    for (const char* name : {"PanelTexty", "PanelRtf", "PanelObraz", "PanelCary", "PanelObdelniky",
                             "PanelBarCode", "PanelPaintBox"})
        m_panels[i++] = findChild<QWidget*>(QString::fromLatin1(name));
    m_texts = m_panels[0];
    m_rtf = m_panels[1];
    m_picture = m_panels[2];
    m_line = m_panels[3];
    m_frame = m_panels[4];
    m_barcode = m_panels[5];
    m_paintBox = m_panels[6];
    for (QWidget* kindPanel : m_panels)
        kindPanel->hide();
}

void PropertyPanel::request(ChangeKind step, std::span<const report::ElementKind> kinds,
                            std::function<void(report::TVoranReportElement&)> apply) {
    emit changeRequested(PropertyChange{step, kinds, std::move(apply)});
}

void PropertyPanel::connectTextControls() {
    using Element = report::TVoranReportElement;
    connect(m_font, &QToolButton::clicked, this, &PropertyPanel::fontRequested);
    connect(m_alignment, &QComboBox::activated, this, [this](int entry) {
        request(ckAlignment, kTextKinds, [entry](Element& e) { e.Alignment = entry; });
    });
    for (int i = 0; i < 4; ++i) {
        connect(m_textSides[i], &QToolButton::clicked, this, [this, i](bool on) {
            request(ckElementSettings, kTextKinds,
                    [i, on](Element& e) { setBit(e.Options, kSides[i], on); });
        });
        connect(m_rtfSides[i], &QToolButton::clicked, this, [this, i](bool on) {
            request(ckElementSettings, {},
                    [i, on](Element& e) { setBit(e.Options, kSides[i], on); });
        });
    }
    connect(m_justify, &QCheckBox::clicked, this, [this](bool on) {
        request(ckElementSettings, {}, [on](Element& e) { e.SetJustify(on); });
    });
    connect(m_varHeight, &QCheckBox::clicked, this, [this](bool on) {
        request(ckElementSettings, {}, [on](Element& e) { e.SetVarHeight(on); });
    });

    // Texts change the element while typing; Enter records the step, and so does leaving the
    // field with a text that no step holds yet.
    const auto typed = [this](const QString& text, bool barcode) {
        TSesPrvek* element = m_textElement;
        if (m_filling || !element || element != m_selection.primarySelection()) return;
        if (barcode)
            element->element()->SetBarcodeText(text);
        else
            element->element()->SetSourceText(text);
        element->update();
    };
    const auto entered = [this](QLineEdit* edit) {
        TSesPrvek* element = m_textElement;
        if (!element || edit->isReadOnly()) return;
        element->update();
        m_recordedText = element->element()->Text;
        emit textEntered();
    };
    connect(m_text, &QLineEdit::textEdited, this, [typed](const QString& t) { typed(t, false); });
    connect(m_barText, &QLineEdit::textEdited, this,
            [typed](const QString& t) { typed(t, true); });
    for (QLineEdit* edit : {m_text, m_barText}) {
        connect(edit, &QLineEdit::returnPressed, this, [entered, edit] { entered(edit); });
        connect(edit, &QLineEdit::editingFinished, this, [this] {
            if (takePendingText()) emit textEntered();
        });
    }
}

void PropertyPanel::connectGraphicControls() {
    using Element = report::TVoranReportElement;
    connect(m_lineColour, &QComboBox::activated, this, [this](int entry) {
        request(ckElementSettings, kLineKinds,
                [entry](Element& e) { e.PenColor = report::IndexToColor(entry); });
    });
    connect(m_lineStyle, &QComboBox::activated, this, [this](int entry) {
        request(ckElementSettings, kLineKinds, [entry](Element& e) { e.SetPenStyle(entry); });
    });
    connect(m_lineWidth, &QSpinBox::valueChanged, this, [this](int width) {
        if (m_filling) return;
        // a wide line is always solid
        if (width > 1) m_lineStyle->setCurrentIndex(0);
        request(ckElementSettings, kLineKinds, [width](Element& e) { e.SetPenWidth(width); });
    });
    for (int i = 0; i < 7; ++i)
        connect(m_lineBits[i], &QToolButton::clicked, this, [this, i](bool on) {
            request(ckElementSettings, kLineKinds,
                    [i, on](Element& e) { setBit(e.Options, 1 << i, on); });
        });
    connect(m_borderColour, &QComboBox::activated, this, [this](int entry) {
        request(ckElementSettings, kFrameKinds,
                [entry](Element& e) { e.PenColor = report::IndexToColor(entry); });
    });
    connect(m_fillColour, &QComboBox::activated, this, [this](int entry) {
        request(ckElementSettings, kFrameKinds,
                [entry](Element& e) { e.BrushColor = report::IndexToColor(entry); });
    });
    connect(m_fillStyle, &QComboBox::activated, this, [this](int entry) {
        request(ckElementSettings, kFrameKinds, [entry](Element& e) { e.BrushStyle = entry; });
    });
    connect(m_borderWidth, &QSpinBox::valueChanged, this, [this](int width) {
        if (m_filling) return;
        request(ckElementSettings, kFrameKinds, [width](Element& e) { e.SetPenWidth(width); });
    });

    connect(m_symbology, &QComboBox::activated, this, [this](int entry) {
        request(ckElementSettings, {}, [entry](Element& e) { e.PenStyle = entry; });
    });
    connect(m_module, &QComboBox::activated, this, [this](int entry) {
        request(ckElementSettings, {}, [entry](Element& e) { e.PenWidth = entry + 4; });
    });
    connect(m_checkDigit, &QCheckBox::clicked, this, [this](bool on) {
        request(ckElementSettings, {}, [on](Element& e) { e.SetOption5(on); });
    });
    connect(m_printText, &QCheckBox::clicked, this, [this](bool on) {
        request(ckElementSettings, {}, [on](Element& e) { e.SetOption6(on); });
    });

    // the drawing area's index and zoom, taken when the field is left or Enter is pressed
    const auto paintBoxChange = [this] {
        const TSesPrvek* primary = m_selection.primarySelection();
        if (m_filling || !primary || primary->Kind() != report::ekDrawingArea) return;
        const int index = fieldNumber(m_paintIndex->text(), 0);
        const int zoom = std::clamp(fieldNumber(m_paintZoom->text(), 1), 1, 6);
        const Element& e = *primary->element();
        if (index == e.Index && zoom == e.BrushStyle) return;
        request(ckElementSettings, {}, [index, zoom](Element& e) {
            e.Index = index;
            e.BrushStyle = zoom;
            e.SetOption5(true);
        });
    };
    for (QLineEdit* edit : {m_paintIndex, m_paintZoom})
        connect(edit, &QLineEdit::editingFinished, this, paintBoxChange);
}

void PropertyPanel::connectPictureControls() {
    using Element = report::TVoranReportElement;
    // pictures: the primary alone, never a multiple selection
    const auto pictureChange = [this](std::function<void(Element&)> change) {
        const TSesPrvek* primary = m_selection.primarySelection();
        if (!primary || primary->multi()) return;
        request(ckElementSettings, {}, std::move(change));
    };
    const auto loadPicture = [this, pictureChange] {
        const TSesPrvek* primary = m_selection.primarySelection();
        if (!primary || primary->Kind() != report::ekPicture) return;
        const QString template_ = m_report ? m_report->GetPredlohaFileName() : QString();
        const QString folder = template_.isEmpty()
                                   ? QString()
                                   : QFileInfo(template_).absolutePath() + QLatin1Char('/');
        const QString path = folder + m_file->currentText();
        if (primary->element()->Text == path) return;
        pictureChange([path](Element& e) { e.LoadPicture(path); });
    };
    connect(m_file, &QComboBox::activated, this, loadPicture);
    connect(m_file->lineEdit(), &QLineEdit::returnPressed, this, loadPicture);
    const std::pair<QCheckBox*, int> pictureOptions[] = {{m_stretch, report::soPictureStretch},
                                                         {m_aspect, report::soPictureKeepAspect},
                                                         {m_ownCopy, report::soPictureVariable}};
    for (const auto& option : pictureOptions) {
        const int bit = option.second;
        connect(option.first, &QCheckBox::clicked, this, [this, pictureChange, bit](bool on) {
            pictureChange([bit, on](Element& e) { setBit(e.Options, bit, on); });
            m_aspect->setVisible(m_stretch->isChecked());
        });
    }
}

// ---- showing

void PropertyPanel::showElement(TSesPrvek* element) {
    m_filling = true;
    if (element) {
        const report::TVoranReportElement& e = *element->element();
        showPosition(e.Left, e.Top);
        showSize(e.Width, e.Height);
        m_alignment->setCurrentIndex(std::clamp(e.Alignment, 0, 2));
        for (int i = 0; i < 4; ++i) {
            m_textSides[i]->setChecked(e.Options & kSides[i]);
            m_rtfSides[i]->setChecked(e.Options & kSides[i]);
        }
        m_justify->setChecked(e.GetJustify());
        m_varHeight->setChecked(e.GetVarHeight());
        m_stretch->setChecked(e.GetOption5());
        m_aspect->setChecked(e.GetOption6());
        m_aspect->setVisible(e.GetOption5());
        const bool file = e.Kind == report::ekPicture;
        m_ownCopy->setChecked(file && e.GetOption7());
        m_ownCopy->setVisible(file);
        // an item's picture comes from its data, not from a file
        m_file->setVisible(file);
        m_file->setEditText(file ? QFileInfo(QString(e.Text).replace(u'\\', u'/')).fileName()
                                 : QString());
        const int colour = report::ColorToIndex(e.PenColor);
        m_lineColour->setCurrentIndex(colour);
        m_borderColour->setCurrentIndex(colour);
        m_fillColour->setCurrentIndex(report::ColorToIndex(e.BrushColor));
        m_fillStyle->setCurrentIndex(std::clamp(e.BrushStyle, 0, 7));
        m_lineStyle->setCurrentIndex(std::clamp(e.PenStyle, 0, 3));
        m_lineWidth->setValue(e.PenWidth);
        m_borderWidth->setValue(e.PenWidth);
        for (int i = 0; i < 7; ++i)
            m_lineBits[i]->setChecked(e.Options & (1 << i));
        m_barText->setText(e.Text);
        m_symbology->setCurrentIndex(barcodeTypeEntry(e.PenStyle));
        m_module->setCurrentIndex(barcodeModuleEntry(e.PenWidth));
        m_checkDigit->setChecked(e.GetOption5());
        m_printText->setChecked(e.GetOption6());
        m_paintIndex->setText(QString::number(e.Index));
        m_paintZoom->setText(QString::number(e.BrushStyle));
        // references show their display name; texts and formats are edited
        const bool named = e.Kind == report::ekItem || e.Kind == report::ekItemLabel ||
                           e.Kind == report::ekParameter || e.Kind == report::ekFunction;
        m_text->setText(named ? element->toolTip() : e.Text);
        m_text->setReadOnly(named);
        m_textElement = element;
        m_recordedText = e.Text;
    } else {
        m_textElement = nullptr;
    }
    showKindPanel(element);
    m_filling = false;
}

void PropertyPanel::showKindPanel(TSesPrvek* element) {
    QWidget* shown = nullptr;
    if (element) {
        const report::TVoranReportElement& e = *element->element();
        switch (e.Kind) {
        case report::ekItem:
            shown = e.IsPicture() ? m_picture : e.GetRtf() ? m_rtf : m_texts;
            break;
        case report::ekText:
        case report::ekItemLabel:
        case report::ekParameter:
        case report::ekVariable:
        case report::ekFunction:
            shown = m_texts;
            break;
        case report::ekPicture:
            shown = m_picture;
            break;
        case report::ekLine:
            shown = m_line;
            break;
        case report::ekFrame:
        case report::ekRoundFrame:
        case report::ekEllipse:
            shown = m_frame;
            break;
        case report::ekBarcode:
            shown = m_barcode;
            break;
        case report::ekDrawingArea:
            shown = m_paintBox;
            break;
        default:
            break;
        }
    }
    for (QWidget* panel : m_panels)
        panel->setVisible(panel == shown);
}

void PropertyPanel::clearElement() {
    m_textElement = nullptr;
    for (QWidget* panel : m_panels)
        panel->hide();
}

void PropertyPanel::showPosition(int left, int top) {
    m_position[0]->setText(QString::number(left));
    m_position[1]->setText(QString::number(top));
}

void PropertyPanel::showSize(int width, int height) {
    m_position[2]->setText(QString::number(width));
    m_position[3]->setText(QString::number(height));
}

void PropertyPanel::enablePosition(bool enable) {
    for (QLineEdit* field : m_position)
        field->setEnabled(enable);
}

void PropertyPanel::clearPosition() {
    for (QLineEdit* field : m_position)
        field->clear();
}

void PropertyPanel::enableZOrder(bool enable) {
    m_front->setEnabled(enable);
    m_back->setEnabled(enable);
}

// ---- recording typed text

bool PropertyPanel::takePendingText() {
    TSesPrvek* element = m_textElement;
    if (!element || element->element()->Text == m_recordedText) return false;
    m_recordedText = element->element()->Text;
    return true;
}

void PropertyPanel::textRecorded() {
    if (TSesPrvek* typed = m_textElement) m_recordedText = typed->element()->Text;
}

} // namespace designer
