#pragma once

#include "../core/LimitiEParametri.h"
#include "../core/PuntoTraiettoria.h"

// More steps than any junction needs: a longer duration is a failure, not an allocation.
inline constexpr double MAX_PASSI_RACCORDO = 1000000.0;

// The four axes a junction moves, in the order it computes them, with where each lives in the
// state, the step and the machine record.
struct AsseRaccordo {
    double PUNTO_TRAIETTORIA::*pos;
    double PUNTO_TRAIETTORIA::*vel;
    std::int32_t PASSO_TRAIETTORIA::*parola;
    PARAMETRI_ASSE CLimitiEParametri::*limiti;
};

inline constexpr AsseRaccordo ASSI_RACCORDO[4] = {
    {&PUNTO_TRAIETTORIA::dPosX, &PUNTO_TRAIETTORIA::dVelX, &PASSO_TRAIETTORIA::iX, &CLimitiEParametri::AsseX},
    {&PUNTO_TRAIETTORIA::dPosY, &PUNTO_TRAIETTORIA::dVelY, &PASSO_TRAIETTORIA::iY, &CLimitiEParametri::AsseY},
    {&PUNTO_TRAIETTORIA::dPosR, &PUNTO_TRAIETTORIA::dVelR, &PASSO_TRAIETTORIA::iR, &CLimitiEParametri::AsseR},
    {&PUNTO_TRAIETTORIA::dPosH, &PUNTO_TRAIETTORIA::dVelH, &PASSO_TRAIETTORIA::iH, &CLimitiEParametri::AsseH},
};
