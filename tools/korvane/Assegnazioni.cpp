#include "Assegnazioni.h"

#include <cmath>
#include <cstdio>
#include <type_traits>

#include "core/LetturaTesto.h"

namespace {

using T = CTraiettoria;
using R = CRaccordo;
using G = GenereMembro;

// Shared bounds for members whose meaning gives no range of its own.
constexpr double DISTANZA_MASSIMA = 10000.0;  // mm: ten metres, beyond every axis of any unit
constexpr double ANGOLO_MASSIMO = 720.0;      // degrees: two turns, more than any R axis travels
constexpr double INDICE_MASSIMO = 10000.0;    // arch-curve indices: as many as a tuning list may hold
constexpr double SCALA_MASSIMA = 1.0e6;       // display scales: only drawn, never computed with

constexpr int BANDIERA[] = {0, 1};
constexpr int KIND_CALCOLATI[] = {T::CURVA_PANORAMICA, T::CURVA_CIRCOLARE, T::CURVA_LINEARE, T::CURVA_CEFALOMETRICA};
constexpr int KIND_VERI[] = {T::CURVA_PANORAMICA, T::CURVA_CIRCOLARE, T::CURVA_LINEARE, T::CURVA_DA_CSV,
                             T::CURVA_CEFALOMETRICA};
constexpr int RICOSTRUZIONI[] = {1, 2};
constexpr int KIND_RACCORDO[] = {R::RACCORDO_LINEARE, R::RACCORDO_ARMONICO};
constexpr int RAGGI[] = {0, 1, 2};

constexpr MembroModificabile Membro(const char* nome, G genere, double minimo = 0, double massimo = 0,
                                    bool minimoEscluso = false, bool massimoEscluso = false)
{
    MembroModificabile r{};
    r.nome = nome, r.genere = genere, r.minimo = minimo, r.massimo = massimo;
    r.minimoEscluso = minimoEscluso, r.massimoEscluso = massimoEscluso;
    return r;
}

constexpr MembroModificabile Flag(const char* nome, std::int32_t T::*m, const char* etichetta)
{
    MembroModificabile r = Membro(nome, G::Bandiera);
    r.valori = BANDIERA, r.etichetta = etichetta, r.interoT = m;
    return r;
}

constexpr MembroModificabile Valori(const char* nome, std::int32_t T::*m, std::span<const int> valori,
                                    const char* etichetta)
{
    MembroModificabile r = Membro(nome, G::Intero);
    r.valori = valori, r.etichetta = etichetta, r.interoT = m;
    return r;
}

constexpr MembroModificabile Intero(const char* nome, std::int32_t T::*m, double minimo, double massimo,
                                    const char* unita, const char* etichetta)
{
    MembroModificabile r = Membro(nome, G::Intero, minimo, massimo);
    r.unita = unita, r.etichetta = etichetta, r.interoT = m;
    return r;
}

constexpr MembroModificabile Reale(const char* nome, float T::*m, double minimo, double massimo, const char* unita,
                                   const char* etichetta, bool minimoEscluso = false, bool massimoEscluso = false)
{
    MembroModificabile r = Membro(nome, G::Reale, minimo, massimo, minimoEscluso, massimoEscluso);
    r.unita = unita, r.etichetta = etichetta, r.realeT = m;
    return r;
}

constexpr MembroModificabile Doppio(const char* nome, double T::*m, double minimo, double massimo,
                                    const char* unita, const char* etichetta, bool minimoEscluso = false)
{
    MembroModificabile r = Membro(nome, G::Doppio, minimo, massimo, minimoEscluso);
    r.unita = unita, r.etichetta = etichetta, r.doppioT = m;
    return r;
}

// A scan time: above zero, at most TEMPO_SCANSIONE_MASSIMO.
constexpr MembroModificabile Tempo(const char* nome, float T::*m)
{
    return Reale(nome, m, 0.0, TEMPO_SCANSIONE_MASSIMO, "s", "Tempo Scansione s", true);
}

// Tube settings are percentages of the unit's range.
constexpr MembroModificabile Percento(const char* nome, std::int32_t T::*m, const char* etichetta)
{
    return Intero(nome, m, 0, 100, "%", etichetta);
}

// The object lies between tube and sensor, so the image is never smaller than it; twice its size is
// already far outside any dental geometry.
constexpr MembroModificabile Ingrandimento(const char* nome, float T::*m)
{
    return Reale(nome, m, 1.0, 2.0, "", "Ingrandimento");
}

constexpr MembroModificabile Scala(const char* nome, float T::*m, const char* etichetta)
{
    return Reale(nome, m, 0.0, SCALA_MASSIMA, "", etichetta, true);
}

// The project file keeps a trajectory's name up to 4095 characters and a junction's up to 255.
constexpr MembroModificabile Nome(const char* etichetta, double massimo)
{
    MembroModificabile r = Membro("Nome", G::Nome, 1, massimo);
    r.etichetta = etichetta;
    return r;
}

const MembroModificabile TRAIETTORIA[] = {
    Nome("Nome Traiettoria", 4095),
    // A CSV trajectory takes its steps from its file: a trajectory is set to a kind that computes.
    Valori("TipoCurva", &T::TipoCurva, KIND_CALCOLATI, "Tipo Curva"),
    Flag("IsScout", &T::IsScout, "Is Scout"),
    Flag("Is2Assi", &T::Is2Assi, "Is 2 Assi"),
    Doppio("TempoScansionesCirc", &T::TempoScansionesCirc, 0.0, TEMPO_SCANSIONE_MASSIMO, "s", "Tempo Scansione s", true),
    Doppio("RCerchioXYmm", &T::RCerchioXYmm, 0.0, DISTANZA_MASSIMA, "mm", "R Cerchio XY mm"),
    // Signed: the sign gives the direction.
    Doppio("AmpiezzaArcodeg", &T::AmpiezzaArcodeg, -ANGOLO_MASSIMO, ANGOLO_MASSIMO, "deg", "Ampiezza arco deg"),
    Doppio("PosInizArcodeg", &T::PosInizArcodeg, -ANGOLO_MASSIMO, ANGOLO_MASSIMO, "deg", "Pos Iniz arco deg"),
    Doppio("XCentroRotazmm", &T::XCentroRotazmm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "X Centro rotaz mm"),
    Doppio("YCentroRotazmm", &T::YCentroRotazmm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "Y Centro rotaz mm"),
    Percento("KVaRegimeCirc", &T::KVaRegimeCirc, "KV a regime %"),
    Percento("mAFrontali", &T::mAFrontali, "mA frontali %"),
    Percento("mALaterali", &T::mALaterali, "mA laterali %"),
    Flag("TraietSimmetrica", &T::TraietSimmetrica, "Traiet. simmetrica"),
    Ingrandimento("Ingrandimento", &T::Ingrandimento),
    Tempo("TempoScansiones", &T::TempoScansiones),
    Flag("InvScaricamento", &T::InvScaricamento, "Inv. scaricamento"),
    // Spacings of the tuning points in the editor: above zero, at most the longest distance.
    Reale("DistPuntiTuning", &T::DistPuntiTuning, 0.0, DISTANZA_MASSIMA, "mm", "Dist punti tuning", true),
    // The handles are a third of 1/s: below 0.1 they reach past three segments, above 100 the curve is straight.
    Reale("SensibilitaSpline", &T::SensibilitaSpline, 0.1, 100.0, "", "Sensibilita Spline"),
    Reale("DistPTuningKV", &T::DistPTuningKV, 0.0, DISTANZA_MASSIMA, "mm", "Dist P tuning KV", true),
    Reale("SensibSplineKV", &T::SensibSplineKV, 0.1, 100.0, "", "Sensib Spline KV"),
    Reale("DistPTuningShift", &T::DistPTuningShift, 0.0, DISTANZA_MASSIMA, "mm", "Dist P tuning shif", true),
    Reale("SensibSplineShift", &T::SensibSplineShift, 0.1, 100.0, "", "Sensib Spline shif"),
    // Arch-curve indices; the computation keeps them inside the curve it is given.
    Intero("PosRProjCostDx", &T::PosRProjCostDx, 0, INDICE_MASSIMO, "", "Pos RProj cost Dx"),
    Intero("PosRProjCostSx", &T::PosRProjCostSx, 0, INDICE_MASSIMO, "", "Pos RProj cost Sx"),
    Intero("PosDistAng0", &T::PosDistAng0, 0, INDICE_MASSIMO, "", "Pos Dist Ang = 0"),
    Valori("TipoRicostruzione", &T::TipoRicostruzione, RICOSTRUZIONI, "Tipo Ricostruzione"),
    // A shift of the kV graph along the curve, in indices either way.
    Intero("OffsetGraficoKV", &T::OffsetGraficoKV, -INDICE_MASSIMO, INDICE_MASSIMO, "", "Offset grafico KV"),
    // One of the twelve display graphs, or none.
    Intero("GraficoAnalizzato", &T::GraficoAnalizzato, 0, 12, "", "Grafico Analizzato"),
    Scala("IngrXGrafici", &T::IngrXGrafici, "Ingr X Grafici"),
    Scala("IngrGrRotaz", &T::IngrGrRotaz, "Ingr Gr Rotaz"),
    Scala("IngrGrDistors", &T::IngrGrDistors, "Ingr Gr Distors"),
    Scala("IngrGrDerivata", &T::IngrGrDerivata, "Ingr Gr Derivata"),
    Scala("IngrGrRProiez", &T::IngrGrRProiez, "Ingr Gr R Proiez"),
    Scala("IngrGrRPrCos", &T::IngrGrRPrCos, "Ingr Gr R Pr Cos"),
    Scala("IngrGrXDenti", &T::IngrGrXDenti, "Ingr Gr X Denti"),
    Scala("IngrGrPosCMR", &T::IngrGrPosCMR, "Ingr Gr Pos CMR"),
    Scala("IngrGrVelCMR", &T::IngrGrVelCMR, "Ingr Gr Vel CMR"),
    Scala("IngrGrAccCMR", &T::IngrGrAccCMR, "Ingr Gr Acc CMR"),
    Scala("IngrGrIngrY", &T::IngrGrIngrY, "Ingr Gr Ingr Y"),
    Scala("IngrGrKV", &T::IngrGrKV, "Ingr Gr KV"),
    Scala("IngrGrShift", &T::IngrGrShift, "Ingr Gr Shift"),
    Flag("MostraGrRotaz", &T::MostraGrRotaz, "Mostra Gr Rotaz"),
    Flag("MostraGrDistors", &T::MostraGrDistors, "Mostra Gr Distors"),
    Flag("MostraGrDerivata", &T::MostraGrDerivata, "Mostra Gr Derivata"),
    Flag("MostraGrRProiez", &T::MostraGrRProiez, "Mostra Gr R Proiez"),
    Flag("MostraGrRPrCos", &T::MostraGrRPrCos, "Mostra Gr R Pr Cos"),
    Flag("MostraGrXDenti", &T::MostraGrXDenti, "Mostra Gr X Denti"),
    Flag("MostraGrPosCMR", &T::MostraGrPosCMR, "Mostra Gr Pos CMR"),
    Flag("MostraGrVelCMR", &T::MostraGrVelCMR, "Mostra Gr Vel CMR"),
    Flag("MostraGrAccCMR", &T::MostraGrAccCMR, "Mostra Gr Acc CMR"),
    Flag("MostraGrIngrY", &T::MostraGrIngrY, "Mostra Gr Ingr Y"),
    Flag("MostraGrKV", &T::MostraGrKV, "Mostra Gr KV"),
    Flag("MostraGrShift", &T::MostraGrShift, "Mostra Gr Shift"),
    Tempo("TempoScansionesLin", &T::TempoScansionesLin),
    Reale("XCentroRettamm", &T::XCentroRettamm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "X centro retta mm"),
    Reale("YCentroRettamm", &T::YCentroRettamm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "Y centro retta mm"),
    Reale("LunghezzaRettamm", &T::LunghezzaRettamm, 0.0, DISTANZA_MASSIMA, "mm", "Lunghezza retta mm", true),
    // An inclination and its opposite give one line, so a turn either way covers every one.
    Reale("InclRettadeg", &T::InclRettadeg, -360.0, 360.0, "deg", "Incl retta deg"),
    Reale("RProiezionemm", &T::RProiezionemm, 0.0, DISTANZA_MASSIMA, "mm", "R proiezione mm", true),
    Ingrandimento("IngrandimentoLin", &T::IngrandimentoLin),
    // At a right angle the beam would run along the segment it images.
    Reale("Disortogonalitdeg", &T::Disortogonalitdeg, -90.0, 90.0, "deg", "Disortogonalit deg", true, true),
    Percento("KVaRegimeLin", &T::KVaRegimeLin, "KV a regime %"),
    Flag("InvSensore", &T::InvSensore, "Inv. sensore"),
    Flag("InvRotazione", &T::InvRotazione, "Inv. rotazione"),
    Flag("InvScaricamentoLin", &T::InvScaricamentoLin, "Inv. scaricamento"),
    Tempo("TempoScansionesCef", &T::TempoScansionesCef),
    Reale("DistanzaSIDmm", &T::DistanzaSIDmm, 0.0, DISTANZA_MASSIMA, "mm", "Distanza SID mm", true),
    Reale("SpostamentoPiumm", &T::SpostamentoPiumm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "Spostamento + mm"),
    Reale("SpostamentoMenomm", &T::SpostamentoMenomm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "Spostamento - mm"),
    Ingrandimento("IngrandimentoCef", &T::IngrandimentoCef),
    Percento("KVaRegimeCef", &T::KVaRegimeCef, "KV a regime %"),
    Flag("BraccioDestro", &T::BraccioDestro, "Braccio destro"),
    Flag("CreaRampaSTF", &T::CreaRampaSTF, "Crea Rampa STF"),
    Flag("IsIngrCostante", &T::IsIngrCostante, "Is Ingr. Costante"),
    Valori("TipoCurvaVero", &T::TipoCurvaVero, KIND_VERI, "Tipo curva vero"),
    Flag("BraccioCephDx", &T::BraccioCephDx, "Braccio ceph dx"),
    Ingrandimento("IngrandimentoCSV", &T::IngrandimentoCSV),
};

constexpr MembroModificabile Raccordo(const char* nome, G genere, std::span<const int> valori, std::int32_t R::*m,
                                      const char* etichetta)
{
    MembroModificabile r = Membro(nome, genere);
    r.valori = valori, r.etichetta = etichetta, r.interoR = m;
    return r;
}

constexpr MembroModificabile RaccordoDoppio(const char* nome, double R::*m, double minimo, double massimo,
                                            bool minimoEscluso, const char* unita, const char* etichetta)
{
    MembroModificabile r = Membro(nome, G::Doppio, minimo, massimo, minimoEscluso);
    r.unita = unita, r.etichetta = etichetta, r.doppioR = m;
    return r;
}

const MembroModificabile RACCORDO[] = {
    Nome("Nome Raccordo", 255),
    // 0 asks for the shortest time.
    RaccordoDoppio("TempoRaccordos", &R::TempoRaccordos, 0.0, TEMPO_SCANSIONE_MASSIMO, false, "s", "Tempo Raccordo s"),
    // A share of nothing would leave every axis without acceleration.
    RaccordoDoppio("MaxAccPercento", &R::MaxAccPercento, 0.0, 100.0, true, "%", "Max acc Percento"),
    Raccordo("UsaTempoMinimo", G::Bandiera, BANDIERA, &R::UsaTempoMinimo, "Usa tempo minimo"),
    Raccordo("IgnoraPuntoInizia", G::Bandiera, BANDIERA, &R::IgnoraPuntoInizia, "Ignora PuntoInizia"),
    Raccordo("IgnoraPuntoFinale", G::Bandiera, BANDIERA, &R::IgnoraPuntoFinale, "Ignora PuntoFinale"),
    Raccordo("TipoRaccordo", G::Intero, KIND_RACCORDO, &R::TipoRaccordo, "TipoRaccordo"),
    Raccordo("GestioneRaggi", G::Intero, RAGGI, &R::GestioneRaggi, "Gestione raggi"),
};

// The project file keeps each character of a name as one Latin-1 byte, up to the end of its line, and
// drops the blanks in front of it.
std::string MotivoNome(const std::string& testo, size_t massimo)
{
    const CString nome = StringaDaUtf8(testo);
    if (nome.empty())
        return "a name is not empty";
    if (nome.size() > massimo)
        return "a name has at most " + std::to_string(massimo) + " characters";
    if (nome.front() == L' ' || nome.front() == L'\t')
        return "a name does not begin with a blank";
    for (const wchar_t c : nome)
        if (c == L'\r' || c == L'\n' || static_cast<unsigned long>(c) > 0xFFu)
            return "a name is one line of Latin-1 characters";
    return "";
}

std::string Numero(double v)
{
    char testo[64];
    std::snprintf(testo, sizeof testo, "%g", v);
    return testo;
}

bool NelCampo(const MembroModificabile& m, double v)
{
    if (!m.valori.empty()) {
        for (const int x : m.valori)
            if (v == x)
                return true;
        return false;
    }
    // Written so that NaN is never in range.
    return (m.minimoEscluso ? v > m.minimo : v >= m.minimo) && (m.massimoEscluso ? v < m.massimo : v <= m.massimo);
}

template <class V>
std::string MotivoNumero(const MembroModificabile& m, const std::string& testo, V& v)
{
    if (!ConvertiValore(testo, v))
        return std::is_integral_v<V> ? "not a whole number" : "not a number of the member's type";
    if (!NelCampo(m, static_cast<double>(v)))
        return "not " + DescriviValori(m);
    return "";
}

// What the project file gives back for a real value: it is written with six decimals.
template <class V>
bool SopravviveAlFile(V v)
{
    char testo[400];
    std::snprintf(testo, sizeof testo, "%f", static_cast<double>(v));
    V letto{};
    return ConvertiValore(testo, letto) && letto == v;
}

// Converts and checks a number, then stores it at `dove` when given; the reason when refused.
template <class V>
std::string ValutaNumero(const MembroModificabile& m, const std::string& testo, bool comeNelFile, V* dove)
{
    V v{};
    std::string motivo = MotivoNumero(m, testo, v);
    if constexpr (std::is_floating_point_v<V>)
        if (motivo.empty() && comeNelFile && !SopravviveAlFile(v))
            motivo = "more decimals than the project file keeps (six)";
    if (motivo.empty() && dove != nullptr)
        *dove = v;
    return motivo;
}

// Converts, checks and, with `t` or `r` given, stores the value; the reason when refused.
std::string Valuta(const MembroModificabile& m, const std::string& testo, CTraiettoria* t, CRaccordo* r,
                   bool comeNelFile)
{
    switch (m.genere) {
    case G::Nome: {
        const std::string motivo = MotivoNome(testo, static_cast<size_t>(m.massimo));
        if (motivo.empty() && (t != nullptr || r != nullptr))
            (t != nullptr ? static_cast<CSezione*>(t) : static_cast<CSezione*>(r))->Nome = StringaDaUtf8(testo);
        return motivo;
    }
    case G::Intero:
    case G::Bandiera:
        return ValutaNumero(m, testo, comeNelFile,
                            t != nullptr && m.interoT != nullptr   ? &(t->*m.interoT)
                            : r != nullptr && m.interoR != nullptr ? &(r->*m.interoR)
                                                                   : nullptr);
    case G::Reale:
        return ValutaNumero(m, testo, comeNelFile, t != nullptr && m.realeT != nullptr ? &(t->*m.realeT) : nullptr);
    case G::Doppio:
        return ValutaNumero(m, testo, comeNelFile,
                            t != nullptr && m.doppioT != nullptr   ? &(t->*m.doppioT)
                            : r != nullptr && m.doppioR != nullptr ? &(r->*m.doppioR)
                                                                   : nullptr);
    }
    return "not a member that can be set";
}

}  // namespace

