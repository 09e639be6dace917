// korvane dat: one computed exam wrapped in a path, written as the files the unit and its image
// reconstruction take: the projection file(s), the path CSV files and, on request, the look-up
// tables and the "out." file of the projection builder.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>

#include "Comandi.h"
#include "examples/EsameCefalometrico.h"
#include "examples/EsameLineare.h"
#include "examples/EsamePanoramico.h"
#include "examples/PercorsoEsempio.h"
#include "korvane.h"

namespace fs = std::filesystem;

namespace {

struct OpzioniDat {
    std::string macchina;
    std::string uscita = "out/dat";
    std::string esempio;
    std::string csv;
    std::string progetto;
    bool json = false;
    int gruppo = 0;
    int tipo = 0;
    int versione = 21;
    std::vector<int> aps = {2, 9};
    int tipoOutput = 2;
    bool lut = false;
    bool converti = false;
    const CLI::Option* opzioneGruppo = nullptr;
    const CLI::Option* opzioneTipo = nullptr;
    const CLI::Option* opzioneVersione = nullptr;
    const CLI::Option* opzioneAps = nullptr;
};

bool Data(const CLI::Option* o)
{
    return o != nullptr && o->count() > 0;
}

// Builds the exam's path into `p`; false with the reason in `errore`.
using Costruttore = std::function<bool(CPercorso& p, const CLimitiEParametri& m, std::string& errore)>;

struct Esempio {
    int gruppo;  // the exam's group when --group is not given
    Costruttore costruisci;
};

bool ConErrore(const CString& testo, std::string& errore)
{
    if (testo.empty())
        return true;
    errore = StringaAUtf8(testo);
    return false;
}

// A single trajectory of kind `tipo`, computed, with the junctions from and to rest it needs to be run.
Costruttore UnaTraiettoria(CTraiettoria (*esame)(const CLimitiEParametri&), int tipo)
{
    return [esame, tipo](CPercorso& p, const CLimitiEParametri& m, std::string& errore) {
        CTraiettoria t = esame(m);
        t.TipoCurva = tipo;
        t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
        return ConErrore(t.GetErrorString(), errore) && ConErrore(PercorsoDiEsame(p, m, t), errore);
    };
}

// The examples by name; an example exam is added here with one line.
const std::map<std::string, Esempio>& Esempi()
{
    static const std::map<std::string, Esempio> esempi = {
        {"pan", {0, UnaTraiettoria(EsamePanoramicoAdulto, CTraiettoria::CURVA_PANORAMICA)}},
        {"ceph", {3, UnaTraiettoria(EsameCefalometrico, CTraiettoria::CURVA_CEFALOMETRICA)}},
        {"linear", {0, UnaTraiettoria(EsameLineare, CTraiettoria::CURVA_LINEARE)}},
        {"cb3d", {4, [](CPercorso& p, const CLimitiEParametri& m, std::string& errore) {
                      CostruisciCB3D(p, m);
                      return ConErrore(p.GetErrorString(), errore);
                  }}},
    };
    return esempi;
}

// The steps of a CSV file and its "_P0" start file, taken over as they stand.
int DaCsv(const std::string& nome, CPercorso& p, const CLimitiEParametri& m, std::string& errore)
{
    const fs::path n(nome);
    const std::string inizio = (n.parent_path() / (n.stem().string() + "_P0" + n.extension().string())).string();
    Ingresso passi, partenza;
    if (!passi.Apri(nome, "the step CSV") || !partenza.Apri(inizio, "the start file"))
        return ESITO_USO;
    FILE* fp = std::fopen(StringaAUtf8(passi.NomePerLaLibreria()).c_str(), "r");
    FILE* fi = std::fopen(StringaAUtf8(partenza.NomePerLaLibreria()).c_str(), "r");
    CTraiettoria t(m);
    t.TipoCurva = CTraiettoria::CURVA_DA_CSV;
    if (fp != nullptr && fi != nullptr)
        t.LeggiDaFileCSV(fp, fi);
    if (fp != nullptr)
        std::fclose(fp);
    if (fi != nullptr)
        std::fclose(fi);
    if (t.ArrayPassi.IsEmpty()) {
        Errore(nome + ": no step line could be read");
        return ESITO_USO;
    }
    return ConErrore(PercorsoDiEsame(p, m, t), errore) ? ESITO_OK : ESITO_RIFIUTATO;
}

int Esegui(const OpzioniDat& o)
{
    if (o.esempio.empty() + o.csv.empty() + o.progetto.empty() != 2) {
        Errore("give one of --example NAME, --csv FILE or --project FILE.trg");
        return ESITO_USO;
    }
    if (!NomeInUtf8(o.uscita, "the output folder"))
        return ESITO_USO;
    if (o.converti && o.tipoOutput != 0) {
        Errore("--convert needs output type 0: only its \"in.\" files go through the projection builder");
        return ESITO_USO;
    }
    CLimitiEParametri m;
    if (!CaricaMacchina(o.macchina, m))
        return ESITO_USO;
    CString testa;
    CSezione::UsaTestonaDiDefault(testa);

    CPercorso p;
    std::string errore;
    int gruppo = 0;
    BloccoProgetto blocco;
    if (!o.esempio.empty()) {
        const Esempio& e = Esempi().at(o.esempio);
        gruppo = e.gruppo;
        if (!e.costruisci(p, m, errore)) {
            Errore(errore);
            return ESITO_RIFIUTATO;
        }
    } else if (!o.progetto.empty()) {
        if (const int esito = blocco.Prendi(o.progetto, false, ATTESA_PROGETTO); esito != ESITO_OK)
            return esito;
        if (const int esito = CaricaProgetto(o.progetto, o.macchina, p, errore); esito != ESITO_OK)
            return esito;
        if (ProblemiDiLettura(p, errore) != ESITO_OK)
            return ESITO_RIFIUTATO;
        // A section that carries a limit or collision message is not written for the unit.
        if (!errore.empty()) {
            Errore(errore);
            return ESITO_RIFIUTATO;
        }
    } else if (const int esito = DaCsv(o.csv, p, m, errore); esito != ESITO_OK) {
        if (esito == ESITO_RIFIUTATO)
            Errore(errore);
        return esito;
    }

    CParametriFileDat& d = p.GetParametriFileDat();
    // A project keeps its own exam settings; an option given on the command line replaces one.
    const bool propri = !o.progetto.empty();
    if (!propri || Data(o.opzioneGruppo))
        d.Group = Data(o.opzioneGruppo) ? o.gruppo : gruppo;
    if (!propri || Data(o.opzioneTipo))
        d.Type = o.tipo;
    if (!propri || Data(o.opzioneVersione))
        d.Version = o.versione;
    if (!propri || Data(o.opzioneAps)) {
        d.ApsRangeMin = o.aps[0];
        d.ApsRangeMax = o.aps[1];
    }
    // No per-sub-image settings are given here: every sub-image takes the unit's default note and margins.
    if (!propri)
        for (ArrayInt* a : {&d.LRImgNote, &d.PxMarginsTop, &d.PxMarginsBottom, &d.PxMarginsRight, &d.PxMarginsLeft,
                            &d.PxMarginsTopC, &d.PxMarginsBottomC, &d.PxMarginsRightC, &d.PxMarginsLeftC})
            a->RemoveAll();
    p.SetTipoOutput(o.tipoOutput);

    CartellaProvvisoria cartella(o.uscita, "dat");
    if (!cartella.Crea())
        return ESITO_USO;
    const CString percorso = StringaDaUtf8(cartella.Percorso("exam.trg"));
    const CString csv = StringaDaUtf8(cartella.Percorso("exam.csv"));
    if (!p.SalvaFileCSV(csv))
        return Rifiuto(p.GetErrorString(), "the path CSV files could not be written");
    if (o.lut) {
        char id[64] = "";
        const int tipoProiezione = p.GetTipoProiezione();
        if (d.Group != -1 && tipoProiezione != -1 && d.ApsRangeMax != -1 && d.Version != -1)
            std::snprintf(id, sizeof id, "%d.%d.%d.%d", d.Group, tipoProiezione, d.ApsRangeMax, d.Version);
        if (!p.CreaLUT(1, csv, StringaDaUtf8(id)))
            return Rifiuto(p.GetErrorString(), "the look-up tables could not be written");
    }
    // The old dialects are written plain and collimated (a name may be empty: that one is skipped);
    // the tagged dialect once, collimated.
    const bool vecchio = o.tipoOutput == 0 || o.tipoOutput == 1;
    for (int collimato : vecchio ? std::vector<int>{0, 1} : std::vector<int>{1}) {
        const CString nome = p.NomeFileDat(percorso, vecchio ? collimato : 0);
        if (nome.empty())
            continue;
        if (!p.SalvaFileDat(nome, collimato))
            return Rifiuto(p.GetErrorString(), "the projection file could not be written");
        if (o.converti && !p.ConvertiInOut(&nome))
            return Rifiuto(p.GetErrorString(), "the projection builder (build_prj_ZT) could not be loaded");
    }
    const std::vector<std::string> scritti = cartella.Sposta();
    if (scritti.empty())
        return ESITO_USO;

    int passi = 0;
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i)
        passi += p.ArrayOrdineGetpSezione(i)->ArrayPassi.GetSize();
    if (o.json) {
        StampaJson({{"sections", p.ArrayOrdineGetSize()},
                    {"steps", passi},
                    {"group", d.Group},
                    {"projection_type", p.GetTipoProiezione()},
                    {"output_type", o.tipoOutput},
                    {"files", scritti}});
    } else {
        std::printf("path: %d sections, %d steps; group %d, projection type %d, output type %d\n",
                    p.ArrayOrdineGetSize(), passi, d.Group, p.GetTipoProiezione(), o.tipoOutput);
        for (const std::string& s : scritti)
            std::printf("written: %s\n", s.c_str());
    }
    return ESITO_OK;
}

}  // namespace

