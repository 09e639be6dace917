#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/CPoint.h"
#include "platform/Export.h"

constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// A polygon region on the integer grid, filled by the non-zero winding rule and kept as sorted
// x-intervals per row, so a point test is a binary search.
// A grid point on the outline follows the half-open rule of scan conversion: it is inside on the
// polygon's left and lower edges and outside on its right and upper ones, so two polygons that
// share an edge never both hold its points.
class KORVANE_API CRgn {
public:
    // Taller regions than this are refused, as are coordinates beyond +/- 1e9 and outlines that
    // cross the rows more often in all than a head outline ever does (a few times per row).
    static constexpr std::int64_t MAX_RIGHE = 1000000;
    static constexpr std::int64_t MAX_ATTRAVERSAMENTI = 10000000;

    // Builds the region; fewer than 3 points, or a polygon out of bounds, is refused (result 0) and
    // the region stays as it was.
    int CreatePolygonRgn(const CPoint* punti, int n, int modoRiempimento);
    int PtInRegion(int x, int y) const;
    // Number of intervals the region holds: 0 when it holds no data.
    int GetRegionData() const;
    void DeleteObject();

private:
    std::int64_t m_yMin = 0;
    // Row r holds m_intervalli[m_inizioRiga[r] .. m_inizioRiga[r + 1]), each [first x, last x].
    std::vector<std::uint32_t> m_inizioRiga;
    std::vector<std::pair<std::int32_t, std::int32_t>> m_intervalli;
};
