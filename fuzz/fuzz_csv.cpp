#include <algorithm>

#include "fuzz/Supporto.h"
#include "sections/Sezione.h"

// The bytes up to the first NUL are the steps file, the rest the start file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    const std::uint8_t* fine = std::find(dati, dati + n, std::uint8_t{0});
    const std::size_t nPassi = static_cast<std::size_t>(fine - dati);
    FILE* passi = FileDaByte(dati, nPassi);
    FILE* inizio = FileDaByte(dati + std::min(n, nPassi + 1), n - std::min(n, nPassi + 1));
    if (passi != nullptr && inizio != nullptr) {
        CLimitiEParametri m;
        m.PassoTemporale = 0.02;
        m.AsseX.StepPerUnita = m.AsseY.StepPerUnita = m.AsseH.StepPerUnita = 800.0;
        m.AsseR.StepPerUnita = 1706.666667;
        m.AsseX.StepSPerLSB = m.AsseY.StepSPerLSB = m.AsseH.StepSPerLSB = m.AsseR.StepSPerLSB = 2.0;
        m.AsseR.PosMin = -200.0;
        m.AsseR.PosMax = 200.0;
        CSezione s(m);
        s.LeggiDaFileCSV(passi, inizio);
    }
    if (passi != nullptr)
        std::fclose(passi);
    if (inizio != nullptr)
        std::fclose(inizio);
    return 0;
}
