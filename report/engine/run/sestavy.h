#pragma once
// The published report component TSestava (template files, design-time properties, events)
// and the detail report TSestDetail, printed inside a kind-15 element of its master.

#include "report/engine/run/SaveFileChooser.h"

#include "report/engine/run/sestavyt.h"
#include <QIODevice>

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
    SaveFileChooser* fileChooser() const { return m_fileChooser; }

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
    // Runs the report and shows it in the preview, between BeforePreview and AfterPreview;
    // the bounds, position and window state are the form's (empty bounds: its own size). The
    // designer is never opened from here: the edit action is disabled. 0 done, or the run's
    // error (handed to OnError).
    int PreviewEx(const QRect& bounds, int position, int zoom, int state);
    int Preview() { return PreviewEx({}, 0, 100, 2); }

    // ---- exports (sestavy_export.cpp). Results: 0 done, 3 cancelled, 6 not written, 7
    // nothing to write (no such page, no pages); a non-zero result goes to OnError. Pages are
    // 0-based. The text exports run the report first, between BeforePrint and AfterPrint; the
    // others write the document generated last. Files are written completely or not at all.
    int SaveToText(QIODevice& stream);
    int SaveToTextFile(const QString& fileName);
    int SaveToEMF(QIODevice& stream, int page, bool withBackground = false);
    int SaveToEMFFile(const QString& fileName, int page, bool withBackground = false);
    // Page n (from 1) to the name with its extension replaced by n + ".emf".
    int SaveAllToEMF(const QString& fileName, bool withBackground = false);
    int SaveToWMF(QIODevice& stream, int page, bool withBackground = false);
    int SaveToWMFFile(const QString& fileName, int page, bool withBackground = false);
    int SaveAllToWMF(const QString& fileName, bool withBackground = false);
    // Pictures go to `folder`, named after `fileName`.
    int SaveToHTML(QIODevice& stream, int page, const QString& folder, const QString& fileName);
    int SaveToHTMLFile(const QString& fileName, int page);
    // Page n to n + ".html", its pictures to n + "_" + the element number + ".bmp".
    int SaveAllToHTML(const QString& fileName);
    int SaveToRTF(QIODevice& stream);
    int SaveToRTFFile(const QString& fileName);

    // Opens the designer between BeforeEdit and AfterEdit; a non-zero result goes to OnError.
    int EditEx(bool noPrint = false, bool keepDescription = false) override;

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
    // Writes the generated document with `write` under one progress
    // window: 0, 3 cancelled, 6 not written, or 7 when nothing is `available`; a non-zero
    // result goes to OnError.
    int exportDocument(bool available, const std::function<bool()>& write);

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
    bool setMaster(TSestavaTyp* master);

    bool IsDetail() const override { return true; }
    void TiskOddilu(int section, bool& print) override;
    void VypoctiFunkce() override;

    TDetailTiskOddiluEvent OnTiskOddilu;
    TDetailVypoctiFunkceEvent OnVypoctiFunkce;
};

} // namespace report
