#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "core/LetturaTesto.h"
#include "core/Numerico.h"
#include "platform/File.h"
#include "platform/Locale.h"
#include "platform/Prompt.h"
#include "resources/Messaggi.h"
#include "trajectories/Traiettoria.h"

// The trajectory blocks of the project file: one table of line layouts per kind and version, read
// by one reader and written, in its newest layout, by one writer.

namespace {

using T = CTraiettoria;

enum class Tipo {
    Nome,           // "Nome Traiettoria  = " and the rest of the line
    Intero,         // %d into an int member
    Bandiera,       // %d into an int member, written as 0 or 1
    Reale,          // %f into a float member
    Doppio,         // %lf into a double member
    Vuota,          // a blank line
    Lista,          // a count line and that many "%lf,%lf" points
    ListaSenzaConteggio,  // "%lf,%lf" points up to the first line that is not one
    Elimina64,      // a setting that no longer exists: read, announced when set, dropped
    SensoreInAlto,  // the old sensor flag, stored into InvSensore as 0 or 1
    KVPiatto,       // the kV of the oldest panoramic blocks, the level of their flat kV graph
    XCentroDoppio,  // the oldest linear blocks' two "X centro retta mm" lines: X, then Y
};

struct Riga {
    Tipo tipo;
    const char* formato;
    std::int32_t T::*intero = nullptr;
    float T::*reale = nullptr;
    double T::*doppio = nullptr;
    ArrayPunti2D T::*punti = nullptr;
};

constexpr Riga I(const char* f, std::int32_t T::*m) { return {Tipo::Intero, f, m}; }
constexpr Riga B(const char* f, std::int32_t T::*m) { return {Tipo::Bandiera, f, m}; }
constexpr Riga F(const char* f, float T::*m) { return {Tipo::Reale, f, nullptr, m}; }
constexpr Riga D(const char* f, double T::*m) { return {Tipo::Doppio, f, nullptr, nullptr, m}; }
constexpr Riga L(const char* f, ArrayPunti2D T::*m) { return {Tipo::Lista, f, nullptr, nullptr, nullptr, m}; }

constexpr Riga NOME{Tipo::Nome, "Nome Traiettoria  = %s\n"};
constexpr Riga VUOTA{Tipo::Vuota, "\n"};
constexpr Riga ELIMINA_64{Tipo::Elimina64, "Elimina 64 pixel  = %d\n"};
constexpr Riga SENSORE_IN_ALTO{Tipo::SensoreInAlto, "Sensore in alto   = %d\n"};
constexpr Riga SCOUT = B("Is Scout          = %d\n", &T::IsScout);
constexpr Riga DUE_ASSI = B("Is 2 Assi         = %d\n", &T::Is2Assi);

enum : unsigned {
    NOME_PANORAMICA = 1,       // no name line: the trajectory takes string 175
    SHIFT_PIATTO = 2,          // no shift list: a flat one over the main tuning points
    KV_PIATTO = 4,             // no kV list: a flat one at the block's kV
    DISORTOGONALITA_ZERO = 8,  // no disorthogonality line
    INGRANDIMENTO_CEF = 16,    // no cephalometric magnification line
};

struct Versione {
    std::span<const Riga> righe;
    unsigned completamenti = 0;
};

struct Blocco {
    int tipo;
    const char* intestazione;
    std::span<const Versione> versioni;  // version v at index v - 1; the last one is written
    CSezione::TIPO_CONTROLLO_ANTICOLLISIONE modo;
};

// Loaded from CSV.
constexpr Riga V_VERO = I("Tipo curva vero   = %d\n", &T::TipoCurvaVero);
constexpr Riga V_BRACCIO = B("Braccio ceph dx   = %d\n", &T::BraccioCephDx);
constexpr Riga V_INGR = F("Ingrandimento     = %f\n", &T::IngrandimentoCSV);
constexpr Riga CSV_1[] = {NOME, ELIMINA_64, V_VERO, V_BRACCIO, V_INGR};
constexpr Riga CSV_2[] = {NOME, V_VERO, V_BRACCIO, V_INGR};
constexpr Riga CSV_3[] = {NOME, V_VERO, V_BRACCIO, V_INGR, SCOUT, VUOTA};
constexpr Versione CSV[] = {{CSV_1}, {CSV_2}, {CSV_3}};

// Panoramic.
constexpr Riga P_INGR = F("Ingrandimento     = %f\n", &T::Ingrandimento);
constexpr Riga P_TEMPO = F("Tempo Scansione s = %f\n", &T::TempoScansiones);
constexpr Riga P_KV{Tipo::KVPiatto, "KV a regime %%     = %d\n"};
constexpr Riga P_INV_SCAR = B("Inv. scaricamento = %d\n", &T::InvScaricamento);
constexpr Riga P_DIST = F("Dist punti tuning = %f\n", &T::DistPuntiTuning);
constexpr Riga P_SENS = F("Sensibilita Spline= %f\n", &T::SensibilitaSpline);
constexpr Riga P_DX = I("Pos RProj cost Dx = %d\n", &T::PosRProjCostDx);
constexpr Riga P_SX = I("Pos RProj cost Sx = %d\n", &T::PosRProjCostSx);
constexpr Riga P_SIMM = B("Traiet. simmetrica= %d\n", &T::TraietSimmetrica);
constexpr Riga P_ANG0 = I("Pos Dist Ang = 0  = %d\n", &T::PosDistAng0);
constexpr Riga P_RICOSTR = I("Tipo Ricostruzione= %d\n", &T::TipoRicostruzione);
constexpr Riga P_DIST_KV = F("Dist P tuning KV  = %f\n", &T::DistPTuningKV);
constexpr Riga P_SENS_KV = F("Sensib Spline KV  = %f\n", &T::SensibSplineKV);
constexpr Riga P_DIST_SH = F("Dist P tuning shif= %f\n", &T::DistPTuningShift);
constexpr Riga P_SENS_SH = F("Sensib Spline shif= %f\n", &T::SensibSplineShift);
constexpr Riga P_TUNING = L("%d Punti Tuning\n", &T::PuntiTuning);
constexpr Riga P_TUNING_KV = L("%d Punti Tuning KV\n", &T::PuntiTuningKV);
constexpr Riga P_TUNING_SH = L("%d Punti Tuning Shift\n", &T::PuntiTuningShift);
constexpr Riga P_TUNING_V1{Tipo::ListaSenzaConteggio, "%lf,%lf\n", nullptr, nullptr, nullptr, &T::PuntiTuning};
constexpr Riga PAN_1[] = {P_INGR, P_TEMPO, P_KV, P_DIST, P_DX, P_SX, P_SENS, P_SIMM, P_ANG0, P_TUNING_V1};
constexpr Riga PAN_2[] = {P_INGR, P_TEMPO, P_DIST, P_SENS, P_DX, P_SX, P_SIMM, P_ANG0, P_DIST_KV, P_SENS_KV, P_TUNING,
    VUOTA, P_TUNING_KV};
constexpr Riga PAN_3[] = {NOME, P_INGR, P_TEMPO, P_DIST, P_SENS, P_DX, P_SX, P_SIMM, P_ANG0, P_DIST_KV, P_SENS_KV,
    P_TUNING, VUOTA, P_TUNING_KV};
constexpr Riga PAN_4[] = {NOME, ELIMINA_64, P_INGR, P_TEMPO, P_DIST, P_SENS, P_DX, P_SX, P_SIMM, P_ANG0, P_DIST_KV,
    P_SENS_KV, P_TUNING, VUOTA, P_TUNING_KV};
constexpr Riga PAN_6[] = {NOME, P_INGR, P_TEMPO, P_DIST, P_SENS, P_DX, P_SX, P_SIMM, P_ANG0, P_DIST_KV, P_SENS_KV,
    SCOUT, P_TUNING, VUOTA, P_TUNING_KV};
constexpr Riga PAN_7[] = {NOME, P_INGR, P_TEMPO, P_DIST, P_SENS, P_DX, P_SX, P_SIMM, P_ANG0, P_RICOSTR, P_DIST_KV,
    P_SENS_KV, SCOUT, DUE_ASSI, P_TUNING, VUOTA, P_TUNING_KV};
constexpr Riga PAN_8[] = {
    NOME, P_INGR, P_TEMPO, P_INV_SCAR, P_DIST, P_SENS, P_DX, P_SX, P_SIMM, P_ANG0, P_RICOSTR, P_DIST_KV,
    P_SENS_KV, P_DIST_SH, P_SENS_SH, SCOUT, DUE_ASSI, I("Grafico Analizzato= %d\n", &T::GraficoAnalizzato),
    B("Mostra Gr Rotaz   = %d\n", &T::MostraGrRotaz), B("Mostra Gr Distors = %d\n", &T::MostraGrDistors),
    B("Mostra Gr Derivata= %d\n", &T::MostraGrDerivata), B("Mostra Gr R Proiez= %d\n", &T::MostraGrRProiez),
    B("Mostra Gr R Pr Cos= %d\n", &T::MostraGrRPrCos), B("Mostra Gr X Denti = %d\n", &T::MostraGrXDenti),
    B("Mostra Gr Pos CMR = %d\n", &T::MostraGrPosCMR), B("Mostra Gr Vel CMR = %d\n", &T::MostraGrVelCMR),
    B("Mostra Gr Acc CMR = %d\n", &T::MostraGrAccCMR), B("Mostra Gr Ingr Y  = %d\n", &T::MostraGrIngrY),
    B("Mostra Gr KV      = %d\n", &T::MostraGrKV), B("Mostra Gr Shift   = %d\n", &T::MostraGrShift),
    F("Ingr X Grafici    = %f\n", &T::IngrXGrafici), F("Ingr Gr Rotaz     = %f\n", &T::IngrGrRotaz),
    F("Ingr Gr Distors   = %f\n", &T::IngrGrDistors), F("Ingr Gr X Denti   = %f\n", &T::IngrGrXDenti),
    F("Ingr Gr Derivata  = %f\n", &T::IngrGrDerivata), F("Ingr Gr R Proiez  = %f\n", &T::IngrGrRProiez),
    F("Ingr Gr R Pr Cos  = %f\n", &T::IngrGrRPrCos), F("Ingr Gr Pos CMR   = %f\n", &T::IngrGrPosCMR),
    F("Ingr Gr Vel CMR   = %f\n", &T::IngrGrVelCMR), F("Ingr Gr Acc CMR   = %f\n", &T::IngrGrAccCMR),
    F("Ingr Gr Ingr Y    = %f\n", &T::IngrGrIngrY), F("Ingr Gr KV        = %f\n", &T::IngrGrKV),
    F("Ingr Gr Shift     = %f\n", &T::IngrGrShift), I("Offset grafico KV = %d\n", &T::OffsetGraficoKV), VUOTA,
    P_TUNING, VUOTA, P_TUNING_KV, VUOTA, P_TUNING_SH};
constexpr Versione PANORAMICA[] = {
    {PAN_1, NOME_PANORAMICA | SHIFT_PIATTO | KV_PIATTO}, {PAN_2, NOME_PANORAMICA | SHIFT_PIATTO},
    {PAN_3, SHIFT_PIATTO}, {PAN_4, SHIFT_PIATTO}, {PAN_3, SHIFT_PIATTO}, {PAN_6, SHIFT_PIATTO},
    {PAN_7, SHIFT_PIATTO}, {PAN_8}};

// Circular.
constexpr Riga C_AMPIEZZA = D("Ampiezza arco deg = %lf\n", &T::AmpiezzaArcodeg);
constexpr Riga C_INIZIO = D("Pos Iniz arco deg = %lf\n", &T::PosInizArcodeg);
constexpr Riga C_RAGGIO = D("R Cerchio XY mm   = %lf\n", &T::RCerchioXYmm);
constexpr Riga C_TEMPO = D("Tempo Scansione s = %lf\n", &T::TempoScansionesCirc);
constexpr Riga C_X = D("X Centro rotaz mm = %lf\n", &T::XCentroRotazmm);
constexpr Riga C_Y = D("Y Centro rotaz mm = %lf\n", &T::YCentroRotazmm);
constexpr Riga C_KV = I("KV a regime %%     = %d\n", &T::KVaRegimeCirc);
constexpr Riga C_MA_F = I("mA frontali %%     = %d\n", &T::mAFrontali);
constexpr Riga C_MA_L = I("mA laterali %%     = %d\n", &T::mALaterali);
constexpr Riga CIRC_1[] = {C_AMPIEZZA, C_INIZIO, C_RAGGIO, C_TEMPO, C_X, C_Y, C_KV};
constexpr Riga CIRC_2[] = {NOME, C_AMPIEZZA, C_INIZIO, C_RAGGIO, C_TEMPO, C_X, C_Y, C_KV};
constexpr Riga CIRC_3[] = {NOME, ELIMINA_64, C_AMPIEZZA, C_INIZIO, C_RAGGIO, C_TEMPO, C_X, C_Y, C_KV};
constexpr Riga CIRC_4[] = {NOME, ELIMINA_64, C_AMPIEZZA, C_INIZIO, C_RAGGIO, C_TEMPO, C_X, C_Y, C_KV, C_MA_F, C_MA_L};
constexpr Riga CIRC_5[] = {NOME, C_AMPIEZZA, C_INIZIO, C_RAGGIO, C_TEMPO, C_X, C_Y, C_KV, C_MA_F, C_MA_L};
constexpr Riga CIRC_6[] = {NOME, C_AMPIEZZA, C_INIZIO, C_RAGGIO, C_TEMPO, C_X, C_Y, C_KV, C_MA_F, C_MA_L, SCOUT, VUOTA};
constexpr Versione CIRCOLARE[] = {{CIRC_1}, {CIRC_2}, {CIRC_3}, {CIRC_4}, {CIRC_5}, {CIRC_6}};

// Linear. The oldest blocks wrote the Y centre under the X centre's label.
constexpr Riga L_LUNGHEZZA = F("Lunghezza retta mm= %f\n", &T::LunghezzaRettamm);
constexpr Riga L_X = F("X centro retta mm = %f\n", &T::XCentroRettamm);
constexpr Riga L_X_E_Y{Tipo::XCentroDoppio, "X centro retta mm = %f\n"};
constexpr Riga L_Y = F("Y centro retta mm = %f\n", &T::YCentroRettamm);
constexpr Riga L_TEMPO = F("Tempo Scansione s = %f\n", &T::TempoScansionesLin);
constexpr Riga L_INCL = F("Incl retta deg    = %f\n", &T::InclRettadeg);
constexpr Riga L_RPROIEZ = F("R proiezione mm   = %f\n", &T::RProiezionemm);
constexpr Riga L_INGR = F("Ingrandimento     = %f\n", &T::IngrandimentoLin);
constexpr Riga L_DISORT = F("Disortogonalit deg= %f\n", &T::Disortogonalitdeg);
constexpr Riga L_INV_SENS = B("Inv. sensore      = %d\n", &T::InvSensore);
constexpr Riga L_INV_ROT = B("Inv. rotazione    = %d\n", &T::InvRotazione);
constexpr Riga L_INV_SCAR = B("Inv. scaricamento = %d\n", &T::InvScaricamentoLin);
constexpr Riga L_KV = I("KV a regime %%     = %d\n", &T::KVaRegimeLin);
constexpr Riga LIN_1[] = {NOME, L_LUNGHEZZA, L_X_E_Y, L_TEMPO, L_INCL, L_RPROIEZ, L_INGR, SENSORE_IN_ALTO,
    L_KV};
constexpr Riga LIN_2[] = {NOME, ELIMINA_64, L_LUNGHEZZA, L_X_E_Y, L_TEMPO, L_INCL, L_RPROIEZ, L_INGR,
    SENSORE_IN_ALTO, L_KV};
constexpr Riga LIN_3[] = {NOME, ELIMINA_64, L_LUNGHEZZA, L_X_E_Y, L_TEMPO, L_INCL, L_RPROIEZ, L_INGR, L_DISORT,
    SENSORE_IN_ALTO, L_KV};
constexpr Riga LIN_4[] = {NOME, L_LUNGHEZZA, L_X_E_Y, L_TEMPO, L_INCL, L_RPROIEZ, L_INGR, L_DISORT,
    SENSORE_IN_ALTO, L_KV};
constexpr Riga LIN_5[] = {NOME, L_LUNGHEZZA, L_X, L_Y, L_TEMPO, L_INCL, L_RPROIEZ, L_INGR, L_DISORT, SENSORE_IN_ALTO,
    L_KV, SCOUT};
constexpr Riga LIN_6[] = {NOME, L_LUNGHEZZA, L_X, L_Y, L_TEMPO, L_INCL, L_RPROIEZ, L_INGR, L_DISORT, SENSORE_IN_ALTO,
    L_INV_SCAR, L_KV, SCOUT, DUE_ASSI};
constexpr Riga LIN_7[] = {NOME, L_LUNGHEZZA, L_X, L_Y, L_TEMPO, L_INCL, L_RPROIEZ, L_INGR, L_DISORT, L_INV_SENS,
    L_INV_ROT, L_INV_SCAR, L_KV, SCOUT, DUE_ASSI, VUOTA};
constexpr Versione LINEARE[] = {{LIN_1, DISORTOGONALITA_ZERO}, {LIN_2, DISORTOGONALITA_ZERO}, {LIN_3}, {LIN_4},
                                {LIN_5}, {LIN_6}, {LIN_7}};

// Cephalometric.
constexpr Riga E_TEMPO = F("Tempo Scansione s = %f\n", &T::TempoScansionesCef);
constexpr Riga E_SID = F("Distanza SID mm   = %f\n", &T::DistanzaSIDmm);
constexpr Riga E_PIU = F("Spostamento + mm  = %f\n", &T::SpostamentoPiumm);
constexpr Riga E_MENO = F("Spostamento - mm  = %f\n", &T::SpostamentoMenomm);
constexpr Riga E_INGR = F("Ingrandimento     = %f\n", &T::IngrandimentoCef);
constexpr Riga E_BRACCIO = B("Braccio destro    = %d\n", &T::BraccioDestro);
constexpr Riga E_KV = I("KV a regime %%     = %d\n", &T::KVaRegimeCef);
constexpr Riga E_STF = B("Crea Rampa STF    = %d\n", &T::CreaRampaSTF);
constexpr Riga E_COSTANTE = B("Is Ingr. Costante = %d\n", &T::IsIngrCostante);
constexpr Riga CEF_1[] = {NOME, ELIMINA_64, E_TEMPO, E_SID, E_PIU, E_MENO, E_BRACCIO, E_KV};
constexpr Riga CEF_2[] = {NOME, ELIMINA_64, E_TEMPO, E_SID, E_PIU, E_MENO, E_INGR, E_BRACCIO, E_KV};
constexpr Riga CEF_3[] = {NOME, ELIMINA_64, E_TEMPO, E_SID, E_PIU, E_MENO, E_INGR, E_BRACCIO, E_KV, E_STF};
constexpr Riga CEF_4[] = {NOME, E_TEMPO, E_SID, E_PIU, E_MENO, E_INGR, E_BRACCIO, E_KV, E_STF};
constexpr Riga CEF_5[] = {NOME, E_TEMPO, E_SID, E_PIU, E_MENO, E_INGR, E_BRACCIO, E_KV, E_STF, SCOUT};
constexpr Riga CEF_6[] = {NOME, E_TEMPO, E_SID, E_PIU, E_MENO, E_INGR, E_BRACCIO, E_KV, E_STF, SCOUT, E_COSTANTE,
    DUE_ASSI, VUOTA};
constexpr Versione CEFALOMETRICA[] = {{CEF_1, INGRANDIMENTO_CEF}, {CEF_2}, {CEF_3}, {CEF_4}, {CEF_5}, {CEF_6}};

constexpr Blocco BLOCCHI[] = {
    {T::CURVA_DA_CSV, "[PARAMETRI CURVA CARICATA DA CSV]\n\n", CSV, CSezione::ANTICOLLISIONE_PAN},
    {T::CURVA_PANORAMICA, "[PARAMETRI CURVA PANORAMICA]\n\n", PANORAMICA, CSezione::ANTICOLLISIONE_PAN},
    {T::CURVA_CIRCOLARE, "[PARAMETRI CURVA CIRCOLARE]\n\n", CIRCOLARE, CSezione::ANTICOLLISIONE_3D},
    {T::CURVA_LINEARE, "[PARAMETRI CURVA LINEARE]\n\n", LINEARE, CSezione::ANTICOLLISIONE_PAN},
    {T::CURVA_CEFALOMETRICA, "[PARAMETRI CURVA CEFALOMETRICA]\n\n", CEFALOMETRICA, CSezione::ANTICOLLISIONE_NESSUNA},
};

constexpr const char* TIPO_CURVA = "Tipo Curva        = %d\n";
constexpr const char* VERSIONE = "Versione          = %d\n";
constexpr const char* PUNTO = "%lf,%lf\n";
constexpr int MSG_TRAIETTORIA_PANORAMICA = 175;
constexpr const wchar_t* AVVISO_ELIMINA_64 =
    L"ERRORE\nLa traiettoria era impostata per eliminare gli ultimi 64 pixel della traiettoria.\n"
    L"L'impostazione \u00e8 stata eliminata!\nSalva la traiettoria per aggiornarla";
// No tuning list of any exam comes near this; a larger count in a file is not believed.
constexpr int MAX_PUNTI_LISTA = 10000;
// Names longer than this are cut when read; the rest of the line is skipped.
constexpr size_t MAX_NOME = 4095;

const Blocco* BloccoDelTipo(int tipo)
{
    for (const Blocco& b : BLOCCHI)
        if (b.tipo == tipo)
            return &b;
    return nullptr;
}

// The block whose heading stands in front of the stream, if any; the stream is left where it was.
const Blocco* BloccoDavanti(FILE* f)
{
    const lettura_testo::SoloSguardo sguardo;
    const long intestazione = std::ftell(f);
    for (const Blocco& b : BLOCCHI) {
        const bool trovata = LeggiLetterale(f, b.intestazione);
        std::fseek(f, intestazione, SEEK_SET);
        if (trovata)
            return &b;
    }
    return nullptr;
}

// A damaged or missing kind line still leaves its kind in the heading in front or one line on.
const Blocco* BloccoDallIntestazione(FILE* f)
{
    if (const Blocco* b = BloccoDavanti(f))
        return b;
    const long prima = std::ftell(f);
    lettura_testo::SaltaRiga(f);
    if (const Blocco* b = BloccoDavanti(f))
        return b;
    std::fseek(f, prima, SEEK_SET);
    return nullptr;
}

CString NomeCompagnoPassi(const CString& nome)
{
    if (nome.empty())
        return CString();
    const size_t barra = nome.find_last_of(L"\\/");
    const size_t punto = nome.find_last_of(L'.');
    const bool conEstensione = punto != CString::npos && (barra == CString::npos || punto > barra);
    return (conEstensione ? nome.substr(0, punto) : nome) + L".csv2";
}

CString NomeCompagnoInizio(const CString& nome)
{
    const CString passi = NomeCompagnoPassi(nome);
    return passi.empty() ? passi : InserisciPrimaDellUltimoPunto(passi, L"_P0");
}

// One "%lf,%lf" line, or nothing consumed.
bool LeggiPunto(FILE* f, ArrayPunti2D& lista)
{
    const long prima = std::ftell(f);
    double x = 0.0, y = 0.0;
    if (lettura_testo::ScansionaCoppia(f, x, y) == lettura_testo::LETTA) {
        lista.Add(CPunto2DKorvane(x, y));
        return true;
    }
    std::fseek(f, prima, SEEK_SET);
    return false;
}

bool RigaDiConteggio(FILE* f)
{
    const long prima = std::ftell(f);
    int fine = -1;
    std::fscanf(f, "%*d Punti%n", &fine);
    std::fseek(f, prima, SEEK_SET);
    return fine >= 0;
}


// Whether a whole point line stands in front of the stream; nothing is consumed.
bool PuntoDavanti(FILE* f)
{
    const long prima = std::ftell(f);
    double x = 0.0, y = 0.0;
    const bool punto = lettura_testo::ScansionaCoppia(f, x, y) == lettura_testo::LETTA;
    std::clearerr(f);
    std::fseek(f, prima, SEEK_SET);
    return punto;
}

// Past damaged lines (a few, never a count line or a heading) to the next point line: false, and
// nothing consumed, when none stands there.
bool PuntoOltreIDanni(FILE* f)
{
    const long prima = std::ftell(f);
    for (int k = 0; k <= lettura_testo::RIGHE_OLTRE && prima >= 0; ++k) {
        const int c = std::fgetc(f);
        std::ungetc(c, f);
        if (c == '[' || c == EOF || RigaDiConteggio(f))
            break;
        if (PuntoDavanti(f)) {
            if (k > 0)
                lettura_testo::Segnala(prima, lettura_testo::Atteso(PUNTO));
            return true;
        }
        lettura_testo::SaltaRiga(f);
    }
    std::clearerr(f);
    std::fseek(f, prima, SEEK_SET);
    return false;
}

// The oldest panoramic blocks end in points without a count line: damaged lines in front of the
// first point are passed over, so they cost no point.
bool SaltaDanniPrimaDeiPunti(FILE* f)
{
    const long prima = std::ftell(f);
    return !PuntoOltreIDanni(f) || std::ftell(f) == prima;
}

// A list loses only what is damaged: a bad point line costs its point, a bad or unbelievable count
// keeps the points that follow it (up to the bound), a short list stops where the next thing starts.
bool LeggiLista(FILE* f, const char* formato, ArrayPunti2D& lista)
{
    lista.RemoveAll();
    int n = -1;
    // The count line carries the list's own words, so one list's count is never taken for another's.
    const long conteggio = std::ftell(f);
    bool ok = LeggiValore(f, formato, &n);
    if (ok && (n < 0 || n > MAX_PUNTI_LISTA))
        lettura_testo::Segnala(conteggio, lettura_testo::Atteso(formato));
    // Without a count the points that stand there are read; the line in front, when it is no
    // point, is the damaged count itself.
    const bool contati = n >= 0 && n <= MAX_PUNTI_LISTA;
    if (!contati && !PuntoDavanti(f))
        lettura_testo::SaltaRiga(f);
    for (int i = 0; contati ? i < n : lista.GetSize() < MAX_PUNTI_LISTA; ++i) {
        if (LeggiPunto(f, lista))
            continue;
        // A damaged point line costs its point; the list goes on where a point stands again. A
        // counted list that ends early is missing points.
        ok = false;
        const long qui = std::ftell(f);
        if (!PuntoOltreIDanni(f)) {
            if (contati)
                lettura_testo::Segnala(qui, lettura_testo::Atteso(PUNTO));
            break;
        }
    }
    return ok && contati;
}

void GraficoPiatto(const ArrayPunti2D& base, double livello, ArrayPunti2D& lista, float& distanza,
                   float& sensibilita)
{
    lista.RemoveAll();
    sensibilita = 100.0f;
    // Without main tuning points there is no range to span: the graph stays empty.
    if (base.IsEmpty()) {
        distanza = 0.0f;
        return;
    }
    const double primo = base[0].X;
    const double ultimo = base[base.GetSize() - 1].X;
    lista.Add(CPunto2DKorvane(primo, livello));
    lista.Add(CPunto2DKorvane(ultimo, livello));
    distanza = static_cast<float>(ultimo - primo);
}

// The lines of one layout into the trajectory, then the completions the layout calls for.
bool LeggiParametri(FILE* f, CTraiettoria& t, const Versione& v)
{
    EsitoLettura esito;
    int kv = 0;
    bool kvLetto = false;
    for (const Riga& r : v.righe) {
        switch (r.tipo) {
        case Tipo::Nome: {
            std::string testo;
            const lettura_testo::Riga letta = LeggiNome(f, "Nome Traiettoria =", testo, MAX_NOME);
            esito &= letta == lettura_testo::Riga::AL_POSTO;
            if (letta != lettura_testo::Riga::ASSENTE)
                t.Nome = StringaDa8Bit(testo);
            break;
        }
        case Tipo::Intero:
        case Tipo::Bandiera:
            esito &= LeggiValore(f, r.formato, &(t.*r.intero));
            break;
        case Tipo::Reale:
            esito &= LeggiValore(f, r.formato, &(t.*r.reale));
            break;
        case Tipo::Doppio:
            esito &= LeggiValore(f, r.formato, &(t.*r.doppio));
            break;
        case Tipo::Vuota:
            esito &= LeggiLetterale(f, r.formato);
            break;
        case Tipo::Lista:
            esito &= LeggiLista(f, r.formato, t.*r.punti);
            break;
        case Tipo::ListaSenzaConteggio:
            (t.*r.punti).RemoveAll();
            esito &= SaltaDanniPrimaDeiPunti(f);
            while ((t.*r.punti).GetSize() < MAX_PUNTI_LISTA && LeggiPunto(f, t.*r.punti)) {
            }
            break;
        case Tipo::Elimina64: {
            int elimina = 0;
            const lettura_testo::Riga letta = TrovaValore(f, r.formato, &elimina);
            esito &= letta == lettura_testo::Riga::AL_POSTO;
            if (lettura_testo::ValoreOttenuto(letta) && elimina == 1)
                MostraInformazione(AVVISO_ELIMINA_64);
            break;
        }
        case Tipo::SensoreInAlto: {
            int sensore = 0;
            const lettura_testo::Riga letta = TrovaValore(f, r.formato, &sensore);
            esito &= letta == lettura_testo::Riga::AL_POSTO;
            if (lettura_testo::ValoreOttenuto(letta))
                t.InvSensore = sensore != 0 ? 1 : 0;
            break;
        }
        case Tipo::KVPiatto: {
            const lettura_testo::Riga letta = TrovaValore(f, r.formato, &kv);
            esito &= letta == lettura_testo::Riga::AL_POSTO;
            kvLetto = lettura_testo::ValoreOttenuto(letta);
            break;
        }
        case Tipo::XCentroDoppio: {
            // Both lines carry one label. One found only past damaged lines with no twin after it is
            // the second, the Y centre: the X line before it was the damaged one.
            float valore = 0.0f;
            const lettura_testo::Riga x = TrovaValore(f, r.formato, &valore);
            if (x == lettura_testo::Riga::DOPO_DANNI && !lettura_testo::IniziaCon(f, "X centro retta mm")) {
                t.YCentroRettamm = valore;
                esito &= false;
                break;
            }
            if (x == lettura_testo::Riga::DOPO_DANNI)
                t.XCentroRettamm = valore;
            if (x == lettura_testo::Riga::AL_POSTO)
                t.XCentroRettamm = valore;
            esito &= x == lettura_testo::Riga::AL_POSTO;
            esito &= LeggiValore(f, r.formato, &t.YCentroRettamm);
            break;
        }
        }
    }
    if (v.completamenti & NOME_PANORAMICA)
        t.Nome = TestoMessaggio(MSG_TRAIETTORIA_PANORAMICA);
    if (v.completamenti & SHIFT_PIATTO)
        GraficoPiatto(t.PuntiTuning, 1.0, t.PuntiTuningShift, t.DistPTuningShift, t.SensibSplineShift);
    if ((v.completamenti & KV_PIATTO) && kvLetto)
        GraficoPiatto(t.PuntiTuning, kv, t.PuntiTuningKV, t.DistPTuningKV, t.SensibSplineKV);
    if (v.completamenti & DISORTOGONALITA_ZERO)
        t.Disortogonalitdeg = 0.0f;
    if (v.completamenti & INGRANDIMENTO_CEF)
        t.IngrandimentoCef = 1.11f;
    return esito.Risultato() == 1;
}

}  // namespace

