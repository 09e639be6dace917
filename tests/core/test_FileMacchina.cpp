#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <iterator>

#include "core/LimitiEParametri.h"
#include "support/MacchinaEsempio.h"

namespace {

std::string Leggi(const std::string& nome)
{
    std::ifstream f(nome, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void Scrivi(const std::string& nome, const std::string& testo)
{
    std::ofstream(nome, std::ios::binary) << testo;
}

// A machine whose every number tells where it stands.
CLimitiEParametri MacchinaNumerata()
{
    CLimitiEParametri m;
    PARAMETRI_ASSE* assi[] = {&m.AsseX, &m.AsseY, &m.AsseR, &m.AsseC, &m.AsseH};
    for (int a = 0; a < 5; ++a) {
        double* campi[] = {&assi[a]->PhaseAccumulator, &assi[a]->GiriMinPerLSB, &assi[a]->StepSPerLSB,
                           &assi[a]->StepPerUnita,     &assi[a]->MaxVel,        &assi[a]->MaxAcc,
                           &assi[a]->PosMin,           &assi[a]->PosMax};
        for (int k = 0; k < 8; ++k)
            *campi[k] = (a + 1) * 10 + k + 0.5;
    }
    m.NomeMacchina = L"Unit\u00e0 7";
    double* generali[] = {&m.PassoTemporale, &m.CentroMonoblocco, &m.CentSensPan, &m.CentSens3D, &m.PosMorso,
                          &m.DimPixelPano,   &m.InclinazHDx,      &m.XCentroHDx,  &m.YCentroHDx, &m.InclinazHSx,
                          &m.XCentroHSx,     &m.YCentroHSx,       &m.DistanzaCVR, &m.PosHOrtho};
    for (int k = 0; k < 14; ++k)
        *generali[k] = -(k + 1) * 1.25;
    return m;
}

std::string TestoAtteso()
{
    std::string t = "Versione          = 2\n\n[PARAMETRI GENERALI]\n\nNome macchina     = Unit\xe0 7\n"
                    "Passo temporale s = -1.250000\nCentro-Monoblocco = -2.500000\nCent-Sens Pan mm  = -3.750000\n"
                    "Cent-Sens 3D mm   = -5.000000\nPos Morso mm      = -6.250000\nDim Pixel Pano mm = -7.500000\n"
                    "Inclinaz H Dx deg = -8.750000\nX centro H Dx mm  = -10.000000\nY centro H Dx mm  = -11.250000\n"
                    "Inclinaz H Sx deg = -12.500000\nX centro H Sx mm  = -13.750000\nY centro H Sx mm  = -15.000000\n"
                    "Distanza CVR mm   = -16.250000\nPos H ortho mm    = -17.500000\n\n";
    const char* nomi = "XYRCH";
    for (int a = 0; a < 5; ++a) {
        const bool r = nomi[a] == 'R';
        const char* etichette[] = {"Phase Accumulator = ", "Giri/min per LSB  = ", "step/s per LSB    = ",
                                   r ? "Step al deg       = " : "Step al mm        = ",
                                   r ? "Max Vel in deg/s  = " : "Max Vel in mm/s   = ",
                                   r ? "Max Acc in deg/s2 = " : "Max Acc in mm/s2  = ",
                                   r ? "Pos Min in deg    = " : "Pos Min in mm     = ",
                                   r ? "Pos Max in deg    = " : "Pos Max in mm     = "};
        t += std::string("[ASSE ") + nomi[a] + "]\n\n";
        for (int k = 0; k < 8; ++k) {
            char valore[32];
            std::snprintf(valore, sizeof valore, "%.6f", (a + 1) * 10 + k + 0.5);
            t += std::string(etichette[k]) + valore + (k == 7 ? "\n\n" : "\n");
        }
    }
    return t + "[END]";
}

}  // namespace

TEST(FileMacchina, TestoEsattoEAndataRitorno)
{
    const std::string dir = CartellaTemporanea("macchina-testo");
    CLimitiEParametri m = MacchinaNumerata();
    ASSERT_EQ(m.ScriviSuFile(StringaDaUtf8(dir + "m.ini"), 0), 1);
    EXPECT_EQ(Leggi(dir + "m.ini"), TestoAtteso());
    CLimitiEParametri letto;
    ASSERT_EQ(letto.LeggiDaFile(StringaDaUtf8(dir + "m.ini"), 0), 1);
    EXPECT_TRUE(letto == m);
}

TEST(FileMacchina, EsempioCommessoEQuelloCheScriviamo)
{
    const std::string dir = CartellaTemporanea("macchina-esempio");
    CLimitiEParametri m = MacchinaEsempio();
    ASSERT_EQ(m.ScriviSuFile(StringaDaUtf8(dir), 1), 1);
    const std::string esempio = std::string(KORVANE_SOURCE_DIR) + "/examples/MachinesParameters.ini";
    EXPECT_EQ(Leggi(dir + "MachinesParameters.ini"), Leggi(esempio));
    CLimitiEParametri letto;
    ASSERT_EQ(letto.LeggiDaFile(StringaDaUtf8(esempio), 0), 1);
    EXPECT_TRUE(letto == m);
    // The unit's constants agree with the look-up tables' fixed ratios.
    EXPECT_NEAR(letto.AsseX.StepPerUnita / letto.AsseX.StepSPerLSB, 409.6, 1e-9);
    EXPECT_NEAR(letto.AsseR.StepPerUnita / letto.AsseR.StepSPerLSB, 786.432, 1e-3);
    EXPECT_NEAR(letto.AsseC.StepPerUnita / letto.AsseC.StepSPerLSB, 333.333, 1e-9);
}

TEST(FileMacchina, NomeDelFileEVersioneUno)
{
    const std::string dir = CartellaTemporanea("macchina-nome");
    CLimitiEParametri m = MacchinaEsempio();
    ASSERT_EQ(m.ScriviSuFile(StringaDaUtf8(dir), 1), 1);
    EXPECT_FALSE(Leggi(dir + "MachinesParameters.ini").empty());
    ASSERT_EQ(m.ScriviSuFile(StringaDaUtf8(dir + "copia"), 1), 1);
    EXPECT_FALSE(Leggi(dir + "copiaMachinesParameters.ini").empty());
    EXPECT_EQ(m.ScriviSuFile(StringaDaUtf8(dir + "manca/x.ini"), 0), 0);

    std::string v1 = Leggi(dir + "MachinesParameters.ini");
    v1.replace(v1.find("Versione          = 2"), 21, "Versione          = 1");
    v1.erase(v1.find("Nome macchina"), v1.find("Passo temporale") - v1.find("Nome macchina"));
    Scrivi(dir + "v1.ini", v1);
    CLimitiEParametri letto;
    ASSERT_EQ(letto.LeggiDaFile(StringaDaUtf8(dir + "v1.ini"), 0), 1);
    EXPECT_EQ(letto.NomeMacchina, L"P2 - P4 - Ostra");
    EXPECT_EQ(letto.PassoTemporale, 0.02);

    std::string v3 = Leggi(dir + "MachinesParameters.ini");
    v3.replace(v3.find("Versione          = 2"), 21, "Versione          = 3");
    Scrivi(dir + "v3.ini", v3);
    CLimitiEParametri intatto = MacchinaEsempio();
    EXPECT_EQ(intatto.LeggiDaFile(StringaDaUtf8(dir + "v3.ini"), 0), 0);
    EXPECT_TRUE(intatto == MacchinaEsempio());
    EXPECT_EQ(intatto.LeggiDaFile(StringaDaUtf8(dir + "non-esiste.ini"), 0), 0);
    EXPECT_TRUE(intatto == MacchinaEsempio());
}

TEST(FileMacchina, RigheModificateAMano)
{
    const std::string dir = CartellaTemporanea("macchina-mano");
    CLimitiEParametri m = MacchinaEsempio();
    ASSERT_EQ(m.ScriviSuFile(StringaDaUtf8(dir + "b.ini"), 0), 1);
    const std::string buono = Leggi(dir + "b.ini");
    auto sostituisci = [&](const std::string& da, const std::string& a) {
        std::string t = buono;
        t.replace(t.find(da), da.size(), a);
        return t;
    };
    std::string crlf;
    for (char c : buono)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string lungo(300, 'N');
    const struct {
        const char* caso;
        std::string testo;
        int risultato;
        std::wstring nome;
    } casi[] = {
        {"crlf", crlf, 1, L"Korvane example unit"},
        {"blank iniziali", sostituisci("= Korvane", "=    Korvane"), 1, L"Korvane example unit"},
        {"nome vuoto", sostituisci("Korvane example unit", ""), 0, L"Passo temporale s = 0.020000"},
        {"senza END", buono.substr(0, buono.size() - 5), 0, L"Korvane example unit"},
        {"etichetta sbagliata", sostituisci("Centro-Monoblocco", "Centro-Monoblocko"), 0, L"Korvane example unit"},
        {"nome lungo", sostituisci("Korvane example unit", lungo), 0, std::wstring(255, L'N')},
        {"nan", sostituisci("Cent-Sens 3D mm   = 260.000000", "Cent-Sens 3D mm   = nan"), 1, L"Korvane example unit"},
    };
    for (const auto& c : casi) {
        Scrivi(dir + "c.ini", c.testo);
        CLimitiEParametri letto;
        EXPECT_EQ(letto.LeggiDaFile(StringaDaUtf8(dir + "c.ini"), 0), c.risultato) << c.caso;
        EXPECT_EQ(letto.NomeMacchina, c.nome) << c.caso;
        // Every value after the damaged line is still read.
        EXPECT_EQ(letto.AsseH.PosMax, 250.0) << c.caso;
    }
    // Every cut of the file reads without harm and reports the cut.
    for (size_t n = 0; n < buono.size(); n += 7) {
        Scrivi(dir + "t.ini", buono.substr(0, n));
        CLimitiEParametri letto;
        EXPECT_EQ(letto.LeggiDaFile(StringaDaUtf8(dir + "t.ini"), 0), 0) << n;
    }
}

TEST(FileMacchina, VirgolaDecimaleDelProcessoNonConta)
{
    if (!ImpostaLocaleConVirgola())
        GTEST_SKIP() << "no comma-decimal locale is installed (install locales-all)";
    const std::string dir = CartellaTemporanea("macchina-locale");
    CLimitiEParametri m = MacchinaEsempio();
    ASSERT_EQ(m.ScriviSuFile(StringaDaUtf8(dir + "l.ini"), 0), 1);
    CLimitiEParametri letto;
    const int risultato = letto.LeggiDaFile(StringaDaUtf8(dir + "l.ini"), 0);
    std::setlocale(LC_ALL, "C");
    EXPECT_NE(Leggi(dir + "l.ini").find("Passo temporale s = 0.020000\n"), std::string::npos);
    EXPECT_EQ(risultato, 1);
    EXPECT_TRUE(letto == m);
}
