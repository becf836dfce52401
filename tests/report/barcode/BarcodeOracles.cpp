#include "BarcodeOracles.h"

#include <QPainter>
#include <QProcess>

#include <gtest/gtest.h>
#include <zbar.h>

#include <algorithm>
#include <set>

namespace report::test {
using namespace zbar;

QList<DecodedSymbol> DecodeWithZbar(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    QByteArray bytes;
    for (int y = 0; y < grey.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(grey.constScanLine(y)), grey.width());

    zbar_image_scanner_t* scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
    for (zbar_symbol_type_t type : {ZBAR_EAN8, ZBAR_EAN13, ZBAR_UPCA, ZBAR_UPCE, ZBAR_I25,
                                    ZBAR_CODE39, ZBAR_CODE93, ZBAR_CODE128, ZBAR_CODABAR})
        zbar_image_scanner_set_config(scanner, type, ZBAR_CFG_ENABLE, 1);
    zbar_image_scanner_set_config(scanner, ZBAR_I25, ZBAR_CFG_MIN_LEN, 2);

    zbar_image_t* zimage = zbar_image_create();
    zbar_image_set_format(zimage, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(zimage, unsigned(grey.width()), unsigned(grey.height()));
    zbar_image_set_data(zimage, bytes.constData(), unsigned(bytes.size()), nullptr);
    zbar_scan_image(scanner, zimage);

    QList<DecodedSymbol> found;
    for (const zbar_symbol_t* symbol = zbar_image_first_symbol(zimage); symbol;
         symbol = zbar_symbol_next(symbol)) {
        found.append({QString::fromLatin1(zbar_get_symbol_name(zbar_symbol_get_type(symbol))),
                      QString::fromLatin1(zbar_symbol_get_data(symbol),
                                          int(zbar_symbol_get_data_length(symbol)))});
    }
    zbar_image_destroy(zimage);
    zbar_image_scanner_destroy(scanner);
    return found;
}

QImage RenderPattern(const QString& pattern, const BarcodeWidths& widths, int height,
                     bool vertical) {
    const int quiet = 10 * widths.w4;
    int length = 0;
    for (QChar c : pattern)
        length += BarcodeElementWidth(c, widths);
    QImage image(length + 2 * quiet, height + 2 * quiet, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    int x = quiet;
    for (QChar c : pattern) {
        const int w = BarcodeElementWidth(c, widths);
        if (IsBarcodeBar(c)) {
            const int h = IsBarcodeShortBar(c) ? height * 2 / 5 : height;
            painter.fillRect(x, quiet, w, h, Qt::black);
        }
        x += w;
    }
    painter.end();
    if (!vertical) return image;
    return image.transformed(QTransform().rotate(-90));
}

QStringList ZintModuleRows(int zintType, const QString& data, const QStringList& options) {
    QProcess zint;
    zint.start("zint",
               QStringList{"-b", QString::number(zintType), "-d", data, "--dump"} + options);
    const bool finished = zint.waitForFinished(20000);
    EXPECT_TRUE(finished && zint.exitStatus() == QProcess::NormalExit && zint.exitCode() == 0)
        << "zint could not encode " << data.toStdString() << ": "
        << zint.readAllStandardError().toStdString();
    QStringList rows;
    for (const QString& line : QString::fromLatin1(zint.readAllStandardOutput()).split('\n')) {
        QString bits;
        for (const QString& hex : line.split(' ', Qt::SkipEmptyParts)) {
            const int value = hex.toInt(nullptr, 16);
            bits += QString::number(value, 2).rightJustified(hex.size() * 4, '0');
        }
        while (bits.endsWith('0'))
            bits.chop(1);
        if (!bits.isEmpty()) rows.append(bits);
    }
    return rows;
}

QList<BarRun> PatternRuns(const QString& pattern, const BarcodeWidths& widths) {
    QList<BarRun> runs;
    for (QChar c : pattern) {
        const bool dark = IsBarcodeBar(c);
        const int w = BarcodeElementWidth(c, widths);
        if (!runs.isEmpty() && runs.last().dark == dark)
            runs.last().width += w;
        else
            runs.append({dark, w});
    }
    return runs;
}

void PrintTo(const BarRun& run, std::ostream* os) {
    *os << (run.dark ? "bar " : "space ") << run.width;
}

QList<BarRun> ModuleRuns(const QString& modules) {
    QList<BarRun> runs;
    for (QChar c : modules) {
        const bool dark = c == '1';
        if (!runs.isEmpty() && runs.last().dark == dark)
            ++runs.last().width;
        else
            runs.append({dark, 1});
    }
    return runs;
}

QList<BarRun> RankedRuns(QList<BarRun> runs) {
    std::set<int> distinct;
    for (const BarRun& run : runs)
        distinct.insert(run.width);
    for (BarRun& run : runs)
        run.width = int(std::distance(distinct.begin(), distinct.find(run.width)));
    return runs;
}

} // namespace report::test
