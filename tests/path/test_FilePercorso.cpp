#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "examples/ProgettiEsempio.h"
#include "path/Percorso.h"
#include "platform/Prompt.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "support/RiassuntoPercorso.h"
#include "tests/core/TestoDiProva.h"

namespace fs = std::filesystem;

namespace {

// Every file of a folder by name, with its bytes.
std::map<std::string, std::string> Contenuto(const std::string& cartella)
{
    std::map<std::string, std::string> file;
    for (const auto& e : fs::directory_iterator(cartella))
        file[e.path().filename().string()] = LeggiFile(e.path().string());
    return file;
}

}  // namespace

// Trajectory, junction, trajectory, saved and read back; the frame's bytes are pinned by the example projects.
TEST(FilePercorso, DueTraiettorieEScout)
{
    const CLimitiEParametri m = MacchinaEsempio();
    CPercorso p;
    p.SetLimitiEParametri(&m, 1);
    CTraiettoria t(m);
    CRaccordo r(m);
    t.ArrayPassi.SetSize(1);
    r.ArrayPassi.SetSize(1);
    p.ArrayTraiettorieAdd(&t);
    p.ArrayTraiettorieAdd(&t);
    p.ArrayRaccordiAdd(&r);
    for (const CElementoOrdine& e : {CElementoOrdine(SEZIONE_TRAIETTORIA, 0), CElementoOrdine(SEZIONE_RACCORDO, 0),
                                     CElementoOrdine(SEZIONE_TRAIETTORIA, 1)})
        p.ArrayOrdineAggiungiElemento(&e, -1);
    const std::string dir = CartellaTemporanea("percorso-formato");
    ASSERT_EQ(p.SalvaFile(StringaDaUtf8(dir + "exam.trg"), 0, 0), 1) << StringaAUtf8(p.GetErrorString());

    // Read into a path that already holds a section: appended in file order, the file's order not applied.
    CPercorso q;
    q.SetLimitiEParametri(&m, 1);
    q.ArrayRaccordiAdd(&r);
    const CElementoOrdine primo(SEZIONE_RACCORDO, 0);
    q.ArrayOrdineAggiungiElemento(&primo, -1);
    ASSERT_EQ(q.CaricaFile(StringaDaUtf8(dir + "exam.trg"), 0, 1), 1);
    EXPECT_EQ(Riassunto(q), "10 00 01 11 0: 0: J2 L0 O2");

    // A scout first trajectory cannot go into the older outputs, and nothing is written.
    p.ArrayTraiettorieSetScout(0, 1);
    p.SetTipoOutput(1);
    const std::string vuota = CartellaTemporanea("percorso-scout");
    EXPECT_EQ(p.SalvaFile(StringaDaUtf8(vuota + "exam.trg"), 1, 0), 0);
    EXPECT_EQ(p.GetErrorString(), TestoMessaggio(185));
    EXPECT_TRUE(fs::is_empty(vuota));
}