int CTraiettoria::SalvaFileTRG(FILE* f, CString nome, int conH)
{
    LocaleC guardia;
    std::fprintf(f, TIPO_CURVA, TipoCurva);
    const Blocco* b = BloccoDelTipo(TipoCurva);
    if (b == nullptr)
        return 1;
    std::fputs(b->intestazione, f);
    std::fprintf(f, VERSIONE, static_cast<int>(b->versioni.size()));
    for (const Riga& r : b->versioni.back().righe) {
        switch (r.tipo) {
        case Tipo::Nome:
            std::fprintf(f, r.formato, StringaA8Bit(Nome).c_str());
            break;
        case Tipo::Intero:
            std::fprintf(f, r.formato, this->*r.intero);
            break;
        case Tipo::Bandiera:
            std::fprintf(f, r.formato, this->*r.intero != 0 ? 1 : 0);
            break;
        case Tipo::Reale:
            std::fprintf(f, r.formato, static_cast<double>(this->*r.reale));
            break;
        case Tipo::Doppio:
            std::fprintf(f, r.formato, this->*r.doppio);
            break;
        case Tipo::Lista:
            std::fprintf(f, r.formato, (this->*r.punti).GetSize());
            for (const CPunto2DKorvane& p : this->*r.punti)
                std::fprintf(f, PUNTO, p.X, p.Y);
            break;
        default:
            std::fputs(r.formato, f);
            break;
        }
    }
    if (TipoCurva != CURVA_DA_CSV)
        return 1;
    // The steps of this kind live only in its companions; a project without them would load with
    // no steps, so a companion that cannot be written fails the block.
    const CLimitiEParametri& l = LimitiEParametri;
    const bool passi = ScriviSostituendo(NomeCompagnoPassi(nome), [&](FILE* g) {
        return ScriviSuFileCSV(g, nullptr, conH) == 1;
    });
    const bool inizio = ScriviSostituendo(NomeCompagnoInizio(nome), [&](FILE* g) {
        return std::fprintf(g, "%d,%d,%d,%d\n", UnitaMotore(PuntoIniziale.dPosX, l.AsseX.StepPerUnita),
                            UnitaMotore(PuntoIniziale.dPosY, l.AsseY.StepPerUnita),
                            UnitaMotore(PuntoIniziale.dPosR, l.AsseR.StepPerUnita), 0) > 0;
    });
    if (passi && inizio)
        return 1;
    CaricaMessaggio(StringaErrore, MSG_COMPAGNI_CSV_NON_SCRITTI);
    return 0;
}

