#include "path/Percorso.h"
#include "resources/Messaggi.h"

void CPercorso::RicalcolaElemento(int i)
{
    CSezione* s = Sezione(i);
    if (s == nullptr)
        return;
    s->CalcolaArrayVelocita(GetTipoControlloAnticollisioneConsigliato());
    if (m_errore.empty())
        m_errore = s->GetErrorString();
}

int CPercorso::CheckContinuitaSezioni()
{
    for (int i = 1; i < m_ordine.GetSize(); ++i) {
        const CSezione* prima = Sezione(i - 1);
        const CSezione* dopo = Sezione(i);
        if (prima == nullptr || dopo == nullptr || !(prima->PuntoFinale == dopo->PuntoIniziale) ||
            prima->ArrayPassi.IsEmpty())
            return 0;
    }
    return 1;
}

void CPercorso::CorreggiContinuitaSezioni()
{
    const int n = m_ordine.GetSize();
    if (n == 0) {
        CaricaMessaggio(m_errore, 156);
        return;
    }
    if (IsRaccordo(0) && IsRaccordo(n - 1)) {
        // The movement starts and ends at rest; H keeps its speed and every axis its position.
        auto ferma = [](PUNTO_TRAIETTORIA& p) {
            p.dVelX = p.dVelY = p.dVelR = 0.0;
            p.iKV = p.imA = 0;
        };
        if (CSezione* s = Sezione(0))
            ferma(s->PuntoIniziale);
        if (CSezione* s = Sezione(n - 1))
            ferma(s->PuntoFinale);
    } else {
        CaricaMessaggio(m_errore, 157);
    }
    for (int i = 1; i < n; ++i) {
        CSezione* prima = Sezione(i - 1);
        CSezione* dopo = Sezione(i);
        if (prima == nullptr || dopo == nullptr)
            continue;
        if ((!IsRaccordo(i - 1) && prima->ArrayPassi.IsEmpty()) || (!IsRaccordo(i) && dopo->ArrayPassi.IsEmpty()))
            continue;
        if (!(prima->PuntoFinale == dopo->PuntoIniziale)) {
            if (IsRaccordo(i - 1)) {
                auto* r = static_cast<CRaccordo*>(prima);
                if (!r->IgnoraPuntoFinale) {
                    r->PuntoFinale = dopo->PuntoIniziale;
                    RicalcolaElemento(i - 1);
                } else {
                    CaricaMessaggio(m_errore, 158);
                }
            } else if (IsRaccordo(i)) {
                auto* r = static_cast<CRaccordo*>(dopo);
                if (!r->IgnoraPuntoInizia)
                    r->PuntoIniziale = prima->PuntoFinale;
                else
                    CaricaMessaggio(m_errore, 159);
            } else {
                CaricaMessaggio(m_errore, 160);
            }
        } else if (IsRaccordo(i - 1)) {
            RicalcolaElemento(i - 1);
        }
    }
    if (Sezione(n - 1) != nullptr && IsRaccordo(n - 1))
        RicalcolaElemento(n - 1);
}

