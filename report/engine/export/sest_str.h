#pragma once
// The export writers of the output document: plain text through the character page, one page
// as HTML, the whole document as RTF, one page as EMF or WMF; and the file names of per-page
// exports. Page indexes are 0-based, as everywhere in the output document; page numbers in
// file names and text ranges are 1-based.
//
// Every writer returns false when it was cancelled (the document's CancelRequested, asked
// between elements: its cancel source or its progress window) or could not write; each shows
// the page it writes in the document's progress window. The file variants write through
// ExportFiles: a failed or cancelled export leaves none of its files behind and any file it did
// not reach as it was.

#include <QIODevice>
#include <QString>

namespace report {

class TSestVystup;

// Pages start..end (1-based, clamped to the document) `copies` times, each page as the rows
// of a character page ending in CR LF, in the document's export language. An empty document
// writes nothing and succeeds.
bool SaveToText(TSestVystup& document, QIODevice& stream, int startPage, int copies, int endPage);
bool SaveToTextFile(TSestVystup& document, const QString& fileName);

// Page `page` as HTML (UTF-8). Pictures, item pictures, drawing areas and barcodes become BMP
// files in `pictureFolder`, named after `fileName` with its extension replaced by the element's
// number (from 1) and ".bmp". False for an invalid page (nothing written) or a picture that
// could not be saved.
bool SaveToHTML(TSestVystup& document, QIODevice& stream, const QString& pictureFolder, int page,
                const QString& fileName);
// Page `page` into `fileName`, its pictures beside it, named after `pictureStem` (a file name
// whose extension is replaced; empty: `fileName`).
bool SaveToHTMLFile(TSestVystup& document, const QString& fileName, int page,
                    const QString& pictureStem = {});

// The whole document as RTF: absolutely positioned paragraphs in twips, one group per page.
bool SaveToRTF(TSestVystup& document, QIODevice& stream);
bool SaveToRTFFile(TSestVystup& document, const QString& fileName);

// Page `page` recorded by the page view and written as EMF (`enhanced`) or placeable WMF;
// the background is drawn when `withBackground` and the document has one. The document's
// current page becomes `page`. False for an invalid page (nothing written).
bool SavePageMetafile(TSestVystup& document, QIODevice& stream, int page, bool withBackground,
                      bool enhanced);
bool SavePageMetafileFile(TSestVystup& document, const QString& fileName, int page,
                          bool withBackground, bool enhanced);

// The name of page `page` (1-based) of a per-page export: the extension of the file name (its
// last dot after the last "/") replaced by the number and `extension` ("a.html", 3, ".html"
// gives "a3.html"); a name without extension gets both appended. Case is kept.
QString PageFileName(const QString& fileName, int page, const QString& extension);

// Every page k (from 1) into its own file PageFileName(fileName, k, extension); HTML pages'
// pictures are named after PageFileName(fileName, k, "_" + extension), so that no two pages'
// pictures share a name. A page that fails or a cancel ends the export, which then leaves none
// of its files.
bool SaveAllPagesHTML(TSestVystup& document, const QString& fileName,
                      const QString& extension = QStringLiteral(".html"));
bool SaveAllPagesMetafile(TSestVystup& document, const QString& fileName, const QString& extension,
                          bool withBackground, bool enhanced);

} // namespace report
