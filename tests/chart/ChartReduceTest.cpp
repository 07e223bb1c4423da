#include "chart/ChartReduce.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct ReduceCase {
    const char *name;
    std::vector<double> y; // x is the index
    int pixels;
    std::vector<std::size_t> kept;
    friend void PrintTo(const ReduceCase &c, std::ostream *os) { *os << c.name; }
};

class ChartReduce : public ::testing::TestWithParam<ReduceCase> {};

TEST_P(ChartReduce, KeepsEachPixelColumnsMinimumAndMaximum)
{
    const ReduceCase &c = GetParam();
    std::vector<double> x(c.y.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        x[i] = double(i);
    const double last = x.empty() ? 0 : x.back();
    EXPECT_EQ(ReduceToPixels(x, c.y, 0, last, c.pixels), c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChartReduce,
    ::testing::Values(ReduceCase{"Empty", {}, 4, {}},
                      ReduceCase{"FewerPointsThanPixelsKeepAll", {3, 1, 2}, 4, {0, 1, 2}},
                      ReduceCase{"AsManyPointsAsPixelsKeepAll", {3, 1, 2, 5}, 4, {0, 1, 2, 3}},
                      ReduceCase{"EmptyValuesLeftOut", {3, NaN, 2}, 4, {0, 2}},
                      // x 0..7 over 2 pixels: 0..3 and 4..7 (7 falls on the right edge).
                      ReduceCase{"MinThenMax", {5, 1, 9, 4, 2, 2, 8, 3}, 2, {1, 2, 4, 6}},
                      ReduceCase{"MaxBeforeMin", {5, 9, 1, 4, 8, 2, 2, 3}, 2, {1, 2, 4, 5}},
                      ReduceCase{"FlatColumnKeepsOnePoint", {7, 7, 7, 7, 0, 0, 0, 0}, 2, {0, 4}},
                      ReduceCase{"OnePixel", {4, 2, 6, 5, 1}, 1, {2, 4}},
                      // A spike of one point stays in its column.
                      ReduceCase{
                          "SpikeInTheMiddle", {1, 1, 1, 1, 1, 100, 1, 1, 1}, 3, {0, 3, 5, 6}}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(ChartReduceSpikes, AMillionPointsOnAThousandPixelsKeepEveryColumnsExtremes)
{
    const std::size_t n = 1'000'000;
    std::vector<double> x(n), y(n);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = double(i);
        y[i] = std::sin(double(i) / 5000.0);
    }
    y[123'456] = 50;
    y[654'321] = -50;
    const std::vector<std::size_t> kept = ReduceToPixels(x, y, 0, double(n - 1), 1000);
    EXPECT_LE(kept.size(), 2000u);
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
    EXPECT_NE(std::find(kept.begin(), kept.end(), 123'456u), kept.end());
    EXPECT_NE(std::find(kept.begin(), kept.end(), 654'321u), kept.end());
}

} // namespace
