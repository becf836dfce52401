#pragma once
// The floor of graphic printing: what the pages of an output document show (texts at their
// baselines in their fonts, and the rules), taken once from the page views in the printer's
// pixels, then drawn with nothing but plain QPainter calls into a PDF job of the same printer.

#include "report/engine/document/sestvyst.h"

#include <QFont>
#include <QLineF>
#include <QPen>

#include <vector>

namespace benchwork {

// A text (font index, baseline origin) or a rule, in drawing order.
struct FloorItem {
    bool rule = false;
    int font = 0;
    QPointF origin;
    QString text;
    QLineF line;
    QPen pen;
};

struct FloorDocument {
    std::vector<QFont> fonts;
    std::vector<std::vector<FloorItem>> pages;
    int textCount() const;
};

// The pages of `doc` as the installed printer would print them (it shows every page).
FloorDocument floorOf(report::TSestVystup& doc);

// Prints the floor document as one job; false when the job failed.
bool drawFloor(const FloorDocument& floor);

} // namespace benchwork
