#include "core/LetturaTesto.h"
#include "core/PuntoTraiettoria.h"
#include "platform/Locale.h"

namespace {
constexpr int VERSIONE_PUNTO = 2;
constexpr int VERSIONE_PASSO = 1;
}  // namespace

int PUNTO_TRAIETTORIA::SalvaFileTRG(FILE* f) const
{
    LocaleC guardia;
    std::fprintf(f, "Versione          = %d\n", VERSIONE_PUNTO);
    std::fprintf(f, "dPosX             = %lf\n", dPosX);
    std::fprintf(f, "dPosY             = %lf\n", dPosY);
    std::fprintf(f, "dPosR             = %lf\n", dPosR);
    std::fprintf(f, "dPosH             = %lf\n", dPosH);
    std::fprintf(f, "dVelX             = %lf\n", dVelX);
    std::fprintf(f, "dVelY             = %lf\n", dVelY);
    std::fprintf(f, "dVelR             = %lf\n", dVelR);
    std::fprintf(f, "dVelH             = %lf\n", dVelH);
    std::fprintf(f, "iKV               = %d\n", iKV);
    std::fprintf(f, "imA               = %d\n", imA);
    return 1;
}

int PUNTO_TRAIETTORIA::CaricaFileTRG(FILE* f)
{
    LocaleC guardia;
    int versione = 0;
    EsitoLettura esito;
    // A damaged version line is read as the newest layout, the one this library writes.
    if (!LeggiValore(f, "Versione          = %d\n", &versione)) {
        esito &= false;
        versione = VERSIONE_PUNTO;
    }
    if (versione != 1 && versione != 2)
        return 0;
    esito &= LeggiValore(f, "dPosX             = %lf\n", &dPosX);
    esito &= LeggiValore(f, "dPosY             = %lf\n", &dPosY);
    esito &= LeggiValore(f, "dPosR             = %lf\n", &dPosR);
    if (versione == 2)
        esito &= LeggiValore(f, "dPosH             = %lf\n", &dPosH);
    esito &= LeggiValore(f, "dVelX             = %lf\n", &dVelX);
    esito &= LeggiValore(f, "dVelY             = %lf\n", &dVelY);
    esito &= LeggiValore(f, "dVelR             = %lf\n", &dVelR);
    if (versione == 2)
        esito &= LeggiValore(f, "dVelH             = %lf\n", &dVelH);
    esito &= LeggiValore(f, "iKV               = %d\n", &iKV);
    esito &= LeggiValore(f, "imA               = %d\n", &imA);
    // Files from before the H axis carry none of its state.
    if (versione == 1) {
        dPosH = 0.0;
        dVelH = 0.0;
    }
    return esito.Risultato();
}

int PASSO_TRAIETTORIA::SalvaFileTRG(FILE* f) const
{
    LocaleC guardia;
    std::fprintf(f, "Versione          = %d\n", VERSIONE_PASSO);
    std::fprintf(f, "iX                = %d\n", iX);
    std::fprintf(f, "iY                = %d\n", iY);
    std::fprintf(f, "iR                = %d\n", iR);
    std::fprintf(f, "iC                = %d\n", iC);
    std::fprintf(f, "iKV               = %d\n", iKV);
    std::fprintf(f, "imA               = %d\n", imA);
    std::fprintf(f, "iH                = %d\n", iH);
    return 1;
}

int PASSO_TRAIETTORIA::CaricaFileTRG(FILE* f)
{
    LocaleC guardia;
    int versione = 0;
    EsitoLettura esito;
    if (!LeggiValore(f, "Versione          = %d\n", &versione)) {
        esito &= false;
        versione = VERSIONE_PASSO;
    }
    if (versione != VERSIONE_PASSO)
        return 0;
    esito &= LeggiValore(f, "iX                = %d\n", &iX);
    esito &= LeggiValore(f, "iY                = %d\n", &iY);
    esito &= LeggiValore(f, "iR                = %d\n", &iR);
    esito &= LeggiValore(f, "iC                = %d\n", &iC);
    esito &= LeggiValore(f, "iKV               = %d\n", &iKV);
    esito &= LeggiValore(f, "imA               = %d\n", &imA);
    esito &= LeggiValore(f, "iH                = %d\n", &iH);
    return esito.Risultato();
}
