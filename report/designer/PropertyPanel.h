#pragma once
// The designer window's property panel: the position fields of the primary selection and the
// strip of one panel per element kind (texts, rich text, picture, line, frame, bar code,
// drawing area), with the z-order buttons. It fills its controls from the element it shows
// and tells the window what they change: a change of the element's values (the window applies
// it to the selection and records the step), a typed text that is complete, a position
// typed, the font dialog or a z-order move asked for. Texts change the shown element while
// they are typed; the step is recorded on Enter or when the field is left.

#include "report/designer/model/TListVariant.h"
#include "report/engine/template/sestavyt_model.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <span>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QToolButton;

namespace report {
class TSestavaTyp;
}

namespace designer {

class DesignerEvents;
class TSesPrvek;

// One change a control of the strip makes: `apply` to the primary selection, or, when it is
// multiply selected and `kinds` are named, to every multi-selected element of those kinds;
// then a history step `step`.
struct PropertyChange {
    ChangeKind step = ckElementSettings;
    std::span<const report::ElementKind> kinds;
    std::function<void(report::TVoranReportElement&)> apply;
};

class PropertyPanel : public QWidget {
    Q_OBJECT

public:
    // The kinds the text controls change in a multiple selection.
    static constexpr report::ElementKind kTextKinds[] = {report::ekText,      report::ekItem,
                                                         report::ekItemLabel, report::ekParameter,
                                                         report::ekVariable,  report::ekFunction};
    // The frame sides in the order of the side buttons: left, top, right, bottom.
    static constexpr int kSides[] = {report::soLeft, report::soTop, report::soRight,
                                     report::soBottom};

    // `selection` answers which element is the primary selection.
    PropertyPanel(const DesignerEvents& selection, QWidget* parent);

    // The report whose template folder the picture list reads; may be null.
    void setReport(report::TSestavaTyp* report) { m_report = report; }
    // The position fields stand in the window's row of zoom and data stepping: they are
    // added to `row` here.
    void placePositionFields(QBoxLayout& row);

    // Fills the position fields and the strip from `element` and shows the panel of its kind;
    // null hides the kind panels and edits no element's text.
    void showElement(TSesPrvek* element);
    // Without a selection: no element's text edited, no kind panel shown.
    void clearElement();
    bool filling() const { return m_filling; }
    // The primary's position (Left, Top) and size (Width, Height) in the fields.
    void showPosition(int left, int top);
    void showSize(int width, int height);
    void enablePosition(bool enable);
    // Disabled fields show no values of an element that may be gone.
    void clearPosition();
    void enableZOrder(bool enable);

    // True once when the shown element's text was typed and no step holds it yet; it counts
    // as recorded afterwards.
    bool takePendingText();
    // The shown element's text is in the step just recorded.
    void textRecorded();
    // The text now in the element comes from elsewhere (a dialog): no typing to record.
    void forgetText() { m_textElement = nullptr; }

    // Shared with the window's element dialogs, which show the same values.
    // A whole number typed into a field, or `fallback`.
    static int fieldNumber(const QString& text, int fallback);
    // The entries of the bar-code type and module-width lists for an element's values.
    static int barcodeTypeEntry(int type);
    static int barcodeModuleEntry(int module);
    static void setBit(int& bits, int bit, bool on);

signals:
    void changeRequested(const designer::PropertyChange& change);
    // A typed text is complete (Enter, or the field left with a text no step holds).
    void textEntered();
    // Enter in position field `field` (0 X, 1 Y, 2 W, 3 H) with its text.
    void positionEntered(int field, const QString& text);
    // A position field was left: it shows the element's values again.
    void positionLeft();
    void fontRequested();
    void zOrderRequested(bool front);

private:
    class PictureCombo;

    void buildPositionFields();
    void buildStrip();
    void connectTextControls();
    void connectGraphicControls();
    void connectPictureControls();
    void request(ChangeKind step, std::span<const report::ElementKind> kinds,
                 std::function<void(report::TVoranReportElement&)> apply);
    void showKindPanel(TSesPrvek* element);

    const DesignerEvents& m_selection;
    report::TSestavaTyp* m_report = nullptr;

    QWidget* m_positionLabels[4] = {};
    QLineEdit* m_position[4] = {};

    QToolButton* m_front = nullptr;
    QToolButton* m_back = nullptr;

    QWidget* m_texts = nullptr;
    QToolButton* m_font = nullptr;
    QComboBox* m_alignment = nullptr;
    QLineEdit* m_text = nullptr;
    QToolButton* m_textSides[4] = {};

    QWidget* m_rtf = nullptr;
    QCheckBox* m_justify = nullptr;
    QCheckBox* m_varHeight = nullptr;
    QToolButton* m_rtfSides[4] = {};

    QWidget* m_picture = nullptr;
    PictureCombo* m_file = nullptr;
    QCheckBox* m_stretch = nullptr;
    QCheckBox* m_aspect = nullptr;
    QCheckBox* m_ownCopy = nullptr;

    QWidget* m_line = nullptr;
    QComboBox* m_lineColour = nullptr;
    QSpinBox* m_lineWidth = nullptr;
    QComboBox* m_lineStyle = nullptr;
    QToolButton* m_lineBits[7] = {};

    QWidget* m_frame = nullptr;
    QComboBox* m_fillColour = nullptr;
    QComboBox* m_fillStyle = nullptr;
    QComboBox* m_borderColour = nullptr;
    QSpinBox* m_borderWidth = nullptr;

    QWidget* m_barcode = nullptr;
    QComboBox* m_symbology = nullptr;
    QCheckBox* m_checkDigit = nullptr;
    QComboBox* m_module = nullptr;
    QCheckBox* m_printText = nullptr;
    QLineEdit* m_barText = nullptr;

    QWidget* m_paintBox = nullptr;
    QLineEdit* m_paintIndex = nullptr;
    QLineEdit* m_paintZoom = nullptr;

    QWidget* m_panels[7] = {};

    // The element whose text the strip edits, and its text at the last recorded step.
    QPointer<TSesPrvek> m_textElement;
    QString m_recordedText;
    // Set while the strip is filled, so that no control takes its own new value for a change.
    bool m_filling = false;
};

} // namespace designer
