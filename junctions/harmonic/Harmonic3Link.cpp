#include "junctions/harmonic/Harmonic3Link.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double PI = 3.141592653589793;

struct Profilo {
    double T;
    double P1, vc, P2;
    double t1, tm, t2;  // durations of the three links
};

// Root of x^2 + b x + c = 0 picked by `maggiore`, computed without cancellation.
double Radice(double b, double c, bool maggiore)
{
    const double s = std::sqrt(std::max(0.0, b * b - 4.0 * c));
    const double q = b >= 0 ? -0.5 * (b + s) : -0.5 * (b - s);
    const double r1 = q;                               // the root of larger magnitude
    const double r2 = q != 0.0 ? c / q : 0.0;
    return maggiore ? std::max(r1, r2) : std::min(r1, r2);
}

// The profile with full-acceleration blends (bound ac = 2A/pi) that lasts T and travels D.
// The caller guarantees that one exists.
Profilo Costruisci(double T, double p0, double v0, double v1, double D, double ac)
{
    const double vmin = std::min(v0, v1), vmax = std::max(v0, v1);
    const double dv = vmax - vmin;
    const double rampa = 0.5 * (v0 + v1) * dv / ac;  // displacement of the direct ramp v0 -> v1
    const double crociera = T - dv / ac;             // cruise time when vc lies between v0 and v1
    double vc;
    if (D > rampa + vmax * crociera)
        // vc above both: vc^2 - (T ac + v0 + v1) vc + (v0^2 + v1^2)/2 + ac D = 0, root with cruise >= 0.
        vc = Radice(-(T * ac + v0 + v1), 0.5 * (v0 * v0 + v1 * v1) + ac * D, false);
    else if (D < rampa + vmin * crociera)
        // vc below both: vc^2 + (T ac - v0 - v1) vc + (v0^2 + v1^2)/2 - ac D = 0.
        vc = Radice(T * ac - v0 - v1, 0.5 * (v0 * v0 + v1 * v1) - ac * D, true);
    else if (crociera > 0)
        vc = std::clamp((D - rampa) / crociera, vmin, vmax);
    else
        vc = v1;  // a single ramp: the second blend vanishes
    Profilo p;
    p.T = T;
    p.vc = vc;
    p.t1 = std::fabs(vc - v0) / ac;
    p.t2 = std::fabs(vc - v1) / ac;
    if (p.t1 + p.t2 > T) {
        // Rounding at the bang-bang boundary: shrink the blends to fit, keeping their ratio.
        const double k = T / (p.t1 + p.t2);
        p.t1 *= k;
        p.t2 *= k;
    }
    p.tm = std::max(0.0, T - p.t1 - p.t2);
    p.P1 = p0 + 0.5 * (v0 + vc) * p.t1;
    p.P2 = p.P1 + vc * p.tm;
    return p;
}

// Least displacement reachable in T (down to vlo, then up) and the greatest (up to vhi, then down).
double SpostamentoMinimo(double T, double v0, double v1, double ac)
{
    const double vlo = 0.5 * (v0 + v1 - T * ac);
    return (v0 * v0 + v1 * v1 - 2.0 * vlo * vlo) / (2.0 * ac);
}

double SpostamentoMassimo(double T, double v0, double v1, double ac)
{
    const double vhi = 0.5 * (v0 + v1 + T * ac);
    return (2.0 * vhi * vhi - v0 * v0 - v1 * v1) / (2.0 * ac);
}

// Shortest duration: bang-bang through the peak velocity the displacement asks for.
double TempoMinimo(double v0, double v1, double D, double ac)
{
    const double rampa = 0.5 * (v0 + v1) * std::fabs(v1 - v0) / ac;
    const double q = 0.5 * (v0 * v0 + v1 * v1);
    if (D > rampa)
        return (2.0 * std::sqrt(q + ac * D) - v0 - v1) / ac;
    if (D < rampa)
        return (v0 + v1 + 2.0 * std::sqrt(std::max(0.0, q - ac * D))) / ac;
    return std::fabs(v1 - v0) / ac;
}

