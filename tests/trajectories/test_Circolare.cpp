#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "core/Numerico.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"
#include "trajectories/Traiettoria.h"

namespace {

// The scan as its steps are written down, plainly, in double precision and in their order: what the
// library must agree with to the last bit.
struct Modello {
    double T, A, r, xc, yc;
    std::vector<std::array<int, 3>> parole;  // signed X, Y and R words of each step
};

Modello CircolareLetterale(const CLimitiEParametri& m, double T, double r, double A, double phi0, double xc, double yc)
{
    const double dpi = 6.283185307179586, dt = m.PassoTemporale;
    const PARAMETRI_ASSE &X = m.AsseX, &Y = m.AsseY, &R = m.AsseR;
    auto parola = [](double v, const PARAMETRI_ASSE& a) {
        const double q = v * a.StepPerUnita / a.StepSPerLSB;
        return static_cast<int>(std::trunc(q > 0 ? q + 0.5 : q - 0.5));
    };
    for (const PARAMETRI_ASSE* a : {&X, &Y})
        if (r > (a->PosMax - a->PosMin) / 2)
            r = (a->PosMax - a->PosMin) / 2 * 0.999;
    for (auto [c, a] : {std::pair{&xc, &X}, {&yc, &Y}}) {
        if (*c + r > a->PosMax)
            *c = a->PosMax - r;
        if (a->PosMin > *c - r)
            *c = a->PosMin + r;
    }
    if ((A > 0 && A > R.MaxVel * T) || (A < 0 && -R.MaxVel * T > A))
        T = std::fabs(A) / R.MaxVel;
    const double vmax = std::min(X.MaxVel, Y.MaxVel), amax = std::min(X.MaxAcc, Y.MaxAcc);
    const double v = dpi * r / T * A / 360;
    if (v > vmax || v < -vmax)
        T = std::fabs(dpi * r / vmax * A / 360);
    const double w0 = dpi / T * A / 360;
    if (w0 * w0 * r > amax || w0 * w0 * r < -amax)
        T = std::sqrt((dpi * A / 360) * (dpi * A / 360) * (r < 0 ? -r : r) / amax);
    T = std::ceil(T / dt) * dt;
    const int wR = static_cast<int>(std::trunc(A / T * R.StepPerUnita / R.StepSPerLSB + 0.5));
    const double wd = wR / R.StepPerUnita * R.StepSPerLSB;
    A = wd * T;
    const double w = dpi / T * A / 360, f0 = phi0 * dpi / 360;
    const double vx1 = (r * std::cos(w * dt + f0) - r * std::cos(f0)) / dt;
    const double vy1 = (r * std::sin(w * dt + f0) - r * std::sin(f0)) / dt;
    if (vx1 != 0 && vy1 != 0)
        r = r * (parola(vy1, Y) / Y.StepPerUnita * Y.StepSPerLSB) / vy1;
    Modello mod{T, A, r, xc, yc, {}};
    double xr = r * std::cos(f0) + xc, yr = r * std::sin(f0) + yc;
    for (int i = 1, N = static_cast<int>(std::trunc(T / dt)); i <= N; ++i) {
        const int wx = parola((r * std::cos(i * w * dt + f0) + xc - xr) / dt, X);
        const int wy = parola((r * std::sin(i * w * dt + f0) + yc - yr) / dt, Y);
        xr += wx / X.StepPerUnita * X.StepSPerLSB * dt;
        yr += wy / Y.StepPerUnita * Y.StepSPerLSB * dt;
        mod.parole.push_back({wx, wy, wR});
    }
    return mod;
}

CTraiettoria Circolare(const CLimitiEParametri& m, double T, double r, double A, double phi0)
{
    static const bool testa = TestaDiDefaultPronta();
    EXPECT_TRUE(testa);
    CTraiettoria t(m);
    t.TempoScansionesCirc = T;
    t.RCerchioXYmm = r;
    t.AmpiezzaArcodeg = A;
    t.PosInizArcodeg = phi0;
    return t;
}

}  // namespace

