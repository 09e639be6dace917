#pragma once

#include "path/Percorso.h"

// The cone-beam 3D scan the flat API builds, built by hand into `p`: a full turn of 20 s between
// harmonic junctions from and to rest.
void CostruisciCB3D(CPercorso& p, const CLimitiEParametri& m);

// Wraps one computed trajectory into `p`: the acceleration junction from rest, the trajectory, the
// deceleration junction to rest, corrected for continuity. Returns the first message, empty when the
// path is ready to be written.
CString PercorsoDiEsame(CPercorso& p, const CLimitiEParametri& m, const CTraiettoria& t);
