#include "examples/EsameLineare.h"

CTraiettoria EsameLineare(const CLimitiEParametri& macchina)
{
    CTraiettoria t(macchina);
    t.Is2Assi = 0;
    t.TempoScansionesLin = 3.2f;
    t.XCentroRettamm = 48.0f;
    t.YCentroRettamm = -36.0f;
    t.LunghezzaRettamm = 50.0f;
    t.InclRettadeg = 17.0f;
    t.RProiezionemm = 60.0f;
    // On the example unit this puts the rotation centre 16.3 mm beyond each imaged point, seen from
    // the tube: the arm turns from -50 to -96 degrees and keeps tube and sensor clear of the head.
    t.IngrandimentoLin = 1.5f;
    t.Disortogonalitdeg = 0.0f;
    t.KVaRegimeLin = 100;
    t.InvSensore = 1;
    t.InvRotazione = 0;
    t.InvScaricamentoLin = 0;
    return t;
}
