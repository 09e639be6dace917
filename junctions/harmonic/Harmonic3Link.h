#pragma once

// The harmonic three-link profile of one axis, our own implementation of the outside function the
// junctions call. It is built twice from one source: into libArmonicJunction.so, which libkorvane
// links, and into the optional run-time library Harmonic_3Link_mode_stdC, which also exports
// LVDLLStatus.
//
// The profile: the velocity blends by a half cosine from v0 to vc over [0, aT], stays at vc over
// [aT, bT] and blends by a half cosine from vc to v1 over [bT, T]. Positions:
//   first link   p(t) = p0 + ((v0 + vc) t - (vc - v0) (aT/pi) sin(pi t / (aT))) / 2
//   middle link  p(t) = P1 + (t - aT) vc
//   third link   p(t) = P2 + ((vc + v1) u - (v1 - vc) (L/pi) sin(pi u / L)) / 2,  u = t - bT, L = (1 - b) T
// A blend's peak acceleration is |dv| pi / (2 duration); every blend stays within the limit A.
//
// in[7]:  [0] requested duration T (0 asks for the shortest), [1] p0, [2] v0, [3] p1, [4] v1,
//         [5] acceleration limit A (> 0), [6] time step dt (> 0; only checked).
// out[10]: [0] duration obtained, negative on failure: -1 wrong counts or pointers, -2 an input is not
//          finite, -3 A <= 0, dt <= 0 or T < 0, -4 the result is not representable;
//          [1] P1, [2] vc, [3] P2, [4] a, [5] b (fractions of the duration);
//          [6] time of the lowest position, [7] the lowest position, [8] time of the highest position,
//          [9] the highest position (over the whole profile, overshoot inside a blend included).
//
// Shortest duration: a half-cosine blend covers the same distance in the same time as a ramp at the
// constant acceleration 2A/pi, so the shortest profile is the bang-bang motion of the double
// integrator with that bound, in closed form (rest to rest: T = sqrt(2 pi |p1 - p0| / A)).
// Requested duration: when a profile lasts exactly T, its blends use the full A and its middle link
// cruises; with non-zero end velocities some durations cannot be met, and the profile of the
// nearest duration above T that can is returned (out[0] != T). A request below the shortest
// duration gets the shortest profile. A blend of zero length has a = 0 (or b = 1); the junction's
// time loop never evaluates it. Deterministic, no allocation.

#if defined(HARMONIC_BUILDING)
#define HARMONIC_API __attribute__((visibility("default")))
#else
#define HARMONIC_API
#endif

typedef void (*PFN_Harmonic_3Link_mode)(double* in, double* out, int nIn, int nOut);

extern "C" HARMONIC_API void Harmonic_3Link_mode(double* in, double* out, int nIn, int nOut);
