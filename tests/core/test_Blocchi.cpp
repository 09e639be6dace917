#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/PuntoTraiettoria.h"
#include "tests/core/TestoDiProva.h"

namespace {

const std::string PUNTO_V2 = "Versione          = 2\n"
                             "dPosX             = 1.500000\n"
                             "dPosY             = -2.000000\n"
                             "dPosR             = 190.000000\n"
                             "dPosH             = 3.250000\n"
                             "dVelX             = 0.000000\n"
                             "dVelY             = -0.500000\n"
                             "dVelR             = 36.000000\n"
                             "dVelH             = 0.125000\n"
                             "iKV               = 80\n"
                             "imA               = -7\n";

PUNTO_TRAIETTORIA PuntoDiProva()
{
    PUNTO_TRAIETTORIA p;
    p.dPosX = 1.5;
    p.dPosY = -2.0;
    p.dPosR = 190.0;
    p.dPosH = 3.25;
    p.dVelY = -0.5;
    p.dVelR = 36.0;
    p.dVelH = 0.125;
    p.iKV = 80;
    p.imA = -7;
    return p;
}

const std::string PASSO_V1 = "Versione          = 1\niX                = 1\niY                = 32773\n"
                             "iR                = 3\niC                = 1000\niKV               = 80\n"
                             "imA               = 100\niH                = 7\n";

PASSO_TRAIETTORIA PassoDiProva()
{
    PASSO_TRAIETTORIA s;
    s.iX = 1;
    s.iY = 32773;
    s.iR = 3;
    s.iC = 1000;
    s.iKV = 80;
    s.imA = 100;
    s.iH = 7;
    return s;
}

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
        {"version label", Sostituisci(PUNTO_V2, "Versione", "Version "), 0, PUNTO_TRAIETTORIA(), 0.0},
    };
    for (const auto& c : casi) {
        PUNTO_TRAIETTORIA letto;
        letto.dPosH = letto.dVelH = c.hPrima;
        EXPECT_EQ(LeggiBlocco(c.testo, letto).risultato, c.risultato) << c.caso;
        EXPECT_TRUE(letto == c.atteso) << c.caso;
    }
}

TEST(Blocchi, PassoTestoEsattoEVersioni)
{
    PASSO_TRAIETTORIA s = PassoDiProva();
    EXPECT_EQ(Scritto(s), PASSO_V1);
    const struct {
        const char* caso;
        std::string testo;
        int risultato;
        PASSO_TRAIETTORIA atteso;
    } casi[] = {
        {"v1", PASSO_V1, 1, s},
        {"v2", Sostituisci(PASSO_V1, "= 1\niX", "= 2\niX"), 0, PASSO_TRAIETTORIA()},
    };
    for (const auto& c : casi) {
        PASSO_TRAIETTORIA letto;
        EXPECT_EQ(LeggiBlocco(c.testo, letto).risultato, c.risultato) << c.caso;
        EXPECT_TRUE(letto == c.atteso) << c.caso;
    }
}

TEST(Blocchi, OgniTaglioSiLeggeSenzaDanni)
{
    auto tagli = [](const std::string& testo, auto vuoto) {
        for (size_t n = 0; n <= testo.size(); ++n) {
            auto letto = vuoto;
            EXPECT_EQ(LeggiBlocco(testo.substr(0, n), letto).risultato, n >= FineUtile(testo) ? 1 : 0) << n;
        }
    };
    tagli(PUNTO_V2, PUNTO_TRAIETTORIA());
    tagli(PASSO_V1, PASSO_TRAIETTORIA());
}

TEST(Blocchi, PuntiUgualiSoloSeIdentici)
{
    PUNTO_TRAIETTORIA a = PuntoDiProva(), b = PuntoDiProva();
    EXPECT_TRUE(a == b);
    b.dVelH = std::nextafter(b.dVelH, 1.0);
    EXPECT_FALSE(a == b);
    b = a;
    b.imA += 1;
    EXPECT_FALSE(a == b);
    b = a;
    b.dPosX = std::nan("");
    EXPECT_FALSE(b == b);
    b = a;
    a.dVelX = 0.0;
    b.dVelX = -0.0;
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(CElementoOrdine(SEZIONE_RACCORDO, 3) == CElementoOrdine(SEZIONE_RACCORDO, 3));
    EXPECT_FALSE(CElementoOrdine(SEZIONE_RACCORDO, 3) == CElementoOrdine(SEZIONE_TRAIETTORIA, 3));
}
