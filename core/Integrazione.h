#pragma once

#include "LimitiEParametri.h"
#include "Numerico.h"
#include "PuntoTraiettoria.h"

// The axis state one step later: the step's words decoded into velocities, the positions advanced
// by velocity x "Passo temporale s", the tube settings taken from the step.
inline void AvanzaDiUnPasso(PUNTO_TRAIETTORIA& p, const PASSO_TRAIETTORIA& s, const CLimitiEParametri& l)
{
    const double dt = l.PassoTemporale;
    p.dVelX = VelocitaDaMemorizzata(s.iX, l.AsseX.StepPerUnita, l.AsseX.StepSPerLSB);
    p.dVelY = VelocitaDaMemorizzata(s.iY, l.AsseY.StepPerUnita, l.AsseY.StepSPerLSB);
    p.dVelR = VelocitaDaMemorizzata(s.iR, l.AsseR.StepPerUnita, l.AsseR.StepSPerLSB);
    p.dVelH = VelocitaDaMemorizzata(s.iH, l.AsseH.StepPerUnita, l.AsseH.StepSPerLSB);
    p.dPosX += p.dVelX * dt;
    p.dPosY += p.dVelY * dt;
    p.dPosR += p.dVelR * dt;
    p.dPosH += p.dVelH * dt;
    p.iKV = s.iKV;
    p.imA = s.imA;
}
