#include "FullDisk.h"
#include "TestFiles.h"

#include "app/ConfigFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

namespace {

using Places = std::array<int, 7>;
constexpr Places kDefaults{0, 2, 3, 6, 4, 3, 4};

class ConfigFile : public testing::Test {
protected:
    QString write(const QByteArray& bytes) {
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }
    QTemporaryDir dir;
    const QString path = dir.path() + "/kolv.cfg";
};

} // namespace

// Each line is stored as soon as it is read: a bad or missing line keeps what came before.
TEST_F(ConfigFile, ReadsUpToSixLinesAndKeepsWhatWasReadBeforeABadOne) {
    const struct {
        QByteArray bytes;
        bool ok;
        Places places;
    } cases[] = {
        {"0\n1\n2\n3\n4\n5\n", true, {0, 0, 1, 2, 3, 4, 5}},
        {"8\r\n7\r\n6\r\n5\r\n4\r\n3", true, {0, 8, 7, 6, 5, 4, 3}},
        {"1\n2\n3\n4\n5\n6\n7\nx\n", true, {0, 1, 2, 3, 4, 5, 6}},
        // Values outside 0..8 are kept as read.
        {"-3\n40\n2147483647\n 4 \n+3\n4\n", true, {0, -3, 40, 2147483647, 4, 3, 4}},
        {"1\n1\n1\nabc\n5\n5\n", false, {0, 1, 1, 1, 4, 3, 4}},
        {"7\r\n99999999999\r\n", false, {0, 7, 3, 6, 4, 3, 4}},
        {"", false, kDefaults},
        {"1\n2\n", false, {0, 1, 2, 6, 4, 3, 4}},
        {QByteArray("\x00\x01\xff\xfe\n\x7f", 6), false, kDefaults},
        {QByteArray(8 * 1024 * 1024, '1'), false, kDefaults}, // not read whole
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.left(40).toStdString());
        Places places = kDefaults;
        EXPECT_EQ(readDecimalPlaces(write(c.bytes), places), c.ok);
        EXPECT_EQ(places, c.places);
    }
    Places places = kDefaults;
    EXPECT_FALSE(readDecimalPlaces(dir.path() + "/missing.cfg", places));
    EXPECT_EQ(places, kDefaults);
}

TEST_F(ConfigFile, WritesSixCrLfLinesThatReadBackUnchanged) {
    write("old text that is longer than the new file\n");
    const Places odd{0, -3, 40, 0, 8, 2147483647, 1};
    EXPECT_TRUE(writeDecimalPlaces(path, odd));
    EXPECT_EQ(readFile(path), QByteArray("-3\r\n40\r\n0\r\n8\r\n2147483647\r\n1\r\n"));
    Places back = kDefaults;
    EXPECT_TRUE(readDecimalPlaces(path, back));
    EXPECT_EQ(back, odd);
    EXPECT_FALSE(writeDecimalPlaces(dir.path() + "/missing/folder/kolv.cfg", kDefaults));
}

TEST(ConfigFileOnAFullDisk, WritingFailsAndThePreviousFileStays) {
    if (!FullDisk::insidePrivateMounts()) return FullDisk::runTestInPrivateMounts();
    FullDisk disk;
    ASSERT_TRUE(disk.mounted());
    const QString path = disk.filePath("kolv.cfg");
    const QByteArray previous = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n";
    ASSERT_TRUE(writeFile(path, previous));
    ASSERT_TRUE(disk.fill());
    EXPECT_FALSE(writeDecimalPlaces(path, kDefaults));
    EXPECT_EQ(readFile(path), previous);
}
