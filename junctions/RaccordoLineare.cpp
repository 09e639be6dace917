#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Numerico.h"
#include "junctions/AssiRaccordo.h"
#include "junctions/Raccordo.h"
#include "resources/Messaggi.h"

namespace {
constexpr double MAX_PASSI_RAMPA = 1000000.0;
constexpr double TEMPO_MINIMO_RAMPA = 0.5;
}  // namespace

int CRaccordo::CalcolaRaccordoLineare(bool indietro)
{
    const CLimitiEParametri& l = LimitiEParametri;
    const double dt = l.PassoTemporale;
    const PUNTO_TRAIETTORIA& S = indietro ? PuntoFinale : PuntoIniziale;
    PUNTO_TRAIETTORIA& D = indietro ? PuntoIniziale : PuntoFinale;

    double tStop = 0.0;
    for (const AsseRaccordo& asse : ASSI_RACCORDO) {
        const double amax = (l.*(asse.limiti)).MaxAcc * MaxAccPercento / 100.0;
        tStop = std::max(tStop, std::fabs(S.*(asse.vel) / amax));
    }
    if (!(tStop > TEMPO_MINIMO_RAMPA))
        tStop = TEMPO_MINIMO_RAMPA;
    if (!std::isfinite(tStop) || tStop / dt > MAX_PASSI_RAMPA)
        return 0;
    int N = TroncaInt(tStop / dt + 1);
    const double T = N * dt;
    double vel[4], pos[4], acc[4];
    for (int k = 0; k < 4; ++k) {
        vel[k] = S.*(ASSI_RACCORDO[k].vel);
        pos[k] = S.*(ASSI_RACCORDO[k].pos);
        acc[k] = -vel[k] / T;
    }
    bool segnalato[12] = {};
    const int sotto[4] = {126, 128, 130, 132}, sopra[4] = {127, 129, 131, 133}, veloce[4] = {134, 135, 136, 137};
    const int divergente[4] = {138, 139, 140, 141};
    auto segnala = [&](bool condizione, int k, int messaggio) {
        if (condizione && !segnalato[k]) {
            segnalato[k] = true;
            CaricaMessaggio(StringaErrore, messaggio);
        }
    };
    if (indietro)
        ++N;
    std::vector<PASSO_TRAIETTORIA> passi;
    passi.reserve(static_cast<size_t>(N) + 1);
    for (int i = 0; i < N; ++i) {
        const bool ultimoIndietro = indietro && i == N - 1;
        PASSO_TRAIETTORIA passo;
        std::int32_t q[4];
        for (int k = 0; k < 4; ++k) {
            const PARAMETRI_ASSE& lim = l.*(ASSI_RACCORDO[k].limiti);
            q[k] = ParolaVelocita(vel[k], lim.StepPerUnita, lim.StepSPerLSB);
            passo.*(ASSI_RACCORDO[k].parola) = ParolaInSegnoModulo(q[k]);
        }
        passo.iC = 0;
        passo.iKV = 0;
        passo.imA = i * dt <= TEMPO_MINIMO_RAMPA ? S.imA : 0;
        if (i > 0) {
            if (!ultimoIndietro)
                passi.push_back(passo);
            for (int k = 0; k < 4; ++k) {
                const PARAMETRI_ASSE& lim = l.*(ASSI_RACCORDO[k].limiti);
                const double spostamento = VelocitaDaParola(q[k], lim.StepPerUnita, lim.StepSPerLSB) * dt;
                pos[k] += indietro ? -spostamento : spostamento;
                segnala(pos[k] < lim.PosMin, k, sotto[k]);
                segnala(pos[k] > lim.PosMax, 4 + k, sopra[k]);
                segnala(std::fabs(vel[k]) > lim.MaxVel, 8 + k, veloce[k]);
            }
        }
        if (ultimoIndietro)
            continue;
        for (int k = 0; k < 4; ++k) {
            if (q[k] == 0)
                continue;
            const PARAMETRI_ASSE& lim = l.*(ASSI_RACCORDO[k].limiti);
            const double vecchia = vel[k];
            double nuova = VelocitaDaParola(q[k], lim.StepPerUnita, lim.StepSPerLSB) + acc[k] * dt;
            if ((nuova > 0 && q[k] < 0) || (nuova < 0 && q[k] > 0))
                nuova = 0.0;
            // A ramp to rest whose speed grows has no end.
            if ((vecchia >= 0 && nuova > vecchia) || (vecchia < 0 && nuova < vecchia)) {
                CaricaMessaggio(StringaErrore, divergente[k]);
                return 0;
            }
            vel[k] = nuova;
        }
    }
    if (!indietro)
        passi.emplace_back();
    for (int k = 0; k < 4; ++k) {
        D.*(ASSI_RACCORDO[k].pos) = pos[k];
        D.*(ASSI_RACCORDO[k].vel) = vel[k];
    }
    D.iKV = 0;
    D.imA = 0;
    ArrayPassi.RemoveAll();
    if (indietro)
        std::reverse(passi.begin(), passi.end());
    for (const PASSO_TRAIETTORIA& p : passi)
        ArrayPassi.Add(p);
    for (bool s : segnalato)
        if (s)
            ErroreCalcolo = 1;
    return 1;
}
