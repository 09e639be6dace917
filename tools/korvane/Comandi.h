#pragma once

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/CString.h"

constexpr int ESITO_OK = 0;
constexpr int ESITO_RIFIUTATO = 1;  // the library refused; its message went to standard error
constexpr int ESITO_USO = 2;        // bad usage or an unreadable input

struct OpzioniComuni {
    std::string macchina;   // empty: the installed example machine
    std::string testa;      // empty: the built-in head outline
    bool senzaTesta = false;
    std::string uscita;
    bool json = false;
};

struct OpzioniCB3D {
    OpzioniComuni comuni;
    float tempo = 20.0f;
    float raggio = 0.0f;
    float xCentro = 0.0f;
    float yCentro = 0.0f;
    bool raccordiLineari = false;
    float maxAcc = 80.0f;
    int mAFrontali = 100;
    int mALaterali = 100;
    int tipoProiezione = 0;
    bool negativo = false;
    std::vector<double> uscita = {0.0, 0.0, 0.0, 0.0};
};

struct OpzioniMovimento {
    OpzioniComuni comuni;
    std::vector<double> da;
    std::vector<double> a;
    float tempo = 0.0f;
    float maxAcc = 80.0f;
};

struct OpzioniIspeziona {
    std::string buffer;
    std::string macchina;
    bool json = false;
};

struct OpzioniMacchina {
    std::string file;
    std::string esempio;
    bool json = false;
};

class CLimitiEParametri;
class CSezione;
class CPercorso;
struct PUNTO_TRAIETTORIA;

// An input opened by the bytes of its name, so a name too long, a link loop or a name that is not
// UTF-8 fails or succeeds here; the library reads the open file through /proc/self/fd.
class Ingresso {
public:
    Ingresso() = default;
    Ingresso(const Ingresso&) = delete;
    Ingresso& operator=(const Ingresso&) = delete;
    ~Ingresso();
    // False, with the reason on standard error, when `nome` cannot be read; `cosa` names it there.
    bool Apri(const std::string& nome, const std::string& cosa);
    CString NomePerLaLibreria() const;
    int Descrittore() const { return fd_; }
    std::uint64_t Dimensione() const { return dimensione_; }

private:
    int fd_ = -1;
    std::uint64_t dimensione_ = 0;
};

void Errore(const std::string& testo);
// The library takes names as wide text and gives them back as UTF-8: other bytes would name another
// file. False, with the reason on standard error, when `nome` (what `cosa` says it is) is not UTF-8.
bool NomeInUtf8(const std::string& nome, const std::string& cosa);
// The library refused: its message (or `senzaMessaggio` when it left none) on standard error, exit 1.
int Rifiuto(const CString& testo, const std::string& senzaMessaggio);
// A computed section whose error text holds a limit or collision message: its files were written and
// shown, and the exit code says so (the message on standard error).
int EsitoConAvviso(const CString& avviso);
// Prints a summary as JSON; stray bytes of names that are not UTF-8 are replaced.
void StampaJson(const nlohmann::json& j);

// One output file: its name in the output folder and what writes its bytes.
struct FileUscita {
    std::string nome;
    std::function<bool(FILE*)> scrivi;
};
std::function<bool(FILE*)> TestoInFile(std::string testo);
// Makes the folder and writes every file beside its place, then renames them all: all or none.
// Returns the full names, or an empty list after the reason went to standard error.
std::vector<std::string> ScriviUscite(const std::string& cartella, const std::vector<FileUscita>& file);
// The axis states a section's steps integrate to, from its start state.
std::vector<PUNTO_TRAIETTORIA> StatiDiSezione(const CSezione& s, const CLimitiEParametri& m);

// Reads the machine file (empty: the example unit) and checks it can compute motion; false with the
// reasons on standard error.
bool CaricaMacchina(const std::string& file, CLimitiEParametri& m);
// Reads the machine file as CaricaMacchina does, then sets the reference head the checks use: none, a
// file or the built-in outline; `testa` names it (empty without one). Returns an exit code, ESITO_OK
// to go on.
int PreparaMacchinaETesta(const OpzioniComuni& o, CLimitiEParametri& m, std::string& testa);
// Every number reaches the library as a float or a double: refuses what is not a finite float.
extern const CLI::Validator FINITO;
// The values a trajectory member may hold (its row of MembriTraiettoria), for the option that sets it.
CLI::Validator ValoreDi(const char* membro);

