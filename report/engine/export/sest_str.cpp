#include "report/engine/export/sest_str.h"

#include "report/engine/export/EmfWriter.h"
#include "report/engine/export/WmfWriter.h"
#include "report/engine/document/sestvyst.h"

#include "platform/AtomicFile.h"

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
    const bool printed = document.PrintsBackground();
    document.SetPrintBackground(withBackground);
    document.ShowPage(page);
    document.SetPrintBackground(printed);
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

bool SaveAllPagesHTML(TSestVystup& document, const QString& fileName, const QString& extension) {
    for (int k = 1; k <= document.PageCount(); ++k) {
        const QString stem = PageFileName(fileName, k, QStringLiteral("_") + extension);
        const QString name = PageFileName(fileName, k, extension);
        if (!SaveToHTMLFile(document, name, k - 1, stem.mid(stem.lastIndexOf('/') + 1)))
            return false;
    }
    return true;
}

bool SaveAllPagesMetafile(TSestVystup& document, const QString& fileName, const QString& extension,
                          bool withBackground, bool enhanced) {
    for (int k = 1; k <= document.PageCount(); ++k)
        if (!SavePageMetafileFile(document, PageFileName(fileName, k, extension), k - 1,
                                  withBackground, enhanced))
            return false;
    return true;
}

} // namespace report
