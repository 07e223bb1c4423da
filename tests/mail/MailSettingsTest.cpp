// The report identifiers of a recipient and the mail settings of viri.ini.

#include "mail/MailSettings.h"
#include "common/IniFile.h"
#include "db/OracleBase.h"
#include "mail/MailSettingsStore.h"
#include "tests/support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <ostream>

namespace {
struct IdsCase {
    const char *name;
    QString text;
    QStringList ids;
};

void PrintTo(const IdsCase &c, std::ostream *os)
{
    *os << c.name;
}

class ReportIds : public ::testing::TestWithParam<IdsCase> {};

TEST_P(ReportIds, SplitsAtCommasAndBlanks)
{
    EXPECT_EQ(ReportIdList(GetParam().text), GetParam().ids);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReportIds,
    ::testing::Values(IdsCase{"Empty", "", {}}, IdsCase{"Stored", "12,15,40", {"12", "15", "40"}},
                      IdsCase{"BlankAfterComma", "12, 15", {"12", "15"}},
                      IdsCase{"BlanksAndEmptyItems", " 12 ,, 15 ,", {"12", "15"}},
                      IdsCase{"BlankAlone", "12 15", {"12", "15"}},
                      IdsCase{"Quoted", "\"12\",15", {"12", "15"}}),
    [](const auto &p) { return p.param.name; });

// CurrDir points at a temporary folder whose viri.ini the test writes.
class MailIni : public ::testing::Test {
protected:
    MailIni() : saved_(CurrDir) { CurrDir = dir_.path(); }
    ~MailIni() override { CurrDir = saved_; }
    void set(const QString &key, const QString &value)
    {
        IniFile(dir_.file("viri.ini")).writeString("Mail", key, value);
    }

    TempDir dir_;
    QString saved_;
};

TEST_F(MailIni, FromAddressIsThePlaceholderUntilSet)
{
    EXPECT_EQ(MailFromAddress(), QStringLiteral("reports@localhost"));
    set("FROM_ADDRESS", "  ");
    EXPECT_EQ(MailFromAddress(), QStringLiteral("reports@localhost"));
    set("FROM_ADDRESS", " zud@grid.example ");
    EXPECT_EQ(MailFromAddress(), QStringLiteral("zud@grid.example"));
}

TEST_F(MailIni, ReadTimeoutIsAPositiveNumberOfSecondsAtMostADay)
{
    EXPECT_EQ(MailReadTimeoutSeconds(), 60);
    const std::pair<const char *, int> cases[] = {
        {"15", 15}, {"0", 60}, {"-5", 60}, {"soon", 60}, {"86401", 86400}, {"2147483647", 86400}};
    for (const auto &[text, seconds] : cases) {
        set("READ_TIMEOUT", text);
        EXPECT_EQ(MailReadTimeoutSeconds(), seconds) << text;
    }
}
} // namespace
