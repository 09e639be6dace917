// korvane exam: project files (".trg") made from the example exams, shown, edited and saved with
// every output the unit needs.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <set>

#include "Assegnazioni.h"
#include "Comandi.h"
#include "Riepilogo.h"
#include "api/Korvane.h"
#include "core/LetturaTesto.h"
#include "examples/ProgettiEsempio.h"

namespace {

namespace fs = std::filesystem;

struct OpzioniEsame {
    std::string tipo;
    std::string file;
    std::string macchina;
    bool json = false;
    std::vector<std::string> assegnazioni;
    bool dat = false, converti = false, lut = false, passi = false;
    int tipoOutput = -1;
    double attesa = ATTESA_PROGETTO;
};

// Damaged lines named on standard error before the rest are summed up.
constexpr size_t MAX_RIGHE_NOMINATE = 20;

CSezione::TIPO_CONTROLLO_ANTICOLLISIONE ModoDelTipo(int tipo)
{
    return tipo == CTraiettoria::CURVA_CEFALOMETRICA ? CSezione::ANTICOLLISIONE_NESSUNA
           : tipo == CTraiettoria::CURVA_CIRCOLARE   ? CSezione::ANTICOLLISIONE_3D
                                                     : CSezione::ANTICOLLISIONE_PAN;
}

std::string DoveDanno(const CPercorso::RigaDanneggiata& r)
{
    const std::string file = StringaAUtf8(r.file);
    if (r.riga == 0)
        return file + ": the file could not be read";
    return file + ":" + std::to_string(r.riga) + ": damaged or missing line, expected \"" + r.attesa + "\"";
}

}  // namespace

int CaricaProgetto(const std::string& file, const std::string& macchina, CPercorso& p, std::string& messaggio)
{
    CLimitiEParametri m;
    if (!CaricaMacchina(macchina, m) || !NomeInUtf8(file, "the project"))
        return ESITO_USO;
    // The library opens the project and its machine file by name: both must be files that read.
    const std::string base = file.substr(0, file.rfind('.'));
    for (const std::string& nome : {file, base + "_MP.ini"}) {
        std::error_code ec;
        if ((nome == file || fs::exists(nome, ec)) && !fs::is_regular_file(nome, ec)) {
            Errore("cannot read the project " + nome + ": " + (ec ? ec.message() : "not a regular file"));
            return ESITO_USO;
        }
    }
    CString testa;
    CSezione::UsaTestonaDiDefault(testa);
    p.SetLimitiEParametri(&m, 1);
    p.CaricaFile(StringaDaUtf8(file), 1, 1);
    messaggio = StringaAUtf8(CompletaProgettoCaricato(p));
    // Nothing of an empty or foreign file reads as a section.
    if (p.ArrayOrdineGetSize() == 0 && !p.GetRigheDanneggiate().empty()) {
        Errore(file + ": not a project file (" + DoveDanno(p.GetRigheDanneggiate().front()) + ")");
        return ESITO_USO;
    }
    return ESITO_OK;
}

int ProblemiDiLettura(CPercorso& p, const std::string& messaggio)
{
    const auto& danni = p.GetRigheDanneggiate();
    if (danni.empty())
        return ESITO_OK;
    for (size_t i = 0; i < danni.size() && i < MAX_RIGHE_NOMINATE; ++i)
        Errore(DoveDanno(danni[i]));
    if (danni.size() > MAX_RIGHE_NOMINATE)
        Errore("... and " + std::to_string(danni.size() - MAX_RIGHE_NOMINATE) + " more damaged lines");
    // The reading message only says what the lines above say better.
    if (!messaggio.empty() && messaggio != StringaAUtf8(TestoMessaggio(165)))
        Errore(messaggio);
    return ESITO_RIFIUTATO;
}

