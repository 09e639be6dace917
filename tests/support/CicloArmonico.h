#pragma once

#include <cmath>

// One axis's position at time t of the harmonic junction's time loop, from the profile function's
// output o = (T, P1, vc, P2, a, b, ...) for a duration T: each link runs half a step past its end.
inline double PosizioneNelCiclo(const double o[], double p0, double v0, double v1, double T, double dt, double t)
{
    constexpr double PI = 3.141592653589793;
    const double P1 = o[1], vc = o[2], P2 = o[3], a = o[4], b = o[5];
    if (t <= a * T + dt / 2)
        return p0 + 0.5 * ((v0 + vc) * t - (vc - v0) * (a * T / PI) * std::sin(PI * t / (a * T)));
    if (t <= b * T + dt / 2)
        return P1 + (t - a * T) * vc;
    const double u = t - b * T, L = (1 - b) * T;
    return P2 + 0.5 * ((vc + v1) * u - (v1 - vc) * (L / PI) * std::sin(PI * u / L));
}