// Random realistic projects: save, load replacing, save again gives the same bytes in every file.
TEST(FilePercorso, AndataERitorno)
{
    const CLimitiEParametri m = MacchinaEsempio();
    std::mt19937 caso(13);
    const auto esempi = ProgettiEsempio();
    for (int k = 0; k < 8; ++k) {
        const ProgettoEsempio& esempio = esempi[static_cast<size_t>(k) % esempi.size()];
        CPercorso p;
        esempio.costruisci(p, m);
        // The last rounds ramp to and from rest instead: the ramps' leftover speed keeps them out of
        // the unit's files, so those rounds save the project alone.
        const int salvaDat = k < 6 ? 1 : 0;
        if (!salvaDat) {
            const CTraiettoria t(p.ArrayTraiettorieGetTraiettoria(0));
            p.SvuotaArray();
            p.ArrayTraiettorieAdd(&t);
            const CElementoOrdine e(SEZIONE_TRAIETTORIA, 0);
            p.ArrayOrdineAggiungiElemento(&e, -1);
            ASSERT_EQ(p.CreaAccDecOldStyle(), 1) << k;
            ASSERT_EQ(p.ArrayRaccordiGetRaccordo(0)->TipoRaccordo, CRaccordo::RACCORDO_LINEARE);
        }
        p.SetTipoOutput(static_cast<int>(caso() % 3));
        p.SetSalvaLUT(static_cast<int>(caso() % 2));
        const std::string a = CartellaTemporanea("percorso-a"), b = CartellaTemporanea("percorso-b");
        ASSERT_EQ(p.SalvaFile(StringaDaUtf8(a + "exam.trg"), salvaDat, 0), 1);
        ASSERT_EQ(StringaAUtf8(p.GetErrorString()), "") << k;

        CPercorso q;
        q.SetLimitiEParametri(&m, 1);
        ASSERT_EQ(q.CaricaFile(StringaDaUtf8(a + "exam.trg"), 1, 1), 1);
        // The project keeps no arch curve: a panoramic trajectory waits for the host to give one.
        CTraiettoria t(q.ArrayTraiettorieGetTraiettoria(0));
        if (std::string(esempio.tipo) == "pan") {
            EXPECT_EQ(t.ArrayPassi.GetSize(), 0);
            t.TipoCurva = CTraiettoria::CURVA_PANORAMICA;
            t.CurvaDenti = p.ArrayTraiettorieGetTraiettoria(0)->CurvaDenti;
            t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_PAN);
            q.CopiaTraiettoria(0, &t);
            q.GetErrorString();
        }
        ASSERT_EQ(StringaAUtf8(q.GetErrorString()), "") << k;
        // The junctions' ends come back with six decimals; the exact ends are the recomputed trajectories'.
        q.CorreggiContinuitaSezioni();
        ASSERT_EQ(q.SalvaFile(StringaDaUtf8(b + "exam.trg"), salvaDat, 0), 1) << StringaAUtf8(q.GetErrorString());
        EXPECT_TRUE(Contenuto(a) == Contenuto(b)) << k;
    }
}

