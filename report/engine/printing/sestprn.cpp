#include "report/engine/printing/sestprn.h"

#include "platform/IniFile.h"
#include "report/engine/sest_lib.h"
#include "report/engine/sestzpr.h"

#include <QFontDatabase>
#include <QRegularExpression>

#include <limits>

namespace report {

namespace {

const QString section = QStringLiteral("FormatyPapiru");
const QString countKey = QStringLiteral("PocetFormatu");
const QString formatKey = QStringLiteral("Format");

// A decimal integer field; 0 when missing, not a number or beyond int.
int integerField(const QString& field) {
    bool ok = false;
    const qlonglong value = field.trimmed().toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return 0;
    return int(value);
}

// The highest k of the "Format<k>" keys of the section; 0 when there is none.
int highestFormatKey(const platform::IniFile& ini) {
    static const QRegularExpression pattern(QStringLiteral("^format([0-9]{1,9})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    int highest = 0;
    for (const QString& key : ini.keys(section)) {
        const QRegularExpressionMatch match = pattern.match(key);
        if (match.hasMatch()) highest = std::max(highest, match.captured(1).toInt());
    }
    return highest;
}

} // namespace

TPageSetup& PageSetup() {
    static TPageSetup setup;
    return setup;
}

int PageWidth() {
    const TPageSetup& p = PageSetup();
    return p.orientation == 1 ? p.paperHeight : p.paperWidth;
}

int PageHeight() {
    const TPageSetup& p = PageSetup();
    return p.orientation == 1 ? p.paperWidth : p.paperHeight;
}

int PrintableWidth() {
    return PageWidth() - PageSetup().leftMargin - PageSetup().rightMargin;
}

int PrintableHeight() {
    return PageHeight() - PageSetup().topMargin - PageSetup().bottomMargin;
}

platform::TRect GetPrintableRect() {
    const TPageSetup& p = PageSetup();
    return {p.leftMargin, p.topMargin, p.leftMargin + PrintableWidth(),
            p.topMargin + PrintableHeight()};
}

void FillPrinterFontList(QStringList& list) {
    list = QFontDatabase::families();
    list << QStringLiteral("Roman 10cpi") << QStringLiteral("Roman 12cpi")
         << QStringLiteral("Roman 17cpi");
}

const QStringList& PrinterFontList() {
    static const QStringList list = [] {
        QStringList fonts;
        FillPrinterFontList(fonts);
        return fonts;
    }();
    return list;
}

TListFormatu::TListFormatu() {
    const QString user = LoadText(ReportText::PaperUser);
    const QString fanfold = LoadText(ReportText::PaperFanfold);
    const QString envelope = LoadText(ReportText::PaperEnvelope);
    const QString rotated = LoadText(ReportText::PaperEnvelopeRotated);
    m_formats = {
        {user + QStringLiteral(" (210 x 297 mm)"), 826, 1169},
        {fanfold + QStringLiteral(" (8.5 x 12\")"), 850, 1200},
        {fanfold + QStringLiteral(" (15 x 12\")"), 1500, 1200},
        {LoadText(ReportText::PaperLetter) + QStringLiteral(" (8.5 x 11\")"), 850, 1100},
        {LoadText(ReportText::PaperLegal) + QStringLiteral(" (8.5 x 14\")"), 850, 1400},
        {LoadText(ReportText::PaperExecutive) + QStringLiteral(" (7.25 x 10.5\")"), 725, 1050},
        {QStringLiteral("A2 (420 x 594 mm)"), 1652, 2338},
        {QStringLiteral("A3 (297 x 420 mm)"), 1169, 1652},
        {QStringLiteral("A4 (210 x 297 mm)"), 826, 1169},
        {QStringLiteral("A5 (148.5 x 210 mm)"), 584, 826},
        {QStringLiteral("A6 (105 x 148.5mm)"), 413, 584},
        {QStringLiteral("B5 (182 x 257 mm)"), 716, 1011},
        {envelope + QStringLiteral(" (162 x 114 mm)"), 637, 433},
        {envelope + QStringLiteral(" (220 x 110 mm)"), 866, 433},
        {envelope + QStringLiteral(" (228 x 162 mm)"), 896, 637},
        {rotated + QStringLiteral("(114 x 162 mm)"), 433, 637},
        {rotated + QStringLiteral("(110 x 220 mm)"), 433, 866},
        {rotated + QStringLiteral("(162 x 228 mm)"), 637, 896},
    };
}

QStringList TListFormatu::names() const {
    QStringList result;
    for (const TFormatPapiru& f : m_formats)
        result << f.name;
    return result;
}

TFormatPapiru* TListFormatu::GetFormat(int i) {
    return i >= 0 && i < count() ? &m_formats[size_t(i)] : nullptr;
}

const TFormatPapiru* TListFormatu::GetFormat(int i) const {
    return i >= 0 && i < count() ? &m_formats[size_t(i)] : nullptr;
}

TFormatPapiru ParseFormatValue(const QString& value) {
    // Name, width, height as template fields: a quoted name may hold commas and doubled
    // quotes. Names written bare by older files read as before.
    QString rest = value;
    TFormatPapiru format;
    format.name = NextField(rest).left(TListFormatu::maxNameLength);
    format.width = integerField(NextField(rest));
    format.height = integerField(NextField(rest));
    return format;
}

void TListFormatu::Load(const QString& iniFileName) {
    *this = TListFormatu();
    const platform::IniFile ini(iniFileName);
    // A huge count must not make a huge list: read no further than the highest key present,
    // and never more than a list of formats can sensibly hold.
    const int wanted = std::max(ini.readInteger(section, countKey, 0), 0);
    const int present = std::min({wanted, highestFormatKey(ini), int(maxUserFormats)});
    const QString missing = m_formats[0].name;
    for (int k = 1; k <= present; ++k)
        m_formats.push_back(
            ParseFormatValue(ini.readString(section, formatKey + QString::number(k), missing)));
}

bool TListFormatu::Save(const QString& iniFileName) const {
    platform::IniFile ini(iniFileName);
    ini.writeInteger(section, countKey, count() - builtInCount);
    for (int i = builtInCount; i < count(); ++i) {
        const TFormatPapiru& f = m_formats[size_t(i)];
        // A name that would not read back as it stands is quoted with its quotes doubled: a
        // comma or a quote in it, or blanks at its ends (the settings file trims values).
        const bool quote =
            f.name.contains(',') || f.name.contains('"') || f.name != f.name.trimmed();
        const QString name = quote ? QuotedField(f.name) : f.name;
        ini.writeString(section, formatKey + QString::number(i - builtInCount + 1),
                        name + ',' + QString::number(f.width) + ',' + QString::number(f.height));
    }
    return ini.save();
}

int TListFormatu::FindOrAddFormat(int width, int height) {
    for (int i = 0; i < count(); ++i) {
        const TFormatPapiru& f = m_formats[size_t(i)];
        if (0.99 * f.width <= width && width <= 1.01 * f.width && 0.99 * f.height <= height &&
            height <= 1.01 * f.height)
            return i;
    }
    return AddFormat({LoadText(ReportText::PaperUserFormat), width, height});
}

int TListFormatu::AddFormat(const TFormatPapiru& format) {
    m_formats.push_back({format.name.left(maxNameLength), format.width, format.height});
    return count() - 1;
}

bool TListFormatu::DeleteFormat(int i) {
    if (i < builtInCount || i >= count()) return false;
    m_formats.erase(m_formats.begin() + i);
    return true;
}

void SetTemplateFont(platform::TFont& font, const QString& name, int size, int charset,
                     int styleBits, int colorIndex) {
    SetTemplateFont(font, name, size, charset, styleBits, colorIndex, PrinterFontList());
}

} // namespace report
