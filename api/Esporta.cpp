#include <algorithm>
#include <cstring>

#include "api/Korvane.h"
#include "api/StatoApi.h"
#include "core/ImmagineProiezione.h"
#include "core/Integrazione.h"
#include "core/Numerico.h"
#include "resources/Messaggi.h"

namespace {

constexpr int MAX_PASSI_BUFFER = 3000;
static_assert(DIMENSIONE_BUFFER_PASSI == DIMENSIONE_IMMAGINE);

constexpr double PUNTO_TRAIETTORIA::*POSIZIONI[4] = {&PUNTO_TRAIETTORIA::dPosX, &PUNTO_TRAIETTORIA::dPosY,
                                                     &PUNTO_TRAIETTORIA::dPosR, &PUNTO_TRAIETTORIA::dPosH};

PUNTO_TRAIETTORIA PuntoDiPartenza(CPercorso& p)
{
    return p.ArrayOrdineGetSize() > 0 && p.ArrayOrdineGetpSezione(0) != nullptr ? p.ArrayOrdineGetpSezione(0)->PuntoIniziale
                                                                                : PUNTO_TRAIETTORIA();
}

// Whether the header's start and exit positions are the positions themselves in motor steps.
bool PosizioniAdatteAllUnita(CPercorso& p, const PUNTO_TRAIETTORIA& uscita)
{
    const CLimitiEParametri& l = p.GetLimitiEParametri();
    const PARAMETRI_ASSE* assi[4] = {&l.AsseX, &l.AsseY, &l.AsseR, &l.AsseH};
    for (const PUNTO_TRAIETTORIA& punto : {PuntoDiPartenza(p), uscita})
        for (int a = 0; a < 4; ++a)
            if (!UnitaMotoreRappresentabile(punto.*POSIZIONI[a], assi[a]->StepPerUnita))
                return false;
    return true;
}

void RiempiBuffer(unsigned char* buffer, CPercorso& p, int tipoProiezione, const PUNTO_TRAIETTORIA& uscita)
{
    const CLimitiEParametri& l = p.GetLimitiEParametri();
    std::memset(buffer, 0, DIMENSIONE_BUFFER_PASSI);
    INTESTAZIONE_IMMAGINE t;
    t.Version = 21;
    t.Group = 5;
    t.TipoProiezione = tipoProiezione;
    t.ApsRangeMax = 32;
    const PUNTO_TRAIETTORIA inizio = PuntoDiPartenza(p);
    const PARAMETRI_ASSE* assi[4] = {&l.AsseX, &l.AsseY, &l.AsseR, &l.AsseH};
    for (int a = 0; a < 4; ++a) {
        t.Ini[a] = UnitaMotore(inizio.*POSIZIONI[a], assi[a]->StepPerUnita);
        t.Out[a] = UnitaMotore(uscita.*POSIZIONI[a], assi[a]->StepPerUnita);
    }
    ImmagineScriviIntestazione(buffer, t);
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i)
        if (const CSezione* s = p.ArrayOrdineGetpSezione(i))
            s->ScriviSuFileCSV(nullptr, buffer, 0);
    ImmagineScriviCRC(buffer);
}

// Index over the running order of the first step the unit's record cannot hold, or -1.
int PrimoPassoNonAdatto(CPercorso& p)
{
    int k = 0;
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i)
        if (const CSezione* s = p.ArrayOrdineGetpSezione(i))
            for (const PASSO_TRAIETTORIA& passo : s->ArrayPassi) {
                if (!PassoAdattoAllUnita(passo))
                    return k;
                ++k;
            }
    return -1;
}

void RiempiStati(PUNTO_TRAIETTORIA* punti, CPercorso& p)
{
    const CLimitiEParametri& l = p.GetLimitiEParametri();
    punti[0] = p.ArrayOrdineGetpSezione(0) != nullptr ? p.ArrayOrdineGetpSezione(0)->PuntoIniziale : PUNTO_TRAIETTORIA();
    VelocitaParole vx(l.AsseX.StepPerUnita, l.AsseX.StepSPerLSB), vy(l.AsseY.StepPerUnita, l.AsseY.StepSPerLSB);
    VelocitaParole vr(l.AsseR.StepPerUnita, l.AsseR.StepSPerLSB), vh(l.AsseH.StepPerUnita, l.AsseH.StepSPerLSB);
    int k = 1;
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i) {
        const CSezione* s = p.ArrayOrdineGetpSezione(i);
        if (s == nullptr)
            continue;
        for (const PASSO_TRAIETTORIA& passo : s->ArrayPassi) {
            const double v[4] = {vx.DaMemorizzata(passo.iX), vy.DaMemorizzata(passo.iY), vr.DaMemorizzata(passo.iR),
                                 vh.DaMemorizzata(passo.iH)};
            punti[k] = punti[k - 1];
            AvanzaConVelocita(punti[k++], passo, v, l.PassoTemporale);
        }
    }
}

}  // namespace

int EsportaPercorso(CPercorso& p, int tipoProiezione, const PUNTO_TRAIETTORIA& uscita, unsigned char* buffer,
                    PUNTO_TRAIETTORIA* punti, int dimBuffer, int numPunti, CString& errore)
{
    int passi = 0;
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i) {
        const CSezione* s = p.ArrayOrdineGetpSezione(i);
        if (s != nullptr && s->ArrayPassi.IsEmpty()) {
            CaricaMessaggio(errore, 167);
            return 0;
        }
    }
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i) {
        const CSezione* s = p.ArrayOrdineGetpSezione(i);
        if (s != nullptr && s->ErroreCalcolo) {
            CaricaMessaggio(errore, 180);
            return 0;
        }
        passi += s != nullptr ? s->ArrayPassi.GetSize() : 0;
    }
    if (buffer != nullptr) {
        if (dimBuffer < DIMENSIONE_BUFFER_PASSI) {
            CaricaMessaggio(errore, 181);
            return 0;
        }
        // A scan cut short must never reach the unit: a path the buffer cannot hold is refused whole.
        if (passi > MAX_PASSI_BUFFER) {
            CaricaMessaggio(errore, 187);
            return 0;
        }
        // A word the record cannot hold would be cut into another speed: the path is refused whole.
        if (const int i = PrimoPassoNonAdatto(p); i >= 0) {
            CaricaMessaggio(errore, MSG_PASSO_NON_ADATTO_ALL_UNITA, i);
            return 0;
        }
        if (!PosizioniAdatteAllUnita(p, uscita)) {
            CaricaMessaggio(errore, MSG_POSIZIONE_NON_ADATTA_ALL_UNITA);
            return 0;
        }
        RiempiBuffer(buffer, p, tipoProiezione, uscita);
    }
    if (punti != nullptr) {
        if (numPunti < passi + 1) {
            CaricaMessaggio(errore, 182);
            return 0;
        }
        RiempiStati(punti, p);
    }
    return 1;
}

int DLL_KORVANE_GetTraiettoria(unsigned char* buffer, PUNTO_TRAIETTORIA* punti, int dimBuffer, int numPunti)
{
    StatoApi& a = Api();
    return EsportaPercorso(a.percorso, a.tipoProiezione, a.puntoUscita, buffer, punti, dimBuffer, numPunti, a.errore);
}
