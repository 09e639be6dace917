#pragma once

#include "trajectories/Traiettoria.h"

// A standard adult panoramic exam on `macchina`: the adult arch from molar to molar at a 1 mm chord,
// the projection radius tuned for a sharp front and orthogonal beams at the sides, about 208 degrees
// of arm rotation in 14 s, symmetric about the midline. The arch curve is computed (a failure leaves
// its message in the trajectory's error text); the geometry and the steps are left to the caller.
CTraiettoria EsamePanoramicoAdulto(const CLimitiEParametri& macchina);
