#include "tests/chart/ChartKit.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <iostream>

namespace {

// The unattended program draws the chart of the demo's hourly load report (substations'
// loads and voltages by the hour, yesterday and today) without a display: the picture is
// kept in the build tree for anyone to open.
TEST(ChartBatch_Sqlite_Readers, DrawsTheDemosHourlyLoadChartAsAPicture)
{
    TempDir workspace;
    QString out;
    QString err;
    ASSERT_EQ(
        runProgram(sourceDir() + "/scripts/make-demo-workspace", {workspace.path()}, &out, &err), 0)
        << err.toStdString();
    const QString picture = QStringLiteral(QUORVEL_CHART_ARTEFACTS "/hourly-load.png");
    QDir().mkpath(QStringLiteral(QUORVEL_CHART_ARTEFACTS));
    QFile::remove(picture);
    // No display: the program must not need one.
    ASSERT_EQ(runProgramIn({{"DISPLAY", QString()}, {"QT_QPA_PLATFORM", QString()}},
                           QUORVEL_BATCH_PROGRAM,
                           {"run", "demo/demo@demo", "--report", "101", "--png", picture,
                            "--workspace", workspace.path()},
                           &out, &err),
              0)
        << out.toStdString() << err.toStdString();
    EXPECT_TRUE(out.contains(picture + ", written")) << out.toStdString();
    std::cout << "chart of the demo's hourly load report: " << picture.toStdString() << "\n";

    const QImage image(picture);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1600, 800));
    const IdentifiedPicture seen = identifyPicture(picture);
    EXPECT_EQ(seen.Shape, "PNG 1600 800");
    EXPECT_GT(seen.Colours, 4);
}

TEST(ChartBatch_Sqlite, AReportWithoutNumericColumnsWritesNoPictureAndSaysWhy)
{
    TempDir workspace;
    ASSERT_EQ(runProgram(sourceDir() + "/scripts/make-demo-workspace", {workspace.path()}), 0);
    const QString picture = workspace.file("users.png");
    QString out;
    QString err;
    EXPECT_EQ(runProgram(QUORVEL_BATCH_PROGRAM,
                         {"run", "demo/demo@demo", "--report", "111", "--png", picture,
                          "--workspace", workspace.path()},
                         &out, &err),
              1);
    EXPECT_TRUE(out.contains(picture + ", error: Нет числовых колонок для графика"))
        << out.toStdString();
    EXPECT_FALSE(QFile::exists(picture));
}

} // namespace
