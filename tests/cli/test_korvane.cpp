#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>

#include <algorithm>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "resources/Messaggi.h"
#include "support/DanniProgetto.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"

namespace {

struct Esito {
    int codice = -1;
    std::string uscita;
};

// Runs the installed-in-tree command with its standard error folded into the output.
Esito Esegui(const std::string& argomenti, const std::string& prima = "")
{
    const std::string comando = prima + std::string(KORVANE_BIN_DIR) + "/korvane " + argomenti + " 2>&1";
    Esito e;
    FILE* p = popen(comando.c_str(), "r");
    if (p == nullptr)
        return e;
    char riga[4096];
    while (std::fgets(riga, sizeof riga, p) != nullptr)
        e.uscita += riga;
    const int stato = pclose(p);
    e.codice = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
    return e;
}

// Runs a command that must succeed and gives its JSON output (null when it failed).
nlohmann::json Json(const std::string& argomenti)
{
    const Esito e = Esegui(argomenti);
    EXPECT_EQ(e.codice, 0) << argomenti << "\n" << e.uscita;
    return e.codice == 0 ? nlohmann::json::parse(e.uscita) : nlohmann::json();
}

std::string Macchina() { return std::string(KORVANE_SOURCE_DIR) + "/examples/MachinesParameters.ini"; }

// An example project copied into `dir` under `nome` with its machine file, one line changed; gives the
// project's name.
std::string CopiaProgetto(const std::string& dir, const std::string& esempio, const std::string& nome,
                          const std::string& da = "", const std::string& a = "")
{
    const std::string sorgente = std::string(KORVANE_SOURCE_DIR) + "/examples/projects/" + esempio;
    const std::string testo = LeggiFile(sorgente + ".trg");
    ScriviFile(dir + nome + ".trg", da.empty() ? testo : Sostituisci(testo, da, a));
    ScriviFile(dir + nome + "_MP.ini", LeggiFile(sorgente + "_MP.ini"));
    return dir + nome + ".trg";
}

std::vector<std::string> Nomi(const std::string& cartella)
{
    std::vector<std::string> nomi;
    for (const auto& v : std::filesystem::directory_iterator(cartella))
        nomi.push_back(v.path().filename().string());
    std::sort(nomi.begin(), nomi.end());
    return nomi;
}

}  // namespace

TEST(Korvane, Cb3dScriveBufferEStatiEInspectLiRilegge)
{
    const std::string out = CartellaTemporanea("cli-cb3d");
    const auto j = Json("cb3d --machine " + Macchina() + " --out " + out + " --json");
    EXPECT_GT(j["steps"].get<int>(), 500);
    EXPECT_EQ(j["anti_collision"].get<std::string>().rfind("passed", 0), 0u);
    for (const char* asse : {"X", "Y", "R", "H"})
        EXPECT_LE(j["axes"][asse]["max_velocity"].get<double>(), j["axes"][asse]["limit_velocity"].get<double>()) << asse;
    EXPECT_EQ(std::filesystem::file_size(out + "scan.bin"), 37293u);
    const std::string csv = LeggiFile(out + "axes.csv");
    EXPECT_EQ(csv.rfind("t_s,x_mm,y_mm,r_deg,h_mm,", 0), 0u);
    EXPECT_EQ(static_cast<int>(std::count(csv.begin(), csv.end(), '\n')), j["steps"].get<int>() + 2);

    const auto k = Json("inspect " + out + "scan.bin --json");
    EXPECT_EQ(nlohmann::json({k["crc"]["valid"], k["header"]["version"], k["header"]["group"], k["steps"]}),
              nlohmann::json({true, 21, 5, j["steps"]}));
    // The scan ends at the deceleration rest point, 0.2 degree inside the R range.
    EXPECT_NEAR(k["end_position"][2].get<double>(), 199.8, 0.01);
}

TEST(Korvane, MoveEMacchina)
{
    const std::string out = CartellaTemporanea("cli-move");
    Esito e = Esegui("move --machine " + Macchina() + " --from -40,22,-150,0 --to 10,0,-120,0 --out " + out);
    ASSERT_EQ(e.codice, 0) << e.uscita;
    EXPECT_NE(e.uscita.find("anti-collision: passed"), std::string::npos) << e.uscita;
    EXPECT_EQ(Json("machine " + Macchina() + " --json")["general"]["time_step_s"].get<double>(), 0.02);
    e = Esegui("machine --example " + out + "copia.ini");
    ASSERT_EQ(e.codice, 0) << e.uscita;
    EXPECT_EQ(LeggiFile(out + "copia.ini"), LeggiFile(Macchina()));
}

