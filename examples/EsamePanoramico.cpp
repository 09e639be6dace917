#include "examples/EsamePanoramico.h"

#include <algorithm>
#include <iterator>

namespace {
void Punti(ArrayPunti2D& a, int centro, int n, std::initializer_list<CPunto2DKorvane> destra)
{
    // The points are given for the right half, at offsets from the midline, and mirrored. An offset
    // beyond the arch's end is held at the end: a graph longer than the curve cannot be discretised.
    a.RemoveAll();
    for (auto p = std::rbegin(destra); p != std::rend(destra); ++p)
        if (p->X != 0.0)
            a.Add(CPunto2DKorvane(std::max(centro - p->X, 0.0), p->Y));
    for (const auto& p : destra)
        a.Add(CPunto2DKorvane(std::min(centro + p.X, n - 1.0), p.Y));
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
    // At 1.27 the rotation centre keeps inside the arch along its straight sides (at 1.25 it crosses them).
    t.Ingrandimento = 1.27f;
    t.TempoScansiones = 14.0f;
    t.PosDistAng0 = k;
    // The tuned window spans the whole arch: a narrow sharp layer at the incisors, a wide one, with
    // beams near the normal, along the molars. The last tuning points sit on the curve's ends: points
    // beyond them would lengthen the graphs past the curve, and the steps would be refused.
    const double fine = c.ArrayCurvaDenti.GetSize() - 1 - k;
    t.PosRProjCostDx = static_cast<int>(fine);
    t.PosRProjCostSx = static_cast<int>(fine);
    t.SensibilitaSpline = 2.0f;
    Punti(t.PuntiTuning, k, c.ArrayCurvaDenti.GetSize(), {{0, 30}, {10, 28}, {20, 24}, {30, 40}, {45, 80}, {60, 120}, {80, 120}, {fine, 100}});
    // More tube voltage where the beam crosses the cervical spine.
    t.SensibSplineKV = 3.0f;
    Punti(t.PuntiTuningKV, k, c.ArrayCurvaDenti.GetSize(), {{0, 85}, {25, 85}, {60, 72}, {fine, 70}});
    t.SensibSplineShift = 2.0f;
    Punti(t.PuntiTuningShift, k, c.ArrayCurvaDenti.GetSize(), {{0, 1.0}, {fine, 1.0}});
    return t;
}
