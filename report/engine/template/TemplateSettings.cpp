#include "report/engine/template/TemplateSettings.h"

#include "report/engine/sest_lib.h"

#include <QtMath>

namespace report {

namespace {

QString num(qint64 n) {
    return QString::number(n);
}

QString joinFields(std::initializer_list<QString> fields) {
    return QStringList(fields).join(u',');
}

TemplateVersion readVersion(QString& line) {
    TemplateVersion version;
    version.major = NextFieldInt(line, 0);
    version.minor = NextFieldInt(line, 0);
    version.build = NextFieldInt(line, 0);
    return version;
}

// A length of the paper or a section: beyond the page's reach it means nothing more and is taken
// at it, so that no sum of the run or an output overflows.
int readLength(QString& line) {
    return WithinPageReach(NextFieldInt(line, 0));
}

// The paper size is there only from version 1 on; older lines go from orientation to margins.
void readPaper(QString& line, bool withSize, TemplatePaper& paper) {
    const int orientation = std::max(NextFieldInt(line, 0), 0);
    paper.landscape = orientation & 1;
    paper.orientationChangeable = orientation > 1;
    if (withSize) {
        paper.paperWidth = readLength(line);
        paper.paperHeight = readLength(line);
    }
    paper.marginLeft = readLength(line);
    paper.marginRight = readLength(line);
    paper.marginTop = readLength(line);
    paper.marginBottom = readLength(line);
}

TemplateSection readSection(QString& line) {
    TemplateSection section;
    section.visible = NextFieldBool(line, true);
    section.height = std::max(readLength(line), 0);
    if (!line.isEmpty()) section.flags = NextFieldInt(line, 0);
    return section;
}

TemplateGroupLine readGroup(QString& line) {
    TemplateGroupLine group;
    group.number = NextFieldInt(line, 0);
    group.key = NextField(line);
    group.headerVisible = NextFieldBool(line, true);
    group.headerHeight = std::max(readLength(line), 0);
    group.footerVisible = NextFieldBool(line, true);
    group.footerHeight = std::max(readLength(line), 0);
    group.newPage = NextFieldBool(line, false);
    return group;
}

// Missing grid steps and switches take the caller's defaults; steps below 1 are 8.
TemplateGrid readGrid(QString& line, const TemplateGrid& defaults) {
    TemplateGrid grid;
    grid.characterGrid = NextFieldInt(line, 0) == 1 ? 1 : 0;
    grid.x = NextFieldInt(line, defaults.x);
    grid.y = NextFieldInt(line, defaults.y);
    if (grid.x < 1) grid.x = 8;
    if (grid.y < 1) grid.y = 8;
    grid.lineCode = NextFieldInt(line, 0);
    grid.pitchCode = NextFieldInt(line, 1);
    grid.show = NextFieldBool(line, defaults.show);
    grid.snap = NextFieldBool(line, defaults.snap);
    if (grid.characterGrid == 1) {
        grid.x = qRound(grid.cellWidth());
        grid.y = qRound(grid.lineHeight());
    }
    return grid;
}

TemplateBackground readBackground(QString& line) {
    TemplateBackground background;
    background.own = NextFieldBool(line, false);
    background.print = NextFieldBool(line, false);
    background.positioned = NextFieldBool(line, false);
    background.x = readLength(line);
    background.y = readLength(line);
    background.width = readLength(line);
    background.height = readLength(line);
    background.pictureName = NextField(line);
    return background;
}

TemplateFunction readFunction(QString& line) {
    TemplateFunction function;
    NextField(line); // the index
    function.name = NextField(line);
    function.title = NextField(line);
    function.resultKind = NextFieldInt(line, 0);
    function.initialValue = NextField(line);
    function.resetGroup = NextFieldInt(line, 0);
    function.expression = NextField(line);
    function.aggregate = NextFieldInt(line, 0);
    function.precision = NextFieldInt(line, 0);
    function.digits = NextFieldInt(line, 0);
    function.floatFormat = NextFieldInt(line, 2);
    if (function.floatFormat > 4) function.floatFormat = 2;
    return function;
}

void readSetting(QString line, bool detail, const TemplateSettings& defaults,
                 TemplateSettings& settings) {
    switch (NextFieldInt(line, -1)) {
    case 0: {
        const QString description = NextField(line);
        if (!description.isEmpty()) settings.description = description;
        break;
    }
    case 1:
        settings.version = readVersion(line);
        break;
    case 2: {
        if (detail) {
            for (int skipped = 0; skipped < 7; ++skipped)
                NextField(line);
        } else {
            TemplatePaper paper = settings.paper.value_or(TemplatePaper{});
            const bool withSize = settings.version.major > 0;
            readPaper(line, withSize, paper);
            settings.paper = paper;
            settings.paperHasSize = settings.paperHasSize || withSize;
        }
        settings.columns = std::max(NextFieldInt(line, 1), 1);
        settings.columnGap = readLength(line);
        break;
    }
    case 3: {
        const int number = NextFieldInt(line, -1);
        if (number >= 0 && number < int(settings.sections.size()))
            settings.sections[number] = readSection(line);
        break;
    }
    case 4:
        settings.groups.append(readGroup(line));
        break;
    case 5:
        settings.designerValue = NextFieldInt(line, 0);
        break;
    case 6:
        settings.grid = readGrid(line, defaults.grid);
        break;
    case 7:
        settings.background = readBackground(line);
        break;
    default:
        break;
    }
}

} // namespace

double TemplateGrid::cellWidth() const {
    return pitchCode == 1 ? 100.0 / 12 : pitchCode == 2 ? 6.0 : 10.0;
}

double TemplateGrid::lineHeight() const {
    return lineCode == 1 ? 25.0 : lineCode == 2 ? 100.0 / 3 : 100.0 / 6;
}

TemplateSettings ReadTemplateSettings(const TPredloha& text, bool detail,
                                      const TemplateSettings& defaults) {
    TemplateSettings settings = defaults;
    settings.paperHasSize = false;
    settings.sections = {};
    settings.groups.clear();
    settings.functions.clear();
    for (const QString& line : text) {
        if (line.size() <= 1) continue;
        QString rest = line;
        const QString key = NextField(rest);
        if (key == u"I")
            readSetting(rest, detail, defaults, settings);
        else if (key == u"F")
            settings.functions.append(readFunction(rest));
    }
    return settings;
}

QString ReadTemplateTitle(const TPredloha& text) {
    for (QString line : text)
        if (NextField(line) == u"I" && NextFieldInt(line, -1) == 0) return NextField(line);
    return {};
}

QString WriteSectionLine(int number, const TemplateSection& section) {
    QString line = joinFields(
        {QStringLiteral("I,3"), num(number), num(section.visible), num(section.height)});
    if (section.flags) line += u',' + num(*section.flags);
    return line;
}

TPredloha WriteTemplateSettings(const TemplateSettings& s) {
    TPredloha out;
    out.append(QStringLiteral("I,0,") + QuotedField(s.description));
    const TemplateVersion current;
    out.append(joinFields(
        {QStringLiteral("I,1"), num(current.major), num(current.minor), num(current.build)}));
    const TemplatePaper paper = s.paper.value_or(TemplatePaper{});
    out.append(joinFields({QStringLiteral("I,2"),
                           num(int(paper.landscape) + 2 * int(paper.orientationChangeable)),
                           num(paper.paperWidth), num(paper.paperHeight), num(paper.marginLeft),
                           num(paper.marginRight), num(paper.marginTop), num(paper.marginBottom),
                           num(s.columns), num(s.columnGap)}));
    for (int number = 0; number < int(s.sections.size()); ++number)
        if (s.sections[number]) out.append(WriteSectionLine(number, *s.sections[number]));
    for (const TemplateGroupLine& g : s.groups)
        out.append(joinFields({QStringLiteral("I,4"), num(g.number), BareField(g.key),
                               num(g.headerVisible), num(g.headerHeight), num(g.footerVisible),
                               num(g.footerHeight), num(g.newPage)}));
    out.append(QStringLiteral("I,5,") + num(s.designerValue));
    const TemplateGrid& grid = s.grid;
    out.append(
        joinFields({QStringLiteral("I,6"), num(grid.characterGrid), num(grid.x), num(grid.y),
                    num(grid.lineCode), num(grid.pitchCode), num(grid.show), num(grid.snap)}));
    const TemplateBackground& b = s.background;
    out.append(
        joinFields({QStringLiteral("I,7"), num(b.own), num(b.print), num(b.positioned), num(b.x),
                    num(b.y), num(b.width), num(b.height), BareField(b.pictureName)}));
    for (qsizetype i = 0; i < s.functions.size(); ++i) {
        const TemplateFunction& f = s.functions[i];
        out.append(
            joinFields({QStringLiteral("F"), num(i), BareField(f.name), QuotedField(f.title),
                        num(f.resultKind), QuotedField(f.initialValue), num(f.resetGroup),
                        QuotedField(f.expression), num(f.aggregate), num(f.precision),
                        num(f.digits), num(f.floatFormat)}));
    }
    return out;
}

void AddTemplateFunctions(const QList<TemplateFunction>& definitions, TListFunkci& functions) {
    for (const TemplateFunction& f : definitions)
        functions.AddFunction().SetDefinition(f.name, f.title, f.expression, f.resultKind,
                                              f.initialValue, f.resetGroup, f.aggregate,
                                              f.precision, f.digits, f.floatFormat);
}

QList<TemplateFunction> TemplateFunctionsOf(const TListFunkci& functions) {
    QList<TemplateFunction> definitions;
    for (int i = 0; i < functions.Count(); ++i) {
        TemplateFunction f;
        functions.GetFunkce(i)->GetDefinition(f.name, f.title, f.expression, f.resultKind,
                                              f.initialValue, f.resetGroup, f.aggregate,
                                              f.precision, f.digits, f.floatFormat);
        definitions.append(f);
    }
    return definitions;
}

void ApplyPaperToPageSetup(const TemplatePaper& paper, bool withSize, TPageSetup& setup) {
    setup.orientation = paper.landscape ? 1 : 0;
    if (withSize) {
        setup.paperWidth = paper.paperWidth;
        setup.paperHeight = paper.paperHeight;
    }
    setup.leftMargin = paper.marginLeft;
    setup.rightMargin = paper.marginRight;
    setup.topMargin = paper.marginTop;
    setup.bottomMargin = paper.marginBottom;
}

} // namespace report