void AggiungiComandoDat(CLI::App& app, int& esito)
{
    static OpzioniDat o;
    CLI::App* sub = app.add_subcommand(
        "dat", "write an exam's projection file(s), path CSV files and, on request, look-up tables and the out. file");
    sub->add_option("--machine", o.macchina, "machine file (default: the installed example unit)");
    std::vector<std::string> nomi;
    for (const auto& [nome, esempio] : Esempi())
        nomi.push_back(nome);
    auto* esempio = sub->add_option("--example", o.esempio, "the example exam to write")->check(CLI::IsMember(nomi));
    auto* csv = sub->add_option("--csv", o.csv, "a step CSV, with its start file beside it (name with _P0 before the extension)")
                    ->excludes(esempio);
    sub->add_option("--project", o.progetto, "a project (.trg with its _MP.ini), its own exam settings kept")
        ->excludes(esempio)
        ->excludes(csv);
    sub->add_option("--out", o.uscita, "folder the outputs are written into")->capture_default_str();
    sub->add_flag("--json", o.json, "print what was written as JSON");
    o.opzioneGruppo = sub->add_option("--group", o.gruppo, "exam group (default: the exam's own)")
                          ->check(CLI::Range(0, 5));
    o.opzioneTipo = sub->add_option("--type", o.tipo, "exam type within the group")->check(CLI::Range(0, 65535))->capture_default_str();
    o.opzioneVersione = sub->add_option("--exam-version", o.versione, "projection file version")->check(CLI::Range(0, 255))->capture_default_str();
    o.opzioneAps = sub->add_option("--aps", o.aps, "APS range MIN,MAX")
        ->delimiter(',')
        ->expected(2)
        ->check(CLI::Range(0, 255))
        ->capture_default_str();
    sub->add_option("--output-type", o.tipoOutput,
                    "0: old dialect with MIN/MAX lines; 1: old dialect with RES/OUT lines and binary image; 2: "
                    "tagged dialect and binary image")
        ->check(CLI::Range(0, 2))
        ->capture_default_str();
    sub->add_flag("--lut", o.lut, "write the five look-up tables too");
    sub->add_flag("--convert", o.converti, "turn each in. file into its out. file through the projection builder");
    sub->callback([&esito] { esito = Esegui(o); });
}
