#include <gtest/gtest.h>

#include "path/Percorso.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "support/RiassuntoPercorso.h"

namespace {

CElementoOrdine T(int i) { return CElementoOrdine(SEZIONE_TRAIETTORIA, i); }
CElementoOrdine J(int i) { return CElementoOrdine(SEZIONE_RACCORDO, i); }

void Ordina(CPercorso& p, std::initializer_list<CElementoOrdine> voci)
{
    for (const CElementoOrdine& e : voci)
        ASSERT_EQ(p.ArrayOrdineAggiungiElemento(&e, -1), 1);
}

// A computed circular trajectory of the example machine.
CTraiettoria Circolare(double phi0)
{
    EXPECT_TRUE(TestaDiDefaultPronta());
    CTraiettoria t(MacchinaEsempio());
    t.AmpiezzaArcodeg = 90;
    t.PosInizArcodeg = phi0;
    t.RCerchioXYmm = 0;
    t.CalcolaTraiettoriaCircolare(nullptr);
    t.GetErrorString();
    return t;
}

}  // namespace

TEST(Percorso, OrdineAggiungiTogliRinumera)
{
    CPercorso p;
    const CElementoOrdine j2 = J(2), t0 = T(0);
    EXPECT_EQ(p.ArrayOrdineAggiungiElemento(&j2, -1), 1);
    EXPECT_EQ(p.ArrayOrdineAggiungiElemento(&j2, -1), 1);  // already there: kept once
    EXPECT_EQ(p.ArrayOrdineAggiungiElemento(&t0, 1), 0);   // past the end
    EXPECT_EQ(p.ArrayOrdineAggiungiElemento(&t0, 0), 1);
    EXPECT_EQ(Riassunto(p), "00 12 J0 L0 O2");

    CPercorso q;
    Ordina(q, {T(0), J(0), T(1), J(1), T(2)});
    const CElementoOrdine t1 = T(1);
    EXPECT_EQ(q.ArrayOrdineEliminaElementoERiordina(&t1), 1);
    EXPECT_EQ(Riassunto(q), "00 10 11 01 J0 L0 O2");
    EXPECT_EQ(q.ArrayTraiettorieGetTraiettoria(-1), nullptr);
}

TEST(Percorso, ModoConsigliatoSTFEH)
{
    CPercorso p;
    EXPECT_EQ(p.GetTipoControlloAnticollisioneConsigliato(), CSezione::ANTICOLLISIONE_PAN);
    CTraiettoria pan(MacchinaEsempio()), circ(MacchinaEsempio()), ceph(MacchinaEsempio());
    pan.TipoCurva = 2;
    circ.TipoCurva = 3;
    ceph.TipoCurva = 6;
    ceph.CreaRampaSTF = 1;
    for (const CTraiettoria* t : {&pan, &circ, &ceph})
        p.ArrayTraiettorieAdd(t);
    Ordina(p, {T(0), T(1), T(7)});  // T(7) names no trajectory and counts for nothing
    EXPECT_EQ(p.GetTipoControlloAnticollisioneConsigliato(), CSezione::ANTICOLLISIONE_3D);
    EXPECT_EQ(p.IsSTFApplicato(), 0);
    Ordina(p, {T(2)});
    EXPECT_EQ(p.GetTipoControlloAnticollisioneConsigliato(), CSezione::ANTICOLLISIONE_NESSUNA);
    EXPECT_EQ(p.ArrayOrdineIsHInUso(), 1);  // sections without steps count as using H

    CPercorso soloCeph;
    soloCeph.ArrayTraiettorieAdd(&ceph);
    Ordina(soloCeph, {T(0)});
    EXPECT_EQ(soloCeph.IsSTFApplicato(), 1);
    CPercorso soloRaccordi;
    CRaccordo r(MacchinaEsempio());
    soloRaccordi.ArrayRaccordiAdd(&r);
    Ordina(soloRaccordi, {J(0)});
    EXPECT_EQ(soloRaccordi.IsSTFApplicato(), 0);
}

