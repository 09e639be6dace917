#pragma once

#include "core/LimitiEParametri.h"
#include "trajectories/Traiettoria.h"

// A realistic cephalometric exam on the example unit: right arm, constant magnification, a 5 s
// sweep of the sensor from 10 to 200 mm on H with the tube-setting ramp at the start. Not computed:
// the caller sets what it wants to change and runs CalcolaTraiettoriaCefalometrica.
CTraiettoria EsameCefalometrico(const CLimitiEParametri& macchina);
