#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "trajectories/GraficoTuning.h"

namespace {
std::vector<double> Grafico(const std::vector<CPunto2DKorvane>& punti, int n, float s = 3.0f, int offset = 0)
{
    ArrayPunti2D a;
    for (const auto& p : punti)
        a.Add(p);
    const CArray<double>& g = CalcolaGraficoDaPuntiTuning(&a, n, s, offset);
    return std::vector<double>(g.GetData(), g.GetData() + g.GetSize());
}
}  // namespace

TEST(GraficoTuning, CasiNoti)
{
    using V = std::vector<double>;
    const std::vector<CPunto2DKorvane> scala = {{0, 1}, {1, 2}, {2, 3}, {3, 4}};
    EXPECT_EQ(Grafico(scala, 4, 3.0f, 2), (V{1, 1, 1, 2}));
    EXPECT_EQ(Grafico(scala, 4, 3.0f, -1), (V{2, 3, 4, 4}));
    EXPECT_EQ(Grafico(scala, 4, 3.0f, INT_MIN), (V{4, 4, 4, 4}));
    EXPECT_EQ(Grafico(scala, 6), (V{1, 2, 3, 4, 4, 4}));
    // From x = 3: indices 0 ... 3 hold T[0].y, then the segment starts after it.
    EXPECT_EQ(Grafico({{3, 7}, {4, 8}}, 6), (V{7, 7, 7, 7, 8, 8}));
    // Two points: both handles sit on the end points, so the samples lie on the straight line.
    for (const float s : {0.5f, 2.0f, 9.0f}) {
        const V g = Grafico({{0, 10}, {10, 30}}, 15, s);
        ASSERT_EQ(g.size(), 15u);
        for (int j = 0; j <= 10; ++j)
            EXPECT_NEAR(g[j], 10 + 2.0 * j, 2 * 1e-3) << s << " " << j;
        EXPECT_EQ(g[14], 30);
    }
    // The result is one shared array: a second call refills what the first returned.
    ArrayPunti2D uno;
    uno.Add(CPunto2DKorvane(0, 5));
    const CArray<double>& primo = CalcolaGraficoDaPuntiTuning(&uno, 10, 3.0f, 0);
    EXPECT_TRUE(primo.IsEmpty());
    Grafico(scala, 4);
    EXPECT_EQ(primo.GetSize(), 4);
}

TEST(GraficoTuning, IngressiCattiviLimitati)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const struct {
        std::vector<CPunto2DKorvane> punti;
        int n;
        float s;
        size_t attesi;
    } casi[] = {
        {{{0, nan}, {5, 1}}, 10, 3, 0}, {{{0, 1}, {nan, 1}}, 10, 3, 0}, {{{0, 1}, {inf, 1}}, 10, 3, 0},
        {{{0, 1}, {2e6, 1}}, 10, 3, 0}, {{{0, 1}, {5, 1}}, 10, 0, 0},   {{{0, 1}, {5, 1}}, 2000000, 3, 0},
        // x going back: that segment gives nothing, the graph still has its length.
        {{{10, 1}, {0, 2}}, 20, 3, 20}, {{{0, 1}, {10, 2}, {3, 3}, {30, 4}}, 40, 0.3f, 40},
    };
    for (const auto& c : casi)
        EXPECT_EQ(Grafico(c.punti, c.n, c.s).size(), c.attesi);
}

// Many increasing tuning points: every sample lies on an independently evaluated Bezier segment.
TEST(GraficoTuning, SeguonoLeCurveDiBezier)
{
    std::mt19937_64 g(5);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int caso = 0; caso < 200; ++caso) {
        std::vector<CPunto2DKorvane> t;
        for (double x = std::floor(10 * u(g)); x < 250; x += std::floor(6 + 7 * u(g)))
            t.emplace_back(x, 20 + 60 * u(g));
        const float s = static_cast<float>(2 + 2 * u(g));
        const std::vector<double> v = Grafico(t, 250, s);
        ASSERT_EQ(v.size(), 250u);
        const double h = static_cast<double>((1.0f / s) / 3.0f);
        for (size_t i = 0; i + 1 < t.size(); ++i) {
            const CPunto2DKorvane a = t[i], d = t[i + 1];
            const CPunto2DKorvane b = i == 0 ? a : a + (d - t[i - 1]) * h;
            const CPunto2DKorvane c = i + 2 == t.size() ? d : d - (t[i + 2] - a) * h;
            for (int j = static_cast<int>(a.X) + 1; j <= d.X; ++j) {
                double lo = 0, hi = 1, tt = 0.5;
                for (int k = 0; k < 60; ++k, tt = (lo + hi) / 2) {
                    const double w = 1 - tt, x = a.X * w * w * w + 3 * b.X * tt * w * w + 3 * c.X * tt * tt * w + d.X * tt * tt * tt;
                    (x < j ? lo : hi) = tt;
                }
                const double w = 1 - tt, y = a.Y * w * w * w + 3 * b.Y * tt * w * w + 3 * c.Y * tt * tt * w + d.Y * tt * tt * tt;
                // Each sample is within 1e-4 of one index past the last, so x drifts by at most 2e-3.
                ASSERT_NEAR(v[j], y, 0.05) << caso << " " << i << " " << j;
            }
        }
    }
}
