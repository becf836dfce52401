// The component's exports: the writers of the output document with the component's result
// codes, per-page file names and, for text, a run of the report first.
#include "report/engine/run/sestavy.h"

#include "platform/AtomicFile.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/export/sest_str.h"
#include "report/engine/run/RunWatch.h"

#include <QBuffer>
#include <QCoreApplication>

namespace report {

namespace {

// Done, cancelled in the progress window, or not written.
int resultOf(bool ok, const RunWatch& watch) {
    return ok ? seOk : watch.cancelled() ? seCancelled : seNotExported;
}

// Copies `bytes` into `file` in 64 KiB pieces, handling events between them; false once the
// progress window is cancelled.
bool copyInPieces(const QByteArray& bytes, QIODevice& file, const RunWatch& watch) {
    constexpr qsizetype piece = 64 * 1024;
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        if (file.write(bytes.constData() + at, std::min(piece, bytes.size() - at)) < 0)
            return false;
        QCoreApplication::processEvents();
        if (watch.cancelled()) return false;
    }
    return true;
}

} // namespace

int TSestava::SaveToText(QIODevice& stream) {
    if (BeforePrint && !designing()) BeforePrint(this);
    // One progress window for the run and the export.
    const RunWatch watch(*this);
    int result = PrepareAndGenerate();
    if (result == seOk) {
        TSestVystup& doc = Vystup();
        doc.SetPageRange(StartPage, EndPage, ExportLanguage, PrintCopies);
        result =
            report::SaveToText(doc, stream, StartPage, PrintCopies, EndPage) ? seOk : seCancelled;
        reportError(result);
    }
    if (AfterPrint && !designing()) AfterPrint(this);
    return result;
}

int TSestava::SaveToTextFile(const QString& fileName) {
    const RunWatch watch(*this);
    QBuffer memory;
    memory.open(QIODevice::WriteOnly);
    const int result = SaveToText(memory);
    if (result != seOk) return result;
    const bool written = platform::writeFileAtomically(
        fileName, [&](QIODevice& file) { return copyInPieces(memory.data(), file, watch); });
    const int outcome = resultOf(written, watch);
    reportError(outcome);
    return outcome;
}

int TSestava::exportDocument(bool available, const std::function<bool()>& write) {
    const RunWatch watch(*this);
    const int result = available ? resultOf(write(), watch) : seNothingDone;
    reportError(result);
    return result;
}

int TSestava::SaveToEMF(QIODevice& stream, int page, bool withBackground) {
    return exportDocument(Vystup().Page(page), [&] {
        return SavePageMetafile(Vystup(), stream, page, withBackground, true);
    });
}

int TSestava::SaveToEMFFile(const QString& fileName, int page, bool withBackground) {
    return exportDocument(Vystup().Page(page), [&] {
        return SavePageMetafileFile(Vystup(), fileName, page, withBackground, true);
    });
}

int TSestava::SaveAllToEMF(const QString& fileName, bool withBackground) {
    return exportDocument(Vystup().PageCount() > 0, [&] {
        return SaveAllPagesMetafile(Vystup(), fileName, QStringLiteral(".emf"), withBackground,
                                    true);
    });
}

int TSestava::SaveToWMF(QIODevice& stream, int page, bool withBackground) {
    return exportDocument(Vystup().Page(page), [&] {
        return SavePageMetafile(Vystup(), stream, page, withBackground, false);
    });
}

int TSestava::SaveToWMFFile(const QString& fileName, int page, bool withBackground) {
    return exportDocument(Vystup().Page(page), [&] {
        return SavePageMetafileFile(Vystup(), fileName, page, withBackground, false);
    });
}

int TSestava::SaveAllToWMF(const QString& fileName, bool withBackground) {
    return exportDocument(Vystup().PageCount() > 0, [&] {
        return SaveAllPagesMetafile(Vystup(), fileName, QStringLiteral(".wmf"), withBackground,
                                    false);
    });
}

int TSestava::SaveToHTML(QIODevice& stream, int page, const QString& folder,
                         const QString& fileName) {
    return exportDocument(Vystup().Page(page), [&] {
        return report::SaveToHTML(Vystup(), stream, folder, page, fileName);
    });
}

int TSestava::SaveToHTMLFile(const QString& fileName, int page) {
    return exportDocument(Vystup().Page(page),
                          [&] { return report::SaveToHTMLFile(Vystup(), fileName, page, {}); });
}

int TSestava::SaveAllToHTML(const QString& fileName) {
    return exportDocument(Vystup().PageCount() > 0, [&] {
        return SaveAllPagesHTML(Vystup(), fileName, QStringLiteral(".html"));
    });
}

int TSestava::SaveToRTF(QIODevice& stream) {
    return exportDocument(true, [&] { return report::SaveToRTF(Vystup(), stream); });
}

int TSestava::SaveToRTFFile(const QString& fileName) {
    return exportDocument(true, [&] { return report::SaveToRTFFile(Vystup(), fileName); });
}

} // namespace report
