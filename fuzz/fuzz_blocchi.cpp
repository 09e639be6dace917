#include "core/ParametriFileDat.h"
#include "core/PuntoTraiettoria.h"
#include "fuzz/Supporto.h"

// The three record blocks of the project file, each read from the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    if (FILE* f = FileDaByte(dati, n)) {
        PUNTO_TRAIETTORIA p;
        p.CaricaFileTRG(f);
        std::rewind(f);
        PASSO_TRAIETTORIA s;
        s.CaricaFileTRG(f);
        std::rewind(f);
        CParametriFileDat d;
        d.CaricaFileTRG(f);
        std::fclose(f);
    }
    return 0;
}
