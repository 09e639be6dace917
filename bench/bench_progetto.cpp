// Speed of the project file: the example panoramic project saved with every output (project,
// machine file, path CSV files, look-up tables, projection files) and loaded again.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "examples/MacchinaEsempio.h"
#include "examples/ProgettiEsempio.h"

namespace {

std::string Cartella()
{
    const auto c = std::filesystem::temp_directory_path() / "korvane-bench-progetto";
    std::filesystem::create_directories(c);
    return c.string() + "/";
}

void BM_SalvaProgettoPanoramico(benchmark::State& stato)
{
    CPercorso p;
    TrovaProgettoEsempio("pan")->costruisci(p, MacchinaEsempio());
    p.SetSalvaLUT(1);
    p.SetTipoOutput(2);
    const CString nome = StringaDaUtf8(Cartella() + "pan.trg");
    for (auto _ : stato)
        if (!p.SalvaFile(nome, 1, 0) || !p.GetErrorString().empty())
            stato.SkipWithError("the project was not saved");
}
BENCHMARK(BM_SalvaProgettoPanoramico)->Unit(benchmark::kMillisecond);

// Loading recomputes every section; the panoramic trajectory then waits for its arch.
void BM_CaricaProgettoPanoramico(benchmark::State& stato)
{
    const CLimitiEParametri m = MacchinaEsempio();
    CPercorso p;
    TrovaProgettoEsempio("pan")->costruisci(p, m);
    const CString nome = StringaDaUtf8(Cartella() + "pan.trg");
    p.SalvaFile(nome, 1, 0);
    for (auto _ : stato) {
        CPercorso q;
        q.SetLimitiEParametri(&m, 1);
        q.CaricaFile(nome, 1, 1);
        if (q.ArrayOrdineGetSize() != 3)
            stato.SkipWithError("the project did not load");
    }
}
BENCHMARK(BM_CaricaProgettoPanoramico)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
