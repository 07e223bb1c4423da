// Transfer encodings and header words of the message text.

#include "mail/MailEncoding.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

namespace {
struct QpCase {
    const char *name;
    QByteArray line;
    QByteArray encoded;
};

void PrintTo(const QpCase &c, std::ostream *os)
{
    *os << c.name;
}

class QuotedPrintableTest : public ::testing::TestWithParam<QpCase> {};

TEST_P(QuotedPrintableTest, EncodesTheLine)
{
    EXPECT_EQ(QuotedPrintable(GetParam().line), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuotedPrintableTest,
    ::testing::Values(
        QpCase{"PlainText", "Zud reports", "Zud reports"}, QpCase{"EqualsSign", "a=b", "a=3Db"},
        QpCase{"TrailingBlankAndTab", "a \t", "a =09"}, QpCase{"TrailingBlank", "ab ", "ab=20"},
        QpCase{"EightBit", "\xE9\xD7x", "=E9=D7x"},
        QpCase{"ControlCharacters", "a\rb\nc", "a=0Db=0Ac"},
        QpCase{"Exactly76", QByteArray(76, 'a'), QByteArray(76, 'a')},
        QpCase{"SoftBreak", QByteArray(77, 'a'),
               QByteArray(75, 'a') + "=\r\n" + QByteArray(2, 'a')},
        // The escape that would cross the 76th place moves whole to the next line.
        QpCase{"EscapeNotSplit", QByteArray(74, 'a') + "=b", QByteArray(74, 'a') + "=\r\n=3Db"}),
    [](const auto &p) { return std::string(p.param.name); });

class Base64LinesTest : public ::testing::TestWithParam<int> {};

TEST_P(Base64LinesTest, SplitsInto76CharacterLines)
{
    const int size = GetParam();
    QByteArray data;
    for (int i = 0; i < size; ++i)
        data += char((i * 37 + 11) & 0xFF);
    QByteArray out = "x";
    AppendBase64Lines(data, out);
    ASSERT_TRUE(out.startsWith('x'));
    QList<QByteArray> lines = out.mid(1).split('\n');
    ASSERT_EQ(lines.takeLast(), QByteArray()) << "every line ends in CR LF";
    QList<qsizetype> lengths(size / 57, 76);
    if (size % 57 != 0)
        lengths << (size % 57 + 2) / 3 * 4;
    QList<qsizetype> actual;
    QByteArray joined;
    for (const QByteArray &line : lines) {
        EXPECT_TRUE(line.endsWith('\r'));
        actual << line.size() - 1;
        joined += line.chopped(1);
    }
    EXPECT_EQ(actual, lengths);
    EXPECT_EQ(joined, data.toBase64());
}

INSTANTIATE_TEST_SUITE_P(Sizes, Base64LinesTest,
                         ::testing::Values(0, 1, 2, 3, 56, 57, 58, 114, 1000),
                         [](const auto &p) { return "Bytes" + std::to_string(p.param); });

QString DecodeWords(const QString &words)
{
    QString text;
    for (const QString &word : words.split(QLatin1Char(' '))) {
        EXPECT_LE(word.size(), 75) << word.toStdString();
        const QStringList parts = word.split(QLatin1Char('?'));
        EXPECT_EQ(parts.size(), 5) << word.toStdString();
        if (parts.size() != 5)
            return {};
        EXPECT_EQ(parts[2], QStringLiteral("B"));
        QStringDecoder decoder(parts[1].toLatin1().constData());
        text += decoder(QByteArray::fromBase64(parts[3].toLatin1()));
        EXPECT_FALSE(decoder.hasError()) << word.toStdString();
    }
    return text;
}

TEST(EncodedWordsTest, LongCyrillicTextGivesSeveralWholeKoi8rWords)
{
    const QString text = QStringLiteral("Отчёт о работе диспетчерской службы за смену, "
                                        "сформированный генератором отчётов");
    const QString words = EncodedWords(text, QStringLiteral("KOI8-R"));
    EXPECT_TRUE(words.startsWith(QStringLiteral("=?KOI8-R?B?"))) << words.toStdString();
    EXPECT_GT(words.count(QLatin1Char(' ')), 0);
    EXPECT_EQ(DecodeWords(words), text);
}

TEST(EncodedWordsTest, Utf8WordsNeverSplitACharacter)
{
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("ж😀");
    const QString words = EncodedWords(text, QStringLiteral("UTF-8"));
    EXPECT_EQ(DecodeWords(words), text);
}

TEST(EncodedWordsTest, CharactersTheCharsetLacksGoOutInUtf8)
{
    const QString text = QStringLiteral("Иван 中文");
    EXPECT_EQ(EncodedWords(text, QStringLiteral("KOI8-R")),
              QStringLiteral("=?UTF-8?B?") + QString::fromLatin1(text.toUtf8().toBase64()) +
                  QStringLiteral("?="));
    EXPECT_EQ(EncodeText(text, QStringLiteral("no-such-charset")).CharSet, QStringLiteral("UTF-8"));
}

TEST(HeaderTextTest, PrintableAsciiStaysAndAnythingElseIsEncoded)
{
    EXPECT_EQ(HeaderText(QStringLiteral("ZUD Reports"), QStringLiteral("KOI8-R")),
              QStringLiteral("ZUD Reports"));
    // A line break would start a header line of its own; as an encoded word it cannot.
    const QString injected =
        HeaderText(QStringLiteral("Hi\r\nBcc: x@example.com"), QStringLiteral("UTF-8"));
    EXPECT_FALSE(injected.contains(QLatin1Char('\n')));
    EXPECT_EQ(DecodeWords(injected), QStringLiteral("Hi\r\nBcc: x@example.com"));
}

TEST(QuotedStringTest, EscapesBackslashAndQuote)
{
    EXPECT_EQ(QuotedString(QStringLiteral("Ivanov \"Boss\" a\\b")),
              QStringLiteral("\"Ivanov \\\"Boss\\\" a\\\\b\""));
}
} // namespace
