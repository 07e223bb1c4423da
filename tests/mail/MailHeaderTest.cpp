// Header charset, date form, folding and the From mailbox.

#include "mail/MailHeader.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {
struct CharsetCase {
    QLocale::Language language;
    QLocale::Territory territory;
    const char *charset;
};

void PrintTo(const CharsetCase &c, std::ostream *os)
{
    *os << QLocale(c.language, c.territory).name().toStdString();
}

class HeaderCharsetTest : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(HeaderCharsetTest, FollowsTheLanguage)
{
    const CharsetCase &c = GetParam();
    EXPECT_EQ(HeaderCharset(QLocale(c.language, c.territory)), QLatin1String(c.charset));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, HeaderCharsetTest,
    ::testing::Values(CharsetCase{QLocale::Russian, QLocale::Russia, "KOI8-R"},
                      CharsetCase{QLocale::Ukrainian, QLocale::Ukraine, "windows-1251"},
                      CharsetCase{QLocale::Chinese, QLocale::China, "GB2312"},
                      CharsetCase{QLocale::Chinese, QLocale::Taiwan, "Big5"},
                      CharsetCase{QLocale::Japanese, QLocale::Japan, "ISO-2022-JP"},
                      CharsetCase{QLocale::Korean, QLocale::SouthKorea, "csEUCKR"},
                      CharsetCase{QLocale::English, QLocale::UnitedStates, "UTF-8"},
                      CharsetCase{QLocale::Kazakh, QLocale::Kazakhstan, "UTF-8"}),
    [](const auto &p) {
        return QLocale(p.param.language, p.param.territory).name().toStdString();
    });

TEST(FormatDateTest, DayMonthYearTimeAndOffset)
{
    EXPECT_EQ(FormatDate(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 9), QTimeZone(3 * 3600))),
              QStringLiteral("Wed, 9 Dec 2026 14:05:09 +0300"));
    EXPECT_EQ(
        FormatDate(QDateTime(QDate(2015, 3, 1), QTime(0, 0, 0), QTimeZone(-(3 * 3600 + 1800)))),
        QStringLiteral("Sun, 1 Mar 2015 00:00:00 -0330"));
    EXPECT_EQ(FormatDate(QDateTime(QDate(2024, 7, 22), QTime(23, 59, 59), QTimeZone::utc())),
              QStringLiteral("Mon, 22 Jul 2024 23:59:59 +0000"));
}

// Each piece within 78 characters, continuations starting with exactly one blank, and
// unfolding (dropping CR LF) gives the line back but for blanks at the breaks.
void ExpectFolded(const QString &line, const QString &folded)
{
    const QStringList pieces = folded.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        EXPECT_LE(pieces[i].size(), 78) << pieces[i].toStdString();
        EXPECT_FALSE(pieces[i].endsWith(QLatin1Char(' '))) << pieces[i].toStdString();
        if (i > 0) {
            EXPECT_TRUE(pieces[i].startsWith(QLatin1Char(' ')));
            EXPECT_NE(pieces[i][1], QLatin1Char(' '));
        }
    }
    QString unfolded = folded;
    unfolded.remove(QStringLiteral("\r\n"));
    EXPECT_EQ(unfolded.simplified().remove(QLatin1Char(' ')),
              QString(line).simplified().remove(QLatin1Char(' ')));
}

TEST(FoldHeaderTest, ShortLineStaysAsItIs)
{
    const QString line = QStringLiteral("Subject: ZUD Reports ");
    EXPECT_EQ(FoldHeader(line), line);
    const QString exactly78 = QStringLiteral("Subject: ") + QString(69, QLatin1Char('a'));
    EXPECT_EQ(FoldHeader(exactly78), exactly78);
}

TEST(FoldHeaderTest, AddressListBreaksAfterCommas)
{
    QStringList addresses;
    for (int i = 0; i < 12; ++i)
        addresses << QStringLiteral("dispatcher%1@grid.example.com").arg(i);
    const QString line = QStringLiteral("To: ") + addresses.join(QStringLiteral(", "));
    const QString folded = FoldHeader(line);
    ExpectFolded(line, folded);
    EXPECT_TRUE(folded.startsWith(
        QStringLiteral("To: dispatcher0@grid.example.com, dispatcher1@grid.example.com,\r\n"
                       " dispatcher2@grid.example.com,")))
        << folded.toStdString();
}

TEST(FoldHeaderTest, CommaWithoutBlankIsABreakToo)
{
    const QString line = QStringLiteral("To: ") + QString(70, QLatin1Char('a')) +
                         QStringLiteral(",") + QString(20, QLatin1Char('b'));
    EXPECT_EQ(FoldHeader(line), QStringLiteral("To: ") + QString(70, QLatin1Char('a')) +
                                    QStringLiteral(",\r\n ") + QString(20, QLatin1Char('b')));
}

TEST(FoldHeaderTest, LongTextBreaksAtBlanksAndCutsTrailingBlanks)
{
    const QString line = QStringLiteral("Subject: ") + QString(60, QLatin1Char('x')) +
                         QStringLiteral("   ") + QString(30, QLatin1Char('y')) +
                         QStringLiteral("\t") + QString(50, QLatin1Char('z'));
    const QString folded = FoldHeader(line);
    ExpectFolded(line, folded);
    EXPECT_EQ(folded, QStringLiteral("Subject: ") + QString(60, QLatin1Char('x')) +
                          QStringLiteral("\r\n ") + QString(30, QLatin1Char('y')) +
                          QStringLiteral("\r\n ") + QString(50, QLatin1Char('z')));
}

TEST(FoldHeaderTest, WordLongerThanTheLimitBreaksAtTheFirstPlaceAfterIt)
{
    const QString line =
        QStringLiteral("Subject:") + QString(90, QLatin1Char('w')) + QStringLiteral(" tail");
    EXPECT_EQ(FoldHeader(line), QStringLiteral("Subject:") + QString(90, QLatin1Char('w')) +
                                    QStringLiteral("\r\n tail"));
    const QString unbreakable = QStringLiteral("Subject:") + QString(100, QLatin1Char('w'));
    EXPECT_EQ(FoldHeader(unbreakable), unbreakable);
}

TEST(MailboxTextTest, QuotedNameEncodedNameOrTheAddress)
{
    const QString koi8 = QStringLiteral("KOI8-R");
    EXPECT_EQ(
        MailboxText({QStringLiteral("Ivanov, \"Boss\""), QStringLiteral("a@example.com")}, koi8),
        QStringLiteral("\"Ivanov, \\\"Boss\\\"\" <a@example.com>"));
    EXPECT_EQ(MailboxText({QString(), QStringLiteral("a@example.com")}, koi8),
              QStringLiteral("\"a@example.com\" <a@example.com>"));
    EXPECT_EQ(MailboxText({QStringLiteral("Иван"), QStringLiteral("a@example.com")}, koi8),
              QStringLiteral("=?KOI8-R?B?") +
                  QString::fromLatin1(QByteArray::fromHex("E9D7C1CE").toBase64()) +
                  QStringLiteral("?= <a@example.com>"));
}
} // namespace
