#pragma once
// Settings files in the Windows profile format ("[Section]" lines, "key=value" lines), read
// and written as Windows profile files are:
// - sections and keys are found without regard to case; the first of duplicates counts;
// - a value is the text after the first '=' with surrounding blanks removed, quotes and
//   commas kept as they are (so "Format1=A4, mine,826,1169" reads back unchanged);
// - writing changes or adds only the keys written; other sections, keys, comments and the
//   order of lines stay; lines are written with CR LF and read up to CR LF, LF or a lone CR;
// - files are read as UTF-8 when valid, else as Windows-1250, and written as UTF-8;
// - a missing or unreadable file reads as empty; so does a file larger than maxFileSize, which
//   is then never written over.
// A relative file name is taken relative to the program's folder, where the program keeps its
// settings files.

#include <QString>
#include <QStringList>

#include <vector>

namespace platform {

class IniFile {
public:
    static constexpr qint64 maxFileSize = 16 * 1024 * 1024;

    // Reads the file at once; later changes to the file are not seen.
    explicit IniFile(const QString& fileName);

    const QString& fileName() const { return m_fileName; }

    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    // Keys of the section in file order (empty when the section is missing).
    QStringList keys(const QString& section) const;

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // A decimal integer with an optional sign; anything else, and values beyond int, read as
    // `defaultValue`.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // An integer other than 0 is true.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // Changes are kept in memory until `save`.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);

    // Writes the whole file so that a failure leaves the previous file intact; false when it
    // could not be written.
    bool save() const;

private:
    struct Line {
        QString text;    // as read, or as written
        QString section; // for section lines
        QString key;     // for key lines
        QString value;
    };
    // Index of the section's header line, or -1.
    qsizetype findSection(const QString& section) const;
    // Index of the key's line within the section, or -1.
    qsizetype findKey(const QString& section, const QString& key) const;
    // One past the section's last key line.
    qsizetype sectionEnd(qsizetype header) const;

    QString m_fileName;
    std::vector<Line> m_lines;
    bool m_tooLarge = false;
};

} // namespace platform
