// The program's first start on a 1400 x 900 virtual screen: the size its main window opens
// with, and a picture of it kept beside the build as a test artefact.
#include "tests/app/DemoWorkspace.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <iostream>

namespace {
class FirstStartPicture_Gui_Sqlite : public ::testing::Test {};

TEST_F(FirstStartPicture_Gui_Sqlite, TheMainWindowOpensLargeOnA1400x900Screen)
{
    TempDir dir;
    QString output;
    const auto [copy, out] = makeDemoProgram(dir, &output);
    ASSERT_FALSE(copy.isNull()) << output.toStdString();
    // The offscreen platform's screens as a file: one of 1400 x 900 at 96 dpi.
    const QString screens = dir.file(QStringLiteral("screens.json"));
    QFile json(screens);
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(R"({"screens": [{"name": "virtual", "x": 0, "y": 0, "width": 1400,
                   "height": 900, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    json.close();

    QString err;
    ASSERT_EQ(runProgramIn({{QStringLiteral("QT_QPA_PLATFORM"),
                             QStringLiteral("offscreen:configfile=") + screens},
                            {QStringLiteral("QUORVEL_SELF_TEST"), out},
                            {QStringLiteral("QUORVEL_SELF_TEST_REPORT"), QString()}},
                           copy, {QStringLiteral("demo/demo@demo")}, nullptr, &err, 60000),
              0)
        << err.toStdString();
    QFile stateFile(QDir(out).filePath(QStringLiteral("state.txt")));
    ASSERT_TRUE(stateFile.open(QIODevice::ReadOnly));
    QStringList shot;
    for (const QString &line : QString::fromUtf8(stateFile.readAll()).split(u'\n'))
        if (line.startsWith(QStringLiteral("shot\t")))
            shot = line.split(u'\t');
    ASSERT_EQ(shot.size(), 4) << "no picture of the window";

    const QSize size(shot[2].toInt(), shot[3].toInt());
    EXPECT_GE(size.width(), 960);
    EXPECT_GE(size.height(), 640);
    EXPECT_LE(size.width(), 1400);
    EXPECT_LE(size.height(), 900);
    const QImage picture(shot[1]);
    EXPECT_EQ(picture.size(), size);

    const QString kept = QStringLiteral(QUORVEL_ARTEFACT_DIR "/main-window-first-start.png");
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(QUORVEL_ARTEFACT_DIR)));
    QFile::remove(kept);
    ASSERT_TRUE(QFile::copy(shot[1], kept));
    std::cout << "[first start] main window " << size.width() << "x" << size.height()
              << " on a 1400x900 screen, picture: " << kept.toStdString() << std::endl;
    RecordProperty("picture", kept.toStdString());
}
} // namespace
