#include "junctions/harmonic/Harmonic3Link.h"
#include "junctions/LibreriaArmonica.h"
#include "junctions/Raccordo.h"
#include "platform/Libreria.h"

namespace {

struct StatoLibreria {
    LibreriaDinamica libreria;
    PFN_Harmonic_3Link_mode profilo = nullptr;
    void* stato = nullptr;
    int preferisciLinkata = 0;
};

StatoLibreria& Stato()
{
    static StatoLibreria s;
    return s;
}

}  // namespace

int CRaccordo::CaricaDLLRaccordiArmoniciDaFile(const CString& nome)
{
    StatoLibreria& s = Stato();
    s.profilo = nullptr;
    s.stato = nullptr;
    s.libreria.Rilascia();
    if (!s.libreria.Carica(nome))
        return 0;
    auto* profilo = reinterpret_cast<PFN_Harmonic_3Link_mode>(s.libreria.Simbolo("Harmonic_3Link_mode"));
    void* stato = s.libreria.Simbolo("LVDLLStatus");
    if (profilo == nullptr || stato == nullptr) {
        s.libreria.Rilascia();
        return 0;
    }
    s.profilo = profilo;
    s.stato = stato;
    return 1;
}

void CRaccordo::CaricaDLLRaccordiArmoniciMorvik()
{
    CaricaDLLRaccordiArmoniciDaFile(L"Harmonic_3Link_mode_stdC.dll");
}

void CRaccordo::DeinizializzaDLLRaccordiArmoniciMorvik()
{
    StatoLibreria& s = Stato();
    s.libreria.Rilascia();
    s.profilo = nullptr;
    s.stato = nullptr;
}

void CRaccordo::SetUsaDLLZTPerCalcoloRaccordi(int usaLinkata)
{
    Stato().preferisciLinkata = usaLinkata;
}

int CRaccordo::GetUsaDLLZTPerCalcoloRaccordi()
{
    return Stato().preferisciLinkata;
}

int CRaccordo::IsDLLMorvikCaricata()
{
    return Stato().libreria.IsCaricata() ? 1 : 0;
}

void ChiamaProfiloArmonico(double* in, double* out)
{
    const StatoLibreria& s = Stato();
    // Chosen afresh at every call, so loading or switching takes effect at once.
    if (s.libreria.IsCaricata() && s.profilo != nullptr && s.preferisciLinkata == 0)
        s.profilo(in, out, 7, 10);
    else
        Harmonic_3Link_mode(in, out, 7, 10);
}
