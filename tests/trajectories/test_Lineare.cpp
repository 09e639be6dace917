#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/Numerico.h"
#include "examples/EsameLineare.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"

namespace {
CString Messaggio(int id, int indice = 0)
{
    CString m;
    CaricaMessaggio(m, id, indice);
    return m;
}
// How far the start beam (through the start rotation centre, shifted by -D along it) misses the nearer segment end.
double ScartoDaUnEstremo(const CTraiettoria& t, double D)
{
    const double r = GradiARadianti(t.PuntoIniziale.dPosR), a = GradiARadianti(t.InclRettadeg);
    const CPunto2DKorvane b(std::cos(r), std::sin(r)), Q(t.PuntoIniziale.dPosX, t.PuntoIniziale.dPosY);
    const CPunto2DKorvane C(t.XCentroRettamm, t.YCentroRettamm), h(std::cos(a) * t.LunghezzaRettamm / 2, std::sin(a) * t.LunghezzaRettamm / 2);
    double scarto = 1e9;
    for (const CPunto2DKorvane& e : {C + h, C - h}) {
        const CPunto2DKorvane w = Q - b * D - e;
        // With no D given the beam's direction is free: the distance of the end from the beam's line.
        scarto = std::min(scarto, std::isnan(D) ? std::fabs((e - Q).X * b.Y - (e - Q).Y * b.X) : w.Lunghezza());
    }
    return scarto;
}
}  // namespace

TEST(Lineare, GeometriaEPuntiDelSegmento)
{
    // A 10 mm segment at Y 40; Dcm 500, Dcs 100: M 1.5 gives D = -100 and R decreasing, M 1.0 gives D = 100
    // and R increasing. Along Y the beams turn through 180 degrees.
    const struct {
        double M, rMin, rMax, D, incl;
    } geometrie[] = {{1.5, -200, 200, -100, 0}, {1.0, -200, 200, 100, 0}, {1.5, 100, 500, -100, 0},
                     {1.5, -400, 90, -100, 0},  {1.5, -200, 200, -100, 90}};
    for (const auto& g : geometrie) {
        CTraiettoria t(MacchinaEsempio());
        t.LimitiEParametri.CentroMonoblocco = 500, t.LimitiEParametri.CentSensPan = 100;
        t.LimitiEParametri.AsseR.PosMin = g.rMin, t.LimitiEParametri.AsseR.PosMax = g.rMax;
        t.XCentroRettamm = 0, t.YCentroRettamm = 40, t.InclRettadeg = static_cast<float>(g.incl);
        t.LunghezzaRettamm = 10, t.InvSensore = 0, t.IngrandimentoLin = static_cast<float>(g.M);
        ASSERT_EQ(t.CalcolaTraiettoriaLineare(nullptr), 1) << g.M;
        EXPECT_EQ(DecodificaParola(t.ArrayPassi[0].iR) > 0, g.D > 0) << g.M;
        EXPECT_LT(ScartoDaUnEstremo(t, g.D), 1e-9) << g.M;
        // The first angle (94.8 degrees) is moved by a whole turn into the R range when it lies outside.
        EXPECT_TRUE(t.PuntoIniziale.dPosR >= g.rMin && t.PuntoIniziale.dPosR <= g.rMax) << t.PuntoIniziale.dPosR;
    }
    // A projection radius shorter than the spacing makes the first ray miss point m + 1: 6 of 11 points
    // for 10 mm (spacing 1) and 9 mm (spacing 0.9), 2 of 3 below 2 mm; 0.95 still reaches a 0.9 spacing.
    const struct {
        float L, rp;
        int dueAssi, punto;
    } raggi[] = {{10, 0.95f, 0, 6}, {9, 0.85f, 0, 6}, {9, 0.95f, 0, -1}, {1.5f, 0.5f, 0, 2}, {10, 0.5f, 1, 6}};
    for (const auto& r : raggi) {
        CTraiettoria t(MacchinaEsempio());
        t.XCentroRettamm = 0, t.YCentroRettamm = 40, t.InclRettadeg = 0;
        t.LunghezzaRettamm = r.L, t.RProiezionemm = r.rp, t.Is2Assi = r.dueAssi;
        EXPECT_EQ(t.CalcolaTraiettoriaLineare(nullptr), r.punto < 0 ? 1 : 0) << r.L;
        EXPECT_TRUE(r.punto < 0 || (t.StringaErrore == Messaggio(MSG_LINEARE_CERCHIO_MANCATO, r.punto) && t.ArrayPassi.IsEmpty()))
            << r.L;
    }
}

