#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>

#include "examples/EsamePanoramico.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "trajectories/Traiettoria.h"

namespace {
CPunto2DKorvane U(double gradi)
{
    return {std::cos(gradi * 3.141592653589793 / 180.0), std::sin(gradi * 3.141592653589793 / 180.0)};
}
double Croce(const CPunto2DKorvane& a, const CPunto2DKorvane& b)
{
    return a.X * b.Y - a.Y * b.X;
}
double Scalare(const CPunto2DKorvane& a, const CPunto2DKorvane& b)
{
    return a.X * b.X + a.Y * b.Y;
}
double Theta(const CPunto2DKorvane& a, const CPunto2DKorvane& b)
{
    return std::atan2(b.X - a.X, a.Y - b.Y) * 57.29577951308232;
}
// The arch of the example machine from sx to dx, the centre at the midline, tuning values symmetric about it.
CTraiettoria Panoramica(double sx, double dx, double passo, int tipo, std::mt19937_64& g, double v0, double v1)
{
    std::uniform_real_distribution<double> u(0.0, 1.0);
    CTraiettoria t(MacchinaEsempio());
    t.CurvaDenti.XFinaleSxmm = static_cast<float>(sx), t.CurvaDenti.XFinaleDxmm = static_cast<float>(dx);
    t.CurvaDenti.PassoPuntimm = static_cast<float>(passo);
    CString e;
    t.CurvaDenti.CalcolaCurva(e);
    const ArrayPunti2D& p = t.CurvaDenti.ArrayCurvaDenti;
    for (int i = 0; i < p.GetSize(); ++i)
        t.PosDistAng0 = p[i].X == 0.0 ? i : t.PosDistAng0;
    std::vector<CPunto2DKorvane> destra;
    for (int x = 0; x < p.GetSize() - t.PosDistAng0; x += 5 + static_cast<int>(15 * u(g)))
        destra.emplace_back(x, v0 + (v1 - v0) * u(g));
    for (size_t i = destra.size(); i-- > 1;)
        t.PuntiTuning.Add(CPunto2DKorvane(t.PosDistAng0 - destra[i].X, destra[i].Y));
    for (const auto& d : destra)
        t.PuntiTuning.Add(CPunto2DKorvane(t.PosDistAng0 + d.X, d.Y));
    t.TipoRicostruzione = tipo;
    t.PosRProjCostDx = t.PosRProjCostSx = static_cast<int>((15 + 30 * u(g)) / passo);
    return t;
}
}  // namespace

TEST(Panoramica, IngressiCheNonDannoUnaGeometria)
{
    std::mt19937_64 g(1);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    CTraiettoria vuota(MacchinaEsempio());
    EXPECT_EQ(vuota.CalcolaTraiettoriaPanoramica(), 0);
    EXPECT_EQ(vuota.GetErrorString(), TestoMessaggio(MSG_CURVA_PANORAMICA_CORTA));
    for (const auto& tuning : {ArrayPunti2D(), [nan] { ArrayPunti2D a; a.Add(CPunto2DKorvane(0, nan)); a.Add(CPunto2DKorvane(9, 1)); return a; }()}) {
        CTraiettoria t = Panoramica(-50, 50, 1, 2, g, 40, 70);
        t.PuntiTuning.Copy(tuning);
        EXPECT_EQ(t.CalcolaTraiettoriaPanoramica(), 0);
        EXPECT_EQ(t.GetErrorString(), TestoMessaggio(MSG_GRAFICO_TUNING_INCOMPLETO));
    }
    // A radius shorter than the chord: the circle misses the previous beam next to the centre.
    CTraiettoria corta = Panoramica(-50, 50, 1, 2, g, 0.1, 0.1);
    CString attesa;
    CaricaMessaggio(attesa, MSG_GEOMETRIA_PANORAMICA_NON_FINITA, corta.PosDistAng0 - 1);
    EXPECT_EQ(corta.CalcolaTraiettoriaPanoramica(), 0);
    EXPECT_EQ(corta.GetErrorString(), attesa);
    // Any other reconstruction type gives the three graphs and nothing more.
    CTraiettoria zero = Panoramica(-50, 50, 1, 0, g, 40, 70);
    EXPECT_EQ(zero.CalcolaTraiettoriaPanoramica(), 1);
    EXPECT_EQ(zero.GraficoTuning.GetSize(), zero.CurvaDenti.ArrayCurvaDenti.GetSize());
    EXPECT_TRUE(zero.GraficoRotaz.IsEmpty());
    // k and the window beyond the curve are clamped into it: the centre becomes the last point.
    for (const int tipo : {1, 2}) {
        CTraiettoria fuori = Panoramica(-50, 50, 1, tipo, g, tipo == 1 ? 0 : 40, tipo == 1 ? 0 : 70);
        fuori.PosDistAng0 = INT_MAX, fuori.PosRProjCostDx = INT_MAX, fuori.PosRProjCostSx = INT_MAX;
        ASSERT_EQ(fuori.CalcolaTraiettoriaPanoramica(), 1) << fuori.GetErrorString().c_str();
        const ArrayPunti2D& p = fuori.CurvaDenti.ArrayCurvaDenti;
        const int n = p.GetSize();
        EXPECT_EQ(fuori.GraficoRotaz[n - 1], Theta(p[n - 2], p[n - 1]));
        EXPECT_EQ(fuori.GraficoDistors[n - 1], 0.0);
    }
}

