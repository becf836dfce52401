#pragma once
// The record codes and marks of the two metafile formats, named once for the reader
// (MetafileReader) and the two writers (EmfWriter, WmfWriter): the EMF record types, the WMF
// function numbers, the signatures by which a file says which it is, and the stock objects a
// select record may name instead of an object of the file.

#include <QtGlobal>

namespace report {

// EMF record types.
enum EmrType : int {
    emrHeader = 1,
    emrPolygon = 3,
    emrEof = 14,
    emrSetBkMode = 18,
    emrSetTextAlign = 22,
    emrSetTextColor = 24,
    emrSetBkColor = 25,
    emrMoveToEx = 27,
    emrIntersectClipRect = 30,
    emrSaveDc = 33,
    emrRestoreDc = 34,
    emrSelectObject = 37,
    emrCreatePen = 38,
    emrCreateBrushIndirect = 39,
    emrDeleteObject = 40,
    emrEllipse = 42,
    emrRectangle = 43,
    emrRoundRect = 44,
    emrLineTo = 54,
    emrStretchDibits = 81,
    emrExtCreateFontIndirectW = 82,
    emrExtTextOutW = 84,
    emrPolygon16 = 86,
};
// " EMF", the signature of an EMF header at its byte 40.
constexpr quint32 emfSignature = 0x464D4520;
// Stock objects an EMF select record may name.
constexpr quint32 stockNullBrush = 0x80000005;
constexpr quint32 stockNullPen = 0x80000008;

// WMF function numbers.
enum WmfFunction : int {
    metaEof = 0x0000,
    metaSaveDc = 0x001E,
    metaSetBkMode = 0x0102,
    metaRestoreDc = 0x0127,
    metaSelectObject = 0x012D,
    metaSetTextAlign = 0x012E,
    metaDeleteObject = 0x01F0,
    metaSetBkColor = 0x0201,
    metaSetTextColor = 0x0209,
    metaSetWindowOrg = 0x020B,
    metaSetWindowExt = 0x020C,
    metaLineTo = 0x0213,
    metaMoveTo = 0x0214,
    metaCreatePenIndirect = 0x02FA,
    metaCreateFontIndirect = 0x02FB,
    metaCreateBrushIndirect = 0x02FC,
    metaPolygon = 0x0324,
    metaIntersectClipRect = 0x0416,
    metaEllipse = 0x0418,
    metaRectangle = 0x041B,
    metaRoundRect = 0x061C,
    metaExtTextOut = 0x0A32,
    metaStretchDib = 0x0F43,
};
// The key that opens the header of a placeable WMF.
constexpr quint32 placeableWmfKey = 0x9AC6CDD7;

} // namespace report
