#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "core/ParametriFileDat.h"
#include "tests/core/TestoDiProva.h"

namespace {

// The block the default settings write, byte for byte.
const std::string BLOCCO_DEFAULT = LeggiFile(KORVANE_SOURCE_DIR "/tests/core/dati/parametri_dat_predefiniti.txt");

// Settings whose every value tells where it stands: the header integers 1 to 20 in block order, the
// positions 1.5 to 8.5, the scout members 21 to 24, and two sub-images whose nine values are 31-39
// and 41-49.
CParametriFileDat Numerati()
{
    CParametriFileDat d;
    std::int32_t* testa[] = {&d.Group,         &d.Type,           &d.Version,          &d.TFCanUpdate,
                             &d.TMCanUpdate,   &d.YCanMove,       &d.CephPatientPos,   &d.PanKeybPos,
                             &d.CephArmPos,    &d.BiteBlockConf,  &d.ApsRangeMin,      &d.ApsRangeMax,
                             &d.YAxisCorrLen,  &d.YAxisCorrMin,   &d.YAxisCorrMax,     &d.YAxisOpenMouth,
                             &d.XAxisCorrFact, &d.PrmCollimOffset1, &d.PrmCollimOffset2, &d.ScnCollimOffset};
    for (int k = 0; k < 20; ++k)
        *testa[k] = k + 1;
    float* posizioni[] = {&d.PosResetX,  &d.PosResetY,  &d.PosResetR,  &d.PosResetH,
                          &d.PosUscitaX, &d.PosUscitaY, &d.PosUscitaR, &d.PosUscitaH};
    for (int k = 0; k < 8; ++k)
        *posizioni[k] = static_cast<float>(k) + 1.5f;
    d.ScoutKV = 21, d.ScoutMA = 22, d.ScoutCollMin = 23, d.ScoutCollMax = 24;
    for (int k = 0; k < 9; ++k) {
        Array(d, k)->RemoveAll();
        Array(d, k)->Add(31 + k);
        Array(d, k)->Add(41 + k);
    }
    return d;
}

// Every line that begins with the label taken out.
std::string SenzaRighe(std::string t, const std::string& etichetta)
{
    for (size_t p = t.find("\n" + etichetta); p != std::string::npos; p = t.find("\n" + etichetta, p))
        t.erase(p + 1, t.find('\n', p + 1) - p);
    return t;
}

// A block of an older version, made from a version-6 text by the layout of that version.
std::string BloccoVersione(int v, const std::string& v6)
{
    std::string t = Sostituisci(v6, "Versione          = 6", "Versione          = " + std::to_string(v));
    if (v < 6)
        t = SenzaRighe(t, "Scout ");
    if (v < 5)
        t = SenzaRighe(t, "Pos ");
    if (v < 4)
        for (const char* c : {"Px margins topC", "Px margins bottomC", "Px margins rightC", "Px margins leftC"})
            t = SenzaRighe(t, c);
    if (v < 3)
        t = Sostituisci(t, "Ceph patient pos", "STF On            = 1\nCeph patient pos");
    if (v < 2)
        t = SenzaRighe(t, "Ceph patient pos");
    return t;
}

}  // namespace

TEST(ParametriFileDat, BloccoPredefinitoEsatto)
{
    CParametriFileDat d;
    EXPECT_EQ(Scritto(d), BLOCCO_DEFAULT);
    CParametriFileDat letto;
    letto.Group = 9;
    letto.LRImgNote.Add(5);
    EXPECT_EQ(LeggiBlocco(BLOCCO_DEFAULT, letto).risultato, 1);
    EXPECT_TRUE(letto == CParametriFileDat());
    CParametriFileDat n = Numerati(), nLetto, spazi, senzaConteggio;
    const std::string testo = Scritto(n);
    EXPECT_EQ(LeggiBlocco(ConCRLF(testo), nLetto).risultato, 1);
    EXPECT_TRUE(nLetto == n);
    // Single blanks around "=" read as well; without its count line the sub-images there still read.
    EXPECT_EQ(LeggiBlocco(Sostituisci(testo, "Group             = 1", "Group = 1"), spazi).risultato, 1);
    EXPECT_TRUE(spazi == n);
    EXPECT_EQ(LeggiBlocco(Togli(testo, "2 Traiettorie in file .dat\n"), senzaConteggio).risultato, 0);
    EXPECT_TRUE(senzaConteggio == n);
}

