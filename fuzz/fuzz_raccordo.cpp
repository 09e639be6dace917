#include "fuzz/Supporto.h"
#include "junctions/Raccordo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    if (FILE* f = FileDaByte(dati, n)) {
        CRaccordo r{CLimitiEParametri()};
        r.CaricaFileTRG(f);
        std::fclose(f);
    }
    return 0;
}
