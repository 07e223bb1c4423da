#include "export/QExport4RTF.h"
#include "tests/export/ExportFixtures.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString writeRtf(TExportModel &m, TQExport4RTF &engine)
{
    engine.Execute(m);
    QFile f(m.FileName);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromLatin1(f.readAll());
}

TEST(RtfDocument, PrologTableAndEndExactly)
{
    TempDir dir;
    TExportModel m = gridModel(dir.file("d.rtf"), 2, "Top");
    m.Columns[0] = {"Co", 3};
    m.Columns[1] = {"B", 0}; // width 0 still moves the edge by 10 twips
    m.XWidth = 8;
    m.Rows = rowsFromList({{"Д", "a\r\nb"}});
    TQExport4RTF engine;
    const QString cell = "\\pard\\intbl\\li30\\ri30\\cbpat1\\highlight1\\ql{\\f0\\fs20\\cf0 ";
    EXPECT_EQ(
        writeRtf(m, engine),
        "{\\rtf1\\ansi\\deff0\\deftab720\r\n"
        "{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Arial;}}\r\n"
        "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\r\n"
        "\\f0\\fs20\r\n"
        "\\paperw11906\r\n"
        "\\paperh16838\r\n"
        "{\\ql\\cbpat1 \r\n"
        "{\\highlight1\\f0\\fs20\\cf0 }\r\n"
        "\\par\r\n"
        "{\\highlight1\\f0\\fs20\\cf0 \\u84?\\u111?\\u112?}\r\n"
        "\\par\r\n"
        "}\r\n"
        "\\par\r\n"
        "\\trowd\\trql\\trgaph0\\trleft36\r\n"
        "\\clbrdrl\\brdrth \\clbrdrr\\brdrth \\clbrdrt\\brdrth \\clbrdrb\\brdrth\r\n"
        "\\cellx406\r\n" // 36 + 3 × 8 × 15 + 10
        "\\clbrdrl\\brdrth \\clbrdrr\\brdrth \\clbrdrt\\brdrth \\clbrdrb\\brdrth\r\n"
        "\\cellx416\r\n"
        "\\f0\\fs20\r\n"
        "\\pard\\intbl\\li30\\ri30\\cbpat1\\qc{\\highlight1\\f0\\fs20\\cf0\\b \\u67?\\u111?}\\cell"
        "\\pard\\intbl\\li30\\ri30\\cbpat1\\qc{\\highlight1\\f0\\fs20\\cf0\\b "
        "\\u66?}\\cell\\row\r\n"
        "\\f0\\fs20\r\n" +
            cell + "\\u1044?}\\cell" + cell + "\\u97?\\par \\u98?}\\cell\\row\r\n" +
            "\\pard\r\n"
            "\\par\r\n"
            "{\\ql\\cbpat1 \r\n"
            "{\\highlight1\\f0\\fs20\\cf0 }\r\n"
            "\\par\r\n"
            "{\\highlight1\\f0\\fs20\\cf0 \\u1053?\\u1080?\\u1079?}\r\n"
            "\\par\r\n"
            "}\r\n"
            "}");
}

TEST(RtfDocument, WithoutTitlesStillGetsWhiteAndEndsWithPard)
{
    TempDir dir;
    TExportModel m;
    m.FileName = dir.file("plain.rtf");
    m.Columns = {{"A", 1}};
    TQExport4RTF engine;
    engine.FOptions.FPageOrientation = poLandscape;
    const QString doc = writeRtf(m, engine);
    EXPECT_TRUE(doc.contains("{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\r\n"));
    EXPECT_TRUE(
        doc.contains("\\f0\\fs20\r\n\\landscape\r\n\\paperw16838\r\n\\paperh11906\r\n\\par\r\n"));
    EXPECT_TRUE(doc.endsWith("\\row\r\n\\f0\\fs20\r\n\\pard\r\n}"));
}

// A font found only after the prolog is inserted into the font table already written.
TEST(RtfDocument, LateFontEntryGoesIntoTheWrittenTable)
{
    TempDir dir;
    TExportModel m;
    m.FileName = dir.file("late.rtf");
    m.Columns = {{"A", 1}};
    m.Rows = rowsFromList({{"x"}});
    TQExport4RTF engine;
    engine.FOptions.FFooterStyle.FFont.FName = "Courier New";
    engine.FOptions.FFooterStyle.FBackgroundColor = 0x0000FF; // red
    m.Footer = {"end"};
    const QString doc = writeRtf(m, engine);
    EXPECT_TRUE(
        doc.startsWith("{\\rtf1\\ansi\\deff0\\deftab720\r\n"
                       "{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Arial;}{\\f2\\fnil Courier "
                       "New;}}\r\n"
                       "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red255"
                       "\\green0\\blue0;}\r\n\\f0\\fs20\r\n"))
        << doc.left(300).toStdString();
    EXPECT_TRUE(doc.endsWith("{\\ql\\cbpat2 \r\n{\\highlight1\\f2\\fs20\\cf0 \\u101?\\u110?\\u100?}"
                             "\r\n\\par\r\n}\r\n}"));
    EXPECT_TRUE(doc.contains("{\\f0\\fs20\\cf0 \\u120?}\\cell\\row\r\n")); // the tail moved intact
}

struct EscapeCase {
    const char *name;
    QString text;
    bool dataCell;
    const char *escaped;
};

void PrintTo(const EscapeCase &c, std::ostream *os)
{
    *os << c.name;
}

class RtfEscaping : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(RtfEscaping, EveryCharacterAsUnicodeWord)
{
    EXPECT_EQ(rtfEscape(GetParam().text, GetParam().dataCell), QByteArray(GetParam().escaped));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfEscaping,
    ::testing::Values(EscapeCase{"cyrillicDe", QStringLiteral("Д"), false, "\\u1044?"},
                      EscapeCase{"latinAndBlank", "A b", false, "\\u65?\\u32?\\u98?"},
                      EscapeCase{"braces", "{}", true, "\\u123?\\u125?"},
                      EscapeCase{"backslash", "a\\b", true, "\\u97?\\\\\\u98?"},
                      EscapeCase{"cellCrLf", "a\r\nb", true, "\\u97?\\par \\u98?"},
                      EscapeCase{"cellLoneLf", "a\nb\rc", true, "\\u97?\\par \\u98?\\par \\u99?"},
                      EscapeCase{"captionKeepsCrLf", "a\r\nb", false, "\\u97?\r\n\\u98?"},
                      EscapeCase{"outsideBmp", QString::fromUcs4(U"\U0001F600"), true,
                                 "\\u55357?\\u56832?"},
                      EscapeCase{"empty", "", true, ""}),
    [](const auto &p) { return std::string(p.param.name); });

} // namespace
