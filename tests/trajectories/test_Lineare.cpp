#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numeric>
#include <random>

#include "core/Numerico.h"
#include "examples/EsameCefalometrico.h"
#include "examples/EsameLineare.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"

// Distance from the nearer segment end to the start centre moved by -D along the start beam; with D NaN,
// to the start beam's line.
static double ScartoDaUnEstremo(const CTraiettoria& t, double D)
{
    const double r = GradiARadianti(t.PuntoIniziale.dPosR), a = GradiARadianti(t.InclRettadeg), h = t.LunghezzaRettamm / 2;
    const CPunto2DKorvane b(std::cos(r), std::sin(r)), Q(t.PuntoIniziale.dPosX, t.PuntoIniziale.dPosY);
    double scarto = 1e9;
    for (double l : {-h, h}) {
        const CPunto2DKorvane e = CPunto2DKorvane(t.XCentroRettamm + l * std::cos(a), t.YCentroRettamm + l * std::sin(a)) - Q;
        scarto = std::min(scarto, std::isnan(D) ? std::fabs(e.X * b.Y - e.Y * b.X) : (e + b * D).Lunghezza());
    }
    return scarto;
}

// Each kind refuses what it cannot build with the message that says why, and leaves no steps and no kind.
TEST(Lineare, RifiutiConUnMessaggioAncheCefalometrici)
{
    using Tr = CTraiettoria;
    const struct { int tipo; std::function<void(Tr&)> cambia; int messaggio, punto; } casi[] = {
        // The linear example is 50 mm seen at M 1.5 with a 60 mm projection radius, in 3.2 s. A radius
        // below the spacing makes the first ray miss point m + 1: 6 of 11 points for 10 mm (spacing 1)
        // and 9 mm (0.9), 2 of 3 below 2 mm. The example seen from X = 0 is not monotone.
        {4, [](Tr& t) { t.LunghezzaRettamm = 10, t.RProiezionemm = .95f; }, MSG_LINEARE_CERCHIO_MANCATO, 6},
        {4, [](Tr& t) { t.LunghezzaRettamm = 9, t.RProiezionemm = .85f; }, MSG_LINEARE_CERCHIO_MANCATO, 6},
        {4, [](Tr& t) { t.LunghezzaRettamm = 1.5f, t.RProiezionemm = .5f; }, MSG_LINEARE_CERCHIO_MANCATO, 2},
        {4, [](Tr& t) { t.LunghezzaRettamm = 10, t.RProiezionemm = .5f, t.Is2Assi = 1; },
         MSG_LINEARE_CERCHIO_MANCATO, 6},
        {4, [](Tr& t) { t.LunghezzaRettamm = 0; }, MSG_LINEARE_SEGMENTO, 0},
        {4, [](Tr& t) { t.LunghezzaRettamm = 2e4; }, MSG_LINEARE_SEGMENTO, 0},
        {4, [](Tr& t) { t.RProiezionemm = 0, t.Is2Assi = 1; }, MSG_LINEARE_PROIEZIONE, 0},
        {4, [](Tr& t) { t.IngrandimentoLin = NAN; }, MSG_LINEARE_PROIEZIONE, 0},
        {4, [](Tr& t) { t.TempoScansionesLin = NAN, t.Is2Assi = 1; }, MSG_DISCRETIZZAZIONE_TEMPO, 0},
        {4, [](Tr& t) { t.Is2Assi = 1; }, 107, 0},
        // The cephalometric example is 5 s, SID 1514, travel 10 to 200, dt 0.02, a right H line at 90 degrees.
        {6, [](Tr& t) { t.TempoScansionesCef = 0; }, MSG_CEFALOMETRICA_PARAMETRI, 0},
        {6, [](Tr& t) { t.TempoScansionesCef = 0.005f, t.SpostamentoPiumm = 11; }, MSG_CEFALOMETRICA_PARAMETRI, 0},
        {6, [](Tr& t) { t.DistanzaSIDmm = NAN; }, MSG_CEFALOMETRICA_PARAMETRI, 0},
        {6, [](Tr& t) { t.SpostamentoPiumm = 10; }, MSG_CEFALOMETRICA_PARAMETRI, 0},
        {6, [](Tr& t) { t.LimitiEParametri.PassoTemporale = 0; }, MSG_CEFALOMETRICA_MACCHINA, 0},
        {6, [](Tr& t) { t.SpostamentoPiumm = 10.001f; }, MSG_CEFALOMETRICA_BRACCIO_FERMO, 0},
        {6, [](Tr& t) { t.TempoScansionesCef = 5000, t.LimitiEParametri.PassoTemporale = 0.01; },
         MSG_CEFALOMETRICA_TROPPO_LUNGA, 0},
        {6, [](Tr& t) { t.TempoScansionesCef = 0.04f; }, MSG_PAROLA_FUORI_CAMPO, 0},
        // An H line along X: its cotangent is infinite, and in two axes the first beam runs along X = 0.
        {6, [](Tr& t) { t.LimitiEParametri.InclinazHDx = 0; }, MSG_FASCIO_PARALLELO_LINEA_H, 0},
        {6, [](Tr& t) { t.LimitiEParametri.InclinazHDx = 0, t.SpostamentoMenomm = 0, t.Is2Assi = 1; },
         MSG_FASCIO_PARALLELO_X0, 0},
        // An H line turned to -90 degrees points S0 at 180 degrees: a travel across 0 wraps the sweep.
        {6, [](Tr& t) { t.LimitiEParametri.InclinazHDx = -90, t.SpostamentoMenomm = -150; },
         MSG_CEFALOMETRICA_SPAZZATA_AVVOLTA, 0},
    };
    for (const auto& c : casi) {
        Tr t = c.tipo == 4 ? EsameLineare(MacchinaEsempio()) : EsameCefalometrico(MacchinaEsempio());
        t.TipoCurva = c.tipo;
        t.ArrayPassi.Add(PASSO_TRAIETTORIA());
        c.cambia(t);
        CString atteso;
        CaricaMessaggio(atteso, c.messaggio, c.punto);
        EXPECT_EQ(c.tipo == 4 ? t.CalcolaTraiettoriaLineare(nullptr) : t.CalcolaTraiettoriaCefalometrica(nullptr), 0);
        EXPECT_TRUE(t.TipoCurva == 0 && t.ArrayPassi.IsEmpty() && t.StringaErrore == atteso) << c.messaggio;
    }
}

