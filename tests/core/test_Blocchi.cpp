#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "core/ParametriFileDat.h"
#include "core/PuntoTraiettoria.h"

namespace {

// A text block as a FILE*, the way the project file hands blocks to their readers.
struct FileTesto {
    FILE* f;
    explicit FileTesto(const std::string& testo) : f(std::tmpfile())
    {
        std::fputs(testo.c_str(), f);
        std::rewind(f);
    }
    ~FileTesto() { std::fclose(f); }
};

template <class T>
std::string Scritto(T& oggetto)
{
    FILE* f = std::tmpfile();
    oggetto.SalvaFileTRG(f);
    std::string testo(static_cast<size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    const size_t letti = std::fread(testo.data(), 1, testo.size(), f);
    std::fclose(f);
    testo.resize(letti);
    return testo;
}

const char* const PUNTO_V2 = "Versione          = 2\n"
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

std::string Sostituisci(std::string t, const std::string& da, const std::string& a)
{
    t.replace(t.find(da), da.size(), a);
    return t;
}

}  // namespace

TEST(Blocchi, PuntoTestoEsattoEVersioni)
{
    PUNTO_TRAIETTORIA p = PuntoDiProva();
    EXPECT_EQ(Scritto(p), PUNTO_V2);
    {
        FileTesto t(PUNTO_V2);
        PUNTO_TRAIETTORIA letto;
        EXPECT_EQ(letto.CaricaFileTRG(t.f), 1);
        EXPECT_TRUE(letto == p);
    }
    {
        // Version 1 has no H lines; H comes back as zero whatever the record held.
        std::string v1 = Sostituisci(PUNTO_V2, "Versione          = 2", "Versione          = 1");
        v1 = Sostituisci(v1, "dPosH             = 3.250000\n", "");
        v1 = Sostituisci(v1, "dVelH             = 0.125000\n", "");
        FileTesto t(v1);
        PUNTO_TRAIETTORIA letto = PuntoDiProva();
        EXPECT_EQ(letto.CaricaFileTRG(t.f), 1);
        EXPECT_EQ(letto.dPosH, 0.0);
        EXPECT_EQ(letto.dVelH, 0.0);
        EXPECT_EQ(letto.dVelR, 36.0);
    }
    {
        FileTesto t(Sostituisci(PUNTO_V2, "Versione          = 2", "Versione          = 3"));
        PUNTO_TRAIETTORIA letto;
        EXPECT_EQ(letto.CaricaFileTRG(t.f), 0);
        EXPECT_TRUE(letto == PUNTO_TRAIETTORIA());
    }
    {
        FileTesto t(Sostituisci(PUNTO_V2, "dPosY ", "dPosy "));
        PUNTO_TRAIETTORIA letto;
        EXPECT_EQ(letto.CaricaFileTRG(t.f), 0);
        EXPECT_EQ(letto.dPosX, 1.5);
        EXPECT_EQ(letto.dPosY, 0.0);
    }
    {
        std::string crlf;
        for (const char* c = PUNTO_V2; *c; ++c)
            crlf += *c == '\n' ? std::string("\r\n") : std::string(1, *c);
        FileTesto t(crlf);
        PUNTO_TRAIETTORIA letto;
        EXPECT_EQ(letto.CaricaFileTRG(t.f), 1);
        EXPECT_TRUE(letto == p);
    }
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
    EXPECT_TRUE(CElementoOrdine(SEZIONE_RACCORDO, 3) == CElementoOrdine(SEZIONE_RACCORDO, 3));
    EXPECT_FALSE(CElementoOrdine(SEZIONE_RACCORDO, 3) == CElementoOrdine(SEZIONE_TRAIETTORIA, 3));
}

TEST(Blocchi, Passo)
{
    PASSO_TRAIETTORIA s;
    s.iX = 1;
    s.iY = 32773;
    s.iR = 3;
    s.iC = 1000;
    s.iKV = 80;
    s.imA = 100;
    s.iH = 7;
    const std::string testo = "Versione          = 1\niX                = 1\niY                = 32773\n"
                              "iR                = 3\niC                = 1000\niKV               = 80\n"
                              "imA               = 100\niH                = 7\n";
    EXPECT_EQ(Scritto(s), testo);
    const struct {
        std::string testo;
        int risultato;
    } casi[] = {
        {testo, 1},
        {Sostituisci(testo, "= 1\niX", "= 2\niX"), 0},
        {testo.substr(0, testo.size() - 25), 0},
        {Sostituisci(testo, "iC                = 1000", "iC                = x"), 0},
    };
    for (const auto& c : casi) {
        FileTesto t(c.testo);
        PASSO_TRAIETTORIA letto;
        EXPECT_EQ(letto.CaricaFileTRG(t.f), c.risultato) << c.testo;
        if (c.risultato) {
            EXPECT_TRUE(letto == s);
        }
    }
}
