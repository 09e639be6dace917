#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "path/Conversione.h"
#include "path/Percorso.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "support/PercorsoEsempio.h"

namespace {

namespace fs = std::filesystem;

std::string Leggi(const std::string& nome)
{
    std::stringstream s;
    s << std::ifstream(nome, std::ios::binary).rdbuf();
    return s.str();
}

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

std::string Msg(int id)
{
    return StringaAUtf8(TestoMessaggio(id));
}

const std::string FINTO = std::string(KORVANE_PLUGIN_DIR) + "/plugin_builder_finto.dll";

}  // namespace

TEST(Conversione, NomiCartellaTemporaneaETestoDelBuilder)
{
    const std::string dir = CartellaTemporanea("conversione");
    const std::string tmp = fs::temp_directory_path().string() + "/";
    const struct {
        const char* testa;
        size_t lunghezzaUscita;  // of the output name, which decides the temporary folder
        const char* contenuto;
        int risultato;
        std::string errore;
    } casi[] = {{"IN.", 40, "x", 1, ""},
                {"in.", 63, "x", 1, ""},
                {"In.", 64, "x", 1, ""},
                {"xn.", 40, "x", 0, Msg(147)},
                {"in.", 40, "errore riga 3: guasto", 0, Msg(145) + "\nriga 3: guasto"},
                {"in.", 64, "errore", 0, Msg(145)}};
    for (const auto& c : casi) {
        const std::string resto = std::string(c.lunghezzaUscita - dir.size() - 8, 'a') + ".dat";
        const std::string ingresso = c.testa + resto, uscita = "out." + resto;
        std::ofstream(dir + ingresso) << c.contenuto;
        EXPECT_EQ(Converti(dir + ingresso, FINTO), std::make_pair(c.risultato, c.errore)) << ingresso;
        const std::string dove = c.lunghezzaUscita >= 64 ? tmp : dir;
        EXPECT_EQ(Leggi(dir + uscita), c.risultato ? "3||" + dove + ingresso + "|" + dove + uscita : "") << ingresso;
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

TEST(Conversione, IlNostroBuilderScriveLImmagineDeiPassiDelFileIn)
{
    CPercorso p;
    CostruisciCB3D(p, MacchinaEsempio());
    p.SetTipoOutput(0);
    const std::string dir = CartellaTemporanea("conversione-cb3d");
    ASSERT_EQ(p.SalvaFileDat(StringaDaUtf8(dir + "in.cb3d.dat"), 0), 1);
    ASSERT_EQ(Converti(dir + "in.cb3d.dat"), std::make_pair(1, std::string()));
    const std::string b = Leggi(dir + "out.cb3d.dat");
    ASSERT_EQ(b.size(), 37293u);
    auto u = [&b](size_t o, int n) {
        unsigned v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = (v << 8) | static_cast<unsigned char>(b[o + static_cast<size_t>(i)]);
        return v;
    };
    unsigned crc = 0xFFFF;
    for (size_t i = 0; i < 37291; ++i) {
        crc ^= static_cast<unsigned char>(b[i]);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? (crc >> 1) ^ 0x8408 : crc >> 1;
    }
    EXPECT_EQ((crc ^ 0xFFFF), u(37291, 1) << 8 | u(37292, 1));

    std::istringstream in(Leggi(dir + "in.cb3d.dat"));
    std::string r;
    while (std::getline(in, r) && r != "PRJ_STEPS:") {
    }
    size_t k = 0;
    while (std::getline(in, r)) {
        unsigned v[7] = {};
        if (std::sscanf(r.c_str(), "%u,%u,%u,%u,%u,%u,%u", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]) < 6)
            continue;
        // Records hold X, Y, R, H, C in words, then kV and mA in bytes.
        const unsigned record[7] = {v[0], v[1], v[2], v[6], v[3], v[4], v[5]};
        for (size_t c = 0; c < 7; ++c)
            EXPECT_EQ(u(1265 + 12 * k + (c < 5 ? 2 * c : 5 + c), c < 5 ? 2 : 1), record[c]) << k << "," << c;
        ++k;
    }
    EXPECT_GT(k, 100u);
    EXPECT_EQ(u(1263, 2), k);
}

TEST(Conversione, IlNostroBuilderRifiutaCiòCheNonSaLeggere)
{
    const std::string buono = "PRJ_HEADER:\n\n[GROUP,TYPE]=0,3\n[VERSION]=21\n[PAN_KEYB_POS]=1\n[BITE_BLOCK_CONF]=2\n"
                              "[APS_RANGE]=2,9\n[INI_AXES_POS]=20,-20,-80\n[MIN_AXES_POS]=20,-20,-80\n"
                              "[MAX_AXES_POS]=20,-20,-80\n[Y_AXIS_CORR_LEN]=7\n[Y_AXIS_CORR_MIN]=0\n[Y_AXIS_CORR_MAX]=0\n"
                              "[Y_AXIS_OPEN_MOUTH]=0\n[X_AXIS_CORR_FACT]=3\n[SUB_IMGS_NUM]=1\n\nSUB_IMGS_INFO:\n\n"
                              "[VERT_MAGNI_FACT]=1250000\n[HORZ_MAGNI_FACT]=1250000\n[LR_IMG_NOTE]=2\n[IMG_COLS_NUM]=4\n"
                              "[IMG_MARGINS]=60,20,3,4\n\nPRJ_STEPS:\n\n1,2,3,3,60,5\n32769,0,0,0,0,0\n";
    std::string troppi = buono;
    for (int i = 0; i < 3000; ++i)
        troppi += "0,0,0,0,0,0\n";
    const struct {
        std::string da, a, motivo;
    } casi[] = {{"PRJ_HEADER:", "PRJ_HEAD:", "line 1: the file does not begin"},
                {"[VERSION]=21", "[VERSION]=21,1", "line 4: [VERSION] needs 1"},
                {"[VERSION]=21", "[VERSION]=2x", "[VERSION] needs 1"},
                {"[VERSION]=21", "[VERSION]=300", "does not fit its field"},
                {"[APS_RANGE]=2,9\n", "", "lacks [APS_RANGE]"},
                {"[APS_RANGE]=2,9\n", "[APS_RANGE]=2,9\n[APS_RANGE]=2,9\n", "line 8: [APS_RANGE] stands twice"},
                {"[X_AXIS", "[RES_AXES_POS]=1,2,3\n[X_AXIS", "line 15: not a header line"},
                {"[X_AXIS", "[STF_ON]=1\n[X_AXIS", "not cephalometric"},
                {"[GROUP,TYPE]=0", "[GROUP,TYPE]=3", "lacks [STF_ON]"},
                {"[SUB_IMGS_NUM]=1", "[SUB_IMGS_NUM]=2", "fewer sub-image blocks"},
                {"[SUB_IMGS_NUM]=1", "[SUB_IMGS_NUM]=31", "between 0 and 30"},
                {"[SUB_IMGS_NUM]=1", "[SUB_IMGS_NUM]=0", "line 20: more sub-image blocks"},
                {"=1250000\n[LR", "=1250001\n[LR", "magnification differ"},
                {"60,20,3,4", "60,20,3", "expected [IMG_MARGINS] with 4"},
                {"PRJ_STEPS:\n\n1,2,3,3,60,5\n32769,0,0,0,0,0\n", "", "ends before PRJ_STEPS:"},
                {"1,2,3,3,60,5", "1,2,3,3,60", "line 28: a step line needs six or seven"},
                {"32769,0,0,0,0,0", "32769,0,0,0,0,0,0", "needs 6 integers like"},
                {"32769,0,0,0,0,0", "32769,0,0,0,0", "line 29: a step line needs 6"},
                {"32769,0,0", "65536,0,0", "line 29: a step word does not fit"},
                {"3,60,5", "3,256,5", "a step word does not fit"},
                {"1,2,3,3", "99999999999,2,3,3", "six or seven"},
                {buono, troppi, "line 3028: more than 3000 steps"},
                {buono, "", "does not begin with PRJ_HEADER:"}};
    const std::string dir = CartellaTemporanea("conversione-rifiuti");
    for (const auto& c : casi) {
        std::string testo = buono;
        testo.replace(testo.find(c.da), c.da.size(), c.a);
        std::ofstream(dir + "in.x.dat") << testo;
        const auto [r, errore] = Converti(dir + "in.x.dat");
        EXPECT_EQ(r, 0) << c.motivo;
        EXPECT_EQ(errore.rfind(Msg(145) + "\n", 0), 0u) << errore;
        EXPECT_NE(errore.find(c.motivo), std::string::npos) << errore;
        EXPECT_FALSE(fs::exists(dir + "out.x.dat")) << c.motivo;
    }

    // Windows line ends are read; unset flags count as set; the unit rests where the exam starts.
    std::string crlf;
    for (char ch : buono)
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    std::ofstream(dir + "in.x.dat") << crlf;
    ASSERT_EQ(Converti(dir + "in.x.dat").first, 1);
    const std::string b = Leggi(dir + "out.x.dat");
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