std::span<const MembroModificabile> MembriTraiettoria() { return TRAIETTORIA; }
std::span<const MembroModificabile> MembriRaccordo() { return RACCORDO; }

const MembroModificabile* TrovaMembro(std::span<const MembroModificabile> tabella, const std::string& nome)
{
    for (const MembroModificabile& m : tabella)
        if (nome == m.nome)
            return &m;
    return nullptr;
}

std::string DescriviValori(const MembroModificabile& m)
{
    if (m.genere == G::Nome)
        return "a name";
    std::string d;
    if (!m.valori.empty()) {
        for (size_t i = 0; i < m.valori.size(); ++i)
            d += (i == 0 ? "" : i + 1 == m.valori.size() ? " or " : ", ") + std::to_string(m.valori[i]);
        return d;
    }
    d = std::string("in ") + (m.minimoEscluso ? "(" : "[") + Numero(m.minimo) + ", " + Numero(m.massimo) +
        (m.massimoEscluso ? ")" : "]");
    return *m.unita != '\0' ? d + " " + m.unita : d;
}

std::string MotivoRifiuto(const MembroModificabile& m, const std::string& testo)
{
    return Valuta(m, testo, nullptr, nullptr, false);
}

CopieSezioni::CopieSezioni(CPercorso& p)
{
    for (int i = 0; i < p.ArrayTraiettorieGetSize(); ++i)
        traiettorie.emplace_back(*p.ArrayTraiettorieGetTraiettoria(i));
    for (int i = 0; i < p.ArrayRaccordiGetSize(); ++i)
        raccordi.push_back(*p.ArrayRaccordiGetRaccordo(i));
}

