#include "FuzzPicture.h"

#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"
#include "report/engine/document/MetafileReader.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/export/EmfWriter.h"
#include "report/engine/export/WmfWriter.h"
#include "report/engine/sest_lib.h"

#include <QPainter>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// A page of 8.5 x 11 inches in hundredths of an inch, as a report run records it.
platform::Metafile pageWith(const report::TPicture& picture) {
    platform::Metafile page(850, 1100, 100);
    platform::RecordingCanvas canvas(page);
    platform::TRect stretched{40, 60, 440, 360};
    report::FitPictureRect(stretched, true, true, picture, 0, 1, 1);
    report::DrawPicture(canvas, stretched, picture);
    platform::TRect natural{100, 500, 700, 1000};
    report::FitPictureRect(natural, false, false, picture, 2, 1, 1);
    report::DrawPicture(canvas, natural, picture);
    return page;
}

} // namespace

QByteArray withSignature(QByteArray bytes, qsizetype offset, QByteArrayView signature) {
    if (bytes.size() >= offset + signature.size())
        bytes.replace(offset, signature.size(), signature.toByteArray());
    return bytes;
}

void exercisePicture(const QByteArray& bytes) {
    report::TPicture picture;
    if (!picture.LoadFromBytes(bytes)) {
        check(picture.isEmpty());
        return;
    }
    // A picture's size in hundredths of an inch (less than one for a tiny metafile) never
    // overflows.
    check(picture.Width() >= 0 && picture.Height() >= 0);
    const platform::Metafile page = pageWith(picture);

    // The preview at 40 %, and the picture drawn onto the bitmap straight.
    QImage screen(340, 440, QImage::Format_RGB32);
    screen.fill(Qt::white);
    QPainter painter(&screen);
    platform::PainterCanvas canvas(painter, 40);
    page.Play(canvas, {0, 0, 340, 440});
    report::DrawPicture(canvas, {5, 5, 105, 85}, picture);
    painter.end();

    if (picture.kind() != report::TPicture::Kind::Metafile) return;
    platform::Metafile again;
    check(report::ReadMetafile(report::WriteEmf(page), again));
    check(report::ReadMetafile(report::WriteWmf(page), again));
}
