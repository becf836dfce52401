// A template's settings lines as one value: files and values survive a write and a read, and
// what a template leaves out comes from the caller's defaults.

#include "report/engine/template/TemplateSettings.h"
#include "TestFiles.h"

#include <QDir>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace report;
using namespace Qt::Literals::StringLiterals;

namespace {

TemplateSettings read(const char* text, bool detail = false,
                      const TemplateSettings& defaults = {}) {
    return ReadTemplateSettings(TPredloha(QString::fromUtf8(text).split(u'\n')), detail, defaults);
}

// The lines of a template that are settings or functions, in file order.
QStringList settingLines(const TPredloha& text) {
    QStringList lines;
    for (const QString& line : text)
        if (line.startsWith(u"I,") || line.startsWith(u"F,")) lines.append(line);
    return lines;
}

// True when `part` appears in `whole` in the same order (with other lines between).
bool isOrderedSubset(const QStringList& part, const QStringList& whole) {
    qsizetype at = 0;
    for (const QString& line : part) {
        at = whole.indexOf(line, at);
        if (at < 0) return false;
        ++at;
    }
    return true;
}

// Texts that a careless writer would not read back: commas, quotes, Czech letters, blanks.
QString awkwardText(QRandomGenerator& random) {
    static const QString pieces[] = {u"a"_s, u","_s, u"\""_s, u"\"\""_s, u"ř"_s,
                                     u" "_s, u"1"_s, u"\\"_s, u":"_s,    u"Žluť"_s};
    QString text;
    for (int n = random.bounded(5); n > 0; --n)
        text += pieces[random.bounded(int(std::size(pieces)))];
    return text;
}

// A value as a read gives it: current version, the paper read with its size, heights and steps
// in their ranges, character-grid steps that agree with the codes.
TemplateSettings randomSettings(QRandomGenerator& random) {
    const auto n = [&](int low, int high) { return int(random.bounded(low, high + 1)); };
    TemplateSettings s;
    s.description = awkwardText(random);
    if (s.description.isEmpty()) s.description = u"popis"_s; // an empty one reads as none
    TemplatePaper paper;
    paper.landscape = n(0, 1);
    paper.orientationChangeable = n(0, 1);
    paper.paperWidth = n(0, 5000);
    paper.paperHeight = n(0, 5000);
    paper.marginLeft = n(-50, 500);
    paper.marginRight = n(0, 500);
    paper.marginTop = n(0, 500);
    paper.marginBottom = n(0, 500);
    s.paper = paper;
    s.paperHasSize = true;
    s.columns = n(1, 9);
    s.columnGap = n(-10, 100);
    for (auto& section : s.sections)
        if (n(0, 3) > 0) section = TemplateSection{bool(n(0, 1)), n(0, 900), n(0, 3)};
    for (int i = n(0, 3); i > 0; --i) {
        QString key = n(0, 1) ? QString::number(n(0, 20)) : awkwardText(random);
        s.groups.append(
            {n(-2, 9), key, bool(n(0, 1)), n(0, 90), bool(n(0, 1)), n(0, 90), bool(n(0, 1))});
    }
    s.designerValue = n(-100, 100);
    s.grid.characterGrid = n(0, 1);
    s.grid.lineCode = n(0, 3);
    s.grid.pitchCode = n(0, 3);
    s.grid.x = s.grid.characterGrid ? qRound(s.grid.cellWidth()) : n(1, 40);
    s.grid.y = s.grid.characterGrid ? qRound(s.grid.lineHeight()) : n(1, 40);
    s.grid.show = n(0, 1);
    s.grid.snap = n(0, 1);
    s.background = {bool(n(0, 1)), bool(n(0, 1)), bool(n(0, 1)), n(-9, 99),
                    n(0, 99),      n(0, 999),     n(0, 999),     awkwardText(random)};
    for (int i = n(0, 4); i > 0; --i)
        s.functions.append({awkwardText(random), awkwardText(random), n(0, 2), awkwardText(random),
                            n(0, 3), awkwardText(random), n(0, 7), n(0, 18), n(0, 18), n(0, 4)});
    return s;
}

TEST(TemplateSettings, ValuesSurviveWriteAndRead) {
    QRandomGenerator random(31);
    for (int round = 0; round < 300; ++round) {
        const TemplateSettings written = randomSettings(random);
        const TPredloha text = WriteTemplateSettings(written);
        EXPECT_EQ(ReadTemplateSettings(text, false), written) << text.join(u'\n').toStdString();
    }
}

// The shipped template and the test templates: every settings and function line comes back
// as it stands, and what is written reads to the same value.
TEST(TemplateSettings, TemplateFilesSurviveReadAndWrite) {
    QStringList files{QStringLiteral(KOLV_RESOURCES_DIR "/zostava.pts")};
    const QDir corpus(QStringLiteral(KOLV_TEST_DATA_DIR "/templates"));
    for (const QString& name : corpus.entryList({QStringLiteral("*.pts")}, QDir::Files))
        files.append(corpus.filePath(name));
    ASSERT_GE(files.size(), 3);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const TPredloha text = TPredloha::FromBytes(readFile(file));
        ASSERT_FALSE(settingLines(text).isEmpty());
        const TemplateSettings settings = ReadTemplateSettings(text, false);
        const TPredloha written = WriteTemplateSettings(settings);
        EXPECT_TRUE(isOrderedSubset(settingLines(text), written))
            << written.join(u'\n').toStdString();
        EXPECT_EQ(ReadTemplateSettings(written, false), settings);
    }
}

