#include "app/ConfigFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

namespace {

using Places = std::array<int, 7>;
constexpr Places kDefaults{0, 2, 3, 6, 4, 3, 4};

class ConfigFile : public testing::Test {
protected:
    QString write(const QByteArray& bytes) {
        QFile file(path());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path();
    }
    QString path() const { return dir.path() + "/kolv.cfg"; }

    QTemporaryDir dir;
    Places places = kDefaults;
};

} // namespace

TEST_F(ConfigFile, ReadsSixLinesWithLfOrCrLf) {
    EXPECT_TRUE(readDecimalPlaces(write("0\n1\n2\n3\n4\n5\n"), places));
    EXPECT_EQ(places, (Places{0, 0, 1, 2, 3, 4, 5}));
    places = kDefaults;
    EXPECT_TRUE(readDecimalPlaces(write("8\r\n7\r\n6\r\n5\r\n4\r\n3"), places));
    EXPECT_EQ(places, (Places{0, 8, 7, 6, 5, 4, 3}));
}

TEST_F(ConfigFile, KeepsWhatWasReadBeforeABadLine) {
    EXPECT_FALSE(readDecimalPlaces(write("1\n1\n1\nabc\n5\n5\n"), places));
    EXPECT_EQ(places, (Places{0, 1, 1, 1, 4, 3, 4}));
    places = kDefaults;
    EXPECT_FALSE(readDecimalPlaces(write("7\r\n99999999999\r\n"), places));
    EXPECT_EQ(places, (Places{0, 7, 3, 6, 4, 3, 4}));
}

TEST_F(ConfigFile, ReadsOnlySixOfMoreLines) {
    EXPECT_TRUE(readDecimalPlaces(write("1\n2\n3\n4\n5\n6\n7\nx\n"), places));
    EXPECT_EQ(places, (Places{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(ConfigFile, ValuesOutsideZeroToEightAreKeptAsRead) {
    EXPECT_TRUE(readDecimalPlaces(write("-3\n40\n2147483647\n 4 \n+3\n4\n"), places));
    EXPECT_EQ(places, (Places{0, -3, 40, 2147483647, 4, 3, 4}));
}

TEST_F(ConfigFile, MissingEmptyShortOrBinaryFilesFail) {
    EXPECT_FALSE(readDecimalPlaces(path(), places));
    EXPECT_EQ(places, kDefaults);
    EXPECT_FALSE(readDecimalPlaces(write(""), places));
    EXPECT_FALSE(readDecimalPlaces(write("1\n2\n"), places));
    EXPECT_FALSE(readDecimalPlaces(write(QByteArray("\x00\x01\xff\xfe\n\x7f", 6)), places));
    EXPECT_EQ(places, (Places{0, 1, 2, 6, 4, 3, 4}));
}

TEST_F(ConfigFile, AHugeLineIsNotReadWhole) {
    QByteArray digits(8 * 1024 * 1024, '1');
    EXPECT_FALSE(readDecimalPlaces(write(digits), places));
    EXPECT_EQ(places, kDefaults);
}

TEST_F(ConfigFile, WritesSixCrLfLinesByteExact) {
    write("old text that is longer than the new file\n");
    EXPECT_TRUE(writeDecimalPlaces(path(), Places{0, 2, 3, 6, 4, 3, 4}));
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("2\r\n3\r\n6\r\n4\r\n3\r\n4\r\n"));
}

TEST_F(ConfigFile, WritesOutOfRangeValuesBackUnchanged) {
    ASSERT_TRUE(writeDecimalPlaces(path(), Places{0, -3, 40, 0, 8, 2147483647, 1}));
    Places back = kDefaults;
    EXPECT_TRUE(readDecimalPlaces(path(), back));
    EXPECT_EQ(back, (Places{0, -3, 40, 0, 8, 2147483647, 1}));
}

TEST_F(ConfigFile, AFolderThatCannotBeWrittenFails) {
    EXPECT_FALSE(writeDecimalPlaces(dir.path() + "/missing/folder/kolv.cfg", kDefaults));
}
