#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "core/Numerico.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "trajectories/Traiettoria.h"

namespace {

// Synthetic input: each imaged point 100 mm from its rotation centre, the beam towards the centre (or away).
struct Ingresso {
    CTraiettoria t;
    ArrayPunti2D punti, cmr;
    ArrayDouble angoli, kv, shift;
    float T = 4, ingr = 1.25f;
    int verso = 1;
    Ingresso(const CLimitiEParametri& m, const std::vector<double>& a, std::vector<double> x, std::vector<double> y = {}, double lato = 1)
        : t(m)
    {
        x.resize(a.size()), y.resize(a.size());
        for (size_t i = 0; i < a.size(); ++i) {
            const double r = GradiARadianti(a[i]);
            angoli.Add(a[i]), kv.Add(80), cmr.Add(CPunto2DKorvane(x[i], y[i]));
            punti.Add(CPunto2DKorvane(x[i] - lato * 100 * std::cos(r), y[i] - lato * 100 * std::sin(r)));
        }
    }
    int Esegui(bool fisso, double* riep = nullptr)
    {
        const ParametriDiscretizzazione p{&t, &T, fisso ? &ingr : nullptr, &verso, nullptr, &punti, &angoli, &kv, &shift, &cmr};
        return t.DiscretizzaPerRotazione(&p, riep);
    }
    // The same lists as the panoramic geometry leaves them.
    int EseguiPanoramica()
    {
        for (int i = 0; i < angoli.GetSize(); ++i)
            t.GraficoRotaz.Add(angoli[i] + 180.0);
        t.CurvaDenti.ArrayCurvaDenti = punti, t.PosCMR = cmr, t.GraficoKV = kv, t.GraficoShift = shift;
        t.TempoScansiones = T, t.Ingrandimento = ingr, t.InvScaricamento = !verso;
        return t.DiscretizzaTraiettoriaPanoramica(nullptr);
    }
};

}  // namespace

TEST(Discretizzatore, CasiLimite)
{
    // Unit words on X and Y, 100 arm words per deg/s, half-second steps: every number below is exact.
    CLimitiEParametri m = MacchinaEsempio();
    m.AsseX.StepPerUnita = m.AsseX.StepSPerLSB = m.AsseY.StepPerUnita = m.AsseY.StepSPerLSB = m.AsseR.StepSPerLSB = 1;
    m.AsseR.StepPerUnita = 100, m.AsseR.PosMin = -1000, m.AsseR.PosMax = 1000, m.PassoTemporale = 0.5, m.AsseC.MaxVel = 1e9;
    ASSERT_TRUE(TestaDiDefaultPronta());
    // Angles, centres' X, scan time, direction, a change; the outcome, the steps, the message and its index, and
    // the first step's words.
    const struct { std::vector<double> a, x; float T; int verso; std::function<void(Ingresso&)> cambia;
        int risultato, passi, messaggio, indice, iR = 0, iX = 0, iKV = 0, imA = 0; bool panoramica = false; } casi[] = {
        // The sensor stays clear of the head with the arm near 0 degrees, and crosses the chin near 90.
        {{-30, 30}, {}, 4, 1, nullptr, 1, 7, 0, 0, 1500, 0, 80, 100, true},
        {{60, 120}, {}, 4, 1, nullptr, 1, 7, 178, 0, 1500, 0, 80, 100, true},
        {{0, 8}, {0, -2}, 4, 1, nullptr, 1, 7, 0, 0, 200, 32769, 80, 100},             // X at -0.5 LSB
        {{0, 8}, {}, 4, 1, [](Ingresso& e) { e.kv[0] = e.kv[1] = 120; }, 1, 7, 0, 0, 200, 0, 100, 100},
        {{0, 8}, {}, 4, 1, [](Ingresso& e) { e.kv[0] = e.kv[1] = -3; }, 1, 7, 0, 0, 200, 0, 0, 0},
        {{0, 4, 8, 12}, {0, 0, 500, 500}, 6, 1, nullptr, 1, 11, 109, 2, 200, 0, 80, 100},  // the first of many
        {{}, {}, 4, 1, nullptr, 0, 1, 0, 0}, {{3, 3}, {}, 4, 1, nullptr, 0, 0, 0, 0},
        {{0, 5, 4, 8}, {}, 4, 1, nullptr, 0, 0, 107, 0}, {{0, 8}, {}, 0, 1, nullptr, 0, 0, MSG_DISCRETIZZAZIONE_TEMPO, 0},
        {{0, NAN, 8}, {}, 4, 1, nullptr, 0, 0, MSG_DISCRETIZZAZIONE_NON_FINITA, 1},
        {{0, 4, 8}, {0, 0, INFINITY}, 4, 1, nullptr, 0, 0, MSG_DISCRETIZZAZIONE_NON_FINITA, 2},
        {{0, 4, 8}, {0, 500, 500}, 4, 1, [](Ingresso& e) { e.ingr = INFINITY; }, 0, 0, MSG_DISCRETIZZAZIONE_NON_FINITA, 1},
        {{0, 8}, {}, 1e9, 1, nullptr, 0, 0, MSG_DISCRETIZZAZIONE_TROPPO_LUNGA, 0},  // arm word 0
        {{0, 8}, {}, 4, 1, [](Ingresso& e) { e.kv.RemoveAt(1); }, 0, 0, MSG_DISCRETIZZAZIONE_KV, 0},
        {{0, 8}, {}, 4, 1, [](Ingresso& e) { e.kv.Add(1), e.shift.Add(1), e.shift.Add(1), e.shift.Add(1); }, 1, 7, 0, 0, 200, 0, 80, 100},
        {{0, 8}, {}, 4, 1, [](Ingresso& e) { e.shift.Add(1); }, 0, 0, MSG_DISCRETIZZAZIONE_LISTE, 0},
    };
    for (const auto& c : casi) {
        Ingresso e(m, c.a, c.x);
        e.T = c.T, e.verso = c.verso, c.cambia ? c.cambia(e) : void();
        e.t.ArrayPassi.Add(PASSO_TRAIETTORIA());
        CString atteso;
        CaricaMessaggio(atteso, c.messaggio, c.indice);
        EXPECT_EQ(c.panoramica ? e.EseguiPanoramica() : e.Esegui(true), c.risultato) << c.a.size() << " " << c.T << " " << c.messaggio;
        EXPECT_EQ(e.t.TipoCurva, c.panoramica && c.risultato ? CTraiettoria::CURVA_PANORAMICA : 0);
        ASSERT_EQ(e.t.ArrayPassi.GetSize(), c.passi) << c.a.size() << " " << c.T << " " << c.messaggio;
        EXPECT_EQ(e.t.StringaErrore, atteso);
        const PASSO_TRAIETTORIA s = c.risultato ? e.t.ArrayPassi[0] : PASSO_TRAIETTORIA();
        EXPECT_TRUE(c.risultato == 0 || (s.iR == c.iR && s.iX == c.iX && s.iKV == c.iKV && s.imA == c.imA && e.t.PuntoIniziale.iKV == c.iKV)) << c.iR;
    }
}