// Damaged project files: each costs what it damaged, with message 165, and never more sections than it held.
TEST(FilePercorso, FileDanneggiati)
{
    const CLimitiEParametri m = MacchinaEsempio();
    CPercorso p;
    TrovaProgettoEsempio("cb3d")->costruisci(p, m);
    const std::string dir = CartellaTemporanea("percorso-danni");
    ASSERT_EQ(p.SalvaFile(StringaDaUtf8(dir + "exam.trg"), 0, 0), 1);
    const std::string buono = LeggiFile(dir + "exam.trg");
    const auto sostituisci = [&](const std::string& da, const std::string& a) { return Sostituisci(buono, da, a); };
    const std::string tutto = "10 00 11 3:CB3D scan J2 L0 O2";
    const struct { std::string testo; bool errore; std::string riassunto; } casi[] = {
        {ConCRLF(buono), false, tutto},
        // Order entries that name junctions the file no longer holds are dropped with them.
        {buono.substr(0, buono.find("[RACCORDI]")), true, "00 3:CB3D scan J0 L0 O2"},
        {sostituisci("[GENERALE]", "[GENERAL]"), true, tutto},
        {sostituisci("Versione          = 4", "Versione          = 5"), true, "J0 L0 O2"},
        {sostituisci("Versione          = 1\n[ORDINE", "Versione          = 2\n[ORDINE"), true, "3:CB3D scan J2 L0 O2"},
        {sostituisci("Numero Traiettorie= 1", "Numero Traiettorie= 999999999"), true, tutto},
        {sostituisci("2 Raccordi salvati", "1000 Raccordi salvati"), true, tutto},
        {sostituisci("2 Raccordi salvati", "1001 Raccordi salvati"), true, tutto},
        {buono.substr(0, buono.size() - 5), true, tutto},
        // Order entries that name no section are dropped; a count smaller than its list is damage too.
        {sostituisci("tipo: 0, posizione: 0", "tipo: 0, posizione: 2147483647"), true, "10 11 3:CB3D scan J2 L0 O2"},
        {sostituisci("Numero Traiettorie= 1", "Numero Traiettorie= 0"), true, tutto},
        {sostituisci("2 Raccordi salvati", "1 Raccordi salvati"), true, tutto},
        {sostituisci("3 elementi salvati", "1 elementi salvati"), true, tutto},
    };
    for (const auto& c : casi) {
        ScriviFile(dir + "exam.trg", c.testo);
        CPercorso q;
        q.SetLimitiEParametri(&m, 1);
        ASSERT_EQ(q.CaricaFile(StringaDaUtf8(dir + "exam.trg"), 1, 1), 1) << c.riassunto;
        EXPECT_EQ(q.GetErrorString(), c.errore ? TestoMessaggio(165) : L"") << c.riassunto;
        EXPECT_EQ(Riassunto(q), c.riassunto) << &c - casi;
    }

    // A missing machine file asks; Yes takes the default machine, No (the default answer) keeps the one in use.
    fs::remove(dir + "exam_MP.ini");
    CLimitiEParametri inUso = m;
    inUso.PassoTemporale = 0.004;
    for (const int risposta : {0, 1}) {
        ImpostaGestoreDomande([&](const CString&, int) { return risposta; });
        CPercorso q;
        q.SetLimitiEParametri(&m, 1);
        q.SetLimitiEParametri(&inUso, 0);
        q.CaricaFile(StringaDaUtf8(dir + "exam.trg"), 1, 1);
        EXPECT_EQ(q.GetLimitiEParametri().PassoTemporale, risposta ? m.PassoTemporale : 0.004);
    }
    ImpostaGestoreDomande(nullptr);
    CPercorso q;
    q.CaricaFile(StringaDaUtf8(dir + "manca.trg"), 1, 1);
    EXPECT_EQ(q.GetErrorString(), TestoMessaggio(165));

    // A step CSV comes in as one trajectory of the loaded kind; without its start file nothing happens.
    CPercorso csv;
    csv.SetLimitiEParametri(&m, 1);
    ASSERT_EQ(csv.CaricaFile(StringaDaUtf8(dir + "exam.csv"), 1, 0), 1);
    EXPECT_EQ(csv.ArrayTraiettorieGetTraiettoria(0)->ArrayPassi.GetSize(), 1130);
    fs::remove(dir + "exam_P0.csv");
    ASSERT_EQ(csv.CaricaFile(StringaDaUtf8(dir + "exam.csv"), 0, 0), 1);
    EXPECT_EQ(Riassunto(csv), "00 5:Trajectory from file J0 L0 O2");
    // Only ".trg" in lower case names a project: EXAM.TRG is saved and read as a step CSV.
    ASSERT_EQ(p.SalvaFile(StringaDaUtf8(dir + "EXAM.TRG"), 1, 0), 1);
    EXPECT_FALSE(fs::exists(dir + "EXAM_MP.ini"));
    ASSERT_EQ(csv.CaricaFile(StringaDaUtf8(dir + "EXAM.TRG"), 1, 0), 1);
    EXPECT_EQ(Riassunto(csv), "00 5:Trajectory from file J0 L0 O2");
}

