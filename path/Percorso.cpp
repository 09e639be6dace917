#include "path/Percorso.h"

#include "path/Conversione.h"
#include "resources/Messaggi.h"

CPercorso::CPercorso() : m_nomeDLLbuildprj(NOME_DLL_BUILD_PRJ) {}

CPercorso::~CPercorso()
{
    m_convertiProiezioni = nullptr;
    m_libreriaProiezioni.Rilascia();
}

CString CPercorso::GetErrorString()
{
    CString t;
    t.swap(m_errore);
    return t;
}

void CPercorso::SetLimitiEParametri(const CLimitiEParametri* limiti, int ancheMacchinaPredefinita)
{
    if (limiti == nullptr)
        return;
    m_limiti = *limiti;
    const CSezione::TIPO_CONTROLLO_ANTICOLLISIONE modo = GetTipoControlloAnticollisioneConsigliato();
    for (CTraiettoria& t : m_traiettorie) {
        t.LimitiEParametri = m_limiti;
        t.CalcolaArrayVelocita(modo);
    }
    for (CRaccordo& r : m_raccordi) {
        r.LimitiEParametri = m_limiti;
        r.CalcolaArrayVelocita(modo);
    }
    if (ancheMacchinaPredefinita)
        m_macchinaPredefinita = *limiti;
}

const CLimitiEParametri& CPercorso::GetLimitiEParametri()
{
    return m_limiti;
}

void CPercorso::SetParametriFileDat(const CParametriFileDat* parametri)
{
    if (parametri != nullptr)
        m_parametriDat = *parametri;
}

CParametriFileDat& CPercorso::GetParametriFileDat()
{
    return m_parametriDat;
}

int CPercorso::IsDLLbuildprjCaricata()
{
    return m_libreriaProiezioni.IsCaricata() ? 1 : 0;
}

CSezione* CPercorso::Sezione(int i)
{
    if (m_ordine.IsEmpty())
        return nullptr;
    const CElementoOrdine& e = m_ordine[i];
    if (e.tipo == SEZIONE_TRAIETTORIA && e.posizione >= 0 && e.posizione < m_traiettorie.GetSize())
        return &m_traiettorie[e.posizione];
    if (e.tipo == SEZIONE_RACCORDO && e.posizione >= 0 && e.posizione < m_raccordi.GetSize())
        return &m_raccordi[e.posizione];
    return nullptr;
}

bool CPercorso::IsRaccordo(int i) const
{
    return m_ordine[i].tipo == SEZIONE_RACCORDO;
}

CSezione::TIPO_CONTROLLO_ANTICOLLISIONE CPercorso::GetTipoControlloAnticollisioneConsigliato()
{
    bool circolare = false;
    for (int i = 0; i < m_ordine.GetSize(); ++i) {
        if (m_ordine[i].tipo != SEZIONE_TRAIETTORIA)
            continue;
        const auto* t = static_cast<const CTraiettoria*>(Sezione(i));
        if (t == nullptr)
            continue;
        if (t->TipoCurva == CTraiettoria::CURVA_CEFALOMETRICA)
            return CSezione::ANTICOLLISIONE_NESSUNA;
        circolare = circolare || t->TipoCurva == CTraiettoria::CURVA_CIRCOLARE;
    }
    return circolare ? CSezione::ANTICOLLISIONE_3D : CSezione::ANTICOLLISIONE_PAN;
}

int CPercorso::IsSTFApplicato()
{
    bool qualcuna = false;
    for (int i = 0; i < m_ordine.GetSize(); ++i) {
        if (m_ordine[i].tipo != SEZIONE_TRAIETTORIA)
            continue;
        const auto* t = static_cast<const CTraiettoria*>(Sezione(i));
        if (t == nullptr || t->TipoCurva != CTraiettoria::CURVA_CEFALOMETRICA || !t->CreaRampaSTF)
            return 0;
        qualcuna = true;
    }
    return qualcuna ? 1 : 0;
}

int CPercorso::ArrayOrdineAggiungiElemento(const CElementoOrdine* e, int pos)
{
    for (const CElementoOrdine& x : m_ordine)
        if (x == *e)
            return 1;
    if (pos == -1) {
        m_ordine.Add(*e);
        return 1;
    }
    if (pos >= 0 && pos < m_ordine.GetSize()) {
        m_ordine.InsertAt(pos, *e);
        return 1;
    }
    return 0;
}

int CPercorso::ArrayOrdineEliminaElementoERiordina(const CElementoOrdine* e)
{
    for (int i = 0; i < m_ordine.GetSize();) {
        CElementoOrdine& x = m_ordine[i];
        if (x.tipo == e->tipo && x.posizione == e->posizione) {
            m_ordine.RemoveAt(i);
            continue;
        }
        if (x.tipo == e->tipo && x.posizione > e->posizione)
            --x.posizione;
        ++i;
    }
    return 1;
}

