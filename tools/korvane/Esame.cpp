// korvane exam: project files (".trg") made from the example exams, shown, edited and saved with
// every output the unit needs.

#include <cerrno>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <type_traits>

#include "Comandi.h"
#include "Riepilogo.h"
#include "examples/EsamePanoramico.h"
#include "examples/ProgettiEsempio.h"

namespace {

namespace fs = std::filesystem;

struct OpzioniEsame {
    std::string tipo;
    std::string file;
    std::string macchina;
    bool json = false;
    std::vector<std::string> assegnazioni;
    bool dat = false, converti = false, lut = false;
    int tipoOutput = -1;
};

// A member set from text; false when the text is not a whole, finite value of the member's type.
using Assegna = std::function<bool(void* sezione, const std::string& testo)>;

template <class T>
bool Leggi(const std::string& testo, T& v)
{
    if (testo.empty())
        return false;
    char* fine = nullptr;
    errno = 0;
    if constexpr (std::is_integral_v<T>) {
        const long x = std::strtol(testo.c_str(), &fine, 10);
        if (*fine != '\0' || errno != 0 || x < INT32_MIN || x > INT32_MAX)
            return false;
        v = static_cast<T>(x);
    } else {
        const double x = std::strtod(testo.c_str(), &fine);
        const double massimo = std::is_same_v<T, float> ? 3.4e38 : 1e308;
        if (*fine != '\0' || errno != 0 || !std::isfinite(x) || std::fabs(x) > massimo)
            return false;
        v = static_cast<T>(x);
    }
    return true;
}

template <class S, class T>
Assegna Membro(T S::*m)
{
    return [m](void* s, const std::string& testo) { return Leggi(testo, static_cast<S*>(s)->*m); };
}

template <class S>
Assegna Nome()
{
    return [](void* s, const std::string& testo) {
        // An empty name would read back as the line after it; a line end would end the name early.
        if (testo.empty() || testo.find_first_of("\r\n") != std::string::npos)
            return false;
        static_cast<S*>(s)->Nome = StringaDaUtf8(testo);
        return true;
    };
}

// Members by their interface names.
const std::map<std::string, Assegna>& MembriTraiettoria()
{
    static const std::map<std::string, Assegna> m = [] {
        std::map<std::string, Assegna> t;
#define KORVANE_MEMBRO(tipo, nome, predefinito) t[#nome] = Membro(&CTraiettoria::nome);
        KORVANE_TRAIETTORIA_PARAMETRI_A(KORVANE_MEMBRO)
        KORVANE_TRAIETTORIA_PARAMETRI_B(KORVANE_MEMBRO)
#undef KORVANE_MEMBRO
        t["Nome"] = Nome<CTraiettoria>();
        return t;
    }();
    return m;
}

const std::map<std::string, Assegna>& MembriRaccordo()
{
    static const std::map<std::string, Assegna> m = {
        {"TempoRaccordos", Membro(&CRaccordo::TempoRaccordos)},
        {"MaxAccPercento", Membro(&CRaccordo::MaxAccPercento)},
        {"UsaTempoMinimo", Membro(&CRaccordo::UsaTempoMinimo)},
        {"IgnoraPuntoInizia", Membro(&CRaccordo::IgnoraPuntoInizia)},
        {"IgnoraPuntoFinale", Membro(&CRaccordo::IgnoraPuntoFinale)},
        {"TipoRaccordo", Membro(&CRaccordo::TipoRaccordo)},
        {"GestioneRaggi", Membro(&CRaccordo::GestioneRaggi)},
        {"Nome", Nome<CRaccordo>()},
    };
    return m;
}

CSezione::TIPO_CONTROLLO_ANTICOLLISIONE ModoDelTipo(int tipo)
{
    return tipo == CTraiettoria::CURVA_CEFALOMETRICA ? CSezione::ANTICOLLISIONE_NESSUNA
           : tipo == CTraiettoria::CURVA_CIRCOLARE   ? CSezione::ANTICOLLISIONE_3D
                                                     : CSezione::ANTICOLLISIONE_PAN;
}

// Loads a project. A project keeps no arch curve, so a panoramic trajectory comes back uncomputed;
// it gets the example adult arch and is computed again. Continuity is corrected, since the file
// keeps the junctions' ends with six decimals only. Returns the path's first message, if any.
}  // namespace

