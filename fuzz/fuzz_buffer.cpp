#include <vector>

#include "tools/korvane/LetturaBuffer.h"

// The command's image decoder (step buffer or projection image), given any bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    std::vector<std::uint8_t> byte(dati, dati + n);
    BufferDecodificato b;
    std::string errore;
    // Any other size is read as a projection file's image, as inspect does.
    if (byte.size() != DIMENSIONE_BUFFER) {
        std::vector<std::uint8_t> immagine;
        if (!EspandiImmagineProiezione(byte, immagine, errore))
            return 0;
        byte.swap(immagine);
    }
    if (DecodificaBuffer(byte, b, errore)) {
        CLimitiEParametri m;
        m.AsseX.StepPerUnita = m.AsseY.StepPerUnita = m.AsseR.StepPerUnita = m.AsseH.StepPerUnita = 800.0;
        m.AsseX.StepSPerLSB = m.AsseY.StepSPerLSB = m.AsseR.StepSPerLSB = m.AsseH.StepSPerLSB = 2.0;
        m.PassoTemporale = 0.02;
        IntegraBuffer(b, m);
    }
    return 0;
}
