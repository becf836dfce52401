#include "report/engine/template/TemplateCheck.h"

#include "report/engine/template/TemplateSettings.h"
#include "report/engine/template/sestavyt_model.h"

#include <QHash>
#include <QRegularExpression>

namespace report {

namespace {

// Text ends at an end-of-file byte (0x1A), as old editors wrote it: what follows is no text.
QByteArray textPart(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf('\x1A');
    return end < 0 ? bytes : bytes.left(end);
}

// NUL anywhere (after an end-of-file byte too), or a control byte in the text that is no
// white space (tab, line ends, vertical tab and form feed may stand in a template's text).
bool isBinary(const QByteArray& bytes) {
    if (bytes.contains('\0')) return true;
    for (const char c : textPart(bytes)) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && !(b >= '\t' && b <= '\r')) return true;
    }
    return false;
}

// The fields of a line as the template reader splits them; `open` tells whether the last
// field opened a quote that never closes.
QStringList splitFields(const QString& line, bool& open) {
    QStringList fields;
    QString field;
    open = false;
    bool quoted = false;
    bool fieldStart = true;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (fieldStart && c == u'"') {
            quoted = true;
            fieldStart = false;
            continue;
        }
        fieldStart = false;
        if (quoted) {
            if (c != u'"') {
                field += c;
            } else if (i + 1 < line.size() && line.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == u',') {
            fields << field;
            field.clear();
            fieldStart = true;
        } else {
            field += c;
        }
    }
    fields << field;
    open = quoted;
    return fields;
}

bool isSectionKey(const QString& key) {
    static const QRegularExpression numbered(QStringLiteral("^[SU][0-9]+$"));
    return key == u"Z" || key == u"H" || key == u"T" || key == u"K" || key == u"P" ||
           numbered.match(key).hasMatch();
}

bool isDetailKey(const QString& key) {
    static const QRegularExpression detail(QStringLiteral("^D[0-9]+$"));
    return detail.match(key).hasMatch();
}

bool isTemplateLine(const QString& line) {
    bool open = false;
    const QString key = splitFields(line, open).first();
    return key == u"I" || key == u"F" || key == u"X" || isSectionKey(key) || isDetailKey(key);
}

// Fields the settings writer puts on each of its lines, by first field and setting number
// ("I,0" .. "I,7", "F"): asked of the writer itself, with every list holding one entry.
const QHash<QString, int>& writtenSettingFields() {
    static const QHash<QString, int> counts = [] {
        TemplateSettings sample;
        sample.sections[0] = TemplateSection{true, 0, 0};
        sample.groups.append(TemplateGroupLine{});
        sample.functions.append(TemplateFunction{});
        QHash<QString, int> fieldsOf;
        for (const QString& line : WriteTemplateSettings(sample)) {
            bool open = false;
            const QStringList fields = splitFields(line, open);
            const QString key = fields[0] == u"I" ? QStringLiteral("I,") + fields[1] : fields[0];
            fieldsOf[key] = int(fields.size());
        }
        return fieldsOf;
    }();
    return counts;
}

// Fields the template's writer puts on a line of this kind; 0 when it has no fixed count.
// A line whose setting number or kind is missing counts as short of one field more.
int writtenFieldCount(const QStringList& fields, int versionMajor) {
    const QString& key = fields.first();
    if (key == u"F") return writtenSettingFields().value(key);
    if (key == u"I") {
        bool ok = false;
        const int setting = fields.value(1).toInt(&ok);
        if (!ok || setting < 0) return 3;
        const int count =
            writtenSettingFields().value(QStringLiteral("I,") + QString::number(setting));
        // The I,2 line of version 0 files has no paper size.
        return setting == 2 && versionMajor == 0 ? count - 2 : count;
    }
    if (!isSectionKey(key)) return 0;
    bool ok = false;
    const int kind = fields.value(1).toInt(&ok);
    if (!ok) return 3;
    if (kind >= ekText && kind <= ekFunction) return 18;
    if (kind == ekPicture) return 15;
    if (kind == ekBarcode) return 18;
    if (kind >= ekLine && kind <= ekDrawingArea) return 14;
    if (kind == ekDetail) return 7;
    return 0;
}

bool isCut(const QString& line, int versionMajor) {
    bool open = false;
    QStringList fields = splitFields(line, open);
    if (open) return true;
    if (isDetailKey(fields.first())) {
        // A detail's line carries a whole template line after its key.
        const qsizetype comma = line.indexOf(u',');
        return comma < 0 || comma + 1 == line.size() || isCut(line.mid(comma + 1), versionMajor);
    }
    return fields.size() < writtenFieldCount(fields, versionMajor);
}

} // namespace

TemplateDamage CheckTemplateBytes(const QByteArray& bytes) {
    if (isBinary(bytes)) return TemplateDamage::Binary;
    const QByteArray text = textPart(bytes);
    const TPredloha lines = TPredloha::FromBytes(text);
    bool anyText = false;
    bool anyTemplateLine = false;
    for (const QString& line : lines) {
        anyText = anyText || !line.trimmed().isEmpty();
        anyTemplateLine = anyTemplateLine || isTemplateLine(line);
    }
    if (!anyText) return TemplateDamage::None;
    if (!anyTemplateLine) return TemplateDamage::NoValidLine;
    // Every line a template writer writes ends with its line end: a last line without one
    // that is also short of fields was cut off.
    const bool ended = text.endsWith('\n') || text.endsWith('\r');
    if (!ended && isCut(lines.last(), ReadTemplateSettings(lines, false).version.major))
        return TemplateDamage::CutLastLine;
    return TemplateDamage::None;
}

} // namespace report
