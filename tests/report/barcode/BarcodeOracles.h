#pragma once
// Independent readers of bar patterns for the barcode tests: zbar decodes images, zint encodes
// the symbologies no decoder reads. Both run as black boxes.

#include "report/engine/barcode/sestbarc.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <ostream>

namespace report::test {

struct DecodedSymbol {
    QString type; // zbar's name, e.g. "EAN-13", "CODE-128"
    QString data;
};

// Everything zbar finds in a greyscale copy of `image`: linear symbologies enabled, UPC-A and
// UPC-E reported as such, interleaved 2 of 5 from two digits, full ASCII not interpreted.
QList<DecodedSymbol> DecodeWithZbar(const QImage& image);

// The pattern drawn at `widths` as black on white with a quiet zone of 10 widest elements.
// Vertical turns it a quarter turn: the symbol runs upwards from the bottom.
QImage RenderPattern(const QString& pattern, const BarcodeWidths& widths, int height,
                     bool vertical);

// The module rows of zint's symbol (`zint --dump`), as strings of '1' (dark) and '0', with the
// padding of the last hexadecimal digit removed. Fails the calling test when zint cannot run.
QStringList ZintModuleRows(int zintType, const QString& data, const QStringList& options = {});

// Our pattern as element runs: each element's width in modules of w1 and whether it is dark.
struct BarRun {
    bool dark;
    int width;
    bool operator==(const BarRun&) const = default;
};
// Readable test failures.
void PrintTo(const BarRun& run, std::ostream* os);
QList<BarRun> PatternRuns(const QString& pattern, const BarcodeWidths& widths);
// zint's module row as runs of equal modules.
QList<BarRun> ModuleRuns(const QString& modules);
// The same runs with every width replaced by its rank among the distinct widths (narrow 0,
// wide 1, wider 2): the shape of a symbol whatever its wide-to-narrow ratio.
QList<BarRun> RankedRuns(QList<BarRun> runs);

} // namespace report::test
