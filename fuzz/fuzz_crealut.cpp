#include <algorithm>
#include <filesystem>
#include <tuple>

#include "fuzz/Supporto.h"
#include "path/Percorso.h"

// The bytes up to the first NUL are the step CSV, the rest its start file; the tables are computed
// and written beside them (in memory, so the disk does not set the pace), with the scout rule on
// for odd lengths.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    static const std::string cartella = [] {
        const std::string c = "/dev/shm/korvane-fuzz-lut-" + std::to_string(getpid()) + "/";
        std::filesystem::create_directories(c);
        return c;
    }();
    static CPercorso percorso;
    static const bool conScout = [] {
        const CTraiettoria t;
        percorso.ArrayTraiettorieAdd(&t);
        percorso.ArrayTraiettorieSetScout(0, 1);
        return true;
    }();
    (void)conScout;
    const std::uint8_t* fine = std::find(dati, dati + n, std::uint8_t{0});
    const std::size_t nPassi = static_cast<std::size_t>(fine - dati);
    const std::size_t resto = std::min(n, nPassi + 1);
    for (const auto& [nome, inizio, quanti] :
         {std::tuple{"p.csv", dati, nPassi}, std::tuple{"p_P0.csv", dati + resto, n - resto}}) {
        FILE* f = std::fopen((cartella + nome).c_str(), "wb");
        if (f == nullptr)
            return 0;
        std::fwrite(inizio, 1, quanti, f);
        std::fclose(f);
    }
    percorso.CreaLUT(static_cast<int>(n % 2), StringaDaUtf8(cartella + "p.csv"), L"");
    percorso.GetErrorString();
    return 0;
}