// Random scans start at one end of the segment, seen along the first beam; how their words integrate is
// the discretiser's own test.
TEST(Lineare, ScansioniCasualiPartonoDaUnEstremo)
{
    std::mt19937_64 g(4);
    auto u = [&g](double da, double a) { return static_cast<float>(std::uniform_real_distribution<double>(da, a)(g)); };
    for (int k = 0; k < 300; ++k) {
        CTraiettoria t(MacchinaEsempio());
        const CLimitiEParametri& m = t.LimitiEParametri;
        t.Is2Assi = k % 2, t.InvSensore = (k / 2) % 2, t.InvRotazione = (k / 4) % 2, t.InvScaricamentoLin = (k / 8) % 2;
        t.LunghezzaRettamm = u(10, 60), t.RProiezionemm = u(40, 100), t.Disortogonalitdeg = u(-3, 3);
        t.TempoScansionesLin = u(2, 6), t.IngrandimentoLin = u(1.2, 1.7);
        // Segments behind the bite; for the two-axis variant along Y on either side.
        const float lato = (k / 16) % 2 ? 1.0f : -1.0f;
        t.XCentroRettamm = t.Is2Assi ? lato * u(40, 55) : u(38, 58);
        t.YCentroRettamm = t.Is2Assi ? u(-40, -10) : u(-46, -26);
        t.InclRettadeg = t.Is2Assi ? u(80, 100) : u(-3, 37);
        double stat[RIEPILOGO_VALORI];
        ASSERT_EQ(t.CalcolaTraiettoriaLineare(stat), 1) << k << " " << StringaAUtf8(t.StringaErrore);
        const PUNTO_TRAIETTORIA &p0 = t.PuntoIniziale, &p1 = t.PuntoFinale;
        // The general variant runs R up exactly when the rotation centre lies beyond the point (D >= 0).
        const double D = (m.CentroMonoblocco + m.CentSensPan) / t.IngrandimentoLin - m.CentroMonoblocco;
        EXPECT_TRUE(t.Is2Assi ? p0.dPosX == 0 : (DecodificaParola(t.ArrayPassi[0].iR) > 0) == (D >= 0)) << k;
        EXPECT_LT(ScartoDaUnEstremo(t, t.Is2Assi ? std::nan("") : D), 1e-6) << k;
        ASSERT_TRUE(std::isfinite(std::accumulate(stat, stat + RIEPILOGO_VALORI, p1.dPosR + t.IngrandimentoMassimo))) << k;
    }
}

