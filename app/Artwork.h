#pragma once
// The window's pictures, drawn in code.

#include <QPixmap>
#include <QSize>

namespace artwork {

// Page background: navy with a lighter menu band at the top; `startPage` adds the decoration
// of the start page.
QPixmap pageBackground(QSize size, bool startPage);
// The exit button, 22 x 22.
QPixmap exitImage();
// The language buttons, 72 x 48: 0 Czech, 1 English.
QPixmap languageImage(int language);
// The openers of the about box's three credit sets, 30 x 30.
QPixmap aboutOpenerImage(int set);

} // namespace artwork
