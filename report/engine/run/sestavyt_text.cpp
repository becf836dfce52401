// The template text: reading it into the report's model (SetPredloha and its passes, element
// lines) and writing the model back as text. The settings and function lines are read and
// written by TemplateSettings.

#include "report/engine/printing/sestprn.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/sest_lib.h"

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

    const TemplateSettings settings = ReadTemplateSettings(text, IsDetail());
    ParsePredlohaSettings(settings);
    ParsePredlohaFunctions(settings.functions);

    const LinesByKey lines = indexByFirstField(text);
    const auto linesOf = [&](const QString& key) {
        TPredloha selected;
        for (qsizetype i : lines.value(key))
            selected.append(text[i]);
        return selected;
    };
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

void TSestavaTyp::ParsePredlohaSettings(const TemplateSettings& settings) {
    if (!settings.description.isEmpty()) Popis = settings.description;
    m_version = settings.version;
    m_columns = settings.columns;
    m_columnGap = settings.columnGap;
    if (settings.paper) {
        m_paper = *settings.paper;
        ApplyPaperToPageSetup(m_paper, settings.paperHasSize, PageSetup());
    }
    for (int number = odZ; number <= odP; ++number) {
        const std::optional<TemplateSection>& line = settings.sections[number];
        if (!line) continue;
        TOddilSestavy* section = m_oddily.Oddil(number);
        section->Visible = line->visible;
        section->Height = line->height;
        section->Columns = m_columns;
        section->ColumnGap = m_columnGap;
        SetSectionFlags(number, line->flags.value_or(0));
    }
    for (const TemplateGroupLine& g : settings.groups)
        AddGroup(g.number, g.key, g.newPage, g.footerHeight, g.footerVisible, g.headerHeight,
                 g.headerVisible);
    m_designerValue = settings.designerValue;
    m_grid = settings.grid;
    m_background = settings.background;
}

void TSestavaTyp::ParsePredlohaFunctions(const QList<TemplateFunction>& functions) {
    m_funkce.ClearFunctions();
    AddTemplateFunctions(functions, m_funkce);
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

TPredloha TSestavaTyp::WriteTemplate() const {
    TemplateSettings settings;
    settings.description = Popis;
    settings.paper = m_paper;
    settings.columns = m_columns;
    settings.columnGap = m_columnGap;
    for (int number = odZ; number <= odP; ++number) {
        const TOddilSestavy* section = m_oddily.Oddil(number);
        settings.sections[number] =
            TemplateSection{section->Visible, section->Height, m_sectionFlags.bits(number)};
    }
    for (int i = 0; i < m_skupiny.Count(); ++i) {
        const TPolSkup* group = m_skupiny.Skupina(i);
        settings.groups.append({group->Number,
                                group->KeyText.isEmpty() ? num(group->KeyIndex) : group->KeyText,
                                group->Header->Visible, group->Header->Height,
                                group->Footer->Visible, group->Footer->Height, group->NewPage});
    }
    settings.designerValue = m_designerValue;
    settings.grid = m_grid;
    settings.background = m_background;
    settings.functions = TemplateFunctionsOf(m_funkce);
    TPredloha out = WriteTemplateSettings(settings);
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
