#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <random>
#include <thread>

#include "core/Integrazione.h"
#include "examples/EsamePanoramico.h"
#include "resources/Messaggi.h"
#include "support/Impronta.h"
#include "support/MacchinaEsempio.h"
#include "trajectories/GraficoTuning.h"
#include "trajectories/Traiettoria.h"

namespace {
using P2 = CPunto2DKorvane;
std::vector<double> Grafico(const std::vector<P2>& punti, int n, float s = 3, int offset = 0)
{
    ArrayPunti2D a;
    for (const P2& p : punti)
        a.Add(p);
    const CArray<double>& g = CalcolaGraficoDaPuntiTuning(&a, n, s, offset);
    return {g.GetData(), g.GetData() + g.GetSize()};
}
P2 U(double gradi) { return {std::cos(gradi * 3.141592653589793 / 180), std::sin(gradi * 3.141592653589793 / 180)}; }
double Croce(const P2& a, const P2& b) { return a.X * b.Y - a.Y * b.X; }
double Theta(const P2& a, const P2& b) { return std::atan2(b.X - a.X, a.Y - b.Y) * 57.29577951308232; }
// The example machine's arch from sx to dx, the centre on the midline, tuning values symmetric about it.
CTraiettoria Panoramica(double sx, double dx, double passo, int tipo, std::mt19937_64& g, double v0, double v1)
{
    std::uniform_real_distribution<double> u(0.0, 1.0);
    CTraiettoria t(MacchinaEsempio());
    t.CurvaDenti.XFinaleSxmm = static_cast<float>(sx), t.CurvaDenti.XFinaleDxmm = static_cast<float>(dx);
    t.CurvaDenti.PassoPuntimm = static_cast<float>(passo);
    t.CurvaDenti.CalcolaCurva(t.StringaErrore);
    const ArrayPunti2D& p = t.CurvaDenti.ArrayCurvaDenti;
    for (int i = 0; i < p.GetSize(); ++i)
        t.PosDistAng0 = p[i].X == 0.0 ? i : t.PosDistAng0;
    for (int x = 0, k = t.PosDistAng0; x < p.GetSize() - k; x += 5 + static_cast<int>(15 * u(g))) {
        const double v = v0 + (v1 - v0) * u(g);
        t.PuntiTuning.InsertAt(0, P2(k - x, v), x > 0);
        t.PuntiTuning.Add(P2(k + x, v));
    }
    t.TipoRicostruzione = tipo;
    t.PosRProjCostDx = t.PosRProjCostSx = static_cast<int>((15 + 30 * u(g)) / passo);
    return t;
}
}  // namespace

