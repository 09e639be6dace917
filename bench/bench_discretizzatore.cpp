// Speed of the rotation discretiser on a panoramic-sized input, head check included.
#include <benchmark/benchmark.h>

#include <cmath>

#include "korvane.h"
#include "examples/MacchinaEsempio.h"

namespace {

// A 250-point elliptic arch 90 mm wide, front teeth at the bite block, each beam normal to the arch and
// the rotation centre at the projection radius of the magnification: about 200 degrees of arm rotation.
CTraiettoria PanoramicaDiProva()
{
    CTraiettoria t(MacchinaEsempio());
    const CLimitiEParametri& l = t.LimitiEParametri;
    const double rp = (l.CentroMonoblocco + l.CentSensPan) / t.Ingrandimento - l.CentroMonoblocco;
    const double a = 45.0, b = 50.0, y0 = l.PosMorso - 50.0;
    for (int i = 0; i < 250; ++i) {
        const double s = -1.75 + 3.5 * i / 249.0;
        const double nx = b * std::sin(s), ny = a * std::cos(s), n = std::hypot(nx, ny);
        const CPunto2DKorvane p(a * std::sin(s), y0 + b * std::cos(s));
        t.CurvaDenti.ArrayCurvaDenti.Add(p);
        t.PosCMR.Add(CPunto2DKorvane(p.X - rp * nx / n, p.Y - rp * ny / n));
        const double theta = std::atan2(ny, nx) * GRADI_PER_RADIANTE;
        t.GraficoRotaz.Add(theta < -90.0 ? theta + 360.0 : theta);
        t.GraficoKV.Add(80.0);
        t.GraficoShift.Add(1.0);
    }
    t.TempoScansiones = 12.0f;
    return t;
}

void BM_DiscretizzazionePanoramica250Punti(benchmark::State& stato)
{
    CString err;
    CSezione::UsaTestonaDiDefault(err);
    CTraiettoria t = PanoramicaDiProva();
    double riepilogo[RIEPILOGO_VALORI];
    for (auto _ : stato) {
        if (!t.DiscretizzaTraiettoriaPanoramica(riepilogo) || !t.GetErrorString().empty())
            stato.SkipWithError("the discretisation was refused or left a message");
        benchmark::DoNotOptimize(t.ArrayPassi.GetData());
    }
    stato.counters["passi"] = t.ArrayPassi.GetSize();
}
BENCHMARK(BM_DiscretizzazionePanoramica250Punti)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