TEST(Lineare, CasiNotiEsempioEDueAssi)
{
    // A 10 mm segment at Y 40, Dcm 500, Dcs 100: M 1.5 gives D = -100, M 1.0 gives D = 100. A first angle (94.8)
    // outside R's range moves by a turn; along Y (90 degrees) the beams cross 180.
    const struct { double M, rMin, rMax, D, incl; } geometrie[] = {
        {1.5, -200, 200, -100, 0}, {1.0, -200, 200, 100, 0}, {1.5, 100, 500, -100, 0}, {1.5, -400, 90, -100, 0},
        {1.5, -200, 200, -100, 90}};
    for (const auto& c : geometrie) {
        CTraiettoria t(MacchinaEsempio());
        CLimitiEParametri& m = t.LimitiEParametri;
        m.CentroMonoblocco = 500, m.CentSensPan = 100, m.AsseR.PosMin = c.rMin, m.AsseR.PosMax = c.rMax;
        t.XCentroRettamm = 0, t.YCentroRettamm = 40, t.InclRettadeg = static_cast<float>(c.incl), t.LunghezzaRettamm = 10;
        t.InvSensore = 0, t.IngrandimentoLin = static_cast<float>(c.M);
        ASSERT_EQ(t.CalcolaTraiettoriaLineare(nullptr), 1) << c.M;
        const double r0 = t.PuntoIniziale.dPosR;
        EXPECT_TRUE(ScartoDaUnEstremo(t, c.D) < 1e-9 && r0 >= c.rMin && r0 <= c.rMax) << c.M << " " << r0;
    }
    ASSERT_TRUE(TestaDiDefaultPronta());
    CTraiettoria esempio = EsameLineare(MacchinaEsempio());
    esempio.TipoCurva = 4;
    esempio.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
    EXPECT_TRUE(esempio.TipoCurva == 4 && esempio.ArrayPassi.GetSize() == 160 && esempio.StringaErrore.empty());
    auto dueAssi = [](float x, int invSensore, int invScaricamento, int invRotazione = 1) {
        CTraiettoria t(MacchinaEsempio());
        t.Is2Assi = 1, t.InvRotazione = invRotazione, t.InclRettadeg = 0, t.LunghezzaRettamm = 16, t.YCentroRettamm = 40;
        t.XCentroRettamm = x, t.InvSensore = invSensore, t.InvScaricamentoLin = invScaricamento, t.InvScaricamento = 1;
        EXPECT_EQ(t.CalcolaTraiettoriaLineare(nullptr), 1) << x;
        return t;
    };
    // A segment along X has no useful centre on X = 0: the centre point borrows its neighbour's (no jump) and
    // keeps its own angle, so mirror images start mirrored. With the centres beyond the segment the borrowed
    // angle is turned by 180 degrees rather than refused.
    const CTraiettoria frontale = dueAssi(0, 1, 0), sinistra = dueAssi(-20, 0, 0), destra = dueAssi(20, 1, 0);
    EXPECT_EQ(frontale.StringaErrore, L"");
    EXPECT_TRUE(sinistra.PuntoIniziale.dPosR == -destra.PuntoIniziale.dPosR && sinistra.PuntoIniziale.dPosY == destra.PuntoIniziale.dPosY);
    dueAssi(0, 1, 0, 0);
    // The linear block's own InvScaricamentoLin reverses a two-axis scan (the panoramic member, set, does not), so
    // a reversed scan comes back from its file as it was.
    const CTraiettoria inversa = dueAssi(0, 1, 1);
    EXPECT_TRUE(DecodificaParola(frontale.ArrayPassi[0].iR) > 0 && DecodificaParola(inversa.ArrayPassi[0].iR) < 0);
    FILE* f = std::tmpfile();
    ASSERT_EQ(CTraiettoria(inversa).SalvaFileTRG(f, L"", 1), 1);
    std::rewind(f);
    CTraiettoria letta(MacchinaEsempio());
    EXPECT_EQ(letta.CaricaFileTRG(f, L""), 1);
    std::fclose(f);
    ASSERT_TRUE(letta.TipoCurva == 4 && letta.ArrayPassi.GetSize() == inversa.ArrayPassi.GetSize());
    for (int i = 0; i < letta.ArrayPassi.GetSize(); ++i)
        ASSERT_TRUE(letta.ArrayPassi[i] == inversa.ArrayPassi[i]) << i;
}