TEST(Korvane, IngressiCattiviNonFannoCadere)
{
    const std::string dir = CartellaTemporanea("cli-cattivi");
    const std::string buono = LeggiFile(Macchina());
    ScriviFile(dir + "corta.ini", buono.substr(0, buono.size() / 2));
    ScriviFile(dir + "zero.ini", Sostituisci(buono, "Passo temporale s = 0.020000", "Passo temporale s = 0.000000"));
    // A step no scan is long enough for: the machine's own check takes it.
    ScriviFile(dir + "lungo.ini", Sostituisci(buono, "Passo temporale s = 0.020000", "Passo temporale s = 1e9"));
    ScriviFile(dir + "piccolo.bin", std::string(100, '\0'));
    std::string corrotto(37293, '\0');
    corrotto[0] = 21;
    ScriviFile(dir + "crc.bin", corrotto);
    std::string troppi(37293, '\0');
    troppi[1263] = static_cast<char>(0xFF);
    troppi[1264] = static_cast<char>(0xFF);
    ScriviFile(dir + "troppi.bin", troppi);

    const struct { std::string argomenti; int codice; } casi[] = {
        {"", 2}, {"cb3d --machine " + dir + "manca.ini", 2}, {"cb3d --machine " + dir + "corta.ini", 2},
        {"cb3d --machine " + dir + "zero.ini", 2}, {"cb3d --machine " + Macchina() + " --head " + dir + "manca.csv", 2},
        {"move --from 1,2,3 --to 1,2,3,4", 2}, {"inspect " + dir + "manca.bin", 2}, {"inspect " + dir + "crc.bin", 2},
        {"inspect " + dir + "piccolo.bin", 2}, {"inspect " + dir + "troppi.bin", 2},
        {"machine " + dir + "corta.ini", 2}, {"machine " + dir + "zero.ini", 1}, {"machine " + dir + "lungo.ini", 1},
        {"cb3d --machine " + dir + "lungo.ini --out " + dir + "x", 2}, {"ceph --machine " + dir + "lungo.ini --out " + dir + "x", 2},
        // A start at 100 mm/s needs the X word 40960: refused, not wrapped into a backward speed.
        {"move --machine " + Macchina() + " --from 0,22,-150,0,100,0,0,0 --to 40,22,-150,0 --out " + dir + "m", 1},
        {"cb3d --machine " + Macchina() + " --time -5 --out " + dir + "x", 1},
    };
    for (const auto& c : casi) {
        const Esito e = Esegui(c.argomenti);
        EXPECT_EQ(e.codice, c.codice) << c.argomenti << "\n" << e.uscita;
    }
}

// The library's own words reach the user: a refusal exits 1, a warning leaves the exit code 0.
TEST(Korvane, MessaggiDellaLibreria)
{
    const std::string dir = CartellaTemporanea("cli-messaggi");
    CLimitiEParametri m = MacchinaEsempio();
    m.AsseR.PosMin = -170.0, m.AsseR.PosMax = 180.0;  // R cannot turn a full circle
    ASSERT_TRUE(m.ScriviSuFile(StringaDaUtf8(dir + "stretta.ini"), 0));
    m = MacchinaEsempio();
    m.AsseX.MaxVel = 100;
    m.AsseH.MaxVel = 0.001;
    ASSERT_TRUE(m.ScriviSuFile(StringaDaUtf8(dir + "parole.ini"), 0));
    const struct { std::string argomenti; int codice; const char* messaggio; } casi[] = {
        {"cb3d --machine " + dir + "stretta.ini --out " + dir + "out", 1,
         "It is not possible to run a 360 degrees trajectory on this machine"},
        {"ceph --machine " + Macchina() + " --out " + dir + "out --h-from 50 --h-to 50", 1,
         "scan time of at least one step"},
        {"machine " + dir + "parole.ini", 0, "warning: X: \"Max Vel\" needs the word 40960"},
        {"machine " + dir + "parole.ini", 0, "warning: H: \"Max Vel\" rounds to a word of 0"},
    };
    for (const auto& c : casi) {
        const Esito e = Esegui(c.argomenti);
        EXPECT_EQ(e.codice, c.codice) << c.argomenti << "\n" << e.uscita;
        EXPECT_NE(e.uscita.find(c.messaggio), std::string::npos) << c.argomenti << "\n" << e.uscita;
    }
}

TEST(Korvane, NomiEOpzioniCattiviDannoUscita2ENessunFile)
{
    const std::string dir = CartellaTemporanea("cli-uscita2");
    std::filesystem::create_symlink(dir + "l1", dir + "l2");
    std::filesystem::create_symlink(dir + "l2", dir + "l1");
    // A FIFO nobody writes into would hold a reader forever.
    ASSERT_EQ(mkfifo((dir + "fifo").c_str(), 0600), 0);
    std::filesystem::resize_file((ScriviFile(dir + "grande.bin", ""), dir + "grande.bin"), 10 << 20);
    const std::string cb3d = "cb3d --machine " + Macchina() + " --out " + dir + "vuota ";
    const std::string move = "move --machine " + Macchina() + " --out " + dir + "vuota ";
    const std::string ceph = "ceph --machine " + Macchina() + " --out " + dir + "vuota ";
    const struct { std::string argomenti; const char* messaggio; } casi[] = {
        {"machine " + std::string(256, 'a'), "File name too long"},
        {"cb3d --machine " + dir + "l1", "Too many levels of symbolic links"},
        {"machine --example /dev/full", "not a regular file"}, {"machine --example /proc/m.ini", "cannot write"},
        {"machine --example " + dir + "fifo/m.ini", "cannot make the folder"}, {"machine " + Macchina() + " >/dev/full", ""},
        {"cb3d --machine " + Macchina() + " --out /dev/full", "Not a directory"},
        {cb3d + "--ma-lat -1", "not in range"}, {cb3d + "--projection 65536", "not in range"},
        {cb3d + "--time nan", "not a finite number"}, {cb3d + "--radius 1e39", "not a finite number"},
        {cb3d + "--exit 0,0,inf,0", "not a finite number"},
        {move + "--from 0,0,-150,0,-nan,0,0,0 --to 0,0,-150,0", "not a finite number"},
        {move + "--from 0,0,-150,0 --to 0,0,-150,0 --max-acc 100.5", "not in range"},
        {ceph + "--kv -1", "not in [0, 100] %"}, {ceph + "--kv 2147483647", "not in [0, 100] %"},
        {ceph + "--time nan", "not in (0, 600] s"}, {ceph + "--time inf", "not in"},
        {ceph + "--time 1e308", "not a number of the member's type"},
        {ceph + "--sid 0", "not in (0, 10000] mm"}, {cb3d + "--time ''", "not a finite number"},
        {"machine " + dir + "fifo", "not a regular file"}, {"inspect " + dir + "fifo", "not a regular file"},
        {cb3d + "--head " + dir + "fifo", "not a regular file"}, {"inspect " + dir + "grande.bin", "10485760 bytes"},
    };
    for (const auto& c : casi) {
        const Esito e = Esegui(c.argomenti);
        EXPECT_EQ(e.codice, 2) << c.argomenti << "\n" << e.uscita;
        EXPECT_NE(e.uscita.find(c.messaggio), std::string::npos) << c.argomenti << "\n" << e.uscita;
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "vuota"));

    // A disk that fills up mid-file leaves the earlier run's files whole and no temporary beside them.
    ASSERT_EQ(Esegui(cb3d).codice, 0);
    const std::string scan = LeggiFile(dir + "vuota/scan.bin");
    const Esito pieno = Esegui(cb3d + "--projection 7", "ulimit -f 20; ");
    EXPECT_EQ(pieno.codice, 2) << pieno.uscita;
    EXPECT_NE(pieno.uscita.find("File too large"), std::string::npos) << pieno.uscita;
    EXPECT_EQ(LeggiFile(dir + "vuota/scan.bin"), scan);
    const auto voci = std::filesystem::directory_iterator(dir + "vuota");
    EXPECT_EQ(std::distance(begin(voci), end(voci)), 2);
}

