#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include "path/Conversione.h"
#include "path/Percorso.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"

namespace {

namespace fs = std::filesystem;

// Converts `nome` with the builder library `builder` (ours when empty): the result and the error text.
std::pair<int, std::string> Converti(const std::string& nome, const std::string& builder = "")
{
    CPercorso p;
    if (!builder.empty())
        p.SetNomeDLLbuildprj(StringaDaUtf8(builder));
    const CString n = StringaDaUtf8(nome);
    const int r = p.ConvertiInOut(&n);
    EXPECT_EQ(p.IsDLLbuildprjCaricata(), 0);
    return {r, StringaAUtf8(p.GetErrorString())};
}

std::string Msg(int id) { return StringaAUtf8(TestoMessaggio(id)); }

const std::string FINTO = std::string(KORVANE_PLUGIN_DIR) + "/plugin_builder_finto.dll";

}  // namespace

TEST(Conversione, NomiCartellaTemporaneaETestoDelBuilder)
{
    const std::string dir = CartellaTemporanea("cv");  // short: the names below are 40 to 64 characters in all
    // The builder's copies of long names go to the system's temporary folder: here, one of the test's own.
    const std::string tmp = CartellaTemporanea("cv-tmp");
    const std::unique_ptr<char, void (*)(char*)> primaTmp(getenv("TMPDIR") ? strdup(getenv("TMPDIR")) : nullptr,
                                                          [](char* v) { v ? setenv("TMPDIR", v, 1) : unsetenv("TMPDIR"); free(v); });
    setenv("TMPDIR", tmp.substr(0, tmp.size() - 1).c_str(), 1);
    const struct {
        const char* testa;
        size_t lunghezzaUscita;  // of the output name, which decides the temporary folder
        const char* contenuto;
        int risultato;
        std::string errore;
    } casi[] = {
        {"IN.", 63, "x", 1, ""}, {"In.", 64, "x", 1, ""}, {"xn.", 40, "x", 0, Msg(147)},
        {"in.", 40, "errore riga 3: guasto", 0, Msg(145) + "\nriga 3: guasto"}, {"in.", 64, "errore", 0, Msg(145)}};
    for (const auto& c : casi) {
        const std::string resto = std::string(c.lunghezzaUscita - dir.size() - 8, 'a') + ".dat";
        const std::string ingresso = c.testa + resto, uscita = "out." + resto;
        std::ofstream(dir + ingresso) << c.contenuto;
        EXPECT_EQ(Converti(dir + ingresso, FINTO), std::make_pair(c.risultato, c.errore)) << ingresso;
        const std::string dove = c.lunghezzaUscita >= 64 ? tmp : dir;
        EXPECT_EQ(LeggiFile(dir + uscita), c.risultato ? "3||" + dove + ingresso + "|" + dove + uscita : "") << ingresso;
        EXPECT_EQ(fs::exists(tmp + ingresso), c.lunghezzaUscita >= 64 && !c.risultato) << ingresso;
        fs::remove(dir + uscita);
    }

    // A missing builder or entry point fails without a word.
    for (const std::string& builder : {dir + "assente.dll", std::string(KORVANE_PLUGIN_DIR) + "/plugin_prova.dll"})
        EXPECT_EQ(Converti(dir + "in.a.dat", builder), std::make_pair(0, std::string()));
    // A long name whose input cannot be copied, and an output that cannot be copied back.
    const std::string lungo = "in." + std::string(64 - dir.size() - 8, 'b') + ".dat";
    const std::string uscitaLunga = dir + "out" + lungo.substr(2);
    EXPECT_EQ(Converti(dir + lungo, FINTO), std::make_pair(0, Msg(144) + uscitaLunga));
    std::ofstream(dir + lungo) << "x";
    fs::create_directory(uscitaLunga);
    EXPECT_EQ(Converti(dir + lungo, FINTO), std::make_pair(0, Msg(146)));
    EXPECT_TRUE(fs::exists(tmp + "out" + lungo.substr(2)));
}

// The path writer's own output type 0 file (a ceph exam with the H column), through our builder: the step
// records hold X, Y, R, H, C in words, then kV and mA in bytes.
TEST(Conversione, IlNostroBuilderScriveLImmagineDeiPassiDelFileIn)
{
    const std::string dir = CartellaTemporanea("conversione-passi");
    ScriviFile(dir + "in.c.dat", LeggiFile(KORVANE_SOURCE_DIR "/tests/path/dati/proiezione_uscita0.dat"));
    ASSERT_EQ(Converti(dir + "in.c.dat"), std::make_pair(1, std::string()));
    const std::string b = LeggiFile(dir + "out.c.dat");
    ASSERT_EQ(b.size(), 37293u);
    EXPECT_EQ(b.substr(1263, 14), std::string("\x0E\0\1\0\2\0\3\0\0\0\3\0\x3C\5", 14));
    EXPECT_EQ(b.substr(1265 + 2 * 12, 12), std::string("\1\x80", 2) + std::string(10, '\0'));
    EXPECT_EQ(b.substr(1265 + 13 * 12, 12), std::string("\0\0\0\0\0\0\5\0\4\0\x5A\x0A", 12));
    EXPECT_EQ(b.substr(1265 + 14 * 12, 12), std::string(12, '\0'));
}