TEST(Circolare, LetteraleSuMacchineCasuali)
{
    std::mt19937_64 g(5);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int n = 0; n < 3000; ++n) {
        CLimitiEParametri m = MacchinaEsempio();
        m.AsseX.MaxVel = 20 + 60 * u(g);
        m.AsseY.MaxAcc = 50 + 300 * u(g);
        m.AsseR.MaxVel = 10 + 40 * u(g);
        m.PassoTemporale = u(g) < 0.5 ? 0.02 : 0.01;
        // Half the scan times are whole hundredths, as hosts give them; the first ones sit on whole-step
        // edges, where ceil and trunc on the double as it stands decide one step.
        const double bordi[] = {10.02, std::nextafter(10.0, 11.0), 10.0};
        const double T0 = n < 3 ? bordi[n] : n % 2 ? std::round((2 + 18 * u(g)) * 100) / 100 : 2 + 18 * u(g);
        const double r0 = 90 * u(g), A0 = (u(g) < 0.5 ? -1 : 1) * (30 + 330 * u(g)), phi0 = -180 + 40 * u(g);
        CTraiettoria t = Circolare(m, T0, r0, A0, phi0);
        t.XCentroRotazmm = 60 * u(g) - 30;
        const Modello atteso = CircolareLetterale(m, T0, r0, A0, phi0, t.XCentroRotazmm, 0);
        double stat[9];
        ASSERT_EQ(t.CalcolaTraiettoriaCircolare(stat), 1) << n;
        ASSERT_EQ(t.TipoCurva, 3);
        ASSERT_EQ(std::tuple(t.TempoScansionesCirc, t.AmpiezzaArcodeg, t.RCerchioXYmm, t.XCentroRotazmm, t.YCentroRotazmm),
                  std::tuple(atteso.T, atteso.A, atteso.r, atteso.xc, atteso.yc)) << n;
        ASSERT_EQ(t.ArrayPassi.GetSize(), static_cast<int>(atteso.parole.size())) << n;
        for (int i = 0; i < t.ArrayPassi.GetSize(); ++i) {
            const PASSO_TRAIETTORIA& s = t.ArrayPassi[i];
            const std::array<int, 3> parole = {DecodificaParola(s.iX), DecodificaParola(s.iY), DecodificaParola(s.iR)};
            ASSERT_EQ(parole, atteso.parole[static_cast<size_t>(i)]) << n << " " << i;
            ASSERT_TRUE(s.iC == 1000 && s.iH == 0) << n << " " << i;
        }
        EXPECT_EQ(t.PuntoFinale.dPosR, t.PosInizArcodeg + t.AmpiezzaArcodeg);
    }
}

TEST(Circolare, CorrenteETensione)
{
    const struct { int kv, frontali, laterali; double phi0; int maIniziale; } casi[] = {
        {80, 100, 100, -180, 100}, {0, 100, 40, -180, 0}, {80, 90, 40, -180, 40}, {80, 90, 40, -90, 90}};
    for (const auto& c : casi) {
        CTraiettoria t = Circolare(MacchinaEsempio(), 20, 0, 180, c.phi0);
        t.KVaRegimeCirc = c.kv, t.mAFrontali = c.frontali, t.mALaterali = c.laterali;
        ASSERT_EQ(t.CalcolaTraiettoriaCircolare(nullptr), 1);
        EXPECT_EQ(t.PuntoIniziale.imA, c.maIniziale) << c.phi0;
        for (const PASSO_TRAIETTORIA& s : t.ArrayPassi)
            ASSERT_TRUE(s.iKV == c.kv && (c.kv != 0 || s.imA == 0)) << c.phi0;
    }
}

TEST(Circolare, IngressiCattiviEMessaggi)
{
    const double nan = std::nan("");
    // Not a number, a scan time below one step, no time step, too many steps: refused. Out of the R
    // range, or close enough to the head for the sensor to enter it: reported, the trajectory still built.
    const struct { double T, r, A, dt, phi0; bool vicina; int risultato, messaggio; } casi[] = {
        {nan, 10, 360, 0.02, -180, false, 0, 0}, {-20, 10, 0, 0.02, -180, false, 0, 0},
        {20, 10, 360, 0, -180, false, 0, MSG_PASSO_TEMPORALE_NON_VALIDO}, {1e9, 10, 360, 0.02, -180, false, 0, 0},
        {20, 0, 360, 0.02, 0, false, 1, 153}, {20, 0, 360, 0.02, -180, true, 1, 178}};
    for (const auto& c : casi) {
        CLimitiEParametri m = MacchinaEsempio();
        m.PassoTemporale = c.dt, m.CentSens3D = c.vicina ? 20 : m.CentSens3D;
        CTraiettoria t = Circolare(m, c.T, c.r, c.A, c.phi0);
        const int esito = t.CalcolaTraiettoriaCircolare(nullptr);
        EXPECT_EQ(std::tuple(esito, t.TipoCurva == 0 && t.ArrayPassi.IsEmpty(), t.StringaErrore),
                  std::tuple(c.risultato, c.risultato == 0, c.messaggio ? TestoMessaggio(c.messaggio) : L""));
    }
}

TEST(Traiettoria, ConfrontoERicalcolo)
{
    // Comparison leaves the last message out: it is no setting of the trajectory.
    CTraiettoria a(MacchinaEsempio()), b(&a);
    b.StringaErrore = L"diverso";
    EXPECT_TRUE(a == b);
    b.PuntiTuning.Add(CPunto2DKorvane(1, 1));
    EXPECT_FALSE(a == b);
    a.ArrayShift.Add(5.0), a.ArrayShift.Add(6.0), a.ArrayShift.Add(7.0);
    EXPECT_EQ(Testo([&](FILE* f) { a.ScriviSuFileCSVShift(f); }), "0.000000\n6.000000\n7.000000\n");
    CTraiettoria k(MacchinaEsempio());
    k.TipoCurva = 2;
    k.ArrayPassi.Add(PASSO_TRAIETTORIA());
    k.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_PAN);
    // A panoramic trajectory without an arch curve has nothing to compute: it loses its kind, keeps its
    // steps and says why.
    EXPECT_TRUE(k.TipoCurva == 0 && k.ArrayPassi.GetSize() == 1);
    EXPECT_EQ(k.StringaErrore, TestoMessaggio(MSG_CURVA_PANORAMICA_CORTA));
}
