#pragma once
// A template's settings lines (I,0 .. I,7) and function lines (F) as one value, with the one
// reader and the one writer of those lines. The report, the designer and the new-template
// wizard all go through them; element lines are TVoranReportElement's own.
//
// Line by line: I,0 description; I,1 version; I,2 paper, columns and gap; I,3 one section's
// visibility, height and flags; I,4 one group; I,5 one integer kept for the designer; I,6 the
// grid; I,7 the background picture; F one user function.

#include "report/engine/printing/sestprn.h"
#include "report/engine/template/sestavyt_model.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace report {

// The paper values of an I,2 line (1/100 inch), handed to the printer model.
struct TemplatePaper {
    bool landscape = false;
    bool orientationChangeable = false;
    int paperWidth = 0;
    int paperHeight = 0;
    int marginLeft = 0;
    int marginRight = 0;
    int marginTop = 0;
    int marginBottom = 0;

    bool operator==(const TemplatePaper&) const = default;
};

// One fixed section's I,3 line. A line without the flags field has none (it reads as 0).
struct TemplateSection {
    bool visible = true;
    int height = 0;
    std::optional<int> flags;

    bool operator==(const TemplateSection&) const = default;
};

// An I,4 line: a group with its key (an item's name, or its index as digits) and its two
// sections; heights below 0 read as 0.
struct TemplateGroupLine {
    int number = 0;
    QString key;
    bool headerVisible = true;
    int headerHeight = 0;
    bool footerVisible = true;
    int footerHeight = 0;
    bool newPage = false;

    bool operator==(const TemplateGroupLine&) const = default;
};

// The I,6 line. With the character grid (the layout of a text-only printer) the codes set the
// character cell, and grid X and Y are the cell rounded to whole units.
struct TemplateGrid {
    int characterGrid = 0; // 1 on, 0 off
    int x = 8;
    int y = 8;
    int lineCode = 0;  // 1: 4 lines per inch, 2: 3, any other: 6
    int pitchCode = 1; // 1: 12 characters per inch, 2: 17 (a cell of 6), any other: 10
    bool show = false; // show and snap are the designer's; the report keeps them
    bool snap = false;

    // The character cell of the codes, 1/100 inch.
    double cellWidth() const;
    double lineHeight() const;

    bool operator==(const TemplateGrid&) const = default;
};

// The template's own background picture (I,7); width and height 0 mean the paper's.
struct TemplateBackground {
    bool own = false;
    bool print = false;
    bool positioned = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    QString pictureName;

    bool operator==(const TemplateBackground&) const = default;
};

// One F line: a user function's definition (TRadekFunkce::SetDefinition). Functions are
// numbered by their order; the index field of the line is not read.
struct TemplateFunction {
    QString name;
    QString title;
    int resultKind = 0;
    QString initialValue;
    int resetGroup = 0;
    QString expression;
    int aggregate = 0;
    int precision = 0;
    int digits = 0;
    int floatFormat = 2;

    bool operator==(const TemplateFunction&) const = default;
};

struct TemplateSettings {
    QString description;                // I,0; empty when the template gives none
    TemplateVersion version;            // I,1; none: the current version
    std::optional<TemplatePaper> paper; // I,2 of a main report; none when the template has none
    // Whether an I,2 line carried the paper size: templates of version 0 have none, and their
    // paper width and height stay the defaults'.
    bool paperHasSize = false;
    int columns = 1; // I,2, at least 1 (the run divides by it), also a detail's
    int columnGap = 0;
    std::array<std::optional<TemplateSection>, 5> sections; // I,3 of sections Z, H, T, K, P
    QList<TemplateGroupLine> groups;                        // I,4, in template order
    int designerValue = 0;                                  // I,5
    TemplateGrid grid;                                      // I,6
    TemplateBackground background;                          // I,7
    QList<TemplateFunction> functions;                      // F, in template order

    bool operator==(const TemplateSettings&) const = default;
};

// The settings of a template's text: its I and F lines in text order, longer than one
// character; other lines, unknown setting numbers and section numbers outside 0..4 are
// ignored, missing or bad fields take their defaults. Values the text does not give are those
// of `defaults` (the paper too when an I,2 line of version 0 gives no size; the grid's fields
// default to its), except that the lists start empty. A detail report (`detail`) reads only
// columns and gap from its I,2 line.
TemplateSettings ReadTemplateSettings(const TPredloha& text, bool detail,
                                      const TemplateSettings& defaults = {});

// The description of the text's first I,0 line, empty or not: the title under which a list
// of templates shows it.
QString ReadTemplateTitle(const TPredloha& text);

// The settings as template lines: I,0 .. I,7 (I,1 always the current version, the format the
// lines are written in; I,2 with the defaults' zero paper when there is none; an I,3 line for
// each section that has one), then one F line per function.
TPredloha WriteTemplateSettings(const TemplateSettings& settings);
// The I,3 line of section `number`.
QString WriteSectionLine(int number, const TemplateSection& section);

// The page setup as a template's paper says: its orientation and margins, and its size when
// `withSize` (the report takes the size when the page line carried one, the designer when it is
// not zero).
void ApplyPaperToPageSetup(const TemplatePaper& paper, bool withSize, TPageSetup& setup);

// The functions of the F lines added to `functions`, and the definitions of a function list.
void AddTemplateFunctions(const QList<TemplateFunction>& definitions, TListFunkci& functions);
QList<TemplateFunction> TemplateFunctionsOf(const TListFunkci& functions);

} // namespace report