// Graphs and curves come back from what a thread remembers of its earlier ones; a new thread
// remembers nothing, so what it works out alone is the reference. Each set shares most segments with the
// one before it (one point moved, as in a drag), and a point moved and moved back comes last.
TEST(GraficoTuning, RicordatiComeCalcolati)
{
    std::mt19937_64 g(8081);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<std::vector<P2>> insiemi;
    std::vector<P2> punti;
    for (int x = 0; x < 200; x += 7 + static_cast<int>(20 * u(g)))
        punti.push_back({static_cast<double>(x), 50 + 40 * u(g)});
    for (int k = 0; k < 60; ++k) {
        insiemi.push_back(punti);
        punti[static_cast<size_t>(k) % punti.size()].Y += k % 3 == 0 ? 0.5 : -0.25 * u(g);
    }
    insiemi.push_back(insiemi[5]);
    std::vector<std::vector<double>> qui, altrove;
    std::vector<std::vector<double>> curveQui, curveAltrove;
    auto calcola = [&](std::vector<std::vector<double>>& grafici, std::vector<std::vector<double>>& curve, size_t k) {
        grafici.push_back(Grafico(insiemi[k], 220, 1.0f + static_cast<float>(k / 20)));
        // Each parameter in turn moved a little, and every other curve the default one.
        CCurvaDenti c(MacchinaEsempio());
        double* reali[] = {&c.A0Denti,     &c.A2Denti,     &c.A4Denti,     &c.A6Denti,
                           &c.A0Mandibola, &c.A2Mandibola, &c.A4Mandibola, &c.A6Mandibola,
                           &c.LimitiEParametri.PosMorso};
        float* corti[] = {&c.XFineDentimm, &c.RRaccordo1mm, &c.PendenzaRettadeg, &c.RRaccordo2mm,
                          &c.XFinaleSxmm,  &c.XFinaleDxmm,  &c.PassoPuntimm};
        const size_t quale = k / 2 % (std::size(reali) + std::size(corti));
        if (k % 2 == 0 && quale < std::size(reali))
            *reali[quale] = *reali[quale] != 0 ? *reali[quale] * 1.01 : 0.01;
        else if (k % 2 == 0)
            *corti[quale - std::size(reali)] *= 1.01f;
        CString err;
        c.CalcolaCurva(err);
        curve.emplace_back();
        for (const P2& q : c.ArrayCurvaDenti)
            curve.back().insert(curve.back().end(), {q.X, q.Y});
    };
    for (int giro = 0; giro < 2; ++giro)  // the second round from memory
        for (size_t k = 0; k < insiemi.size(); ++k)
            calcola(qui, curveQui, k);
    for (size_t k = 0; k < insiemi.size(); ++k)
        std::thread([&] { calcola(altrove, curveAltrove, k); }).join();
    for (size_t k = 0; k < qui.size(); ++k) {
        EXPECT_EQ(qui[k], altrove[k % altrove.size()]) << k;
        EXPECT_EQ(curveQui[k], curveAltrove[k % curveAltrove.size()]) << k;
    }
}

TEST(GraficoTuning, CasiNotiEIngressiCattivi)
{
    using V = std::vector<double>;
    const std::vector<P2> scala = {{0, 1}, {1, 2}, {2, 3}, {3, 4}};
    EXPECT_EQ(Grafico(scala, 4, 3, 2), (V{1, 1, 1, 2}));
    EXPECT_EQ(Grafico(scala, 4, 3, -1), (V{2, 3, 4, 4}));
    EXPECT_EQ(Grafico(scala, 4, 3, INT_MIN), (V{4, 4, 4, 4}));
    EXPECT_EQ(Grafico(scala, 6), (V{1, 2, 3, 4, 4, 4}));
    EXPECT_EQ(Grafico({{3, 7}, {4, 8}}, 6), (V{7, 7, 7, 7, 8, 8}));  // T[0] at index 3 is not repeated
    // Two points have no inner handle: any sensitivity, zero included, gives the straight line, then b held.
    for (const float s : {0.0f, -1.0f, 3.0f, NAN}) {
        const V v = Grafico({{0, 2}, {10, 7}}, 14, s);
        ASSERT_EQ(v.size(), 14u) << s;
        for (size_t j = 0; j < v.size(); ++j)
            EXPECT_NEAR(v[j], j <= 10 ? 2 + 0.5 * static_cast<double>(j) : 7, 1e-3) << s << " " << j;
    }
    // One point, a non-finite or absurd value, three points with a zero sensitivity: an empty graph. x going
    // back: that segment gives nothing and the graph keeps its length. The shared result is refilled by each call.
    const CArray<double>& primo = CalcolaGraficoDaPuntiTuning(nullptr, 10, 3, 0);
    for (const auto& [punti, n, s, attesi] : std::vector<std::tuple<std::vector<P2>, int, float, size_t>>{
             {{{0, 5}}, 10, 3, 0}, {{{0, std::nan("")}, {5, 1}}, 10, 3, 0}, {{{0, 1}, {INFINITY, 1}}, 10, 3, 0},
             {{{0, 1}, {2e6, 1}}, 10, 3, 0}, {{{0, 1}, {5, 2}, {9, 1}}, 10, 0, 0}, {{{0, 1}, {5, 1}}, 2000000, 3, 0},
             {{{10, 1}, {0, 2}}, 20, 3, 20}, {{{0, 1}, {10, 2}, {3, 3}, {30, 4}}, 40, 0.3f, 40}}) {
        EXPECT_EQ(Grafico(punti, n, s).size(), attesi);
        EXPECT_EQ(primo.GetSize(), static_cast<int>(attesi));
    }
}

