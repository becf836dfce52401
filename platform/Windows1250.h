#pragma once
// The Windows-1250 code page (Central European), in both directions. Legacy templates and
// settings files, RTF byte escapes, the CHR and ORD report functions and text exports meet
// this code page; inside the program all text is QString.

#include <QByteArray>
#include <QChar>
#include <QString>

namespace platform {

// The character of byte `code`. The five bytes the code page leaves undefined (0x81, 0x83,
// 0x88, 0x90, 0x98) give the C1 control of the same value, as Windows does, so that such a
// byte survives a round trip.
QChar Windows1250Char(unsigned char code);

// The byte of `c`, or -1 when the code page has no such character.
int Windows1250Code(QChar c);

// Text as Windows-1250 bytes; a character the code page lacks becomes one '?' (a surrogate
// pair, i.e. one character outside the basic plane, included).
QByteArray EncodeWindows1250(const QString& text);

// Windows-1250 bytes as text; every byte gives one character.
QString DecodeWindows1250(const QByteArray& bytes);

} // namespace platform