TEST(Continuita, CorrezioniEMessaggi)
{
    // [J0, T0, J1]: the junctions move onto the trajectory and are recomputed.
    CPercorso p;
    const CLimitiEParametri m = MacchinaEsempio();
    p.SetLimitiEParametri(&m, 1);
    const CTraiettoria t = Circolare(-150);
    p.ArrayTraiettorieAdd(&t);
    CRaccordo j(MacchinaEsempio());
    j.PuntoIniziale = PuntoProva(-40, 22, -170);
    p.ArrayRaccordiAdd(&j);
    CRaccordo k(MacchinaEsempio());
    k.PuntoFinale = j.PuntoIniziale;
    k.PuntoFinale.dPosR = -30;
    p.ArrayRaccordiAdd(&k);
    Ordina(p, {J(0), T(0), J(1)});
    EXPECT_EQ(p.CheckContinuitaSezioni(), 0);
    p.CorreggiContinuitaSezioni();
    EXPECT_EQ(p.GetErrorString(), L"");
    EXPECT_EQ(p.CheckContinuitaSezioni(), 1);
    EXPECT_TRUE(p.ArrayRaccordiGetRaccordo(0)->PuntoFinale == t.PuntoIniziale);
    EXPECT_FALSE(p.ArrayRaccordiGetRaccordo(1)->ArrayPassi.IsEmpty());

    CRaccordo bloccato = j;
    bloccato.IgnoraPuntoFinale = 1;
    p.ArrayRaccordiSetAt(0, &bloccato);
    p.CorreggiContinuitaSezioni();
    EXPECT_EQ(p.GetErrorString(), TestoMessaggio(158));

    CPercorso dueTraiettorie;
    const CTraiettoria u = Circolare(0);
    dueTraiettorie.ArrayTraiettorieAdd(&t);
    dueTraiettorie.ArrayTraiettorieAdd(&u);
    Ordina(dueTraiettorie, {T(0), T(1)});
    dueTraiettorie.CorreggiContinuitaSezioni();
    EXPECT_EQ(dueTraiettorie.GetErrorString(), TestoMessaggio(157));
    CPercorso vuoto;
    vuoto.CorreggiContinuitaSezioni();
    EXPECT_EQ(vuoto.GetErrorString(), TestoMessaggio(156));
}

TEST(Continuita, RaccordiAutomatici)
{
    CPercorso p;
    const CLimitiEParametri m = MacchinaEsempio();
    p.SetLimitiEParametri(&m, 1);
    for (double phi : {-150.0, -20.0, 100.0}) {
        const CTraiettoria t = Circolare(phi);
        p.ArrayTraiettorieAdd(&t);
    }
    Ordina(p, {T(0), T(1), T(2)});
    ASSERT_EQ(p.CreaAccDecOldStyle(), 1);
    std::string nomi;
    for (int i = 0; i < p.ArrayRaccordiGetSize(); ++i) {
        const CRaccordo& r = *p.ArrayRaccordiGetRaccordo(i);
        nomi += StringaAUtf8(r.Nome) + std::to_string(r.TipoRaccordo) + " ";
    }
    EXPECT_EQ(nomi, "Acceleration0 Junction 11 Junction 21 Deceleration0 ");
    EXPECT_EQ(Riassunto(p), "10 00 11 01 12 02 13 3: 3: 3: J4 L0 O2");
    EXPECT_EQ(p.CheckContinuitaSezioni(), 1);
    p.GetErrorString();
    EXPECT_EQ(p.CreaAccDecOldStyle(), 0);
    EXPECT_TRUE(p.GetErrorString().empty());
    CPercorso vuoto;
    ASSERT_EQ(vuoto.CreaAccDecOldStyle(), 1);
    EXPECT_EQ(vuoto.ArrayRaccordiGetRaccordo(0)->Nome, L"New junction");
}
