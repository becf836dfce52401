#pragma once
// The report engine's base classes: TSestavaTyp (the template model, its text, parameters and
// item names, the virtual interface every report answers) and TSestavaD (records from events
// or from a dataset through TBridge). The published component is TSestava (sestavy.h).
//
// Operations return small result codes and show their messages through the report's message
// sink; nothing throws to the caller.

#include "report/engine/printing/sestprn.h"
#include "report/engine/run/DB_Bridge.h"
#include "report/engine/template/TemplateSettings.h"
#include "report/engine/template/sestavyt_model.h"
#include "report/engine/text/sestcepr.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace platform {
class MessageSink;
class TCanvas;
} // namespace platform

namespace report {

class PictureFiles;
class TPicture;
class TSestavaD;
class TSestVystup;
class ReportRun;

// Result codes of the report's operations.
enum TSestError : int {
    seOk = 0,
    seNoPrinter = 2,
    seCancelled = 3,
    seNotLoaded = 4,
    seNotSaved = 5,
    seNotExported = 6,
    seNothingDone = 7,
};

// TSestLanguage: sestcepr.h.

class TSestavaTyp : public QObject {
    Q_OBJECT

public:
    // `exeDir` is the program's folder (templates, pictures and the settings file beside it);
    // empty means the folder of the running executable. The paper formats are read from the
    // settings file IniFileName (relative names lie in the program's folder).
    explicit TSestavaTyp(QObject* owner = nullptr, const QString& exeDir = {});
    ~TSestavaTyp() override;

    // Messages and questions go here (not owned). A detail without a sink of its own uses its
    // master's; without any, messages are dropped and questions answered No.
    void setMessageSink(platform::MessageSink* sink) { m_messages = sink; }
    platform::MessageSink* messageSink() const { return m_messages; }
    QString exeDir() const { return m_exeDir; }

    // ---- properties
    const TPredloha& Predloha() const { return m_predloha; }
    void setTemplateText(const TPredloha& predloha) { m_predloha = predloha; }
    const QStringList& Parametry() const { return m_parametry; }
    void setParametry(const QStringList& parametry) { m_parametry = parametry; }
    int PrintCopies = 1;
    int StartPage = 1;
    // The last page a run makes; kNoEndPage unless the caller sets a range.
    static constexpr int kNoEndPage = 9999;
    int EndPage = kNoEndPage;
    int MaxRecords = 0;
    int ExportLanguage = slUndefined;
    QString Popis;
    QString IniFileName = QStringLiteral("DoriVOZ.ini");
    bool TiskJedenZaznam = false;
    bool AllowNullValues = false;
    QString Background;
    bool PrintBackground = false;
    // The settings file's path: a relative IniFileName lies in the program's folder.
    QString iniFilePath() const;

    // ---- opening the designer (sestavyt_edit.cpp)
    // What a designer needs to know when it is opened on a report.
    struct EditRequest {
        QObject* owner = nullptr;     // the owning designer window of a nested designer
        bool noPrint = false;         // the designer's print action disabled
        bool keepDescription = false; // a loaded template does not replace the description
    };
    // Builds the designer window on the report, runs it modally and gives its modal result
    // (1 OK); -1 when the window could not be made, 0 when it refused to open.
    using DesignerFactory = std::function<int(TSestavaTyp& report, const EditRequest& request)>;
    // The designer library installs its factory here; the engine never links the designer.
    static void setDesignerFactory(DesignerFactory factory);
    static bool designerInstalled();
    // Opens the designer on this report: 0 when it ended with OK, 3 otherwise (also when the
    // template was saved inside it), 7 when no designer is installed.
    virtual int EditEx(bool noPrint = false, bool keepDescription = false);
    int Edit() { return EditEx(); }
    // The designer of a detail report opened from its master's designer `owner`.
    int EditInOwner(QObject* owner, bool keepDescription);