TEST(Korvane, NomiNonUtf8)
{
    // Latin-1 bytes in a machine name, and an output folder whose name is not UTF-8.
    const std::string dir = CartellaTemporanea("cli-utf8");
    CLimitiEParametri m = MacchinaEsempio();
    m.NomeMacchina = L"Unit\u00e9";
    ASSERT_TRUE(m.ScriviSuFile(StringaDaUtf8(dir + "m.ini"), 0));
    EXPECT_EQ(Json("machine " + dir + "m.ini --json")["name"], "Unit\u00e9");
    const std::string out = dir + "o\xff";
    EXPECT_EQ(Json("cb3d --machine " + Macchina() + " --out " + out + " --json")["files"].size(), 2u);
    EXPECT_EQ(Nomi(out), (std::vector<std::string>{"axes.csv", "scan.bin"}));
}

TEST(Korvane, CephScriveIPassiEGliStati)
{
    const std::string out = CartellaTemporanea("cli-ceph");
    const auto j = Json("ceph --machine " + Macchina() + " --out " + out + " --json");
    EXPECT_EQ(j["steps"].get<int>(), 250);
    EXPECT_NEAR(j["cephalometric"]["magnification_mean"].get<double>(), 1.11, 1e-6);
    const std::string passi = LeggiFile(out + "steps.csv"), assi = LeggiFile(out + "axes.csv");
    EXPECT_EQ(std::count(passi.begin(), passi.end(), '\n'), 250);
    EXPECT_EQ(std::count(assi.begin(), assi.end(), '\n'), 252);
}

TEST(Korvane, PanCalcolaLEsameDiEsempioORifiuta)
{
    const std::string dir = CartellaTemporanea("cli-pan");
    const struct { std::string argomenti; int codice; std::string atteso; } casi[] = {
        {"", 0, "steps: 700, duration: 14.000 s"},  // no arguments: the example exam into out/pan
        {"--two-axis --reverse --asymmetric --no-head --json", 0, "\"anti_collision\": \"skipped (--no-head)\""},
        {"--type 1 --time 12", 0, "panoramic: type 1, symmetric, one axis, forward, 223 points, scan time 12.000 s"},
        {"--time 0", 2, "--time"},
    };
    for (const auto& c : casi) {
        const Esito e = Esegui("pan " + (c.argomenti.empty() ? "" : "--out " + dir + "altro " + c.argomenti), "cd " + dir + " && ");
        EXPECT_EQ(e.codice, c.codice) << c.argomenti << "\n" << e.uscita;
        EXPECT_NE(e.uscita.find(c.atteso), std::string::npos) << c.argomenti << "\n" << e.uscita;
    }
    const std::string passi = LeggiFile(dir + "out/pan/steps.csv"), geometria = LeggiFile(dir + "out/pan/geometry.csv");
    EXPECT_TRUE(std::count(passi.begin(), passi.end(), '\n') == 700 && std::count(geometria.begin(), geometria.end(), '\n') == 224);
}

TEST(Korvane, LinearScriveIPassiControllaLaTestaORifiuta)
{
    const std::string out = CartellaTemporanea("cli-linear");
    const auto j = Json("linear --machine " + Macchina() + " --out " + out + " --json");
    EXPECT_TRUE(j["steps"] == 160 && j["linear"]["r_range_deg"].size() == 2u) << j;
    // A head that fills the machine: the scan is still written, and the summary and exit code say so.
    ScriviFile(out + "testa.csv", "-3000,-3000\n3000,-3000\n0,3000\n");
    const Esito e = Esegui("linear --out " + out + " --head " + out + "testa.csv");
    EXPECT_TRUE(e.codice == 1 && e.uscita.find("anti-collision: FAILED") != std::string::npos &&
                e.uscita.find("korvane: This section causes a collision") != std::string::npos) << e.uscita;
    const std::string passi = LeggiFile(out + "steps.csv");
    EXPECT_EQ(std::count(passi.begin(), passi.end(), '\n'), 160);
    EXPECT_EQ(Esegui("linear --out " + out + " --length 0").codice, 2);
}