TEST(ParametriFileDat, VersioniVecchie)
{
    CParametriFileDat n = Numerati(), predefinito;
    const std::string v6 = Scritto(n);
    // Scout values a block before version 6 must leave alone.
    const auto scoutPrima = [](CParametriFileDat& x) {
        x.ScoutKV = 70, x.ScoutMA = 8, x.ScoutCollMin = 1, x.ScoutCollMax = 2;
    };
    for (int v = 1; v <= 6; ++v) {
        CParametriFileDat d;
        scoutPrima(d);
        d.PosResetX = d.PosUscitaR = 99.0f;
        EXPECT_EQ(LeggiBlocco(BloccoVersione(v, v6), d).risultato, 1) << v;

        CParametriFileDat atteso = n;
        if (v == 1)
            atteso.CephPatientPos = 0;
        if (v < 6)
            scoutPrima(atteso);
        // Before version 5 the positions are those of new settings.
        if (v < 5)
            for (auto p : {&CParametriFileDat::PosResetX, &CParametriFileDat::PosResetY, &CParametriFileDat::PosResetR,
                           &CParametriFileDat::PosResetH, &CParametriFileDat::PosUscitaX,
                           &CParametriFileDat::PosUscitaY, &CParametriFileDat::PosUscitaR,
                           &CParametriFileDat::PosUscitaH})
                atteso.*p = predefinito.*p;
        // One set of margins before version 4: it serves as the "C" set too.
        if (v < 4)
            for (int k = 5; k < 9; ++k)
                Array(atteso, k)->Copy(*Array(atteso, k - 4));
        EXPECT_TRUE(d == atteso) << v;
    }
}

TEST(ParametriFileDat, VersioneSconosciutaNonConsumaAltro)
{
    for (const char* versione : {"7", "0", "-1"}) {
        const std::string t =
            Sostituisci(BLOCCO_DEFAULT, "Versione          = 6", std::string("Versione          = ") + versione);
        CParametriFileDat d;
        d.Group = 4;
        const Lettura l = LeggiBlocco(t, d);
        EXPECT_EQ(l.risultato, 1) << versione;
        EXPECT_EQ(l.consumati, static_cast<long>(t.find("Group"))) << versione;
        EXPECT_EQ(d.Group, 4) << versione;
        EXPECT_EQ(d.LRImgNote.GetSize(), 0) << versione;
    }
    CParametriFileDat d;
    EXPECT_EQ(LeggiBlocco(Sostituisci(BLOCCO_DEFAULT, "= 6", "= x"), d).risultato, 0);
    EXPECT_EQ(d.Group, 0);
}

TEST(ParametriFileDat, ArrayDiversiEConteggiAssurdi)
{
    // The block carries as many sub-images as the shortest array has.
    for (const auto& [lunghezzaNote, lunghezzaLeftC, scritte] : {std::tuple{3, 1, 1}, {1, 0, 0}}) {
        CParametriFileDat d;
        d.LRImgNote.SetSize(lunghezzaNote);
        d.PxMarginsLeftC.SetSize(lunghezzaLeftC);
        for (int k = 1; k < 8; ++k)
            Array(d, k)->SetSize(2);
        const std::string t = Scritto(d);
        EXPECT_NE(t.find("\n" + std::to_string(scritte) + " Traiettorie in file .dat\n"), std::string::npos);
        CParametriFileDat letto;
        EXPECT_EQ(LeggiBlocco(t, letto).risultato, 1);
        for (int k = 0; k < 9; ++k)
            EXPECT_EQ(Array(letto, k)->GetSize(), scritte) << lunghezzaNote << " " << k;
    }

    // A count beyond 10000, below zero or beyond the type is refused before anything is sized by it;
    // the sub-image that stands there is read all the same.
    for (const auto& [conteggio, risultato, dimensione] :
         {std::tuple{"2000000000", 0, 1}, {"10001", 0, 1}, {"-3", 0, 1}, {"4294967297", 0, 1}, {"10000", 0, 10000},
          {"2", 0, 2}, {"0", 1, 0}}) {
        CParametriFileDat x;
        const std::string t = Sostituisci(BLOCCO_DEFAULT, "1 Traiettorie", std::string(conteggio) + " Traiettorie");
        EXPECT_EQ(LeggiBlocco(t, x).risultato, risultato) << conteggio;
        for (int k = 0; k < 9; ++k)
            EXPECT_EQ(Array(x, k)->GetSize(), dimensione) << conteggio;
    }
    // Without a count, a sub-image whose lines do not read ends the list instead of repeating it.
    CParametriFileDat x;
    const std::string conteggio = "1 Traiettorie in file .dat\n";
    const std::string t = BLOCCO_DEFAULT.substr(0, BLOCCO_DEFAULT.find(conteggio)) + "~" + conteggio + "LR img notes = 0\n\n";
    EXPECT_EQ(LeggiBlocco(t, x).risultato, 0);
    EXPECT_EQ(x.LRImgNote.GetSize(), 0);
}

TEST(ParametriFileDat, UguaglianzaEsatta)
{
    // A sign of zero is no difference; one ulp, one more array element or one changed element is.
    CParametriFileDat a, zero, ulp, piuLungo, cambiato, scout;
    zero.PosResetY = -0.0f;
    ulp.PosResetX = std::nextafter(50.0f, 51.0f);
    piuLungo.PxMarginsRightC.Add(-1);
    cambiato.PxMarginsRightC[0] = 0;
    scout.ScoutCollMin = 1;
    EXPECT_TRUE(a == zero);
    EXPECT_FALSE(a == ulp || a == piuLungo || a == cambiato || a == scout);
}