    // ---- the virtual interface
    virtual QString GetReportName() const { return {}; }
    virtual void SetReportName(const QString&) {}
    virtual void GetData() {}
    // Item names ← names; the current values become the placeholders "Položka n".
    virtual void SetItemNames(const QStringList& names);
    virtual void TiskOddilu(int /*section*/, bool& /*print*/) {}
    virtual void TiskPrvku(TVoranReportElement* /*element*/, bool& /*print*/) {}
    virtual void VypoctiFunkce() {}
    // Clears the model, keeps a copy of the template and reads it into the model.
    virtual void SetPredloha(const TPredloha& predloha);
    virtual void DoBeforePrintPreview() {}
    virtual void DoAfterPrintPreview() {}
    virtual void DoPreviewCustomEvent(int /*page*/) {}
    virtual void PaintBox(int /*index*/, int /*width*/, int /*height*/,
                          platform::TCanvas& /*canvas*/) {}
    virtual QString GetPredlohaFileName() const { return {}; }
    virtual bool CheckDataSource() = 0;
    // True when the template lays out for a text-only printer (character grid 1).
    bool SetTextPrinterMode() const { return m_grid.characterGrid == 1; }
    virtual bool IsDetail() const = 0;
    virtual bool HasDetails() const = 0;
    virtual void LoadItemNames() = 0;
    // The next section starts a new page.
    void NewPage() { m_pageBreakPending = true; }
    void clearPageBreak() { m_pageBreakPending = false; }
    bool pageBreakPending() const { return m_pageBreakPending; }

    virtual int GetDataType(int i);
    virtual int GetAlignment(int i);
    virtual int GetDisplayWidth(int i);
    // The value record of item i: string and number of the item, memo text for memo items.
    TCalcType GetValue(int i);
    virtual QString GetItemText(int i);
    virtual QString GetMemoText(int i);
    // The picture of item i, owned by the report; null when there is none.
    virtual TPicture* GetPicture(int i);
    virtual double GetFloat(int i);
    virtual bool IsNull(int i);
    QString GetItemName(int i) const;
    // Case-insensitive; -1 when absent.
    int IndexOfItem(const QString& name) const;
    QString GetItemDescription(int i) const;
    int GetItemCount() const { return int(m_itemNames.size()); }
    QString GetParameterTitle(int i) const;
    QString GetParameterLabel(int i) const { return GetParameterTitle(i); }
    const QStringList& itemDescriptions() const { return m_itemDescriptions; }
    // The current record's values (what OnGetData fills in events mode).
    QStringList& itemValues() { return m_values; }
    void setItemDescriptions(const QStringList& descriptions) {
        m_itemDescriptions = descriptions;
    }

    // One record step in direction `dir` (TStepDir); a TStepResult.
    virtual int Step(int dir);
    virtual int NactiPredlohu(bool /*ask*/) { return seNothingDone; }
    // A detail saves through its master.
    virtual int UlozPredlohu();
    virtual int UlozPredlohuJako();
    // Appends the picture files of the template's folder.
    virtual void NactiSeznamObrazu(QStringList& list);
    // Loads picture `name` (in the template's folder, else as given); false leaves it empty.
    virtual bool NactiObraz(const QString& name, TPicture& picture);
    virtual void PreparePicture(TPicture* /*picture*/, int /*width*/, int /*height*/) {}
    // Loads the background picture: the template's own when it has one, else `Background`;
    // no picture for an empty name.
    void LoadBackgroundPicture();
    const TPicture* backgroundPicture() const { return m_backgroundPicture.get(); }

    // ---- the template model
    TListOddilu& Oddily() { return m_oddily; }
    const TListOddilu& Oddily() const { return m_oddily; }
    TListFunkci& Funkce() { return m_funkce; }
    const TListFunkci& Funkce() const { return m_funkce; }
    TListSkupin& Skupiny() { return m_skupiny; }
    const TListSkupin& Skupiny() const { return m_skupiny; }
    const TListDetailu& Detaily() const { return m_detaily; }
    // The paper formats, loaded from the settings file when the report is made.
    TListFormatu& Formaty() { return m_formaty; }
    SectionFlags& sectionFlags() { return m_sectionFlags; }
    const SectionFlags& sectionFlags() const { return m_sectionFlags; }
    void SetSectionFlags(int section, int bits) { m_sectionFlags.set(section, bits); }

    // A new element of the section read from `line` (the version of the current template).
    TVoranReportElement* CreateElement(TOddilSestavy* section, const QString& line);
    // A group keyed by an item name (looked up, 0 when absent) or a number; its sections get
    // the numbers of the group's position, so no two groups ever share a section number.
    TPolSkup* AddGroup(int number, const QString& key, bool newPage, int footerHeight,
                       bool footerVisible, int headerHeight, bool headerVisible);
    // Frees group i with its header and footer sections.
    void DeleteGroup(int i);
    // Empties every section, deletes the groups (the last first) and the template text.
    void ClearModel();

