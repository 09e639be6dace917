#pragma once

#include "LimitiEParametri.h"
#include "PuntoTraiettoria.h"

// The axis state one step later: the step's words decoded into velocities, the positions advanced
// by velocity x "Passo temporale s", the tube settings taken from the step.
KORVANE_API void AvanzaDiUnPasso(PUNTO_TRAIETTORIA& stato, const PASSO_TRAIETTORIA& passo, const CLimitiEParametri& l);
