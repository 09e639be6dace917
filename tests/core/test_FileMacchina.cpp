#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/LimitiEParametri.h"
#include "core/VerificaMacchina.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"

namespace {

// The example machine's file as the writer makes it.
std::string TestoEsempio(const std::string& dir)
{
    CLimitiEParametri m = MacchinaEsempio();
    EXPECT_EQ(m.ScriviSuFile(StringaDaUtf8(dir + "esempio.ini"), 0), 1);
    return LeggiFile(dir + "esempio.ini");
}

}  // namespace

TEST(FileMacchina, EsempioCommessoEQuelloCheScriviamo)
{
    const std::string dir = CartellaTemporanea("macchina-esempio");
    const std::string esempio = std::string(KORVANE_SOURCE_DIR) + "/examples/MachinesParameters.ini";
    EXPECT_EQ(TestoEsempio(dir), LeggiFile(esempio));
    CLimitiEParametri letto;
    ASSERT_EQ(letto.LeggiDaFile(StringaDaUtf8(esempio), 0), 1);
    EXPECT_TRUE(letto == MacchinaEsempio());
    // The unit's constants agree with the look-up tables' fixed ratios.
    EXPECT_NEAR(letto.AsseX.StepPerUnita / letto.AsseX.StepSPerLSB, 409.6, 1e-9);
    EXPECT_NEAR(letto.AsseR.StepPerUnita / letto.AsseR.StepSPerLSB, 786.432, 1e-3);
    EXPECT_NEAR(letto.AsseC.StepPerUnita / letto.AsseC.StepSPerLSB, 333.333, 1e-9);
}

TEST(FileMacchina, NomeDelFileEVersioni)
{
    const std::string dir = CartellaTemporanea("macchina-nome");
    CLimitiEParametri m = MacchinaEsempio();
    // The file name is appended as it stands: with no separator it extends the last component.
    for (const std::string& cartella : {dir, dir + "copia"}) {
        ASSERT_EQ(m.ScriviSuFile(StringaDaUtf8(cartella), 1), 1) << cartella;
        EXPECT_EQ(LeggiFile(cartella + "MachinesParameters.ini"), TestoEsempio(dir)) << cartella;
        CLimitiEParametri letto;
        EXPECT_EQ(letto.LeggiDaFile(StringaDaUtf8(cartella), 1), 1) << cartella;
        EXPECT_TRUE(letto == m) << cartella;
    }
    EXPECT_EQ(m.ScriviSuFile(StringaDaUtf8(dir + "manca/x.ini"), 0), 0);

    const std::string buono = TestoEsempio(dir);
    const std::string senzaNome = Togli(buono, "Nome macchina     = Korvane example unit\n");
    ScriviFile(dir + "v1.ini", Sostituisci(senzaNome, "Versione          = 2", "Versione          = 1"));
    CLimitiEParametri letto;
    ASSERT_EQ(letto.LeggiDaFile(StringaDaUtf8(dir + "v1.ini"), 0), 1);
    CLimitiEParametri atteso = MacchinaEsempio();
    atteso.NomeMacchina = L"P2 - P4 - Ostra";
    EXPECT_TRUE(letto == atteso);

    // An unknown or unreadable version, or no file at all, leaves the record as it was.
    for (const std::string& versione : {std::string("Versione          = 3"), std::string("Versione          = x"),
                                        std::string("Versione          = 0")}) {
        ScriviFile(dir + "vx.ini", Sostituisci(buono, "Versione          = 2", versione));
        EXPECT_EQ(m.LeggiDaFile(StringaDaUtf8(dir + "vx.ini"), 0), 0) << versione;
        EXPECT_TRUE(m == MacchinaEsempio()) << versione;
    }
    EXPECT_EQ(m.LeggiDaFile(StringaDaUtf8(dir + "non-esiste.ini"), 0), 0);
    EXPECT_TRUE(m == MacchinaEsempio());
}

