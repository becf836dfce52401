#include "platform/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/Windows1250.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <limits>

namespace platform {

namespace {

QString resolvedPath(const QString& fileName) {
    if (fileName.isEmpty() || QDir::isAbsolutePath(fileName)) return fileName;
    const QString folder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                        : QDir::currentPath();
    return QDir(folder).filePath(fileName);
}

QString decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return DecodeWindows1250(bytes);
}

bool isBlank(QChar c) {
    return c == ' ' || c == '\t';
}

QString trimmedBlanks(const QString& s) {
    qsizetype begin = 0, end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(const QString& fileName) : m_fileName(resolvedPath(fileName)) {
    QFile file(m_fileName);
    if (m_fileName.isEmpty() || !file.open(QIODevice::ReadOnly)) return;
    if (file.size() > maxFileSize) {
        // Not a settings file: read nothing, and never write over it.
        m_tooLarge = true;
        return;
    }
    QString text = decode(file.readAll());
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    // CR LF, LF and a lone CR all end a line: a value never holds a line break, so what is
    // read is written back as it was read.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    const QStringList rawLines = text.split(lineEnd);
    for (qsizetype i = 0; i < rawLines.size(); ++i) {
        const QString& raw = rawLines[i];
        if (i == rawLines.size() - 1 && raw.isEmpty()) break; // after the last line break
        Line line{raw, {}, {}, {}};
        const QString trimmed = trimmedBlanks(raw);
        if (trimmed.startsWith('[')) {
            const qsizetype close = trimmed.indexOf(']');
            line.section = trimmedBlanks(trimmed.mid(1, close < 0 ? -1 : close - 1));
            if (line.section.isEmpty()) line.section = QStringLiteral("[]"); // not addressable
        } else if (!trimmed.startsWith(';')) {
            const qsizetype eq = trimmed.indexOf('=');
            if (eq > 0) {
                line.key = trimmedBlanks(trimmed.left(eq));
                line.value = trimmedBlanks(trimmed.mid(eq + 1));
            }
        }
        m_lines.push_back(std::move(line));
    }
}

qsizetype IniFile::findSection(const QString& section) const {
    for (qsizetype i = 0; i < qsizetype(m_lines.size()); ++i)
        if (!m_lines[i].section.isEmpty() && sameName(m_lines[i].section, section)) return i;
    return -1;
}

qsizetype IniFile::sectionEnd(qsizetype header) const {
    qsizetype end = header + 1;
    qsizetype lastKey = header + 1;
    while (end < qsizetype(m_lines.size()) && m_lines[end].section.isEmpty()) {
        if (!m_lines[end].key.isEmpty()) lastKey = end + 1;
        ++end;
    }
    return lastKey;
}

qsizetype IniFile::findKey(const QString& section, const QString& key) const {
    const qsizetype header = findSection(section);
    if (header < 0 || key.isEmpty()) return -1;
    for (qsizetype i = header + 1; i < qsizetype(m_lines.size()) && m_lines[i].section.isEmpty();
         ++i)
        if (sameName(m_lines[i].key, key)) return i;
    return -1;
}

bool IniFile::sectionExists(const QString& section) const {
    return findSection(section) >= 0;
}

bool IniFile::valueExists(const QString& section, const QString& key) const {
    return findKey(section, key) >= 0;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList result;
    const qsizetype header = findSection(section);
    if (header < 0) return result;
    for (qsizetype i = header + 1; i < qsizetype(m_lines.size()) && m_lines[i].section.isEmpty();
         ++i)
        if (!m_lines[i].key.isEmpty()) result << m_lines[i].key;
    return result;
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
    const qsizetype i = findKey(section, key);
    return i < 0 ? defaultValue : m_lines[i].value;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    const QString text = readString(section, key, QString());
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return defaultValue;
    return int(value);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    // A value cannot hold a line break: it would become a line of its own.
    QString clean = value;
    clean.replace('\r', ' ').replace('\n', ' ');
    const QString cleanKey = trimmedBlanks(key);
    if (cleanKey.isEmpty() || section.isEmpty()) return;
    Line line{cleanKey + '=' + clean, {}, cleanKey, trimmedBlanks(clean)};
    const qsizetype existing = findKey(section, cleanKey);
    if (existing >= 0) {
        line.key = m_lines[existing].key;
        line.text = line.key + '=' + clean;
        m_lines[existing] = std::move(line);
        return;
    }
    qsizetype header = findSection(section);
    if (header < 0) {
        if (!m_lines.empty() && !trimmedBlanks(m_lines.back().text).isEmpty())
            m_lines.push_back(Line{});
        m_lines.push_back(Line{'[' + section + ']', section, {}, {}});
        header = qsizetype(m_lines.size()) - 1;
    }
    m_lines.insert(m_lines.begin() + sectionEnd(header), std::move(line));
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeInteger(section, key, value ? 1 : 0);
}

bool IniFile::save() const {
    if (m_fileName.isEmpty() || m_tooLarge) return false;
    QByteArray bytes;
    for (const Line& line : m_lines)
        bytes += line.text.toUtf8() + "\r\n";
    return writeFileAtomically(m_fileName, bytes);
}

} // namespace platform