TEST(TemplateSettings, WhatTheTextLeavesOutComesFromTheDefaults) {
    TemplateSettings defaults;
    defaults.description = u"výchozí"_s;
    defaults.paper = TemplatePaper{false, false, 827, 1169, 50, 50, 50, 50};
    defaults.grid.x = 5;
    defaults.grid.y = 7;
    defaults.grid.show = true;
    defaults.grid.snap = true;
    defaults.groups.append(TemplateGroupLine{});
    defaults.functions.append(TemplateFunction{});
    defaults.sections[2] = TemplateSection{};

    // Nothing in the text: the defaults, but no lists.
    TemplateSettings none = read("T,1\nI\nI,8,1\nI,3,5,0,9", false, defaults);
    EXPECT_EQ(none.description, u"výchozí");
    EXPECT_EQ(none.paper, defaults.paper);
    EXPECT_FALSE(none.paperHasSize);
    EXPECT_EQ(none.grid, defaults.grid);
    EXPECT_TRUE(none.groups.isEmpty());
    EXPECT_TRUE(none.functions.isEmpty());
    for (const auto& section : none.sections)
        EXPECT_FALSE(section);

    // Missing grid fields take the caller's steps and switches; a step below 1 is 8 whatever
    // the defaults.
    const TemplateGrid grid = read("I,6,0,,0", false, defaults).grid;
    EXPECT_EQ(grid.x, 5);
    EXPECT_EQ(grid.y, 8);
    EXPECT_TRUE(grid.show);
    EXPECT_TRUE(grid.snap);
    EXPECT_FALSE(read("I,6,0").grid.show);
    EXPECT_EQ(read("I,6,0").grid.x, 8);

    // A paper line of version 0 has no size: the defaults' size stays, the margins are read.
    const TemplateSettings old = read("I,1,0,9,9\nI,2,1,10,20,30,40,2,5", false, defaults);
    EXPECT_EQ(old.paper->paperWidth, 827);
    EXPECT_EQ(old.paper->marginLeft, 10);
    EXPECT_EQ(old.paper->marginBottom, 40);
    EXPECT_TRUE(old.paper->landscape);
    EXPECT_FALSE(old.paperHasSize);
    EXPECT_EQ(old.columns, 2);
    // Any paper line of a later version carries it.
    EXPECT_TRUE(read("I,1,0,9,9\nI,2,1\nI,1,1,0,0\nI,2,1,600,700").paperHasSize);
    EXPECT_EQ(read("I,1,0,9,9\nI,2,1\nI,1,1,0,0\nI,2,1,600,700").paper->paperWidth, 600);

    // A detail's paper line gives columns and gap only.
    const TemplateSettings detail = read("I,2,1,2100,2970,1,2,3,4,3,7", true, defaults);
    EXPECT_EQ(detail.paper, defaults.paper);
    EXPECT_EQ(detail.columns, 3);
    EXPECT_EQ(detail.columnGap, 7);
}

// The new-template wizard writes its section lines without flags: they come back as written,
// and a flags field once read is written again.
TEST(TemplateSettings, SectionLinesKeepTheirFields) {
    const char* lines[] = {"I,3,0,1,96", "I,3,4,0,16,1", "I,3,2,1,0,0"};
    for (const char* line : lines) {
        const TemplateSettings s = read(line);
        const int number = QString::fromLatin1(line).section(u',', 2, 2).toInt();
        ASSERT_TRUE(s.sections[number]);
        EXPECT_EQ(WriteSectionLine(number, *s.sections[number]), QString::fromLatin1(line));
        EXPECT_TRUE(WriteTemplateSettings(s).contains(QString::fromLatin1(line)));
    }
    EXPECT_EQ(read("I,3,1,1,-5,2").sections[1]->height, 0);
    EXPECT_EQ(read("I,3,1").sections[1], TemplateSection{});
}

} // namespace
