#include "common/IniFile.h"
#include "db/OracleBase.h"
#include "db/OracleSession.h"
#include "db/Password.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

// Settings files the program did not write: random bytes, a very large file, lines without
// sections, a folder where the file should be. The module starts with the defaults and never
// writes over them.

namespace {
QByteArray randomBytes(qsizetype size)
{
    QRandomGenerator generator(19);
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = char(generator.bounded(256));
    return bytes;
}

struct BadFileCase {
    const char *name;
    QByteArray (*content)();
};

const BadFileCase badFileCases[] = {
    {"RandomBytes", [] { return randomBytes(64 * 1024); }},
    {"TenMegabytesWithoutSections",
     [] {
         return QByteArray("N_Server=2\nSERVER_NAME=sqlite:x.db\n").repeated(10 * 1024 * 1024 / 34);
     }},
    {"KeysWithoutSections",
     [] { return QByteArray("N_Server=2\r\nUSER_NAME=x\r\nAutoConnect=1\r\n"); }},
    {"BrokenSectionHeaders",
     [] { return QByteArray("[Mode\nN_Server=2\n]Alias[\nUSER_NAME=x\n"); }},
};

class BadSettings : public ::testing::TestWithParam<BadFileCase> {
protected:
    void SetUp() override { ResetProcessState(); }
    void TearDown() override { ResetProcessState(); }
};

void expectDefaults(const TFOracleBase &base)
{
    EXPECT_EQ(N_SRV, 0);
    EXPECT_EQ(base.ADatabase->LogonUsername(), "USER_ZUD");
    EXPECT_EQ(base.ADatabase->LogonDatabase(), "SERVER_ZUD");
    EXPECT_EQ(base.ADatabase->LogonPassword(), FixedPasswordWord);
    EXPECT_FALSE(base.AutoConnect);
}

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}
} // namespace

TEST_P(BadSettings, GiveTheDefaultsAndStayAsTheyWere)
{
    TempDir dir;
    const QByteArray bytes = GetParam().content();
    for (const char *name : {"viri.ini", "Temp.tmp"}) {
        QFile f(dir.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    {
        TFOracleBase base(nullptr, dir.path());
        expectDefaults(base);
        EXPECT_EQ(IniFile(TmpFile).readString("Login", "NAME", "<none>"), "<none>");
    }
    EXPECT_EQ(contentOf(dir.file("viri.ini")), bytes);
    EXPECT_EQ(contentOf(dir.file("Temp.tmp")), bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, BadSettings, ::testing::ValuesIn(badFileCases),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(BadSettingsFolder, WhereTheFileShouldBeGivesTheDefaults)
{
    ResetProcessState();
    TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("viri.ini"));
    TFOracleBase base(nullptr, dir.path());
    expectDefaults(base);
    EXPECT_TRUE(QFileInfo(dir.file("viri.ini")).isDir());
    ResetProcessState();
}