    // The whole model as template text: settings, functions, elements, details.
    TPredloha WriteTemplate() const;

    // Settings from the template.
    const TemplateVersion& version() const { return m_version; }
    const TemplatePaper& paper() const { return m_paper; }
    int Columns() const { return m_columns; }
    int ColumnGap() const { return m_columnGap; }
    const TemplateGrid& grid() const { return m_grid; }
    int characterGrid() const { return m_grid.characterGrid; }
    int gridX() const { return m_grid.x; }
    int gridY() const { return m_grid.y; }
    // The character cell while the character grid is on (10 × 100/6 otherwise).
    double charWidth() const { return m_grid.characterGrid == 1 ? m_grid.cellWidth() : 10; }
    double lineHeight() const {
        return m_grid.characterGrid == 1 ? m_grid.lineHeight() : 100.0 / 6;
    }
    int lineCode() const { return m_grid.lineCode; }
    int pitchCode() const { return m_grid.pitchCode; }
    const TemplateBackground& background() const { return m_background; }

    // A detail's master; only details have one.
    TSestavaTyp* MasterSestava() const { return m_master; }
    // Detail registration, done by a detail when its master changes.
    void registerDetail(TSestDetail* detail) { m_detaily.Add(detail); }
    void unregisterDetail(TSestDetail* detail) { m_detaily.Remove(detail); }

    // ---- the report run (sestavyt_run.cpp)
    // Runs the report into the output document: 0 done, 3 cancelled, 7 refused because a run
    // or print of this report is already active. A main run shows the progress window
    // (RunWatch) unless whoever started it shows one. A detail (main false) appends to its
    // master's document at the master's position.
    int Generate(bool main);
    // System variable i (0, 1 print date and time, 2 row, 3 page, 4 page count, 5 + 2k rows
    // of group k, 6 + 2k number of group k); the empty value for any other i.
    TCalcType GetVariable(int i);
    // The run's answer to the evaluator's requests; failures give the null empty value.
    int EvaluateCallback(int code, TCalcType& value);
    // The output document: a detail's is its master's.
    TSestVystup& Vystup();
    // A flag that cancels the run and printing when set; may be null.
    void setCancelFlag(const bool* flag);
    // What the progress window needs (RunWatch sets it): `onRecord` hears each record number
    // from 1 and `cancelled` asks whether the user wants to stop. Either may be empty.
    void setRunObserver(std::function<void(int record)> onRecord, std::function<bool()> cancelled);
    // True while a run or print of this report is active.
    bool busy() const;
    // True while something can stop the run: a progress window or a cancel flag.
    bool watched() const;
    // Prints the generated document on printer `printer` of the system's list (-1: the
    // current one): 0 done, 2 no printer, 3 cancelled or failed, 7 refused (busy). Built with
    // the printers (sestavyt_print.cpp, report_engine).
    int Print() { return PrintOn(-1); }
    int PrintOn(int printer, int flag = 0);

    // ---- the preview (sestavyt_preview.cpp, report_engine)
    // Shows the generated document in the modal preview at `zoom` percent (the nearest zoom
    // step), the edit action enabled by `editEnabled`, in `bounds` (empty: the form's own) and
    // window `state` (0 normal, 2 maximized): 1 when the user asked there to edit the
    // template, else 0; 7 (nothing shown) while a run or print of this report is active.
    int ShowPreview(bool editEnabled, int zoom = 100, const QRect& bounds = {}, int state = 0);
    // What the preview offers: printing (unless DisablePrint), and the user action with its
    // hint, firing DoPreviewCustomEvent with the page.
    bool DisablePrint = false;
    bool PreviewUserActionVisible = false;
    QString PreviewUserActionHint;

signals:
    // The model is about to be cleared: whoever keeps pointers into it (the output document)
    // drops them.
    void modelClearing();

protected:
    // Reading the template text: the settings and functions, then each section and detail
    // from the lines of its key only, in template order.
    void ParsePredlohaSettings(const TemplateSettings& settings);
    void ParsePredlohaFunctions(const QList<TemplateFunction>& functions);
    void ParsePredlohaSection(const TPredloha& predloha, TOddilSestavy* section);
    void ParsePredlohaDetail(int j, const TPredloha& predloha);
    // The settings a template may set, back to the component's defaults.
    void resetTemplateSettings();

