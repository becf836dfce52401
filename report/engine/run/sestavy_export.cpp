// The component's exports: the writers of the output document with the component's result
// codes, per-page file names and, for text, a run of the report first.
#include "report/engine/run/sestavy.h"

#include "platform/AtomicFile.h"
#include "report/engine/export/sest_str.h"
#include "report/engine/document/sestvyst.h"

#include <QBuffer>
#include <QCoreApplication>

namespace report {

namespace {

int resultOf(bool ok) {
    return ok ? seOk : seNotExported;
}

// Copies `bytes` into `file` in 64 KiB pieces, handling events between them.
bool copyInPieces(const QByteArray& bytes, QIODevice& file) {
    constexpr qsizetype piece = 64 * 1024;
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        if (file.write(bytes.constData() + at, std::min(piece, bytes.size() - at)) < 0)
            return false;
        QCoreApplication::processEvents();
    }
    return true;
}

} // namespace

int TSestava::SaveToText(QIODevice& stream) {
    if (BeforePrint && !designing()) BeforePrint(this);
    int result = PrepareAndGenerate();
    if (result == seOk) {
        TSestVystup& doc = Vystup();
        doc.SetPageRange(StartPage, EndPage, ExportLanguage, PrintCopies);
        result = report::SaveToText(doc, stream, StartPage, nullptr, PrintCopies, EndPage)
                     ? seOk
                     : seCancelled;
        reportError(result);
    }
    if (AfterPrint && !designing()) AfterPrint(this);
    return result;
}

int TSestava::SaveToTextFile(const QString& fileName) {
    QBuffer memory;
    memory.open(QIODevice::WriteOnly);
    const int result = SaveToText(memory);
    if (result != seOk) return result;
    const bool written = platform::writeFileAtomically(
        fileName, [&](QIODevice& file) { return copyInPieces(memory.data(), file); });
    const int outcome = written ? seOk : seNotExported;
    reportError(outcome);
    return outcome;
}

int TSestava::SaveToEMF(QIODevice& stream, int page, bool withBackground) {
    const int result =
        Vystup().Page(page)
            ? resultOf(SavePageMetafile(Vystup(), stream, page, withBackground, true))
            : seNothingDone;
    reportError(result);
    return result;
}

int TSestava::SaveToEMFFile(const QString& fileName, int page, bool withBackground) {
    const int result =
        Vystup().Page(page)
            ? resultOf(SavePageMetafileFile(Vystup(), fileName, page, withBackground, true))
            : seNothingDone;
    reportError(result);
    return result;
}

int TSestava::SaveAllToEMF(const QString& fileName, bool withBackground) {
    const int result =
        Vystup().PageCount() == 0
            ? seNothingDone
            : resultOf(SaveAllPagesMetafile(Vystup(), fileName, QStringLiteral(".emf"),
                                            withBackground, true));
    reportError(result);
    return result;
}

int TSestava::SaveToWMF(QIODevice& stream, int page, bool withBackground) {
    const int result =
        Vystup().Page(page)
            ? resultOf(SavePageMetafile(Vystup(), stream, page, withBackground, false))
            : seNothingDone;
    reportError(result);
    return result;
}

int TSestava::SaveToWMFFile(const QString& fileName, int page, bool withBackground) {
    const int result =
        Vystup().Page(page)
            ? resultOf(SavePageMetafileFile(Vystup(), fileName, page, withBackground, false))
            : seNothingDone;
    reportError(result);
    return result;
}

int TSestava::SaveAllToWMF(const QString& fileName, bool withBackground) {
    const int result =
        Vystup().PageCount() == 0
            ? seNothingDone
            : resultOf(SaveAllPagesMetafile(Vystup(), fileName, QStringLiteral(".wmf"),
                                            withBackground, false));
    reportError(result);
    return result;
}

int TSestava::SaveToHTML(QIODevice& stream, int page, const QString& folder,
                         const QString& fileName) {
    const int result = Vystup().Page(page)
                           ? resultOf(report::SaveToHTML(Vystup(), stream, folder, page, fileName))
                           : seNothingDone;
    reportError(result);
    return result;
}

int TSestava::SaveToHTMLFile(const QString& fileName, int page) {
    const int result = Vystup().Page(page)
                           ? resultOf(report::SaveToHTMLFile(Vystup(), fileName, page))
                           : seNothingDone;
    reportError(result);
    return result;
}

int TSestava::SaveAllToHTML(const QString& fileName) {
    const int result =
        Vystup().PageCount() == 0 ? seNothingDone : resultOf(SaveAllPagesHTML(Vystup(), fileName));
    reportError(result);
    return result;
}

int TSestava::SaveToRTF(QIODevice& stream) {
    const int result = resultOf(report::SaveToRTF(Vystup(), stream));
    reportError(result);
    return result;
}

int TSestava::SaveToRTFFile(const QString& fileName) {
    const int result = resultOf(report::SaveToRTFFile(Vystup(), fileName));
    reportError(result);
    return result;
}

} // namespace report