int CPercorso::CorreggiContinuitaRaccordiAdiacenti(int indice, ArrayRaccordi* raccordi)
{
    if (raccordi == nullptr || indice < 0 || indice >= raccordi->GetSize())
        return 1;
    int k = -1;
    for (int i = 0; i < m_ordine.GetSize(); ++i)
        if (m_ordine[i].tipo == SEZIONE_RACCORDO && m_ordine[i].posizione == indice) {
            k = i;
            break;
        }
    // A junction that is not in the order has no neighbours to move.
    if (k < 0)
        return 1;
    const CRaccordo& J = (*raccordi)[indice];
    int risultato = 1;
    auto vicino = [&](int i) -> CRaccordo* {
        if (i < 0 || i >= m_ordine.GetSize() || !IsRaccordo(i))
            return nullptr;
        const int p = m_ordine[i].posizione;
        return p >= 0 && p < raccordi->GetSize() ? &(*raccordi)[p] : nullptr;
    };
    if (CRaccordo* P = vicino(k - 1); P != nullptr && !(P->PuntoFinale == J.PuntoIniziale)) {
        if (P->IgnoraPuntoFinale) {
            CaricaMessaggio(m_errore, 158);
            risultato = 0;
        } else {
            P->PuntoFinale = J.PuntoIniziale;
            P->CalcolaArrayVelocita(GetTipoControlloAnticollisioneConsigliato());
        }
    }
    if (CRaccordo* N = vicino(k + 1); N != nullptr && !(N->PuntoIniziale == J.PuntoFinale)) {
        if (N->IgnoraPuntoInizia) {
            CaricaMessaggio(m_errore, 159);
            risultato = 0;
        } else {
            N->PuntoIniziale = J.PuntoFinale;
            N->CalcolaArrayVelocita(GetTipoControlloAnticollisioneConsigliato());
        }
    }
    return risultato;
}

int CPercorso::CreaAccDecOldStyle()
{
    if (!m_raccordi.IsEmpty())
        return 0;
    CRaccordo base(m_limiti);
    if (m_ordine.IsEmpty()) {
        base.Nome = TestoMessaggio(170);
        m_raccordi.Add(base);
        m_ordine.RemoveAll();
        m_ordine.Add(CElementoOrdine(SEZIONE_RACCORDO, 0));
        return 1;
    }
    for (const CElementoOrdine& e : m_ordine)
        if (e.tipo == SEZIONE_RACCORDO) {
            CaricaMessaggio(m_errore, 142);
            return 0;
        }
    for (int i = 0; i < m_ordine.GetSize(); ++i) {
        const CSezione* s = Sezione(i);
        if (s != nullptr && s->ArrayPassi.IsEmpty()) {
            CaricaMessaggio(m_errore, 143);
            return 0;
        }
    }
    const int n = m_ordine.GetSize();
    const PUNTO_TRAIETTORIA zero;
    auto inizio = [&](int i) { const CSezione* s = Sezione(i); return s ? s->PuntoIniziale : zero; };
    auto fine = [&](int i) { const CSezione* s = Sezione(i); return s ? s->PuntoFinale : zero; };
    auto raccordo = [&](const CString& nome, int tipo, int ignoraInizio, int ignoraFine, const PUNTO_TRAIETTORIA& da,
                        const PUNTO_TRAIETTORIA& a) {
        CRaccordo r = base;
        r.Nome = nome;
        r.TipoRaccordo = tipo;
        r.IgnoraPuntoInizia = ignoraInizio;
        r.IgnoraPuntoFinale = ignoraFine;
        r.PuntoIniziale = da;
        r.PuntoFinale = a;
        m_raccordi.Add(r);
    };
    raccordo(TestoMessaggio(171), CRaccordo::RACCORDO_LINEARE, 1, 0, zero, inizio(0));
    for (int j = 1; j < n; ++j) {
        CString nome;
        CaricaMessaggio(nome, 172, j);
        raccordo(nome, CRaccordo::RACCORDO_ARMONICO, 0, 0, fine(j - 1), inizio(j));
    }
    raccordo(TestoMessaggio(173), CRaccordo::RACCORDO_LINEARE, 0, 1, fine(n - 1), zero);
    m_ordine.InsertAt(0, CElementoOrdine(SEZIONE_RACCORDO, 0));
    for (int j = 1; j < n; ++j)
        m_ordine.InsertAt(2 * j, CElementoOrdine(SEZIONE_RACCORDO, j));
    m_ordine.Add(CElementoOrdine(SEZIONE_RACCORDO, n));
    const CSezione::TIPO_CONTROLLO_ANTICOLLISIONE modo = GetTipoControlloAnticollisioneConsigliato();
    for (CRaccordo& r : m_raccordi) {
        r.CalcolaArrayVelocita(modo);
        if (m_errore.empty())
            m_errore = r.GetErrorString();
    }
    return 1;
}
