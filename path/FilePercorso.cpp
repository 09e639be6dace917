#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <span>

#include "core/LetturaTesto.h"
#include "path/Percorso.h"
#include "platform/File.h"
#include "platform/Locale.h"
#include "platform/Prompt.h"
#include "resources/Messaggi.h"

namespace {

constexpr int VERSIONE_PERCORSO = 4;
constexpr int VERSIONE_ORDINE = 1;
constexpr int VERSIONE_RACCORDI = 1;
// Counts beyond these are damage, not a project: the block fails before anything is sized by them.
constexpr int MAX_RACCORDI = 1000;
// No bound is given for trajectories; the junctions' bound serves (a path alternates the two).
constexpr int MAX_TRAIETTORIE = 1000;
constexpr int MAX_ELEMENTI = MAX_TRAIETTORIE + MAX_RACCORDI;

constexpr const char* GENERALE = "[GENERALE]\n\n";
constexpr const char* VERSIONE = "Versione          = %d\n";
constexpr const char* ORDINE = "[ORDINE ELEMENTI]\n";
constexpr const char* ELEMENTI = "%d elementi salvati\n";
constexpr const char* ELEMENTO = "tipo: %d, posizione: %d\n";
constexpr const char* TRAIETTORIE = "Numero Traiettorie= %d\n\n";
constexpr const char* RACCORDI = "[RACCORDI]\n\n";
constexpr const char* NUMERO_RACCORDI = "%d Raccordi salvati\n";
constexpr const char* FINE = "\n[END]";
constexpr const wchar_t* DOMANDA_MACCHINA =
    L"La traiettoria non contiene il file *_MP.ini con i dati della macchina:\n"
    L"YES - per caricare la macchina di default\nNO  - per mantenere la macchina attuale";

// What follows the version line of the general block, version by version.
enum class Parte { TRAIETTORIA_SOLA, SALVA_LUT, TIPO_OUTPUT, PARAMETRI_DAT, SEZIONI };
struct Voce {
    Parte parte;
    const char* formato = nullptr;
};
constexpr Voce V1[] = {{Parte::TRAIETTORIA_SOLA}};
constexpr Voce V2[] = {{Parte::SALVA_LUT, "Salva LUT         = %d\n\n"}, {Parte::SEZIONI}};
constexpr Voce V3[] = {{Parte::SALVA_LUT, "Salva LUT         = %d\n\n"}, {Parte::PARAMETRI_DAT}, {Parte::SEZIONI}};
constexpr Voce V4[] = {{Parte::SALVA_LUT, "Salva LUT         = %d\n"},
                       {Parte::TIPO_OUTPUT, "Tipo Output       = %d\n\n"},
                       {Parte::PARAMETRI_DAT},
                       {Parte::SEZIONI}};
constexpr std::span<const Voce> VERSIONI[] = {V1, V2, V3, V4};
static_assert(std::size(VERSIONI) == VERSIONE_PERCORSO);

CString Base(const CString& nome)
{
    return nome.substr(0, nome.rfind(L'.'));
}

bool Esiste(const CString& nome)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(StringaAUtf8(nome), ec);
}

// One order line: two values, so it is scanned here rather than by the one-value reader. A line
// with the entry's label whose values do not convert whole, or name neither kind, is damaged.
lettura_testo::Riga LeggiElemento(FILE* f, CElementoOrdine& e, long& inizio)
{
    std::int32_t tipo = 0, posizione = 0;
    const lettura_testo::Riga riga = lettura_testo::ScansionaRiga(f, ELEMENTO, [&] {
        inizio = std::ftell(f);
        int letti = -1;
        std::fscanf(f, "tipo:%n", &letti);
        if (letti < 0)
            return lettura_testo::ALTRA;
        std::string testo;
        const std::string separatore = ", posizione:";
        const bool letta = lettura_testo::RestoDellaRiga(f, testo, lettura_testo::MAX_VALORE);
        const size_t virgola = testo.find(separatore);
        if (!letta || virgola == std::string::npos || !ConvertiValore(testo.substr(0, virgola), tipo) ||
            !ConvertiValore(testo.substr(virgola + separatore.size()), posizione) ||
            (tipo != SEZIONE_TRAIETTORIA && tipo != SEZIONE_RACCORDO))
            return lettura_testo::PROPRIA_DANNEGGIATA;
        std::fscanf(f, " ");
        return lettura_testo::LETTA;
    });
    if (lettura_testo::ValoreOttenuto(riga))
        e = CElementoOrdine(tipo == SEZIONE_RACCORDO ? SEZIONE_RACCORDO : SEZIONE_TRAIETTORIA, posizione);
    return riga;
}

