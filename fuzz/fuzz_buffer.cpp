#include <vector>

#include "tools/korvane/LetturaBuffer.h"

// The command's step-buffer decoder, given any bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    std::vector<std::uint8_t> byte(dati, dati + n);
    BufferDecodificato b;
    std::string errore;
    if (DecodificaBuffer(byte, b, errore)) {
        CLimitiEParametri m;
        m.AsseX.StepPerUnita = m.AsseY.StepPerUnita = m.AsseR.StepPerUnita = m.AsseH.StepPerUnita = 800.0;
        m.AsseX.StepSPerLSB = m.AsseY.StepSPerLSB = m.AsseR.StepSPerLSB = m.AsseH.StepSPerLSB = 2.0;
        m.PassoTemporale = 0.02;
        IntegraBuffer(b, m);
    }
    return 0;
}
