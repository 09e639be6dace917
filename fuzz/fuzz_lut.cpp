#include "fuzz/Supporto.h"
#include "path/Percorso.h"

// A binary look-up table: any count against any length of file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    static CPercorso percorso;
    const ArrayDouble& t = percorso.LoadLUT(FileTemporaneo(dati, n, ".LUT"));
    if (static_cast<std::size_t>(t.GetSize()) * 5 + 4 > n && t.GetSize() > 0)
        __builtin_trap();
    percorso.GetErrorString();
    return 0;
}