TEST(FileMacchina, NomeMacchinaLungo)
{
    const std::string dir = CartellaTemporanea("macchina-nome-lungo");
    // The writer cuts a name to its first 255 characters, each written as its low 8 bits.
    CLimitiEParametri m = MacchinaEsempio();
    m.NomeMacchina = std::wstring(253, L'a') + L"\u00e0\u0141" + L"zzz";
    ASSERT_EQ(m.ScriviSuFile(StringaDaUtf8(dir + "w.ini"), 0), 1);
    EXPECT_NE(LeggiFile(dir + "w.ini").find("= " + std::string(253, 'a') + "\xe0\x41\nPasso"), std::string::npos);
    CLimitiEParametri letto;
    EXPECT_EQ(letto.LeggiDaFile(StringaDaUtf8(dir + "w.ini"), 0), 1);
    EXPECT_EQ(letto.NomeMacchina, std::wstring(253, L'a') + L"\u00e0A");

    const std::string buono = TestoEsempio(dir);
    const struct { std::string riga; int risultato; std::wstring nome; } casi[] = {
        {std::string(255, 'n'), 1, std::wstring(255, L'n')},
        {std::string(255, 'n') + "\r", 1, std::wstring(255, L'n')},
        {std::string(256, 'n'), 0, std::wstring(255, L'n')},
    };
    for (const auto& c : casi) {
        ScriviFile(dir + "r.ini", Sostituisci(buono, "Korvane example unit\n", c.riga + "\n"));
        CLimitiEParametri r;
        EXPECT_EQ(r.LeggiDaFile(StringaDaUtf8(dir + "r.ini"), 0), c.risultato) << c.riga.size();
        EXPECT_EQ(r.NomeMacchina, c.nome) << c.riga.size();
        // The rest of an over-long line is skipped: every value after it still reads.
        r.NomeMacchina = L"Korvane example unit";
        EXPECT_TRUE(r == MacchinaEsempio()) << c.riga.size();
    }
}

TEST(FileMacchina, RigheModificateAMano)
{
    const std::string dir = CartellaTemporanea("macchina-mano");
    const std::string buono = TestoEsempio(dir);
    using Modifica = void (*)(CLimitiEParametri&);
    const struct {
        const char* caso;
        std::string testo;
        int risultato;
        Modifica atteso;  // what differs from the example machine after the read
    } casi[] = {
        {"leading blanks", Sostituisci(buono, "= Korvane", "=    Korvane"), 1, nullptr},
        {"nan", Sostituisci(buono, "= 260.000000", "= nan"), 1, [](CLimitiEParametri& m) { m.CentSens3D = NAN; }},
        // An empty name is a name, never the line after it.
        {"empty name", Sostituisci(buono, "Korvane example unit", ""), 1, [](CLimitiEParametri& m) { m.NomeMacchina.clear(); }},
        {"no [END]", buono.substr(0, buono.size() - 5), 0, nullptr},
    };
    for (const auto& c : casi) {
        ScriviFile(dir + "c.ini", c.testo);
        CLimitiEParametri letto;
        EXPECT_EQ(letto.LeggiDaFile(StringaDaUtf8(dir + "c.ini"), 0), c.risultato) << c.caso;
        CLimitiEParametri atteso = MacchinaEsempio();
        if (c.atteso)
            c.atteso(atteso);
        if (std::isnan(atteso.CentSens3D)) {
            EXPECT_TRUE(std::isnan(letto.CentSens3D)) << c.caso;
            letto.CentSens3D = atteso.CentSens3D = 260.0;
        }
        EXPECT_TRUE(letto == atteso) << c.caso;
    }
}

TEST(VerificaMacchina, ValoriDaCuiNessunCalcoloParte)
{
    const struct {
        void (*guasta)(CLimitiEParametri&);
        unsigned uso;
        int primo;  // 0: the record serves that use
    } casi[] = {
        {[](CLimitiEParametri&) {}, USO_TUTTO, 0},
        {[](CLimitiEParametri& m) { m.PassoTemporale = -0.02; }, USO_LUNGHEZZA_PX, MSG_PASSO_TEMPORALE_NON_VALIDO},
        {[](CLimitiEParametri& m) { m.AsseR.StepSPerLSB = INFINITY; }, USO_MOTO, MSG_STEP_S_PER_LSB_NON_VALIDO_R},
        {[](CLimitiEParametri& m) { m.AsseY.MaxAcc = 0; }, USO_MOTO, MSG_LIMITE_NON_VALIDO_Y},
        // C and the pixel size serve only the image length; the C limits only a full listing.
        {[](CLimitiEParametri& m) { m.AsseC.StepPerUnita = 0, m.DimPixelPano = 0; }, USO_MOTO, 0},
        {[](CLimitiEParametri& m) { m.DimPixelPano = 0; }, USO_LUNGHEZZA_PX, MSG_DIMENSIONE_PIXEL_NON_VALIDA},
        {[](CLimitiEParametri& m) { m.AsseC.MaxVel = std::nan(""); }, USO_TUTTO, MSG_LIMITE_NON_VALIDO_C},
        // Of two problems, the first in the record's order is the one reported.
        {[](CLimitiEParametri& m) { m.AsseH.StepPerUnita = 0, m.PassoTemporale = std::nan(""); }, USO_MOTO,
         MSG_PASSO_TEMPORALE_NON_VALIDO},
    };
    for (const auto& c : casi) {
        CLimitiEParametri m = MacchinaEsempio();
        c.guasta(m);
        CString err;
        EXPECT_EQ(VerificaMacchina(m, c.uso, err), c.primo ? 0 : 1) << c.primo;
        EXPECT_EQ(err, c.primo ? TestoMessaggio(c.primo) : L"") << c.primo;
    }
}