// Outputs made in a hidden folder beside their place (".korvane-NAME-XXXXXX", locked while it lives)
// and moved in only when all are complete, so a failed run leaves the earlier files as they were.
class CartellaProvvisoria {
public:
    CartellaProvvisoria(std::string finale, std::string nome);
    ~CartellaProvvisoria();
    CartellaProvvisoria(const CartellaProvvisoria&) = delete;
    CartellaProvvisoria& operator=(const CartellaProvvisoria&) = delete;
    // Makes the final folder as needed and the hidden one in it; false after the reason.
    bool Crea();
    std::string Percorso(const std::string& file) const;
    // The names of the files made, sorted.
    std::vector<std::string> Elenco() const;
    // Moves every file made into the final folder; returns their final names, sorted, or an empty
    // list after the reason.
    std::vector<std::string> Sposta();

private:
    std::string finale_, nome_, provvisoria_;
    int blocco_ = -1;
};

// Removes what a killed run of ours left in `cartella`: hidden temporary files and folders
// (".korvane-*") older than this run that nobody holds locked.
void RimuoviProvvisoriAbbandonati(const std::string& cartella);

// Seconds a command waits for a project another run holds.
constexpr double ATTESA_PROGETTO = 10.0;
// An advisory lock (flock) on a project for the length of one command: shared to read it, exclusive
// to change it. A project that does not exist yet is locked through its folder.
class BloccoProgetto {
public:
    BloccoProgetto() = default;
    ~BloccoProgetto();
    BloccoProgetto(const BloccoProgetto&) = delete;
    BloccoProgetto& operator=(const BloccoProgetto&) = delete;
    // Waits up to `attesa` seconds. ESITO_OK; ESITO_USO after the reason when the project cannot be
    // opened (or is missing, unless `puoMancare`); ESITO_RIFIUTATO when another run keeps it busy.
    int Prendi(const std::string& file, bool esclusivo, double attesa, bool puoMancare = false);

private:
    int fd_ = -1;
};
// The trajectory subcommands, each kept in its own source.
void AggiungiComandoPanoramica(CLI::App& app, int& esito);
void AggiungiComandoCefalometrica(CLI::App& app, int& esito);
void AggiungiComandoLineare(CLI::App& app, int& esito);
// The head check of a computed section run again on its own (a range message already in its error
// text would hide the verdict), said for the summary; `testa` names the outline PreparaMacchinaETesta set.
std::string VerdettoTesta(const OpzioniComuni& o, const CSezione& s, int modo, const std::string& testa);
void AggiungiComandoDat(CLI::App& app, int& esito);
void AggiungiComandoEsame(CLI::App& app, int& esito);
// `korvane studio`: runs the Python package's studio with the same arguments.
void AggiungiComandoStudio(CLI::App& app, int& esito);
// Loads a project (".trg" with its "_MP.ini"), gives a panoramic trajectory the example arch and
// corrects continuity. ESITO_USO after the reason when the file cannot be read or is no project at
// all; else ESITO_OK with `messaggio` the first message met.
int CaricaProgetto(const std::string& file, const std::string& macchina, CPercorso& p, std::string& messaggio);
// The last load's damaged or missing lines, each named with its file and line on standard error (the
// first ones, then how many more), and the message; ESITO_RIFIUTATO when the load reported any.
int ProblemiDiLettura(CPercorso& p, const std::string& messaggio);
// `korvane exam show`: every section of a project and its continuity, under a shared lock.
int MostraProgetto(const std::string& file, const std::string& macchina, bool json, double attesa);

void AggiungiOpzioniComuni(CLI::App& sub, OpzioniComuni& o, const std::string& uscitaPredefinita);
int EseguiCB3D(const OpzioniCB3D& o);
int EseguiMovimento(const OpzioniMovimento& o);
int EseguiIspeziona(const OpzioniIspeziona& o);
int EseguiMacchina(const OpzioniMacchina& o);
