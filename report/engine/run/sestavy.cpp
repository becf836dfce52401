#include "report/engine/run/sestavy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/sestzpr.h"
#include "report/engine/template/TemplateCheck.h"

namespace report {

namespace {

// `fileName` with its extension replaced by `extension` (added when it has none).
QString changeFileExt(const QString& fileName, const QString& extension) {
    const qsizetype slash = fileName.lastIndexOf(u'/');
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return (dot > slash ? fileName.left(dot) : fileName) + extension;
}

// Puts a copy of `fileName` at `bak`, replacing an older one: a second name for the same file
// where the file system allows it (it needs no free space), else a copy.
bool keepBackup(const QString& fileName, const QString& bak) {
    const QFileInfo bakInfo(bak);
    if (bakInfo.exists() || bakInfo.isSymLink()) {
        if (bakInfo.isDir() || !QFile::remove(bak)) return false;
    }
    return ::linkat(AT_FDCWD, QFile::encodeName(fileName).constData(), AT_FDCWD,
                    QFile::encodeName(bak).constData(), AT_SYMLINK_FOLLOW) == 0 ||
           QFile::copy(fileName, bak);
}

// Writes `bytes` to `fileName` completely or not at all. With `backup`, the previous file is
// kept as ".BAK" once the new text is safely on disk, and only then does the new file replace
// it: a save that cannot finish changes neither the file nor its backup.
bool writeTemplateFile(const QString& fileName, const QByteArray& bytes, bool backup) {
    if (fileName.isEmpty()) return false;
    platform::AtomicFile file(fileName);
    if (!file.open() || file.write(bytes) != bytes.size()) return false;
    return file.commit([&] {
        return !backup || !QFileInfo::exists(fileName) ||
               keepBackup(fileName, changeFileExt(fileName, QStringLiteral(".BAK")));
    });
}

} // namespace

// ---- TSestava

TSestava::TSestava(QObject* owner, const QString& exeDir) : TSestavaD(owner, exeDir) {}

void TSestava::SetReportName(const QString& name) {
    m_reportName = name.isEmpty() ? QString() : changeFileExt(name, QStringLiteral(".pts"));
}

void TSestava::setReportAlias(const QString& alias) {
    m_reportAlias = alias;
    if (!alias.isEmpty()) m_reportDir.clear();
}

void TSestava::setReportDir(const QString& dir) {
    m_reportDir = QString(dir).replace(u'\\', u'/');
    if (!m_reportDir.isEmpty() && !m_reportDir.endsWith(u'/')) m_reportDir += u'/';
    if (!m_reportDir.isEmpty()) m_reportAlias.clear();
}

QString TSestava::GetPredlohaPath() const {
    QString path;
    if (!m_reportAlias.isEmpty()) {
        const Dataset* dataset = DataSource() ? DataSource()->DataSet() : nullptr;
        if (dataset && dataset->isDatabaseDataset()) {
            QString error;
            const QString aliasPath = TBridge::AliasPath(m_reportAlias, &error);
            if (!error.isEmpty())
                showError(FillText(LoadText(ReportText::AliasPathError), {error}));
            if (!aliasPath.isEmpty())
                path = aliasPath + m_reportName;
            else
                showWarning(FillText(LoadText(ReportText::UnknownAlias), {m_reportAlias}));
        } else {
            showWarning(LoadText(ReportText::AliasNeedsDataSet));
        }
    }
    if (path.isEmpty()) {
        if (ReportDirIgnore && !designing())
            path = QDir(exeDir()).filePath(m_reportName);
        else
            path = m_reportDir + m_reportName;
    }
    return path;
}

void TSestava::TiskOddilu(int section, bool& print) {
    if (OnTiskOddilu) OnTiskOddilu(this, section, print);
}

void TSestava::VypoctiFunkce() {
    if (OnVypoctiFunkce) OnVypoctiFunkce(this);
}

void TSestava::SetPredloha(const TPredloha& predloha) {
    TSestavaD::SetPredloha(predloha);
    if (OnSetPredloha) OnSetPredloha(this);
}

void TSestava::DoBeforePrintPreview() {
    if (BeforePrintPreview && !designing()) BeforePrintPreview(this);
}

void TSestava::DoAfterPrintPreview() {
    if (AfterPrintPreview && !designing()) AfterPrintPreview(this);
}

void TSestava::DoPreviewCustomEvent(int page) {
    if (OnPreviewCustomEvent && !designing()) OnPreviewCustomEvent(this, page);
}

bool TSestava::CheckDataSource() {
    if (!TSestavaD::CheckDataSource()) return false;
    if (Predloha().isEmpty() && GetPredlohaPath().isEmpty()) {
        showError(LoadText(ReportText::NoTemplatePath));
        return false;
    }
    return true;
}

void TSestava::reportError(int result) {
    if (result != seOk && OnError) OnError(this, result);
}

int TSestava::NactiPredlohu(bool ask) {
    int result = seNotLoaded;
    if (OnNactiPredlohu) {
        if (!designing() && OnNactiPredlohu(this)) result = seOk;
    } else if (IsStored) {
        const TPredloha stored = Predloha();
        SetPredloha(stored);
        result = seOk;
    } else {
        const QString path = GetPredlohaPath();
        TPredloha text;
        if (QFileInfo(path).isFile()) {
            QFile file(path);
            const QByteArray bytes =
                file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            if (!file.isOpen() || file.error() != QFileDevice::NoError) {
                showError(FillText(LoadText(ReportText::TemplateNotFound), {path}));
            } else if (CheckTemplateBytes(bytes) != TemplateDamage::None) {
                // Read as it is, it would make an empty or headless report without a word.
                showError(FillText(LoadText(ReportText::TemplateDamaged), {path}));
            } else {
                SetPredloha(TPredloha::FromBytes(bytes));
                result = seOk;
            }
        } else if (ask) {
            if (askYesNo(FillText(LoadText(ReportText::TemplateMissingCreate), {path}))) {
                if (writeTemplateFile(path, {}, false)) {
                    SetPredloha(text);
                    result = seOk;
                } else {
                    showError(FillText(LoadText(ReportText::TemplateNotCreated), {path}));
                }
            }
        } else {
            showError(FillText(LoadText(ReportText::TemplateNotFound), {path}));
        }
    }
    reportError(result);
    return result;
}

int TSestava::UlozPredlohu() {
    int result = seNotSaved;
    if (OnUlozPredlohu) {
        if (OnUlozPredlohu(this)) result = seOk;
    } else if (IsStored) {
        result = seOk;
    } else if (writeTemplateFile(GetPredlohaFileName(), Predloha().ToBytes(), true)) {
        result = seOk;
    } else {
        showError(LoadText(ReportText::TemplateNotSaved));
    }
    reportError(result);
    return result;
}

int TSestava::UlozPredlohuJako() {
    int result = seNotSaved;
    if (OnUlozPredlohuJako) {
        QString soubor = GetPredlohaPath();
        if (OnUlozPredlohuJako(this, soubor)) {
            result = seOk;
            SetReportName(soubor);
        }
        reportError(result);
        return result;
    }
    const QFileInfo current(GetPredlohaFileName());
    SaveFileRequest request;
    request.title = LoadText(ReportText::SelectFileTitle);
    request.filter = LoadText(ReportText::FilterTemplates);
    request.folder = current.path();
    request.fileName = current.fileName();
    const QString chosen = m_fileChooser ? m_fileChooser->chooseSaveFile(request) : QString();
    if (chosen.isEmpty()) return result;

    // a failed write leaves the report on the file it had
    const QString previousName = m_reportName;
    const QString previousDir = m_reportDir;
    const QString previousAlias = m_reportAlias;
    const bool previousIgnore = ReportDirIgnore;
    const QFileInfo file(chosen);
    const QString reportDir =
        m_reportDir.isEmpty() ? QString() : QDir(m_reportDir).canonicalPath() + u'/';
    const QString chosenPath = QDir(file.absolutePath()).canonicalPath() + u'/' + file.fileName();
    if (m_reportDir.isEmpty()) {
        setReportDir(file.absolutePath());
        SetReportName(file.fileName());
        // The folder just set is where the file must go, not the program's folder.
        ReportDirIgnore = false;
    } else if (reportDir.size() > 1 && chosenPath.startsWith(reportDir)) {
        SetReportName(chosenPath.mid(reportDir.size()));
    } else {
        SetReportName(file.absoluteFilePath());
        m_reportDir.clear();
        ReportDirIgnore = false;
    }
    if (writeTemplateFile(GetPredlohaFileName(), Predloha().ToBytes(), false)) {
        result = seOk;
    } else {
        m_reportName = previousName;
        m_reportDir = previousDir;
        m_reportAlias = previousAlias;
        ReportDirIgnore = previousIgnore;
        showError(LoadText(ReportText::TemplateNotSaved));
    }
    reportError(result);
    return result;
}

void TSestava::NactiSeznamObrazu(QStringList& list) {
    if (OnNactiSeznamObrazu)
        OnNactiSeznamObrazu(this, list);
    else
        TSestavaD::NactiSeznamObrazu(list);
}

bool TSestava::NactiObraz(const QString& name, TPicture& picture) {
    if (OnNactiObraz) return OnNactiObraz(this, name, picture);
    return TSestavaD::NactiObraz(name, picture);
}

void TSestava::PreparePicture(TPicture* picture, int width, int height) {
    if (OnPreparePicture) OnPreparePicture(this, picture, width, height);
}

// ---- TSestDetail

TSestDetail::TSestDetail(QObject* owner, const QString& exeDir) : TSestavaD(owner, exeDir) {}

TSestDetail::~TSestDetail() {
    ClearModel(); // while the master, whose pages hold our elements, is still known
    if (m_master) m_master->unregisterDetail(this);
    m_master = nullptr;
}

bool TSestDetail::setMaster(TSestavaTyp* master) {
    for (const TSestavaTyp* up = master; up; up = up->MasterSestava())
        if (up == this) return false;
    if (m_master) m_master->unregisterDetail(this);
    m_master = master;
    if (m_master) m_master->registerDetail(this);
    return true;
}

void TSestDetail::TiskOddilu(int section, bool& print) {
    if (OnTiskOddilu) OnTiskOddilu(this, section, print);
}

void TSestDetail::VypoctiFunkce() {
    if (OnVypoctiFunkce) OnVypoctiFunkce(this);
}

} // namespace report
