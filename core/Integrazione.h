#pragma once

#include "LimitiEParametri.h"
#include "Numerico.h"
#include "PuntoTraiettoria.h"

// The axis state one step later from the velocities of the step's X, Y, R and H words: the
// positions advanced by velocity x "Passo temporale s", the tube settings taken from the step.
inline void AvanzaConVelocita(PUNTO_TRAIETTORIA& p, const PASSO_TRAIETTORIA& s, const double v[4], double dt)
{
    p.dVelX = v[0];
    p.dVelY = v[1];
    p.dVelR = v[2];
    p.dVelH = v[3];
    p.dPosX += p.dVelX * dt;
    p.dPosY += p.dVelY * dt;
    p.dPosR += p.dVelR * dt;
    p.dPosH += p.dVelH * dt;
    p.iKV = s.iKV;
    p.imA = s.imA;
}

// The same, decoding the step's words.
inline void AvanzaDiUnPasso(PUNTO_TRAIETTORIA& p, const PASSO_TRAIETTORIA& s, const CLimitiEParametri& l)
{
    const double v[4] = {VelocitaDaMemorizzata(s.iX, l.AsseX.StepPerUnita, l.AsseX.StepSPerLSB),
                         VelocitaDaMemorizzata(s.iY, l.AsseY.StepPerUnita, l.AsseY.StepSPerLSB),
                         VelocitaDaMemorizzata(s.iR, l.AsseR.StepPerUnita, l.AsseR.StepSPerLSB),
                         VelocitaDaMemorizzata(s.iH, l.AsseH.StepPerUnita, l.AsseH.StepSPerLSB)};
    AvanzaConVelocita(p, s, v, l.PassoTemporale);
}