TEST(Discretizzatore, LeParoleIntegrateSeguonoIlModello)
{
    std::mt19937_64 g(10);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int caso = 0; caso < 300; ++caso) {
        CLimitiEParametri m = MacchinaEsempio();
        m.DimPixelPano = 0.05 + 1.5 * u(g);  // large pixels: many steps complete none
        // As fine as an arch curve at a 1 mm chord, some neighbours at equal angles, either end first.
        const int n = 100 + static_cast<int>(g() % 151);
        const double f = 0.5 + 1.5 * u(g), ampiezza = 100 + 120 * u(g), a0 = -100 + 50 * u(g), shift2 = 0.5 + 2 * u(g);
        std::vector<double> a(n), x(n), y(n), w(n);
        for (int i = 1; i < n; ++i)
            w[i] = w[i - 1] + (i > 1 && i < n - 1 && u(g) < 0.05 ? 0.0 : 0.2 + u(g));
        for (int i = 0; i < n; ++i)
            a[i] = a0 + w[i] / w[n - 1] * ampiezza, x[i] = 15 * std::sin(f * a[i] / 30), y[i] = 10 * std::cos(f * a[i] / 30);
        if (g() % 2)
            std::reverse(a.begin(), a.end()), std::reverse(x.begin(), x.end()), std::reverse(y.begin(), y.end());
        Ingresso e(m, a, x, y, g() % 2 ? 1 : -1);
        const bool conShift = g() % 3 != 0;
        for (int i = 0; i < n; ++i)
            e.kv[i] = 60 + 30 * u(g), conShift ? (void)e.shift.Add(i < n / 2 ? 1.0 : shift2) : void();
        const double verso = g() % 2 ? 1 : -1, fisso = g() % 2;
        e.T = static_cast<float>(8 + 10 * u(g)), e.verso = verso > 0;
        double riep[RIEPILOGO_VALORI];
        ASSERT_EQ(e.Esegui(fisso, riep), 1) << caso << " " << StringaAUtf8(e.t.StringaErrore);

        // The model, written plainly: a value at an angle comes from the segment of the list holding that angle.
        auto lungo = [&](double R, const std::function<double(int)>& v) {
            for (int k = 0; k + 1 < n; ++k)
                if (a[k] != a[k + 1] && (R - a[k]) * (R - a[k + 1]) <= 0)
                    return v(k) + (v(k + 1) - v(k)) * ((R - a[k]) / (a[k + 1] - a[k]));
            return std::nan("");
        };
        auto px = [&](int k) { return e.punti[k].X; };
        auto py = [&](int k) { return e.punti[k].Y; };
        auto sh = [&](int k) { return e.shift.IsEmpty() ? 1.0 : e.shift[k]; };
        const double dt = m.PassoTemporale, dR = std::fabs(a[n - 1] - a[0]), K = m.CentroMonoblocco + m.CentSensPan;
        const double wR = std::trunc(verso * dR / e.T * m.AsseR.StepPerUnita / m.AsseR.StepSPerLSB + 0.5);
        const double omega = wR / m.AsseR.StepPerUnita * m.AsseR.StepSPerLSB, q = m.AsseX.StepSPerLSB / m.AsseX.StepPerUnita * dt;
        const int passi = static_cast<int>(std::ceil(dR / (std::fabs(omega) * dt))) - 1;
        ASSERT_EQ(e.t.ArrayPassi.GetSize(), passi) << caso;
        const double R0 = verso > 0 ? std::min(a[0], a[n - 1]) : std::max(a[0], a[n - 1]);
        double X = lungo(R0, [&](int k) { return x[k]; }), Y = lungo(R0, [&](int k) { return y[k]; });
        double pax = lungo(R0, px), pay = lungo(R0, py), Rp = R0, Mmin = 100, Mmax = -100, c = 0;
        std::vector<double> pixel(1, 0.0);
        for (int i = 0; i < passi; ++i) {
            const PASSO_TRAIETTORIA& s = e.t.ArrayPassi[i];
            ASSERT_EQ(s.iR, ParolaInSegnoModulo(static_cast<std::int32_t>(wR)));
            const double R = R0 + (i + 1) * omega * dt, Xp = X, Yp = Y;
            X += VelocitaDaMemorizzata(s.iX, m.AsseX.StepPerUnita, m.AsseX.StepSPerLSB) * dt;
            Y += VelocitaDaMemorizzata(s.iY, m.AsseY.StepPerUnita, m.AsseY.StepSPerLSB) * dt;
            ASSERT_NEAR(X, lungo(R, [&](int k) { return x[k]; }), q) << caso << " " << i;
            ASSERT_NEAR(Y, lungo(R, [&](int k) { return y[k]; }), q) << caso << " " << i;
            // The realized beam crosses the line from the last crossing through the target point.
            const double ex = lungo(R, px) - pax, ey = lungo(R, py) - pay, bx = std::cos(GradiARadianti(R)), by = std::sin(GradiARadianti(R));
            const double k = ((X - pax) * by - (Y - pay) * bx) / (ex * by - ey * bx), nx = pax + k * ex, ny = pay + k * ey;
            const double sg = bx * (nx - X) + by * (ny - Y) > 0 ? 1 : -1, dcm = m.CentroMonoblocco;
            const double M = fisso ? e.ingr : (K / (dcm - sg * std::hypot(nx - X, ny - Y)) + K / (dcm - sg * std::hypot(pax - Xp, pay - Yp))) / 2;
            Mmin = std::min(Mmin, M), Mmax = std::max(Mmax, M);
            const double S = verso * (lungo(Rp, sh) + lungo(R, sh)) / 2, mezzo = GradiARadianti((R + Rp) / 2) - std::atan2(nx - pax, pay - ny);
            const double r = std::fabs(std::hypot(nx - pax, ny - pay) * M * std::fabs(std::cos(mezzo)) / m.DimPixelPano / S);
            ASSERT_EQ(s.iC, std::trunc(r * m.DimPixelPano / dt * m.AsseC.StepPerUnita / m.AsseC.StepSPerLSB + 0.5)) << caso << " " << i;
            // Each pixel gets the shift of every step in proportion to the part of the pixel that step covered.
            for (double da = c; da < c + r; da = std::floor(da) + 1) {
                pixel.resize(static_cast<size_t>(da) + 2, 0.0);
                pixel[static_cast<size_t>(da)] += S * (std::min(c + r, std::floor(da) + 1) - da);
            }
            c += r, pax = nx, pay = ny, Rp = R;
        }
        ASSERT_EQ(e.t.ArrayShift.GetSize(), static_cast<int>(c)) << caso;
        for (int p = 0; p < e.t.ArrayShift.GetSize(); ++p)
            ASSERT_NEAR(e.t.ArrayShift[p], pixel[p], 1e-9) << caso << " " << p;
        EXPECT_TRUE(std::fabs(e.t.PuntoFinale.dPosX - X) < 1e-9 && std::fabs(e.t.PuntoFinale.dPosR - Rp) < 1e-9) << caso;
        EXPECT_TRUE(riep[RIEPILOGO_OMEGA] == std::fabs(omega) && std::fabs(riep[RIEPILOGO_R_MAX] - riep[RIEPILOGO_R_MIN] - std::fabs(Rp - R0)) < 1e-9);
        EXPECT_TRUE(fisso || (std::fabs(e.t.IngrandimentoMinimo - Mmin) < 1e-9 && std::fabs(e.t.IngrandimentoMassimo - Mmax) < 1e-9)) << caso;
    }
}