namespace {

const char* NomeTipoCurva(int tipo)
{
    switch (tipo) {
    case CTraiettoria::CURVA_PANORAMICA: return "panoramic";
    case CTraiettoria::CURVA_CIRCOLARE: return "circular";
    case CTraiettoria::CURVA_LINEARE: return "linear";
    case CTraiettoria::CURVA_DA_CSV: return "from CSV";
    case CTraiettoria::CURVA_CEFALOMETRICA: return "cephalometric";
    default: return "not computed";
    }
}

const char* NomeTipo(const CSezione* s, bool raccordo)
{
    if (raccordo)
        return static_cast<const CRaccordo*>(s)->TipoRaccordo == CRaccordo::RACCORDO_ARMONICO ? "harmonic junction"
                                                                                              : "linear junction";
    return NomeTipoCurva(static_cast<const CTraiettoria*>(s)->TipoCurva);
}

// The kind each trajectory block of a project file states, in array order. A trajectory whose
// computation failed while it was loaded is back at kind 0 and has handed its message to the path;
// this tells what it was meant to be.
std::vector<int> TipiNelFile(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<int> tipi;
    std::string riga;
    // The label of the first line of every trajectory block, and of no other line.
    const std::string etichetta = "Tipo Curva        = ";
    while (std::getline(in, riga))
        if (std::int32_t tipo = 0; riga.starts_with(etichetta) && ConvertiValore(riga.substr(etichetta.size()), tipo))
            tipi.push_back(tipo);
    return tipi;
}

// The kinds of a path's trajectories as they stand.
std::vector<int> TipiDelPercorso(CPercorso& p)
{
    std::vector<int> tipi;
    for (int i = 0; i < p.ArrayTraiettorieGetSize(); ++i)
        tipi.push_back(p.ArrayTraiettorieGetTraiettoria(i)->TipoCurva);
    return tipi;
}

// A trajectory whose computation failed is back at kind 0; a junction that failed has no steps.
bool Calcolata(const CSezione& s, bool raccordo)
{
    return !s.ArrayPassi.IsEmpty() &&
           (raccordo || static_cast<const CTraiettoria&>(s).TipoCurva != CTraiettoria::CURVA_NON_CALCOLATA);
}

std::string DescriviSezione(CPercorso& p, int i)
{
    const CSezione* s = p.ArrayOrdineGetpSezione(i);
    return "section " + std::to_string(i) + " (" + NomeTipo(s, p.ArrayOrdineGetTipoSezione(i) == SEZIONE_RACCORDO) +
           " \"" + StringaAUtf8(s->Nome) + "\")";
}

// Every section of the running order must be computed and free of messages before the project is
// written: the unit would otherwise get a section that failed or broke a limit. Names each one that is
// not, with the kind `tipi` says its trajectory was meant to be; false when there was any.
bool SezioniDaSalvare(CPercorso& p, const std::vector<int>& tipi)
{
    bool ok = p.ArrayOrdineGetSize() > 0;
    if (!ok)
        Errore("the project has no section");
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i) {
        const CSezione* s = p.ArrayOrdineGetpSezione(i);
        const bool raccordo = p.ArrayOrdineGetTipoSezione(i) == SEZIONE_RACCORDO;
        if (s == nullptr || (Calcolata(*s, raccordo) && s->StringaErrore.empty()))
            continue;
        std::string descrizione = DescriviSezione(p, i), messaggio = StringaAUtf8(s->StringaErrore);
        const size_t k = static_cast<size_t>(p.ArrayOrdineGetPosSezione(i));
        if (!raccordo && !Calcolata(*s, raccordo) && k < tipi.size() && tipi[k] != CTraiettoria::CURVA_NON_CALCOLATA) {
            descrizione = "section " + std::to_string(i) + " (" + NomeTipoCurva(tipi[k]) + " \"" +
                          StringaAUtf8(s->Nome) + "\")";
            // The message went to the path while it was loaded: the computation run again gives it back.
            CTraiettoria t(static_cast<const CTraiettoria*>(s));
            t.TipoCurva = tipi[k];
            t.CalcolaArrayVelocita(ModoDelTipo(t.TipoCurva));
            if (messaggio.empty())
                messaggio = StringaAUtf8(t.StringaErrore);
        }
        Errore(descrizione + ": " + (messaggio.empty() ? std::string("not computed") : messaggio));
        ok = false;
    }
    return ok;
}

