#include "core/LimitiEParametri.h"
#include "fuzz/Supporto.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    CLimitiEParametri m;
    m.LeggiDaFile(FileTemporaneo(dati, n, ".ini"), 0);
    return 0;
}
