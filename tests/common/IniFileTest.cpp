#include "common/IniFile.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <string_view>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

struct BadInputCase {
    const char *name;
    QByteArray content;
    const char *section;
    const char *key;
    const char *expectedString; // nullptr: the default
    int expectedInteger;        // with the default -1
};

void PrintTo(const BadInputCase &c, std::ostream *os)
{
    *os << c.name;
}

class IniFileBadInput : public ::testing::TestWithParam<BadInputCase> {};

TEST_P(IniFileBadInput, GivesTheValueOrTheDefaultAndStaysWritable)
{
    const BadInputCase &c = GetParam();
    TempDir dir;
    const QString path = dir.file(QStringLiteral("bad.ini"));
    writeBytes(path, c.content);
    IniFile ini(path);
    const QString section = QString::fromUtf8(c.section), key = QString::fromUtf8(c.key);
    const QString def = QStringLiteral("<default>");
    EXPECT_EQ(ini.readString(section, key, def),
              c.expectedString ? QString::fromUtf8(c.expectedString) : def);
    EXPECT_EQ(ini.readInteger(section, key, -1), c.expectedInteger);
    ini.readSections();
    ini.readSectionValues(section);
    // A write afterwards adds the key and leaves the rest as it was.
    ini.writeInteger(QStringLiteral("New"), QStringLiteral("Key"), 5);
    EXPECT_EQ(IniFile(path).readInteger(QStringLiteral("New"), QStringLiteral("Key"), 0), 5);
    EXPECT_EQ(IniFile(path).readInteger(section, key, -1), c.expectedInteger);
}

const QByteArray kLongValue(200000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, IniFileBadInput,
    ::testing::Values(
        BadInputCase{"garbage", "\x01\x02 junk\n[[[\n=nokey\n]\n[S]\nnoequals\nK=12\n", "S", "K",
                     "12", 12},
        BadInputCase{"unclosedHeader", "[S\nK=1\n", "S", "K", nullptr, -1},
        BadInputCase{"duplicateSections", "[S]\nK=1\n[T]\nK=3\n[s]\nK=2\nL=4\n", "S", "K", "1", 1},
        BadInputCase{"duplicateSectionsLaterKeysUnseen", "[S]\nK=1\n[s]\nL=4\n", "S", "L", nullptr,
                     -1},
        BadInputCase{"duplicateKeys", "[S]\nk=first\nK=2\n", "S", "K", "first", -1},
        BadInputCase{"notANumber", "[S]\nK=12abc\n", "S", "K", "12abc", -1},
        BadInputCase{"overflow", "[S]\nK=99999999999999999999\n", "S", "K", "99999999999999999999",
                     -1},
        BadInputCase{"hex", "[S]\nK=0x1F\n", "S", "K", "0x1F", 31},
        BadInputCase{"blanksAround", "  [ S ]  \n  K  =  42  \n", "S", "K", "42", 42},
        BadInputCase{"noFinalLineEnd", "[S]\nA=1\nK=7", "S", "K", "7", 7},
        BadInputCase{"crlf", "[S]\r\nK=8\r\n", "S", "K", "8", 8},
        BadInputCase{"byteOrderMark", "\xEF\xBB\xBF[S]\nK=9\n", "S", "K", "9", 9},
        BadInputCase{"notUtf8", "[S]\nName=\xCF\xF0\xE8\xE2\xE5\xF2\nK=3\n", "S", "K", "3", 3},
        BadInputCase{"notUtf8Value", "[S]\nK=\xFF\xFE\n", "S", "K", "\xEF\xBF\xBD\xEF\xBF\xBD", -1},
        BadInputCase{"veryLongLine",
                     QByteArray("[S]\nLong=") + kLongValue + "\nK=11\n" + kLongValue + "\n", "S",
                     "K", "11", 11},
        BadInputCase{"empty", "", "S", "K", nullptr, -1},
        BadInputCase{"nulBytes", QByteArray("[S]\nK=5\n\0\0\0\n", 12), "S", "K", "5", 5}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(IniFile, WriteKeepsLinesItDoesNotReplaceByteForByte)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("cp1251.ini"));
    // A name in windows-1251, as an older version of the program may have left it.
    const QByteArray before = "[Login]\r\nName=\xCF\xF0\xE8\r\n; comment\r\n\r\n[Other]\r\nA=1\r\n";
    writeBytes(path, before);
    IniFile ini(path);
    ini.writeString(QStringLiteral("Other"), QStringLiteral("A"), QStringLiteral("2"));
    EXPECT_EQ(readBytes(path),
              QByteArray("[Login]\r\nName=\xCF\xF0\xE8\r\n; comment\r\n\r\n[Other]\r\nA=2\r\n"));
}

