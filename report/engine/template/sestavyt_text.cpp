// The template text: reading it into the model (SetPredloha and its passes, element lines) and
// writing the model back as text.

#include "report/engine/sest_lib.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/printing/sestprn.h"

#include <QHash>

#include <climits>

namespace report {

namespace {

// Text kinds carry a font and a quoted text; graphic kinds a pen and a brush.
bool isTextKind(int kind) {
    return kind >= ekText && kind <= ekFunction;
}

bool isGraphicKind(int kind) {
    return kind >= ekLine && kind <= ekDrawingArea;
}

// Kinds whose reference may be a name kept with the element.
bool keepsRefName(int kind) {
    return kind == ekItem || kind == ekItemLabel || kind == ekFunction;
}

// A palette index out of range would read past the palette: black instead.
platform::TColor paletteColor(int index) {
    return IndexToColor(index >= 0 && index < 16 ? index : 0);
}

// The first field of a line.
QString firstField(const QString& line) {
    QString rest = line;
    return NextField(rest);
}

// The file-name part of each ";"-separated picture name ("/", "\" and ":" separate folders).
QString pictureFileNames(const QString& names) {
    QStringList parts = names.split(u';');
    for (QString& part : parts) {
        const qsizetype cut =
            std::max({part.lastIndexOf(u'\\'), part.lastIndexOf(u'/'), part.lastIndexOf(u':')});
        part = part.mid(cut + 1);
    }
    return parts.join(u';');
}

QString joinFields(std::initializer_list<QString> fields) {
    QString line;
    for (const QString& field : fields) {
        if (!line.isEmpty()) line += u',';
        line += field;
    }
    return line;
}

QString num(qint64 n) {
    return QString::number(n);
}

} // namespace

// ---- element lines

void TVoranReportElement::LoadFromLine(const QString& line, const TemplateVersion& version) {
    QString rest = line;
    NextField(rest); // the section key, chosen by the caller
    Kind = NextFieldInt(rest, ekNone);

    const QString reference = NextField(rest);
    RefName.clear();
    if (!reference.isEmpty() && !reference[0].isDigit()) {
        int found = -1;
        if (Kind == ekItem || Kind == ekItemLabel)
            found = Report->IndexOfItem(reference);
        else if (Kind == ekFunction)
            found = Report->Funkce().IndexOfName(reference);
        Index = std::max(found, 0);
        if (keepsRefName(Kind)) SetRefName(reference);
    } else {
        QString number = reference;
        Index = NextFieldInt(number, 0);
    }

    Left = NextFieldInt(rest, 0);
    Top = NextFieldInt(rest, 0);
    Width = NextFieldInt(rest, 0);
    Height = NextFieldInt(rest, 0);
    const QString fontName = NextField(rest);
    const int a = NextFieldInt(rest, 0);
    const int b = NextFieldInt(rest, 0);
    const int c = NextFieldInt(rest, 0);
    const int d = NextFieldInt(rest, 0);
    const int e = NextFieldInt(rest, 0);
    const int f = NextFieldInt(rest, 0);
    const QString text = NextField(rest);
    Spacing = NextFieldInt(rest, 0);
    Angle = NextFieldInt(rest, 0);
    Further = NextFieldInt(rest, 0);

    // Before build 3 of version 1 there was no page-count variable: later numbers shift.
    // (No variable has a number near the end of int, so the largest stays as it is.)
    if (Kind == ekVariable && version.major < 2 && version.build < 3 && Index >= 4 &&
        Index < INT_MAX)
        ++Index;
    if ((Kind == ekItem || Kind == ekItemLabel) && (Index < 0 || Index >= Report->GetItemCount()))
        Index = 0;

    if (isTextKind(Kind)) {
        Alignment = d & 3;
        TextOptions = d & 248;
        SetTemplateFont(Font, fontName, a, f, c, b);
        if (Font.size < 1) Font.size = 1;
        Options = e;
    } else if (isGraphicKind(Kind)) {
        PenColor = paletteColor(b);
        PenWidth = a < 0 ? 1 : a;
        PenStyle = Kind == ekLine && PenWidth > 1 ? 0 : c;
        Options = d;
        BrushColor = paletteColor(e);
        BrushStyle = f;
    }

    switch (Kind) {
    case ekText:
    case ekVariable:
    case ekBarcode:
        Text = text;
        break;
    case ekFrame:
    case ekRoundFrame:
    case ekEllipse:
        Index = Kind;
        break;
    case ekPicture:
        LoadPicture(text);
        break;
    case ekDrawingArea:
        BrushStyle = std::clamp(BrushStyle, 1, 6);
        break;
    default:
        break;
    }
}

QString TVoranReportElement::SaveToLine(const QString& key) const {
    if (Kind == ekDetail)
        return joinFields(
            {key, num(Kind), num(Index), num(Left), num(Top), num(Width), num(Height)});
    if (isGraphicKind(Kind)) {
        QString line =
            joinFields({key, num(Kind), num(Index), num(Left), num(Top), num(Width), num(Height),
                        QString(), num(PenWidth), num(ColorToIndex(PenColor)), num(PenStyle),
                        num(Options), num(ColorToIndex(BrushColor)), num(BrushStyle)});
        if (Kind == ekPicture) line += u',' + QuotedField(pictureFileNames(Text));
        if (Kind == ekBarcode)
            line += u',' + QuotedField(Text) + u',' +
                    joinFields({num(Spacing), num(Angle), num(Further)});
        return line;
    }
    QString reference = num(Index);
    if (keepsRefName(Kind) && !RefName.isEmpty()) reference = BareField(RefName);
    return joinFields({key, num(Kind), reference, num(Left), num(Top), num(Width), num(Height),
                       BareField(Font.name), num(qRound(Font.size)), num(ColorToIndex(Font.color)),
                       num(FontStyleToBits(Font)), num(Alignment + TextOptions), num(Options),
                       num(Font.charset), QuotedField(Text), num(Spacing), num(Angle),
                       num(Further)});
}

// ---- reading a template into the report

namespace {

// The lines of a template by their first field, each keeping its line order.
using LinesByKey = QHash<QString, QList<qsizetype>>;

LinesByKey indexByFirstField(const TPredloha& predloha) {
    LinesByKey index;
    for (qsizetype i = 0; i < predloha.size(); ++i)
        index[firstField(predloha[i])].append(i);
    return index;
}

} // namespace

void TSestavaTyp::SetPredloha(const TPredloha& predloha) {
    const TPredloha text = predloha; // the argument may be our own template
    ClearModel();
    m_predloha = text;
    resetTemplateSettings();

    const LinesByKey lines = indexByFirstField(text);
    const auto linesOf = [&](const QString& key) {
        TPredloha selected;
        for (qsizetype i : lines.value(key))
            selected.append(text[i]);
        return selected;
    };
    ParsePredlohaSettings(linesOf(QStringLiteral("I")));
    ParsePredlohaFunctions(linesOf(QStringLiteral("F")));
    static const char* const fixedKeys[] = {"Z", "H", "T", "K", "P"};
    for (int section = odZ; section <= odP; ++section) {
        if (IsDetail() && (section == odH || section == odP)) continue;
        ParsePredlohaSection(linesOf(QString::fromLatin1(fixedKeys[section])),
                             m_oddily.Oddil(section));
    }
    for (int i = 0; i < m_skupiny.Count(); ++i) {
        ParsePredlohaSection(linesOf(u'S' + num(i)), m_skupiny.Skupina(i)->Header);
        ParsePredlohaSection(linesOf(u'U' + num(i)), m_skupiny.Skupina(i)->Footer);
    }
    for (int j = 0; j < m_detaily.Count(); ++j)
        ParsePredlohaDetail(j, linesOf(u'D' + num(j)));
}

void TSestavaTyp::ParsePredlohaSettings(const TPredloha& predloha) {
    for (const QString& line : predloha)
        if (line.size() > 1) readSetting(line);
}

TemplateVersion ReadVersionFields(QString& line) {
    TemplateVersion version;
    version.major = NextFieldInt(line, 0);
    version.minor = NextFieldInt(line, 0);
    version.build = NextFieldInt(line, 0);
    return version;
}

TemplateGroupLine ReadGroupFields(QString& line) {
    TemplateGroupLine group;
    group.number = NextFieldInt(line, 0);
    group.key = NextField(line);
    group.headerVisible = NextFieldBool(line, true);
    group.headerHeight = std::max(NextFieldInt(line, 0), 0);
    group.footerVisible = NextFieldBool(line, true);
    group.footerHeight = std::max(NextFieldInt(line, 0), 0);
    group.newPage = NextFieldBool(line, false);
    return group;
}

void ReadPaperFields(QString& line, const TemplateVersion& version, TemplatePaper& paper) {
    const int orientation = std::max(NextFieldInt(line, 0), 0);
    paper.landscape = orientation & 1;
    paper.orientationChangeable = orientation > 1;
    if (version.major > 0) {
        paper.paperWidth = NextFieldInt(line, 0);
        paper.paperHeight = NextFieldInt(line, 0);
    }
    paper.marginLeft = NextFieldInt(line, 0);
    paper.marginRight = NextFieldInt(line, 0);
    paper.marginTop = NextFieldInt(line, 0);
    paper.marginBottom = NextFieldInt(line, 0);
}

void ReadBackgroundFields(QString& line, TemplateBackground& background) {
    background.own = NextFieldBool(line, false);
    background.print = NextFieldBool(line, false);
    background.positioned = NextFieldBool(line, false);
    background.x = NextFieldInt(line, 0);
    background.y = NextFieldInt(line, 0);
    background.width = NextFieldInt(line, 0);
    background.height = NextFieldInt(line, 0);
    background.pictureName = NextField(line);
}

void TSestavaTyp::readSetting(QString line) {
    NextField(line); // "I"
    switch (NextFieldInt(line, -1)) {
    case 0: {
        const QString description = NextField(line);
        if (!description.isEmpty()) Popis = description;
        break;
    }
    case 1:
        m_version = ReadVersionFields(line);
        break;
    case 2: {
        if (IsDetail()) {
            for (int skipped = 0; skipped < 7; ++skipped)
                NextField(line);
        } else {
            ReadPaperFields(line, m_version, m_paper);
            applyPaperToPageSetup();
        }
        m_columns = std::max(NextFieldInt(line, 1), 1); // the run divides by it
        m_columnGap = NextFieldInt(line, 0);
        break;
    }
    case 3: {
        const int number = NextFieldInt(line, -1);
        TOddilSestavy* section = number >= odZ && number <= odP ? m_oddily.Oddil(number) : nullptr;
        if (!section) break;
        section->Visible = NextFieldBool(line, true);
        section->Height = std::max(NextFieldInt(line, 0), 0);
        section->Columns = m_columns;
        section->ColumnGap = m_columnGap;
        SetSectionFlags(number, NextFieldInt(line, 0));
        break;
    }
    case 4: {
        const TemplateGroupLine g = ReadGroupFields(line);
        AddGroup(g.number, g.key, g.newPage, g.footerHeight, g.footerVisible, g.headerHeight,
                 g.headerVisible);
        break;
    }
    case 5:
        m_i5Value = NextFieldInt(line, 0);
        break;
    case 6: {
        m_characterGrid = NextFieldInt(line, 0) == 1 ? 1 : 0;
        m_gridX = NextFieldInt(line, 8);
        m_gridY = NextFieldInt(line, 8);
        if (m_gridX < 1) m_gridX = 8;
        if (m_gridY < 1) m_gridY = 8;
        m_lineCode = NextFieldInt(line, 0);
        m_pitchCode = NextFieldInt(line, 1);
        m_showGrid = NextFieldBool(line, false);
        m_snapToGrid = NextFieldBool(line, false);
        if (m_characterGrid == 1) {
            m_charWidth = m_pitchCode == 1 ? 100.0 / 12 : m_pitchCode == 2 ? 6.0 : 10.0;
            m_lineHeight = m_lineCode == 1 ? 25.0 : m_lineCode == 2 ? 100.0 / 3 : 100.0 / 6;
            m_gridX = qRound(m_charWidth);
            m_gridY = qRound(m_lineHeight);
        }
        break;
    }
    case 7:
        ReadBackgroundFields(line, m_background);
        break;
    default:
        break;
    }
}

void TSestavaTyp::applyPaperToPageSetup() const {
    TPageSetup& setup = PageSetup();
    setup.orientation = m_paper.landscape ? 1 : 0;
    if (m_version.major > 0) {
        setup.paperWidth = m_paper.paperWidth;
        setup.paperHeight = m_paper.paperHeight;
    }
    setup.leftMargin = m_paper.marginLeft;
    setup.rightMargin = m_paper.marginRight;
    setup.topMargin = m_paper.marginTop;
    setup.bottomMargin = m_paper.marginBottom;
}

void AddFunctionFromLine(QString line, TListFunkci& functions) {
    NextField(line); // "F"
    NextField(line); // the index
    const QString name = NextField(line);
    const QString title = NextField(line);
    const int resultKind = NextFieldInt(line, 0);
    const QString initial = NextField(line);
    const int resetGroup = NextFieldInt(line, 0);
    const QString expression = NextField(line);
    const int aggregate = NextFieldInt(line, 0);
    const int precision = NextFieldInt(line, 0);
    const int digits = NextFieldInt(line, 0);
    int floatFormat = NextFieldInt(line, 2);
    if (floatFormat > 4) floatFormat = 2;
    functions.AddFunction().SetDefinition(name, title, expression, resultKind, initial, resetGroup,
                                          aggregate, precision, digits, floatFormat);
}

void TSestavaTyp::ParsePredlohaFunctions(const TPredloha& predloha) {
    m_funkce.ClearFunctions();
    for (const QString& line : predloha)
        if (line.size() > 1) AddFunctionFromLine(line, m_funkce);
}

void TSestavaTyp::ParsePredlohaSection(const TPredloha& predloha, TOddilSestavy* section) {
    section->Clear();
    for (const QString& line : predloha)
        CreateElement(section, line);
}

void TSestavaTyp::ParsePredlohaDetail(int j, const TPredloha& predloha) {
    TPredloha detailText;
    for (QString line : predloha) {
        NextField(line); // "D<j>" and its comma
        detailText.append(line);
    }
    m_detaily.Detail(j)->SetPredloha(detailText);
}

// ---- writing the model as text

TPredloha TSestavaTyp::WritePredloha() const {
    TPredloha out;
    out.append(QStringLiteral("I,0,") + QuotedField(Popis));
    const TemplateVersion current;
    out.append(joinFields(
        {QStringLiteral("I,1"), num(current.major), num(current.minor), num(current.build)}));
    out.append(
        joinFields({QStringLiteral("I,2"),
                    num(int(m_paper.landscape) + 2 * int(m_paper.orientationChangeable)),
                    num(m_paper.paperWidth), num(m_paper.paperHeight), num(m_paper.marginLeft),
                    num(m_paper.marginRight), num(m_paper.marginTop), num(m_paper.marginBottom),
                    num(m_columns), num(m_columnGap)}));
    for (int number = odZ; number <= odP; ++number) {
        const TOddilSestavy* section = m_oddily.Oddil(number);
        out.append(joinFields({QStringLiteral("I,3"), num(number), num(section->Visible),
                               num(section->Height), num(m_sectionFlags.bits(number))}));
    }
    for (int i = 0; i < m_skupiny.Count(); ++i) {
        const TPolSkup* group = m_skupiny.Skupina(i);
        const QString key =
            group->KeyText.isEmpty() ? num(group->KeyIndex) : BareField(group->KeyText);
        out.append(joinFields({QStringLiteral("I,4"), num(group->Number), key,
                               num(group->Header->Visible), num(group->Header->Height),
                               num(group->Footer->Visible), num(group->Footer->Height),
                               num(group->NewPage)}));
    }
    out.append(QStringLiteral("I,5,") + num(m_i5Value));
    out.append(
        joinFields({QStringLiteral("I,6"), num(m_characterGrid), num(m_gridX), num(m_gridY),
                    num(m_lineCode), num(m_pitchCode), num(m_showGrid), num(m_snapToGrid)}));
    out.append(joinFields({QStringLiteral("I,7"), num(m_background.own), num(m_background.print),
                           num(m_background.positioned), num(m_background.x), num(m_background.y),
                           num(m_background.width), num(m_background.height),
                           BareField(m_background.pictureName)}));
    for (int i = 0; i < m_funkce.Count(); ++i) {
        const TRadekFunkce* f = m_funkce.GetFunkce(i);
        QString name, title, expression, initial;
        int resultKind = 0, resetGroup = 0, aggregate = 0, precision = 0, digits = 0,
            floatFormat = 2;
        f->GetDefinition(name, title, expression, resultKind, initial, resetGroup, aggregate,
                         precision, digits, floatFormat);
        out.append(joinFields({QStringLiteral("F"), num(i), BareField(name), QuotedField(title),
                               num(resultKind), QuotedField(initial), num(resetGroup),
                               QuotedField(expression), num(aggregate), num(precision),
                               num(digits), num(floatFormat)}));
    }
    const auto writeSection = [&out](const TOddilSestavy* section, const QString& key) {
        for (int e = 0; e < section->Count(); ++e)
            out.append(section->Prvek(e)->SaveToLine(key));
    };
    static const char* const fixedKeys[] = {"Z", "H", "T", "K", "P"};
    for (int number = odZ; number <= odP; ++number)
        writeSection(m_oddily.Oddil(number), QString::fromLatin1(fixedKeys[number]));
    for (int i = 0; i < m_skupiny.Count(); ++i) {
        writeSection(m_skupiny.Skupina(i)->Header, u'S' + num(i));
        writeSection(m_skupiny.Skupina(i)->Footer, u'U' + num(i));
    }
    for (int j = 0; j < m_detaily.Count(); ++j)
        for (const QString& line : m_detaily.Detail(j)->Predloha())
            out.append(u'D' + num(j) + u',' + line);
    return out;
}

} // namespace report
