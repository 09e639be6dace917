#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include "examples/ProgettiEsempio.h"
#include "path/Percorso.h"
#include "platform/Prompt.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"

namespace fs = std::filesystem;

namespace {

std::string Leggi(const fs::path& nome)
{
    std::ifstream f(nome, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void Scrivi(const fs::path& nome, const std::string& testo)
{
    std::ofstream(nome, std::ios::binary) << testo;
}

// Every file of a folder by name, with its bytes.
std::map<std::string, std::string> Contenuto(const std::string& cartella)
{
    std::map<std::string, std::string> file;
    for (const auto& e : fs::directory_iterator(cartella))
        file[e.path().filename().string()] = Leggi(e.path());
    return file;
}

template <class Blocco>
std::string Testo(Blocco scrivi)
{
    char* b = nullptr;
    size_t n = 0;
    FILE* f = open_memstream(&b, &n);
    scrivi(f);
    std::fclose(f);
    const std::string t(b, n);
    std::free(b);
    return t;
}

CString W(const std::string& s)
{
    return StringaDaUtf8(s);
}

}  // namespace

// Trajectory, junction, trajectory: the frame around the blocks, byte for byte, and the files beside it.
TEST(FilePercorso, FormatoEFileScritti)
{
    const CLimitiEParametri m = MacchinaEsempio();
    CString testa;
    CSezione::UsaTestonaDiDefault(testa);
    CPercorso p;
    p.SetLimitiEParametri(&m, 1);
    CTraiettoria t(m);
    CRaccordo r(m);
    r.Nome = L"J";
    t.ArrayPassi.SetSize(1);
    r.ArrayPassi.SetSize(1);
    p.ArrayTraiettorieAdd(&t);
    p.ArrayTraiettorieAdd(&t);
    p.ArrayRaccordiAdd(&r);
    for (const CElementoOrdine& e : {CElementoOrdine(SEZIONE_TRAIETTORIA, 0), CElementoOrdine(SEZIONE_RACCORDO, 0),
                                     CElementoOrdine(SEZIONE_TRAIETTORIA, 1)})
        p.ArrayOrdineAggiungiElemento(&e, -1);
    const std::string dir = CartellaTemporanea("percorso-formato");
    ASSERT_EQ(p.SalvaFile(W(dir + "exam.trg"), 0, 0), 1) << StringaAUtf8(p.GetErrorString());

    const std::string traiettoria = Testo([&](FILE* f) { t.SalvaFileTRG(f, L"x", 0); });
    const std::string atteso =
        "[GENERALE]\n\nVersione          = 4\nSalva LUT         = 0\nTipo Output       = 2\n\n" +
        Testo([&](FILE* f) { p.GetParametriFileDat().SalvaFileTRG(f); }) +
        "Versione          = 1\n[ORDINE ELEMENTI]\n3 elementi salvati\ntipo: 0, posizione: 0\n"
        "tipo: 1, posizione: 0\ntipo: 0, posizione: 1\n\nNumero Traiettorie= 2\n\n" +
        traiettoria + "\n" + traiettoria + "\n[RACCORDI]\n\nVersione          = 1\n1 Raccordi salvati\n\n" +
        Testo([&](FILE* f) { r.SalvaFileTRG(f); }) + "\n[END]";
    EXPECT_EQ(Leggi(dir + "exam.trg"), atteso);
    for (const char* nome : {"exam.csv", "exam_MP.ini", "exam_P0.csv", "exam_SH.csv"})
        EXPECT_TRUE(fs::exists(dir + nome)) << nome;

    // Read into a path that already holds a section: appended in file order, the file's order not applied.
    CPercorso q;
    q.SetLimitiEParametri(&m, 1);
    q.ArrayRaccordiAdd(&r);
    const CElementoOrdine primo(SEZIONE_RACCORDO, 0);
    q.ArrayOrdineAggiungiElemento(&primo, -1);
    ASSERT_EQ(q.CaricaFile(W(dir + "exam.trg"), 0, 1), 1);
    std::string ordine;
    for (int i = 0; i < q.ArrayOrdineGetSize(); ++i)
        ordine += std::to_string(q.ArrayOrdineGetTipoSezione(i)) + std::to_string(q.ArrayOrdineGetPosSezione(i));
    EXPECT_EQ(ordine, "10000111");

    // A scout first trajectory cannot go into the older outputs, and nothing is written.
    p.ArrayTraiettorieSetScout(0, 1);
    p.SetTipoOutput(1);
    const std::string vuota = CartellaTemporanea("percorso-scout");
    EXPECT_EQ(p.SalvaFile(W(vuota + "exam.trg"), 1, 0), 0);
    EXPECT_EQ(p.GetErrorString(), TestoMessaggio(185));
    EXPECT_TRUE(fs::is_empty(vuota));
    EXPECT_EQ(p.SalvaFile(L"", 0, 0), 0);
}

// Random realistic projects: save, load replacing, save again gives the same bytes in every file.
TEST(FilePercorso, AndataERitorno)
{
    const CLimitiEParametri m = MacchinaEsempio();
    std::mt19937 caso(13);
    const auto esempi = ProgettiEsempio();
    for (int k = 0; k < 6; ++k) {
        const ProgettoEsempio& esempio = esempi[static_cast<size_t>(k) % esempi.size()];
        CPercorso p;
        esempio.costruisci(p, m);
        p.SetTipoOutput(static_cast<int>(caso() % 3));
        p.SetSalvaLUT(static_cast<int>(caso() % 2));
        CParametriFileDat& d = p.GetParametriFileDat();
        d.Version = static_cast<int>(caso() % 100);
        d.ApsRangeMin = static_cast<int>(caso() % 10);
        d.ScoutKV = static_cast<int>(caso() % 90);
        d.PosResetX = static_cast<float>(caso() % 1000) / 8.0f;
        d.PxMarginsLeft[0] = static_cast<int>(caso() % 64);
        const std::string a = CartellaTemporanea("percorso-a"), b = CartellaTemporanea("percorso-b");
        ASSERT_EQ(p.SalvaFile(W(a + "exam.trg"), 1, 0), 1);
        ASSERT_EQ(StringaAUtf8(p.GetErrorString()), "") << k;

        CPercorso q;
        q.SetLimitiEParametri(&m, 1);
        ASSERT_EQ(q.CaricaFile(W(a + "exam.trg"), 1, 1), 1);
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
        ASSERT_EQ(q.SalvaFile(W(b + "exam.trg"), 1, 0), 1) << StringaAUtf8(q.GetErrorString());
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
    ASSERT_EQ(p.SalvaFile(W(dir + "exam.trg"), 0, 0), 1);
    const std::string buono = Leggi(dir + "exam.trg");
    const auto sostituisci = [&](const std::string& da, const std::string& a) {
        std::string t = buono;
        const size_t i = t.find(da);
        return i == std::string::npos ? std::string("missing") : t.replace(i, da.size(), a);
    };
    const struct {
        const char* caso;
        std::string testo;
        bool errore;
        int traiettorie, raccordi;
    } casi[] = {
        {"intact", buono, false, 1, 2},
        {"crlf", [&] { std::string t; for (char c : buono) { if (c == '\n') t += '\r'; t += c; } return t; }(),
         false, 1, 2},
        {"truncated", buono.substr(0, buono.find("[RACCORDI]")), true, 1, 0},
        {"misspelt", sostituisci("[GENERALE]", "[GENERAL]"), true, 1, 2},
        {"version", sostituisci("Versione          = 4", "Versione          = 5"), true, 0, 0},
        {"order version", sostituisci("Versione          = 1\n[ORDINE", "Versione          = 2\n[ORDINE"), true, 1, 2},
        {"absurd count", sostituisci("Numero Traiettorie= 1", "Numero Traiettorie= 999999999"), true, 1, 2},
        {"more than held", sostituisci("2 Raccordi salvati", "1000 Raccordi salvati"), true, 1, 2},
        {"1001 junctions", sostituisci("2 Raccordi salvati", "1001 Raccordi salvati"), true, 1, 0},
        {"no end", buono.substr(0, buono.size() - 5), true, 1, 2},
    };
    for (const auto& c : casi) {
        Scrivi(dir + "exam.trg", c.testo);
        CPercorso q;
        q.SetLimitiEParametri(&m, 1);
        ASSERT_EQ(q.CaricaFile(W(dir + "exam.trg"), 1, 1), 1) << c.caso;
        EXPECT_EQ(q.GetErrorString(), c.errore ? TestoMessaggio(165) : L"") << c.caso;
        EXPECT_EQ(q.ArrayTraiettorieGetSize(), c.traiettorie) << c.caso;
        EXPECT_EQ(q.ArrayRaccordiGetSize(), c.raccordi) << c.caso;
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
        q.CaricaFile(W(dir + "exam.trg"), 1, 1);
        EXPECT_EQ(q.GetLimitiEParametri().PassoTemporale, risposta ? m.PassoTemporale : 0.004);
    }
    ImpostaGestoreDomande(nullptr);
    CPercorso q;
    q.CaricaFile(W(dir + "manca.trg"), 1, 1);
    EXPECT_EQ(q.GetErrorString(), TestoMessaggio(165));

    // A step CSV comes in as one trajectory of the loaded kind; without its start file nothing happens.
    CPercorso csv;
    csv.SetLimitiEParametri(&m, 1);
    ASSERT_EQ(csv.CaricaFile(W(dir + "exam.csv"), 1, 0), 1);
    ASSERT_EQ(csv.ArrayTraiettorieGetSize(), 1);
    EXPECT_EQ(csv.ArrayTraiettorieGetTraiettoria(0)->TipoCurva, CTraiettoria::CURVA_DA_CSV);
    EXPECT_EQ(csv.ArrayTraiettorieGetTraiettoria(0)->Nome, TestoMessaggio(174));
    EXPECT_EQ(csv.ArrayTraiettorieGetTraiettoria(0)->ArrayPassi.GetSize(), 1130);
    fs::remove(dir + "exam_P0.csv");
    ASSERT_EQ(csv.CaricaFile(W(dir + "exam.csv"), 1, 0), 1);
    EXPECT_EQ(csv.ArrayTraiettorieGetSize(), 1);
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
    ASSERT_EQ(nuovo.SalvaFile(W(rif + "exam.trg"), 0, 0), 1);
    const std::string trgNuovo = Leggi(rif + "exam.trg"), iniNuovo = Leggi(rif + "exam_MP.ini");
    ASSERT_EQ(vecchio.SalvaFile(W(dir + "exam.trg"), 0, 0), 1);
    const std::string trgVecchio = Leggi(dir + "exam.trg"), iniVecchio = Leggi(dir + "exam_MP.ini");

    // Past the size limit a write fails as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit prima{};
    getrlimit(RLIMIT_FSIZE, &prima);
    for (const size_t limite : {size_t{0}, size_t{1}, iniNuovo.size() - 1, iniNuovo.size() + 1, trgNuovo.size() / 2,
                                trgNuovo.size() - 1}) {
        rlimit r = prima;
        r.rlim_cur = limite;
        setrlimit(RLIMIT_FSIZE, &r);
        CPercorso p;
        TrovaProgettoEsempio("circular")->costruisci(p, m);
        p.SetLimitiEParametri(&altra, 0);
        EXPECT_EQ(p.SalvaFile(W(dir + "exam.trg"), 0, 0), 1);
        setrlimit(RLIMIT_FSIZE, &prima);
        const std::string trg = Leggi(dir + "exam.trg"), ini = Leggi(dir + "exam_MP.ini");
        EXPECT_TRUE(trg == trgVecchio || trg == trgNuovo) << limite;
        EXPECT_TRUE(ini == iniVecchio || ini == iniNuovo) << limite;
        EXPECT_EQ(p.GetErrorString(), trg != trgNuovo   ? TestoMessaggio(166)
                                      : ini != iniNuovo ? TestoMessaggio(MSG_FILE_MACCHINA_NON_SCRITTO)
                                                        : L"") << limite;
        EXPECT_TRUE(NessunProvvisorio(dir));
        Scrivi(dir + "exam.trg", trgVecchio);
        Scrivi(dir + "exam_MP.ini", iniVecchio);
    }
    std::signal(SIGXFSZ, SIG_DFL);
}

// The checked-in example projects are what the library writes for the example exams today, and the
// hand-written old projects load as a user upgrading would bring them.
TEST(FilePercorso, ProgettiDiEsempio)
{
    const std::string esempi = KORVANE_SOURCE_DIR "/examples/projects/";
    CLimitiEParametri m;
    ASSERT_EQ(m.LeggiDaFile(W(KORVANE_SOURCE_DIR "/examples/MachinesParameters.ini"), 0), 1);
    const std::string dir = CartellaTemporanea("percorso-esempi");
    const bool rigenera = std::getenv("KORVANE_RIGENERA_PROGETTI") != nullptr;
    for (const ProgettoEsempio& e : ProgettiEsempio()) {
        CPercorso p;
        e.costruisci(p, m);
        ASSERT_EQ(p.SalvaFile(W(dir + e.tipo + ".trg"), 0, 0), 1) << e.tipo;
        for (const std::string& nome : {std::string(e.tipo) + ".trg", std::string(e.tipo) + "_MP.ini"}) {
            if (rigenera)
                fs::copy_file(dir + nome, esempi + nome, fs::copy_options::overwrite_existing);
            EXPECT_EQ(Leggi(dir + nome), Leggi(esempi + nome)) << nome << ": run scripts/progetti-esempio.sh";
        }
    }

    const struct {
        const char* file;
        int sezioni, traiettorie, raccordi, tipo, salvaLUT;
        const wchar_t* nome;
    } vecchi[] = {
        // The oldest project gets its ramps made for it.
        {"vecchio_v1.trg", 3, 1, 2, CTraiettoria::CURVA_CIRCOLARE, 0, L""},
        {"vecchio_v2.trg", 2, 1, 1, CTraiettoria::CURVA_CEFALOMETRICA, 1, L"Old lateral ceph"},
    };
    for (const auto& v : vecchi) {
        CPercorso p;
        p.SetLimitiEParametri(&m, 1);
        p.SetTipoOutput(2);
        ASSERT_EQ(p.CaricaFile(W(esempi + v.file), 1, 1), 1);
        EXPECT_EQ(StringaAUtf8(p.GetErrorString()), "") << v.file;
        EXPECT_EQ(p.ArrayOrdineGetSize(), v.sezioni) << v.file;
        EXPECT_EQ(p.ArrayRaccordiGetSize(), v.raccordi) << v.file;
        ASSERT_EQ(p.ArrayTraiettorieGetSize(), v.traiettorie) << v.file;
        EXPECT_EQ(p.ArrayTraiettorieGetTraiettoria(0)->TipoCurva, v.tipo) << v.file;
        EXPECT_EQ(p.ArrayTraiettorieGetTraiettoria(0)->Nome, v.nome) << v.file;
        EXPECT_EQ(p.GetSalvaLUT(), v.salvaLUT) << v.file;
        EXPECT_EQ(p.GetTipoOutput(), 0) << v.file;
    }
}
