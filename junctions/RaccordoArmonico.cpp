#include <algorithm>
#include <cmath>

#include "core/Numerico.h"
#include "junctions/AssiRaccordo.h"
#include "junctions/LibreriaArmonica.h"
#include "junctions/Raccordo.h"
#include "resources/Messaggi.h"

namespace {

constexpr double EPSILON_DOUBLE = 2.220446049250313e-16;

struct Profilo {
    double P1, vc, P2, a, b;
};

}  // namespace

int CRaccordo::CalcolaRaccordoArmonico()
{
    const CLimitiEParametri& l = LimitiEParametri;
    const double dt = l.PassoTemporale;
    auto ingresso = [&](const AsseRaccordo& asse, double T, double in[7]) {
        in[0] = T;
        in[1] = PuntoIniziale.*(asse.pos);
        in[2] = PuntoIniziale.*(asse.vel);
        in[3] = PuntoFinale.*(asse.pos);
        in[4] = PuntoFinale.*(asse.vel);
        in[5] = (l.*(asse.limiti)).MaxAcc * MaxAccPercento / 100.0;
        in[6] = dt;
    };

    // Shortest time over the axes, plus two spare steps, in whole steps.
    double Tmin = 0.0;
    for (const AsseRaccordo& asse : ASSI_RACCORDO) {
        double in[7], out[10] = {-1.0};
        ingresso(asse, 0.0, in);
        ChiamaProfiloArmonico(in, out);
        if (out[0] >= 0)
            Tmin = std::max(Tmin, out[0]);
    }
    // Inputs are checked before the library is called, so a minimum time it cannot give is its own fault.
    if (!std::isfinite(Tmin) || Tmin / dt > MAX_PASSI_RACCORDO) {
        CaricaMessaggio(StringaErrore, 125);
        return 0;
    }
    // Two spare steps, in whole steps, computed as written: a tolerance would change the step count.
    Tmin = std::ceil(Tmin / dt + 2) * dt;

    const int kS = PuntoIniziale.iKV, kE = PuntoFinale.iKV;
    bool raggiInizio = false, raggiFine = false, raggiSempre = false;
    if (kS == 0 && kE >= 1) {
        raggiFine = true;
        Tmin = std::max(Tmin, 0.5);
    } else if (kS > 0 && kE == 0) {
        raggiInizio = true;
        Tmin = std::max(Tmin, 0.5);
    } else if (kS > 0 && kE > 0) {
        if (GestioneRaggi == 0) {
            if (Tmin >= 2.3)
                raggiInizio = raggiFine = true;
            else
                raggiSempre = true;
        } else if (GestioneRaggi == 1) {
            raggiInizio = raggiFine = true;
            Tmin = std::max(Tmin, 1.02);
        } else if (GestioneRaggi == 2) {
            raggiSempre = true;
        }
    }
    if (Tmin > TempoRaccordos || UsaTempoMinimo)
        TempoRaccordos = Tmin;
    if (!std::isfinite(TempoRaccordos) || TempoRaccordos / dt > MAX_PASSI_RACCORDO) {
        CaricaMessaggio(StringaErrore, MSG_RACCORDO_DURATA_NON_VALIDA);
        return 0;
    }
    TempoRaccordos = std::ceil(TempoRaccordos / dt) * dt;
    const double T = TempoRaccordos;

    Profilo profili[4];
    bool erroreLibreria = false, erroreLimiti = false;
    const int messaggiLimite[4] = {121, 122, 123, 124};
    for (int k = 0; k < 4; ++k) {
        const AsseRaccordo& asse = ASSI_RACCORDO[k];
        double in[7], out[10] = {-1.0};
        ingresso(asse, T, in);
        ChiamaProfiloArmonico(in, out);
        if (!(out[0] >= 0)) {
            erroreLibreria = true;
            continue;
        }
        if (out[0] > T + EPSILON_DOUBLE || out[0] < T - EPSILON_DOUBLE) {
            CaricaMessaggio(StringaErrore, 120);
            erroreLimiti = true;
        }
        profili[k] = {out[1], out[2], out[3], out[4], out[5]};
        const PARAMETRI_ASSE& lim = l.*(asse.limiti);
        const double alto = std::max({in[1], in[3], out[1], out[3], out[7], out[9]});
        const double basso = std::min({in[1], in[3], out[1], out[3], out[7], out[9]});
        const bool sotto = k == 3 ? basso < lim.PosMin : basso <= lim.PosMin;
        if (alto >= lim.PosMax || sotto || std::fabs(out[2]) >= lim.MaxVel) {
            CaricaMessaggio(StringaErrore, messaggiLimite[k]);
            erroreLimiti = true;
        }
    }
    if (erroreLibreria) {
        CaricaMessaggio(StringaErrore, 125);
        return 0;
    }
    if (erroreLimiti)
        ErroreCalcolo = 1;

    ArrayPassi.RemoveAll();
    ArrayPassi.Reserve(static_cast<int>(T / dt) + 1);
    double raggiunta[4];
    for (int k = 0; k < 4; ++k)
        raggiunta[k] = PuntoIniziale.*(ASSI_RACCORDO[k].pos);
    auto velocitaAsse = [&](int k) {
        const PARAMETRI_ASSE& lim = l.*(ASSI_RACCORDO[k].limiti);
        return VelocitaParole(lim.StepPerUnita, lim.StepSPerLSB);
    };
    VelocitaParole velocita[4] = {velocitaAsse(0), velocitaAsse(1), velocitaAsse(2), velocitaAsse(3)};
    double t = 0.0;
    while (T - dt / 2 > t) {
        t += dt;
        PASSO_TRAIETTORIA passo;
        for (int k = 0; k < 4; ++k) {
            const AsseRaccordo& asse = ASSI_RACCORDO[k];
            const Profilo& p = profili[k];
            const double pS = PuntoIniziale.*(asse.pos), vS = PuntoIniziale.*(asse.vel), vE = PuntoFinale.*(asse.vel);
            double pos;
            if (t <= p.a * T + dt / 2) {
                const double aT = p.a * T;
                pos = pS + 0.5 * ((vS + p.vc) * t - (p.vc - vS) * (aT / PI_GRECO) * std::sin(PI_GRECO * t / aT));
            } else if (t <= p.b * T + dt / 2) {
                pos = p.P1 + (t - p.a * T) * p.vc;
            } else {
                const double u = t - p.b * T, L = (1 - p.b) * T;
                pos = p.P2 + 0.5 * ((p.vc + vE) * u - (vE - p.vc) * (L / PI_GRECO) * std::sin(PI_GRECO * u / L));
            }
            const PARAMETRI_ASSE& lim = l.*(asse.limiti);
            const std::int32_t q = ParolaVelocita((pos - raggiunta[k]) / dt, lim.StepPerUnita, lim.StepSPerLSB);
            raggiunta[k] += velocita[k].DaParola(q) * dt;
            passo.*(asse.parola) = ParolaInSegnoModulo(q);
        }
        passo.iKV = 0;
        if (raggiSempre) {
            passo.iC = 10;
            passo.imA = TroncaInt(PuntoIniziale.imA * (1 - t / T) + PuntoFinale.imA * t / T + 0.5);
        } else {
            passo.iC = 0;
            if (raggiInizio && t - dt / 2 < 0.5)
                passo.imA = PuntoIniziale.imA;
            else if (raggiFine && (T - t) + dt / 2 < 0.5)
                passo.imA = PuntoFinale.imA;
            else
                passo.imA = 0;
        }
        ArrayPassi.Add(passo);
    }
    return 1;
}
