#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "support/MacchinaEsempio.h"

namespace {

struct Esito {
    int codice = -1;
    std::string uscita;
};

// Runs the installed-in-tree command with its standard error folded into the output.
Esito Esegui(const std::string& argomenti)
{
    const std::string comando = std::string(KORVANE_BIN_DIR) + "/korvane " + argomenti + " 2>&1";
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

std::string Macchina()
{
    return std::string(KORVANE_SOURCE_DIR) + "/examples/MachinesParameters.ini";
}

void ScriviFile(const std::string& nome, const std::string& contenuto)
{
    std::ofstream(nome, std::ios::binary) << contenuto;
}

std::string LeggiFile(const std::string& nome)
{
    std::ifstream f(nome, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(Korvane, Cb3dScriveBufferEStatiEInspectLiRilegge)
{
    const std::string out = CartellaTemporanea("cli-cb3d");
    const Esito e = Esegui("cb3d --machine " + Macchina() + " --out " + out + " --json");
    ASSERT_EQ(e.codice, 0) << e.uscita;
    const auto j = nlohmann::json::parse(e.uscita);
    EXPECT_GT(j["steps"].get<int>(), 500);
    EXPECT_EQ(j["anti_collision"].get<std::string>().rfind("passed", 0), 0u);
    for (const char* asse : {"X", "Y", "R", "H"})
        EXPECT_LE(j["axes"][asse]["max_velocity"].get<double>(), j["axes"][asse]["velocity_limit"].get<double>()) << asse;
    EXPECT_EQ(std::filesystem::file_size(out + "scan.bin"), 37293u);
    const std::string csv = LeggiFile(out + "assi.csv");
    EXPECT_EQ(csv.rfind("t_s,x_mm,y_mm,r_deg,h_mm,", 0), 0u);
    EXPECT_EQ(static_cast<int>(std::count(csv.begin(), csv.end(), '\n')), j["steps"].get<int>() + 2);

    const Esito ispezione = Esegui("inspect " + out + "scan.bin --json");
    ASSERT_EQ(ispezione.codice, 0) << ispezione.uscita;
    const auto k = nlohmann::json::parse(ispezione.uscita);
    EXPECT_TRUE(k["crc"]["valid"].get<bool>());
    EXPECT_EQ(k["header"]["version"].get<int>(), 21);
    EXPECT_EQ(k["header"]["group"].get<int>(), 5);
    EXPECT_EQ(k["steps"].get<int>(), j["steps"].get<int>());
    // The scan ends at the deceleration rest point, 0.2 degree inside the R range.
    EXPECT_NEAR(k["end_position"][2].get<double>(), 199.8, 0.01);
}

TEST(Korvane, MoveEMacchina)
{
    const std::string out = CartellaTemporanea("cli-move");
    Esito e = Esegui("move --machine " + Macchina() + " --from -40,22,-150,0 --to 10,0,-120,0 --out " + out);
    ASSERT_EQ(e.codice, 0) << e.uscita;
    EXPECT_NE(e.uscita.find("anti-collision: passed"), std::string::npos) << e.uscita;
    e = Esegui("machine " + Macchina() + " --json");
    ASSERT_EQ(e.codice, 0) << e.uscita;
    EXPECT_EQ(nlohmann::json::parse(e.uscita)["general"]["time_step_s"].get<double>(), 0.02);
    e = Esegui("machine --example " + out + "copia.ini");
    ASSERT_EQ(e.codice, 0) << e.uscita;
    EXPECT_EQ(LeggiFile(out + "copia.ini"), LeggiFile(Macchina()));
}

TEST(Korvane, IngressiCattiviNonFannoCadere)
{
    const std::string dir = CartellaTemporanea("cli-cattivi");
    const std::string buono = LeggiFile(Macchina());
    ScriviFile(dir + "corta.ini", buono.substr(0, buono.size() / 2));
    ScriviFile(dir + "spazzatura.ini", "\x01\x02 nothing to see\n");
    std::string zeroPasso = buono;
    zeroPasso.replace(zeroPasso.find("Passo temporale s = 0.020000"), 28, "Passo temporale s = 0.000000");
    ScriviFile(dir + "zero.ini", zeroPasso);
    ScriviFile(dir + "piccolo.bin", std::string(100, '\0'));
    std::string corrotto(37293, '\0');
    corrotto[0] = 21;
    ScriviFile(dir + "crc.bin", corrotto);
    std::string troppi(37293, '\0');
    troppi[1263] = static_cast<char>(0xFF);
    troppi[1264] = static_cast<char>(0xFF);
    ScriviFile(dir + "troppi.bin", troppi);

    const struct {
        std::string argomenti;
        int codice;
    } casi[] = {
        {"", 2},
        {"nonsense", 2},
        {"cb3d --machine " + dir + "manca.ini", 2},
        {"cb3d --machine " + dir + "corta.ini", 2},
        {"cb3d --machine " + dir + "spazzatura.ini", 2},
        {"cb3d --machine " + dir + "zero.ini", 2},
        {"cb3d --machine " + Macchina() + " --head " + dir + "manca.csv", 2},
        {"cb3d --machine " + Macchina() + " --time abc", 2},
        {"move --from 1,2,3 --to 1,2,3,4", 2},
        {"inspect " + dir + "manca.bin", 2},
        {"inspect " + dir + "piccolo.bin", 2},
        {"inspect " + dir + "crc.bin", 2},
        {"inspect " + dir + "troppi.bin", 2},
        {"machine " + dir + "corta.ini", 2},
        {"machine", 2},
        {"machine " + dir + "zero.ini", 1},
        // A start at 100 mm/s needs the X word 40960: refused, not wrapped into a backward speed.
        {"move --machine " + Macchina() + " --from 0,22,-150,0,100,0,0,0 --to 40,22,-150,0 --out " + dir + "m", 1},
        {"cb3d --machine " + Macchina() + " --time -5 --out " + dir + "x", 1},
    };
    for (const auto& c : casi) {
        const Esito e = Esegui(c.argomenti);
        EXPECT_EQ(e.codice, c.codice) << c.argomenti << "\n" << e.uscita;
    }
}

TEST(Korvane, IlRifiutoDellaLibreriaDaIlSuoMessaggio)
{
    // A machine whose R axis cannot turn a full circle.
    CLimitiEParametri m = MacchinaEsempio();
    m.AsseR.PosMin = -170.0;
    m.AsseR.PosMax = 180.0;
    const std::string dir = CartellaTemporanea("cli-rifiuto");
    ASSERT_TRUE(m.ScriviSuFile(StringaDaUtf8(dir + "stretta.ini"), 0));
    const Esito e = Esegui("cb3d --machine " + dir + "stretta.ini --out " + dir + "out");
    EXPECT_EQ(e.codice, 1);
    EXPECT_NE(e.uscita.find("It is not possible to run a 360 degrees trajectory on this machine"), std::string::npos)
        << e.uscita;
}

TEST(Korvane, AvvisiSullaParolaDiVelocita)
{
    CLimitiEParametri m = MacchinaEsempio();
    m.AsseX.MaxVel = 100;
    m.AsseH.MaxVel = 0.001;
    const std::string dir = CartellaTemporanea("cli-parole");
    ASSERT_TRUE(m.ScriviSuFile(StringaDaUtf8(dir + "parole.ini"), 0));
    const Esito e = Esegui("machine " + dir + "parole.ini");
    EXPECT_EQ(e.codice, 0) << e.uscita;
    EXPECT_NE(e.uscita.find("warning: X: \"Max Vel\" needs the word 40960"), std::string::npos) << e.uscita;
    EXPECT_NE(e.uscita.find("warning: H: \"Max Vel\" rounds to a word of 0"), std::string::npos) << e.uscita;
}
