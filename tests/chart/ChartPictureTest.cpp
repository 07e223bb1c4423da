#include "chart/ChartPicture.h"
#include "common/TempTmp.h"
#include "export/ExportErrors.h"
#include "tests/chart/ChartKit.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// A day of hourly readings: a load curve and a voltage.
TReportResult hourlyResult()
{
    QList<QStringList> rows;
    for (int h = 0; h < 24; ++h)
        rows << QStringList{QStringLiteral("01.03.2015 %1:00:00").arg(h),
                            QString::number(100 + (h % 12) * 7) + QStringLiteral(",5"),
                            QString::number(110 - h % 3)};
    return chartResult({"Время", "P МВт", "U кВ"}, rows);
}

int colours(const QImage &Image)
{
    QSet<QRgb> seen;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            seen.insert(Image.pixel(x, y));
    return int(seen.size());
}

// The pixels of one colour: where a series was drawn.
int pixelsOf(const QImage &Image, QRgb Colour)
{
    int n = 0;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            n += Image.pixel(x, y) == Colour ? 1 : 0;
    return n;
}

class ChartPicture_Gui_Readers : public ::testing::Test {
protected:
    void SetUp() override { TmpFile = dir.file("Temp.tmp"); }
    void TearDown() override { TmpFile.clear(); }
    TempDir dir;
};

TEST_F(ChartPicture_Gui_Readers, ASavedPngReadsBackWithQtAndImageMagick)
{
    const TReportResult result = hourlyResult();
    const QString file = dir.file("load.png");
    SaveReportChart(file, result, 101);

    QImage image(file);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), ChartPictureSize);
    EXPECT_GT(colours(image), 4);
    // Both series' colours, each on a line of some length.
    EXPECT_GT(pixelsOf(image, qRgb(0x1f, 0x77, 0xb4)), 500);
    EXPECT_GT(pixelsOf(image, qRgb(0xd6, 0x27, 0x28)), 500);

    const IdentifiedPicture seen = identifyPicture(file);
    EXPECT_EQ(seen.Shape, "PNG 1600 800");
    EXPECT_GT(seen.Colours, 4);
}

TEST_F(ChartPicture_Gui_Readers, TheKeptChoiceDecidesWhatTheSavedPictureShows)
{
    const TReportResult result = hourlyResult();
    SaveChartChoice(101, {TChartKind::Line, {"U кВ"}, {}});
    SaveReportChart(dir.file("u.png"), result, 101);
    const QImage image(dir.file("u.png"));
    EXPECT_EQ(pixelsOf(image, qRgb(0x1f, 0x77, 0xb4)), 0);
    EXPECT_GT(pixelsOf(image, qRgb(0xd6, 0x27, 0x28)), 500);
}

TEST_F(ChartPicture_Gui_Readers, ASavedSvgHoldsTheDrawing)
{
    const TReportResult result = hourlyResult();
    const TChartData data = ReadChartData(result);
    const QString file = dir.file("load.svg");
    SaveChartPicture(file, {800, 400}, result, data, {TChartKind::Bar, {"P МВт"}, {}});

    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    int drawn = 0;
    QString viewBox;
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"svg")
            viewBox = xml.attributes().value("viewBox").toString();
        else if (xml.name() == u"path" || xml.name() == u"rect" || xml.name() == u"polyline")
            ++drawn;
        else if (xml.name() == u"text")
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(viewBox, "0 0 800 400");
    EXPECT_GT(drawn, 24);
    // The legend names the shown series only; the axis reads the grid's times.
    const QString all = texts.join(u' ');
    EXPECT_TRUE(all.contains("МВт")) << all.toStdString();
    EXPECT_FALSE(all.contains("кВ")) << all.toStdString();
    EXPECT_TRUE(all.contains("01.03.2015 12:00:00")) << all.toStdString();
}

TEST_F(ChartPicture_Gui_Readers, NoPictureOfAResultWithoutNumericColumns)
{
    const QString file = dir.file("none.png");
    const TReportResult result = chartResult({"Имя"}, {{"ПС"}});
    try {
        SaveReportChart(file, result, 5);
        FAIL() << "written";
    } catch (const EChartError &e) {
        EXPECT_STREQ(e.what(), "Нет числовых колонок для графика");
    }
    EXPECT_FALSE(QFileInfo::exists(file));
    // On the screen the same words stand in the picture's place.
    const QImage image = ChartImage({400, 200}, result, ReadChartData(result), {});
    EXPECT_GT(colours(image), 1);
}

TEST_F(ChartPicture_Gui_Readers, AFolderThatIsNotThereLeavesNothingAndSaysWhy)
{
    const QString file = dir.file("missing/load.png");
    try {
        SaveReportChart(file, hourlyResult(), 101);
        FAIL() << "written";
    } catch (const EQExportError &e) {
        EXPECT_EQ(e.kind(), EQExportError::FileCannotCreate);
        EXPECT_TRUE(e.message().contains("load.png")) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(file));
}

} // namespace
