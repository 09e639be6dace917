#pragma once

// The harmonic three-link profile of one axis: our own implementation of the outside function the
// harmonic junctions call. One source is built twice: into libArmonicJunction.so, which libkorvane
// links, and into the optional run-time library Harmonic_3Link_mode_stdC, loaded by name. Both
// export Harmonic_3Link_mode; only the run-time library also exports LVDLLStatus. Nothing else is
// visible, and neither library uses anything but the C++ standard library.
//
// The profile. The velocity blends by a half cosine from v0 to vc over [0, aT], stays at vc over
// [aT, bT] and blends by a half cosine from vc to v1 over [bT, T]. Positions:
//   first link   p(t) = p0 + ((v0 + vc) t - (vc - v0) (aT/pi) sin(pi t / (aT))) / 2
//   middle link  p(t) = P1 + (t - aT) vc
//   third link   p(t) = P2 + ((vc + v1) u - (v1 - vc) (L/pi) sin(pi u / L)) / 2,  u = t - bT, L = (1 - b) T
// so P1 = p0 + (v0 + vc) aT / 2, P2 = P1 + vc (b - a) T and p1 = P2 + (vc + v1) L / 2.
// A blend of duration d from va to vb peaks at the acceleration |vb - va| pi / (2 d); no blend
// goes beyond the limit A, up to rounding: vc and the fractions a, b are doubles, so a blend's
// velocity change meets its duration only to a few ulps of the velocities and of T (seen as a
// relative excess only when the change is tiny beside the velocities, or the blend beside T).
// Positions are kept exact instead: the links meet, and the last one lands on p1, to a few ulps.
//
// Input, 7 doubles:
//   [0] requested duration T, s (0 asks for the shortest one), [1] p0, [2] v0, [3] p1, [4] v1,
//   [5] acceleration limit A (> 0), [6] time step dt (> 0; checked, not otherwise used).
// Output, 10 doubles:
//   [0] duration obtained, s; negative on failure:
//       -1 nIn is not 7, nOut is not 10 or in is null (with nOut < 1 or out null nothing is written),
//       -2 an input is not finite, -3 A <= 0, dt <= 0 or T < 0, -4 the result overflows;
//       on failure only out[0] is written;
//   [1] P1, [2] vc, [3] P2, [4] a, [5] b (fractions of the duration, 0 <= a <= b <= 1);
//   [6] the time at which the lowest position is reached, [7] the lowest position,
//   [8] the time at which the highest position is reached, [9] the highest position: over the
//       whole profile, ends and overshoot inside a blend included.
//
// Shortest duration. A half-cosine blend covers the same distance in the same time as a ramp at the
// constant acceleration c = 2A/pi, so the shortest profile is the bang-bang motion of the double
// integrator under the bound c, with no cruise. With D = p1 - p0, q = (v0^2 + v1^2)/2 and
// Dr = (v0 + v1) |v1 - v0| / (2c) the distance of the single ramp from v0 to v1:
//   D > Dr:  vc = sqrt(q + c D),   T = (2 vc - v0 - v1) / c   (up to vc, then down to v1)
//   D < Dr:  vc = -sqrt(q - c D),  T = (v0 + v1 - 2 vc) / c   (down to vc, then up to v1)
//   D = Dr:  the single ramp, T = |v1 - v0| / c, given as the first blend (vc = v1, a = b = 1)
// (just beside Dr, on the side the end velocities point away from, the axis must turn round and T
// jumps: both negative with D just above Dr, both positive with D just below).
// Rest to rest this is T = sqrt(2 pi |D| / A). out[0] is that T, not rounded to whole steps. Each
// blend's share |vc - v| / c is worked out from (vc^2 - v^2) / (|vc| + |v|) when vc and v lie on
// the same side of zero, so a tiny correction to a fast cruise keeps its digits.
//
// Requested duration T. When some profile lasts exactly T, the one returned has both blends at the
// full acceleration and a cruise (its distance grows with vc, one quadratic gives vc) and out[0] is
// T itself. With moving ends some durations above the shortest are out of reach (at v0 = v1 = v > 0
// with D = 0, everything between 0 and 4v/c); the profile of the nearest reachable duration above T
// is returned, a cruise-free one, with out[0] > T. A request below the shortest duration gets the
// shortest profile. Where the full-acceleration profile of T would have a blend shorter than dt,
// which the junction's whole-step samples cannot follow, the profile of two blends of T/2 each is
// returned instead whenever it stays within A.
//
// Zero-length links. A blend with nothing to change has zero length: a = 0 when vc = v0, b = 1 when
// vc = v1, a = b when there is no cruise. The junction's time loop samples from t = dt with half a
// step of slack, so it never evaluates a first link of zero length (t <= aT + dt/2 fails) nor a
// third link of zero length (t > bT + dt/2 fails up to t = T); no formula divides by zero there.
//
// Deterministic, no allocation, no state: safe to call from any thread.

#if defined(HARMONIC_BUILDING)
#define HARMONIC_API __attribute__((visibility("default")))
#else
#define HARMONIC_API
#endif

// The caller holds the function through this pointer type; the declaration below matches it exactly.
typedef void (*PFN_Harmonic_3Link_mode)(double* in, double* out, int nIn, int nOut);

extern "C" HARMONIC_API void Harmonic_3Link_mode(double* in, double* out, int nIn, int nOut);

// Exported by the run-time library only, where the loader checks that it is present; nobody calls
// it. It empties errStr (when errStrLen > 0) and returns 0.
typedef int (*PFN_LVDLLStatus)(char* errStr, int errStrLen, void* module);

#if defined(HARMONIC_RUNTIME_LIBRARY)
extern "C" HARMONIC_API int LVDLLStatus(char* errStr, int errStrLen, void* module);
#endif
