#pragma once

#include <cstdint>
#include <vector>

#include "CPoint.h"
#include "Export.h"

constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// A polygon region on the integer grid, filled by the non-zero winding rule (or the even-odd rule).
// It is kept as horizontal bands between the rows of its vertices, each with the edges that cross
// it, so building costs the edges and their bands, never the rows, and a point test is a binary
// search for the band and a sign test per edge of it.
// A grid point on the outline follows the half-open rule of scan conversion: it is inside on the
// polygon's left and lower edges and outside on its right and upper ones, so two polygons that
// share an edge never both hold its points.
class KORVANE_API CRgn {
public:
    // Taller regions than this are refused, as are coordinates beyond +/- 1e9 and outlines whose
    // edges cross more bands in all than a head outline ever does (a few edges per band).
    static constexpr std::int64_t MAX_RIGHE = 1000000;
    static constexpr std::int64_t MAX_LATI_NELLE_BANDE = 10000000;

    // Builds the region; fewer than 3 points, or a polygon out of bounds, is refused (result 0) and
    // the region stays as it was.
    int CreatePolygonRgn(const CPoint* punti, int n, int modoRiempimento);
    int PtInRegion(int x, int y) const;
    // Number of bands that enclose some area: 0 when the region holds no data.
    int GetRegionData() const;
    void DeleteObject();

private:
    // A non-horizontal edge from its lower end; it holds rows yBasso <= y < yBasso + dy.
    struct Lato {
        std::int32_t xBasso, yBasso, dx, dy;
        int verso;
    };
    std::vector<Lato> m_lati;
    std::vector<std::int64_t> m_yBande;        // band j holds rows m_yBande[j] <= y < m_yBande[j + 1]
    std::vector<std::uint32_t> m_inizioBanda;  // its edges: m_latiBanda[m_inizioBanda[j] ...]
    std::vector<std::uint32_t> m_latiBanda;
    int m_modo = WINDING;
    int m_bandePiene = 0;
    // The outline's x extremes: a point beyond them is outside whatever its band holds.
    std::int64_t m_xMinimo = 0, m_xMassimo = 0;
};
