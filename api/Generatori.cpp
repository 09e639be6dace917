#include "api/Korvane.h"
#include "api/StatoApi.h"
#include "core/VerificaMacchina.h"
#include "resources/Messaggi.h"

namespace {

// The rest position the scan starts from or ends at: 0.2 degree inside the R range.
PUNTO_TRAIETTORIA PuntoDiRiposo(double r, double h)
{
    PUNTO_TRAIETTORIA p;
    p.dPosX = -40.0;
    p.dPosY = 22.0;
    p.dPosR = r;
    p.dPosH = h;
    return p;
}

bool Riuscito(int& dimBuffer, int& numPunti)
{
    const int passi = ContaPassi();
    if (passi < 0)
        return false;
    dimBuffer = DIMENSIONE_BUFFER_PASSI;
    numPunti = passi + 1;
    return true;
}

}  // namespace

int DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(ParamTrjCB3D parametri, int& dimBuffer, int& numPunti)
{
    StatoApi& a = Api();
    const CLimitiEParametri limiti = a.percorso.GetLimitiEParametri();
    const double rMin = limiti.AsseR.PosMin, rMax = limiti.AsseR.PosMax;
    const double s = (parametri.iOpzioni & 1) ? -1.0 : 1.0;
    // A machine no computation can start from leaves the API path as it was.
    if (!VerificaMacchina(limiti, USO_MOTO, a.errore))
        return 0;
    if (!(rMax - rMin >= 360.0)) {
        CaricaMessaggio(a.errore, 179);
        return 0;
    }
    a.percorso.SvuotaArray();

    CTraiettoria t(limiti);
    t.TipoCurva = CTraiettoria::CURVA_CIRCOLARE;
    t.AmpiezzaArcodeg = s * 360.0;
    t.PosInizArcodeg = (rMax + rMin) / 2.0 - s * 180.0;
    t.TempoScansionesCirc = parametri.fTempoScansione;
    t.RCerchioXYmm = parametri.fRaggioCerchio;
    t.XCentroRotazmm = parametri.fXCentroRotazione;
    t.YCentroRotazmm = parametri.fYCentroRotazione;
    t.KVaRegimeCirc = 100;
    t.mAFrontali = parametri.imAFrontali;
    t.mALaterali = parametri.imALaterali;
    t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_3D);
    if (ErroreDaSezione(t))
        return 0;
    a.percorso.ArrayTraiettorieAdd(&t);
    if (ErroreDaPercorso())
        return 0;

    const PUNTO_TRAIETTORIA partenza = PuntoDiRiposo(s > 0 ? rMin + 0.2 : rMax - 0.2, t.PuntoIniziale.dPosH);
    const PUNTO_TRAIETTORIA arrivo = PuntoDiRiposo(s > 0 ? rMax - 0.2 : rMin + 0.2, t.PuntoFinale.dPosH);
    const bool armonici = parametri.bRaccordiArmonici != 0;
    CRaccordo raccordi[2] = {CRaccordo(limiti), CRaccordo(limiti)};
    for (CRaccordo& r : raccordi) {
        r.TempoRaccordos = 0.0;
        r.UsaTempoMinimo = 1;
        r.MaxAccPercento = parametri.fMaxAccPercento;
        r.GestioneRaggi = 0;
        r.TipoRaccordo = armonici ? CRaccordo::RACCORDO_ARMONICO : CRaccordo::RACCORDO_LINEARE;
    }
    raccordi[0].PuntoIniziale = partenza;
    raccordi[0].PuntoFinale = t.PuntoIniziale;
    raccordi[0].IgnoraPuntoInizia = armonici ? 0 : 1;
    raccordi[1].PuntoIniziale = t.PuntoFinale;
    raccordi[1].PuntoFinale = arrivo;
    raccordi[1].IgnoraPuntoFinale = armonici ? 0 : 1;
    for (CRaccordo& r : raccordi) {
        r.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_3D);
        if (ErroreDaSezione(r))
            return 0;
    }
    for (CRaccordo& r : raccordi) {
        a.percorso.ArrayRaccordiAdd(&r);
        if (ErroreDaPercorso())
            return 0;
    }
    const CElementoOrdine ordine[3] = {{SEZIONE_RACCORDO, 0}, {SEZIONE_TRAIETTORIA, 0}, {SEZIONE_RACCORDO, 1}};
    for (const CElementoOrdine& e : ordine)
        a.percorso.ArrayOrdineAggiungiElemento(&e, -1);
    if (ErroreDaPercorso())
        return 0;
    a.percorso.CorreggiContinuitaSezioni();
    if (ErroreDaPercorso())
        return 0;
    const int passi = ContaPassi();
    if (passi < 0 || !a.percorso.CheckContinuitaSezioni())
        return 0;
    a.tipoProiezione = parametri.iTipoProiezione;
    a.puntoUscita = parametri.puntoUscita;
    return Riuscito(dimBuffer, numPunti) ? 1 : 0;
}

int DLL_KORVANE_GeneraTraiettoriaMovimento(PUNTO_TRAIETTORIA inizio, PUNTO_TRAIETTORIA fine, float tempo, float maxAcc,
                                          int& dimBuffer, int& numPunti)
{
    StatoApi& a = Api();
    const CLimitiEParametri limiti = a.percorso.GetLimitiEParametri();
    if (!VerificaMacchina(limiti, USO_MOTO, a.errore))
        return 0;
    a.percorso.SvuotaArray();
    CRaccordo r(limiti);
    r.PuntoIniziale = inizio;
    r.PuntoFinale = fine;
    r.TempoRaccordos = tempo;
    r.UsaTempoMinimo = tempo == 0.0f ? 1 : 0;
    r.MaxAccPercento = maxAcc;
    r.TipoRaccordo = CRaccordo::RACCORDO_ARMONICO;
    r.GestioneRaggi = 1;
    r.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_3D);
    if (ErroreDaSezione(r))
        return 0;
    a.percorso.ArrayRaccordiAdd(&r);
    if (ErroreDaPercorso())
        return 0;
    const CElementoOrdine e(SEZIONE_RACCORDO, 0);
    a.percorso.ArrayOrdineAggiungiElemento(&e, -1);
    if (ErroreDaPercorso())
        return 0;
    if (!Riuscito(dimBuffer, numPunti))
        return 0;
    a.tipoProiezione = 2;
    a.puntoUscita = PUNTO_TRAIETTORIA();
    return 1;
}