// Many increasing tuning points: every sample lies on an independently evaluated Bezier segment (each
// sample is within 1e-4 of one index past the last, so x drifts by about 1e-3 along a segment).
TEST(GraficoTuning, SeguonoLeCurveDiBezier)
{
    std::mt19937_64 g(5);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const auto b = [](double t, double a, double b, double c, double d) {
        return a * (1 - t) * (1 - t) * (1 - t) + 3 * t * (1 - t) * (b * (1 - t) + c * t) + d * t * t * t;
    };
    for (int caso = 0; caso < 200; ++caso) {
        std::vector<P2> t;
        for (double x = std::floor(10 * u(g)); x < 250; x += std::floor(6 + 7 * u(g)))
            t.emplace_back(x, 20 + 60 * u(g));
        const float s = static_cast<float>(2 + 2 * u(g));
        const std::vector<double> v = Grafico(t, 250, s);
        ASSERT_EQ(v.size(), 250u);
        const double h = static_cast<double>((1.0f / s) / 3.0f);
        for (size_t i = 0; i + 1 < t.size(); ++i) {
            const P2 a = t[i], d = t[i + 1];
            const P2 b1 = i == 0 ? a : a + (d - t[i - 1]) * h, b2 = i + 2 == t.size() ? d : d - (t[i + 2] - a) * h;
            for (int j = static_cast<int>(a.X) + 1; j <= d.X; ++j) {
                double lo = 0, hi = 1;
                for (int k = 0; k < 60; ++k)
                    (b((lo + hi) / 2, a.X, b1.X, b2.X, d.X) < j ? lo : hi) = (lo + hi) / 2;
                ASSERT_NEAR(v[j], b(lo, a.Y, b1.Y, b2.Y, d.Y), 0.05) << caso << " " << i << " " << j;
            }
        }
    }
}

TEST(Panoramica, IngressiCheNonDannoUnaGeometria)
{
    std::mt19937_64 g(1);
    CTraiettoria base = Panoramica(-50, 50, 1, 2, g, 40, 70), corta = Panoramica(-50, 50, 1, 2, g, 0.1, 0.1);
    CString nonFinita;  // a radius below the chord: the circle misses the previous beam next to the centre
    CaricaMessaggio(nonFinita, MSG_GEOMETRIA_PANORAMICA_NON_FINITA, base.PosDistAng0 - 1);
    ASSERT_EQ(base.CalcolaTraiettoriaPanoramica(), 1);
    base.ArrayPassi.Add(PASSO_TRAIETTORIA());  // the steps of an earlier discretisation
    // The angles, the centres and the step count.
    const auto risultati = [](const CTraiettoria& t) {
        std::vector<double> v(t.GraficoRotaz.GetData(), t.GraficoRotaz.GetData() + t.GraficoRotaz.GetSize());
        for (const P2& c : t.PosCMR)
            v.push_back(c.X), v.push_back(c.Y);
        v.push_back(t.ArrayPassi.GetSize());
        return v;
    };
    // No arch or no tuning graph (one point): nothing to compute, the earlier results stand. A one-point
    // arch has no tangent; no crossing; any other type computes the graphs and nothing more.
    const struct { std::function<void(CTraiettoria&)> cambia; CString errore; bool invariata; } casi[] = {
        {[](CTraiettoria& t) { t.CurvaDenti.ArrayCurvaDenti.RemoveAll(); }, L"", true},
        {[](CTraiettoria& t) { t.PuntiTuning.SetSize(1); }, L"", true},
        {[](CTraiettoria& t) { t.CurvaDenti.ArrayCurvaDenti.SetSize(1); }, TestoMessaggio(MSG_CURVA_PANORAMICA_CORTA),
         false},
        {[&corta](CTraiettoria& t) { t = corta; }, nonFinita, false},
        {[](CTraiettoria& t) { t.TipoRicostruzione = 0; }, L"", true}};
    for (const auto& c : casi) {
        CTraiettoria t = base;
        c.cambia(t);
        EXPECT_EQ(t.CalcolaTraiettoriaPanoramica(), c.errore.empty()) << StringaAUtf8(c.errore);
        EXPECT_EQ(t.GetErrorString(), c.errore);
        EXPECT_EQ(risultati(t) == risultati(base), c.invariata) << StringaAUtf8(c.errore);
        EXPECT_TRUE(c.invariata || (t.GraficoRotaz.IsEmpty() && t.ArrayPassi.IsEmpty()));
    }
    // Two axes, the centre off the midline: its rotation centre is where its own beam meets x = 0.
    base.Is2Assi = 1, base.PosDistAng0 += 5;
    ASSERT_EQ(base.CalcolaTraiettoriaPanoramica(), 1);
    const P2 pk = base.CurvaDenti.ArrayCurvaDenti[base.PosDistAng0], ck = base.PosCMR[base.PosDistAng0];
    EXPECT_TRUE(ck.X == 0.0 && ck.Y < pk.Y && std::fabs(Croce(pk - ck, U(base.GraficoRotaz[base.PosDistAng0]))) < 1e-9);
    // k and the window beyond the curve are clamped into it: the centre becomes the last point.
    base.PosDistAng0 = base.PosRProjCostDx = base.PosRProjCostSx = INT_MAX;
    ASSERT_EQ(base.CalcolaTraiettoriaPanoramica(), 1);
    const ArrayPunti2D& p = base.CurvaDenti.ArrayCurvaDenti;
    EXPECT_EQ(base.GraficoRotaz[p.GetSize() - 1], Theta(p[p.GetSize() - 2], p[p.GetSize() - 1]));
}

