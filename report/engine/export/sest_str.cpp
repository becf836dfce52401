#include "report/engine/export/sest_str.h"

#include "report/engine/document/sestvyst.h"
#include "report/engine/export/EmfWriter.h"
#include "report/engine/export/WmfWriter.h"

#include "platform/AtomicFile.h"
#include "report/engine/export/ExportFiles.h"

#include <QCoreApplication>

namespace report {

QString PageFileName(const QString& fileName, int page, const QString& extension) {
    const int slash = int(fileName.lastIndexOf('/'));
    const int dot = int(fileName.lastIndexOf('.'));
    const QString stem = dot > slash ? fileName.left(dot) : fileName;
    return stem + QString::number(page) + extension;
}

bool SavePageMetafile(TSestVystup& document, QIODevice& stream, int page, bool withBackground,
                      bool enhanced) {
    if (!document.Page(page)) return false;
    const auto stopped = [&] { return document.CancelRequested(); };
    document.NotePage(page + 1);
    QCoreApplication::processEvents();
    if (stopped()) return false;
    const bool printed = document.PrintsBackground();
    document.SetPrintBackground(withBackground);
    document.ShowPage(page);
    document.SetPrintBackground(printed);
    // A cancel asked while the page was prepared waits among the events (the last page's too).
    QCoreApplication::processEvents();
    if (stopped()) return false; // the page view may be cut short
    const platform::Metafile& view = document.PageView();
    const QByteArray bytes = enhanced ? WriteEmf(view) : WriteWmf(view);
    return stream.write(bytes) == bytes.size();
}

bool SavePageMetafileFile(TSestVystup& document, const QString& fileName, int page,
                          bool withBackground, bool enhanced) {
    if (!document.Page(page)) return false;
    return platform::writeFileAtomically(fileName, [&](QIODevice& file) {
        return SavePageMetafile(document, file, page, withBackground, enhanced);
    });
}

bool SaveAllPagesMetafile(TSestVystup& document, const QString& fileName, const QString& extension,
                          bool withBackground, bool enhanced) {
    ExportFiles files;
    for (int k = 1; k <= document.PageCount(); ++k)
        if (!files.write(PageFileName(fileName, k, extension), [&](QIODevice& file) {
                return SavePageMetafile(document, file, k - 1, withBackground, enhanced);
            }))
            return false;
    return files.keep();
}

} // namespace report