bool CaricaProgetto(const std::string& file, const std::string& macchina, CPercorso& p, std::string& messaggio)
{
    CLimitiEParametri m;
    if (!CaricaMacchina(macchina, m))
        return false;
    if (!fs::is_regular_file(file)) {
        Errore("cannot read the project: " + file);
        return false;
    }
    CString testa;
    CSezione::UsaTestonaDiDefault(testa);
    p.SetLimitiEParametri(&m, 1);
    p.CaricaFile(StringaDaUtf8(file), 1, 1);
    const CString errore = CompletaProgettoCaricato(p);
    messaggio = StringaAUtf8(errore);
    return true;
}

namespace {

// Every file of a folder with the time it was last written.
std::map<std::string, fs::file_time_type> Istantanea(const std::string& cartella)
{
    std::map<std::string, fs::file_time_type> t;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(cartella.empty() ? "." : cartella, ec))
        t[e.path().string()] = e.last_write_time(ec);
    return t;
}

std::vector<std::string> Scritti(const std::string& cartella, const std::map<std::string, fs::file_time_type>& prima)
{
    std::vector<std::string> nuovi;
    for (const auto& [nome, quando] : Istantanea(cartella))
        if (!prima.count(nome) || prima.at(nome) != quando)
            nuovi.push_back(nome);
    return nuovi;
}

std::string Cartella(const std::string& file)
{
    return fs::path(file).parent_path().string();
}

// Saves the project with its outputs and lists what was written.
int Salva(CPercorso& p, const OpzioniEsame& o, int dat, int converti)
{
    const std::string cartella = Cartella(o.file);
    const auto prima = Istantanea(cartella);
    const int ok = p.SalvaFile(StringaDaUtf8(o.file), dat, converti);
    const std::string messaggio = StringaAUtf8(p.GetErrorString());
    const std::vector<std::string> scritti = Scritti(cartella, prima);
    if (o.json) {
        StampaJson({{"saved", ok == 1}, {"message", messaggio}, {"files", scritti}});
    } else {
        for (const std::string& s : scritti)
            std::printf("written: %s\n", s.c_str());
    }
    if (ok != 1 || !messaggio.empty()) {
        Errore(messaggio.empty() ? std::string("the project was not saved") : messaggio);
        return ESITO_RIFIUTATO;
    }
    return ESITO_OK;
}

const char* NomeTipo(const CSezione* s, bool raccordo)
{
    if (raccordo)
        return static_cast<const CRaccordo*>(s)->TipoRaccordo == CRaccordo::RACCORDO_ARMONICO ? "harmonic junction"
                                                                                              : "linear junction";
    switch (static_cast<const CTraiettoria*>(s)->TipoCurva) {
    case CTraiettoria::CURVA_PANORAMICA: return "panoramic";
    case CTraiettoria::CURVA_CIRCOLARE: return "circular";
    case CTraiettoria::CURVA_LINEARE: return "linear";
    case CTraiettoria::CURVA_DA_CSV: return "from CSV";
    case CTraiettoria::CURVA_CEFALOMETRICA: return "cephalometric";
    default: return "not computed";
    }
}