// Position and velocity of the profile at t, in the closed forms the junction evaluates.
double Posizione(const Profilo& p, double p0, double v0, double v1, double t)
{
    if (t <= p.t1)
        return p.t1 > 0 ? p0 + 0.5 * ((v0 + p.vc) * t - (p.vc - v0) * (p.t1 / PI) * std::sin(PI * t / p.t1)) : p0;
    if (t <= p.t1 + p.tm)
        return p.P1 + (t - p.t1) * p.vc;
    const double u = std::min(t - p.t1 - p.tm, p.t2);
    return p.t2 > 0 ? p.P2 + 0.5 * ((p.vc + v1) * u - (v1 - p.vc) * (p.t2 / PI) * std::sin(PI * u / p.t2)) : p.P2;
}

// Time inside a blend of duration d from va to vb at which the velocity is zero, or -1.
double ZeroVelocita(double va, double vb, double d)
{
    if (d <= 0 || !((va < 0 && vb > 0) || (va > 0 && vb < 0)))
        return -1.0;
    const double c = std::clamp(1.0 + 2.0 * va / (vb - va), -1.0, 1.0);
    return d / PI * std::acos(c);
}

void Scrivi(double* out, const Profilo& p, double p0, double v0, double p1, double v1)
{
    double tMin = 0.0, pMin = p0, tMax = 0.0, pMax = p0;
    auto considera = [&](double t, double pos) {
        if (pos < pMin) {
            pMin = pos;
            tMin = t;
        }
        if (pos > pMax) {
            pMax = pos;
            tMax = t;
        }
    };
    considera(p.T, p1);
    considera(p.t1, p.P1);
    considera(p.t1 + p.tm, p.P2);
    const double z1 = ZeroVelocita(v0, p.vc, p.t1);
    if (z1 >= 0)
        considera(z1, Posizione(p, p0, v0, v1, z1));
    const double z2 = ZeroVelocita(p.vc, v1, p.t2);
    if (z2 >= 0)
        considera(p.t1 + p.tm + z2, Posizione(p, p0, v0, v1, p.t1 + p.tm + z2));
    const double T = p.T;
    out[0] = T;
    out[1] = p.P1;
    out[2] = p.vc;
    out[3] = p.P2;
    out[4] = T > 0 ? p.t1 / T : 0.0;
    out[5] = T > 0 ? (p.t1 + p.tm) / T : 0.0;
    out[6] = tMin;
    out[7] = pMin;
    out[8] = tMax;
    out[9] = pMax;
}

}  // namespace

extern "C" void Harmonic_3Link_mode(double* in, double* out, int nIn, int nOut)
{
    if (out == nullptr || nOut < 1)
        return;
    if (in == nullptr || nIn != 7 || nOut != 10) {
        out[0] = -1.0;
        return;
    }
    for (int i = 0; i < 7; ++i)
        if (!std::isfinite(in[i])) {
            out[0] = -2.0;
            return;
        }
    const double richiesto = in[0], p0 = in[1], v0 = in[2], p1 = in[3], v1 = in[4], A = in[5], dt = in[6];
    if (A <= 0 || dt <= 0 || richiesto < 0) {
        out[0] = -3.0;
        return;
    }
    const double ac = 2.0 * A / PI;
    const double D = p1 - p0;
    double T = TempoMinimo(v0, v1, D, ac);
    if (richiesto > T) {
        T = richiesto;
        // Durations the end velocities make unreachable: move to the nearest reachable one above.
        if (D < SpostamentoMinimo(T, v0, v1, ac))
            T = (v0 + v1 + 2.0 * std::sqrt(std::max(0.0, 0.5 * (v0 * v0 + v1 * v1) - ac * D))) / ac;
        else if (D > SpostamentoMassimo(T, v0, v1, ac))
            T = (2.0 * std::sqrt(0.5 * (v0 * v0 + v1 * v1) + ac * D) - v0 - v1) / ac;
        T = std::max(T, richiesto);
    }
    if (!std::isfinite(T)) {
        out[0] = -4.0;
        return;
    }
    const Profilo p = Costruisci(T, p0, v0, v1, D, ac);
    Scrivi(out, p, p0, v0, p1, v1);
    for (int i = 0; i < 10; ++i)
        if (!std::isfinite(out[i])) {
            out[0] = -4.0;
            return;
        }
}

#if defined(HARMONIC_RUNTIME_LIBRARY)
// Status entry the run-time library must export; the system only checks that it is there.
extern "C" __attribute__((visibility("default"))) int LVDLLStatus(char* errStr, int errStrLen, void* module)
{
    (void)module;
    if (errStr != nullptr && errStrLen > 0)
        errStr[0] = '\0';
    return 0;
}
#endif
