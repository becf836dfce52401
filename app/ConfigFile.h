#pragma once
// kolv.cfg: six lines, one decimal integer each, the decimal places of t, p, v, s, h, x.

#include <QString>

#include <array>

// Reads the lines in order into places[1..6], each stored as soon as it is read. Stops at the
// first line that is missing or not an integer and returns false then (also when the file
// cannot be opened); what was stored before stays. Lines may end in LF or CR LF; lines after
// the sixth are not read. At most 6 lines of at most 4096 bytes are read, whatever the file.
bool readDecimalPlaces(const QString& path, std::array<int, 7>& places);

// Writes places[1..6] as six lines with CR LF. The old file is replaced only when the new one
// is complete; returns false on any failure.
bool writeDecimalPlaces(const QString& path, const std::array<int, 7>& places);
