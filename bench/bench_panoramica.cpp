#include <benchmark/benchmark.h>

#include "examples/EsamePanoramico.h"
#include "examples/MacchinaEsempio.h"
#include "trajectories/GraficoTuning.h"

namespace {

void BM_GraficoTuning250(benchmark::State& stato)
{
    // A tuning point every 10 indices along a 250-point curve.
    ArrayPunti2D punti;
    for (int x = 0; x < 250; x += 10)
        punti.Add(CPunto2DKorvane(x, 40.0 + 20.0 * ((x / 10) % 3)));
    // A new sensitivity at every iteration moves every handle: each graph is walked afresh, never
    // taken from the segments remembered for a drag.
    int k = 0;
    for (auto _ : stato) {
        k = (k + 1) % 997;
        benchmark::DoNotOptimize(CalcolaGraficoDaPuntiTuning(&punti, 250, 2.0f + 0.001f * static_cast<float>(k), 0).GetData());
    }
}
BENCHMARK(BM_GraficoTuning250)->Unit(benchmark::kMicrosecond);

void BM_GeometriaPanoramicaCurvaPredefinita(benchmark::State& stato)
{
    // The default arch at a 1 mm chord (325 points), the example exam's tuning moved onto its midline.
    CTraiettoria t = EsamePanoramicoAdulto(MacchinaEsempio());
    const int k0 = t.PosDistAng0;
    CCurvaDenti predefinita(MacchinaEsempio());
    CString err;
    predefinita.CalcolaCurva(err);
    t.CurvaDenti = predefinita;
    for (int i = 0; i < predefinita.ArrayCurvaDenti.GetSize(); ++i)
        t.PosDistAng0 = predefinita.ArrayCurvaDenti[i].X == 0.0 ? i : t.PosDistAng0;
    for (ArrayPunti2D* a : {&t.PuntiTuning, &t.PuntiTuningKV, &t.PuntiTuningShift})
        for (int i = 0; i < a->GetSize(); ++i)
            (*a)[i].X += t.PosDistAng0 - k0;
    for (auto _ : stato) {
        if (!t.CalcolaTraiettoriaPanoramica())
            stato.SkipWithError("the geometry did not compute");
        benchmark::DoNotOptimize(t.PosCMR.GetData());
    }
}
BENCHMARK(BM_GeometriaPanoramicaCurvaPredefinita)->Unit(benchmark::kMicrosecond);

void BM_EsamePanoramicoCurvaEGeometria(benchmark::State& stato)
{
    CTraiettoria t = EsamePanoramicoAdulto(MacchinaEsempio());
    for (auto _ : stato) {
        CString err;
        t.CurvaDenti.CalcolaCurva(err);
        if (!t.CalcolaTraiettoriaPanoramica())
            stato.SkipWithError("the geometry did not compute");
        benchmark::DoNotOptimize(t.PosCMR.GetData());
    }
}
BENCHMARK(BM_EsamePanoramicoCurvaEGeometria)->Unit(benchmark::kMicrosecond);

void BM_EsamePanoramicoRicalcolo(benchmark::State& stato)
{
    // What a design application redoes at every move while a tuning point is dragged up and down by a
    // millimetre: curve, graphs, geometry, steps, head check.
    CString err;
    CSezione::UsaTestonaDiDefault(err);
    CTraiettoria t = EsamePanoramicoAdulto(MacchinaEsempio());
    const double y0 = t.PuntiTuning[9].Y;
    int mossa = 0;
    for (auto _ : stato) {
        t.PuntiTuning[9].Y = y0 + 0.1 * (mossa < 10 ? mossa : 20 - mossa);
        mossa = (mossa + 1) % 20;
        t.CurvaDenti.CalcolaCurva(err);
        t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_PAN);
        if (t.TipoCurva != CTraiettoria::CURVA_PANORAMICA || !t.GetErrorString().empty())
            stato.SkipWithError("the example exam did not compute cleanly");
        benchmark::DoNotOptimize(t.ArrayPassi.GetData());
    }
}
BENCHMARK(BM_EsamePanoramicoRicalcolo)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