// Whether an order line stands in front of the stream, or past a few damaged lines (for a list
// whose count did not read).
bool DavantiElemento(FILE* f)
{
    return lettura_testo::DavantiDopoDanni(f, ELEMENTO, [f] { return lettura_testo::IniziaCon(f, "tipo:"); });
}

// A list's count line: what it announces, whether that read and is believable (a count beyond
// `massimo` is noted as damage), and where it stood.
struct Conteggio {
    const char* formato;
    int n = 0;
    bool letto = false;
    long riga = 0;

    Conteggio(FILE* f, const char* formatoConteggio, int massimo) : formato(formatoConteggio), riga(std::ftell(f))
    {
        letto = LeggiValore(f, formato, &n);
        if (letto && (n < 0 || n > massimo)) {
            lettura_testo::Segnala(riga, lettura_testo::Atteso(formato));
            letto = false;
        }
    }

    // Whether the list goes on at its k-th element: within a count that read; otherwise, and past
    // the count, while `davanti` sees another element (up to `massimo`). Elements beyond the count
    // show it damaged: noted once, and `integro` cleared.
    template <class Sguardo>
    bool Continua(int k, int massimo, Sguardo davanti, bool& integro) const
    {
        if (letto && k < n)
            return true;
        if (k >= massimo || !davanti())
            return false;
        if (letto && k == n) {
            lettura_testo::Segnala(riga, lettura_testo::Atteso(formato));
            integro = false;
        }
        return true;
    }
};

// A block's version line: whether it stood in place (`integra`) and whether the block is the
// version this library reads. A damaged line is taken for that version, so it costs only itself; a
// version that read but is another is noted as damage and the block is not applied.
bool LeggiVersione(FILE* f, int attesa, bool& integra)
{
    const long riga = std::ftell(f);
    int versione = attesa;
    const bool letta = LeggiValore(f, VERSIONE, &versione);
    if (letta && versione != attesa)
        lettura_testo::Segnala(riga, lettura_testo::Atteso(VERSIONE));
    integra = letta && versione == attesa;
    return versione == attesa || !letta;
}

// The 1-based line of each byte offset of a file; a line ends at "\n", "\r\n" or a lone "\r".
std::vector<int> RigheDi(const CString& nome, const std::vector<long>& posizioni)
{
    std::vector<int> righe(posizioni.size(), 1);
    FilePtr file(ApriFile(nome, "rb"));
    if (!file)
        return righe;
    std::vector<long> inizi = {0};
    long p = 0;
    for (int c = std::fgetc(file.get()), prec = 0; c != EOF; prec = c, c = std::fgetc(file.get())) {
        ++p;
        if (c == '\n' && prec == '\r')
            inizi.back() = p;
        else if (c == '\n' || c == '\r')
            inizi.push_back(p);
    }
    for (size_t i = 0; i < posizioni.size(); ++i)
        righe[i] = static_cast<int>(std::upper_bound(inizi.begin(), inizi.end(), posizioni[i]) - inizi.begin());
    return righe;
}

// A count larger than the sections present stops at the next block (or the end of the file) rather
// than reading that block as sections.
bool Davanti(FILE* f, const char* testo)
{
    const long prima = std::ftell(f);
    std::fscanf(f, " ");
    char letti[16] = "";
    const size_t n = std::fread(letti, 1, std::strlen(testo), f);
    const bool fine = n == 0 || std::strncmp(letti, testo, std::strlen(testo)) == 0;
    std::clearerr(f);
    std::fseek(f, prima, SEEK_SET);
    return fine;
}

}  // namespace

