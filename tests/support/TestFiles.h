#pragma once
// Whole files for tests: what a test writes and reads back, in one call each.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// The file's bytes; a file that cannot be opened reads as empty.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// True when every byte was written.
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A settings file "DoriVOZ.ini" with `bytes` in `dir`; its path.
inline QString writeIni(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath("DoriVOZ.ini");
    return writeFile(path, bytes) ? path : QString();
}
