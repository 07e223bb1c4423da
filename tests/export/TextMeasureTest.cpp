#include "export/TextMeasure.h"
#include "export/QExport4RTF.h"
#include "export/QExport4XLS.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <future>
#include <ostream>
#include <vector>

namespace {

struct Measured {
    QString family;
    int points;
    bool bold;
    QChar letter;
};

void PrintTo(const Measured &m, std::ostream *os)
{
    *os << m.family.toStdString() << ' ' << m.points << (m.bold ? " bold " : " ") << '\''
        << QString(m.letter).toStdString() << '\'';
}

int displayWidth(const Measured &m)
{
    QFont font(m.family, m.points);
    font.setBold(m.bold);
    return QFontMetrics(font).horizontalAdvance(m.letter);
}

QString probeArgument(const Measured &m)
{
    return QStringLiteral("%1:%2:%3:%4")
        .arg(m.family)
        .arg(m.points)
        .arg(m.bold ? 1 : 0)
        .arg(m.letter);
}

const TxlsFont &xlsData()
{
    static const TXLSOptions options;
    return options.FDataFormat.FFont;
}
const TrtfFont &rtfCaption()
{
    static const TRTFOptions options;
    return options.FCaptionStyle.FFont;
}

// The three the exports measure first, then sizes and faces where the display's choices differ:
// hinting switched off for small sizes, other families, bold and regular of the same family.
const Measured Cases[] = {
    {xlsData().FName, xlsData().FSize, false, u'0'},
    {rtfCaption().FName, rtfCaption().FSize, true, u'X'},
    {QStringLiteral("Tahoma"), 8, false, u'X'},
    {QStringLiteral("Arial"), 10, false, u'X'},
    {QStringLiteral("Tahoma"), 8, true, u'X'},
    {QStringLiteral("Tahoma"), 4, false, u'W'},
    {QStringLiteral("Tahoma"), 5, false, u'0'},
    {QStringLiteral("DejaVu Serif"), 9, false, u'W'},
    {QStringLiteral("DejaVu Sans Mono"), 10, true, u'i'},
    {QStringLiteral("Lato"), 11, true, u'm'},
    {QStringLiteral("Times New Roman"), 12, false, u'Ж'},
    {QStringLiteral("Courier New"), 14, false, u'.'},
    {QStringLiteral("Arial"), 36, true, u'Щ'},
};

class TextMeasure : public ::testing::TestWithParam<Measured> {};

TEST_P(TextMeasure, AgreesWithTheDisplay)
{
    const Measured &m = GetParam();
    EXPECT_EQ(CharPixelWidth(m.family, m.points, m.bold, m.letter), displayWidth(m));
}

INSTANTIATE_TEST_SUITE_P(Fonts, TextMeasure, ::testing::ValuesIn(Cases), [](const auto &p) {
    const Measured &m = p.param;
    QString name = m.family + QString::number(m.points) + (m.bold ? "Bold" : "") + "_U" +
                   QString::number(m.letter.unicode(), 16);
    name.remove(u' ');
    return name.toStdString();
});

QStringList probeArguments()
{
    QStringList args;
    for (const Measured &m : Cases)
        args.append(probeArgument(m));
    return args;
}

// Runs the probe with the environment changed as given (an empty value removes the variable);
// its output, or the failure.
QString runProbe(const QStringList &args, const QList<QPair<QString, QString>> &env)
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : env)
        if (value.isEmpty())
            e.remove(name);
        else
            e.insert(name, value);
    QProcess p;
    p.setProcessEnvironment(e);
    p.start(QStringLiteral(TEXT_MEASURE_PROBE), args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("probe failed: ") + QString::fromUtf8(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(TextMeasureWithoutDisplay, ProgramUnderQCoreApplicationMeasuresTheSame)
{
    QString expected;
    for (const Measured &m : Cases)
        expected += QString::number(displayWidth(m)) + u'\n';
    // A platform plugin that does not exist: any use of the display would end the program.
    EXPECT_EQ(
        runProbe(probeArguments(), {{"QT_QPA_PLATFORM", "no-such-platform"}, {"DISPLAY", ""}}),
        expected);
}

// The machine's own configuration asks for slight hinting; a desktop may ask for more, which
// changes the advances the display uses, and the measurement must follow.
class TextMeasureHinting : public ::testing::TestWithParam<const char *> {};

TEST_P(TextMeasureHinting, AgreesWithTheDisplayUnderTheConfiguration)
{
    TempDir dir;
    QFile conf(dir.file("fonts.conf"));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(QStringLiteral(R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="no">/etc/fonts/fonts.conf</include>
  <match target="font">%1</match>
</fontconfig>
)")
                   .arg(QString::fromUtf8(GetParam()))
                   .toUtf8());
    conf.close();
    const QList<QPair<QString, QString>> env = {{"FONTCONFIG_FILE", conf.fileName()},
                                                {"QT_QPA_PLATFORM", "offscreen"}};
    const QString display = runProbe(QStringList{"--display"} + probeArguments(), env);
    ASSERT_FALSE(display.startsWith("probe failed")) << display.toStdString();
    EXPECT_EQ(runProbe(probeArguments(), env), display);
}

INSTANTIATE_TEST_SUITE_P(
    Configurations, TextMeasureHinting,
    ::testing::Values(R"(<edit name="hintstyle" mode="assign"><const>hintfull</const></edit>)",
                      R"(<edit name="hintstyle" mode="assign"><const>hintmedium</const></edit>)",
                      R"(<edit name="hinting" mode="assign"><bool>false</bool></edit>)",
                      R"(<edit name="hintstyle" mode="assign"><const>hintfull</const></edit>
           <edit name="autohint" mode="assign"><bool>true</bool></edit>)"),
    [](const auto &p) {
        return std::string(p.index == 0   ? "HintFull"
                           : p.index == 1 ? "HintMedium"
                           : p.index == 2 ? "NoHinting"
                                          : "HintFullAutohint");
    });

TEST(TextMeasureEdges, NeverLessThanOne)
{
    // A letter no font on the machine has, and sizes that give no pixels.
    EXPECT_GE(CharPixelWidth(QStringLiteral("Arial"), 10, false, QChar(0xE000)), 1);
    EXPECT_EQ(CharPixelWidth(QStringLiteral("Arial"), 0, false, u'X'), 1);
    EXPECT_EQ(CharPixelWidth(QStringLiteral("Arial"), -4, true, u'X'), 1);
}

TEST(TextMeasureEdges, SameAnswersFromManyThreads)
{
    std::vector<int> expected;
    for (const Measured &m : Cases)
        expected.push_back(displayWidth(m));
    std::vector<std::future<std::vector<int>>> runs;
    for (int t = 0; t < 8; ++t)
        runs.push_back(std::async(std::launch::async, [t] {
            std::vector<int> widths(std::size(Cases));
            // Each thread asks in another order and for sizes not asked before, so the
            // threads meet in the measuring and not only in the cache.
            for (size_t i = 0; i < std::size(Cases); ++i) {
                const size_t k = (i + size_t(t)) % std::size(Cases);
                const Measured &m = Cases[k];
                CharPixelWidth(m.family, m.points + 20 + t, m.bold, m.letter);
                widths[k] = CharPixelWidth(m.family, m.points, m.bold, m.letter);
            }
            return widths;
        }));
    for (auto &run : runs)
        EXPECT_EQ(run.get(), expected);
}

} // namespace
