#pragma once

// Calls the harmonic-profile function currently chosen: the run-time library's when it is loaded
// and the linked one is not preferred, else the linked one. in[7], out[10].
void ChiamaProfiloArmonico(double* in, double* out);
