#include "chart/ChartReduce.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t None = std::size_t(-1);

struct TPixelColumn {
    std::size_t Min = None;
    std::size_t Max = None;
};

} // namespace

std::vector<std::size_t> ReduceToPixels(std::span<const double> X, std::span<const double> Y,
                                        double XMin, double XMax, int Pixels)
{
    std::vector<std::size_t> kept;
    const std::size_t n = std::min(X.size(), Y.size());
    std::size_t valued = 0;
    for (std::size_t i = 0; i < n; ++i)
        valued += std::isnan(Y[i]) ? 0 : 1;
    if (valued <= std::size_t(std::max(Pixels, 0))) {
        kept.reserve(valued);
        for (std::size_t i = 0; i < n; ++i)
            if (!std::isnan(Y[i]))
                kept.push_back(i);
        return kept;
    }
    std::vector<TPixelColumn> columns(static_cast<std::size_t>(Pixels));
    const double span = XMax > XMin ? XMax - XMin : 1;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isnan(Y[i]))
            continue;
        const double at = std::floor((X[i] - XMin) / span * Pixels);
        TPixelColumn &c = columns[std::size_t(std::clamp(at, 0.0, double(Pixels - 1)))];
        if (c.Min == None || Y[i] < Y[c.Min])
            c.Min = i;
        if (c.Max == None || Y[i] > Y[c.Max])
            c.Max = i;
    }
    kept.reserve(2 * columns.size());
    for (const TPixelColumn &c : columns) {
        if (c.Min == None)
            continue;
        kept.push_back(std::min(c.Min, c.Max));
        if (c.Min != c.Max)
            kept.push_back(std::max(c.Min, c.Max));
    }
    return kept;
}
