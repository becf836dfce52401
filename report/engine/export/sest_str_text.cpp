// Text export: the character page of each page, row by row.

#include "report/engine/export/sest_str.h"

#include "platform/AtomicFile.h"
#include "report/engine/document/sest_zn.h"
#include "report/engine/document/sestvyst.h"

#include <QCoreApplication>

namespace report {

bool SaveToText(TSestVystup& document, QIODevice& stream, int startPage, int copies, int endPage) {
    if (document.PageCount() == 0) return true;
    startPage = std::max(startPage, 1);
    endPage = std::min(endPage, document.PageCount());
    TZnakovePole page;
    page.SetPageSize(document.PrintableHeight(), document.LineCode());
    page.BeginPage(&stream);
    const auto language = TSestLanguage(document.ExportLanguage());
    for (int copy = 0; copy < std::max(copies, 1); ++copy) {
        for (int p = startPage; p <= endPage; ++p) {
            document.NotePage(p);
            page.ClearPage();
            const TStranaPrvku* elements = document.Page(p - 1);
            for (int i = 0; i < elements->Count(); ++i) {
                TSestVystup::ToText(*elements->Prvek(i), page, 0, 0);
                QCoreApplication::processEvents();
                if (document.CancelRequested()) {
                    page.EndOutput();
                    return false;
                }
            }
            page.WriteTo(language);
        }
    }
    page.EndOutput();
    return true;
}

bool SaveToTextFile(TSestVystup& document, const QString& fileName) {
    return platform::writeFileAtomically(fileName, [&](QIODevice& file) {
        return SaveToText(document, file, 1, 1, document.PageCount());
    });
}

} // namespace report