// The saved project loaded back as every command loads it must give the sections it was saved from.
bool TornaUguale(CPercorso& p, const std::string& salvato, const std::string& macchina)
{
    CPercorso q;
    std::string messaggio;
    if (CaricaProgetto(salvato, macchina, q, messaggio) != ESITO_OK || ProblemiDiLettura(q, messaggio) != ESITO_OK)
        return false;
    if (q.ArrayOrdineGetSize() != p.ArrayOrdineGetSize()) {
        Errore("the saved project does not load back with its " + std::to_string(p.ArrayOrdineGetSize()) + " sections");
        return false;
    }
    bool ok = true;
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i) {
        const bool raccordo = p.ArrayOrdineGetTipoSezione(i) == SEZIONE_RACCORDO;
        const CSezione* a = p.ArrayOrdineGetpSezione(i);
        const CSezione* b = q.ArrayOrdineGetpSezione(i);
        const bool uguali =
            a != nullptr && b != nullptr && q.ArrayOrdineGetTipoSezione(i) == p.ArrayOrdineGetTipoSezione(i) &&
            (raccordo ? *static_cast<const CRaccordo*>(a) == *static_cast<const CRaccordo*>(b)
                      : *static_cast<const CTraiettoria*>(a) == *static_cast<const CTraiettoria*>(b));
        if (!uguali) {
            Errore(DescriviSezione(p, i) + " does not load back from the project file as it was computed" +
                   (messaggio.empty() ? "" : ": " + messaggio));
            ok = false;
        }
    }
    return ok;
}

// Why `nome` could not be made in `cartella`: the system's reason, or that the library did not write it.
std::string MotivoMancante(const std::string& percorso)
{
    const int fd = ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::strerror(errno);
    ::close(fd);
    ::unlink(percorso.c_str());
    return "the library did not write it";
}

// Saves the project with its outputs: everything is written into a hidden folder, checked (every file
// asked for is there, the project loads back as it was) and only then put in place, all or none.
int Salva(CPercorso& p, const OpzioniEsame& o, int dat, int converti, const std::vector<int>& tipi)
{
    const fs::path finale(o.file);
    const std::string stem = finale.stem().string();
    // Only ".trg" makes a project: any other ending is taken by the library for a step CSV.
    if (finale.extension() != ".trg" || stem.empty()) {
        Errore("a project's name ends in .trg: " + o.file);
        return ESITO_USO;
    }
    if (!NomeInUtf8(o.file, "the project"))
        return ESITO_USO;
    if (!SezioniDaSalvare(p, tipi))
        return ESITO_RIFIUTATO;
    const std::string cartella = finale.has_parent_path() ? finale.parent_path().string() : ".";
    CartellaProvvisoria provvisoria(cartella, "exam");
    if (!provvisoria.Crea())
        return ESITO_USO;
    const std::string nome = provvisoria.Percorso(finale.filename().string());
    const int ok = p.SalvaFile(StringaDaUtf8(nome), dat, converti);
    const std::string messaggio = StringaAUtf8(p.GetErrorString());

    std::vector<std::string> attesi = {stem + ".trg", stem + "_MP.ini", stem + ".csv", stem + "_P0.csv",
                                       stem + "_SH.csv"};
    for (int collimato = 0; dat && collimato < 2; ++collimato)
        if (const CString n = p.NomeFileDat(StringaDaUtf8(nome), collimato); !n.empty())
            attesi.push_back(fs::path(StringaAUtf8(n)).filename().string());
    const std::vector<std::string> fatti = provvisoria.Elenco();
    for (const char* tabella : {"_TX.LUT", "_TY.LUT", "_X.LUT", "_Y.LUT", "_FT.LUT"})
        if (p.GetSalvaLUT() && std::none_of(fatti.begin(), fatti.end(), [&](const std::string& f) { return f.ends_with(tabella); }))
            attesi.push_back(stem + tabella);
    bool completi = true;
    for (const std::string& a : attesi) {
        if (std::find(fatti.begin(), fatti.end(), a) != fatti.end())
            continue;
        Errore("cannot write " + (finale.parent_path() / a).string() + ": " + MotivoMancante(provvisoria.Percorso(a)));
        completi = false;
    }
    if (!completi)
        return ESITO_USO;
    if (ok != 1 || !messaggio.empty()) {
        Errore(messaggio.empty() ? std::string("the project was not saved") : messaggio);
        return ESITO_RIFIUTATO;
    }
    if (!TornaUguale(p, nome, o.macchina))
        return ESITO_RIFIUTATO;

    std::vector<FileUscita> uscite;
    for (const std::string& f : fatti) {
        std::ifstream in(provvisoria.Percorso(f), std::ios::binary);
        uscite.push_back({f, TestoInFile(std::string(std::istreambuf_iterator<char>(in), {}))});
    }
    if (o.passi) {
        // A project has no projection type or exit point of its own: the movement's (type 2, all axes
        // at zero) go into the header.
        std::string buffer(DIMENSIONE_BUFFER_PASSI, '\0');
        CString motivo;
        if (EsportaPercorso(p, 2, PUNTO_TRAIETTORIA(), reinterpret_cast<unsigned char*>(buffer.data()), nullptr,
                            DIMENSIONE_BUFFER_PASSI, 0, motivo) != 1) {
            Errore("no step buffer: " + StringaAUtf8(motivo));
            return ESITO_RIFIUTATO;
        }
        uscite.push_back({stem + "_steps.bin", TestoInFile(std::move(buffer))});
    }
    const std::vector<std::string> scritti = ScriviUscite(cartella, uscite);
    if (scritti.empty())
        return ESITO_USO;
    if (o.json) {
        StampaJson({{"saved", true}, {"message", messaggio}, {"files", scritti}});
    } else {
        for (const std::string& s : scritti)
            std::printf("written: %s\n", s.c_str());
    }
    return ESITO_OK;
}