const CSezione* CPercorso::ArrayOrdineGetpSezione(int i)
{
    if (i < 0 || i >= m_ordine.GetSize())
        return nullptr;
    return Sezione(i);
}

int CPercorso::ArrayOrdineGetSize()
{
    return m_ordine.GetSize();
}

TIPO_SEZIONE CPercorso::ArrayOrdineGetTipoSezione(int i)
{
    return m_ordine[i].tipo;
}

int CPercorso::ArrayOrdineGetPosSezione(int i)
{
    return m_ordine[i].posizione;
}

const ArrayOrdine* CPercorso::GetpArrayOrdine()
{
    return &m_ordine;
}

void CPercorso::ArrayOrdineCopy(const ArrayOrdine* ordine)
{
    if (ordine != nullptr)
        m_ordine.Copy(*ordine);
}

int CPercorso::ArrayOrdineIsHInUso()
{
    for (int i = m_ordine.GetSize() - 1; i >= 0; --i) {
        const CSezione* s = Sezione(i);
        if (s != nullptr && s->IsHInUso())
            return 1;
    }
    return 0;
}

int CPercorso::ArrayRaccordiGetSize()
{
    return m_raccordi.GetSize();
}

const CRaccordo* CPercorso::ArrayRaccordiGetRaccordo(int i)
{
    return &m_raccordi[i];
}

void CPercorso::ArrayRaccordiAdd(const CRaccordo* r)
{
    if (r != nullptr)
        m_raccordi.Add(*r);
}

void CPercorso::ArrayRaccordiSetAt(int i, const CRaccordo* r)
{
    if (r != nullptr)
        m_raccordi.SetAt(i, *r);
}

void CPercorso::ArrayRaccordiRemoveAt(int i)
{
    m_raccordi.RemoveAt(i);
}

int CPercorso::ArrayRaccordiIsDiverso(const ArrayRaccordi* altri)
{
    if (altri == nullptr || altri->GetSize() != m_raccordi.GetSize())
        return 1;
    for (int i = 0; i < m_raccordi.GetSize(); ++i)
        if (!(m_raccordi[i] == (*altri)[i]))
            return 1;
    return 0;
}

void CPercorso::ArrayRaccordiCopiaInArray(ArrayRaccordi* destinazione) const
{
    if (destinazione == nullptr)
        return;
    destinazione->RemoveAll();
    for (const CRaccordo& r : m_raccordi)
        destinazione->Add(r);
}

int CPercorso::ArrayTraiettorieGetSize()
{
    return m_traiettorie.GetSize();
}

const CTraiettoria* CPercorso::ArrayTraiettorieGetTraiettoria(int i)
{
    return i >= 0 && i < m_traiettorie.GetSize() ? &m_traiettorie[i] : nullptr;
}

void CPercorso::ArrayTraiettorieAdd(const CTraiettoria* t)
{
    if (t != nullptr)
        m_traiettorie.Add(CTraiettoria(t));
}

void CPercorso::CopiaTraiettoria(int i, const CTraiettoria* t)
{
    if (t != nullptr)
        m_traiettorie.SetAt(i, *t);
}

void CPercorso::ArrayTraiettorieRemoveAt(int i)
{
    m_traiettorie.RemoveAt(i);
}

void CPercorso::ArrayTraiettorieSetScout(int i, int scout)
{
    if (i >= 0 && i < m_traiettorie.GetSize())
        m_traiettorie[i].IsScout = scout;
}

void CPercorso::ArrayTraiettorieCalcolaVelocita(int i)
{
    if (i < 0 || i >= m_traiettorie.GetSize())
        return;
    CTraiettoria& t = m_traiettorie[i];
    const CSezione::TIPO_CONTROLLO_ANTICOLLISIONE modo = t.TipoCurva == CTraiettoria::CURVA_CEFALOMETRICA
                                                             ? CSezione::ANTICOLLISIONE_NESSUNA
                                                         : t.TipoCurva == CTraiettoria::CURVA_CIRCOLARE
                                                             ? CSezione::ANTICOLLISIONE_3D
                                                             : CSezione::ANTICOLLISIONE_PAN;
    t.CalcolaArrayVelocita(modo);
    if (m_errore.empty())
        m_errore = t.GetErrorString();
    CorreggiContinuitaSezioni();
}

void CPercorso::SvuotaArray()
{
    m_ordine.RemoveAll();
    m_traiettorie.RemoveAll();
    m_raccordi.RemoveAll();
}