// A save cut off at any byte of any file leaves each of the project and machine files either as it
// stood or whole and new, never partial.
TEST(FilePercorso, SalvataggioInterrotto)
{
    const CLimitiEParametri m = MacchinaEsempio();
    CPercorso vecchio, nuovo;
    TrovaProgettoEsempio("cb3d")->costruisci(vecchio, m);
    TrovaProgettoEsempio("circular")->costruisci(nuovo, m);
    CLimitiEParametri altra = m;
    altra.NomeMacchina = L"Another unit";
    nuovo.SetLimitiEParametri(&altra, 0);
    const std::string dir = CartellaTemporanea("percorso-interrotto"), rif = CartellaTemporanea("percorso-nuovo");
    ASSERT_EQ(nuovo.SalvaFile(StringaDaUtf8(rif + "exam.trg"), 0, 0), 1);
    const std::string trgNuovo = LeggiFile(rif + "exam.trg"), iniNuovo = LeggiFile(rif + "exam_MP.ini");
    ASSERT_EQ(vecchio.SalvaFile(StringaDaUtf8(dir + "exam.trg"), 0, 0), 1);
    const std::string trgVecchio = LeggiFile(dir + "exam.trg"), iniVecchio = LeggiFile(dir + "exam_MP.ini");

    // Past the size limit a write fails as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit prima{};
    getrlimit(RLIMIT_FSIZE, &prima);
    for (const size_t limite : {size_t{0}, size_t{1}, iniNuovo.size() - 1, iniNuovo.size() + 1, trgNuovo.size() / 2,
                                trgNuovo.size() - 1}) {
        rlimit r = prima;
        r.rlim_cur = limite;
        setrlimit(RLIMIT_FSIZE, &r);
        EXPECT_EQ(nuovo.SalvaFile(StringaDaUtf8(dir + "exam.trg"), 0, 0), 1);
        setrlimit(RLIMIT_FSIZE, &prima);
        const std::string trg = LeggiFile(dir + "exam.trg"), ini = LeggiFile(dir + "exam_MP.ini");
        EXPECT_TRUE((trg == trgVecchio || trg == trgNuovo) && (ini == iniVecchio || ini == iniNuovo)) << limite;
        EXPECT_EQ(nuovo.GetErrorString(), trg != trgNuovo   ? TestoMessaggio(166)
                                      : ini != iniNuovo ? TestoMessaggio(MSG_FILE_MACCHINA_NON_SCRITTO)
                                                        : L"") << limite;
        EXPECT_TRUE(NessunProvvisorio(dir));
        ScriviFile(dir + "exam.trg", trgVecchio);
        ScriviFile(dir + "exam_MP.ini", iniVecchio);
    }
    std::signal(SIGXFSZ, SIG_DFL);
}

// The checked-in example projects are what the library writes for the example exams today, and the
// hand-written old projects load as a user upgrading would bring them.
TEST(FilePercorso, ProgettiDiEsempio)
{
    const std::string esempi = KORVANE_SOURCE_DIR "/examples/projects/";
    CLimitiEParametri m;
    ASSERT_EQ(m.LeggiDaFile(StringaDaUtf8(KORVANE_SOURCE_DIR "/examples/MachinesParameters.ini"), 0), 1);
    const std::string dir = CartellaTemporanea("percorso-esempi");
    const bool rigenera = std::getenv("KORVANE_RIGENERA_PROGETTI") != nullptr;
    for (const ProgettoEsempio& e : ProgettiEsempio()) {
        CPercorso p;
        e.costruisci(p, m);
        ASSERT_EQ(p.SalvaFile(StringaDaUtf8(dir + e.tipo + ".trg"), 0, 0), 1) << e.tipo;
        for (const std::string& nome : {std::string(e.tipo) + ".trg", std::string(e.tipo) + "_MP.ini"}) {
            if (rigenera)
                fs::copy_file(dir + nome, esempi + nome, fs::copy_options::overwrite_existing);
            EXPECT_EQ(LeggiFile(dir + nome), LeggiFile(esempi + nome)) << nome << ": run scripts/progetti-esempio.sh";
        }
    }

    // The oldest project gets its ramps made for it; both take output type 0.
    for (const auto& [file, riassunto] : {std::pair{"vecchio_v1.trg", "10 00 11 3: J2 L0 O0"},
                                          std::pair{"vecchio_v2.trg", "00 10 6:Old lateral ceph J1 L1 O0"}}) {
        CPercorso p;
        p.SetLimitiEParametri(&m, 1);
        p.SetTipoOutput(2);
        ASSERT_EQ(p.CaricaFile(StringaDaUtf8(esempi + file), 1, 1), 1);
        EXPECT_EQ(StringaAUtf8(p.GetErrorString()), "") << file;
        EXPECT_EQ(Riassunto(p), riassunto);
    }
}