// Calls `f(index, section, whether it is a junction)` for every section of the running order.
template <class F>
void PerOgniSezione(CPercorso& p, F f)
{
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i)
        if (const CSezione* s = p.ArrayOrdineGetpSezione(i); s != nullptr)
            f(i, s, p.ArrayOrdineGetTipoSezione(i) == SEZIONE_RACCORDO);
}

// Every member a section holds, with its type, unit, range and project-file label; `valore` gives
// the value each holds now, when there is a section to read it from.
nlohmann::json TabellaMembri(int tipo, const std::function<std::string(const MembroModificabile&)>& valore)
{
    nlohmann::json righe = nlohmann::json::array();
    for (const MembroModificabile* m : MembriDellaSezione(tipo)) {
        nlohmann::json r = {{"name", m->nome}, {"type", NomeGenere(m->genere)}, {"unit", m->unita},
                            {"values", DescriviValori(*m)}, {"label", m->etichetta}};
        if (valore)
            r["value"] = valore(*m);
        righe.push_back(r);
    }
    return righe;
}

void StampaMembri(const nlohmann::json& righe)
{
    const bool valori = !righe.empty() && righe[0].contains("value");
    std::printf("  %-20s %-5s %-4s %-26s %s\n", "member", "type", "unit", "values",
                valori ? "label in the file     value" : "label in the file");
    for (const nlohmann::json& r : righe)
        std::printf("  %-20s %-5s %-4s %-26s %-*s%s\n", r["name"].get<std::string>().c_str(),
                    r["type"].get<std::string>().c_str(), r["unit"].get<std::string>().c_str(),
                    r["values"].get<std::string>().c_str(), valori ? 22 : 0,
                    ("\"" + r["label"].get<std::string>() + "\"").c_str(),
                    valori ? r["value"].get<std::string>().c_str() : "");
}

// The kinds `exam members` knows, with the kind numbers of their sections (-1 a junction).
constexpr struct {
    const char* nome;
    int tipo;
} TIPI_MEMBRI[] = {{"pan", CTraiettoria::CURVA_PANORAMICA},    {"circular", CTraiettoria::CURVA_CIRCOLARE},
                   {"cb3d", CTraiettoria::CURVA_CIRCOLARE},    {"linear", CTraiettoria::CURVA_LINEARE},
                   {"ceph", CTraiettoria::CURVA_CEFALOMETRICA}, {"csv", CTraiettoria::CURVA_DA_CSV},
                   {"junction", -1}};

int Membri(const OpzioniEsame& o)
{
    for (const auto& t : TIPI_MEMBRI) {
        if (o.tipo != t.nome)
            continue;
        const nlohmann::json righe = TabellaMembri(t.tipo, nullptr);
        if (o.json)
            StampaJson({{"kind", o.tipo}, {"members", righe}});
        else
            StampaMembri(righe);
        return ESITO_OK;
    }
    Errore("no section kind " + o.tipo + ": pan, circular, cb3d, linear, ceph, csv or junction");
    return ESITO_USO;
}

