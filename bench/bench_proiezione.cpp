// Speed of writing the files the unit runs from a computed path.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "korvane.h"
#include "examples/MacchinaEsempio.h"
#include "examples/PercorsoEsempio.h"

namespace {

void BM_FileProiezioneCB3D(benchmark::State& stato)
{
    CPercorso p;
    CostruisciCB3D(p, MacchinaEsempio());
    p.GetParametriFileDat().Group = 4;
    p.GetParametriFileDat().Version = 21;
    p.SetTipoOutput(2);
    const std::filesystem::path cartella = std::filesystem::temp_directory_path() / "korvane-bench-proiezione";
    std::filesystem::create_directories(cartella);
    const CString nome = StringaDaUtf8((cartella / "cb3d_i.txt").string());
    for (auto _ : stato)
        if (!p.SalvaFileDat(nome, 1))
            stato.SkipWithError("the projection file was refused");
    std::filesystem::remove_all(cartella);
}
BENCHMARK(BM_FileProiezioneCB3D)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
