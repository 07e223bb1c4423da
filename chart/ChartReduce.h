#pragma once

#include <cstddef>
#include <span>
#include <vector>

// The points of a series a chart Pixels wide draws over [XMin, XMax], by index. A series of
// more points than pixels keeps, of each pixel column, the points of its minimum and its
// maximum (the earlier one first), so that a spike of one point stays visible; a shorter one
// keeps every point. Points without a value (NaN) are left out. The indices follow the pixel
// columns from left to right, in order of index within a column.
std::vector<std::size_t> ReduceToPixels(std::span<const double> X, std::span<const double> Y,
                                        double XMin, double XMax, int Pixels);