// A member's value as the project file writes it.
std::string ValoreDelMembro(const MembroModificabile& m, const CTraiettoria* t, const CRaccordo* r)
{
    char testo[400];
    if (m.genere == GenereMembro::Nome)
        return StringaAUtf8(t != nullptr ? t->Nome : r->Nome);
    if (m.interoT != nullptr || m.interoR != nullptr)
        return std::to_string(t != nullptr ? t->*m.interoT : r->*m.interoR);
    const double v = m.realeT != nullptr ? static_cast<double>(t->*m.realeT)
                     : t != nullptr      ? t->*m.doppioT
                                         : r->*m.doppioR;
    std::snprintf(testo, sizeof testo, "%f", v);
    return testo;
}

// `exam set FILE` with no assignment: every section's members and the values they hold.
int ElencaMembri(CPercorso& p, const OpzioniEsame& o)
{
    nlohmann::json sezioni = nlohmann::json::array();
    PerOgniSezione(p, [&](int i, const CSezione* s, bool raccordo) {
        const auto* t = raccordo ? nullptr : static_cast<const CTraiettoria*>(s);
        const auto* r = raccordo ? static_cast<const CRaccordo*>(s) : nullptr;
        const nlohmann::json righe = TabellaMembri(raccordo ? -1 : t->TipoCurva, [&](const MembroModificabile& m) {
            return ValoreDelMembro(m, t, r);
        });
        if (o.json) {
            sezioni.push_back({{"index", i}, {"kind", NomeTipo(s, raccordo)}, {"name", StringaAUtf8(s->Nome)}, {"members", righe}});
        } else {
            std::printf("%s\n", DescriviSezione(p, i).c_str());
            StampaMembri(righe);
        }
    });
    if (o.json)
        StampaJson({{"sections", sezioni}});
    return ESITO_OK;
}

int Mostra(const OpzioniEsame& o)
{
    BloccoProgetto blocco;
    if (const int esito = blocco.Prendi(o.file, false, o.attesa); esito != ESITO_OK)
        return esito;
    CPercorso p;
    std::string messaggio;
    if (const int esito = CaricaProgetto(o.file, o.macchina, p, messaggio); esito != ESITO_OK)
        return esito;
    const CLimitiEParametri& m = p.GetLimitiEParametri();
    const int continuo = p.CheckContinuitaSezioni();
    nlohmann::json sezioni = nlohmann::json::array();
    PerOgniSezione(p, [&](int i, const CSezione* s, bool raccordo) {
        RiepilogoMoto r = RiassumiMoto(StatiDiSezione(*s, m), m);
        const std::string errore = StringaAUtf8(s->StringaErrore);
        const bool cefalometrica =
            !raccordo && static_cast<const CTraiettoria*>(s)->TipoCurva == CTraiettoria::CURVA_CEFALOMETRICA;
        r.anticollisione = !Calcolata(*s, raccordo)                  ? "not computed"
                           : cefalometrica                           ? "none for this kind"
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
    });
    if (o.json) {
        nlohmann::json danni = nlohmann::json::array();
        for (const CPercorso::RigaDanneggiata& d : p.GetRigheDanneggiate())
            danni.push_back({{"file", StringaAUtf8(d.file)}, {"line", d.riga}, {"expected", d.attesa}});
        StampaJson({{"sections", sezioni}, {"continuous", continuo == 1}, {"message", messaggio},
                    {"damaged_lines", danni}});
    } else {
        std::printf("continuity: %s\n%s%s", continuo ? "yes" : "no", messaggio.c_str(), messaggio.empty() ? "" : "\n");
    }
    // What was shown comes before what went wrong reading it.
    std::fflush(stdout);
    return ProblemiDiLettura(p, messaggio);
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
    BloccoProgetto blocco;
    if (const int esito = blocco.Prendi(o.file, true, o.attesa, true); esito != ESITO_OK)
        return esito;
    CPercorso p;
    esempio->costruisci(p, m);
    return Salva(p, o, 0, 0, TipiDelPercorso(p));
}

// Takes the project for a change: locked, loaded and read without a problem. ESITO_OK to go on.
int CaricaPerCambiare(const OpzioniEsame& o, BloccoProgetto& blocco, CPercorso& p)
{
    if (const int esito = blocco.Prendi(o.file, true, o.attesa); esito != ESITO_OK)
        return esito;
    std::string messaggio;
    if (const int esito = CaricaProgetto(o.file, o.macchina, p, messaggio); esito != ESITO_OK)
        return esito;
    // A line that did not read holds a default now: saving would write it over what the file said.
    if (ProblemiDiLettura(p, messaggio) != ESITO_OK) {
        Errore("the project was left as it is: mend the lines above first");
        return ESITO_RIFIUTATO;
    }
    return ESITO_OK;
}