TEST(Korvane, DatScriveIFileDelTipoDUscitaEInspectLiRilegge)
{
    const std::string dir = CartellaTemporanea("cli-dat");
    const std::vector<std::string> csv = {"exam.csv", "exam_P0.csv", "exam_SH.csv"};
    const struct { std::string argomenti; std::vector<std::string> file; /* besides the three CSVs */ } casi[] = {
        {"--example pan --output-type 0 --convert",
         {"in.pan_dx.obj_pan_std_36_9s_2_9_v021.dat", "in.pan_dx_collim.obj_pan_std_36_9s_2_9_v021.dat",
          "out.pan_dx.obj_pan_std_36_9s_2_9_v021.dat", "out.pan_dx_collim.obj_pan_std_36_9s_2_9_v021.dat"}},
        // Group 3 has no plain old-dialect name: only the collimated file is written.
        {"--example ceph --output-type 1 --type 4 --exam-version 22",
         {"in.ceph_dx_sx.obj_ceph_ll_short_06s_v022.bin", "in.ceph_dx_sx.obj_ceph_ll_short_06s_v022.dat"}},
        {"--example cb3d --aps 1,7 --lut",
         {"4.0.7.21_FT.LUT", "4.0.7.21_TX.LUT", "4.0.7.21_TY.LUT", "4.0.7.21_X.LUT", "4.0.7.21_Y.LUT",
          "pan_dx.obj_3D_1_7_v021_i.dat", "pan_dx.obj_3D_1_7_v021_i.txt"}},
        {"--csv " + dir + "0/exam.csv --group 1 --type 9",
         {"pan_dx.obj_tmj_lat_2_9_v021_i.dat", "pan_dx.obj_tmj_lat_2_9_v021_i.txt"}},
    };
    for (size_t i = 0; i < std::size(casi); ++i) {
        const std::string out = dir + std::to_string(i);
        const auto j = Json("dat --machine " + Macchina() + " --out " + out + " --json " + casi[i].argomenti);
        std::vector<std::string> attesi = casi[i].file;
        attesi.insert(attesi.end(), csv.begin(), csv.end());
        std::sort(attesi.begin(), attesi.end());
        EXPECT_EQ(Nomi(out), attesi) << casi[i].argomenti;
        EXPECT_EQ(j["files"].size(), attesi.size());
        int p0[5] = {};
        ASSERT_EQ(std::sscanf(LeggiFile(out + "/exam_P0.csv").c_str(), "%d,%d,%d,%d,%d", &p0[0], &p0[1], &p0[2], &p0[3],
                              &p0[4]), 5);
        for (const std::string& f : casi[i].file) {
            if (!f.ends_with(".bin") && !f.ends_with("_i.dat") && !f.starts_with("out."))
                continue;
            // Images decode with a valid CRC over the full layout and start where the path starts.
            const auto h = Json("inspect --json " + out + "/" + f);
            EXPECT_EQ(h["header"]["start_steps"], nlohmann::json({p0[0], p0[1], p0[2], p0[4]})) << f;
            EXPECT_EQ(h["image"], f.starts_with("out.") ? "step buffer" : "projection file") << f;
            EXPECT_EQ(h["sub_images"].size(), 1u) << f;
            EXPECT_GE(h["steps"].get<int>(), j["steps"].get<int>()) << f;
        }
    }
    // A damaged image: one byte short is no image, one step word changed fails the CRC.
    const std::string img = LeggiFile(dir + "2/pan_dx.obj_3D_1_7_v021_i.dat");
    ScriviFile(dir + "corta.dat", img.substr(0, img.size() - 1));
    std::string cambiata = img;
    cambiata[153 + 37 + 2 + 4] ^= 1;  // the first step's R word
    ScriviFile(dir + "cambiata.dat", cambiata);
    EXPECT_EQ(Esegui("inspect " + dir + "corta.dat").codice, 2);
    EXPECT_NE(Esegui("inspect " + dir + "cambiata.dat").uscita.find("CRC does not match"), std::string::npos);
}

TEST(Korvane, DatRifiutaSenzaToccareIFilePrecedenti)
{
    const std::string dir = CartellaTemporanea("cli-dat-rifiuti");
    const std::string dat = "dat --machine " + Macchina() + " --out " + dir + "out ";
    ASSERT_EQ(Esegui(dat + "--example cb3d").codice, 0);
    const std::vector<std::string> prima = Nomi(dir + "out");
    // 3001 steps at rest: more than an image holds.
    std::string passi;
    for (int i = 0; i < 3001; ++i)
        passi += "0,0,0,0,0,0\n";
    ScriviFile(dir + "lunga.csv", passi);
    ScriviFile(dir + "lunga_P0.csv", "0,0,0,0\n");
    ScriviFile(dir + "vuota.csv", "x\n");
    ScriviFile(dir + "vuota_P0.csv", "0,0,0,0\n");
    const struct { std::string argomenti; int codice; } casi[] = {
        {"", 2}, {"--example pan --csv " + dir + "lunga.csv", 2}, {"--example tmj", 2}, {"--example pan --aps 1", 2},
        {"--example pan --output-type 3", 2}, {"--example pan --convert", 2}, {"--csv " + dir + "manca.csv", 2},
        {"--csv " + dir + "vuota.csv", 2}, {"--example pan --out /proc/korvane", 2}, {"--csv " + dir + "lunga.csv", 1}};
    for (const auto& c : casi) {
        const Esito e = Esegui(dat + c.argomenti);
        EXPECT_EQ(e.codice, c.codice) << c.argomenti << "\n" << e.uscita;
        EXPECT_TRUE(c.codice != 1 || e.uscita.find(StringaAUtf8(TestoMessaggio(MSG_PASSI_OLTRE_3000))) != std::string::npos);
    }
    EXPECT_EQ(Nomi(dir + "out"), prima);
}