// Random realistic exams, both types, one or two axes, mirrored or walked twice, checked against the
// geometry itself: every beam runs from its centre through its point, crosses the previous beam at the
// projection radius, and the one-axis centre keeps the magnification.
TEST(Panoramica, GeometriaSuEsamiCasuali)
{
    std::mt19937_64 g(3);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int caso = 0; caso < 160; ++caso) {
        const int tipo = 1 + caso % 2, dueAssi = caso / 2 % 2;
        const double sx = -(35 + 20 * u(g)), dx = u(g) < 0.6 ? -sx : 35 + 20 * u(g);
        CTraiettoria t = Panoramica(sx, dx, 0.5 + 1.5 * u(g), tipo, g, tipo == 1 ? -0.3 : 30, tipo == 1 ? 0.3 : 80);
        t.Is2Assi = dueAssi;
        t.TraietSimmetrica = dx == -sx && u(g) < 0.7;
        t.Ingrandimento = static_cast<float>(1.15 + 0.2 * u(g));
        ASSERT_EQ(t.CalcolaTraiettoriaPanoramica(), 1) << caso << " " << t.GetErrorString().c_str();
        const ArrayPunti2D& p = t.CurvaDenti.ArrayCurvaDenti;
        const int n = p.GetSize(), k = t.PosDistAng0;
        const CLimitiEParametri& m = t.LimitiEParametri;
        const double rp = (m.CentroMonoblocco + m.CentSensPan) / static_cast<double>(t.Ingrandimento) - m.CentroMonoblocco;
        EXPECT_EQ(t.GraficoRotaz[k], Theta(p[k - 1], p[k + 1])) << caso;
        EXPECT_EQ(t.GraficoDistors[k], 0.0) << caso;
        const int verso = n / 2 < k ? -1 : 1;
        for (int i = 0; i < n; ++i) {
            const CPunto2DKorvane c = t.PosCMR[i], ui = U(t.GraficoRotaz[i]);
            for (const double v : {t.GraficoRotaz[i], t.GraficoRPrCos[i], t.GraficoDerivata[i], t.VelCMR[i].X,
                                   t.VelCMR[i].Y, t.AccCMR[i].X, t.AccCMR[i].Y})
                ASSERT_TRUE(std::isfinite(v)) << caso << " " << i;
            // The beam runs from the centre, inside the arch, through the point.
            ASSERT_NEAR(Croce(p[i] - c, ui), 0.0, 1e-9) << caso << " " << i;
            ASSERT_GE(Scalare(p[i] - c, ui), 0.0) << caso << " " << i;
            ASSERT_LT(std::fabs(t.GraficoDistors[i]), 90.0) << caso << " " << i;
            if (dueAssi)
                ASSERT_EQ(c.X, 0.0) << caso << " " << i;
            else
                ASSERT_NEAR((p[i] - c).Lunghezza(), rp, 1e-9) << caso << " " << i;
            if ((t.TraietSimmetrica && (i - k) * verso < 0) || (i == k && tipo == 2))
                continue;
            const int j = i == k ? k + (t.TraietSimmetrica ? verso : -verso) : i - (i > k) + (i < k), s = 2 * k - i;
            if (t.TraietSimmetrica && i != k && s >= 0 && s < n) {
                ASSERT_EQ(t.GraficoRotaz[s], 180.0 - t.GraficoRotaz[i]) << caso << " " << i;
                ASSERT_TRUE(t.PosCMR[s] == CPunto2DKorvane(-c.X, c.Y)) << caso << " " << i;
            }
            // The crossing of beams i and j from the two lines alone, at the projection radius from P_i.
            const CPunto2DKorvane uj = U(t.GraficoRotaz[j]);
            const CPunto2DKorvane x = p[i] + ui * (Croce(p[j] - p[i], uj) / Croce(ui, uj));
            const double rho = t.GraficoRProiez[i];
            ASSERT_NEAR(Scalare(p[i] - x, ui), rho, 1e-6 * (1 + std::fabs(rho))) << caso << " " << i;
            const double dD = i == k ? 0.0 : (p[i].X - p[j].X) * t.GraficoDerivata[i];
            ASSERT_NEAR(t.GraficoDistors[i] - (i == k ? 0.0 : t.GraficoDistors[j]), dD, 1e-9) << caso << " " << i;
        }
    }
}

// The example exam: a symmetric geometry of about 200 degrees whose every target lies in the machine's ranges.
TEST(Panoramica, EsameDiEsempio)
{
    CTraiettoria t = EsamePanoramicoAdulto(MacchinaEsempio());
    ASSERT_EQ(t.CalcolaTraiettoriaPanoramica(), 1) << t.GetErrorString().c_str();
    const int n = t.GraficoRotaz.GetSize();
    const CLimitiEParametri& m = t.LimitiEParametri;
    EXPECT_NEAR(t.GraficoRotaz[0] - t.GraficoRotaz[n - 1], 205, 10);
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(m.AsseR.PosMin <= t.GraficoRotaz[i] - 180 && t.GraficoRotaz[i] - 180 <= m.AsseR.PosMax) << i;
        EXPECT_TRUE(m.AsseX.PosMin <= t.PosCMR[i].X && t.PosCMR[i].X <= m.AsseX.PosMax) << i;
        EXPECT_TRUE(m.AsseY.PosMin <= t.PosCMR[i].Y && t.PosCMR[i].Y <= m.AsseY.PosMax) << i;
        EXPECT_TRUE(t.GraficoKV[i] > 60 && t.GraficoKV[i] < 90 && std::fabs(t.GraficoShift[i] - 1) < 1e-12) << i;
    }
}