TEST(Lineare, DatiImpossibiliRifiutati)
{
    const double nan = std::nan("");
    const struct {
        double L, rp, M, T;
        int dueAssi, messaggio;
    } casi[] = {
        {0, 60, 1.5, 3.2, 0, MSG_LINEARE_SEGMENTO},    {nan, 60, 1.5, 3.2, 0, MSG_LINEARE_SEGMENTO},
        {-10, 60, 1.5, 3.2, 0, MSG_LINEARE_SEGMENTO},  {2e4, 60, 1.5, 3.2, 0, MSG_LINEARE_SEGMENTO},
        {50, 0, 1.5, 3.2, 1, MSG_LINEARE_PROIEZIONE},  {50, 60, 0, 3.2, 0, MSG_LINEARE_PROIEZIONE},
        {50, 60, nan, 3.2, 0, MSG_LINEARE_PROIEZIONE}, {50, 60, 1.5, 0, 0, MSG_DISCRETIZZAZIONE_TEMPO},
        {50, 60, 1.5, nan, 1, MSG_DISCRETIZZAZIONE_TEMPO},
        // The example segment seen from X = 0 turns the arm back and forth.
        {50, 60, 1.5, 3.2, 1, 107},
    };
    for (const auto& c : casi) {
        CTraiettoria t = EsameLineare(MacchinaEsempio());
        t.TipoCurva = 4;
        t.ArrayPassi.Add(PASSO_TRAIETTORIA());
        t.LunghezzaRettamm = static_cast<float>(c.L), t.RProiezionemm = static_cast<float>(c.rp);
        t.IngrandimentoLin = static_cast<float>(c.M), t.TempoScansionesLin = static_cast<float>(c.T), t.Is2Assi = c.dueAssi;
        EXPECT_EQ(t.CalcolaTraiettoriaLineare(nullptr), 0) << c.messaggio;
        EXPECT_TRUE(t.TipoCurva == 0 && t.ArrayPassi.IsEmpty()) << c.messaggio;
        EXPECT_EQ(t.StringaErrore, Messaggio(c.messaggio)) << c.messaggio;
    }
    // Out of the machine's reach: computed, and the first limit it passes is named.
    CTraiettoria lontano = EsameLineare(MacchinaEsempio());
    lontano.XCentroRettamm = 1000;
    EXPECT_EQ(lontano.CalcolaTraiettoriaLineare(nullptr), 1);
    EXPECT_EQ(lontano.StringaErrore.rfind(L"X is over the maximum", 0), 0u) << lontano.StringaErrore;
}

TEST(Lineare, ScansioniCasualiIntegranoAlPuntoFinale)
{
    std::mt19937_64 g(4);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int k = 0; k < 300; ++k) {
        CTraiettoria t(MacchinaEsempio());
        const CLimitiEParametri& m = t.LimitiEParametri;
        t.Is2Assi = k % 2, t.InvSensore = (k / 2) % 2, t.InvRotazione = (k / 4) % 2, t.InvScaricamento = (k / 8) % 2;
        t.LunghezzaRettamm = static_cast<float>(10 + 50 * u(g)), t.RProiezionemm = static_cast<float>(40 + 60 * u(g));
        t.Disortogonalitdeg = static_cast<float>(-3 + 6 * u(g)), t.TempoScansionesLin = static_cast<float>(2 + 4 * u(g));
        // Segments behind the bite, on either side along Y for the two-axis variant.
        const double lato = (k / 16) % 2 ? 1.0 : -1.0;
        t.XCentroRettamm = static_cast<float>(t.Is2Assi ? lato * (40 + 15 * u(g)) : 38 + 20 * u(g));
        t.YCentroRettamm = static_cast<float>(t.Is2Assi ? -40 + 30 * u(g) : -46 + 20 * u(g));
        t.InclRettadeg = static_cast<float>(t.Is2Assi ? 80 + 20 * u(g) : -3 + 40 * u(g));
        t.IngrandimentoLin = static_cast<float>(1.2 + 0.5 * u(g));
        double stat[RIEPILOGO_VALORI];
        ASSERT_EQ(t.CalcolaTraiettoriaLineare(stat), 1) << k << " " << StringaAUtf8(t.StringaErrore);
        ASSERT_EQ(t.TipoCurva, 4);
        const PUNTO_TRAIETTORIA &p0 = t.PuntoIniziale, &p1 = t.PuntoFinale;
        const double D = (m.CentroMonoblocco + m.CentSensPan) / t.IngrandimentoLin - m.CentroMonoblocco;
        EXPECT_LT(ScartoDaUnEstremo(t, t.Is2Assi ? std::nan("") : D), 1e-6) << k;
        EXPECT_TRUE(!t.Is2Assi || p0.dPosX == 0) << k;
        for (int i = 0; i < t.ArrayPassi.GetSize(); ++i)
            ASSERT_EQ(t.ArrayPassi[i].iR, t.ArrayPassi[0].iR) << k;
        auto quanto = [&m](const PARAMETRI_ASSE& a) { return a.StepSPerLSB / a.StepPerUnita * m.PassoTemporale; };
        EXPECT_NEAR(p0.dPosX + Percorso(t, &PASSO_TRAIETTORIA::iX, m.AsseX), p1.dPosX, quanto(m.AsseX)) << k;
        EXPECT_NEAR(p0.dPosY + Percorso(t, &PASSO_TRAIETTORIA::iY, m.AsseY), p1.dPosY, quanto(m.AsseY)) << k;
        double somma = p1.dPosR + p1.dVelX + p1.dVelY + t.IngrandimentoMinimo + t.IngrandimentoMassimo;
        for (double v : stat)
            somma += v;
        ASSERT_TRUE(std::isfinite(somma)) << k;
    }
}

