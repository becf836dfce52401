// Settings files: lookup rules, what a write keeps, encodings and bad files.

#include "platform/IniFile.h"
#include "FullDisk.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::IniFile;

TEST(IniFile, SectionsAndKeysIgnoreCaseAndValuesAreKeptVerbatim) {
    QTemporaryDir dir;
    const QString path = writeIni(dir, "; comment\n[FormatyPapiru]\n PocetFormatu = 2 \n"
                                       "Format1=\"A4, mine\",826,1169\nFormat1=second\n"
                                       "[Other]\nformat1=other\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.readInteger("formatypapiru", "POCETFORMATU", 0), 2);
    EXPECT_EQ(ini.readString("FORMATYPAPIRU", "format1", "x"), "\"A4, mine\",826,1169");
    EXPECT_EQ(ini.readString("Other", "Format1", "x"), "other");
    EXPECT_EQ(ini.readString("Missing", "Format1", "dflt"), "dflt");
    EXPECT_EQ(ini.keys("FormatyPapiru"), QStringList({"PocetFormatu", "Format1", "Format1"}));
    EXPECT_TRUE(ini.sectionExists("OTHER"));
    EXPECT_FALSE(ini.valueExists("Other", "Format2"));
}

TEST(IniFile, IntegersOutsideIntOrNotNumbersReadAsTheDefault) {
    QTemporaryDir dir;
    const QString path = writeIni(dir, "[S]\na=-17\nb=2147483648\nc=12abc\nd=\ne=-2147483648\n"
                                       "f=1e3\ng=0x10\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.readInteger("S", "a", 5), -17);
    EXPECT_EQ(ini.readInteger("S", "b", 5), 5);
    EXPECT_EQ(ini.readInteger("S", "c", 5), 5);
    EXPECT_EQ(ini.readInteger("S", "d", 5), 5);
    EXPECT_EQ(ini.readInteger("S", "e", 5), -2147483647 - 1);
    EXPECT_EQ(ini.readInteger("S", "f", 5), 5);
    EXPECT_EQ(ini.readInteger("S", "g", 5), 5);
    EXPECT_TRUE(ini.readBool("S", "a", false));
    EXPECT_TRUE(ini.readBool("S", "c", true));
}

TEST(IniFile, WritingChangesOnlyTheKeysWrittenAndEndsLinesInCrLf) {
    QTemporaryDir dir;
    const QString path = writeIni(dir, "; keep me\n[EditorSestav]\nRastrX=10\n\n[Oddily]\nA=1\n");
    IniFile ini(path);
    ini.writeInteger("editorsestav", "rastrx", 12);   // in place, original spelling kept
    ini.writeString("EditorSestav", "Font", "Arial"); // appended after the section's last key
    ini.writeString("FormatyPapiru", "Format1", "Můj, \"formát\",100,200");
    ini.writeString("Oddily", "B", "line\r\nbreak");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readFile(path), QByteArray("; keep me\r\n[EditorSestav]\r\nRastrX=12\r\n"
                                         "Font=Arial\r\n\r\n[Oddily]\r\nA=1\r\nB=line  break\r\n"
                                         "\r\n[FormatyPapiru]\r\n"
                                         "Format1=M\xC5\xAFj, \"form\xC3\xA1t\",100,200\r\n"));
    const IniFile again(path);
    EXPECT_EQ(again.readString("FormatyPapiru", "Format1", ""), "Můj, \"formát\",100,200");
    EXPECT_EQ(again.readInteger("EditorSestav", "RastrX", 0), 12);
}

// Files last saved on an old Mac end lines in a lone CR. Were it kept inside a value, the value
// would be written back as a line break of its own.
TEST(IniFile, ALoneCrEndsALineAsCrLfAndLfDo) {
    QTemporaryDir dir;
    const QString path = writeIni(dir, "[A]\rx=1\ry=two\r\n[B]\nz=3\r");
    IniFile ini(path);
    EXPECT_EQ(ini.keys("A"), QStringList({"x", "y"}));
    EXPECT_EQ(ini.readString("A", "y", ""), "two");
    EXPECT_EQ(ini.readInteger("B", "z", 0), 3);
    ini.writeString("B", "w", "4");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readFile(path), QByteArray("[A]\r\nx=1\r\ny=two\r\n[B]\r\nz=3\r\nw=4\r\n"));
}

TEST(IniFile, ReadsWindows1250WhenTheFileIsNotUtf8) {
    QTemporaryDir dir;
    const QString path = writeIni(dir, "[S]\nname=\x9A\x61\xE8\x9A\xF8\r\n");
    EXPECT_EQ(IniFile(path).readString("S", "name", ""), QStringLiteral("šačšř"));
}

TEST(IniFile, MissingOrBinaryFilesReadAsEmpty) {
    QTemporaryDir dir;
    const IniFile missing(dir.filePath("none.ini"));
    EXPECT_EQ(missing.readInteger("S", "k", 3), 3);
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk += char((i * 7919) % 256);
    const IniFile binary(writeIni(dir, junk));
    EXPECT_EQ(binary.readString("FormatyPapiru", "PocetFormatu", "d"), "d");
}

TEST(IniFile, FailedSaveLeavesThePreviousFile) {
    QTemporaryDir dir;
    const QString path = writeIni(dir, "[S]\nk=1\n");
    IniFile ini(path);
    ini.writeInteger("S", "k", 2);
    // The target's folder is a file: nothing can be written there.
    IniFile blocked(path + "/sub.ini");
    blocked.writeInteger("S", "k", 2);
    EXPECT_FALSE(blocked.save());
    EXPECT_EQ(readFile(path), QByteArray("[S]\nk=1\n"));
}

TEST(IniFile, AnOversizedFileReadsAsEmptyAndIsNeverOverwritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath("huge.ini");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[S]\nk=1\n");
        ASSERT_TRUE(file.resize(IniFile::maxFileSize + 1));
    }
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("S", "k", 7), 7);
    ini.writeInteger("S", "k", 2);
    EXPECT_FALSE(ini.save());
    EXPECT_EQ(QFile(path).size(), IniFile::maxFileSize + 1);
}

TEST(IniFile, ASaveOnAFullDiskFailsAndLeavesThePreviousFile) {
    if (!FullDisk::insidePrivateMounts()) return FullDisk::runTestInPrivateMounts();
    FullDisk disk;
    ASSERT_TRUE(disk.mounted());
    const QString path = disk.filePath("DoriVOZ.ini");
    const QByteArray previous = "[EditorSestav]\r\nRastrX=8\r\n";
    ASSERT_TRUE(writeFile(path, previous));
    ASSERT_TRUE(disk.fill());
    IniFile ini(path);
    ini.writeInteger("EditorSestav", "RastrX", 12);
    ini.writeString("Oddily", "ImplNazevFontu", "Arial");
    EXPECT_FALSE(ini.save());
    EXPECT_EQ(readFile(path), previous);
    EXPECT_EQ(IniFile(path).readInteger("EditorSestav", "RastrX", 0), 8);
}
