#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "junctions/harmonic/Harmonic3Link.h"

namespace {

using Ingresso = std::array<double, 7>;

// Junction-like motions: positions and velocities of an axis, 80% of a few hundred mm/s^2, dt 20 ms;
// a fifth at rest on one end, a tenth with no displacement.
std::vector<Ingresso> Moti()
{
    std::mt19937_64 g(424242);
    std::uniform_real_distribution<double> pos(-200.0, 200.0), vel(-60.0, 60.0), acc(50.0, 800.0), u(0.0, 1.0);
    std::vector<Ingresso> v(1024);
    for (auto& i : v) {
        i = {0.0, pos(g), vel(g), pos(g), vel(g), acc(g), 0.02};
        const double forma = u(g);
        if (forma < 0.2)
            i[2] = 0.0;
        else if (forma < 0.3)
            i[3] = i[1];
    }
    return v;
}

// The same motions with the duration the junction asks for: the minimum plus two steps, whole steps.
std::vector<Ingresso> ConDurata(std::vector<Ingresso> v)
{
    for (auto& i : v) {
        double out[10];
        Harmonic_3Link_mode(i.data(), out, 7, 10);
        i[0] = std::ceil(out[0] / i[6] + 2) * i[6];
    }
    return v;
}

// Fixed junction axes as the exams ask for them: the CB3D scan's run-up and stop (R, X, Y), plain
// movements from rest to rest, and ends in motion; each for the shortest duration and for a duration
// in whole steps, as the junction's second call asks.
std::vector<Ingresso> Fissi()
{
    std::vector<Ingresso> v = {
        {0.0, -199.8, 0.0, -180.0, 18.0, 48.0, 0.02}, {0.0, -40.0, 0.0, 0.0, 0.0, 160.0, 0.02},
        {0.0, 22.0, 0.0, 0.0, 0.0, 160.0, 0.02},      {0.0, 180.0, 18.0, 199.8, 0.0, 48.0, 0.02},
        {0.0, 0.0, 0.0, 40.0, 0.0, 160.0, 0.02},      {0.0, -12.5, 8.0, 3.0, -15.0, 160.0, 0.02},
        {0.0, -150.0, -5.0, -120.0, 10.0, 48.0, 0.02}, {0.0, 0.0, 0.0, 20.0, 0.0, 160.0, 0.02},
    };
    const std::vector<Ingresso> durate = ConDurata(v);
    v.insert(v.end(), durate.begin(), durate.end());
    return v;
}

void Run(benchmark::State& state, std::vector<Ingresso> ingressi)
{
    double out[10];
    std::size_t k = 0;
    for (auto _ : state) {
        Harmonic_3Link_mode(ingressi[k].data(), out, 7, 10);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
        k = (k + 1) & (ingressi.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Harmonic_TempoMinimo(benchmark::State& state)
{
    Run(state, Moti());
}

void BM_Harmonic_TempoRichiesto(benchmark::State& state)
{
    Run(state, ConDurata(Moti()));
}

void BM_Harmonic_Fissi(benchmark::State& state)
{
    Run(state, Fissi());
}

}  // namespace

BENCHMARK(BM_Harmonic_TempoMinimo);
BENCHMARK(BM_Harmonic_TempoRichiesto);
BENCHMARK(BM_Harmonic_Fissi);

BENCHMARK_MAIN();
