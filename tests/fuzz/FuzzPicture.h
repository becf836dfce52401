#pragma once
// What the picture fuzz targets share: any bytes loaded as a picture and drawn the ways a
// report draws one.

#include <QByteArray>

// Loads `bytes` by content. A picture that loads is drawn stretched into a frame and at its
// own size on a page recording, as a report run does; the page is played onto a bitmap at a
// preview zoom and the picture drawn straight onto it too; a metafile is written out as EMF
// and as WMF, and what was written must read back. Never a crash, a hang or a sanitizer report.
void exercisePicture(const QByteArray& bytes);

// `bytes` with `signature` written over them at `offset` (when they are long enough), so that a
// target keeps to its format whatever the fuzzer makes of the first bytes.
QByteArray withSignature(QByteArray bytes, qsizetype offset, QByteArrayView signature);