CString CPercorso::NomeFileTraiettoria(const CString& nomeFile, int indice)
{
    return InserisciPrimaDellUltimoPunto(nomeFile, std::to_wstring(indice));
}

bool CPercorso::ScriviProgetto(FILE* f, const CString& nomeFile)
{
    bool ok = true;
    std::fputs(GENERALE, f);
    std::fprintf(f, VERSIONE, VERSIONE_PERCORSO);
    for (const Voce& v : VERSIONI[VERSIONE_PERCORSO - 1]) {
        switch (v.parte) {
        case Parte::SALVA_LUT:
            std::fprintf(f, v.formato, SalvaLUT);
            break;
        case Parte::TIPO_OUTPUT:
            std::fprintf(f, v.formato, TipoOutput);
            break;
        case Parte::PARAMETRI_DAT:
            ok = m_parametriDat.SalvaFileTRG(f) == 1 && ok;
            break;
        case Parte::SEZIONI: {
            std::fprintf(f, VERSIONE, VERSIONE_ORDINE);
            std::fputs(ORDINE, f);
            std::fprintf(f, ELEMENTI, m_ordine.GetSize());
            for (const CElementoOrdine& e : m_ordine)
                std::fprintf(f, ELEMENTO, static_cast<int>(e.tipo), e.posizione);
            std::fputs("\n", f);
            std::fprintf(f, TRAIETTORIE, m_traiettorie.GetSize());
            const int conH = ArrayOrdineIsHInUso();
            for (int i = 0; i < m_traiettorie.GetSize(); ++i) {
                CTraiettoria& t = m_traiettorie.ElementAt(i);
                if (!t.SalvaFileTRG(f, NomeFileTraiettoria(nomeFile, i), conH)) {
                    ImpostaSeVuoto(m_errore, t.StringaErrore);
                    ok = false;
                }
                std::fputs("\n", f);
            }
            std::fputs(RACCORDI, f);
            std::fprintf(f, VERSIONE, VERSIONE_RACCORDI);
            std::fprintf(f, NUMERO_RACCORDI, m_raccordi.GetSize());
            for (const CRaccordo& r : m_raccordi) {
                std::fputs("\n", f);
                ok = r.SalvaFileTRG(f) == 1 && ok;
            }
            break;
        }
        case Parte::TRAIETTORIA_SOLA:
            break;
        }
    }
    std::fputs(FINE, f);
    return ok;
}

int CPercorso::SalvaFile(CString nomeFile, int salvaDat, int converti)
{
    if (nomeFile.empty())
        return 0;
    if (TipoOutput == 0 || TipoOutput == 1) {
        for (int i = 0; i < m_ordine.GetSize(); ++i) {
            if (m_ordine[i].tipo != SEZIONE_TRAIETTORIA)
                continue;
            const CSezione* s = Sezione(i);
            if (s != nullptr && static_cast<const CTraiettoria*>(s)->IsScout) {
                CaricaMessaggio(m_errore, 185);
                return 0;
            }
            break;
        }
    }
    if (!CheckContinuitaSezioni()) {
        CaricaMessaggio(m_errore, 168);
        return 0;
    }
    LocaleC guardia;
    const bool progetto = FinisceCon(nomeFile, L".trg");
    CString nomeCSV = nomeFile;
    CString nomiDat[2];
    if (progetto) {
        nomeCSV = Base(nomeFile) + L".csv";
        nomiDat[0] = NomeFileDat(nomeFile, 0);
        nomiDat[1] = NomeFileDat(nomeFile, 1);
        // Written beside and renamed only when whole: a failed save leaves the old project standing.
        if (!ScriviSostituendo(nomeFile, [&](FILE* f) { return ScriviProgetto(f, nomeFile); }))
            CaricaMessaggio(m_errore, 166);
        if (!m_limiti.ScriviSuFile(Base(nomeFile) + L"_MP.ini", 0))
            CaricaMessaggio(m_errore, MSG_FILE_MACCHINA_NON_SCRITTO);
    }
    if (SalvaFileCSV(nomeCSV) && SalvaLUT && progetto) {
        const CParametriFileDat& d = m_parametriDat;
        const int tipo = GetTipoProiezione();
        char id[64] = "";
        if (d.Group != -1 && tipo != -1 && d.ApsRangeMax != -1 && d.Version != -1)
            std::snprintf(id, sizeof id, "%d.%d.%d.%d", d.Group, tipo, d.ApsRangeMax, d.Version);
        CreaLUT(1, nomeCSV, StringaDa8Bit(id));
    }
    if (salvaDat) {
        auto scrivi = [&](const CString& nome, int collimato) {
            if (nome.empty())
                return;
            SalvaFileDat(nome, collimato);
            if (converti && TipoOutput == 0)
                ConvertiInOut(&nome);
        };
        if (TipoOutput == 0 || TipoOutput == 1) {
            scrivi(nomiDat[0], 0);
            scrivi(nomiDat[1], 1);
        } else {
            scrivi(nomiDat[0], 1);
        }
    }
    return 1;
}