// A project made, edited (a bad assignment changes nothing) and saved with its projection files.
TEST(Korvane, EsameNuovoMostraImpostaSalva)
{
    const std::string dir = CartellaTemporanea("cli-esame");
    const std::string trg = dir + "ceph.trg";
    ASSERT_EQ(Esegui("exam new ceph --out " + trg).codice, 0);
    const auto j = Json("exam show " + trg + " --json");
    EXPECT_TRUE(j["continuous"] == true && j["sections"].size() == 3u && j["sections"][1]["kind"] == "cephalometric" &&
                j["sections"][1]["steps"] == 250) << j;

    const std::string prima = LeggiFile(trg);
    // Values outside what a member is meant for, and reals the file cannot keep, change nothing.
    for (const char* cattiva : {"1.Bogus=1", "1.TempoScansionesCef=abc", "0.TempoScansionesCef=4", "7.Nome=x",
                                "1.KVaRegimeCef=1e99", "1.TempoScansionesCef=4 1.Nome=", "0.MaxAccPercento=1e308",
                                "0.MaxAccPercento=0", "1.TipoCurva=1", "1.TipoCurva=5", "1.CreaRampaSTF=2",
                                "1.TempoScansionesCef=inf", "1.TempoScansionesCef=0", "0.TipoRaccordo=2",
                                "0.GestioneRaggi=-1", "1.KVaRegimeCef=101", "1.TempoScansionesCef=5.1234567",
                                "1.Nome=\\ x", "1.Nome=\xe2\x82\xac", "0.TempoRaccordos=-0.02"}) {
        const Esito e = Esegui("exam set " + trg + " " + cattiva);
        EXPECT_TRUE(e.codice == 2 && e.uscita.find("korvane: ") != std::string::npos) << cattiva << "\n" << e.uscita;
        EXPECT_EQ(LeggiFile(trg), prima) << cattiva;
    }
    ASSERT_EQ(Esegui("exam set " + trg + " 1.TempoScansionesCef=6 0.MaxAccPercento=70").codice, 0);
    EXPECT_NE(LeggiFile(trg).find("Tempo Scansione s = 6.000000"), std::string::npos);
    const auto scritti = Json("exam save " + trg + " --dat --output-type 2 --json")["files"];
    EXPECT_TRUE(std::any_of(scritti.begin(), scritti.end(),
                            [](const nlohmann::json& f) { return f.get<std::string>().ends_with("_i.txt"); }));
}

TEST(Korvane, DatEInspectLeggonoUnProgetto)
{
    const std::string dir = CartellaTemporanea("cli-progetto");
    ASSERT_EQ(Esegui("exam new linear --out " + dir + "lin.trg").codice, 0);
    const auto scritti = Json("dat --project " + dir + "lin.trg --out " + dir + "out --json")["files"];
    EXPECT_TRUE(std::any_of(scritti.begin(), scritti.end(),
                            [](const nlohmann::json& f) { return f.get<std::string>().ends_with("_i.dat"); }));
    EXPECT_EQ(Json("inspect " + dir + "lin.trg --json")["sections"][1]["kind"], "linear");
    EXPECT_EQ(Esegui("dat --project " + dir + "manca.trg --out " + dir + "out").codice, 2);
}

// A load that met a damaged line shows what it read but is never used or saved back: every command
// names the line and exits 1, and the project stays byte for byte as it was.
TEST(Korvane, ProgettoDanneggiatoNominaLaRigaENonSiRiscrive)
{
    const std::string dir = CartellaTemporanea("cli-danneggiato");
    const std::string pan = CopiaProgetto(dir, "pan", "pan", "Ingrandimento     = 1.270000", "Ingrandimento     = x1.27");
    const std::string lin = CopiaProgetto(dir, "linear", "lin", "\n1 Traiettorie in file .dat", "\n-1 Traiettorie in file .dat");
    const std::string riga67 = "pan.trg:67: damaged or missing line, expected \"Ingrandimento     = %f\"";
    const std::string riga42 = "lin.trg:42: damaged or missing line, expected \"%d Traiettorie in file .dat\"";
    const std::string primaPan = LeggiFile(pan), primaLin = LeggiFile(lin);
    const struct { std::string argomenti, riga; } casi[] = {
        {"exam show " + pan, riga67}, {"exam save " + pan + " --dat", riga67}, {"inspect " + pan, riga67},
        {"exam set " + pan + " 1.TempoScansiones=12", riga67}, {"dat --project " + pan + " --out " + dir + "out", riga67},
        {"exam set " + lin + " 1.TempoScansionesLin=4", riga42}, {"exam save " + lin, riga42}};
    for (const auto& c : casi) {
        const Esito e = Esegui(c.argomenti);
        EXPECT_TRUE(e.codice == 1 && e.uscita.find(c.riga) != std::string::npos) << c.argomenti << "\n" << e.uscita;
    }
    EXPECT_TRUE(LeggiFile(pan) == primaPan && LeggiFile(lin) == primaLin);
    EXPECT_FALSE(std::filesystem::exists(dir + "out"));
    const Esito e = Esegui("exam show --json " + pan);
    const auto j = nlohmann::json::parse(e.uscita.substr(0, e.uscita.rfind('}') + 1));
    EXPECT_EQ(nlohmann::json({j["sections"].size(), j["damaged_lines"][0]["line"], j["damaged_lines"].size()}),
              nlohmann::json({3, 67, 1}));

    // What is no project at all is an unreadable input.
    ScriviFile(dir + "vuoto.trg", "");
    ScriviFile(dir + "zeri.trg", std::string(4096, '\0'));
    ScriviFile(dir + "caso.trg", "\x8f\x13 garbage\n\xff\xfe\n[END]");
    for (const char* f : {"vuoto.trg", "zeri.trg", "caso.trg"}) {
        const Esito n = Esegui("exam show " + dir + f);
        EXPECT_TRUE(n.codice == 2 && n.uscita.find("not a project file") != std::string::npos) << f << n.uscita;
    }
}

