#pragma once
// "Nastavení vlastností prvku": the dialog of one template element (or of the font of
// several), on three tabs: basic properties with five kind panels at one spot, the element's
// font, and the bar code. The window fills and reads the controls; the dialog keeps the
// working font and switches the panels.

#include "platform/TCanvas.h"

#include <QColor>
#include <QDialog>
#include <QFont>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace report {
class TListFunkci;
class TSestavaTyp;
} // namespace report

namespace designer {

// The widget font and colour that show a template font on screen.
QFont SampleFont(const platform::TFont& font);
QColor SampleColor(platform::TColor colour);

class TDlgKonfPrvku : public QDialog {
    Q_OBJECT

public:
    // Kind panels of ShowKindPanel.
    enum Panel { PanelText = 1, PanelMemo, PanelPicture, PanelFunction, PanelVariable };

    explicit TDlgKonfPrvku(QWidget* parent = nullptr);

    // What the dialog hands on to the user-function dialog (may be null).
    void setReport(report::TSestavaTyp* report, report::TListFunkci* functions, bool itemsByName,
                   int groupCount);

    void HideBarcodePage();
    void HideBasicPages();
    void HideFontPages();
    // The font tab from `font`; a face that is not in the list is added to it, so that OK
    // keeps it.
    void LoadFont(const platform::TFont& font);
    // Hides the five panels and shows panel n (1..5); any other n leaves all hidden.
    void ShowKindPanel(int n);
    int shownPanel() const { return m_shownPanel; }
    // The font built from the font tab.
    const platform::TFont& WorkingFont() const { return m_font; }

private:
    QWidget* makeBasicPage();
    QWidget* makeFontPage();
    QWidget* makeBarcodePage();
    void fillFontList();
    void CBPismaChange();
    void CbIndexChange();
    void editFunction();

    report::TSestavaTyp* m_report = nullptr;
    report::TListFunkci* m_functions = nullptr;
    bool m_itemsByName = false;
    int m_groupCount = 0;
    platform::TFont m_font;
    int m_shownPanel = 0;
    bool m_loading = false;

    QTabWidget* m_tabs;
    QWidget* m_basicPage;
    QWidget* m_fontPage;
    QWidget* m_barcodePage;
    QComboBox* m_index;
    QWidget* m_panels[5];
    QComboBox* m_fonts;
    QComboBox* m_size;
    QComboBox* m_colour;
    QComboBox* m_script;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    QCheckBox* m_strikeOut;
    QLabel* m_sample;
};

} // namespace designer
