#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "core/Numerico.h"
#include "platform/CRgn.h"
#include "resources/Messaggi.h"
#include "sections/Sezione.h"
#include "sections/TestaDefault.h"
#include "support/MacchinaEsempio.h"

namespace {

// A section standing still at (x, y) with the arm at `r` degrees for a few steps.
CSezione Ferma(double x, double y, double r, double c, double d, int passi = 3)
{
    CLimitiEParametri m = MacchinaEsempio();
    m.CentroMonoblocco = c, m.CentSensPan = m.CentSens3D = d;
    CSezione s(m);
    s.PuntoIniziale = PuntoProva(x, y, r);
    for (int i = 0; i < passi; ++i)
        s.ArrayPassi.Add(PASSO_TRAIETTORIA());
    return s;
}


}  // namespace

TEST(AntiCollisione, EsempiSulProfiloDiDefault)
{
    ASSERT_TRUE(TestaDiDefaultPronta());
    const struct { double c, d; int modo; int risultato; } casi[] = {
        {50, 300, CSezione::ANTICOLLISIONE_PAN, 0}, {500, 300, CSezione::ANTICOLLISIONE_PAN, 1},
        {500, 300, CSezione::ANTICOLLISIONE_3D, 1}, {500, 100, CSezione::ANTICOLLISIONE_3D, 0},
        {500, 100, 3, 1},  // any other mode puts the sensor at 1000 mm
        {50, 300, CSezione::ANTICOLLISIONE_NESSUNA, 1},
    };
    for (const auto& c : casi) {
        CSezione s = Ferma(0, 0, 90, c.c, c.d);
        CString err;
        EXPECT_EQ(s.ControlloAntiCollisione(err, static_cast<CSezione::TIPO_CONTROLLO_ANTICOLLISIONE>(c.modo)), c.risultato)
            << c.c << " " << c.d << " " << c.modo;
        EXPECT_TRUE(err.empty());
    }
}

TEST(AntiCollisione, IlMotoEntraNellaTesta)
{
    ASSERT_TRUE(TestaDiDefaultPronta());
    // The tube starts at (70, 0), just outside the cheek, and the arm turns it into the face.
    CSezione s = Ferma(0, 0, 0, 70, 300, 1);
    CString err;
    EXPECT_EQ(s.ControlloAntiCollisione(err, CSezione::ANTICOLLISIONE_3D), 1);
    const PARAMETRI_ASSE r = MacchinaEsempio().AsseR;
    PASSO_TRAIETTORIA gira;
    gira.iR = ParolaVelocita(30.0, r.StepPerUnita, r.StepSPerLSB);  // 30 deg/s for 3 s: up to 90 deg
    for (int i = 0; i < 150; ++i)
        s.ArrayPassi.Add(gira);
    EXPECT_EQ(s.ControlloAntiCollisione(err, CSezione::ANTICOLLISIONE_3D), 0);
    // The same turn 300 mm to the side of the head clears it.
    s.PuntoIniziale.dPosX = -300.0;
    EXPECT_EQ(s.ControlloAntiCollisione(err, CSezione::ANTICOLLISIONE_3D), 1);
}

TEST(AntiCollisione, MessaggiEOrdine)
{
    ASSERT_TRUE(TestaDiDefaultPronta());
    CString err;
    CSezione vuota = Ferma(0, 0, 90, 500, 300, 0);
    EXPECT_EQ(vuota.ControlloAntiCollisione(err, CSezione::ANTICOLLISIONE_PAN), 0);
    EXPECT_EQ(err, TestoMessaggio(104));
    CSezione conErrore = Ferma(0, 0, 90, 500, 300);
    conErrore.ErroreCalcolo = 1;
    err.clear();
    EXPECT_EQ(conErrore.ControlloAntiCollisione(err, CSezione::ANTICOLLISIONE_PAN), 1);
    EXPECT_EQ(err, TestoMessaggio(106));
    // A start inside the head fails before any step is looked at, even a step that moves out.
    CSezione dentro = Ferma(0, 0, 0, 10, 10, 0);
    PASSO_TRAIETTORIA via;
    via.iX = 30000;
    dentro.ArrayPassi.Add(via);
    err.clear();
    EXPECT_EQ(dentro.ControlloAntiCollisione(err, CSezione::ANTICOLLISIONE_3D), 0);
    EXPECT_TRUE(err.empty());
}

