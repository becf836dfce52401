#pragma once
// "Nastavení parametrů sestavy": the report-wide settings of a template (description, paper
// orientation, margins and columns, grid, the fixed sections and the pagination options, the
// groups). Groups are added and deleted on the designer at once.

#include "report/designer/TOddil.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/run/sestavyt.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace platform {
class MessageSink;
}

namespace designer {

class TFormSestE;
struct TPolSkupE;

class TSestDlg : public QDialog {
    Q_OBJECT

public:
    // The tabs, in their order.
    enum Page : int { PageReport, PagePaper, PageGrid, PageSections, PageGroups };
    // The pagination options of the sections tab.
    static constexpr int kPaginationOptions = 6;

    // What the dialog shows and gives back, apart from the groups.
    struct Values {
        QString description;
        report::TemplatePaper paper;
        int columns = 1;
        int gap = 0;
        int characterGrid = 0;
        int gridX = 8;
        int gridY = 8;
        int pitchCode = 1; // 0 10, 1 12, 2 17 characters per inch
        bool showGrid = true;
        bool snap = true;
        // by report::SectionNumber
        bool visible[kFixedSections] = {};
        int height[kFixedSections] = {};
        int flags[kFixedSections] = {};
        report::TemplateBackground background;
    };

    explicit TSestDlg(TFormSestE* designer);

    void setMessageSink(platform::MessageSink* sink) { m_messages = sink; }
    // A detail has no paper and no page header and footer of its own.
    void EnableControls(bool isDetail);
    void setValues(const Values& values);
    Values values() const;
    // The group lines and the key-item texts; the first group shown.
    void fillGroups(const QStringList& itemTexts);
    // Whether groups were added or deleted since the last fillGroups.
    bool groupsChanged() const { return m_groupsChanged; }
    // Only tab `page` shown (-1: every tab); the group `group` chosen on the groups tab.
    void showPage(int page, int group = -1);

    // The paper formats of the report's settings file with entry `chosen`, or (-1) the one of
    // the paper's size chosen.
    void FillFormats(int chosen = -1);
    report::TListFormatu& formats() { return m_formats; }
    // "Ukaž"/"Oprav", "Přidej", "Vynech": each writes the list back to the settings file.
    void ButtonEditFormatClick();
    void ButtonInsertFormatClick();
    void ButtonDeleteFormatClick();
    // OK with the graphic grid checks the margins against the printer (Yes raises them, No
    // keeps them, Cancel keeps the dialog open).
    void accept() override;
    void done(int result) override;

    // The page sketch: the paper after orientation, margins and columns (1/100 inch).
    struct Sheet {
        int width = 0;
        int height = 0;
        int margins[4] = {};
        int columns = 1;
        int gap = 0;
    };
    Sheet sheet() const;

    // Ins and Del of the groups tab.
    void SBInsSkClick();
    void SBDelSkClick();

private:
    // One builder per tab, in the order of the tabs: the tab's controls, laid out and wired.
    QWidget* buildReportTab();
    QWidget* buildPaperTab();
    QWidget* buildGridTab();
    QWidget* buildSectionsTab();
    QWidget* buildGroupsTab();
    void showGroup(int row);
    void ZmenaSkupPol();
    void gridTypeChanged();
    void CBFormatyChange(int index);
    // Writes the format list into the report's settings file; a failure is told, and the list
    // shown next is the file's.
    void saveFormats();
    void backgroundChanged();
    // ZmenaPapiru: the preview and the size labels follow the paper controls.
    void paperChanged();
    platform::MessageSink& sink();

    TFormSestE* m_designer;
    platform::MessageSink* m_messages = nullptr;
    TPolSkupE* m_group = nullptr;
    bool m_updating = false;
    bool m_groupsChanged = false;

    QTabWidget* m_tabs;
    QWidget* m_preview;
    QLabel* m_paperSize;
    QLabel* m_printableSize;
    QLabel* m_labelSize;
    QLineEdit* m_reportFile;
    QLineEdit* m_reportDir;
    int m_bodyHeight = 0;
    QCheckBox* m_defaultBackground;
    QCheckBox* m_printBackground;
    QComboBox* m_backgroundFile;
    QCheckBox* m_wholePaper;
    QSpinBox* m_placement[4];
    report::TListFormatu m_formats;
    QComboBox* m_formatCombo;
    QPushButton* m_editFormat;
    QPushButton* m_insertFormat;
    QPushButton* m_deleteFormat;
    QLineEdit* m_description;
    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
    QCheckBox* m_allowChange;
    QSpinBox* m_margins[4];
    QSpinBox* m_columns;
    QSpinBox* m_gap;
    QRadioButton* m_graphicGrid;
    QRadioButton* m_characterGrid;
    QCheckBox* m_showGrid;
    QCheckBox* m_snap;
    QLineEdit* m_gridX;
    QLineEdit* m_gridY;
    QRadioButton* m_pitch[3];
    QCheckBox* m_sectionVisible[kFixedSections];
    QLineEdit* m_sectionHeight[kFixedSections];
    QCheckBox* m_pagination[kPaginationOptions];
    QListWidget* m_groups;
    QToolButton* m_insert;
    QToolButton* m_delete;
    QComboBox* m_keyItem;
    QCheckBox* m_byName;
    QCheckBox* m_headerVisible;
    QLineEdit* m_headerHeight;
    QCheckBox* m_footerVisible;
    QLineEdit* m_footerHeight;
    QCheckBox* m_newPage;
    int m_width = 0;
    int m_height = 0;
};

} // namespace designer
