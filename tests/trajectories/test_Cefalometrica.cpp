#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <tuple>

#include "examples/EsameCefalometrico.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"

TEST(Cefalometrica, LeParoleIntegranoAlPuntoFinaleSuScansioniCasuali)
{
    std::mt19937_64 g(11);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int n = 0; n < 300; ++n) {
        CTraiettoria t = EsameCefalometrico(MacchinaEsempio());
        CLimitiEParametri& m = t.LimitiEParametri;
        m.PassoTemporale = u(g) < 0.5 ? 0.02 : 0.01;
        // 7.3 s is a scan time a double comparison would run one step too long.
        t.TempoScansionesCef = n == 0 ? 7.3f : static_cast<float>(3 + 7 * u(g));
        t.SpostamentoMenomm = static_cast<float>(5 + 55 * u(g));
        t.SpostamentoPiumm = static_cast<float>(t.SpostamentoMenomm + 50 + 130 * u(g));
        t.DistanzaSIDmm = static_cast<float>(1450 + 150 * u(g));
        t.Is2Assi = n % 2, t.BraccioDestro = (n / 2) % 2, t.IsIngrCostante = (n / 4) % 2;
        double stat[18];
        ASSERT_EQ(t.CalcolaTraiettoriaCefalometrica(stat), 1) << n;
        const double dt = m.PassoTemporale, T = t.TempoScansionesCef;
        EXPECT_NEAR(T / dt, std::round(T / dt), 1e-4) << n;
        ASSERT_EQ(t.ArrayPassi.GetSize(), std::lround(T / dt)) << n;
        for (int i = 0; i < t.ArrayPassi.GetSize(); ++i)
            ASSERT_EQ(t.ArrayPassi[i].iR, t.ArrayPassi[0].iR);
        const PUNTO_TRAIETTORIA &p0 = t.PuntoIniziale, &p1 = t.PuntoFinale;
        auto quanto = [dt](const PARAMETRI_ASSE& a) { return a.StepSPerLSB / a.StepPerUnita * dt; };
        EXPECT_NEAR(p0.dPosX + Percorso(t, &PASSO_TRAIETTORIA::iX, m.AsseX), p1.dPosX, quanto(m.AsseX)) << n;
        EXPECT_NEAR(p0.dPosY + Percorso(t, &PASSO_TRAIETTORIA::iY, m.AsseY), p1.dPosY, quanto(m.AsseY)) << n;
        const double corsaH = Percorso(t, &PASSO_TRAIETTORIA::iH, m.AsseH);
        EXPECT_NEAR(p0.dPosH + corsaH, p1.dPosH, quanto(m.AsseH)) << n;
        EXPECT_NEAR(Percorso(t, &PASSO_TRAIETTORIA::iC, m.AsseC), corsaH, t.ArrayPassi.GetSize() * quanto(m.AsseC)) << n;
        // Within one H quantum, and the rounding of the stored float (under 8e-6 mm below 256 mm).
        EXPECT_NEAR(p1.dPosH - m.PosHOrtho, t.SpostamentoPiumm, quanto(m.AsseH) + 8e-6) << n;
        EXPECT_NEAR(p1.dPosR, p0.dPosR + stat[2] * T, 1e-3) << n;
        const double somma = p1.dPosR + p1.dVelX + p1.dVelY + p1.dVelH + t.IngrandimentoCef;
        ASSERT_TRUE(std::isfinite(std::accumulate(stat, stat + 18, somma))) << n;
    }
}

TEST(Cefalometrica, EsempioSenzaMessaggiRampaDelTuboEIngrandimento)
{
    CLimitiEParametri m;
    ASSERT_EQ(m.LeggiDaFile(CString(L"" KORVANE_SOURCE_DIR "/examples/MachinesParameters.ini"), 0), 1);
    CTraiettoria t = EsameCefalometrico(m);
    t.TipoCurva = 6;
    t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
    ASSERT_TRUE(t.TipoCurva == 6 && t.StringaErrore.empty() && t.ArrayPassi.GetSize() == 250) << t.ArrayPassi.GetSize();
    EXPECT_FLOAT_EQ(t.IngrandimentoCef, 1.11f);
    const int kv[] = {78, 79, 80, 81, 83, 84, 85, 86, 87, 89, 90, 91, 92, 93, 95, 96, 97, 98, 99};
    const int ma[] = {37, 40, 44, 47, 50, 54, 57, 60, 64, 67, 70, 74, 77, 80, 84, 87, 90, 94, 97};
    // The steady kV setting does not change the ramp; without the ramp the tube runs at that setting
    // throughout, or gets nothing.
    for (const auto& [regime, rampa] : {std::pair{100, 1}, {0, 1}, {100, 0}, {0, 0}}) {
        t.KVaRegimeCef = regime, t.CreaRampaSTF = rampa;
        ASSERT_EQ(t.CalcolaTraiettoriaCefalometrica(nullptr), 1);
        for (int i = 0; i < 250; ++i) {
            const PASSO_TRAIETTORIA& s = t.ArrayPassi[i];
            EXPECT_EQ(s.iKV, !rampa ? regime : i < 21 ? 75 : i < 40 ? kv[i - 21] : 100) << i;
            EXPECT_EQ(s.imA, !rampa ? regime : i < 21 ? 30 : i < 40 ? ma[i - 21] : 100) << i;
        }
        EXPECT_EQ(t.PuntoIniziale.iKV * 1000 + t.PuntoIniziale.imA, rampa ? 75030 : regime * 1001);
    }
    // L = 300 mm gives 2.0; the rotation centre then stands far out of the X travel: reported, scan kept.
    t.LimitiEParametri.CentroMonoblocco = 150.0, t.DistanzaSIDmm = 300.0f;
    ASSERT_EQ(t.CalcolaTraiettoriaCefalometrica(nullptr), 1);
    EXPECT_EQ(std::tuple(t.IngrandimentoCef, t.StringaErrore), std::tuple(2.0f, TestoMessaggio(148)));
}