int CTraiettoria::CaricaFileTRG(FILE* f, CString nome)
{
    LocaleC guardia;
    EsitoLettura esito;
    int tipo = CURVA_NON_CALCOLATA;
    const Blocco* b = nullptr;
    const long riga = std::ftell(f);
    const lettura_testo::Riga rigaTipo = TrovaValore(f, TIPO_CURVA, &tipo);
    esito &= rigaTipo == lettura_testo::Riga::AL_POSTO;
    if (lettura_testo::ValoreOttenuto(rigaTipo)) {
        b = BloccoDelTipo(tipo);
        // A kind no block has, in front of a known heading, is a damaged kind line: the heading tells.
        if (b == nullptr && (b = BloccoDavanti(f)) != nullptr) {
            lettura_testo::Segnala(riga, lettura_testo::Atteso(TIPO_CURVA));
            esito &= false;
            tipo = b->tipo;
        }
    } else {
        b = BloccoDallIntestazione(f);
        tipo = b != nullptr ? b->tipo : CURVA_NON_CALCOLATA;
    }
    TipoCurva = tipo;
    if (b == nullptr)
        return esito.Risultato();

    esito &= LeggiLetterale(f, b->intestazione);
    int versione = 0;
    const long rigaVersione = std::ftell(f);
    // A damaged version line is read as the newest layout, the one this library writes.
    if (!LeggiValore(f, VERSIONE, &versione)) {
        esito &= false;
        versione = static_cast<int>(b->versioni.size());
    }
    // An unknown version leaves the kind's parameters unread, which is a failed block.
    if (versione < 1 || versione > static_cast<int>(b->versioni.size())) {
        lettura_testo::Segnala(rigaVersione, lettura_testo::Atteso(VERSIONE));
        CalcolaArrayVelocita(b->modo);
        return 0;
    }
    esito &= LeggiParametri(f, *this, b->versioni[static_cast<size_t>(versione - 1)]);
    if (tipo == CURVA_DA_CSV) {
        // A missing companion leaves the steps empty.
        FilePtr passi(ApriFile(NomeCompagnoPassi(nome), "r"));
        FilePtr inizio(ApriFile(NomeCompagnoInizio(nome), "r"));
        LeggiDaFileCSV(passi.get(), inizio.get());
    }
    CalcolaArrayVelocita(b->modo);
    return esito.Risultato();
}

