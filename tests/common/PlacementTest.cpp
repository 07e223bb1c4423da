#include "common/Placement.h"
#include "tests/common/GuiHelpers.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

namespace {

const QList<QRect> kSideBySide = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)};
// The second monitor left of the first, at negative coordinates.
const QList<QRect> kLeftOfPrimary = {QRect(0, 0, 1920, 1080), QRect(-1920, 0, 1920, 1080)};

struct ClampCase {
    const char *name;
    QList<QRect> monitors;
    QRect bounds;
    QRect expected;
};

void PrintTo(const ClampCase &c, std::ostream *os)
{
    *os << c.name;
}

class ClampToMonitorsCases : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampToMonitorsCases, FollowsTheSpanRule)
{
    EXPECT_EQ(ClampToMonitors(GetParam().bounds, GetParam().monitors), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClampToMonitorsCases,
    ::testing::Values(
        ClampCase{"inside", kSideBySide, QRect(100, 100, 400, 300), QRect(100, 100, 400, 300)},
        ClampCase{"farRight", kSideBySide, QRect(90000, 50000, 400, 300),
                  QRect(3440, 780, 400, 300)},
        ClampCase{"farLeft", kSideBySide, QRect(-90000, -5, 400, 300), QRect(0, 0, 400, 300)},
        ClampCase{"tooBig", kSideBySide, QRect(10, 10, 5000, 2000), QRect(0, 0, 3840, 1080)},
        // Compared with the span (3840), not with the union's right edge (1920): a window at
        // 3000 stays where it is, beyond the union.
        ClampCase{"negativeSpan", kLeftOfPrimary, QRect(3000, 100, 800, 600),
                  QRect(3000, 100, 800, 600)},
        ClampCase{"negativePastSpan", kLeftOfPrimary, QRect(3500, 100, 800, 600),
                  QRect(3040, 100, 800, 600)},
        ClampCase{"negativeLeft", kLeftOfPrimary, QRect(-5000, 100, 800, 600),
                  QRect(-1920, 100, 800, 600)},
        // Monitors that all lie right of 0 still start the minimum at 0.
        ClampCase{"offsetMonitor",
                  {QRect(100, 100, 1000, 800)},
                  QRect(-50, -50, 200, 200),
                  QRect(0, 0, 200, 200)}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(PlaceAtPointer, KeepsTheBoxFromPassingTheRightAndBottomEdgesOnly)
{
    const QRect desktop(-1920, 0, 3840, 1080);
    EXPECT_EQ(PlaceAtPointer(QSize(300, 100), QPoint(10, 20), desktop), QPoint(10, 20));
    EXPECT_EQ(PlaceAtPointer(QSize(300, 100), QPoint(1900, 1070), desktop), QPoint(1620, 980));
    // Nothing stops it at the left or top edge.
    EXPECT_EQ(PlaceAtPointer(QSize(5000, 2000), QPoint(0, 0), desktop), QPoint(-3080, -920));
}

TEST(Placement_Gui, SetCenterMouseOnOneMonitorLeavesTheWindow)
{
    FakeScreens screens(oneMonitor(QPoint(1500, 900)));
    QWidget form;
    form.setGeometry(100, 100, 300, 200);
    SetCenterMouse(&form);
    EXPECT_EQ(form.geometry(), QRect(100, 100, 300, 200));
}

TEST(Placement_Gui, SetCenterMouseOnTwoMonitorsMovesOnlyTheAxisThePointerIsOutside)
{
    struct {
        QPoint cursor;
        QPoint expected;
    } const table[] = {
        {QPoint(2500, 600), QPoint(2350, 500)}, // outside both ways
        {QPoint(250, 600), QPoint(100, 500)},   // within the columns, below
        {QPoint(2500, 150), QPoint(2350, 100)}, // within the rows, right
        {QPoint(400, 300), QPoint(100, 100)},   // on the right edge itself: inside
        {QPoint(301, 301), QPoint(100, 100)},   // inside
    };
    for (const auto &row : table) {
        FakeScreens screens(twoMonitors(row.cursor));
        QWidget form;
        form.setGeometry(100, 100, 300, 201);
        SetCenterMouse(&form);
        EXPECT_EQ(form.pos(), row.expected) << str(row.cursor);
        EXPECT_EQ(form.size(), QSize(300, 201));
    }
}

TEST(Placement_Gui, UpdateLeftTopUsesTheSpanWithNegativeMonitors)
{
    FakeScreens screens({kLeftOfPrimary, QRect(-1920, 0, 3840, 1080), QPoint()});
    QWidget stays;
    stays.setGeometry(3000, 100, 800, 600);
    UpdateLeftTop(&stays);
    EXPECT_EQ(stays.geometry(), QRect(3000, 100, 800, 600));

    QWidget moved;
    moved.setGeometry(-4000, 900, 5000, 600);
    UpdateLeftTop(&moved);
    EXPECT_EQ(moved.geometry(), QRect(-1920, 480, 3840, 600));
}

TEST(Placement_Gui, SetDefMonCentresOnTheDesktopOnlyWithSeveralMonitors)
{
    QWidget form;
    form.setGeometry(10, 20, 400, 300);
    {
        FakeScreens screens(oneMonitor(QPoint()));
        SetDefMon(&form);
        EXPECT_EQ(form.pos(), QPoint(10, 20));
    }
    FakeScreens screens(twoMonitors(QPoint()));
    SetDefMon(&form);
    EXPECT_EQ(form.geometry().center(), QRect(0, 0, 3840, 1080).center());
}

} // namespace