TEST(Conversione, IlNostroBuilderRifiutaQuelloCheNonSaLeggere)
{
    const std::string buono = LeggiFile(KORVANE_SOURCE_DIR "/tests/path/dati/builder_ingresso.dat");
    std::string troppi = buono;
    for (int i = 0; i < 3000; ++i)
        troppi += "0,0,0,0,0,0\n";
    const struct { std::string da, a, motivo; } casi[] = {
        {"PRJ_HEADER:", "PRJ_HEAD:", "line 1: the file does not begin"},
        {"[VERSION]=21", "[VERSION]=21,1", "line 4: [VERSION] needs 1"},
        {"[VERSION]=21", "[VERSION]=300", "does not fit its field"}, {"[APS_RANGE]=2,9\n", "", "lacks [APS_RANGE]"},
        {"[APS_RANGE]=2,9\n", "[APS_RANGE]=2,9\n[APS_RANGE]=2,9\n", "line 8: [APS_RANGE] stands twice"},
        {"[X_AXIS", "[RES_AXES_POS]=1,2,3\n[X_AXIS", "line 15: not a header line"},
        {"[GROUP,TYPE]=0", "[GROUP,TYPE]=3", "lacks [STF_ON]"},
        {"[SUB_IMGS_NUM]=1", "[SUB_IMGS_NUM]=2", "fewer sub-image blocks"},
        {"=1250000\n[LR", "=1250001\n[LR", "magnification differ"},
        {"60,20,3,4", "60,20,3", "expected [IMG_MARGINS] with 4"},
        {"PRJ_STEPS:\n\n1,2,3,3,60,5\n32769,0,0,0,0,0\n", "", "ends before PRJ_STEPS:"},
        {"1,2,3,3,60,5", "1,2,3,3,60", "line 28: a step line needs six or seven"},
        {"32769,0,0,0,0,0", "32769,0,0,0,0,0,0", "needs 6 integers like"},
        {"32769,0,0", "65536,0,0", "line 29: a step word does not fit"},
        {"1,2,3,3,60", "1,-2,3,3,60", "line 28: a step word does not fit"},
        {"1,2,3,3", "99999999999,2,3,3", "six or seven"}, {buono, troppi, "line 3028: more than 3000 steps"}};
    const std::string dir = CartellaTemporanea("conversione-rifiuti");
    for (const auto& c : casi) {
        std::string testo = buono;
        testo.replace(testo.find(c.da), c.da.size(), c.a);
        ScriviFile(dir + "in.x.dat", testo);
        const auto [r, errore] = Converti(dir + "in.x.dat");
        EXPECT_TRUE(r == 0 && errore.rfind(Msg(145) + "\n", 0) == 0 && errore.find(c.motivo) != std::string::npos)
            << errore;
        EXPECT_FALSE(fs::exists(dir + "out.x.dat")) << c.motivo;
    }

    // Windows line ends are read; unset flags count as set; the unit rests where the exam starts.
    ScriviFile(dir + "in.x.dat", ConCRLF(buono));
    ASSERT_EQ(Converti(dir + "in.x.dat").first, 1);
    const std::string b = LeggiFile(dir + "out.x.dat");
    EXPECT_EQ(b.substr(5, 4), std::string("\x07\x21\x00\x00", 4));
    EXPECT_EQ(b.substr(19, 20), std::string("\x14\0\0\0\0\0\0\0\0\0\0\0\x14\0\0\0\x14\0\0\0", 20));

    // The reason is cut to the caller's buffer, which is never written past.
    LibreriaDinamica l;
    ASSERT_TRUE(l.Carica(StringaDaUtf8(std::string(KORVANE_LIB_DIR) + "/build_prj_ZT.dll")));
    const auto converti = reinterpret_cast<PFN_DLL_BUILD_PRJ_Convert>(l.Simbolo(SIMBOLO_BUILD_PRJ));
    ASSERT_NE(converti, nullptr);
    char testo[12] = "xxxxxxxxxxx";
    EXPECT_EQ(converti(1, nullptr, testo, 8), 1);
    EXPECT_EQ(std::string(testo, 12), std::string("expecte\0xxx\0", 12));
    EXPECT_EQ(converti(0, nullptr, nullptr, 0), 1);
}