bool CPercorso::LeggiTraiettoria(FILE* f, const CString& nome, bool sostituisci)
{
    CTraiettoria t(m_limiti);
    const bool ok = t.CaricaFileTRG(f, nome) == 1;
    ImpostaSeVuoto(m_errore, t.StringaErrore);
    m_traiettorie.Add(t);
    if (!sostituisci) {
        const CElementoOrdine e(SEZIONE_TRAIETTORIA, m_traiettorie.GetSize() - 1);
        ArrayOrdineAggiungiElemento(&e, -1);
    }
    return ok;
}

bool CPercorso::LeggiSezioni(FILE* f, const CString& nomeFile, bool sostituisci, bool caricaRaccordi,
                             bool contaTraiettorie)
{
    EsitoLettura esito;
    // The order block. A version other than 1 fails it and its lines are passed over unapplied. A
    // count that does not read (or is beyond belief) gives way to the order lines that stand there;
    // a damaged order line costs its own entry.
    bool integra = false;
    const bool versioneOrdine = LeggiVersione(f, VERSIONE_ORDINE, integra);
    bool ordine = LeggiLetterale(f, ORDINE) && integra;
    const Conteggio elementi(f, ELEMENTI, MAX_ELEMENTI);
    ordine = elementi.letto && ordine;
    ArrayOrdine letti;
    std::vector<long> posizioni;
    const auto elementoDavanti = [&] {
        return elementi.letto ? lettura_testo::IniziaCon(f, "tipo:") : DavantiElemento(f);
    };
    for (int k = 0; elementi.Continua(k, MAX_ELEMENTI, elementoDavanti, ordine); ++k) {
        CElementoOrdine e;
        long inizio = 0;
        const lettura_testo::Riga letto = LeggiElemento(f, e, inizio);
        ordine = letto == lettura_testo::Riga::AL_POSTO && ordine;
        if (lettura_testo::ValoreOttenuto(letto)) {
            letti.Add(e);
            posizioni.push_back(inizio);
        }
    }
    if (sostituisci && versioneOrdine)
        m_ordine.Copy(letti);
    esito &= ordine;

    LeggiLetterale(f, "\n");
    // A trajectory count that does not read gives way to the blocks that stand before the junctions.
    const Conteggio traiettorie(f, TRAIETTORIE, MAX_TRAIETTORIE);
    bool contate = traiettorie.letto;
    const auto traiettoriaDavanti = [&] {
        return !Davanti(f, RACCORDI) && (!traiettorie.letto || lettura_testo::IniziaCon(f, "Tipo Curva"));
    };
    for (int i = 0; traiettorie.Continua(i, MAX_TRAIETTORIE, traiettoriaDavanti, contate); ++i) {
        if (Davanti(f, RACCORDI)) {
            lettura_testo::Segnala(std::ftell(f), "Tipo Curva        = %d");
            contate = false;
            break;
        }
        const long prima = std::ftell(f);
        const bool ok = LeggiTraiettoria(f, NomeFileTraiettoria(nomeFile, i), sostituisci);
        if (contaTraiettorie)
            esito &= ok;
        LeggiLetterale(f, "\n");
        // Without a count, lines that no block reads end the list rather than repeat it.
        if (!traiettorie.letto && std::ftell(f) == prima)
            break;
    }
    esito &= contate;

    // The junction block; its count, like the others, gives way to what stands there when damaged.
    bool raccordi = LeggiLetterale(f, RACCORDI);
    const bool versioneRaccordi = LeggiVersione(f, VERSIONE_RACCORDI, integra);
    raccordi = integra && raccordi;
    const Conteggio quanti(f, NUMERO_RACCORDI, MAX_RACCORDI);
    raccordi = quanti.letto && raccordi;
    const auto raccordoDavanti = [&] {
        return versioneRaccordi && !Davanti(f, "[END]") && (!quanti.letto || lettura_testo::IniziaCon(f, "Versione"));
    };
    const CSezione::TIPO_CONTROLLO_ANTICOLLISIONE modo = GetTipoControlloAnticollisioneConsigliato();
    for (int k = 0; versioneRaccordi && quanti.Continua(k, MAX_RACCORDI, raccordoDavanti, raccordi); ++k) {
        if (Davanti(f, "[END]")) {
            lettura_testo::Segnala(std::ftell(f), "Versione          = %d");
            raccordi = false;
            break;
        }
        LeggiLetterale(f, "\n");
        const long prima = std::ftell(f);
        CRaccordo r(m_limiti);
        raccordi = r.CaricaFileTRG(f) == 1 && raccordi;
        if (!quanti.letto && std::ftell(f) == prima)
            break;
        if (!caricaRaccordi)
            continue;
        r.CalcolaArrayVelocita(modo);
        ImpostaSeVuoto(m_errore, r.StringaErrore);
        m_raccordi.Add(r);
        if (!sostituisci) {
            const CElementoOrdine e(SEZIONE_RACCORDO, m_raccordi.GetSize() - 1);
            ArrayOrdineAggiungiElemento(&e, -1);
        }
    }
    esito &= raccordi;

    // An order entry that names no section is damage: it is dropped, so the order never points
    // outside its arrays. Junction entries are checked only when the junctions were loaded.
    if (sostituisci && versioneOrdine) {
        ArrayOrdine validi;
        for (int k = 0; k < m_ordine.GetSize(); ++k) {
            const CElementoOrdine& e = m_ordine[k];
            const bool raccordo = e.tipo == SEZIONE_RACCORDO;
            const int dimensione = raccordo ? m_raccordi.GetSize() : m_traiettorie.GetSize();
            if (e.posizione >= 0 && ((raccordo && !caricaRaccordi) || e.posizione < dimensione)) {
                validi.Add(e);
                continue;
            }
            lettura_testo::Segnala(posizioni[static_cast<size_t>(k)], lettura_testo::Atteso(ELEMENTO));
            esito &= false;
        }
        m_ordine.Copy(validi);
    }
    return esito.Risultato() == 1;
}