// The damage table of the library, through the command: a sample of every example project's lines
// damaged each way (the library's own test takes every line). `exam save` and `exam set` name a
// damaged line and exit 1, and the project stays byte for byte as it was.
TEST(Korvane, ProgettiDanneggiatiNonSiSalvano)
{
    const std::string dir = CartellaTemporanea("cli-tabella-danni");
    int casi = 0;
    for (const char* tipo : {"pan", "linear", "ceph", "circular", "cb3d"}) {
        const std::string esempio = std::string(KORVANE_SOURCE_DIR "/examples/projects/") + tipo;
        std::filesystem::copy_file(esempio + "_MP.ini", dir + "p_MP.ini",
                                   std::filesystem::copy_options::overwrite_existing);
        const std::vector<std::string> righe = RigheDelTesto(LeggiFile(esempio + ".trg"));
        for (size_t i = 0; i < righe.size(); ++i)
            for (size_t k = 0; k < std::size(danni_progetto::DANNI); ++k) {
                const danni_progetto::Danno& d = danni_progetto::DANNI[k];
                const std::optional<std::string> guasta = d.riga(righe[i]);
                // Names are free text; one case in 23 keeps the run short.
                if (!guasta || righe[i].empty() || righe[i].rfind("Nome", 0) == 0 || (i * 7 + k) % 23 != 0)
                    continue;
                const std::string testo = danni_progetto::ConRigaDanneggiata(righe, i, d, *guasta);
                ScriviFile(dir + "p.trg", testo);
                for (const std::string& comando : {"exam save " + dir + "p.trg", "exam set " + dir + "p.trg 0.Nome=X"}) {
                    const Esito e = Esegui(comando);
                    EXPECT_TRUE(e.codice == 1 && e.uscita.find("p.trg:") != std::string::npos &&
                                LeggiFile(dir + "p.trg") == testo)
                        << tipo << ":" << i + 1 << " " << d.nome << ": " << comando << "\n" << e.uscita;
                }
                ++casi;
            }
    }
    EXPECT_GT(casi, 150);
}

// A section that does not compute is named and nothing is written: a two-axis linear block whose
// rotation turns back, as loaded and as set.
TEST(Korvane, SezioneCheNonSiCalcolaNonSiSalva)
{
    const std::string dir = CartellaTemporanea("cli-non-calcolata");
    const std::string due = CopiaProgetto(dir, "linear", "due", "Is 2 Assi         = 0", "Is 2 Assi         = 1");
    const std::string lin = CopiaProgetto(dir, "linear", "lin");
    const std::string primaDue = LeggiFile(due), primaLin = LeggiFile(lin);
    const std::string nominata = "section 1 (linear \"Linear 50 mm\"): The arm rotation is not monotone";
    for (const std::string& a : {"exam save " + due, "exam set " + lin + " 1.Is2Assi=1",
                                 "exam set " + due + " 1.TempoScansionesLin=4"}) {
        const Esito e = Esegui(a);
        EXPECT_TRUE(e.codice == 1 && e.uscita.find(nominata) != std::string::npos) << a << "\n" << e.uscita;
    }
    EXPECT_TRUE(LeggiFile(due) == primaDue && LeggiFile(lin) == primaLin);
    EXPECT_NE(Esegui("exam show " + due).uscita.find("anti-collision: not computed"), std::string::npos);
    // Set back to a variant that computes, the section is whole again.
    ASSERT_EQ(Esegui("exam set " + due + " 1.Is2Assi=0").codice, 0);
    EXPECT_EQ(LeggiFile(due), primaLin);
    EXPECT_TRUE(NessunProvvisorio(dir));
}

// Every file asked for is written, or the run says which was not and why and changes none.
TEST(Korvane, EsameNuovoESalvaControllanoOgniFile)
{
    const std::string dir = CartellaTemporanea("cli-uscite-esame");
    std::filesystem::create_directory(dir + "cartella.trg");
    std::filesystem::create_symlink("/dev/full", dir + "pieno.trg");
    std::filesystem::create_directory(dir + "csv.csv");
    const std::string lungo = dir + std::string(250, 'b');
    const struct { std::string argomenti, motivo; } casi[] = {
        {"new pan --out " + dir + "cartella.trg", "cartella.trg: not a regular file"},
        {"new pan --out " + dir + "pieno.trg", "pieno.trg: not a regular file"},
        {"new pan --out " + dir + "maiuscolo.TRG", "a project's name ends in .trg"},
        {"new pan --out " + dir + "senza", "a project's name ends in .trg"},
        {"new pan --out " + dir + "csv.trg", "csv.csv: not a regular file"},
        {"new pan --out " + lungo + ".trg", std::string(250, 'b') + "_P0.csv: File name too long"},
        {"new pan --out " + dir + "caf\xe9.trg", "is not UTF-8"}};
    for (const auto& c : casi) {
        const Esito e = Esegui("exam " + c.argomenti + " --json");
        EXPECT_TRUE(e.codice == 2 && e.uscita.find(c.motivo) != std::string::npos && e.uscita.find("saved") == std::string::npos)
            << c.argomenti << "\n" << e.uscita;
    }
    EXPECT_EQ(Nomi(dir), (std::vector<std::string>{"cartella.trg", "csv.csv", "pieno.trg"}));
    // A project whose CSV became a folder is not saved either; one in a folder not made yet makes it.
    const std::string csv = CopiaProgetto(dir, "ceph", "csv");
    EXPECT_EQ(Esegui("exam save " + csv).codice, 2);
    ASSERT_EQ(Esegui("exam new pan --out esame/pan.trg", "cd " + dir + " && ").codice, 0);
    EXPECT_EQ(Nomi(dir + "esame"), (std::vector<std::string>{"pan.csv", "pan.trg", "pan_MP.ini", "pan_P0.csv", "pan_SH.csv"}));
}

