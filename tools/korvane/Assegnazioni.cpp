#include "Assegnazioni.h"

#include <algorithm>
#include <cctype>
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

// The kinds whose block in the project file stores a member, as bits 1 << TipoCurva.
constexpr unsigned PAN = 1u << T::CURVA_PANORAMICA, CIRC = 1u << T::CURVA_CIRCOLARE, LIN = 1u << T::CURVA_LINEARE,
                   CSV = 1u << T::CURVA_DA_CSV, CEF = 1u << T::CURVA_CEFALOMETRICA;

constexpr MembroModificabile Di(unsigned tipi, MembroModificabile m)
{
    m.tipi = tipi;
    return m;
}

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
    Di(PAN | LIN | CEF, Flag("Is2Assi", &T::Is2Assi, "Is 2 Assi")),
    Di(CIRC, Doppio("TempoScansionesCirc", &T::TempoScansionesCirc, 0.0, TEMPO_SCANSIONE_MASSIMO, "s", "Tempo Scansione s", true)),
    Di(CIRC, Doppio("RCerchioXYmm", &T::RCerchioXYmm, 0.0, DISTANZA_MASSIMA, "mm", "R Cerchio XY mm")),
    // Signed: the sign gives the direction.
    Di(CIRC, Doppio("AmpiezzaArcodeg", &T::AmpiezzaArcodeg, -ANGOLO_MASSIMO, ANGOLO_MASSIMO, "deg", "Ampiezza arco deg")),
    Di(CIRC, Doppio("PosInizArcodeg", &T::PosInizArcodeg, -ANGOLO_MASSIMO, ANGOLO_MASSIMO, "deg", "Pos Iniz arco deg")),
    Di(CIRC, Doppio("XCentroRotazmm", &T::XCentroRotazmm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "X Centro rotaz mm")),
    Di(CIRC, Doppio("YCentroRotazmm", &T::YCentroRotazmm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "Y Centro rotaz mm")),
    Di(CIRC, Percento("KVaRegimeCirc", &T::KVaRegimeCirc, "KV a regime %")),
    Di(CIRC, Percento("mAFrontali", &T::mAFrontali, "mA frontali %")),
    Di(CIRC, Percento("mALaterali", &T::mALaterali, "mA laterali %")),
    Di(PAN, Flag("TraietSimmetrica", &T::TraietSimmetrica, "Traiet. simmetrica")),
    Di(PAN, Ingrandimento("Ingrandimento", &T::Ingrandimento)),
    Di(PAN, Tempo("TempoScansiones", &T::TempoScansiones)),
    Di(PAN, Flag("InvScaricamento", &T::InvScaricamento, "Inv. scaricamento")),
    // Spacings of the tuning points in the editor: above zero, at most the longest distance.
    Di(PAN, Reale("DistPuntiTuning", &T::DistPuntiTuning, 0.0, DISTANZA_MASSIMA, "mm", "Dist punti tuning", true)),
    // The handles are a third of 1/s: below 0.1 they reach past three segments, above 100 the curve is straight.
    Di(PAN, Reale("SensibilitaSpline", &T::SensibilitaSpline, 0.1, 100.0, "", "Sensibilita Spline")),
    Di(PAN, Reale("DistPTuningKV", &T::DistPTuningKV, 0.0, DISTANZA_MASSIMA, "mm", "Dist P tuning KV", true)),
    Di(PAN, Reale("SensibSplineKV", &T::SensibSplineKV, 0.1, 100.0, "", "Sensib Spline KV")),
    Di(PAN, Reale("DistPTuningShift", &T::DistPTuningShift, 0.0, DISTANZA_MASSIMA, "mm", "Dist P tuning shif", true)),
    Di(PAN, Reale("SensibSplineShift", &T::SensibSplineShift, 0.1, 100.0, "", "Sensib Spline shif")),
    // Arch-curve indices; the computation keeps them inside the curve it is given.
    Di(PAN, Intero("PosRProjCostDx", &T::PosRProjCostDx, 0, INDICE_MASSIMO, "", "Pos RProj cost Dx")),
    Di(PAN, Intero("PosRProjCostSx", &T::PosRProjCostSx, 0, INDICE_MASSIMO, "", "Pos RProj cost Sx")),
    Di(PAN, Intero("PosDistAng0", &T::PosDistAng0, 0, INDICE_MASSIMO, "", "Pos Dist Ang = 0")),
    Di(PAN, Valori("TipoRicostruzione", &T::TipoRicostruzione, RICOSTRUZIONI, "Tipo Ricostruzione")),
    // A shift of the kV graph along the curve, in indices either way.
    Di(PAN, Intero("OffsetGraficoKV", &T::OffsetGraficoKV, -INDICE_MASSIMO, INDICE_MASSIMO, "", "Offset grafico KV")),
    // One of the twelve display graphs, or none.
    Di(PAN, Intero("GraficoAnalizzato", &T::GraficoAnalizzato, 0, 12, "", "Grafico Analizzato")),
    Di(PAN, Scala("IngrXGrafici", &T::IngrXGrafici, "Ingr X Grafici")),
    Di(PAN, Scala("IngrGrRotaz", &T::IngrGrRotaz, "Ingr Gr Rotaz")),
    Di(PAN, Scala("IngrGrDistors", &T::IngrGrDistors, "Ingr Gr Distors")),
    Di(PAN, Scala("IngrGrDerivata", &T::IngrGrDerivata, "Ingr Gr Derivata")),
    Di(PAN, Scala("IngrGrRProiez", &T::IngrGrRProiez, "Ingr Gr R Proiez")),
    Di(PAN, Scala("IngrGrRPrCos", &T::IngrGrRPrCos, "Ingr Gr R Pr Cos")),
    Di(PAN, Scala("IngrGrXDenti", &T::IngrGrXDenti, "Ingr Gr X Denti")),
    Di(PAN, Scala("IngrGrPosCMR", &T::IngrGrPosCMR, "Ingr Gr Pos CMR")),
    Di(PAN, Scala("IngrGrVelCMR", &T::IngrGrVelCMR, "Ingr Gr Vel CMR")),
    Di(PAN, Scala("IngrGrAccCMR", &T::IngrGrAccCMR, "Ingr Gr Acc CMR")),
    Di(PAN, Scala("IngrGrIngrY", &T::IngrGrIngrY, "Ingr Gr Ingr Y")),
    Di(PAN, Scala("IngrGrKV", &T::IngrGrKV, "Ingr Gr KV")),
    Di(PAN, Scala("IngrGrShift", &T::IngrGrShift, "Ingr Gr Shift")),
    Di(PAN, Flag("MostraGrRotaz", &T::MostraGrRotaz, "Mostra Gr Rotaz")),
    Di(PAN, Flag("MostraGrDistors", &T::MostraGrDistors, "Mostra Gr Distors")),
    Di(PAN, Flag("MostraGrDerivata", &T::MostraGrDerivata, "Mostra Gr Derivata")),
    Di(PAN, Flag("MostraGrRProiez", &T::MostraGrRProiez, "Mostra Gr R Proiez")),
    Di(PAN, Flag("MostraGrRPrCos", &T::MostraGrRPrCos, "Mostra Gr R Pr Cos")),
    Di(PAN, Flag("MostraGrXDenti", &T::MostraGrXDenti, "Mostra Gr X Denti")),
    Di(PAN, Flag("MostraGrPosCMR", &T::MostraGrPosCMR, "Mostra Gr Pos CMR")),
    Di(PAN, Flag("MostraGrVelCMR", &T::MostraGrVelCMR, "Mostra Gr Vel CMR")),
    Di(PAN, Flag("MostraGrAccCMR", &T::MostraGrAccCMR, "Mostra Gr Acc CMR")),
    Di(PAN, Flag("MostraGrIngrY", &T::MostraGrIngrY, "Mostra Gr Ingr Y")),
    Di(PAN, Flag("MostraGrKV", &T::MostraGrKV, "Mostra Gr KV")),
    Di(PAN, Flag("MostraGrShift", &T::MostraGrShift, "Mostra Gr Shift")),
    Di(LIN, Tempo("TempoScansionesLin", &T::TempoScansionesLin)),
    Di(LIN, Reale("XCentroRettamm", &T::XCentroRettamm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "X centro retta mm")),
    Di(LIN, Reale("YCentroRettamm", &T::YCentroRettamm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "Y centro retta mm")),
    Di(LIN, Reale("LunghezzaRettamm", &T::LunghezzaRettamm, 0.0, DISTANZA_MASSIMA, "mm", "Lunghezza retta mm", true)),
    // An inclination and its opposite give one line, so a turn either way covers every one.
    Di(LIN, Reale("InclRettadeg", &T::InclRettadeg, -360.0, 360.0, "deg", "Incl retta deg")),
    Di(LIN, Reale("RProiezionemm", &T::RProiezionemm, 0.0, DISTANZA_MASSIMA, "mm", "R proiezione mm", true)),
    Di(LIN, Ingrandimento("IngrandimentoLin", &T::IngrandimentoLin)),
    // At a right angle the beam would run along the segment it images.
    Di(LIN, Reale("Disortogonalitdeg", &T::Disortogonalitdeg, -90.0, 90.0, "deg", "Disortogonalit deg", true, true)),
    Di(LIN, Percento("KVaRegimeLin", &T::KVaRegimeLin, "KV a regime %")),
    Di(LIN, Flag("InvSensore", &T::InvSensore, "Inv. sensore")),
    Di(LIN, Flag("InvRotazione", &T::InvRotazione, "Inv. rotazione")),
    Di(LIN, Flag("InvScaricamentoLin", &T::InvScaricamentoLin, "Inv. scaricamento")),
    Di(CEF, Tempo("TempoScansionesCef", &T::TempoScansionesCef)),
    Di(CEF, Reale("DistanzaSIDmm", &T::DistanzaSIDmm, 0.0, DISTANZA_MASSIMA, "mm", "Distanza SID mm", true)),
    Di(CEF, Reale("SpostamentoPiumm", &T::SpostamentoPiumm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "Spostamento + mm")),
    Di(CEF, Reale("SpostamentoMenomm", &T::SpostamentoMenomm, -DISTANZA_MASSIMA, DISTANZA_MASSIMA, "mm", "Spostamento - mm")),
    Di(CEF, Ingrandimento("IngrandimentoCef", &T::IngrandimentoCef)),
    Di(CEF, Percento("KVaRegimeCef", &T::KVaRegimeCef, "KV a regime %")),
    Di(CEF, Flag("BraccioDestro", &T::BraccioDestro, "Braccio destro")),
    Di(CEF, Flag("CreaRampaSTF", &T::CreaRampaSTF, "Crea Rampa STF")),
    Di(CEF, Flag("IsIngrCostante", &T::IsIngrCostante, "Is Ingr. Costante")),
    Di(CSV, Valori("TipoCurvaVero", &T::TipoCurvaVero, KIND_VERI, "Tipo curva vero")),
    Di(CSV, Flag("BraccioCephDx", &T::BraccioCephDx, "Braccio ceph dx")),
    Di(CSV, Ingrandimento("IngrandimentoCSV", &T::IngrandimentoCSV)),
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

