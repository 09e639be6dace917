#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/PuntoTraiettoria.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"

namespace {

// An axis state as its current writer puts it, byte for byte.
const std::string PUNTO_V2 = LeggiFile(KORVANE_SOURCE_DIR "/tests/core/dati/punto_v2.txt");

PUNTO_TRAIETTORIA PuntoDiProva()
{
    PUNTO_TRAIETTORIA p = PuntoProva(1.5, -2.0, 190.0, 3.25, 80, -7);
    p.dVelY = -0.5, p.dVelR = 36.0, p.dVelH = 0.125;
    return p;
}

const std::string PASSO_V1 = "Versione          = 1\niX                = 1\niY                = 32773\n"
                             "iR                = 3\niC                = 1000\niKV               = 80\n"
                             "imA               = 100\niH                = 7\n";

}  // namespace

TEST(Blocchi, PuntoTestoEsattoEVersioni)
{
    PUNTO_TRAIETTORIA p = PuntoDiProva();
    EXPECT_EQ(Scritto(p), PUNTO_V2);

    PUNTO_TRAIETTORIA v1 = PuntoDiProva();
    v1.dPosH = v1.dVelH = 0.0;
    std::string testoV1 = Sostituisci(PUNTO_V2, "= 2\n", "= 1\n");
    testoV1 = Togli(Togli(testoV1, "dPosH             = 3.250000\n"), "dVelH             = 0.125000\n");
    const struct {
        const char* caso;
        std::string testo;
        int risultato;
        PUNTO_TRAIETTORIA atteso;
        double hPrima;  // dPosH and dVelH before the read
    } casi[] = {
        {"v2", PUNTO_V2, 1, p, 0.0},
        {"v1 clears H", testoV1, 1, v1, 9.0},
        {"v3", Sostituisci(PUNTO_V2, "= 2\n", "= 3\n"), 0, PUNTO_TRAIETTORIA(), 0.0},
        // A damaged version line costs only itself: the newest layout is read.
        {"version label", Sostituisci(PUNTO_V2, "Versione", "Version "), 0, p, 0.0},
    };
    for (const auto& c : casi) {
        PUNTO_TRAIETTORIA letto;
        letto.dPosH = letto.dVelH = c.hPrima;
        EXPECT_EQ(LeggiBlocco(c.testo, letto).risultato, c.risultato) << c.caso;
        EXPECT_TRUE(letto == c.atteso) << c.caso;
    }
}

TEST(Blocchi, PassoTestoEsattoVersioniETagli)
{
    const PASSO_TRAIETTORIA s = PassoProva({1, 32773, 3, 1000, 80, 100, 7});
    PASSO_TRAIETTORIA copia = s, letto, altro;
    EXPECT_EQ(Scritto(copia), PASSO_V1);
    EXPECT_EQ(LeggiBlocco(PASSO_V1, letto).risultato, 1);
    EXPECT_TRUE(letto == s);
    EXPECT_EQ(LeggiBlocco(Sostituisci(PASSO_V1, "= 1\niX", "= 2\niX"), altro).risultato, 0);
    EXPECT_TRUE(altro == PASSO_TRAIETTORIA());
    // Cut anywhere, a block reads without harm, and only a cut in its trailing white space is whole.
    auto tagli = [](const std::string& testo, auto vuoto) {
        for (size_t n = 0; n <= testo.size(); ++n) {
            auto l = vuoto;
            EXPECT_EQ(LeggiBlocco(testo.substr(0, n), l).risultato, n >= FineUtile(testo) ? 1 : 0) << n;
        }
    };
    tagli(PUNTO_V2, PUNTO_TRAIETTORIA());
    tagli(PASSO_V1, PASSO_TRAIETTORIA());
}

TEST(Blocchi, PuntiUgualiSoloSeIdentici)
{
    // One ulp or one unit apart, or NaN, they differ; a sign of zero is no difference.
    const PUNTO_TRAIETTORIA a = PuntoDiProva();
    PUNTO_TRAIETTORIA ulp = a, intero = a, nan = a, zero = a;
    ulp.dVelH = std::nextafter(a.dVelH, 1.0);
    intero.imA += 1;
    nan.dPosX = std::nan("");
    zero.dVelX = -0.0;
    EXPECT_FALSE(a == ulp || a == intero || nan == nan);
    EXPECT_TRUE(a == zero);
}
