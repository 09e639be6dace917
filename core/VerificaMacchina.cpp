#include "core/VerificaMacchina.h"

#include <cmath>

#include "resources/Messaggi.h"

namespace {

bool NonNulloFinito(double v)
{
    return v != 0.0 && std::isfinite(v);
}

}  // namespace

std::vector<int> ElencaProblemiMacchina(const CLimitiEParametri& m, unsigned uso)
{
    std::vector<int> problemi;
    if (!(m.PassoTemporale > 0) || !std::isfinite(m.PassoTemporale))
        problemi.push_back(MSG_PASSO_TEMPORALE_NON_VALIDO);
    const struct {
        const PARAMETRI_ASSE& a;
        bool costanti, limiti;
        int stepPerUnita, stepSPerLsb, limite;
    } assi[] = {
        {m.AsseX, (uso & USO_MOTO) != 0, (uso & USO_MOTO) != 0, MSG_STEP_PER_UNITA_NON_VALIDO_X,
         MSG_STEP_S_PER_LSB_NON_VALIDO_X, MSG_LIMITE_NON_VALIDO_X},
        {m.AsseY, (uso & USO_MOTO) != 0, (uso & USO_MOTO) != 0, MSG_STEP_PER_UNITA_NON_VALIDO_Y,
         MSG_STEP_S_PER_LSB_NON_VALIDO_Y, MSG_LIMITE_NON_VALIDO_Y},
        {m.AsseR, (uso & USO_MOTO) != 0, (uso & USO_MOTO) != 0, MSG_STEP_PER_UNITA_NON_VALIDO_R,
         MSG_STEP_S_PER_LSB_NON_VALIDO_R, MSG_LIMITE_NON_VALIDO_R},
        // Only the image length decodes C words; no computation checks C against its limits yet.
        {m.AsseC, (uso & USO_LUNGHEZZA_PX) != 0, uso == USO_TUTTO, MSG_STEP_PER_UNITA_NON_VALIDO_C,
         MSG_STEP_S_PER_LSB_NON_VALIDO_C, MSG_LIMITE_NON_VALIDO_C},
        {m.AsseH, (uso & USO_MOTO) != 0, (uso & USO_MOTO) != 0, MSG_STEP_PER_UNITA_NON_VALIDO_H,
         MSG_STEP_S_PER_LSB_NON_VALIDO_H, MSG_LIMITE_NON_VALIDO_H},
    };
    for (const auto& x : assi) {
        if (x.costanti && !NonNulloFinito(x.a.StepPerUnita))
            problemi.push_back(x.stepPerUnita);
        if (x.costanti && !NonNulloFinito(x.a.StepSPerLSB))
            problemi.push_back(x.stepSPerLsb);
        // A speed or acceleration limit of zero leaves no time in which to move.
        if (x.limiti && (!(x.a.MaxVel > 0) || !(x.a.MaxAcc > 0) || !std::isfinite(x.a.MaxVel) ||
                         !std::isfinite(x.a.MaxAcc) || !std::isfinite(x.a.PosMin) || !std::isfinite(x.a.PosMax)))
            problemi.push_back(x.limite);
    }
    if ((uso & USO_LUNGHEZZA_PX) && !NonNulloFinito(m.DimPixelPano))
        problemi.push_back(MSG_DIMENSIONE_PIXEL_NON_VALIDA);
    return problemi;
}

int VerificaMacchina(const CLimitiEParametri& m, unsigned uso, CString& errore)
{
    const std::vector<int> problemi = ElencaProblemiMacchina(m, uso);
    if (problemi.empty())
        return 1;
    CaricaMessaggio(errore, problemi.front());
    return 0;
}
