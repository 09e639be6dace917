#pragma once

#include <cstdint>

// The framework's integer point: two 32-bit coordinates.
struct CPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    CPoint() = default;
    CPoint(std::int32_t px, std::int32_t py) : x(px), y(py) {}
    bool operator==(const CPoint&) const = default;
};

namespace Gdiplus {
// The drawing library's integer point.
struct Point {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    Point() = default;
    Point(std::int32_t px, std::int32_t py) : X(px), Y(py) {}
    bool operator==(const Point&) const = default;
};
}  // namespace Gdiplus
