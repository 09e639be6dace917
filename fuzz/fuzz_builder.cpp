#include "tools/builder/LetturaProiezione.h"

// The projection builder's reader of "in." files, given any bytes; what it accepts must compose.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    PROIEZIONE_LETTA p;
    std::string motivo;
    if (LeggiProiezione(std::string_view(reinterpret_cast<const char*>(dati), n), p, motivo))
        ComponiImmagine(p);
    else if (motivo.empty() || motivo.find('\n') != std::string::npos)
        __builtin_trap();
    return 0;
}
