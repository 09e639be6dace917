#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "core/ParametriFileDat.h"

namespace {

const char* const BLOCCO_DEFAULT =
    "[PARAMETRI FILE DAT]\n\n"
    "Versione          = 6\n"
    "Group             = 0\nType              = 0\nVersion           = -1\nTFCanUpdate       = -1\n"
    "TMCanUpdate       = -1\nYCanMove          = -1\nCeph patient pos  = -1\nPan keyb pos      = -1\n"
    "Ceph arm pos      = -1\nBite block conf   = 1\nAps range Min     = -1\nAps range Max     = -1\n"
    "Y axis corr len   = 0\nY axis corr min   = 0\nY axis corr max   = 0\nY axis open mounth= 0\n"
    "X axis corr fact  = 0\nPrm collim offset1= -1\nPrm collim offset2= -1\nScn collim offset = -1\n"
    "Pos Reset X [mm]  = 50.000000\nPos Reset Y [mm]  = 0.000000\nPos Reset R [deg] = -180.000000\n"
    "Pos Reset H [mm]  = 0.000000\nPos Uscita X [mm] = 0.000000\nPos Uscita Y [mm] = 0.000000\n"
    "Pos Uscita R [deg]= 0.000000\nPos Uscita H [mm] = 0.000000\n"
    "Scout KV [kV]     = 0\nScout MA [mA]     = 0\nScout Coll Min    = 0\nScout Coll Max    = 0\n"
    "1 Traiettorie in file .dat\n"
    "LR img note       = 0\nPx margins top    = -1\nPx margins bottom = -1\nPx margins right  = -1\n"
    "Px margins left   = -1\nPx margins topC   = -1\nPx margins bottomC= -1\nPx margins rightC = -1\n"
    "Px margins leftC  = -1\n\n";

std::string Scritto(CParametriFileDat& d)
{
    FILE* f = std::tmpfile();
    d.SalvaFileTRG(f);
    std::string testo(static_cast<size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    testo.resize(std::fread(testo.data(), 1, testo.size(), f));
    std::fclose(f);
    return testo;
}

struct Lettura {
    int risultato;
    long consumati;
};

Lettura Leggi(const std::string& testo, CParametriFileDat& d)
{
    FILE* f = std::tmpfile();
    std::fputs(testo.c_str(), f);
    std::rewind(f);
    Lettura l{d.CaricaFileTRG(f), std::ftell(f)};
    std::fclose(f);
    return l;
}

std::string Togli(std::string t, const std::string& riga)
{
    const size_t p = t.find(riga);
    if (p != std::string::npos)
        t.erase(p, riga.size());
    return t;
}

std::string Sostituisci(std::string t, const std::string& da, const std::string& a)
{
    t.replace(t.find(da), da.size(), a);
    return t;
}

// A block of an older version, made from the version-6 text by the rules of that version.
std::string BloccoVersione(int v, const std::string& margini)
{
    std::string t = Sostituisci(BLOCCO_DEFAULT, "Versione          = 6", "Versione          = " + std::to_string(v));
    for (const char* r : {"Scout KV [kV]     = 0\n", "Scout MA [mA]     = 0\n", "Scout Coll Min    = 0\n",
                          "Scout Coll Max    = 0\n"})
        if (v < 6)
            t = Togli(t, r);
    if (v < 5) {
        const size_t a = t.find("Pos Reset X"), b = t.find("1 Traiettorie");
        t.erase(a, b - a);
    }
    if (v < 4)
        for (const char* r : {"Px margins topC   = -1\n", "Px margins bottomC= -1\n", "Px margins rightC = -1\n",
                              "Px margins leftC  = -1\n"})
            t = Togli(t, r);
    if (v < 3)
        t = Sostituisci(t, "Ceph patient pos  = -1\n", "STF On            = 1\nCeph patient pos  = 5\n");
    if (v < 2)
        t = Togli(t, "Ceph patient pos  = 5\n");
    return Sostituisci(t, "Px margins top    = -1", "Px margins top    = " + margini);
}

}  // namespace

TEST(ParametriFileDat, BloccoPredefinitoEsatto)
{
    CParametriFileDat d;
    EXPECT_EQ(Scritto(d), BLOCCO_DEFAULT);
    CParametriFileDat letto;
    letto.Group = 9;
    const Lettura l = Leggi(BLOCCO_DEFAULT, letto);
    EXPECT_EQ(l.risultato, 1);
    EXPECT_TRUE(letto == CParametriFileDat());
}

TEST(ParametriFileDat, VersioniVecchie)
{
    for (int v = 1; v <= 5; ++v) {
        CParametriFileDat d;
        d.ScoutKV = 70;
        d.ScoutMA = 8;
        d.ScoutCollMin = 1;
        d.ScoutCollMax = 2;
        d.PosResetX = 1.0f;
        d.PosUscitaR = 9.0f;
        const Lettura l = Leggi(BloccoVersione(v, "12"), d);
        EXPECT_EQ(l.risultato, 1) << v;
        EXPECT_EQ(d.ScoutKV, 70) << v;
        EXPECT_EQ(d.ScoutCollMax, 2) << v;
        EXPECT_EQ(d.CephPatientPos, v == 1 ? 0 : v == 2 ? 5 : -1) << v;
        EXPECT_EQ(d.PosResetX, 50.0f) << v;
        EXPECT_EQ(d.PosResetR, -180.0f) << v;
        EXPECT_EQ(d.PosUscitaR, 0.0f) << v;
        ASSERT_EQ(d.PxMarginsTop.GetSize(), 1) << v;
        EXPECT_EQ(d.PxMarginsTop[0], 12) << v;
        // One set of margins before version 4, copied into the collimated set.
        EXPECT_EQ(d.PxMarginsTopC[0], v < 4 ? 12 : -1) << v;
        EXPECT_EQ(d.PxMarginsLeftC[0], -1) << v;
    }
}

TEST(ParametriFileDat, VersioneSconosciutaNonConsumaAltro)
{
    const std::string t = Sostituisci(BLOCCO_DEFAULT, "Versione          = 6", "Versione          = 7");
    CParametriFileDat d;
    d.Group = 4;
    const Lettura l = Leggi(t, d);
    EXPECT_EQ(l.risultato, 1);
    EXPECT_EQ(l.consumati, static_cast<long>(t.find("Group")));
    EXPECT_EQ(d.Group, 4);
    EXPECT_EQ(d.LRImgNote.GetSize(), 0);
}

TEST(ParametriFileDat, ArrayDiversiEConteggiAssurdi)
{
    CParametriFileDat d;
    d.LRImgNote.Add(1);
    d.LRImgNote.Add(2);
    const std::string t = Scritto(d);
    EXPECT_NE(t.find("1 Traiettorie in file .dat\n"), std::string::npos);
    CParametriFileDat letto;
    EXPECT_EQ(Leggi(t, letto).risultato, 1);
    EXPECT_EQ(letto.LRImgNote.GetSize(), 1);
    EXPECT_EQ(letto.PxMarginsLeftC.GetSize(), 1);

    const struct {
        const char* conteggio;
        int risultato;
        int dimensione;
    } casi[] = {{"2000000000", 0, 0}, {"-3", 0, 0}, {"2", 0, 2}, {"0", 1, 0}};
    for (const auto& c : casi) {
        CParametriFileDat x;
        const Lettura l = Leggi(Sostituisci(BLOCCO_DEFAULT, "1 Traiettorie", std::string(c.conteggio) + " Traiettorie"), x);
        EXPECT_EQ(l.risultato, c.risultato) << c.conteggio;
        EXPECT_EQ(x.PxMarginsBottom.GetSize(), c.dimensione) << c.conteggio;
    }
}

TEST(ParametriFileDat, RigheModificate)
{
    const struct {
        std::string testo;
        int risultato;
    } casi[] = {
        {Sostituisci(BLOCCO_DEFAULT, "Group             = 0", "Group = 0"), 1},
        {Sostituisci(BLOCCO_DEFAULT, "Type  ", "Tipe  "), 0},
        {Sostituisci(BLOCCO_DEFAULT, "[PARAMETRI FILE DAT]", "[PARAMETRI FILE DATI]"), 0},
        {Sostituisci(BLOCCO_DEFAULT, "Pos Reset Y [mm]  = 0.000000", "Pos Reset Y [mm]  = nan"), 1},
        {std::string(BLOCCO_DEFAULT).substr(0, 400), 0},
    };
    for (const auto& c : casi) {
        CParametriFileDat d;
        EXPECT_EQ(Leggi(c.testo, d).risultato, c.risultato) << c.testo.substr(0, 60);
    }
    const std::string buono = BLOCCO_DEFAULT;
    for (size_t n = 0; n + 1 < buono.size(); n += 5) {
        CParametriFileDat d;
        EXPECT_EQ(Leggi(buono.substr(0, n), d).risultato, 0) << n;
    }
}

TEST(ParametriFileDat, UguaglianzaEsatta)
{
    CParametriFileDat a, b;
    b.PosResetY = -0.0f;
    EXPECT_TRUE(a == b);
    b.PosResetX = std::nextafter(50.0f, 51.0f);
    EXPECT_FALSE(a == b);
    b = a;
    EXPECT_TRUE(a == b);
    b.PxMarginsRightC.Add(-1);
    EXPECT_FALSE(a == b);
    b = a;
    b.ScoutCollMin = 1;
    EXPECT_FALSE(a == b);
}
