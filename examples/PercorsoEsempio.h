#pragma once

#include "path/Percorso.h"

// The cone-beam 3D scan the flat API builds, built by hand into `p`: a full turn of 20 s between
// harmonic junctions from and to rest.
void CostruisciCB3D(CPercorso& p, const CLimitiEParametri& m);