template <class Lettura>
auto CPercorso::LeggiRegistrando(const CString& nome, Lettura lettura)
{
    std::vector<DannoLettura> danni;
    const auto risultato = [&] {
        const lettura_testo::Registro registro(danni);
        return lettura();
    }();
    std::vector<long> posizioni;
    for (const DannoLettura& d : danni)
        posizioni.push_back(d.posizione);
    const std::vector<int> righe = RigheDi(nome, posizioni);
    for (size_t i = 0; i < danni.size(); ++i)
        m_righeDanneggiate.push_back({nome, righe[i], danni[i].atteso});
    return risultato;
}

int CPercorso::CaricaFile(CString nomeFile, int sostituisci, int caricaRaccordi)
{
    if (nomeFile.empty())
        return 0;
    if (!FinisceCon(nomeFile, L".trg")) {
        ImportaCSV(nomeFile, sostituisci != 0);
        return 1;
    }
    m_righeDanneggiate.clear();
    const CString nomeMacchina = Base(nomeFile) + L"_MP.ini";
    if (!Esiste(nomeMacchina)) {
        // Without a user to ask, the machine in use stays.
        if (ChiediSiNo(DOMANDA_MACCHINA, 0))
            m_limiti = m_macchinaPredefinita;
    } else {
        const int letta = LeggiRegistrando(nomeMacchina, [&] { return m_limiti.LeggiDaFile(nomeMacchina, 0); });
        // A machine file that did not read is the host's to know of, like a damaged project line.
        if (letta != 1 && m_righeDanneggiate.empty())
            m_righeDanneggiate.push_back({nomeMacchina, 1, "Versione          = %d"});
    }
    FilePtr file(ApriFile(nomeFile, "r"));
    if (!file) {
        m_righeDanneggiate.push_back({nomeFile, 0, "[GENERALE]"});
        CaricaMessaggio(m_errore, 165);
        return 1;
    }
    const bool vuoto = m_errore.empty();
    const bool letto = LeggiRegistrando(
        nomeFile, [&] { return LeggiProgetto(file.get(), nomeFile, sostituisci, caricaRaccordi); });
    // What a section computed from a damaged value follows from the damage: the reading problem
    // is the one reported.
    if (!letto || !m_righeDanneggiate.empty()) {
        if (vuoto)
            m_errore.clear();
        CaricaMessaggio(m_errore, 165);
    }
    return 1;
}