TEST(AntiCollisione, ProfiliDaPuntiEDaFile)
{
    const std::string dir = CartellaTemporanea("testa");
    const struct { const char* contenuto; int risultato; int punti; int messaggio; } casi[] = {
        {"0,0\n10,0\n0,10\n", 1, 3, 0},
        {"0,0\r\n10,0\r\ngarbage\r\n0,10\r\nnan,3\r\n", 1, 3, 0},
        {"", 0, 0, 105},
        {"0,0\n5,5\n", 0, 2, 105},
    };
    for (const auto& c : casi) {
        std::ofstream(dir + "t.csv", std::ios::binary) << c.contenuto;
        CString err;
        EXPECT_EQ(CSezione::LeggiTestonaDaFile(StringaDaUtf8(dir + "t.csv"), err), c.risultato) << c.contenuto;
        EXPECT_EQ(CSezione::GetProfiloTestaNumPunti(), c.punti) << c.contenuto;
        EXPECT_EQ(err, c.messaggio ? TestoMessaggio(c.messaggio) : L"") << c.contenuto;
    }
    CString err;
    EXPECT_EQ(CSezione::LeggiTestonaDaFile(StringaDaUtf8(dir + "manca.csv"), err), 0);
    EXPECT_EQ(err, TestoMessaggio(103));

    ArrayPunti2D triangolo, due;
    for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {0, 10}})
        triangolo.Add(CPunto2DKorvane(x, y));
    err.clear();
    ASSERT_EQ(CSezione::SetArrayTestona(&triangolo, err), 1);
    EXPECT_EQ(CSezione::GetProfiloTestaRegion()->PtInRegion(2, 2), 1);
    due.Add(CPunto2DKorvane(100, 100));
    due.Add(CPunto2DKorvane(200, 200));
    EXPECT_EQ(CSezione::SetArrayTestona(&due, err), 0);
    EXPECT_EQ(err, TestoMessaggio(105));
    // The points are replaced, the triangle's region stays in force.
    EXPECT_EQ(CSezione::GetProfiloTestaNumPunti(), 2);
    EXPECT_EQ(CSezione::GetProfiloTestaRegion()->PtInRegion(2, 2), 1);
    EXPECT_THROW(CSezione::GetProfiloTestaPunto(2), std::invalid_argument);
}

TEST(AntiCollisione, SenzaProfilo)
{
    ArrayPunti2D niente;
    CString err;
    CSezione::SetArrayTestona(&niente, err);
    err.clear();
    CSezione s = Ferma(0, 0, 90, 500, 300);
    EXPECT_EQ(s.ControlloAntiCollisione(err, CSezione::ANTICOLLISIONE_PAN), 0);
    EXPECT_EQ(err, TestoMessaggio(177));
    // A failed rebuild from 3 points leaves no region behind, never the head before it.
    ASSERT_EQ(CSezione::UsaTestonaDiDefault(err), 1);
    ArrayPunti2D troppoAlta;
    for (const double y : {-2e6, 2e6, 0.0})
        troppoAlta.Add(CPunto2DKorvane(y == 0.0 ? 2 : 1, y));
    EXPECT_EQ(CSezione::SetArrayTestona(&troppoAlta, err), 0);
    err.clear();
    EXPECT_EQ(s.ControlloAntiCollisione(err, CSezione::ANTICOLLISIONE_PAN), 0);
    EXPECT_EQ(err, TestoMessaggio(177));
    CSezione vuota = Ferma(0, 0, 90, 500, 300, 0);
    err.clear();
    EXPECT_EQ(vuota.ControlloAntiCollisione(err, CSezione::ANTICOLLISIONE_NESSUNA), 1);
    EXPECT_TRUE(err.empty());
}

TEST(TestaDefault, TabellaFissaESenzaIncroci)
{
    // Rows of the built-in outline, the extremes of X among them (their Y is not checked).
    const struct { int i; double x, y; } righe[] = {
        {0, -0.79, -176.14},   {1, -1.84, -176.03},  {2, -3.01, -175.91},  {100, -78.5, -101.91}, {131, -95.71, NAN},
        {145, -91.11, -91.11}, {150, -89.45, -85.47}, {200, -72.09, -17.31}, {250, -37.47, 28.78},  {306, -0.97, 78.86},
        {350, 25.13, 40.0},    {400, 64.32, -1.93},  {450, 84.16, -65.9},   {485, 95.76, NAN},     {500, 85.47, -102.17},
        {550, 60.93, -143.22}, {600, 14.07, -174.51}, {612, 0.38, -176.14}};
    for (const auto& r : righe)
        EXPECT_TRUE(TESTA_DEFAULT[2 * r.i] == r.x && (std::isnan(r.y) || TESTA_DEFAULT[2 * r.i + 1] == r.y)) << r.i;
    // No two non-neighbouring edges cross.
    const int n = TESTA_DEFAULT_NUM_PUNTI;
    auto x = [](int i) { return TESTA_DEFAULT[2 * i]; };
    auto y = [](int i) { return TESTA_DEFAULT[2 * i + 1]; };
    auto lato = [&](int a, int b, int c) { return (x(b) - x(a)) * (y(c) - y(a)) - (y(b) - y(a)) * (x(c) - x(a)); };
    for (int i = 0; i < n; ++i)
        for (int j = i + 2; j < n - (i == 0); ++j) {
            const int i1 = i + 1, j1 = (j + 1) % n;
            ASSERT_FALSE(lato(i, i1, j) * lato(i, i1, j1) < 0 && lato(j, j1, i) * lato(j, j1, i1) < 0) << i << " " << j;
        }
}