TEST(IniFile, NewKeysJoinTheirSectionBeforeTheBlankLines)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("a.ini"));
    writeBytes(path, "[A]\nX=1\n\n[B]\nY=2\n");
    IniFile ini(path);
    ini.writeString(QStringLiteral("a"), QStringLiteral("Z"), QStringLiteral("зет"));
    EXPECT_EQ(readBytes(path), QByteArray("[A]\r\nX=1\r\nZ=\xD0\xB7\xD0\xB5\xD1\x82\r\n\r\n"
                                          "[B]\r\nY=2\r\n"));
    EXPECT_EQ(ini.readSection(QStringLiteral("A")), (QStringList{"X", "Z"}));
    EXPECT_EQ(ini.readSectionValues(QStringLiteral("A")), (QStringList{"X=1", "Z=зет"}));
    EXPECT_EQ(ini.readSections(), (QStringList{"A", "B"}));
}

TEST(IniFile, ValuesWithLineBreaksStayOnOneLine)
{
    TempDir dir;
    IniFile ini(dir.file(QStringLiteral("a.ini")));
    ini.writeString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("a\r\n[Evil]\nB=1"));
    EXPECT_EQ(ini.readSections(), QStringList{"S"});
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("K"), {}),
              QStringLiteral("a  [Evil] B=1"));
}

TEST(IniFile, BoolsAndIntegersRoundTrip)
{
    TempDir dir;
    IniFile ini(dir.file(QStringLiteral("a.ini")));
    ini.writeBool(QStringLiteral("S"), QStringLiteral("On"), true);
    ini.writeBool(QStringLiteral("S"), QStringLiteral("Off"), false);
    ini.writeInteger(QStringLiteral("S"), QStringLiteral("N"), -2147483647 - 1);
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("On"), {}), QStringLiteral("1"));
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("Off"), {}), QStringLiteral("0"));
    EXPECT_TRUE(ini.readBool(QStringLiteral("S"), QStringLiteral("On"), false));
    EXPECT_FALSE(ini.readBool(QStringLiteral("S"), QStringLiteral("Off"), true));
    EXPECT_TRUE(ini.readBool(QStringLiteral("S"), QStringLiteral("N"), false));
    EXPECT_TRUE(ini.readBool(QStringLiteral("S"), QStringLiteral("Missing"), true));
    EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("N"), 0), -2147483647 - 1);
}

TEST(IniFile, EraseSectionRemovesEveryCopyAndDeleteKeyOneKey)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("a.ini"));
    writeBytes(path, "[S]\nA=1\nB=2\n[T]\nC=3\n[s]\nD=4\n");
    IniFile ini(path);
    ini.deleteKey(QStringLiteral("S"), QStringLiteral("a"));
    EXPECT_FALSE(ini.valueExists(QStringLiteral("S"), QStringLiteral("A")));
    EXPECT_TRUE(ini.valueExists(QStringLiteral("S"), QStringLiteral("B")));
    ini.eraseSection(QStringLiteral("S"));
    EXPECT_EQ(ini.readSections(), QStringList{"T"});
    EXPECT_EQ(ini.readInteger(QStringLiteral("T"), QStringLiteral("C"), 0), 3);
}

TEST(IniFile, MissingFileReadsDefaults)
{
    TempDir dir;
    IniFile ini(dir.file(QStringLiteral("none/none.ini")));
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_TRUE(ini.readSections().isEmpty());
    // Deleting from a file that is not there writes nothing, so nothing is refused.
    ini.deleteKey(QStringLiteral("S"), QStringLiteral("K"));
    ini.eraseSection(QStringLiteral("S"));
}

class IniFileRefusedWrite : public ::testing::TestWithParam<const char *> {};

TEST_P(IniFileRefusedWrite, RaisesUnableToWriteWithTheFileName)
{
    TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QString path = dir.file(QString::fromUtf8(GetParam()));
    IniFile ini(path);
    try {
        ini.writeString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
        FAIL() << "the write was not refused";
    } catch (const EIniFileException &e) {
        EXPECT_EQ(QString::fromStdString(e.what()), QStringLiteral("Unable to write to ") + path);
    }
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")),
              QStringLiteral("d"));
}

// Root is not stopped by file modes, so the refusals are ones no user escapes.
INSTANTIATE_TEST_SUITE_P(Paths, IniFileRefusedWrite,
                         ::testing::Values("missing/folder/Temp.tmp", "folder"), [](const auto &p) {
                             return std::string(p.param == std::string_view("folder")
                                                    ? "AFolder"
                                                    : "InMissingFolders");
                         });

} // namespace
