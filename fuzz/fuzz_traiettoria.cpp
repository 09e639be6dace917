#include "fuzz/Supporto.h"
#include "platform/Prompt.h"
#include "trajectories/Traiettoria.h"

// The trajectory block reader. The per-trajectory name points nowhere, so the CSV kind finds no
// companions; the default machine has no time step, so no recomputation runs long.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    static const bool silenzio = (ImpostaGestoreInformazioni([](const CString&) {}), true);
    (void)silenzio;
    if (FILE* f = FileDaByte(dati, n)) {
        CTraiettoria t{CLimitiEParametri()};
        t.CaricaFileTRG(f, L"/nonexistent/korvane-fuzz0.trg");
        std::fclose(f);
    }
    return 0;
}
