#include "fuzz/Supporto.h"
#include "trajectories/CurvaDenti.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    CString nome = FileTemporaneo(dati, n, ".crv");
    CCurvaDenti curva{CLimitiEParametri()};
    curva.CaricaCurva(&nome);
    return 0;
}