int Mostra(const OpzioniEsame& o)
{
    CPercorso p;
    std::string messaggio;
    if (!CaricaProgetto(o.file, o.macchina, p, messaggio))
        return ESITO_USO;
    const CLimitiEParametri& m = p.GetLimitiEParametri();
    const int continuo = p.CheckContinuitaSezioni();
    nlohmann::json sezioni = nlohmann::json::array();
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i) {
        const CSezione* s = p.ArrayOrdineGetpSezione(i);
        if (s == nullptr)
            continue;
        const bool raccordo = p.ArrayOrdineGetTipoSezione(i) == SEZIONE_RACCORDO;
        RiepilogoMoto r = RiassumiMoto(StatiDiSezione(*s, m), m);
        const std::string errore = StringaAUtf8(s->StringaErrore);
        const bool cefalometrica =
            !raccordo && static_cast<const CTraiettoria*>(s)->TipoCurva == CTraiettoria::CURVA_CEFALOMETRICA;
        r.anticollisione = cefalometrica                              ? "none for this kind"
                           : s->StringaErrore == TestoMessaggio(178) ? "failed"
                                                                      : "passed";
        if (o.json) {
            nlohmann::json j = RiepilogoInJson(r);
            j["index"] = i;
            j["kind"] = NomeTipo(s, raccordo);
            j["name"] = StringaAUtf8(s->Nome);
            j["message"] = errore;
            sezioni.push_back(j);
        } else {
            std::printf("[%d] %s \"%s\"%s%s\n", i, NomeTipo(s, raccordo), StringaAUtf8(s->Nome).c_str(),
                        errore.empty() ? "" : ": ", errore.c_str());
            StampaRiepilogo(r, stdout);
        }
    }
    if (o.json)
        StampaJson({{"sections", sezioni}, {"continuous", continuo == 1}, {"message", messaggio}});
    else
        std::printf("continuity: %s\n%s%s", continuo ? "yes" : "no", messaggio.c_str(), messaggio.empty() ? "" : "\n");
    return ESITO_OK;
}

int Nuovo(const OpzioniEsame& o)
{
    const ProgettoEsempio* esempio = TrovaProgettoEsempio(o.tipo);
    if (esempio == nullptr) {
        Errore("no example exam of kind " + o.tipo);
        return ESITO_USO;
    }
    CLimitiEParametri m;
    if (!CaricaMacchina(o.macchina, m))
        return ESITO_USO;
    CPercorso p;
    esempio->costruisci(p, m);
    return Salva(p, o, 0, 0);
}

int Imposta(const OpzioniEsame& o)
{
    CPercorso p;
    std::string messaggio;
    if (!CaricaProgetto(o.file, o.macchina, p, messaggio))
        return ESITO_USO;
    // Every assignment is checked before any is applied: a bad one changes nothing.
    std::vector<CTraiettoria> traiettorie;
    std::vector<CRaccordo> raccordi;
    for (int i = 0; i < p.ArrayTraiettorieGetSize(); ++i)
        traiettorie.emplace_back(*p.ArrayTraiettorieGetTraiettoria(i));
    for (int i = 0; i < p.ArrayRaccordiGetSize(); ++i)
        raccordi.push_back(*p.ArrayRaccordiGetRaccordo(i));
    std::set<int> cambiati;
    for (const std::string& a : o.assegnazioni) {
        const size_t punto = a.find('.'), uguale = a.find('=');
        int indice = -1;
        if (punto == std::string::npos || uguale == std::string::npos || uguale < punto ||
            !Leggi(a.substr(0, punto), indice) || indice < 0 || indice >= p.ArrayOrdineGetSize()) {
            Errore("not INDEX.MEMBER=VALUE with INDEX a section of the running order: " + a);
            return ESITO_USO;
        }
        const bool raccordo = p.ArrayOrdineGetTipoSezione(indice) == SEZIONE_RACCORDO;
        const int posizione = p.ArrayOrdineGetPosSezione(indice);
        const auto& membri = raccordo ? MembriRaccordo() : MembriTraiettoria();
        const std::string membro = a.substr(punto + 1, uguale - punto - 1);
        const auto trovato = membri.find(membro);
        if (trovato == membri.end()) {
            Errore("section " + std::to_string(indice) + " has no member " + membro);
            return ESITO_USO;
        }
        void* sezione = raccordo ? static_cast<void*>(&raccordi.at(static_cast<size_t>(posizione)))
                                 : static_cast<void*>(&traiettorie.at(static_cast<size_t>(posizione)));
        if (!trovato->second(sezione, a.substr(uguale + 1))) {
            Errore("not a value for " + membro + ": " + a.substr(uguale + 1));
            return ESITO_USO;
        }
        cambiati.insert(indice);
    }
    for (const int i : cambiati) {
        const size_t k = static_cast<size_t>(p.ArrayOrdineGetPosSezione(i));
        if (p.ArrayOrdineGetTipoSezione(i) == SEZIONE_RACCORDO) {
            raccordi[k].CalcolaArrayVelocita(p.GetTipoControlloAnticollisioneConsigliato());
            p.ArrayRaccordiSetAt(static_cast<int>(k), &raccordi[k]);
        } else {
            CTraiettoria& t = traiettorie[k];
            t.CalcolaArrayVelocita(ModoDelTipo(t.TipoCurva));
            p.CopiaTraiettoria(static_cast<int>(k), &t);
        }
    }
    p.CorreggiContinuitaSezioni();
    return Salva(p, o, 0, 0);
}

