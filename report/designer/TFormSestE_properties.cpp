// The designer window's property strip: one panel per element kind, filled from the primary
// selection and writing each change back to it (or to every multi-selected element of the
// kinds a control applies to) with its history step; the z-order buttons; the element dialog
// for one element, a bar code or the font of several; the user-function commands.

#include "platform/MessageSink.h"
#include "platform/PainterCanvas.h"
#include "report/designer/TDlgKonfPrvku.h"
#include "report/designer/TEditorSettings.h"
#include "report/designer/TFormSestE.h"
#include "report/designer/TFunkceDlg.h"
#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/barcode/sestbarc.h"
#include "report/engine/run/Dataset.h"
#include "report/engine/sest_lib.h"
#include "report/engine/sestzpr.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace designer {

namespace {

const char* const kColourNames[] = {"černá",         "kaštanová", "zelená",       "olivová",
                                    "ultramarínová", "purpurová", "šedozelená",   "šedá",
                                    "stříbrná",      "červená",   "žlutozelená",  "žlutá",
                                    "modrá",         "růžová",    "akvamarínová", "bílá"};

constexpr int kSides[] = {report::soLeft, report::soTop, report::soRight, report::soBottom};

// The kinds a control of the strip changes in a multiple selection.
constexpr report::ElementKind kTextKinds[] = {report::ekText,      report::ekItem,
                                              report::ekItemLabel, report::ekParameter,
                                              report::ekVariable,  report::ekFunction};
constexpr report::ElementKind kLineKinds[] = {report::ekLine};
constexpr report::ElementKind kFrameKinds[] = {report::ekFrame, report::ekRoundFrame,
                                               report::ekEllipse};

// The picture list is read from the template's folder each time it opens.
class PictureCombo : public QComboBox {
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

// A whole number typed into a field, or `fallback`.
int fieldNumber(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

// A size typed into a dialog: unchanged when not a number, and at least 3 (an element of no
// pixels cannot be reached with the mouse).
int fieldSize(const QString& text, int current) {
    const int value = fieldNumber(text, current);
    return value <= 0 ? 3 : value;
}

int barcodeTypeEntry(int type) {
    if (type >= 0 && type < report::BarcodeTypeCount) return type;
    QStringList names;
    report::FillBarcodeTypes(names);
    return int(names.indexOf(QStringLiteral("EAN 13")));
}

int barcodeModuleEntry(int module) {
    return module - 4 >= 0 && module - 4 <= 12 ? module - 4 : 4;
}

bool isTextKind(int kind) {
    return kind >= report::ekText && kind <= report::ekFunction;
}

void setBit(int& bits, int bit, bool on) {
    bits = on ? bits | bit : bits & ~bit;
}

// The font of a dialog into an element: the element keeps its own angle.
void takeFont(report::TVoranReportElement& element, const platform::TFont& font) {
    const int escapement = element.Font.escapement;
    element.Font = font;
    element.Font.height = 0;
    element.Font.escapement = escapement;
}

} // namespace

struct TFormSestE::PropertyControls : QObject {
    using QObject::QObject;

    QWidget* strip = nullptr;
    QToolButton* front = nullptr;
    QToolButton* back = nullptr;

    QWidget* texts = nullptr;
    QToolButton* font = nullptr;
    QComboBox* alignment = nullptr;
    QLineEdit* text = nullptr;
    QToolButton* textSides[4] = {};

    QWidget* rtf = nullptr;
    QCheckBox* justify = nullptr;
    QCheckBox* varHeight = nullptr;
    QToolButton* rtfSides[4] = {};

    QWidget* picture = nullptr;
    PictureCombo* file = nullptr;
    QCheckBox* stretch = nullptr;
    QCheckBox* aspect = nullptr;
    QCheckBox* ownCopy = nullptr;

    QWidget* line = nullptr;
    QComboBox* lineColour = nullptr;
    QSpinBox* lineWidth = nullptr;
    QComboBox* lineStyle = nullptr;
    QToolButton* lineBits[7] = {};

    QWidget* frame = nullptr;
    QComboBox* fillColour = nullptr;
    QComboBox* fillStyle = nullptr;
    QComboBox* borderColour = nullptr;
    QSpinBox* borderWidth = nullptr;

    QWidget* barcode = nullptr;
    QComboBox* symbology = nullptr;
    QCheckBox* checkDigit = nullptr;
    QComboBox* module = nullptr;
    QCheckBox* printText = nullptr;
    QLineEdit* barText = nullptr;

    QWidget* paintBox = nullptr;
    QLineEdit* paintIndex = nullptr;
    QLineEdit* paintZoom = nullptr;

    // The element whose text the strip edits, and its text at the last recorded step.
    QPointer<TSesPrvek> textElement;
    QString recordedText;
    // Set while the strip is filled, so that no control takes its own new value for a change.
    bool filling = false;