// Random realistic exams, both types, one or two axes, mirrored or walked both ways, every eighth one
// degenerate, through the whole chain (curve, graphs, geometry, steps, head check). The geometry is
// checked against itself: each beam runs from its centre, inside the arch, through its point and
// crosses the previous beam at the projection radius; the one-axis centre keeps the magnification.
// Integrated independently, the steps keep X and Y within one quantum of the targets interpolated at
// the angle reached; the discretiser's own rules (R at one word among them) have their own tests.
TEST(Panoramica, GeometriaECatenaSuEsamiCasuali)
{
    ASSERT_TRUE(TestaDiDefaultPronta());
    std::mt19937_64 g(3);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    int calcolati = 0;
    for (int caso = 0; caso < 160; ++caso) {
        const int tipo = 1 + caso % 2, dueAssi = caso / 2 % 2, degenere = caso % 8 == 7;
        const double sx = -(35 + 20 * u(g)), dx = u(g) < 0.6 ? -sx : 35 + 20 * u(g);
        const double centro = tipo == 2 && !degenere ? 55 : 0, v = degenere ? 5 : tipo == 1 ? 0.3 : 25;
        CTraiettoria t = Panoramica(sx, dx, 0.5 + 1.5 * u(g), tipo, g, centro - v, centro + v);
        const ArrayPunti2D& p = t.CurvaDenti.ArrayCurvaDenti;
        const int n = p.GetSize(), k = t.PosDistAng0, verso = 2 * k >= n ? -1 : 1;  // pass 1: to the farther end
        t.PuntiTuningKV.Add(P2(0, 60 + 30 * u(g))), t.PuntiTuningKV.Add(P2(n - 1, 60 + 30 * u(g)));
        if (u(g) < 0.5)
            t.PuntiTuningShift.Add(P2(0, 0.8 + 0.4 * u(g))), t.PuntiTuningShift.Add(P2(n - 1, 1));
        if (degenere && u(g) < 0.5)
            t.PuntiTuning[static_cast<int>(g() % static_cast<unsigned>(t.PuntiTuning.GetSize()))].Y = std::nan("");
        t.Is2Assi = dueAssi, t.InvScaricamento = u(g) < 0.5, t.TraietSimmetrica = dx == -sx && u(g) < 0.7;
        t.Ingrandimento = static_cast<float>(1.15 + 0.2 * u(g)), t.TempoScansiones = static_cast<float>(8 + 10 * u(g));
        t.TipoCurva = CTraiettoria::CURVA_PANORAMICA;
        t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_PAN);
        if (t.TipoCurva != CTraiettoria::CURVA_PANORAMICA) {
            ASSERT_TRUE(t.ArrayPassi.IsEmpty() && (degenere || !t.GetErrorString().empty())) << caso;
            continue;
        }
        ++calcolati;
        const CLimitiEParametri& m = t.LimitiEParametri;
        const double rp = (m.CentroMonoblocco + m.CentSensPan) / t.Ingrandimento - m.CentroMonoblocco;
        EXPECT_EQ(t.GraficoRotaz[k], Theta(p[k - 1], p[k + 1])) << caso;
        for (int i = 0; i < n; ++i) {
            const P2 c = t.PosCMR[i], ui = U(t.GraficoRotaz[i]);
            for (const double v : {t.GraficoRPrCos[i], t.VelCMR[i].X, t.VelCMR[i].Y, t.AccCMR[i].X, t.AccCMR[i].Y})
                ASSERT_TRUE(std::isfinite(v)) << caso << " " << i;
            ASSERT_NEAR(Croce(p[i] - c, ui), 0.0, 1e-9) << caso << " " << i;
            ASSERT_GE((p[i] - c).X * ui.X + (p[i] - c).Y * ui.Y, 0.0) << caso << " " << i;
            ASSERT_NEAR(dueAssi ? c.X : (p[i] - c).Lunghezza(), dueAssi ? 0.0 : rp, 1e-9) << caso << " " << i;
            if ((t.TraietSimmetrica && (i - k) * verso < 0) || (i == k && tipo == 2))
                continue;
            const int j = i == k ? k + (t.TraietSimmetrica ? verso : -verso) : i - (i > k) + (i < k), s = 2 * k - i;
            if (t.TraietSimmetrica && i != k && s >= 0 && s < n) {
                ASSERT_EQ(t.GraficoRotaz[s], 180.0 - t.GraficoRotaz[i]) << caso << " " << i;
                ASSERT_TRUE(t.PosCMR[s] == P2(-c.X, c.Y) && t.GraficoDistors[s] == -t.GraficoDistors[i]) << caso << " " << i;
            }
            // The crossing of beams i and j from the two lines alone.
            const P2 uj = U(t.GraficoRotaz[j]), x = p[i] + ui * (Croce(p[j] - p[i], uj) / Croce(ui, uj));
            const double rho = t.GraficoRProiez[i], dD = i == k ? 0.0 : (p[i].X - p[j].X) * t.GraficoDerivata[i];
            ASSERT_NEAR((p[i] - x).X * ui.X + (p[i] - x).Y * ui.Y, rho, 1e-6 * (1 + std::fabs(rho))) << caso << " " << i;
            ASSERT_NEAR(t.GraficoDistors[i] - (i == k ? 0.0 : t.GraficoDistors[j]), dD, 1e-9) << caso << " " << i;
        }
        auto bersaglio = [&](double R, double CPunto2DKorvane::*asse) {
            for (int i = 0; i + 1 < n; ++i)
                if (const double a = t.GraficoRotaz[i] - 180, b = t.GraficoRotaz[i + 1] - 180; a != b && (R - a) * (R - b) <= 0)
                    return t.PosCMR[i].*asse + (t.PosCMR[i + 1].*asse - t.PosCMR[i].*asse) * ((R - a) / (b - a));
            return std::nan("");
        };
        const double q = m.AsseX.StepSPerLSB / m.AsseX.StepPerUnita * m.PassoTemporale;
        std::vector<PUNTO_TRAIETTORIA> st{t.PuntoIniziale};  // the states the steps integrate to
        for (int i = 0; i < t.ArrayPassi.GetSize(); ++i)
            st.push_back(st.back()), AvanzaDiUnPasso(st.back(), t.ArrayPassi[i], m);
        ASSERT_TRUE(st[0].dVelR != 0 && (st[0].dVelR > 0) == !t.InvScaricamento) << caso;
        for (size_t i = 1; i < st.size(); ++i) {
            ASSERT_NEAR(st[i].dPosX, bersaglio(st[i].dPosR, &CPunto2DKorvane::X), q) << caso << " " << i;
            ASSERT_NEAR(st[i].dPosY, bersaglio(st[i].dPosR, &CPunto2DKorvane::Y), q) << caso << " " << i;
        }
    }
    EXPECT_GT(calcolati, 130);
}