int Imposta(const OpzioniEsame& o)
{
    BloccoProgetto blocco;
    CPercorso p;
    if (const int esito = CaricaPerCambiare(o, blocco, p); esito != ESITO_OK)
        return esito;
    // Every assignment is checked before any reaches the path: a bad one changes nothing.
    CopieSezioni copie(p);
    std::vector<CTraiettoria>& traiettorie = copie.traiettorie;
    std::vector<CRaccordo>& raccordi = copie.raccordi;
    if (o.assegnazioni.empty())
        return ElencaMembri(p, o);
    std::set<int> cambiati;
    std::string errore;
    std::vector<int> tipi = TipiNelFile(o.file);
    if (!ApplicaAssegnazioni(o.assegnazioni, *p.GetpArrayOrdine(), copie, cambiati, errore)) {
        Errore(errore);
        return ESITO_USO;
    }
    for (const int i : cambiati) {
        const size_t k = static_cast<size_t>(p.ArrayOrdineGetPosSezione(i));
        if (p.ArrayOrdineGetTipoSezione(i) == SEZIONE_RACCORDO) {
            raccordi[k].CalcolaArrayVelocita(p.GetTipoControlloAnticollisioneConsigliato());
            p.ArrayRaccordiSetAt(static_cast<int>(k), &raccordi[k]);
        } else {
            CTraiettoria& t = traiettorie[k];
            // One that failed while loading is computed again as the kind its block states.
            if (k < tipi.size() && t.TipoCurva == CTraiettoria::CURVA_NON_CALCOLATA)
                t.TipoCurva = tipi[k];
            if (k < tipi.size())
                tipi[k] = t.TipoCurva;
            t.CalcolaArrayVelocita(ModoDelTipo(t.TipoCurva));
            p.CopiaTraiettoria(static_cast<int>(k), &t);
        }
    }
    p.CorreggiContinuitaSezioni();
    return Salva(p, o, 0, 0, tipi);
}

int SalvaTutto(const OpzioniEsame& o)
{
    BloccoProgetto blocco;
    CPercorso p;
    if (const int esito = CaricaPerCambiare(o, blocco, p); esito != ESITO_OK)
        return esito;
    if (o.lut)
        p.SetSalvaLUT(1);
    if (o.tipoOutput >= 0)
        p.SetTipoOutput(o.tipoOutput);
    return Salva(p, o, o.dat ? 1 : 0, o.converti ? 1 : 0, TipiNelFile(o.file));
}

}  // namespace

int MostraProgetto(const std::string& file, const std::string& macchina, bool json, double attesa)
{
    OpzioniEsame o;
    o.file = file;
    o.macchina = macchina;
    o.json = json;
    o.attesa = attesa;
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
        sub->add_option("--wait", o.attesa, "seconds to wait for a project another korvane run is using")
            ->check(FINITO & CLI::Range(0.0, 3600.0))
            ->capture_default_str();
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
                    "INDEX.MEMBER=VALUE: INDEX is the section's place in the running order, MEMBER a member's "
                    "name or its label in the file (\"1.Tempo Scansione s=15\"); none: list every section's "
                    "members, their types, units, ranges, labels and values");
    comuni(sub);
    sub->callback([&] { esito = Imposta(o); });

    sub = esame->add_subcommand("members", "list the members a section kind holds: type, unit, range and label in the file");
    sub->add_option("kind", o.tipo, "pan, circular, cb3d, linear, ceph, csv or junction")->required();
    sub->add_flag("--json", o.json, "print the result as JSON");
    sub->callback([&] { esito = Membri(o); });

    sub = esame->add_subcommand("save", "write the project and every output the unit needs");
    sub->add_option("file", o.file, "the project file")->required();
    sub->add_flag("--dat", o.dat, "write the projection files");
    sub->add_flag("--convert", o.converti, "convert the projection files (output type 0)");
    sub->add_flag("--lut", o.lut, "write the look-up tables");
    sub->add_flag("--steps", o.passi, "write the running order's step buffer (STEM_steps.bin, projection type 2, exit at zero)");
    sub->add_option("--output-type", o.tipoOutput, "output type of the projection files")->check(CLI::Range(0, 2));
    comuni(sub);
    sub->callback([&] { esito = SalvaTutto(o); });
}
