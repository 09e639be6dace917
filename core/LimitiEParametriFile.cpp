#include "core/LetturaTesto.h"
#include "core/LimitiEParametri.h"
#include "platform/File.h"
#include "platform/Locale.h"

namespace {

constexpr int VERSIONE_FILE_MACCHINA = 2;
constexpr size_t MAX_NOME_MACCHINA = 255;
constexpr const wchar_t* NOME_FILE_MACCHINA = L"MachinesParameters.ini";
constexpr const wchar_t* NOME_MACCHINA_VERSIONE_1 = L"P2 - P4 - Ostra";

// The general parameters after the name, in file order.
struct RigaGenerale {
    const char* formato;
    double CLimitiEParametri::*campo;
};
constexpr RigaGenerale GENERALI[] = {
    {"Passo temporale s = %lf\n", &CLimitiEParametri::PassoTemporale},
    {"Centro-Monoblocco = %lf\n", &CLimitiEParametri::CentroMonoblocco},
    {"Cent-Sens Pan mm  = %lf\n", &CLimitiEParametri::CentSensPan},
    {"Cent-Sens 3D mm   = %lf\n", &CLimitiEParametri::CentSens3D},
    {"Pos Morso mm      = %lf\n", &CLimitiEParametri::PosMorso},
    {"Dim Pixel Pano mm = %lf\n", &CLimitiEParametri::DimPixelPano},
    {"Inclinaz H Dx deg = %lf\n", &CLimitiEParametri::InclinazHDx},
    {"X centro H Dx mm  = %lf\n", &CLimitiEParametri::XCentroHDx},
    {"Y centro H Dx mm  = %lf\n", &CLimitiEParametri::YCentroHDx},
    {"Inclinaz H Sx deg = %lf\n", &CLimitiEParametri::InclinazHSx},
    {"X centro H Sx mm  = %lf\n", &CLimitiEParametri::XCentroHSx},
    {"Y centro H Sx mm  = %lf\n", &CLimitiEParametri::YCentroHSx},
    {"Distanza CVR mm   = %lf\n", &CLimitiEParametri::DistanzaCVR},
    {"Pos H ortho mm    = %lf\n\n", &CLimitiEParametri::PosHOrtho},
};

struct Asse {
    const char* testa;
    PARAMETRI_ASSE CLimitiEParametri::*asse;
    bool gradi;
};
constexpr Asse ASSI[] = {
    {"[ASSE X]\n\n", &CLimitiEParametri::AsseX, false}, {"[ASSE Y]\n\n", &CLimitiEParametri::AsseY, false},
    {"[ASSE R]\n\n", &CLimitiEParametri::AsseR, true},  {"[ASSE C]\n\n", &CLimitiEParametri::AsseC, false},
    {"[ASSE H]\n\n", &CLimitiEParametri::AsseH, false},
};

struct RigaAsse {
    const char* mm;
    const char* gradi;
    double PARAMETRI_ASSE::*campo;
};
constexpr RigaAsse RIGHE_ASSE[] = {
    {"Phase Accumulator = %lf\n", "Phase Accumulator = %lf\n", &PARAMETRI_ASSE::PhaseAccumulator},
    {"Giri/min per LSB  = %lf\n", "Giri/min per LSB  = %lf\n", &PARAMETRI_ASSE::GiriMinPerLSB},
    {"step/s per LSB    = %lf\n", "step/s per LSB    = %lf\n", &PARAMETRI_ASSE::StepSPerLSB},
    {"Step al mm        = %lf\n", "Step al deg       = %lf\n", &PARAMETRI_ASSE::StepPerUnita},
    {"Max Vel in mm/s   = %lf\n", "Max Vel in deg/s  = %lf\n", &PARAMETRI_ASSE::MaxVel},
    {"Max Acc in mm/s2  = %lf\n", "Max Acc in deg/s2 = %lf\n", &PARAMETRI_ASSE::MaxAcc},
    {"Pos Min in mm     = %lf\n", "Pos Min in deg    = %lf\n", &PARAMETRI_ASSE::PosMin},
    {"Pos Max in mm     = %lf\n\n", "Pos Max in deg    = %lf\n\n", &PARAMETRI_ASSE::PosMax},
};

CString NomeFile(const CString& nome, int bAggiungiNomeFile)
{
    return bAggiungiNomeFile ? nome + NOME_FILE_MACCHINA : nome;
}

}  // namespace