// One run at a time changes a project: a second one waits for it, or says the project is busy. What a
// killed run left behind is cleared away, unless a live run holds it.
TEST(Korvane, UnaSolaEsecuzioneCambiaIlProgetto)
{
    const std::string dir = CartellaTemporanea("cli-blocco");
    const std::string trg = CopiaProgetto(dir, "ceph", "ceph");
    const std::string prima = LeggiFile(trg);
    // Another holder keeps the project for 3 s; the second run waits it out.
    const Esito occupato = Esegui("exam set --wait 0 " + trg + " 1.TempoScansionesCef=6",
                                  "flock " + trg + " sleep 3 >/dev/null 2>&1 & sleep 0.5; ");
    EXPECT_TRUE(occupato.codice == 1 && occupato.uscita.find("is busy") != std::string::npos) << occupato.uscita;
    EXPECT_EQ(LeggiFile(trg), prima);
    EXPECT_EQ(Esegui("exam set --wait 20 " + trg + " 1.TempoScansionesCef=6").codice, 0);
    EXPECT_NE(LeggiFile(trg).find("Tempo Scansione s = 6.000000"), std::string::npos);

    for (const char* f : {".korvane-1-0.tmp", ".korvane-1-1.tmp"})
        ScriviFile(dir + f, "x");
    std::filesystem::create_directory(dir + ".korvane-exam-abcdef");
    ScriviFile(dir + ".korvane-exam-abcdef/ceph.trg", "x");
    const std::string vecchi = "touch -d '1 hour ago' " + dir + ".korvane-*; ";
    ASSERT_EQ(Esegui("exam set " + trg + " 1.TempoScansionesCef=5",
                     vecchi + "flock " + dir + ".korvane-1-1.tmp sleep 3 >/dev/null 2>&1 & sleep 0.5; ").codice, 0);
    EXPECT_EQ(Nomi(dir), (std::vector<std::string>{".korvane-1-1.tmp", "ceph.csv", "ceph.trg", "ceph_MP.ini",
                                                   "ceph_P0.csv", "ceph_SH.csv"}));
}

// R of the states file's row `k` (time, X, Y, R, ...).
double RDellaRiga(const std::string& csv, size_t k)
{
    double t = 0, x = 0, y = 0, r = 0;
    std::sscanf(RigheDelTesto(csv).at(k + 1).c_str(), "%lf,%lf,%lf,%lf", &t, &x, &y, &r);
    return r;
}

// Every direction choice is a flag that is off by default; `--reverse` turns the arm the other way.
TEST(Korvane, IVersiSonoBandiere)
{
    const std::string dir = CartellaTemporanea("cli-versi");
    for (const char* vecchia : {"cb3d --negative", "pan --inverse", "linear --invert-rotation 1", "linear --invert-sensor 0"})
        EXPECT_EQ(Esegui(std::string(vecchia) + " --out " + dir + "x").codice, 2) << vecchia;
    for (const char* comando : {"cb3d", "pan"}) {
        double verso[2] = {};
        for (int inverso = 0; inverso < 2; ++inverso) {
            const std::string out = dir + comando + std::to_string(inverso) + "/";
            ASSERT_EQ(Esegui(std::string(comando) + " --no-head --out " + out + (inverso ? " --reverse" : "")).codice, 0);
            const std::string csv = LeggiFile(out + "axes.csv");
            verso[inverso] = RDellaRiga(csv, RigheDelTesto(csv).size() / 2) - RDellaRiga(csv, RigheDelTesto(csv).size() / 2 - 20);
        }
        EXPECT_LT(verso[0] * verso[1], 0) << comando;
    }
    // X stays at 0 in the two-axis variant: the table says 0.000, never -0.000.
    const Esito due = Esegui("pan --two-axis --out " + dir + "due");
    EXPECT_TRUE(due.codice == 0 && due.uscita.find("0.000 .. 0.000") != std::string::npos &&
                due.uscita.find("-0.000") == std::string::npos) << due.uscita;
    // The sensor on the other side moves the rotation centres to the other side of the segment.
    ASSERT_EQ(Esegui("linear --out " + dir + "l0").codice, 0);
    ASSERT_EQ(Esegui("linear --other-sensor-side --no-head --out " + dir + "l1").codice, 0);
    EXPECT_NE(LeggiFile(dir + "l0/axes.csv"), LeggiFile(dir + "l1/axes.csv"));
}