std::vector<const MembroModificabile*> MembriDellaSezione(int tipo)
{
    std::vector<const MembroModificabile*> membri;
    for (const MembroModificabile& m : tipo < 0 ? MembriRaccordo() : MembriTraiettoria())
        // A trajectory whose kind did not compute is offered every member.
        if (tipo <= 0 || m.tipi == 0 || (tipo < 32 && (m.tipi & (1u << tipo)) != 0))
            membri.push_back(&m);
    return membri;
}

namespace {

std::string Normale(const std::string& testo)
{
    const size_t inizio = testo.find_first_not_of(" \t"), fine = testo.find_last_not_of(" \t");
    std::string n = inizio == std::string::npos ? "" : testo.substr(inizio, fine - inizio + 1);
    for (char& c : n)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return n;
}

// Edits (insertions, deletions, changes) from one text to the other.
size_t Distanza(const std::string& a, const std::string& b)
{
    std::vector<size_t> riga(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        riga[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonale = riga[0];
        riga[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t sopra = riga[j];
            riga[j] = std::min({riga[j] + 1, riga[j - 1] + 1, diagonale + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonale = sopra;
        }
    }
    return riga[b.size()];
}

}  // namespace

const MembroModificabile* TrovaMembroDellaSezione(int tipo, const std::string& nome)
{
    for (const MembroModificabile* m : MembriDellaSezione(tipo))
        if (nome == m->nome)
            return m;
    const std::string n = Normale(nome);
    for (const MembroModificabile* m : MembriDellaSezione(tipo))
        if (!n.empty() && n == Normale(m->etichetta))
            return m;
    return nullptr;
}

std::vector<const MembroModificabile*> MembriVicini(int tipo, const std::string& nome)
{
    const std::string n = Normale(nome);
    std::vector<std::pair<size_t, const MembroModificabile*>> vicini;
    for (const MembroModificabile* m : MembriDellaSezione(tipo)) {
        const size_t d = std::min(Distanza(n, Normale(m->nome)), Distanza(n, Normale(m->etichetta)));
        // A slip of a few letters, or a name cut short.
        if (d <= std::max<size_t>(2, n.size() / 3) || (n.size() >= 4 && Normale(m->nome).starts_with(n)))
            vicini.emplace_back(d, m);
    }
    std::stable_sort(vicini.begin(), vicini.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const MembroModificabile*> r;
    for (size_t i = 0; i < vicini.size() && i < 3; ++i)
        r.push_back(vicini[i].second);
    return r;
}

const char* NomeGenere(GenereMembro g)
{
    switch (g) {
    case G::Intero: return "int";
    case G::Bandiera: return "flag";
    case G::Reale:
    case G::Doppio: return "real";
    case G::Nome: return "name";
    }
    return "";
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
        const size_t punto = a.find('.');
        std::int32_t indice = -1;
        if (punto == std::string::npos || a.find('=', punto) == std::string::npos ||
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
        // The kind as it stands, after the assignments before this one.
        const int tipo = raccordo ? -1 : traiettorie[posizione].TipoCurva;
        // A label may hold "=" itself ("Pos Dist Ang = 0"): the member is the first text before an "=" that names one.
        size_t uguale = a.find('=', punto);
        const MembroModificabile* m = nullptr;
        for (size_t u = uguale; m == nullptr && u != std::string::npos; u = a.find('=', u + 1))
            if ((m = TrovaMembroDellaSezione(tipo, a.substr(punto + 1, u - punto - 1))) != nullptr)
                uguale = u;
        const std::string nome = a.substr(punto + 1, uguale - punto - 1);
        if (m == nullptr) {
            errore = "section " + std::to_string(indice) + " has no member " + nome;
            const std::vector<const MembroModificabile*> vicini = MembriVicini(tipo, nome);
            for (size_t i = 0; i < vicini.size(); ++i)
                errore += std::string(i == 0 ? "; nearest: " : ", ") + vicini[i]->nome + " (\"" + vicini[i]->etichetta + "\")";
            errore += "; `korvane exam set FILE` lists every member of each section";
            return false;
        }
        const std::string valore = a.substr(uguale + 1);
        const std::string motivo = Valuta(*m, valore, raccordo ? nullptr : &traiettorie[posizione],
                                          raccordo ? &raccordi[posizione] : nullptr, true);
        if (!motivo.empty()) {
            errore = "not a value for " + std::string(m->nome) + ": " + valore + " (" + motivo + ")";
            return false;
        }
        cambiati.insert(indice);
    }
    return true;
}
