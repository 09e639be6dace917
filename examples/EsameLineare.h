#pragma once

#include "core/LimitiEParametri.h"
#include "trajectories/Traiettoria.h"

// A realistic linear exam on the example unit: a 50 mm segment right of and behind the bite,
// inclined 17 degrees, swept in 3.2 s at magnification 1.5 with the rotation centre moving in X and
// Y. Not computed: the caller sets what it wants to change and runs CalcolaTraiettoriaLineare.
CTraiettoria EsameLineare(const CLimitiEParametri& macchina);
