// Address lists of recipients and the server address with its port.

#include "mail/MailAddress.h"
#include "mail/SmtpError.h"
#include "mail/SmtpServerAddress.h"

#include <gtest/gtest.h>

namespace {
QString Shown(const QList<TMailAddressItem> &items)
{
    QStringList shown;
    for (const TMailAddressItem &item : items)
        shown << item.Name + QStringLiteral("|") + item.Address;
    return shown.join(QStringLiteral("; "));
}

TEST(ParseAddressListTest, CommasSeparateAddresses)
{
    EXPECT_EQ(Shown(ParseAddressList(QStringLiteral("a@example.com, b@example.com"))),
              QStringLiteral("|a@example.com; |b@example.com"));
    EXPECT_EQ(Shown(ParseAddressList(QStringLiteral(" a@example.com ,, b@example.com, "))),
              QStringLiteral("|a@example.com; |b@example.com"));
    EXPECT_EQ(Shown(ParseAddressList(QStringLiteral("a@example.com"))),
              QStringLiteral("|a@example.com"));
    EXPECT_TRUE(ParseAddressList(QStringLiteral("  ")).isEmpty());
}

TEST(ParseAddressListTest, NamedAddressesKeepCommasInsideQuotes)
{
    EXPECT_EQ(Shown(ParseAddressList(
                  QStringLiteral("\"Ivanov, Ivan\" <i@example.com>, Petrov <p@example.com>"))),
              QStringLiteral("Ivanov, Ivan|i@example.com; Petrov|p@example.com"));
    EXPECT_EQ(Shown(ParseAddressList(QStringLiteral("\"A \\\"B\\\"\" <ab@example.com>"))),
              QStringLiteral("A \"B\"|ab@example.com"));
}

TEST(CheckAddressTest, RefusesControlCharacters)
{
    EXPECT_NO_THROW(CheckAddress(QStringLiteral("to@example.com")));
    for (const QString &bad : {QStringLiteral("a@example.com\r\nDATA"), QStringLiteral("a@b\n"),
                               QStringLiteral("a\x01@example.com")}) {
        try {
            CheckAddress(bad);
            ADD_FAILURE() << "accepted " << bad.toStdString();
        } catch (const ESmtpError &e) {
            EXPECT_FALSE(e.Message().contains(QLatin1Char('\n'))) << e.what();
        }
    }
}

struct ServerCase {
    const char *name;
    const char *text;
    const char *host;
    quint16 port;
};

// The name, not the text: CTest's label step cannot take test names holding brackets.
void PrintTo(const ServerCase &c, std::ostream *os)
{
    *os << c.name;
}

class ParseServerAddressTest : public ::testing::TestWithParam<ServerCase> {};

TEST_P(ParseServerAddressTest, SplitsHostAndPort)
{
    const TSmtpServerAddress a = ParseServerAddress(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(a.Host, QString::fromUtf8(GetParam().host));
    EXPECT_EQ(a.Port, GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseServerAddressTest,
    ::testing::Values(ServerCase{"HostName", "mail.example.com", "mail.example.com", 25},
                      ServerCase{"TrimmedAddress", " 10.0.0.5 ", "10.0.0.5", 25},
                      ServerCase{"AddressAndPort", "10.0.0.5:2525", "10.0.0.5", 2525},
                      ServerCase{"HostAndPort", "mail.example.com:587", "mail.example.com", 587},
                      ServerCase{"BracketsAndPort", "[::1]:2525", "::1", 2525},
                      ServerCase{"Brackets", "[fe80::1]", "fe80::1", 25},
                      ServerCase{"BareIpv6Loopback", "::1", "::1", 25},
                      ServerCase{"BareIpv6", "2001:db8::25", "2001:db8::25", 25},
                      ServerCase{"Empty", "", "", 25}),
    [](const auto &p) { return std::string(p.param.name); });

struct BadServerCase {
    const char *name;
    const char *text;
};

void PrintTo(const BadServerCase &c, std::ostream *os)
{
    *os << c.name;
}

class BadServerAddressTest : public ::testing::TestWithParam<BadServerCase> {};

TEST_P(BadServerAddressTest, IsRefusedWithTheText)
{
    try {
        ParseServerAddress(QString::fromUtf8(GetParam().text));
        ADD_FAILURE() << "accepted";
    } catch (const ESmtpError &e) {
        EXPECT_TRUE(e.Message().contains(QString::fromUtf8(GetParam().text))) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, BadServerAddressTest,
                         ::testing::Values(BadServerCase{"EmptyPort", "mail:"},
                                           BadServerCase{"PortZero", "mail:0"},
                                           BadServerCase{"PortTooLarge", "mail:65536"},
                                           BadServerCase{"PortNotANumber", "mail:25x"},
                                           BadServerCase{"UnclosedBracket", "[::1"},
                                           BadServerCase{"NoColonAfterBracket", "[::1]2525"},
                                           BadServerCase{"EmptyPortAfterBracket", "[::1]:"}),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(ServerAddressTextTest, BracketsIpv6)
{
    EXPECT_EQ(ServerAddressText(QStringLiteral("::1"), 25), QStringLiteral("[::1]:25"));
    EXPECT_EQ(ServerAddressText(QStringLiteral("mail"), 2525), QStringLiteral("mail:2525"));
}
} // namespace
