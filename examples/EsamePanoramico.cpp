#include "examples/EsamePanoramico.h"

#include <algorithm>
#include <iterator>

namespace {
void Punti(ArrayPunti2D& a, int centro, std::initializer_list<CPunto2DKorvane> destra)
{
    // The points are given for the right half, at offsets from the midline, and mirrored.
    a.RemoveAll();
    for (auto p = std::rbegin(destra); p != std::rend(destra); ++p)
        if (p->X != 0.0)
            a.Add(CPunto2DKorvane(centro - p->X, p->Y));
    for (const auto& p : destra)
        a.Add(CPunto2DKorvane(centro + p.X, p.Y));
}
}  // namespace

CTraiettoria EsamePanoramicoAdulto(const CLimitiEParametri& macchina)
{
    CTraiettoria t(macchina);
    CCurvaDenti& c = t.CurvaDenti;
    c.ResetToWelander();
    c.XFineDentimm = 25.0f;
    c.RRaccordo1mm = 20.0f;
    c.PendenzaRettadeg = -60.0f;
    c.RRaccordo2mm = 20.0f;
    c.XFinaleSxmm = -52.0f;
    c.XFinaleDxmm = 52.0f;
    c.PassoPuntimm = 1.0f;
    c.CalcolaCurva(t.StringaErrore);
    int k = 0;
    for (int i = 0; i < c.ArrayCurvaDenti.GetSize(); ++i)
        if (c.ArrayCurvaDenti[i].X == 0.0)
            k = i;

    t.TipoCurva = CTraiettoria::CURVA_PANORAMICA;
    t.TipoRicostruzione = 2;
    t.TraietSimmetrica = 1;
    t.Is2Assi = 0;
    t.Ingrandimento = 1.25f;
    t.TempoScansiones = 14.0f;
    t.PosDistAng0 = k;
    // The tuned window spans the whole arch: a narrow sharp layer at the incisors, a wide one, with
    // beams near the normal, along the molars.
    t.PosRProjCostDx = 120;
    t.PosRProjCostSx = 120;
    t.SensibilitaSpline = 2.0f;
    // The outermost tuning points sit on the arch's ends: a graph reaching past them would be longer
    // than the arch, and the discretiser takes only graphs as long as the arch.
    const double b = std::min(k, c.ArrayCurvaDenti.GetSize() - 1 - k);
    Punti(t.PuntiTuning, k, {{0, 30}, {10, 28}, {20, 24}, {30, 40}, {45, 80}, {60, 120}, {80, 120}, {b, 100}});
    // More tube voltage where the beam crosses the cervical spine.
    t.SensibSplineKV = 3.0f;
    Punti(t.PuntiTuningKV, k, {{0, 85}, {25, 85}, {60, 72}, {b, 70}});
    t.SensibSplineShift = 2.0f;
    Punti(t.PuntiTuningShift, k, {{0, 1.0}, {b, 1.0}});
    return t;
}
