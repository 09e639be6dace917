#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <tuple>

#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"
#include "trajectories/CurvaDenti.h"

namespace {

CCurvaDenti Curva(float fine, float r1, float pendenza, float r2, float sx, float dx, float passo)
{
    CCurvaDenti c(MacchinaEsempio());
    c.XFineDentimm = fine, c.RRaccordo1mm = r1, c.PendenzaRettadeg = pendenza, c.RRaccordo2mm = r2;
    c.XFinaleSxmm = sx, c.XFinaleDxmm = dx, c.PassoPuntimm = passo;
    return c;
}

}  // namespace

TEST(CurvaDenti, ProprietaSuParametriRealistici)
{
    std::mt19937_64 g(11);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    int calcolate = 0;
    for (int n = 0; n < 120; ++n) {
        const double sx = -(20 + 50 * u(g)), dx = u(g) < 0.5 ? -sx : 20 + 50 * u(g);
        // With the default polynomials a line shallower than about -50 degrees never reaches the mandible.
        CCurvaDenti c = Curva(20 + 10 * u(g), 5 + 35 * u(g), -50 - 25 * u(g), 5 + 35 * u(g), sx, dx, 0.5 + 2.5 * u(g));
        CString err;
        if (!c.CalcolaCurva(err)) {
            EXPECT_EQ(err, TestoMessaggio(184)) << n;
            continue;
        }
        ++calcolate;
        const ArrayPunti2D& p = c.ArrayCurvaDenti;
        const double s = c.GetPassoPuntimm();
        ASSERT_GT(p.GetSize(), 2);
        int zeri = p[0].X == 0.0;
        for (int i = 1; i < p.GetSize(); ++i) {
            ASSERT_GT(p[i].X, p[i - 1].X) << n << " " << i;
            ASSERT_NEAR((p[i] - p[i - 1]).Lunghezza(), s, 1e-5 * s) << n << " " << i;
            zeri += p[i].X == 0.0;
            if (i + 1 < p.GetSize()) {
                // No kink: the direction turns by little more than a chord over the smallest radius.
                const CPunto2DKorvane a = (p[i] - p[i - 1]).Versore(), b = (p[i + 1] - p[i]).Versore();
                ASSERT_LT(std::acos(std::min(1.0, a.X * b.X + a.Y * b.Y)), 3 * s / 5.0 + 0.05) << n << " " << i;
            }
        }
        EXPECT_EQ(zeri, 1) << n;
        // The teeth piece lies on its polynomial, mirrored on the left.
        for (int i = 0; i < p.GetSize(); ++i) {
            const double x = std::fabs(p[i].X), x2 = x * x;
            if (x > c.XFineDentimm)
                continue;
            const double yd = c.A0Denti + c.A2Denti * x2 + c.A4Denti * x2 * x2 + c.A6Denti * x2 * x2 * x2 +
                              c.LimitiEParametri.PosMorso - 7.0;
            ASSERT_NEAR(p[i].Y, yd, 1e-9) << n << " " << i;
        }
        // A symmetric arch is mirrored exactly.
        for (int i = 0, ultimo = p.GetSize() - 1; dx == -sx && i <= ultimo; ++i)
            ASSERT_TRUE(p[i] == CPunto2DKorvane(-p[ultimo - i].X, p[ultimo - i].Y)) << n << " " << i;
    }
    EXPECT_GT(calcolate, 80);
}

TEST(CurvaDenti, ControlliETagli)
{
    // Bad settings; a level line that passes the checks but whose pieces, with these polynomials, do not
    // meet; a line that never reaches the mandible's offset curve (the search is bounded). Each is
    // refused with its message and leaves the old points.
    const struct { double fine, pendenza, r2, sx, dx, passo; int messaggio; } casi[] = {
        {20, 0.5, 20, -50, 50, 1, 161}, {20, -30, 20, 10, 5, 1, 162}, {20, -30, 20, -50, 50, 0, 163},
        {25, 0, 20, -50, 50, 1, 184},   {20, -89, 200, -50, 50, 1, 184}};
    for (const auto& c : casi) {
        CCurvaDenti curva = Curva(c.fine, 20, c.pendenza, c.r2, c.sx, c.dx, c.passo);
        curva.ArrayCurvaDenti.Add(CPunto2DKorvane(1, 2));
        CString err;
        EXPECT_EQ(curva.CalcolaCurva(err), 0);
        EXPECT_TRUE(err == TestoMessaggio(c.messaggio) && curva.ArrayCurvaDenti.GetSize() == 1) << c.messaggio;
    }
    // Both ends at one point, or both left of the midline, still make a curve.
    CString err;
    CCurvaDenti uguali = Curva(25, 20, -60, 20, 10, 10, 1), negativi = Curva(25, 20, -60, 20, -40, -10, 1);
    EXPECT_EQ(uguali.CalcolaCurva(err), 1);
    ASSERT_EQ(negativi.CalcolaCurva(err), 1);
    for (int i = 0; i < negativi.ArrayCurvaDenti.GetSize(); ++i)
        EXPECT_LE(negativi.ArrayCurvaDenti[i].X, -10 + 1e-9);
}

TEST(CurvaDenti, FileCrv)
{
    const std::string dir = CartellaTemporanea("crv");
    CCurvaDenti c = Curva(25, 20, -60, 20, -50, 50, 1);
    CString err;
    ASSERT_EQ(c.CalcolaCurva(err), 1);
    CString nome = StringaDaUtf8(dir + "arco");
    ASSERT_EQ(c.SalvaCurva(&nome), 1);
    // The extension is added when missing; what the file holds is the block tests' round trip.
    const std::string testo = LeggiFile(dir + "arco.crv");
    EXPECT_EQ(testo.substr(0, 18), "[PARAMETRI CURVA]\n");
    CCurvaDenti letta(MacchinaEsempio());
    CString conEstensione = StringaDaUtf8(dir + "arco.crv");
    EXPECT_EQ(letta.CaricaCurva(&conEstensione), 1);
    CString maiuscolo = StringaDaUtf8(dir + "arco.CRV");
    EXPECT_EQ(c.SalvaCurva(&maiuscolo), 1);
    EXPECT_TRUE(std::ifstream(dir + "arco.CRV.crv").good());
    EXPECT_EQ(c.SalvaCurva(nullptr), 1);
    EXPECT_EQ(letta.CaricaCurva(nullptr), 0);
    // Cut anywhere, the file reads without harm and reports the cut.
    CString corto = StringaDaUtf8(dir + "corto.crv");
    for (size_t k = 0; k + 1 < testo.size(); k += 97) {
        ScriviFile(dir + "corto.crv", testo.substr(0, k));
        EXPECT_EQ(CCurvaDenti(MacchinaEsempio()).CaricaCurva(&corto), 0) << k;
    }
    CString manca = StringaDaUtf8(dir + "manca");
    EXPECT_EQ(letta.CaricaCurva(&manca), 0);

    // Version 0 without coefficient lines: default coefficients.
    CCurvaDenti v0(MacchinaEsempio());
    v0.A2Denti = 5;
    CString nomeV0 = StringaDaUtf8(KORVANE_SOURCE_DIR "/tests/trajectories/dati/curva_v0.crv");
    EXPECT_EQ(v0.CaricaCurva(&nomeV0), 0);  // the garbage point line leaves "[END]" unmatched
    EXPECT_EQ(std::tuple(v0.A2Denti, v0.XFineDentimm, v0.ArrayCurvaDenti.GetSize()), std::tuple(-0.014097, 21.0f, 1));
}