int SalvaTutto(const OpzioniEsame& o)
{
    CPercorso p;
    std::string messaggio;
    if (!CaricaProgetto(o.file, o.macchina, p, messaggio))
        return ESITO_USO;
    if (o.lut)
        p.SetSalvaLUT(1);
    if (o.tipoOutput >= 0)
        p.SetTipoOutput(o.tipoOutput);
    return Salva(p, o, o.dat ? 1 : 0, o.converti ? 1 : 0);
}

}  // namespace

int MostraProgetto(const std::string& file, const std::string& macchina, bool json)
{
    OpzioniEsame o;
    o.file = file;
    o.macchina = macchina;
    o.json = json;
    return Mostra(o);
}

void AggiungiComandoEsame(CLI::App& app, int& esito)
{
    static OpzioniEsame o;
    CLI::App* esame = app.add_subcommand("exam", "make, show, edit and save project files (.trg)");
    esame->require_subcommand(1);
    auto comuni = [&](CLI::App* sub) {
        sub->add_option("--machine", o.macchina, "machine file when the project has none (default: the example unit)");
        sub->add_flag("--json", o.json, "print the result as JSON");
    };

    CLI::App* sub = esame->add_subcommand("new", "save an example exam as a project with its junctions");
    std::string tipi;
    for (const ProgettoEsempio& e : ProgettiEsempio())
        tipi += (tipi.empty() ? "" : ", ") + std::string(e.tipo);
    sub->add_option("kind", o.tipo, tipi)->required();
    sub->add_option("--out", o.file, "the project file to write (.trg)")->required();
    comuni(sub);
    sub->callback([&] { esito = Nuovo(o); });

    sub = esame->add_subcommand("show", "load a project, recompute it and print every section");
    sub->add_option("file", o.file, "the project file")->required();
    comuni(sub);
    sub->callback([&] { esito = Mostra(o); });

    sub = esame->add_subcommand("set", "change trajectory or junction members, recompute and save");
    sub->add_option("file", o.file, "the project file")->required();
    sub->add_option("assignments", o.assegnazioni,
                    "INDEX.MEMBER=VALUE: INDEX is the section's place in the running order")
        ->required();
    comuni(sub);
    sub->callback([&] { esito = Imposta(o); });

    sub = esame->add_subcommand("save", "write the project and every output the unit needs");
    sub->add_option("file", o.file, "the project file")->required();
    sub->add_flag("--dat", o.dat, "write the projection files");
    sub->add_flag("--convert", o.converti, "convert the projection files (output type 0)");
    sub->add_flag("--lut", o.lut, "write the look-up tables");
    sub->add_option("--output-type", o.tipoOutput, "output type of the projection files")->check(CLI::Range(0, 2));
    comuni(sub);
    sub->callback([&] { esito = SalvaTutto(o); });
}
