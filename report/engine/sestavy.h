#pragma once
// The published report component TSestava (template files, design-time properties, events)
// and the detail report TSestDetail, printed inside a kind-15 element of its master.

#include "report/engine/SaveFileChooser.h"
#include "report/engine/sestavyt.h"

#include <functional>

namespace report {

class TSestava;
class TSestDetail;

using TUlozPredlohuEvent = std::function<bool(TSestava* sender)>;
using TUlozPredlohuJakoEvent = std::function<bool(TSestava* sender, QString& soubor)>;
using TNactiPredlohuEvent = std::function<bool(TSestava* sender)>;
using TOnSetPredlohaEvent = std::function<void(TSestava* sender)>;
using TOnPreviewCustomEvent = std::function<void(TSestava* sender, int actualPage)>;
using TNactiSeznamObrazuEvent = std::function<void(TSestava* sender, QStringList& items)>;
using TNactiObrazEvent =
    std::function<bool(TSestava* sender, const QString& nazev, TPicture& picture)>;
using TPreparePictureEvent =
    std::function<void(TSestava* sender, TPicture* picture, int width, int height)>;
using TOnVypoctiFunkceEvent = std::function<void(TSestava* sender)>;
using TOnTiskOddiluEvent = std::function<void(TSestava* sender, int index, bool& tisknout)>;
using TOnErrorEvent = std::function<bool(TSestava* sender, int error)>;
using TNotifyEvent = std::function<void(QObject* sender)>;

class TSestava : public TSestavaD {
    Q_OBJECT

public:
    explicit TSestava(QObject* owner = nullptr, const QString& exeDir = {});

    // The template file's name; its extension is always ".pts".
    QString GetReportName() const override { return m_reportName; }
    void SetReportName(const QString& name) override;
    QString ReportAlias() const { return m_reportAlias; }
    // A non-empty alias clears ReportDir.
    void setReportAlias(const QString& alias);
    QString ReportDir() const { return m_reportDir; }
    // Kept with a trailing "/"; a non-empty folder clears ReportAlias.
    void setReportDir(const QString& dir);
    bool IsStored = false;
    bool ReportDirIgnore = true;

    // Where the save dialog comes from (not owned); without one, "save as" finds no file.
    void setFileChooser(SaveFileChooser* chooser) { m_fileChooser = chooser; }

    // The template file: by the alias's folder, else the program's folder (ReportDirIgnore,
    // not designing) or ReportDir, followed by ReportName.
    QString GetPredlohaPath() const;
    QString GetPredlohaFileName() const override { return GetPredlohaPath(); }

    void TiskOddilu(int section, bool& print) override;
    void VypoctiFunkce() override;
    void SetPredloha(const TPredloha& predloha) override;
    void DoBeforePrintPreview() override;
    void DoAfterPrintPreview() override;
    void DoPreviewCustomEvent(int page) override;
    bool CheckDataSource() override;
    bool IsDetail() const override { return false; }
    // 0 loaded; 4 not loaded (the user declined, the file is missing or unreadable).
    int NactiPredlohu(bool ask) override;
    // Writes the template, keeping the previous file as ".BAK"; 0 saved, 5 not saved (the
    // previous file then stays as it was).
    int UlozPredlohu() override;
    // Asks for a file (OnUlozPredlohuJako or the file chooser) and writes the template there;
    // 0 saved, 5 not saved or cancelled.
    int UlozPredlohuJako() override;
    void NactiSeznamObrazu(QStringList& list) override;
    bool NactiObraz(const QString& name, TPicture& picture) override;
    void PreparePicture(TPicture* picture, int width, int height) override;

    // ---- running and printing (sestavyt_run.cpp, sestavyt_print.cpp)
    // Checks the data source, loads the item names and the template and runs the report:
    // 0 done, 3 cancelled, 4 template not loaded, 7 nothing done (no data source, or busy).
    // A non-zero result goes to OnError.
    int PrepareAndGenerate();
    // Runs the report and prints it, between BeforePrint and AfterPrint (not while designing).
    int PrintOn(int printer, int flag = 0);
    int Print() { return PrintOn(-1); }

    TUlozPredlohuEvent OnUlozPredlohu;
    TUlozPredlohuJakoEvent OnUlozPredlohuJako;
    TNactiPredlohuEvent OnNactiPredlohu;
    TOnSetPredlohaEvent OnSetPredloha;
    TOnPreviewCustomEvent OnPreviewCustomEvent;
    TNactiSeznamObrazuEvent OnNactiSeznamObrazu;
    TNactiObrazEvent OnNactiObraz;
    TPreparePictureEvent OnPreparePicture;
    TOnVypoctiFunkceEvent OnVypoctiFunkce;
    TOnTiskOddiluEvent OnTiskOddilu;
    TOnErrorEvent OnError;
    TNotifyEvent BeforeEdit;
    TNotifyEvent AfterEdit;
    TNotifyEvent BeforePreview;
    TNotifyEvent AfterPreview;
    TNotifyEvent BeforePrint;
    TNotifyEvent AfterPrint;
    TNotifyEvent BeforePrintPreview;
    TNotifyEvent AfterPrintPreview;

protected:
    // Hands a non-zero result to OnError.
    void reportError(int result);

private:
    QString m_reportName;
    QString m_reportAlias;
    QString m_reportDir;
    SaveFileChooser* m_fileChooser = nullptr;
};

using TDetailTiskOddiluEvent = std::function<void(TSestDetail* sender, int index, bool& tisknout)>;
using TDetailVypoctiFunkceEvent = std::function<void(TSestDetail* sender)>;

class TSestDetail : public TSestavaD {
    Q_OBJECT

public:
    explicit TSestDetail(QObject* owner = nullptr, const QString& exeDir = {});
    ~TSestDetail() override;

    // Registers with `master` (and leaves the previous master). A master that is this report
    // or one of its own details, directly or further down, is refused (false): the detail
    // passes would never end.
    bool setMasterSestava(TSestavaTyp* master);

    bool IsDetail() const override { return true; }
    void TiskOddilu(int section, bool& print) override;
    void VypoctiFunkce() override;

    TDetailTiskOddiluEvent OnTiskOddilu;
    TDetailVypoctiFunkceEvent OnVypoctiFunkce;
};

} // namespace report
