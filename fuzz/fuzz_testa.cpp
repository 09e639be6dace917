#include "fuzz/Supporto.h"
#include "sections/Sezione.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    CString err;
    CSezione::LeggiTestonaDaFile(FileTemporaneo(dati, n, ".csv"), err);
    return 0;
}
