// Speed of writing the files the unit runs from a computed path.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "korvane.h"
#include "examples/EsamePanoramico.h"
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

// The example panoramic exam wrapped in its junctions from and to rest, as korvane dat writes it.
bool PercorsoPanoramico(CPercorso& p)
{
    CString err;
    CSezione::UsaTestonaDiDefault(err);
    const CLimitiEParametri m = MacchinaEsempio();
    CTraiettoria t = EsamePanoramicoAdulto(m);
    t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_PAN);
    p.GetParametriFileDat().Version = 21;
    p.SetTipoOutput(2);
    return t.GetErrorString().empty() && PercorsoDiEsame(p, m, t).empty();
}

void BM_FileProiezionePanoramica(benchmark::State& stato)
{
    CPercorso p;
    if (!PercorsoPanoramico(p))
        stato.SkipWithError("the example panoramic exam was refused");
    const std::filesystem::path cartella = std::filesystem::temp_directory_path() / "korvane-bench-proiezione-pan";
    std::filesystem::create_directories(cartella);
    const CString nome = StringaDaUtf8((cartella / "pan_i.txt").string());
    for (auto _ : stato)
        if (!p.SalvaFileDat(nome, 1))
            stato.SkipWithError("the projection file was refused");
    std::filesystem::remove_all(cartella);
}
BENCHMARK(BM_FileProiezionePanoramica)->Unit(benchmark::kMicrosecond);

// The five look-up tables of the same exam, from the path CSV files it is written with.
void BM_CreaLUT_EsamePanoramico(benchmark::State& stato)
{
    CPercorso p;
    const std::filesystem::path cartella = std::filesystem::temp_directory_path() / "korvane-bench-lut-pan";
    std::filesystem::create_directories(cartella);
    const CString csv = StringaDaUtf8((cartella / "pan.csv").string());
    if (!PercorsoPanoramico(p) || !p.SalvaFileCSV(csv))
        stato.SkipWithError("the example panoramic exam was refused");
    for (auto _ : stato)
        if (!p.CreaLUT(1, csv, L"0.0.9.21"))
            stato.SkipWithError("the tables were not written");
    std::filesystem::remove_all(cartella);
}
BENCHMARK(BM_CreaLUT_EsamePanoramico)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
