#include "core/ParametriFileDat.h"

#include <algorithm>
#include <iterator>

#include "core/LetturaTesto.h"
#include "platform/Locale.h"

namespace {

constexpr int VERSIONE_BLOCCO = 6;
// More sub-images than any exam has; a larger count in a file is refused before anything is sized.
constexpr int MAX_SOTTOIMMAGINI = 10000;

using CampoInt = std::int32_t CParametriFileDat::*;
using CampoFloat = float CParametriFileDat::*;
using CampoArray = ArrayInt CParametriFileDat::*;

struct RigaInt {
    const char* formato;
    CampoInt campo;
};
struct RigaFloat {
    const char* formato;
    CampoFloat campo;
};
struct RigaArray {
    const char* formato;
    CampoArray campo;
};

constexpr RigaInt TESTA[] = {
    {"Group             = %d\n", &CParametriFileDat::Group},
    {"Type              = %d\n", &CParametriFileDat::Type},
    {"Version           = %d\n", &CParametriFileDat::Version},
    {"TFCanUpdate       = %d\n", &CParametriFileDat::TFCanUpdate},
    {"TMCanUpdate       = %d\n", &CParametriFileDat::TMCanUpdate},
    {"YCanMove          = %d\n", &CParametriFileDat::YCanMove},
};
constexpr RigaInt CEPH_PATIENT = {"Ceph patient pos  = %d\n", &CParametriFileDat::CephPatientPos};
constexpr const char* STF_ON = "STF On            = %d\n";
constexpr RigaInt CORPO[] = {
    {"Pan keyb pos      = %d\n", &CParametriFileDat::PanKeybPos},
    {"Ceph arm pos      = %d\n", &CParametriFileDat::CephArmPos},
    {"Bite block conf   = %d\n", &CParametriFileDat::BiteBlockConf},
    {"Aps range Min     = %d\n", &CParametriFileDat::ApsRangeMin},
    {"Aps range Max     = %d\n", &CParametriFileDat::ApsRangeMax},
    {"Y axis corr len   = %d\n", &CParametriFileDat::YAxisCorrLen},
    {"Y axis corr min   = %d\n", &CParametriFileDat::YAxisCorrMin},
    {"Y axis corr max   = %d\n", &CParametriFileDat::YAxisCorrMax},
    {"Y axis open mounth= %d\n", &CParametriFileDat::YAxisOpenMouth},
    {"X axis corr fact  = %d\n", &CParametriFileDat::XAxisCorrFact},
    {"Prm collim offset1= %d\n", &CParametriFileDat::PrmCollimOffset1},
    {"Prm collim offset2= %d\n", &CParametriFileDat::PrmCollimOffset2},
    {"Scn collim offset = %d\n", &CParametriFileDat::ScnCollimOffset},
};
constexpr RigaFloat POSIZIONI[] = {
    {"Pos Reset X [mm]  = %f\n", &CParametriFileDat::PosResetX},
    {"Pos Reset Y [mm]  = %f\n", &CParametriFileDat::PosResetY},
    {"Pos Reset R [deg] = %f\n", &CParametriFileDat::PosResetR},
    {"Pos Reset H [mm]  = %f\n", &CParametriFileDat::PosResetH},
    {"Pos Uscita X [mm] = %f\n", &CParametriFileDat::PosUscitaX},
    {"Pos Uscita Y [mm] = %f\n", &CParametriFileDat::PosUscitaY},
    {"Pos Uscita R [deg]= %f\n", &CParametriFileDat::PosUscitaR},
    {"Pos Uscita H [mm] = %f\n", &CParametriFileDat::PosUscitaH},
};
constexpr float POSIZIONI_PREDEFINITE[] = {50.0f, 0.0f, -180.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
constexpr RigaInt SCOUT[] = {
    {"Scout KV [kV]     = %d\n", &CParametriFileDat::ScoutKV},
    {"Scout MA [mA]     = %d\n", &CParametriFileDat::ScoutMA},
    {"Scout Coll Min    = %d\n", &CParametriFileDat::ScoutCollMin},
    {"Scout Coll Max    = %d\n", &CParametriFileDat::ScoutCollMax},
};
constexpr const char* CONTEGGIO = "%d Traiettorie in file .dat\n";
// The nine per-sub-image lines; the first five (note and the four plain margins) are all that
// blocks before version 4 carry.
constexpr RigaArray SOTTOIMMAGINE[] = {
    {"LR img note       = %d\n", &CParametriFileDat::LRImgNote},
    {"Px margins top    = %d\n", &CParametriFileDat::PxMarginsTop},
    {"Px margins bottom = %d\n", &CParametriFileDat::PxMarginsBottom},
    {"Px margins right  = %d\n", &CParametriFileDat::PxMarginsRight},
    {"Px margins left   = %d\n", &CParametriFileDat::PxMarginsLeft},
    {"Px margins topC   = %d\n", &CParametriFileDat::PxMarginsTopC},
    {"Px margins bottomC= %d\n", &CParametriFileDat::PxMarginsBottomC},
    {"Px margins rightC = %d\n", &CParametriFileDat::PxMarginsRightC},
    {"Px margins leftC  = %d\n", &CParametriFileDat::PxMarginsLeftC},
};
constexpr int RIGHE_PIANE = 5;
constexpr int RIGHE_TUTTE = 9;

}  // namespace

CParametriFileDat::CParametriFileDat()
    : Group(0), Type(0), Version(-1), TFCanUpdate(-1), TMCanUpdate(-1), YCanMove(-1), CephPatientPos(-1),
      PanKeybPos(-1), CephArmPos(-1), BiteBlockConf(1), ApsRangeMin(-1), ApsRangeMax(-1), YAxisCorrLen(0),
      YAxisCorrMin(0), YAxisCorrMax(0), YAxisOpenMouth(0), XAxisCorrFact(0), PrmCollimOffset1(-1),
      PrmCollimOffset2(-1), ScnCollimOffset(-1), ScoutKV(0), ScoutMA(0), ScoutCollMin(0), ScoutCollMax(0),
      PosResetX(50.0f), PosResetY(0.0f), PosResetR(-180.0f), PosResetH(0.0f), PosUscitaX(0.0f), PosUscitaY(0.0f),
      PosUscitaR(0.0f), PosUscitaH(0.0f)
{
    LRImgNote.Add(0);
    for (int k = 1; k < RIGHE_TUTTE; ++k)
        (this->*(SOTTOIMMAGINE[k].campo)).Add(-1);
}

CParametriFileDat::~CParametriFileDat() = default;

CParametriFileDat& CParametriFileDat::operator=(const CParametriFileDat& altro) = default;

int CParametriFileDat::operator==(const CParametriFileDat& a) const
{
    for (const RigaArray& r : SOTTOIMMAGINE) {
        const ArrayInt& x = this->*(r.campo);
        const ArrayInt& y = a.*(r.campo);
        if (x.GetSize() != y.GetSize())
            return 0;
        for (int i = 0; i < x.GetSize(); ++i)
            if (x[i] != y[i])
                return 0;
    }
    for (const RigaInt& r : TESTA)
        if (this->*(r.campo) != a.*(r.campo))
            return 0;
    if (CephPatientPos != a.CephPatientPos)
        return 0;
    for (const RigaInt& r : CORPO)
        if (this->*(r.campo) != a.*(r.campo))
            return 0;
    for (const RigaInt& r : SCOUT)
        if (this->*(r.campo) != a.*(r.campo))
            return 0;
    for (const RigaFloat& r : POSIZIONI)
        if (this->*(r.campo) != a.*(r.campo))
            return 0;
    return 1;
}

int CParametriFileDat::SalvaFileTRG(FILE* f)
{
    LocaleC guardia;
    std::fprintf(f, "[PARAMETRI FILE DAT]\n\n");
    std::fprintf(f, "Versione          = %d\n", VERSIONE_BLOCCO);
    for (const RigaInt& r : TESTA)
        std::fprintf(f, r.formato, this->*(r.campo));
    std::fprintf(f, CEPH_PATIENT.formato, CephPatientPos);
    for (const RigaInt& r : CORPO)
        std::fprintf(f, r.formato, this->*(r.campo));
    for (const RigaFloat& r : POSIZIONI)
        std::fprintf(f, r.formato, static_cast<double>(this->*(r.campo)));
    for (const RigaInt& r : SCOUT)
        std::fprintf(f, r.formato, this->*(r.campo));
    int n = LRImgNote.GetSize();
    for (const RigaArray& r : SOTTOIMMAGINE)
        n = std::min(n, (this->*(r.campo)).GetSize());
    std::fprintf(f, CONTEGGIO, n);
    for (int i = 0; i < n; ++i)
        for (const RigaArray& r : SOTTOIMMAGINE)
            std::fprintf(f, r.formato, (this->*(r.campo))[i]);
    std::fprintf(f, "\n");
    return 1;
}

namespace {
// Whether a sub-image's first line stands in front of the stream, or past a few damaged lines.
bool DavantiSottoimmagine(FILE* f)
{
    return lettura_testo::DavantiDopoDanni(f, SOTTOIMMAGINE[0].formato,
                                           [f] { return lettura_testo::IniziaCon(f, "LR img note"); });
}
}  // namespace

int CParametriFileDat::CaricaFileTRG(FILE* f)
{
    LocaleC guardia;
    for (const RigaArray& r : SOTTOIMMAGINE)
        (this->*(r.campo)).RemoveAll();
    EsitoLettura esito;
    esito &= LeggiLetterale(f, "[PARAMETRI FILE DAT]\n\n");
    int v = 0;
    // A damaged version line is read as the newest layout, the one this library writes.
    if (!LeggiValore(f, "Versione          = %d\n", &v)) {
        esito &= false;
        v = VERSIONE_BLOCCO;
    }
    // An unknown version ends the block here; the reading does not count it as a failure.
    if (v < 1 || v > VERSIONE_BLOCCO)
        return esito.Risultato();
    for (const RigaInt& r : TESTA)
        esito &= LeggiValore(f, r.formato, &(this->*(r.campo)));
    if (v <= 2) {
        int stf = 0;
        esito &= LeggiValore(f, STF_ON, &stf);
    }
    if (v >= 2)
        esito &= LeggiValore(f, CEPH_PATIENT.formato, &CephPatientPos);
    else
        CephPatientPos = 0;
    for (const RigaInt& r : CORPO)
        esito &= LeggiValore(f, r.formato, &(this->*(r.campo)));
    if (v >= 5) {
        for (const RigaFloat& r : POSIZIONI)
            esito &= LeggiValore(f, r.formato, &(this->*(r.campo)));
    } else {
        for (size_t k = 0; k < std::size(POSIZIONI); ++k)
            this->*(POSIZIONI[k].campo) = POSIZIONI_PREDEFINITE[k];
    }
    if (v >= 6)
        for (const RigaInt& r : SCOUT)
            esito &= LeggiValore(f, r.formato, &(this->*(r.campo)));
    // A count that does not read, or is beyond belief, gives way to the sub-images that stand there:
    // one damaged line never costs the lines after it.
    int n = 0;
    const long rigaConteggio = std::ftell(f);
    bool contate = LeggiValore(f, CONTEGGIO, &n);
    if (contate && (n < 0 || n > MAX_SOTTOIMMAGINI)) {
        lettura_testo::Segnala(rigaConteggio, lettura_testo::Atteso(CONTEGGIO));
        contate = false;
    }
    esito &= contate;
    const int righe = v >= 4 ? RIGHE_TUTTE : RIGHE_PIANE;
    for (int i = 0; contate ? i < n : i < MAX_SOTTOIMMAGINI && DavantiSottoimmagine(f); ++i) {
        const long prima = std::ftell(f);
        for (const RigaArray& r : SOTTOIMMAGINE)
            (this->*(r.campo)).Add(0);
        for (int k = 0; k < righe; ++k) {
            std::int32_t& valore = (this->*(SOTTOIMMAGINE[k].campo))[i];
            esito &= LeggiValore(f, SOTTOIMMAGINE[k].formato, &valore);
            // Older blocks have one set of margins; it serves as the collimated set too.
            if (righe == RIGHE_PIANE && k > 0)
                (this->*(SOTTOIMMAGINE[k + 4].campo))[i] = valore;
        }
        // Without a count, lines that no sub-image reads end the list rather than repeat it.
        if (!contate && std::ftell(f) == prima) {
            for (const RigaArray& r : SOTTOIMMAGINE)
                (this->*(r.campo)).RemoveAt(i);
            break;
        }
    }
    esito &= LeggiLetterale(f, "\n");
    return esito.Risultato();
}