    QWidget* panels[7] = {};
};

// ---- building

void TFormSestE::buildPropertyPanel() {
    auto* c = new PropertyControls(this);
    m_properties = c;
    c->strip = named(new QWidget(this), "PanelObjektu");
    auto* row = new QHBoxLayout(c->strip);
    row->setContentsMargins(0, 0, 0, 0);
    c->front = named(new QToolButton, "SBPrenesP");
    c->front->setText(QString::fromUtf8("Přenést dopředu"));
    c->back = named(new QToolButton, "SBPrenesZ");
    c->back->setText(QString::fromUtf8("Přesunout dozadu"));
    row->addWidget(c->front);
    row->addWidget(c->back);
    const auto panel = [&](const char* name) {
        auto* widget = named(new QWidget, name);
        auto* layout = new QHBoxLayout(widget);
        layout->setContentsMargins(4, 0, 4, 0);
        row->addWidget(widget);
        return layout;
    };
    const auto label = [](const char* text) { return new QLabel(QString::fromUtf8(text)); };

    QHBoxLayout* p = panel("PanelTexty");
    c->font = named(new QToolButton, "SBPismo");
    c->font->setText(QString::fromUtf8("Písmo..."));
    c->alignment = named(new QComboBox, "CBZarovnani");
    c->alignment->addItems(
        {QStringLiteral("Vlevo"), QStringLiteral("Vpravo"), QString::fromUtf8("Uprostřed")});
    c->text = named(new QLineEdit, "EditText");
    c->text->setMinimumWidth(200);
    p->addWidget(c->font);
    p->addWidget(c->alignment);
    p->addWidget(c->text, 1);
    const QString sideTexts[] = {QStringLiteral("L"), QStringLiteral("H"), QStringLiteral("P"),
                                 QStringLiteral("D")};
    for (int i = 0; i < 4; ++i)
        p->addWidget(c->textSides[i] =
                         sideButton(QStringLiteral("SBCarT%1").arg(i + 1), sideTexts[i]));

    p = panel("PanelRtf");
    p->addWidget(c->justify =
                     named(new QCheckBox(QString::fromUtf8("Zarovnávat do bloku")), "CbZarBlok"));
    p->addWidget(c->varHeight =
                     named(new QCheckBox(QString::fromUtf8("Proměnná výška")), "CbPromVys"));
    for (int i = 0; i < 4; ++i)
        p->addWidget(c->rtfSides[i] =
                         sideButton(QStringLiteral("SBCarR%1").arg(i + 1), sideTexts[i]));

    p = panel("PanelObraz");
    c->file = named(new PictureCombo, "CBObrazFile");
    c->file->setEditable(true);
    c->file->setInsertPolicy(QComboBox::NoInsert);
    c->file->setMinimumWidth(180);
    c->file->names = [this] {
        QStringList names;
        if (m_report) m_report->NactiSeznamObrazu(names);
        return names;
    };
    p->addWidget(c->file);
    p->addWidget(c->stretch = named(new QCheckBox(QStringLiteral("Podle okna")), "CBObrStretch"));
    p->addWidget(
        c->aspect = named(new QCheckBox(QString::fromUtf8("Zachovat poměr stran")), "CBObrPomer"));
    p->addWidget(c->ownCopy =
                     named(new QCheckBox(QString::fromUtf8("Povolit změnu")), "CBObrVariable"));

    p = panel("PanelCary");
    p->addWidget(c->lineColour = colourCombo("CBBarvaCary"));
    c->lineWidth = named(new QSpinBox, "SBSirkaCary");
    c->lineWidth->setRange(1, 16);
    c->lineWidth->setKeyboardTracking(false); // a typed width counts once, not per digit
    p->addWidget(c->lineWidth);
    c->lineStyle = named(new QComboBox, "CBStylCary");
    for (const char* style : {"plná", "čárkovaná", "tečkovaná", "čerchovaná"})
        c->lineStyle->addItem(QString::fromUtf8(style));
    p->addWidget(c->lineStyle);
    const char* const bitTexts[] = {"L", "H", "P", "D", "/", "\\", "O"};
    for (int i = 0; i < 7; ++i) {
        const QString name =
            i == 6 ? QStringLiteral("SbCar7") : QStringLiteral("SBCar%1").arg(i + 1);
        p->addWidget(c->lineBits[i] = sideButton(name, QString::fromLatin1(bitTexts[i])));
    }

    p = panel("PanelObdelniky");
    p->addWidget(label("Výplň:"));
    p->addWidget(c->fillColour = colourCombo("CBRamBarvaVypl"));
    c->fillStyle = named(new QComboBox, "CBRamStyl");
    int style = 0;
    for (const char* name :
         {"plné", "prázdné", "vodorovné", "svislé", "šikmé F", "šikmé B", "svis/vod", "šikmé"})
        c->fillStyle->addItem(brushSample(style++), QString::fromUtf8(name));
    p->addWidget(c->fillStyle);
    p->addWidget(label("Okraj:"));
    p->addWidget(c->borderColour = colourCombo("CBRamBarvaOkr"));
    c->borderWidth = named(new QSpinBox, "SERamSirOkr");
    c->borderWidth->setRange(0, 8);
    c->borderWidth->setKeyboardTracking(false);
    p->addWidget(c->borderWidth);

    p = panel("PanelBarCode");
    c->symbology = named(new QComboBox, "CBTypBarCode");
    QStringList list;
    report::FillBarcodeTypes(list);
    c->symbology->addItems(list);
    p->addWidget(c->symbology);
    p->addWidget(c->checkDigit =
                     named(new QCheckBox(QString::fromUtf8("Kontrolní součet")), "CBCheckSum"));
    c->module = named(new QComboBox, "CBSirkaBarCary");
    list.clear();
    report::FillBarcodeModules(list);
    c->module->addItems(list);
    p->addWidget(c->module);
    p->addWidget(c->printText = named(new QCheckBox(QStringLiteral("Text")), "CBBarText"));
    p->addWidget(c->barText = named(new QLineEdit, "EditBarText"), 1);

    p = panel("PanelPaintBox");
    p->addWidget(label("Index:"));
    p->addWidget(c->paintIndex = named(new QLineEdit, "EPaintBoxIndex"));
    p->addWidget(label("Zoom:"));
    p->addWidget(c->paintZoom = named(new QLineEdit, "EPaintBoxZoom"));
    for (QLineEdit* edit : {c->paintIndex, c->paintZoom})
        edit->setMaximumWidth(60);
    row->addStretch(1);

    int i = 0;
    for (const char* name : {"PanelTexty", "PanelRtf", "PanelObraz", "PanelCary", "PanelObdelniky",
                             "PanelBarCode", "PanelPaintBox"})
        c->panels[i++] = c->strip->findChild<QWidget*>(QString::fromLatin1(name));
    c->texts = c->panels[0];
    c->rtf = c->panels[1];
    c->picture = c->panels[2];
    c->line = c->panels[3];
    c->frame = c->panels[4];
    c->barcode = c->panels[5];
    c->paintBox = c->panels[6];
    for (QWidget* kindPanel : c->panels)
        kindPanel->hide();
    static_cast<QVBoxLayout*>(layout())->addWidget(c->strip);

    connectTextControls();
    connectGraphicControls();
    connect(c->front, &QToolButton::clicked, this, [this] { moveInZOrder(true); });
    connect(c->back, &QToolButton::clicked, this, [this] { moveInZOrder(false); });
    connect(action(QStringLiteral("ActionFnInsert")), &QAction::triggered, this,
            &TFormSestE::insertFunction);
    connect(action(QStringLiteral("ActionFnEdit")), &QAction::triggered, this,
            &TFormSestE::editFunction);
    connect(action(QStringLiteral("ActionFnDelete")), &QAction::triggered, this,
            &TFormSestE::deleteFunction);
    connect(m_functionCombo, &QComboBox::currentIndexChanged, this,
            &TFormSestE::refreshFunctionActions);
    refreshFunctionActions();
}

void TFormSestE::connectTextControls() {
    PropertyControls& c = *m_properties;
    connect(c.font, &QToolButton::clicked, this, &TFormSestE::editSelectionFont);
    connect(c.alignment, &QComboBox::activated, this, [this](int entry) {
        changeProperty(ckAlignment, kTextKinds,
                       [entry](report::TVoranReportElement& e) { e.Alignment = entry; });
    });
    for (int i = 0; i < 4; ++i) {
        connect(c.textSides[i], &QToolButton::clicked, this, [this, i](bool on) {
            changeProperty(ckElementSettings, kTextKinds, [i, on](report::TVoranReportElement& e) {
                setBit(e.Options, kSides[i], on);
            });
        });
        connect(c.rtfSides[i], &QToolButton::clicked, this, [this, i](bool on) {
            changeProperty(ckElementSettings, {}, [i, on](report::TVoranReportElement& e) {
                setBit(e.Options, kSides[i], on);
            });
        });
    }
    connect(c.justify, &QCheckBox::clicked, this, [this](bool on) {
        changeProperty(ckElementSettings, {},
                       [on](report::TVoranReportElement& e) { e.SetJustify(on); });
    });
    connect(c.varHeight, &QCheckBox::clicked, this, [this](bool on) {
        changeProperty(ckElementSettings, {},
                       [on](report::TVoranReportElement& e) { e.SetVarHeight(on); });
    });

    // Texts change the element while typing; Enter records the step, and so does leaving the
    // field with a text that no step holds yet.
    const auto typed = [this](const QString& text, bool barcode) {
        TSesPrvek* element = m_properties->textElement;
        if (m_properties->filling || !element || element != primarySelection()) return;
        if (barcode)
            element->element()->SetBarcodeText(text);
        else
            element->element()->SetSourceText(text);
        element->update();
    };
    const auto entered = [this](QLineEdit* edit) {
        TSesPrvek* element = m_properties->textElement;
        if (!element || edit->isReadOnly()) return;
        element->update();
        m_properties->recordedText = element->element()->Text;
        RecordChange(ckText);
    };
    connect(c.text, &QLineEdit::textEdited, this, [typed](const QString& t) { typed(t, false); });
    connect(c.barText, &QLineEdit::textEdited, this,
            [typed](const QString& t) { typed(t, true); });
    for (QLineEdit* edit : {c.text, c.barText}) {
        connect(edit, &QLineEdit::returnPressed, this, [entered, edit] { entered(edit); });
        connect(edit, &QLineEdit::editingFinished, this, &TFormSestE::commitPendingText);
    }
}

void TFormSestE::connectGraphicControls() {
    PropertyControls& c = *m_properties;
    using Element = report::TVoranReportElement;
    connect(c.lineColour, &QComboBox::activated, this, [this](int entry) {
        changeProperty(ckElementSettings, kLineKinds,
                       [entry](Element& e) { e.PenColor = report::IndexToColor(entry); });
    });
    connect(c.lineStyle, &QComboBox::activated, this, [this](int entry) {
        changeProperty(ckElementSettings, kLineKinds,
                       [entry](Element& e) { e.SetPenStyle(entry); });
    });
    connect(c.lineWidth, &QSpinBox::valueChanged, this, [this](int width) {
        if (m_properties->filling) return;
        // a wide line is always solid
        if (width > 1) m_properties->lineStyle->setCurrentIndex(0);
        changeProperty(ckElementSettings, kLineKinds,
                       [width](Element& e) { e.SetPenWidth(width); });
    });
    for (int i = 0; i < 7; ++i)
        connect(c.lineBits[i], &QToolButton::clicked, this, [this, i](bool on) {
            changeProperty(ckElementSettings, kLineKinds,
                           [i, on](Element& e) { setBit(e.Options, 1 << i, on); });
        });
    connect(c.borderColour, &QComboBox::activated, this, [this](int entry) {
        changeProperty(ckElementSettings, kFrameKinds,
                       [entry](Element& e) { e.PenColor = report::IndexToColor(entry); });
    });
    connect(c.fillColour, &QComboBox::activated, this, [this](int entry) {
        changeProperty(ckElementSettings, kFrameKinds,
                       [entry](Element& e) { e.BrushColor = report::IndexToColor(entry); });
    });
    connect(c.fillStyle, &QComboBox::activated, this, [this](int entry) {
        changeProperty(ckElementSettings, kFrameKinds,
                       [entry](Element& e) { e.BrushStyle = entry; });
    });
    connect(c.borderWidth, &QSpinBox::valueChanged, this, [this](int width) {
        if (m_properties->filling) return;
        changeProperty(ckElementSettings, kFrameKinds,
                       [width](Element& e) { e.SetPenWidth(width); });
    });

    // pictures: the primary alone, never a multiple selection
    const auto pictureChange = [this](const std::function<void(Element&)>& change) {
        const TSesPrvek* primary = primarySelection();
        if (!primary || primary->multi()) return;
        changeProperty(ckElementSettings, {}, change);
    };
    const auto loadPicture = [this, pictureChange] {
        const TSesPrvek* primary = primarySelection();
        if (!primary || primary->Kind() != report::ekPicture) return;
        const QString template_ = m_report ? m_report->GetPredlohaFileName() : QString();
        const QString folder = template_.isEmpty()
                                   ? QString()
                                   : QFileInfo(template_).absolutePath() + QLatin1Char('/');
        const QString path = folder + m_properties->file->currentText();
        if (primary->element()->Text == path) return;
        pictureChange([path](Element& e) { e.LoadPicture(path); });
    };
    connect(c.file, &QComboBox::activated, this, loadPicture);
    connect(c.file->lineEdit(), &QLineEdit::returnPressed, this, loadPicture);
    const std::pair<QCheckBox*, int> pictureOptions[] = {{c.stretch, report::soOption5},
                                                         {c.aspect, report::soOption6},
                                                         {c.ownCopy, report::soOption7}};
    for (const auto& option : pictureOptions) {
        const int bit = option.second;
        connect(option.first, &QCheckBox::clicked, this, [this, pictureChange, bit](bool on) {
            pictureChange([bit, on](Element& e) { setBit(e.Options, bit, on); });
            m_properties->aspect->setVisible(m_properties->stretch->isChecked());
        });
    }

    connect(c.symbology, &QComboBox::activated, this, [this](int entry) {
        changeProperty(ckElementSettings, {}, [entry](Element& e) { e.PenStyle = entry; });
    });
    connect(c.module, &QComboBox::activated, this, [this](int entry) {
        changeProperty(ckElementSettings, {}, [entry](Element& e) { e.PenWidth = entry + 4; });
    });
    connect(c.checkDigit, &QCheckBox::clicked, this, [this](bool on) {
        changeProperty(ckElementSettings, {}, [on](Element& e) { e.SetOption5(on); });
    });
    connect(c.printText, &QCheckBox::clicked, this, [this](bool on) {
        changeProperty(ckElementSettings, {}, [on](Element& e) { e.SetOption6(on); });
    });

    // the drawing area's index and zoom, taken when the field is left or Enter is pressed
    const auto paintBoxChange = [this] {
        const TSesPrvek* primary = primarySelection();
        if (m_properties->filling || !primary || primary->Kind() != report::ekDrawingArea) return;
        const int index = fieldNumber(m_properties->paintIndex->text(), 0);
        const int zoom = std::clamp(fieldNumber(m_properties->paintZoom->text(), 1), 1, 6);
        const Element& e = *primary->element();
        if (index == e.Index && zoom == e.BrushStyle) return;
        changeProperty(ckElementSettings, {}, [index, zoom](Element& e) {
            e.Index = index;
            e.BrushStyle = zoom;
            e.SetOption5(true);
        });
    };
    for (QLineEdit* edit : {c.paintIndex, c.paintZoom})
        connect(edit, &QLineEdit::editingFinished, this, paintBoxChange);
}

// ---- showing

void TFormSestE::ShowProperties(TSesPrvek* element) {
    commitPendingText();
    PropertyControls& c = *m_properties;
    c.filling = true;
    if (element) {
        const report::TVoranReportElement& e = *element->element();
        m_editX->setText(QString::number(e.Left));
        m_editY->setText(QString::number(e.Top));
        m_editW->setText(QString::number(e.Width));
        m_editH->setText(QString::number(e.Height));
        c.alignment->setCurrentIndex(std::clamp(e.Alignment, 0, 2));
        for (int i = 0; i < 4; ++i) {
            c.textSides[i]->setChecked(e.Options & kSides[i]);
            c.rtfSides[i]->setChecked(e.Options & kSides[i]);
        }
        c.justify->setChecked(e.GetJustify());
        c.varHeight->setChecked(e.GetVarHeight());
        c.stretch->setChecked(e.GetOption5());
        c.aspect->setChecked(e.GetOption6());
        c.aspect->setVisible(e.GetOption5());
        const bool file = e.Kind == report::ekPicture;
        c.ownCopy->setChecked(file && e.GetOption7());
        c.ownCopy->setVisible(file);
        // an item's picture comes from its data, not from a file
        c.file->setVisible(file);
        c.file->setEditText(file ? QFileInfo(QString(e.Text).replace(u'\\', u'/')).fileName()
                                 : QString());
        const int colour = report::ColorToIndex(e.PenColor);
        c.lineColour->setCurrentIndex(colour);
        c.borderColour->setCurrentIndex(colour);
        c.fillColour->setCurrentIndex(report::ColorToIndex(e.BrushColor));
        c.fillStyle->setCurrentIndex(std::clamp(e.BrushStyle, 0, 7));
        c.lineStyle->setCurrentIndex(std::clamp(e.PenStyle, 0, 3));
        c.lineWidth->setValue(e.PenWidth);
        c.borderWidth->setValue(e.PenWidth);
        for (int i = 0; i < 7; ++i)
            c.lineBits[i]->setChecked(e.Options & (1 << i));
        c.barText->setText(e.Text);
        c.symbology->setCurrentIndex(barcodeTypeEntry(e.PenStyle));
        c.module->setCurrentIndex(barcodeModuleEntry(e.PenWidth));
        c.checkDigit->setChecked(e.GetOption5());
        c.printText->setChecked(e.GetOption6());
        c.paintIndex->setText(QString::number(e.Index));
        c.paintZoom->setText(QString::number(e.BrushStyle));
        // references show their display name; texts and formats are edited
        const bool named = e.Kind == report::ekItem || e.Kind == report::ekItemLabel ||
                           e.Kind == report::ekParameter || e.Kind == report::ekFunction;
        c.text->setText(named ? element->toolTip() : e.Text);
        c.text->setReadOnly(named);
        c.textElement = element;
        c.recordedText = e.Text;
    } else {
        c.textElement = nullptr;
    }
    showKindPanel(element);
    c.filling = false;
    EnableSelectionControls(element != nullptr);
}

void TFormSestE::showKindPanel(TSesPrvek* element) {
    PropertyControls& c = *m_properties;
    QWidget* shown = nullptr;
    if (element) {
        const report::TVoranReportElement& e = *element->element();
        switch (e.Kind) {
        case report::ekItem:
            shown = e.IsPicture() ? c.picture : e.GetRtf() ? c.rtf : c.texts;
            break;
        case report::ekText:
        case report::ekItemLabel:
        case report::ekParameter:
        case report::ekVariable:
        case report::ekFunction:
            shown = c.texts;
            break;
        case report::ekPicture:
            shown = c.picture;
            break;
        case report::ekLine:
            shown = c.line;
            break;
        case report::ekFrame:
        case report::ekRoundFrame:
        case report::ekEllipse:
            shown = c.frame;
            break;
        case report::ekBarcode:
            shown = c.barcode;
            break;
        case report::ekDrawingArea:
            shown = c.paintBox;
            break;
        default:
            break;
        }
    }
    for (QWidget* panel : c.panels)
        panel->setVisible(panel == shown);
}

void TFormSestE::showSelectionState(bool enable) {
    if (!m_properties) return;
    const TSesPrvek* primary = primarySelection();
    const bool single = enable && primary && !primary->multi();
    m_properties->front->setEnabled(single);
    m_properties->back->setEnabled(single);
    if (!enable) {
        commitPendingText();
        m_properties->textElement = nullptr;
        for (QWidget* panel : m_properties->panels)
            panel->hide();
    }
    if (m_tree) m_tree->viewport()->update();
}

// ---- changing

QList<TSesPrvek*> TFormSestE::propertyTargets(std::span<const report::ElementKind> kinds) const {
    TSesPrvek* const primary = primarySelection();
    if (!primary) return {};
    if (!primary->multi() || kinds.size() == 0) return {primary};
    QList<TSesPrvek*> targets;
    for (int i = 0; i < m_paper->PocetPrvku(); ++i) {
        TSesPrvek* element = m_paper->Prvek(i);
        if (element->multi() &&
            std::find(kinds.begin(), kinds.end(), element->Kind()) != kinds.end())
            targets << element;
    }
    return targets;
}

void TFormSestE::changeProperty(ChangeKind step, std::span<const report::ElementKind> kinds,
                                const std::function<void(report::TVoranReportElement&)>& change) {
    if (m_properties->filling) return;
    const QList<TSesPrvek*> targets = propertyTargets(kinds);
    if (targets.isEmpty()) return;
    for (TSesPrvek* element : targets) {
        change(*element->element());
        element->SetZoom(m_paper->zoom());
    }
    // a picture's file is its text: the step holds it, no typing is left to record
    if (TSesPrvek* typed = m_properties->textElement)
        m_properties->recordedText = typed->element()->Text;
    RecordChange(step);
}

void TFormSestE::commitPendingText() {
    if (!m_properties) return;
    TSesPrvek* element = m_properties->textElement;
    if (!element || element->element()->Text == m_properties->recordedText) return;
    m_properties->recordedText = element->element()->Text;
    RecordChange(ckText);
}

void TFormSestE::moveInZOrder(bool front) {
    TSesPrvek* const primary = primarySelection();
    if (!primary) return;
    m_paper->ZOrder(primary, front);
    BuildElementTree();
    // no step of its own, but the change must reach the file
    m_document.rewriteCurrent(storedText(), true);
}

// ---- element dialogs

void TFormSestE::editSelectionFont() {
    const TSesPrvek* primary = primarySelection();
    if (!primary) return;
    TDlgKonfPrvku dialog(this);
    dialog.HideBasicPages();
    dialog.LoadFont(primary->element()->Font);
    if (dialog.exec() != QDialog::Accepted) return;
    const platform::TFont font = dialog.WorkingFont();
    changeProperty(ckFont, kTextKinds,
                   [&font](report::TVoranReportElement& e) { takeFont(e, font); });
}

void TFormSestE::EditDataElement(TSesPrvek* element) {
    if (!element || !m_report) return;
    report::TVoranReportElement& e = *element->element();
    const int kind = e.Kind;
    if (!isTextKind(kind)) return;
    QStringList choices;
    const bool descriptions = EditorSettings().PopisyPol;
    switch (kind) {
    case report::ekItem:
    case report::ekItemLabel:
        for (int i = 0; i < m_report->GetItemCount(); ++i)
            choices << u'#' + QString::number(i + 1).leftJustified(3) +
                           (descriptions ? m_report->GetItemDescription(i)
                                         : m_report->GetItemName(i));
        break;
    case report::ekParameter:
        for (int i = 0; i < m_report->Parametry().size(); ++i)
            choices << ElementName(report::ekParameter, i);
        break;
    case report::ekVariable:
        for (const char* fixed :
             {"Datum tisku", "Čas tisku", "Číslo řádku", "Číslo stránky", "Počet stran"})
            choices << QString::fromUtf8(fixed);
        for (int k = 1; k <= m_groups.Count(); ++k)
            choices << QString::fromUtf8("Číslo ř. ve sk.") + QString::number(k)
                    << QString::fromUtf8("Číslo skupiny ") + QString::number(k);
        break;
    case report::ekFunction:
        for (int i = 0; i < m_report->Funkce().Count(); ++i)
            choices << m_report->Funkce().GetReference(i);
        break;
    default:
        break;
    }
    const bool followsList =
        kind == report::ekItem || kind == report::ekItemLabel || kind == report::ekFunction;
    if (followsList && (e.Index < 0 || e.Index >= choices.size())) return;
    commitPendingText();

    TDlgKonfPrvku dialog(this);
    dialog.setReport(m_report, &m_report->Funkce(), EditorSettings().SledPodle, m_groups.Count());
    dialog.HideBarcodePage();
    dialog.LoadFont(e.Font);
    const auto edit = [&dialog](const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    const auto box = [&dialog](const QString& name) { return dialog.findChild<QCheckBox*>(name); };
    edit("EdL")->setText(QString::number(e.Left));
    edit("EdH")->setText(QString::number(e.Top));
    edit("EdS")->setText(QString::number(e.Width));
    edit("EdV")->setText(QString::number(e.Height));
    edit("ERoztec")->setText(QString::number(e.Spacing));
    edit("EAngleT")->setText(QString::number(e.Angle));
    edit("EdTyp")->setText(TSesPrvek::KindName(kind));
    dialog.findChild<QComboBox*>(QStringLiteral("CBZarovnani"))
        ->setCurrentIndex(std::clamp(e.Alignment, 0, 2));
    for (int i = 0; i < 4; ++i)
        dialog.findChild<QToolButton*>(QStringLiteral("SBCarT%1").arg(i + 1))
            ->setChecked(e.Options & kSides[i]);

    dialog.ShowKindPanel(TDlgKonfPrvku::PanelText);
    auto* index = dialog.findChild<QComboBox*>(QStringLiteral("CbIndex"));
    auto* follow = dialog.findChild<QWidget*>(QStringLiteral("RGPodle"));
    if (kind == report::ekText) {
        index->hide();
        follow->hide();
        edit("EditText")->setText(e.Text);
        edit("EditText")->show();
    } else {
        index->addItems(choices);
        index->setCurrentIndex(e.Index >= 0 && e.Index < choices.size() ? e.Index : -1);
        follow->setVisible(followsList);
        dialog
            .findChild<QRadioButton*>(e.GetRefName().isEmpty() ? QStringLiteral("RBPodleCisla")
                                                               : QStringLiteral("RBPodleNazvu"))
            ->setChecked(true);
    }
    const auto check = [&box](const char* panel, int n, bool on) {
        box(QStringLiteral("%1_%2").arg(QLatin1String(panel)).arg(n))->setChecked(on);
    };
    int panel = TDlgKonfPrvku::PanelText;
    if (kind == report::ekItem) {
        const int type = m_report->GetDataType(e.Index);
        if (type == report::ftBlob || type == report::ftGraphic)
            panel = TDlgKonfPrvku::PanelPicture;
        else if (type == report::ftMemo)
            panel = TDlgKonfPrvku::PanelMemo;
    } else if (kind == report::ekVariable) {
        panel = TDlgKonfPrvku::PanelFunction;
    }
    dialog.ShowKindPanel(panel);
    if (kind != report::ekFunction) {
        check("PaDvText", 1, e.GetMultiline());
        check("PaDvText", 2, e.GetVarHeight());
        check("PaDvText", 3, e.GetJustify());
        check("PaDvMemo", 1, e.GetJustify());
        check("PaDvMemo", 2, e.GetVarHeight());
        check("PaDvMemo", 3, e.GetRtf());
        check("PaDvGraphic", 1, e.GetOption5());
        check("PaDvGraphic", 2, e.GetOption6());
        check("PaDvFunkce", 1, e.GetMultiline());
        check("PaDvFunkce", 2, e.GetVarHeight());
        check("PaDvFunkce", 3, e.GetJustify());
    }
    if (dialog.exec() != QDialog::Accepted) return;
    takeDataDialog(dialog, element);
}

void TFormSestE::takeDataDialog(TDlgKonfPrvku& dialog, TSesPrvek* element) {
    report::TVoranReportElement& e = *element->element();
    const int kind = e.Kind;
    const auto text = [&dialog](const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    };
    const auto checked = [&dialog](const char* panel, int n) {
        return dialog
            .findChild<QCheckBox*>(QStringLiteral("%1_%2").arg(QLatin1String(panel)).arg(n))
            ->isChecked();
    };
    e.Alignment =
        std::max(dialog.findChild<QComboBox*>(QStringLiteral("CBZarovnani"))->currentIndex(), 0);
    if (kind == report::ekText) {
        e.Text = text("EditText");
    } else {
        const int index = dialog.findChild<QComboBox*>(QStringLiteral("CbIndex"))->currentIndex();
        if (index >= 0 && index != e.Index) {
            e.Index = index;
            element->setToolTip(ElementName(kind, index));
            if (kind == report::ekItem) {
                e.Value = m_report->GetValue(index);
                e.SetPicture(m_report->GetDataType(index) == report::ftGraphic
                                 ? m_report->GetPicture(index)
                                 : nullptr);
            }
        }
        const bool byName =
            dialog.findChild<QRadioButton*>(QStringLiteral("RBPodleNazvu"))->isChecked();
        QString reference;
        if (byName && (kind == report::ekItem || kind == report::ekItemLabel))
            reference = m_report->GetItemName(e.Index);
        else if (byName && kind == report::ekFunction && m_report->Funkce().GetFunkce(e.Index))
            reference = m_report->Funkce().GetFunkce(e.Index)->Name();
        e.SetRefName(reference);
    }
    if (kind != report::ekFunction) {
        switch (dialog.shownPanel()) {
        case TDlgKonfPrvku::PanelText:
            e.SetMultiline(checked("PaDvText", 1));
            e.SetVarHeight(checked("PaDvText", 2));
            e.SetJustify(checked("PaDvText", 3));
            break;
        case TDlgKonfPrvku::PanelMemo:
            e.SetJustify(checked("PaDvMemo", 1));
            e.SetVarHeight(checked("PaDvMemo", 2));
            e.SetRtf(checked("PaDvMemo", 3));
            break;
        case TDlgKonfPrvku::PanelPicture:
            e.SetOption5(checked("PaDvGraphic", 1));
            e.SetOption6(checked("PaDvGraphic", 2));
            break;
        case TDlgKonfPrvku::PanelFunction:
            e.SetMultiline(checked("PaDvFunkce", 1));
            e.SetVarHeight(checked("PaDvFunkce", 2));
            e.SetJustify(checked("PaDvFunkce", 3));
            break;
        default:
            break;
        }
    }
    if (kind == report::ekItem && m_report->GetDataType(e.Index) == report::ftMemo)
        e.SetMultiline(true);
    for (int i = 0; i < 4; ++i)
        setBit(e.Options, kSides[i],
               dialog.findChild<QToolButton*>(QStringLiteral("SBCarT%1").arg(i + 1))->isChecked());
    e.Left = fieldNumber(text("EdL"), e.Left);
    e.Top = fieldNumber(text("EdH"), e.Top);
    e.Width = fieldSize(text("EdS"), e.Width);
    e.Height = fieldSize(text("EdV"), e.Height);
    e.Spacing = fieldNumber(text("ERoztec"), 0);
    e.Angle = fieldNumber(text("EAngleT"), 0);
    // the font tab is part of what OK confirms
    takeFont(e, dialog.WorkingFont());
    element->SetZoom(m_paper->zoom());
    // the text now in the element is the dialog's, no typing of the strip
    m_properties->textElement = nullptr;
    ClearSelection();
    SelectElement(element);
    RecordChange(ckElementSettings);
}

void TFormSestE::EditGraphicElement(TSesPrvek* element) {
    if (!element || element->Kind() != report::ekBarcode) return;
    report::TVoranReportElement& e = *element->element();
    commitPendingText();
    TDlgKonfPrvku dialog(this);
    dialog.HideFontPages();
    const auto edit = [&dialog](const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    const auto combo = [&dialog](const char* name) {
        return dialog.findChild<QComboBox*>(QString::fromLatin1(name));
    };
    const auto box = [&dialog](const char* name) {
        return dialog.findChild<QCheckBox*>(QString::fromLatin1(name));
    };
    edit("EdBcL")->setText(QString::number(e.Left));
    edit("EdBcH")->setText(QString::number(e.Top));
    edit("EdBcS")->setText(QString::number(e.Width));
    edit("EdBcV")->setText(QString::number(e.Height));
    edit("EditBcBarText")->setText(e.Text);
    edit("EBcAngleT")->setText(QString::number(e.Angle));
    combo("CBBcTypBarCode")->setCurrentIndex(barcodeTypeEntry(e.PenStyle));
    combo("CBBcSirkaBarCary")->setCurrentIndex(barcodeModuleEntry(e.PenWidth));
    box("CBBcCheckSum")->setChecked(e.GetOption5());
    box("CBBcBarText")->setChecked(e.GetOption6());
    if (dialog.exec() != QDialog::Accepted) return;

    e.Left = fieldNumber(edit("EdBcL")->text(), e.Left);
    e.Top = fieldNumber(edit("EdBcH")->text(), e.Top);
    e.Width = fieldSize(edit("EdBcS")->text(), e.Width);
    e.Height = fieldSize(edit("EdBcV")->text(), e.Height);
    e.Angle = fieldNumber(edit("EBcAngleT")->text(), 0);
    e.PenStyle = combo("CBBcTypBarCode")->currentIndex();
    e.PenWidth = combo("CBBcSirkaBarCary")->currentIndex() + 4;
    e.SetOption5(box("CBBcCheckSum")->isChecked());
    e.SetOption6(box("CBBcBarText")->isChecked());
    e.SetBarcodeText(edit("EditBcBarText")->text());
    element->SetZoom(m_paper->zoom());
    m_properties->textElement = nullptr;
    ClearSelection();
    SelectElement(element);
    RecordChange(ckElementSettings);
}

// ---- user functions

void TFormSestE::refreshFunctionActions() {
    const int chosen = m_functionCombo->currentIndex();
    const int count = m_report ? m_report->Funkce().Count() : 0;
    action(QStringLiteral("ActionFnInsert"))->setEnabled(true);
    action(QStringLiteral("ActionFnEdit"))->setEnabled(chosen >= 0 && chosen < count);
    action(QStringLiteral("ActionFnDelete"))->setEnabled(count > 0 && chosen == count - 1);
}

void TFormSestE::insertFunction() {
    if (!m_report) return;
    action(QStringLiteral("ActionNoSelect"))->trigger();
    report::TListFunkci& functions = m_report->Funkce();
    report::TRadekFunkce& function = functions.AddFunction();
    if (TFunkceDlg::EditFunkce(this, m_report, &functions, EditorSettings().SledPodle,
                               m_groups.Count(), function) != 1) {
        functions.DeleteLast();
        return;
    }
    fillFunctionCombo();
    RecordChange(ckAddFunction);
}

void TFormSestE::editFunction() {
    if (!m_report) return;
    action(QStringLiteral("ActionNoSelect"))->trigger();
    const int chosen = m_functionCombo->currentIndex();
    report::TListFunkci& functions = m_report->Funkce();
    report::TRadekFunkce* function = functions.GetFunkce(chosen);
    if (!function || TFunkceDlg::EditFunkce(this, m_report, &functions, EditorSettings().SledPodle,
                                            m_groups.Count(), *function) != 1)
        return;
    // a new title renames the elements that show the function
    for (int i = 0; i < m_paper->PocetPrvku(); ++i) {
        TSesPrvek* element = m_paper->Prvek(i);
        if (element->Kind() == report::ekFunction)
            element->setToolTip(ElementName(report::ekFunction, element->Index()));
    }
    fillFunctionCombo();
    m_functionCombo->setCurrentIndex(chosen);
    RecordChange(ckEditFunction);
    BuildElementTree();
}

void TFormSestE::deleteFunction() {
    if (!m_report || m_report->Funkce().Count() == 0) return;
    if (sink().ShowBox(report::LoadText(report::ReportText::DeleteFunctionQuestion),
                       report::LoadText(report::ReportText::CaptionConfirm),
                       platform::MessageButtons::YesNo,
                       platform::MessageIcon::Question) != platform::MessageAnswer::Yes)
        return;
    action(QStringLiteral("ActionNoSelect"))->trigger();
    m_report->Funkce().DeleteLast();
    fillFunctionCombo();
    RecordChange(ckDeleteFunction);
}

} // namespace designer
