#include "login/PasswordForm.h"
#include "db/OracleBase.h"

#include <gtest/gtest.h>

namespace {
class PasswordForm : public ::testing::Test {
protected:
    void TearDown() override { ResetProcessState(); }
};
} // namespace

TEST_F(PasswordForm, DigestIsLowerCaseHexOfRfc1321)
{
    PassCoded = true;
    EXPECT_EQ(md5("", false), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5("abc", false), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5("message digest", false), "f96b697d7cb7938d525a2f31aaf161d0");
}

TEST_F(PasswordForm, PlainUnlessTheDatabaseCodesOrEncodingIsAsked)
{
    PassCoded = false;
    EXPECT_EQ(md5("secret", false), "secret");
    EXPECT_EQ(md5("", false), "");
    EXPECT_EQ(md5("secret", true), "5ebe2294ecd0e0f08eab7690d2a6ee69");
    EXPECT_EQ(StoredPasswordForm("пароль"), "пароль");
}

TEST_F(PasswordForm, CyrillicIsHashedAsOneByteACharacterInTheCodePage)
{
    EXPECT_EQ(ToSystemCodePage("пароль"), QByteArray::fromHex("efe0f0eeebfc"));
    EXPECT_EQ(ToSystemCodePage("€"), QByteArray("\x88"));
    PassCoded = true;
    EXPECT_EQ(StoredPasswordForm("пароль"), "749789e4982b0c563f6729aac100a614");
}

TEST_F(PasswordForm, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(ToSystemCodePage("a日本b"), "a??b");
    EXPECT_EQ(ToSystemCodePage(QString::fromUtf8("x\xF0\x9F\x98\x80y")), "x?y") << "one for a pair";
    EXPECT_EQ(StoredPasswordForm("日"), "?");
    PassCoded = true;
    EXPECT_EQ(StoredPasswordForm("日"), "d1457b72c3fb323a2671125aef3eab5d");
}
