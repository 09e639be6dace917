#include "fuzz/Supporto.h"
#include "path/Percorso.h"
#include "platform/Prompt.h"

// The project file reader, replacing and loading junctions. There is no machine file beside the
// project, so the question gets No and the machine in use stays: the default one, with no time step,
// so no recomputation runs long.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    static const bool silenzio = (ImpostaGestoreInformazioni([](const CString&) {}),
                                  ImpostaGestoreDomande([](const CString&, int) { return 0; }), true);
    (void)silenzio;
    CPercorso p;
    p.CaricaFile(FileTemporaneo(dati, n, ".trg"), 1, 1);
    return 0;
}
