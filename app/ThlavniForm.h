#pragma once
// The main window: borderless, 514 x 366, five pages (Calculation, Points, Functions, Ranges
// and the start page, shown first), the menu labels of the working pages, dragging by the
// page backgrounds, and kolv.cfg, which is read at creation and written at every close.

#include "app/CalculationModel.h"
#include "app/LibraryBinding.h"

#include <QWidget>

#include <array>
#include <vector>

class CalculationPage;
class ChartBitmapLoader;
class FunctionsPage;
class PointsPage;
class RangesPage;
class TDiagramForm;
class TInfoForm;
class QLabel;
class QStackedWidget;

namespace platform {
class MessageSink;
}
namespace report {
class TSestava;
class TSestavaD;
} // namespace report

class ThlavniForm : public QWidget {
    Q_OBJECT
public:
    // `exeDir` is the program's folder with a trailing '/'; kolv.cfg lives there.
    ThlavniForm(const QString& exeDir, platform::MessageSink& messages,
                const PropertyLibrary& library, QWidget* parent = nullptr);
    ~ThlavniForm() override;

    const AppState& state() const { return m_model.state(); }
    CalculationModel& model() { return m_model; }
    CalculationPage* calculationPage() const { return m_calculation; }
    TDiagramForm* diagramForm() const { return m_diagram; }
    TInfoForm* infoForm() const { return m_info; }
    report::TSestava* report() const { return Sestava1; }

    // Hands the report its parameters, item names and record count, as Print does before the
    // preview.
    void preparePrint();

    // The report's data events: the current record's six values, and a record step.
    void Sestava1GetData(report::TSestavaD* sender);
    int Sestava1StepData(report::TSestavaD* sender, int dir);

    // Menu labels of the four working pages: the current page's are bold, the others plain.
    void RefreshMenuLabels();
    // Sets the captions of the window in the current language.
    void ApplyLanguage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* addWorkingPage(int index, const char* name);
    void buildStartPage();
    QLabel* addImage(QWidget* page, const QString& name, const QPixmap& pixmap, QPoint at);
    QLabel* addText(QWidget* page, const QString& text, QPoint at, int pixelSize, bool bold);
    void readConfiguration();
    void menuMouseUp(int tag);
    void menuMouseMove(QLabel* label);
    void ImageMouseMove(QPoint at);
    void chooseLanguage(int language);
    void showChart();
    void showAbout(int set);
    void createReport();
    void print();

    CalculationModel m_model;
    AppState& m_state; // the model's
    platform::MessageSink& m_messages;
    QStackedWidget* m_pages;
    CalculationPage* m_calculation = nullptr;
    PointsPage* m_points = nullptr;
    FunctionsPage* m_functions = nullptr;
    RangesPage* m_ranges = nullptr;
    TDiagramForm* m_diagram = nullptr;
    TInfoForm* m_info = nullptr;
    report::TSestava* Sestava1 = nullptr;
    ChartBitmapLoader* m_chartLoader = nullptr;
    std::vector<QLabel*> m_menuLabels;  // 6 per working page
    std::vector<QLabel*> m_backgrounds; // Image1..Image4
    std::vector<QLabel*> m_exitImages;  // Image5..Image8, Image15
    QLabel* m_czech = nullptr;
    QLabel* m_english = nullptr;
    std::array<QLabel*, 3> m_aboutOpeners{}; // Image10..Image12
};
