#pragma once
// "Prostředí editoru sestav": the dialog of the designer's settings record, on three pages
// (editor environment, defaults of inserted elements, about).

#include "platform/TCanvas.h"
#include "report/designer/TEditorSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QFrame;

namespace platform {
class MessageSink;
}
namespace report {
class TSestavaTyp;
}

namespace designer {

class TSestKonfigDlg : public QDialog {
    Q_OBJECT

public:
    explicit TSestKonfigDlg(QWidget* parent = nullptr);

    // Binds the report, reads the settings into the program's record, shows them and resets
    // the zoom to index 6 (1.0).
    void Setup(report::TSestavaTyp* report);
    // File transfer of the program's record; nothing while no report is bound.
    void ReadSettings();
    bool WriteSettings();

    // Messages go here; null: the bound report's sink, else message boxes.
    void setMessageSink(platform::MessageSink* sink) { m_messages = sink; }
    // The font of the sample label (the default font of inserted elements).
    const platform::TFont& sampleFont() const { return m_font; }
    void setSampleFont(const platform::TFont& font);

    // OK: every integer field is checked first; a bad one is named in a message and the
    // dialog stays open with nothing taken. Otherwise the record is taken and written; a
    // file that cannot be written is named in a message.
    void accept() override;

protected:
    // Each opening fills the fields from the settings in force.
    void showEvent(QShowEvent* event) override;

private:
    void fillControls();
    // The sample label sized and aligned from the fields; left alone while a size is no integer.
    void ImplChange();
    void SBPismoClick();
    platform::MessageSink& sink();

    report::TSestavaTyp* m_report = nullptr;
    platform::MessageSink* m_messages = nullptr;
    platform::TFont m_font;
    QCheckBox* m_showGrid;
    QCheckBox* m_snapGrid;
    QLineEdit* m_gridX;
    QLineEdit* m_gridY;
    QLineEdit* m_undo;
    QCheckBox* m_deleteOne;
    QCheckBox* m_deleteMany;
    QCheckBox* m_moveOutside;
    QCheckBox* m_undoSave;
    QCheckBox* m_tree;
    QCheckBox* m_descriptions;
    QCheckBox* m_sortedFonts;
    QLineEdit* m_width;
    QLineEdit* m_height;
    QComboBox* m_textAlign;
    QComboBox* m_numberAlign;
    QCheckBox* m_byName;
    QFrame* m_samplePanel;
    QLabel* m_sample;
};

} // namespace designer