// Members are listed per section kind with their labels, found by name or label, and a name that is
// none gets the nearest ones. The table agrees with the blocks the library writes.
TEST(Korvane, MembriPerNomeOEtichetta)
{
    const std::string dir = CartellaTemporanea("cli-membri");
    for (const auto& [tipo, esempio] : {std::pair{"pan", "pan"}, {"circular", "cb3d"}, {"linear", "linear"}, {"ceph", "ceph"}}) {
        std::set<std::string> nelFile, nellaTabella;
        bool blocco = false;
        for (const std::string& r : RigheDelTesto(LeggiFile(std::string(KORVANE_SOURCE_DIR "/examples/projects/") + esempio + ".trg"))) {
            blocco = r.starts_with("[PARAMETRI CURVA") || (blocco && !r.starts_with("["));
            if (const size_t u = r.rfind('='); blocco && u != std::string::npos && !r.starts_with("Versione"))
                nelFile.insert(r.substr(0, r.find_last_not_of(' ', u - 1) + 1));
        }
        const nlohmann::json membri = Json(std::string("exam members --json ") + tipo)["members"];
        for (const auto& m : membri)
            if (m["label"] != "Tipo Curva")
                nellaTabella.insert(m["label"].get<std::string>());
        EXPECT_EQ(nelFile, nellaTabella) << tipo;
    }
    const std::string trg = dir + "pan.trg";
    ASSERT_EQ(Esegui("exam new pan --out " + trg).codice, 0);
    const std::string prima = LeggiFile(trg);
    const struct { std::string assegnazione, messaggio; } cattive[] = {
        {"1.TempoScansione=15", "nearest: TempoScansiones (\"Tempo Scansione s\")"},
        {"1.TempoScansionesCirc=15", "section 1 has no member TempoScansionesCirc"},
        {"0.MaxAccPercentuale=50", "nearest: MaxAccPercento"},
    };
    for (const auto& c : cattive) {
        const Esito e = Esegui("exam set " + trg + " '" + c.assegnazione + "'");
        EXPECT_TRUE(e.codice == 2 && e.uscita.find(c.messaggio) != std::string::npos) << c.assegnazione << "\n" << e.uscita;
    }
    // Within the member's range, but the library then reports a limit: exit 1 with its message.
    const Esito limite = Esegui("exam set " + trg + " 1.TempoScansiones=3");
    EXPECT_TRUE(limite.codice == 1 && limite.uscita.find("over the limit") != std::string::npos) << limite.uscita;
    EXPECT_EQ(LeggiFile(trg), prima);
    ASSERT_EQ(Esegui("exam set " + trg + " '1.tempo scansione s = 15'").codice, 0);
    const auto j = Json("exam set --json " + trg);
    const auto membri = j["sections"][1]["members"];
    EXPECT_TRUE(std::any_of(membri.begin(), membri.end(), [](const nlohmann::json& m) {
        return m["name"] == "TempoScansiones" && m["value"] == "15.000000" && m["unit"] == "s" && m["values"] == "in (0, 600] s";
    })) << j;
    EXPECT_EQ(Esegui("exam members tmj").codice, 2);
}

// A machine file that does not read names the line and its label.
TEST(Korvane, MacchinaNominaLaRiga)
{
    const std::string dir = CartellaTemporanea("cli-macchina-riga");
    const std::string buono = LeggiFile(Macchina());
    ScriviFile(dir + "valore.ini", Sostituisci(buono, "Max Acc in mm/s2  = 200.000000\nPos Min in mm     = -80", "Max Acc in mm/s2  = 2x0\nPos Min in mm     = -80"));
    ScriviFile(dir + "manca.ini", Sostituisci(buono, "Max Acc in mm/s2  = 200.000000\nPos Min in mm     = -80", "Pos Min in mm     = -80"));
    const struct { std::string argomenti, riga; } casi[] = {
        {"machine " + dir + "valore.ini", "valore.ini:28: \"Max Acc in mm/s2\" holds \"2x0\", not a number"},
        {"cb3d --out " + dir + "x --machine " + dir + "valore.ini", "valore.ini:28: \"Max Acc in mm/s2\""},
        {"machine " + dir + "manca.ini", "manca.ini:28: expected \"Max Acc in mm/s2 = <number>\", found \"Pos Min in mm"},
    };
    for (const auto& c : casi) {
        const Esito e = Esegui(c.argomenti);
        EXPECT_TRUE(e.codice == 2 && e.uscita.find(c.riga) != std::string::npos) << c.argomenti << "\n" << e.uscita;
    }
}

// The studio is the Python package's: the command finds it beside itself and hands over its arguments.
TEST(Korvane, StudioAvviaIlPacchettoPython)
{
    const Esito aiuto = Esegui("studio --help");
    ASSERT_EQ(aiuto.codice, 0) << aiuto.uscita;
    EXPECT_NE(aiuto.uscita.find("--no-browser"), std::string::npos);
#ifndef KORVANE_CON_PYTHON
    GTEST_SKIP() << "the build has no Python package";
#else
    const std::string dir = CartellaTemporanea("cli-studio");
    // The shell's pid is the command's after exec, and the interpreter's after the command's exec.
    FILE* p = popen(("echo $$; exec " + std::string(KORVANE_BIN_DIR) + "/korvane studio --no-browser " + dir + " 2>&1").c_str(), "r");
    ASSERT_NE(p, nullptr);
    char riga[4096];
    ASSERT_NE(std::fgets(riga, sizeof riga, p), nullptr);
    const int pid = std::stoi(riga);
    std::string prima;
    if (std::fgets(riga, sizeof riga, p) != nullptr)
        prima = riga;
    kill(pid, SIGTERM);
    pclose(p);
    EXPECT_NE(prima.find("Korvane Studio for"), std::string::npos) << prima;
    EXPECT_NE(prima.find("?token="), std::string::npos) << prima;
#endif
}