TEST(Lineare, EsempioSpecchioVersoEUrto)
{
    CString err;
    ASSERT_EQ(CSezione::UsaTestonaDiDefault(err), 1);
    CLimitiEParametri file;
    ASSERT_EQ(file.LeggiDaFile(CString(L"" KORVANE_SOURCE_DIR "/examples/MachinesParameters.ini"), 0), 1);
    CTraiettoria esempio = EsameLineare(file);
    esempio.TipoCurva = 4;
    esempio.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
    EXPECT_EQ(esempio.TipoCurva, 4);
    EXPECT_EQ(esempio.ArrayPassi.GetSize(), 160);
    EXPECT_EQ(esempio.StringaErrore, L"");

    // A segment along X has no useful centre on X = 0: the centre point borrows its neighbour's, with no
    // jump, and keeps its own angle, so a segment and its mirror image start mirrored.
    auto dueAssi = [](double x, int invSensore, int invScaricamento, int invRotazione = 1) {
        CTraiettoria t(MacchinaEsempio());
        t.Is2Assi = 1, t.InvRotazione = invRotazione, t.InclRettadeg = 0, t.LunghezzaRettamm = 16;
        t.XCentroRettamm = static_cast<float>(x), t.YCentroRettamm = 40, t.InvSensore = invSensore;
        t.InvScaricamento = invScaricamento, t.InvScaricamentoLin = 1;
        EXPECT_EQ(t.CalcolaTraiettoriaLineare(nullptr), 1) << x;
        return t;
    };
    const CTraiettoria frontale = dueAssi(0, 1, 0);
    EXPECT_EQ(frontale.StringaErrore, L"");
    // Centres beyond the segment, the borrowed angle from below it: turned by 180 degrees, not refused.
    EXPECT_EQ(dueAssi(0, 1, 0, 0).TipoCurva, 4);
    for (double x : {20.0, 30.0}) {
        const CTraiettoria a = dueAssi(-x, 0, 0), b = dueAssi(x, 1, 0);
        EXPECT_EQ(a.PuntoIniziale.dPosR, -b.PuntoIniziale.dPosR) << x;
        EXPECT_EQ(a.PuntoIniziale.dPosY, b.PuntoIniziale.dPosY) << x;
    }
    // The panoramic InvScaricamento reverses a two-axis scan; the linear block's own member does not.
    EXPECT_GT(DecodificaParola(frontale.ArrayPassi[0].iR), 0);
    EXPECT_LT(DecodificaParola(dueAssi(0, 1, 1).ArrayPassi[0].iR), 0);

    // A head that covers the whole machine: the scan stands, with the collision message.
    ArrayPunti2D testa;
    for (const CPunto2DKorvane& p : {CPunto2DKorvane(-3000, -3000), CPunto2DKorvane(3000, -3000), CPunto2DKorvane(0, 3000)})
        testa.Add(p);
    ASSERT_EQ(CSezione::SetArrayTestona(&testa, err), 1);
    esempio.StringaErrore.clear();
    EXPECT_EQ(esempio.CalcolaTraiettoriaLineare(nullptr), 1);
    EXPECT_EQ(esempio.TipoCurva, 4);
    EXPECT_EQ(esempio.StringaErrore, Messaggio(178));
    CSezione::UsaTestonaDiDefault(err);
}
