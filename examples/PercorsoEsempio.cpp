#include "examples/PercorsoEsempio.h"

void CostruisciCB3D(CPercorso& p, const CLimitiEParametri& m)
{
    CString err;
    CSezione::UsaTestonaDiDefault(err);
    p.SetLimitiEParametri(&m, 1);
    CTraiettoria t(m);
    t.TipoCurva = CTraiettoria::CURVA_CIRCOLARE;
    t.AmpiezzaArcodeg = 360.0;
    t.PosInizArcodeg = (m.AsseR.PosMax + m.AsseR.PosMin) / 2.0 - 180.0;
    t.TempoScansionesCirc = 20.0;
    t.RCerchioXYmm = 0.0;
    t.KVaRegimeCirc = 100;
    t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_3D);
    p.ArrayTraiettorieAdd(&t);
    for (int i = 0; i < 2; ++i) {
        CRaccordo r(m);
        PUNTO_TRAIETTORIA riposo;
        riposo.dPosX = -40.0;
        riposo.dPosY = 22.0;
        riposo.dPosR = i == 0 ? m.AsseR.PosMin + 0.2 : m.AsseR.PosMax - 0.2;
        riposo.dPosH = i == 0 ? t.PuntoIniziale.dPosH : t.PuntoFinale.dPosH;
        r.PuntoIniziale = i == 0 ? riposo : t.PuntoFinale;
        r.PuntoFinale = i == 0 ? t.PuntoIniziale : riposo;
        r.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_3D);
        p.ArrayRaccordiAdd(&r);
    }
    for (const CElementoOrdine& e : {CElementoOrdine(SEZIONE_RACCORDO, 0), CElementoOrdine(SEZIONE_TRAIETTORIA, 0),
                                     CElementoOrdine(SEZIONE_RACCORDO, 1)})
        p.ArrayOrdineAggiungiElemento(&e, -1);
    p.CorreggiContinuitaSezioni();
}

CString PercorsoDiEsame(CPercorso& p, const CLimitiEParametri& m, const CTraiettoria& t)
{
    p.SvuotaArray();
    p.SetLimitiEParametri(&m, 1);
    p.ArrayTraiettorieAdd(&t);
    const CElementoOrdine e(SEZIONE_TRAIETTORIA, 0);
    p.ArrayOrdineAggiungiElemento(&e, -1);
    if (p.CreaAccDecOldStyle()) {
        // A linear ramp's free end keeps the speed its last word could not command, so it is not quite
        // at rest: the ends it reached become fixed rest points of harmonic junctions.
        const int ultimo = p.ArrayRaccordiGetSize() - 1;
        for (int i : {0, ultimo}) {
            CRaccordo r = *p.ArrayRaccordiGetRaccordo(i);
            PUNTO_TRAIETTORIA& riposo = i == 0 ? r.PuntoIniziale : r.PuntoFinale;
            riposo.dVelX = riposo.dVelY = riposo.dVelR = riposo.dVelH = 0.0;
            r.IgnoraPuntoInizia = r.IgnoraPuntoFinale = 0;
            r.TipoRaccordo = CRaccordo::RACCORDO_ARMONICO;
            r.CalcolaArrayVelocita(p.GetTipoControlloAnticollisioneConsigliato());
            p.ArrayRaccordiSetAt(i, &r);
        }
        p.CorreggiContinuitaSezioni();
        p.CheckContinuitaSezioni();
    }
    return p.GetErrorString();
}