// The adult exam with its right end at 51.8 mm: an even arch whose centre is its middle point n/2, so index 0
// is the farther end. The mirrored walk goes there first and every point gets its beam: the arm turns one way.
TEST(Panoramica, LaPrimaPassataVaAllEstremoPiuLontano)
{
    ASSERT_TRUE(TestaDiDefaultPronta());
    CTraiettoria t = EsamePanoramicoAdulto(MacchinaEsempio());
    t.CurvaDenti.XFinaleDxmm = 51.8f;
    ASSERT_EQ(t.CurvaDenti.CalcolaCurva(t.StringaErrore), 1);
    const ArrayPunti2D& p = t.CurvaDenti.ArrayCurvaDenti;
    ASSERT_TRUE(p.GetSize() % 2 == 0 && t.PosDistAng0 == p.GetSize() / 2 && t.TraietSimmetrica);
    t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_PAN);
    EXPECT_TRUE(t.TipoCurva == CTraiettoria::CURVA_PANORAMICA && !t.ArrayPassi.IsEmpty());
    EXPECT_EQ(t.StringaErrore, L"");
    const CLimitiEParametri& m = t.LimitiEParametri;
    const double rp = (m.CentroMonoblocco + m.CentSensPan) / t.Ingrandimento - m.CentroMonoblocco;
    EXPECT_NEAR((p[0] - t.PosCMR[0]).Lunghezza(), rp, 1e-9);
    EXPECT_NEAR(Croce(p[0] - t.PosCMR[0], U(t.GraficoRotaz[0])), 0.0, 1e-9);
}

