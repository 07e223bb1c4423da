// The report identifiers of a recipient and the mail settings of viri.ini.

#include "mail/MailSettings.h"
#include "common/IniFile.h"
#include "db/OracleBase.h"
#include "mail/MailSettingsStore.h"
#include "mail/ReportMailing.h"
#include "mail/SmtpError.h"
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

TEST_F(MailIni, SecurityIsNoneUntilSetAndAnUnknownValueIsNoneOfThem)
{
    EXPECT_EQ(MailSecurity(), TSmtpSecurity::None);
    const std::pair<const char *, std::optional<TSmtpSecurity>> cases[] = {
        {"none", TSmtpSecurity::None},
        {" STARTTLS ", TSmtpSecurity::StartTls},
        {"tls", TSmtpSecurity::Tls},
        {"ssl", std::nullopt},
        {"yes", std::nullopt}};
    for (const auto &[text, security] : cases) {
        set("SECURITY", text);
        EXPECT_EQ(MailSecurity(), security) << text;
    }
    for (const TSmtpSecurity security :
         {TSmtpSecurity::None, TSmtpSecurity::StartTls, TSmtpSecurity::Tls}) {
        SaveMailSecurity(security);
        EXPECT_EQ(MailSecurity(), security);
    }
}

TEST_F(MailIni, UnknownSecurityRefusesToSendRatherThanGoPlain)
{
    set("SECURITY", "ssl");
    try {
        MailServerSettings(TPopServer{"mail.example.com", "", ""});
        ADD_FAILURE() << "an unknown SECURITY was taken";
    } catch (const ESmtpError &e) {
        EXPECT_TRUE(e.Message().contains("SECURITY")) << e.what();
    }
}

TEST_F(MailIni, AttachFormatIsXlsUntilSetAndAnUnknownOneRefusesTheMailing)
{
    EXPECT_EQ(MailAttachmentKind(), TExportKind::Xls);
    EXPECT_EQ(MailAttachmentFile(TExportKind::Xls), dir_.file("temp.xls"));
    const std::pair<const char *, std::optional<TExportKind>> cases[] = {
        {"xls", TExportKind::Xls}, {" XLSX ", TExportKind::Xlsx}, {"", TExportKind::Xls},
        {"csv", std::nullopt},     {"pdf", std::nullopt},         {"xlsm", std::nullopt}};
    for (const auto &[text, kind] : cases) {
        set("ATTACH_FORMAT", text);
        EXPECT_EQ(MailAttachFormat(), kind) << text;
    }
    set("ATTACH_FORMAT", "xlsx");
    EXPECT_EQ(MailAttachmentFile(MailAttachmentKind()), dir_.file("temp.xlsx"));
    EXPECT_EQ(MailAttachmentFormat(TExportKind::Xlsx), "xlsx");
    set("ATTACH_FORMAT", "ods");
    try {
        MailAttachmentKind();
        ADD_FAILURE() << "an unknown ATTACH_FORMAT was taken";
    } catch (const ESmtpError &e) {
        EXPECT_TRUE(e.Message().contains("ATTACH_FORMAT")) << e.what();
    }
}

TEST_F(MailIni, CaFileIsKeptAsWrittenAndTakenFromTheIniFolderWhenRelative)
{
    EXPECT_EQ(MailCaFile(), QString());
    set("CA_FILE", " certs/ca.pem ");
    EXPECT_EQ(MailCaFile(), QStringLiteral("certs/ca.pem"));
    EXPECT_EQ(MailServerSettings({}).CaFile, dir_.file("certs/ca.pem"));
    SaveMailCaFile("/etc/ssl/company.pem");
    EXPECT_EQ(MailServerSettings({}).CaFile, QStringLiteral("/etc/ssl/company.pem"));
}
} // namespace
