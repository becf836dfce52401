#pragma once
// Output documents built element by element for the export tests, and the external tools that
// read the exports back.

#include "ReportFixture.h"
#include "TestFiles.h"

#include "platform/TVoranCanvas.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/text/sest_rtf.h"

#include "platform/Printers.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace reporttest {

// A document whose elements are made from template lines and then adjusted field by field.
struct ExportDocument {
    report::TSestava report;
    std::vector<std::unique_ptr<report::TVoranReportElement>> owned;
    report::TSestVystup doc;

    // A text element (kind 1) in Arial 10 unless changed.
    report::TVoranReportElement* element(int kind, int left, int top, int width, int height,
                                         const QString& text = {}) {
        owned.push_back(std::make_unique<report::TVoranReportElement>(&report));
        owned.back()->LoadFromLine(textLine("T", kind, "0", left, top, width, height, text));
        owned.back()->Kind = kind;
        return owned.back().get();
    }
    report::TVystPrvek* add(int page, report::TVoranReportElement* e, const QString& text = {}) {
        auto out = std::make_unique<report::TVystPrvek>(e, e->Left, e->Top, e->Width, e->Height);
        out->SetText(text.isEmpty() ? e->Text : text);
        return doc.AddElement(page, std::move(out));
    }
    report::TVystPrvek* text(int page, int left, int top, int width, int height,
                             const QString& text) {
        return add(page, element(1, left, top, width, height, text), text);
    }
    // A plain text laid out into lines for its element's width, all lines shown.
    report::TVystPrvek* brokenText(int page, int left, int top, int width, const QString& text) {
        report::TVoranReportElement* e = element(1, left, top, width, 100, text);
        platform::Metafile scratch(1000, 1000, 100);
        platform::TVoranCanvas canvas(scratch, 100);
        canvas.SetFont(e->Font);
        report::TRadky lines;
        report::LayoutRichText(canvas, {0, 0, width, 10000}, text, {}, lines);
        report::TVystPrvek* out = add(page, e, text);
        out->SetLines(lines);
        return out;
    }
    report::TVystPrvek* shape(int page, int kind, int left, int top, int width, int height,
                              int penWidth = 1, int options = 0) {
        report::TVoranReportElement* e = element(kind, left, top, width, height);
        e->PenWidth = penWidth;
        e->Options = options;
        return add(page, e);
    }
    report::TVystPrvek* picture(int page, int left, int top, int width, int height,
                                const QImage& image) {
        report::TVoranReportElement* e = element(11, left, top, width, height);
        e->Options = 16; // stretched
        report::TPicture p;
        p.setBitmap(image);
        report::TVystPrvek* out = add(page, e);
        out->SetPicture(&p);
        return out;
    }
    report::TVystPrvek* barcode(int page, int left, int top, int width, int height,
                                const QString& code) {
        report::TVoranReportElement* e = element(12, left, top, width, height, code);
        e->PenStyle = 0; // the first symbology
        e->PenWidth = 2;
        e->Options = 32; // printed text
        return add(page, e, code);
    }
};

// A report of one item "Vel1" over `rows` rows "row1".."rowN", one row a body line, with its
// template given here rather than read from a file; the errors it reports are kept.
struct RowsReport {
    explicit RowsReport(int rows = 120) {
        std::vector<QStringList> data;
        for (int i = 1; i <= rows; ++i)
            data.push_back({QStringLiteral("row%1").arg(i)});
        t = std::make_unique<TableReport>(QStringList{"Vel1"}, data);
        t->setTemplate({paperLine(827, 1169, 50), sectionLine(2, true, 20),
                        textLine("T", 2, "Vel1", 10, 0, 200, 20)});
        t->report.IsStored = true;
        t->report.OnError = [this](report::TSestava*, int error) {
            errors << error;
            return true;
        };
    }
    std::unique_ptr<TableReport> t;
    QList<int> errors;
};

// The test printer, writing each job as a PDF into a folder of its own, for one test.
class TestPrinter {
public:
    TestPrinter() { platform::PrinterSystem::instance().installTestPrinter(m_folder.path()); }
    ~TestPrinter() { platform::PrinterSystem::instance().removeTestPrinter(); }
    QStringList pdfs() const { return QDir(m_folder.path()).entryList({"*.pdf"}, QDir::Files); }
    QString path(const QString& name) const { return QDir(m_folder.path()).filePath(name); }

private:
    QTemporaryDir m_folder;
};

// Runs a tool; its standard output, or a failed test's message when it did not run or failed.
struct ToolResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
inline ToolResult runTool(const QString& program, const QStringList& args,
                          int timeoutMs = 120000) {
    QProcess process;
    process.start(program, args);
    ToolResult r;
    if (!process.waitForStarted(10000)) return r;
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

// LibreOffice converts `file` to `format` ("pdf", "svg") in `outDir`, with a profile of its own
// so that parallel runs do not meet; the converted file's path ("" on failure).
inline QString convertWithOffice(const QString& file, const QString& format,
                                 const QString& outDir) {
    QTemporaryDir profile;
    const ToolResult r = runTool(QStringLiteral("soffice"),
                                 {QStringLiteral("-env:UserInstallation=file://") + profile.path(),
                                  QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                  format, QStringLiteral("--outdir"), outDir, file},
                                 180000);
    const QString base = QFileInfo(file).completeBaseName();
    const QString out = outDir + '/' + base + '.' + format;
    return r.exitCode == 0 && QFileInfo::exists(out) ? out : QString();
}

} // namespace reporttest