// A designer's session on the example exam, one trajectory edited and recomputed throughout, so that
// a result kept from an earlier state would show: every bit of every member after each edit, against
// fingerprints of what the recomputation gave before it was reworked for speed.
TEST(Panoramica, StessiRisultatiDiPrimaLungoUnaSessione)
{
    ASSERT_TRUE(TestaDiDefaultPronta());
    const CTraiettoria esame = EsamePanoramicoAdulto(MacchinaEsempio());
    CTraiettoria t = esame;
    using Modifica = std::function<void(CTraiettoria&)>;
    const struct { Modifica modifica; std::uint64_t attesa; } sessione[] = {
        {[](CTraiettoria&) {}, 0xd04866e2d63dc9ea},
        {[](CTraiettoria& t) { t.PuntiTuning[9].Y += 1.0; }, 0x8b993d8e370ba2a4},
        {[](CTraiettoria& t) { t.PuntiTuning[9].Y += 2.5; }, 0xc96159971c98437b},
        {[](CTraiettoria& t) { t.PuntiTuning[9].X += 1.0; }, 0xffee373baf66283a},
        {[](CTraiettoria& t) { t.PuntiTuningKV[2].Y -= 4.0; }, 0x646d3d52e34e5274},
        {[](CTraiettoria& t) { t.PuntiTuningShift[0].Y = 1.2; }, 0xd7a1e8d6fa3a36d5},
        {[](CTraiettoria& t) { t.SensibilitaSpline = 3.0f; }, 0x72ae80768ed35c7d},
        {[](CTraiettoria& t) { t.OffsetGraficoKV = 2; }, 0x10796d17292c7148},
        {[](CTraiettoria& t) { t.PuntiTuning[9].Y = 1e6; }, 0xadf9834cd8fc3896},
        {[](CTraiettoria& t) { t.PuntiTuning[9].Y = 45.0; }, 0xa3c8e3fc4b8a8510},
        {[](CTraiettoria& t) { t.CurvaDenti.RRaccordo1mm = 18.0f; }, 0x678aba2aab5e44b9},
        {[](CTraiettoria& t) { t.CurvaDenti.ArrayCurvaDenti[5].Y += 0.5; }, 0x678aba2aab5e44b9},
        {[](CTraiettoria& t) { t.CurvaDenti.A2Denti *= 1.01; }, 0xdd45fb229ca146dc},
        {[](CTraiettoria& t) { t.Ingrandimento = 1.3f; }, 0x13e630531c2fda64},
        {[](CTraiettoria& t) { t.Is2Assi = 1; }, 0x5109b2928e350c05},
        {[](CTraiettoria& t) { t.TraietSimmetrica = 0; }, 0x5a10138f7b810604},
        {[](CTraiettoria& t) { t.TipoRicostruzione = 1; }, 0xaca1bded211d76d1},
        {[](CTraiettoria& t) { t.InvScaricamento = 1; }, 0x6bca93895c3fec62},
        {[](CTraiettoria& t) { t.LimitiEParametri.CentSensPan += 2.0; }, 0xd3d13a5d7f3590b7},
        {[](CTraiettoria& t) { t.CurvaDenti.PassoPuntimm = 0.8f; }, 0xaecdcb861e615541},
        {[&esame](CTraiettoria& t) { t = esame; }, 0xd04866e2d63dc9ea},
    };
    int k = 0;
    for (const auto& passo : sessione) {
        passo.modifica(t);
        CString err;
        t.TipoCurva = CTraiettoria::CURVA_PANORAMICA;
        Impronta h;
        h.Intero(t.CurvaDenti.CalcolaCurva(err));
        h.Testo(err);
        t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_PAN);
        h.Testo(t.GetErrorString());
#define KORVANE_IMPRONTA(tipo, nome, predefinito) h.Reale(static_cast<double>(t.nome));
        KORVANE_TRAIETTORIA_PARAMETRI_A(KORVANE_IMPRONTA)
        KORVANE_TRAIETTORIA_PARAMETRI_B(KORVANE_IMPRONTA)
#undef KORVANE_IMPRONTA
#define KORVANE_IMPRONTA(nome) \
    for (const auto& v : t.nome) \
        h.Bytes(&v, sizeof v);
        KORVANE_TRAIETTORIA_ARRAY_DOUBLE(KORVANE_IMPRONTA)
#undef KORVANE_IMPRONTA
#define KORVANE_IMPRONTA(nome) \
    for (const CPunto2DKorvane& v : t.nome) \
        h.Reale(v.X), h.Reale(v.Y);
        KORVANE_TRAIETTORIA_ARRAY_PUNTI(KORVANE_IMPRONTA)
#undef KORVANE_IMPRONTA
        for (const CPunto2DKorvane& v : t.CurvaDenti.ArrayCurvaDenti)
            h.Reale(v.X), h.Reale(v.Y);
        for (const PASSO_TRAIETTORIA& s : t.ArrayPassi)
            for (auto campo : PAROLE_PASSO)
                h.Intero(s.*campo);
        for (const PUNTO_TRAIETTORIA* s : {&t.PuntoIniziale, &t.PuntoFinale}) {
            for (double v : {s->dPosX, s->dPosY, s->dPosR, s->dPosH, s->dVelX, s->dVelY, s->dVelR, s->dVelH})
                h.Reale(v);
            h.Intero(s->iKV), h.Intero(s->imA);
        }
        for (double v : {t.IngrandimentoMinimo, t.IngrandimentoMassimo, static_cast<double>(t.ErroreCalcolo)})
            h.Reale(v);
        EXPECT_EQ(h.Valore(), passo.attesa) << k++ << " passi " << t.ArrayPassi.GetSize() << std::hex << " 0x"
                                            << h.Valore();
    }
}