int CLimitiEParametri::ScriviSuFile(CString nome, int bAggiungiNomeFile)
{
    LocaleC guardia;
    // Written beside and renamed when whole, so a failed write keeps the machine file that stood.
    return ScriviSostituendo(NomeFile(nome, bAggiungiNomeFile), [&](FILE* out) {
        std::fprintf(out, "Versione          = %d\n\n", VERSIONE_FILE_MACCHINA);
        std::fprintf(out, "[PARAMETRI GENERALI]\n\n");
        std::fprintf(out, "Nome macchina     = %s\n", StringaA8Bit(NomeMacchina.substr(0, MAX_NOME_MACCHINA)).c_str());
        for (const RigaGenerale& r : GENERALI)
            std::fprintf(out, r.formato, this->*(r.campo));
        for (const Asse& a : ASSI) {
            std::fprintf(out, "%s", a.testa);
            for (const RigaAsse& r : RIGHE_ASSE)
                std::fprintf(out, a.gradi ? r.gradi : r.mm, (this->*(a.asse)).*(r.campo));
        }
        std::fprintf(out, "[END]");
        return true;
    }) ? 1 : 0;
}

int CLimitiEParametri::LeggiDaFile(CString nome, int bAggiungiNomeFile)
{
    LocaleC guardia;
    FilePtr f(ApriFile(NomeFile(nome, bAggiungiNomeFile), "r"));
    if (!f)
        return 0;
    FILE* in = f.get();
    int versione = 0;
    EsitoLettura esito;
    // A damaged version line is read as the newest layout, the one this library writes.
    if (!LeggiValore(in, "Versione          = %d\n\n", &versione)) {
        esito &= false;
        versione = VERSIONE_FILE_MACCHINA;
    }
    if (versione != 1 && versione != VERSIONE_FILE_MACCHINA)
        return 0;
    esito &= LeggiLetterale(in, "[PARAMETRI GENERALI]\n\n");
    if (versione == VERSIONE_FILE_MACCHINA) {
        // Without its label the line in front of us is the next value's: the name stays.
        // One character past the longest name the writer makes: a longer line keeps its first
        // 255 characters, the rest of the line is skipped and the file counts as not matching.
        std::string riga;
        const lettura_testo::Riga etichetta = LeggiNome(in, "Nome macchina     =", riga, MAX_NOME_MACCHINA + 1);
        esito &= etichetta == lettura_testo::Riga::AL_POSTO;
        if (etichetta != lettura_testo::Riga::ASSENTE) {
            if (riga.size() > MAX_NOME_MACCHINA) {
                riga.resize(MAX_NOME_MACCHINA);
                esito &= false;
            }
            NomeMacchina = StringaDa8Bit(riga);
        }
    }
    for (const RigaGenerale& r : GENERALI)
        esito &= LeggiValore(in, r.formato, &(this->*(r.campo)));
    for (const Asse& a : ASSI) {
        esito &= LeggiLetterale(in, a.testa);
        for (const RigaAsse& r : RIGHE_ASSE)
            esito &= LeggiValore(in, a.gradi ? r.gradi : r.mm, &((this->*(a.asse)).*(r.campo)));
    }
    esito &= LeggiLetterale(in, "[END]");
    if (versione == 1)
        NomeMacchina = NOME_MACCHINA_VERSIONE_1;
    return esito.Risultato();
}
