// Speed of the look-up tables: a 14 s panoramic-like path of 700 steps replayed into five tables.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "korvane.h"

namespace {

int Parola(double v)
{
    const long w = std::lround(v);
    return w < 0 ? static_cast<int>(32768 - w) : static_cast<int>(w);
}

// The object point runs along the reference arch with the beam across it, the image at a constant
// speed: the arm follows, and its speeds become the words of the step file.
std::string ScriviPercorso()
{
    const std::string cartella = (std::filesystem::temp_directory_path() / "korvane-bench-lut").string() + "/";
    std::filesystem::create_directories(cartella);
    constexpr int passi = 700;
    double ax[passi + 1], ay[passi + 1], ar[passi + 1];
    for (int i = 0; i <= passi; ++i) {
        const double x = -30.0 + 60.0 * i / passi;
        const double y = -0.014097 * x * x - 7.3814e-05 * x * x * x * x + 41.0;
        const double r = std::atan2(-1.0, -0.028194 * x - 0.000295256 * x * x * x) * 180.0 / 3.141592653589793;
        ar[i] = r;
        ax[i] = x + 64.154 * std::cos(r * 3.141592653589793 / 180.0);
        ay[i] = y + 64.154 * std::sin(r * 3.141592653589793 / 180.0);
    }
    FILE* f = std::fopen((cartella + "pan.csv").c_str(), "w");
    for (int i = 0; i < passi; ++i)
        std::fprintf(f, "%d,%d,%d,%d,70,10\n", Parola((ax[i + 1] - ax[i]) / 0.02 * 409.6),
                     Parola((ay[i + 1] - ay[i]) / 0.02 * 409.6), Parola((ar[i + 1] - ar[i]) / 0.02 * 786.432),
                     Parola(19.0 * 333.333));
    std::fclose(f);
    f = std::fopen((cartella + "pan_P0.csv").c_str(), "w");
    std::fprintf(f, "%ld,%ld,%ld,0\n", std::lround(ax[0] * 800.0), std::lround(ay[0] * 800.0),
                 std::lround(ar[0] * 1706.6666666666667));
    std::fclose(f);
    return cartella + "pan.csv";
}

void BM_CreaLUT_Panoramica700(benchmark::State& stato)
{
    const CString csv = StringaDaUtf8(ScriviPercorso());
    CPercorso p;
    for (auto _ : stato)
        if (!p.CreaLUT(1, csv, L"0.3.9.21"))
            stato.SkipWithError("the tables were not written");
}
BENCHMARK(BM_CreaLUT_Panoramica700)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