    platform::MessageSink& sink() const;
    void showError(const QString& text) const;
    void showWarning(const QString& text) const;
    bool askYesNo(const QString& text) const;

    // The output document's pages point at template elements: they go before the elements do.
    // A detail's elements lie on its master's pages.
    void dropOutputPages();

    friend class ReportRun;
    TSestavaTyp* m_master = nullptr;
    TListDetailu m_detaily;
    // Run state and document, made on first use by the run (shared so that this header needs
    // no complete types).
    std::shared_ptr<ReportRun> m_run;
    std::shared_ptr<TSestVystup> m_vystup;
    QStringList m_itemNames;
    QStringList m_itemDescriptions;
    QStringList m_values;

private:
    platform::MessageSink* m_messages = nullptr;
    QString m_exeDir;
    TPredloha m_predloha;
    QStringList m_parametry;
    bool m_pageBreakPending = false;

    TListOddilu m_oddily;
    TListFunkci m_funkce;
    TListSkupin m_skupiny;
    SectionFlags m_sectionFlags;
    TListFormatu m_formaty;

    TemplateVersion m_version;
    TemplatePaper m_paper;
    int m_columns = 1;
    int m_columnGap = 0;
    int m_designerValue = 0;
    TemplateGrid m_grid;
    TemplateBackground m_background;
    std::unique_ptr<TPicture> m_backgroundPicture;
    // The picture files loaded since the last main run began (a detail loads through its
    // master's).
    std::unique_ptr<PictureFiles> m_pictureFiles;
};

// Events of a data-aware report.
using TSestGetDataEvent = std::function<void(TSestavaD* sender)>;
using TSestStepDataEvent = std::function<int(TSestavaD* sender, int dir)>;
using TGetDataTypeEvent = std::function<void(TSestavaD* sender, int index, int& dataType)>;
using TGetAlignmentEvent = std::function<void(TSestavaD* sender, int index, int& alignment)>;
using TOnPaintBoxEvent = std::function<void(TSestavaD* sender, int index, int width, int height,
                                            platform::TCanvas& canvas)>;
using TTiskPrvkuEvent =
    std::function<void(TSestavaD* sender, TVoranReportElement* element, bool& print)>;

// A report whose records come from events (OnGetData assigned) or from its data source.
class TSestavaD : public TSestavaTyp {
    Q_OBJECT

public:
    explicit TSestavaD(QObject* owner = nullptr, const QString& exeDir = {});
    ~TSestavaD() override;

    TDataSource* DataSource() const { return m_bridge.DataSource(); }
    void setDataSource(TDataSource* source) { m_bridge.SetDataSource(source); }
    TBridge& bridge() { return m_bridge; }
    // Records come from the events: OnGetData is assigned (and no designer is open).
    bool eventsMode() const { return bool(OnGetData) && !m_designing; }
    void setDesigning(bool designing) { m_designing = designing; }
    bool designing() const { return m_designing; }
    // Whether CheckDataSource opened the dataset (to be closed after the run).
    bool openedByCheck() const { return !m_wasOpen; }
    void closeIfOpenedByCheck();

    void GetData() override;
    void TiskPrvku(TVoranReportElement* element, bool& print) override;
    void PaintBox(int index, int width, int height, platform::TCanvas& canvas) override;
    bool CheckDataSource() override;
    bool HasDetails() const override { return m_detaily.Count() > 0; }
    void LoadItemNames() override;
    int GetDataType(int i) override;
    int GetAlignment(int i) override;
    int GetDisplayWidth(int i) override;
    QString GetItemText(int i) override;
    QString GetMemoText(int i) override;
    TPicture* GetPicture(int i) override;
    double GetFloat(int i) override;
    bool IsNull(int i) override;
    int Step(int dir) override;

    TSestGetDataEvent OnGetData;
    TSestStepDataEvent OnStepData;
    TGetDataTypeEvent OnGetDataType;
    TGetAlignmentEvent OnGetAlignment;
    TOnPaintBoxEvent OnPaintBox;
    TTiskPrvkuEvent OnTiskPrvku;

protected:
    bool fieldInRange(int i) const;

private:
    TBridge m_bridge;
    bool m_wasOpen = true;
    bool m_designing = false;
    QString m_memo;
    std::unique_ptr<TPicture> m_picture;
};

} // namespace report