bool ApplicaAssegnazioni(const std::vector<std::string>& testi, const ArrayOrdine& ordine, CopieSezioni& copie,
                         std::set<int>& cambiati, std::string& errore)
{
    std::vector<CTraiettoria>& traiettorie = copie.traiettorie;
    std::vector<CRaccordo>& raccordi = copie.raccordi;
    for (const std::string& a : testi) {
        const size_t punto = a.find('.'), uguale = a.find('=');
        std::int32_t indice = -1;
        if (punto == std::string::npos || uguale == std::string::npos || uguale < punto ||
            !ConvertiValore(a.substr(0, punto), indice) || indice < 0 || indice >= ordine.GetSize()) {
            errore = "not INDEX.MEMBER=VALUE with INDEX a section of the running order: " + a;
            return false;
        }
        const CElementoOrdine& e = ordine[indice];
        const bool raccordo = e.tipo == SEZIONE_RACCORDO;
        const size_t posizione = static_cast<size_t>(e.posizione);
        if (e.posizione < 0 || posizione >= (raccordo ? raccordi.size() : traiettorie.size())) {
            errore = "section " + std::to_string(indice) + " names no section of the project";
            return false;
        }
        const std::string nome = a.substr(punto + 1, uguale - punto - 1);
        const MembroModificabile* m = TrovaMembro(raccordo ? MembriRaccordo() : MembriTraiettoria(), nome);
        if (m == nullptr) {
            errore = "section " + std::to_string(indice) + " has no member " + nome;
            return false;
        }
        const std::string valore = a.substr(uguale + 1);
        const std::string motivo = Valuta(*m, valore, raccordo ? nullptr : &traiettorie[posizione],
                                          raccordo ? &raccordi[posizione] : nullptr, true);
        if (!motivo.empty()) {
            errore = "not a value for " + nome + ": " + valore + " (" + motivo + ")";
            return false;
        }
        cambiati.insert(indice);
    }
    return true;
}
