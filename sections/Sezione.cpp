#include "sections/Sezione.h"

#include "core/Numerico.h"
#include "core/VerificaMacchina.h"

CSezione::CSezione() : ErroreCalcolo(0), IngrandimentoMinimo(1.0), IngrandimentoMassimo(1.0) {}

CSezione::CSezione(const CLimitiEParametri& limiti) : CSezione()
{
    LimitiEParametri = limiti;
}

CSezione::~CSezione() = default;

CSezione::CSezione(const CSezione& altra) : CSezione()
{
    *this = altra;
}

CSezione& CSezione::operator=(const CSezione& altra)
{
    if (this == &altra)
        return *this;
    ArrayPassi.Copy(altra.ArrayPassi);
    LimitiEParametri = altra.LimitiEParametri;
    PuntoFinale = altra.PuntoFinale;
    PuntoIniziale = altra.PuntoIniziale;
    Nome = altra.Nome;
    ErroreCalcolo = altra.ErroreCalcolo;
    IngrandimentoMinimo = altra.IngrandimentoMinimo;
    IngrandimentoMassimo = altra.IngrandimentoMassimo;
    return *this;
}

int CSezione::operator==(const CSezione& altra) const
{
    if (ArrayPassi.GetSize() != altra.ArrayPassi.GetSize())
        return 0;
    for (int i = 0; i < ArrayPassi.GetSize(); ++i)
        if (!(ArrayPassi[i] == altra.ArrayPassi[i]))
            return 0;
    if (!(LimitiEParametri == altra.LimitiEParametri))
        return 0;
    if (Nome != altra.Nome || ErroreCalcolo != altra.ErroreCalcolo)
        return 0;
    if (!(PuntoIniziale == altra.PuntoIniziale) || !(PuntoFinale == altra.PuntoFinale))
        return 0;
    return IngrandimentoMinimo == altra.IngrandimentoMinimo && IngrandimentoMassimo == altra.IngrandimentoMassimo ? 1 : 0;
}

int CSezione::ScriviSuFileCSVShift(FILE*) const
{
    return 1;
}

void CSezione::CalcolaArrayVelocita(TIPO_CONTROLLO_ANTICOLLISIONE) {}

void* CSezione::GetpArrayShift()
{
    return nullptr;
}

const void* CSezione::GetpArrayShiftConst() const
{
    return nullptr;
}

CString CSezione::GetErrorString()
{
    CString testo;
    testo.swap(StringaErrore);
    return testo;
}

void CSezione::CancellaTutto()
{
    ArrayPassi.RemoveAll();
    PuntoIniziale = PUNTO_TRAIETTORIA();
    PuntoFinale = PUNTO_TRAIETTORIA();
}

double CSezione::CalcolaLunghezzaPx() const
{
    // Without a usable time step, C step constants and pixel size there is no length: 0, and
    // VerificaMacchina names the value for callers that report it.
    CString ignorato;
    if (!VerificaMacchina(LimitiEParametri, USO_LUNGHEZZA_PX, ignorato))
        return 0.0;
    const PARAMETRI_ASSE& c = LimitiEParametri.AsseC;
    double somma = 0.0;
    for (const PASSO_TRAIETTORIA& passo : ArrayPassi)
        somma += VelocitaDaMemorizzata(passo.iC, c.StepPerUnita, c.StepSPerLSB) * LimitiEParametri.PassoTemporale;
    return somma / LimitiEParametri.DimPixelPano;
}

int CSezione::IsHInUso() const
{
    if (ArrayPassi.IsEmpty())
        return 1;
    for (const PASSO_TRAIETTORIA& passo : ArrayPassi)
        if (passo.iH != 0)
            return 1;
    return 0;
}
