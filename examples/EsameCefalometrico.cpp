#include "examples/EsameCefalometrico.h"

CTraiettoria EsameCefalometrico(const CLimitiEParametri& macchina)
{
    CTraiettoria t(macchina);
    t.TempoScansionesCef = 5.0f;
    t.DistanzaSIDmm = 1514.0f;
    // The example unit's H travel is 0 to 250 mm, so the sweep stays on its positive side.
    t.SpostamentoMenomm = 10.0f;
    t.SpostamentoPiumm = 200.0f;
    t.KVaRegimeCef = 100;
    t.BraccioDestro = 1;
    t.CreaRampaSTF = 1;
    t.IsIngrCostante = 1;
    t.Is2Assi = 0;
    return t;
}