bool CPercorso::LeggiProgetto(FILE* f, const CString& nomeFile, int sostituisci, int caricaRaccordi)
{
    LocaleC guardia;
    EsitoLettura esito;
    esito &= LeggiLetterale(f, GENERALE);
    int versione = 0;
    const long rigaVersione = std::ftell(f);
    const bool versioneLetta = LeggiValore(f, VERSIONE, &versione);
    // A damaged version line is read as the newest layout, the one this library writes; a version
    // this library does not know is read no further.
    esito &= versioneLetta;
    if (!versioneLetta)
        versione = VERSIONE_PERCORSO;
    if (versione < 1 || versione > VERSIONE_PERCORSO) {
        lettura_testo::Segnala(rigaVersione, lettura_testo::Atteso(VERSIONE));
        return false;
    }
    const bool sost = sostituisci != 0;
    if (sost)
        SvuotaArray();
    // A setting whose line does not read keeps the path's own.
    int salvaLUT = SalvaLUT;
    int tipoOutput = TipoOutput;
    CParametriFileDat scarto;
    for (const Voce& v : VERSIONI[versione - 1]) {
        switch (v.parte) {
        case Parte::TRAIETTORIA_SOLA:
            // The oldest files have no order block: their one trajectory joins the order either way.
            LeggiTraiettoria(f, nomeFile, false);
            break;
        case Parte::SALVA_LUT:
            esito &= LeggiValore(f, v.formato, &salvaLUT);
            break;
        case Parte::TIPO_OUTPUT:
            esito &= LeggiValore(f, v.formato, &tipoOutput);
            break;
        case Parte::PARAMETRI_DAT:
            esito &= (sost ? m_parametriDat : scarto).CaricaFileTRG(f) == 1;
            break;
        case Parte::SEZIONI:
            esito &= LeggiSezioni(f, nomeFile, sost, caricaRaccordi != 0, versione == VERSIONE_PERCORSO);
            break;
        }
    }
    if (sost) {
        SalvaLUT = salvaLUT == 1 ? 1 : 0;
        TipoOutput = versione == VERSIONE_PERCORSO ? tipoOutput : 0;
        if (versione == 1)
            CreaAccDecOldStyle();
    }
    esito &= LeggiLetterale(f, FINE);
    return esito.Risultato() == 1;
}

void CPercorso::ImportaCSV(const CString& nomeFile, bool sostituisci)
{
    FilePtr passi(ApriFile(nomeFile, "r"));
    FilePtr inizio(ApriFile(InserisciPrimaDellUltimoPunto(nomeFile, L"_P0"), "r"));
    if (!passi || !inizio)
        return;
    if (sostituisci)
        SvuotaArray();
    LocaleC guardia;
    CTraiettoria t(m_limiti);
    t.LeggiDaFileCSV(passi.get(), inizio.get());
    t.Nome = TestoMessaggio(174);
    t.TipoCurva = CTraiettoria::CURVA_DA_CSV;
    m_traiettorie.Add(t);
    const CElementoOrdine e(SEZIONE_TRAIETTORIA, m_traiettorie.GetSize() - 1);
    ArrayOrdineAggiungiElemento(&e, -1);
}
