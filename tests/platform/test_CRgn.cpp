#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/CRgn.h"

namespace {

// Direct winding number of a grid point: signed crossings at or left of it, half-open in y.
int Avvolgimento(const std::vector<CPoint>& p, long long x, long long y)
{
    int w = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const CPoint& a = p[i];
        const CPoint& b = p[(i + 1) % p.size()];
        if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y)) {
            // Crossing x compared exactly: x >= xc  <=>  (x - ax)(by - ay) >= (y - ay)(bx - ax) for by > ay.
            const long long dy = b.y - a.y;
            const long long lhs = (x - a.x) * dy, rhs = (y - a.y) * static_cast<long long>(b.x - a.x);
            const bool destra = dy > 0 ? lhs >= rhs : lhs <= rhs;
            if (destra)
                w += dy > 0 ? 1 : -1;
        }
    }
    return w;
}

}  // namespace

TEST(CRgn, ConcordaConIlNumeroDiAvvolgimento)
{
    std::mt19937 g(4242);
    for (int caso = 0; caso < 300; ++caso) {
        const int n = 3 + static_cast<int>(g() % 10);
        std::uniform_int_distribution<int> c(-25, 25);
        std::vector<CPoint> p;
        for (int i = 0; i < n; ++i)
            p.emplace_back(c(g), c(g));
        // Some polygons wound twice, so the winding number reaches 2.
        if (caso % 5 == 0) {
            const std::vector<CPoint> giro = p;
            p.insert(p.end(), giro.begin(), giro.end());
        }
        CRgn r;
        ASSERT_EQ(r.CreatePolygonRgn(p.data(), static_cast<int>(p.size()), WINDING), 1);
        for (int y = -27; y <= 27; ++y)
            for (int x = -27; x <= 27; ++x)
                ASSERT_EQ(r.PtInRegion(x, y), Avvolgimento(p, x, y) != 0 ? 1 : 0) << caso << " " << x << "," << y;
    }
}

TEST(CRgn, BordiRifiutiELimiti)
{
    const std::vector<CPoint> quadrato = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    CRgn r;
    EXPECT_EQ(r.GetRegionData(), 0);
    ASSERT_EQ(r.CreatePolygonRgn(quadrato.data(), 4, WINDING), 1);
    EXPECT_GT(r.GetRegionData(), 0);
    // Which edges belong to the region the winding-number test checks on every grid point.
    EXPECT_EQ(r.PtInRegion(5, 5), 1);
    const std::vector<CPoint> due = {{0, 0}, {5, 5}};
    EXPECT_EQ(r.CreatePolygonRgn(due.data(), 2, WINDING), 0);
    EXPECT_EQ(r.PtInRegion(5, 5), 1);  // the old region stays
    const std::vector<CPoint> alto = {{0, -2000000}, {1, 2000000}, {2, 0}};
    EXPECT_EQ(r.CreatePolygonRgn(alto.data(), 3, WINDING), 0);
    const std::vector<CPoint> lontano = {{2000000000, 0}, {0, 1}, {1, 0}};
    EXPECT_EQ(r.CreatePolygonRgn(lontano.data(), 3, WINDING), 0);
    EXPECT_EQ(r.CreatePolygonRgn(nullptr, 3, WINDING), 0);
    // A zigzag whose every edge crosses nearly every band: 3000 points are taken, 5000 are too many.
    for (const int punti : {3000, 5000}) {
        std::vector<CPoint> zigzag;
        for (int i = 0; i < punti; ++i)
            zigzag.push_back({i, (i % 2 ? 1 : -1) * (400000 - i)});
        EXPECT_EQ(r.CreatePolygonRgn(zigzag.data(), punti, WINDING), punti == 3000 ? 1 : 0);
    }
    r.DeleteObject();
    EXPECT_EQ(r.GetRegionData(), 0);
    EXPECT_EQ(r.PtInRegion(5, 5), 0);
}
