#include "junctions/harmonic/Harmonic3Link.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double PI = 3.141592653589793;

// The data of one motion, with the ramp bound c = 2A/pi that stands in for the cosine blends.
struct Moto {
    double p0, v0, p1, v1;
    double c;
    double D;                 // p1 - p0
    double q;                 // (v0^2 + v1^2) / 2
    double vmin, vmax;        // the end velocities, ordered
    double tRampa, dRampa;    // duration and distance of the single ramp from v0 to v1
};

// A profile by its middle velocity and the durations of the three links.
struct Profilo {
    double T;
    double vc;
    double t1, tm, t2;
};

Moto Prepara(const double* in)
{
    Moto m;
    m.p0 = in[1];
    m.v0 = in[2];
    m.p1 = in[3];
    m.v1 = in[4];
    m.c = 2.0 * in[5] / PI;
    m.D = m.p1 - m.p0;
    m.q = 0.5 * (m.v0 * m.v0 + m.v1 * m.v1);
    m.vmin = std::min(m.v0, m.v1);
    m.vmax = std::max(m.v0, m.v1);
    m.tRampa = (m.vmax - m.vmin) / m.c;
    m.dRampa = 0.5 * (m.v0 + m.v1) * m.tRampa;
    return m;
}

// Bang-bang at the bound c with no cruise, through the peak velocity vc beyond both end velocities.
Profilo SenzaCrociera(const Moto& m, double vc)
{
    Profilo p;
    p.vc = vc;
    p.t1 = std::fabs(vc - m.v0) / m.c;
    p.t2 = std::fabs(vc - m.v1) / m.c;
    p.tm = 0.0;
    p.T = p.t1 + p.t2;
    return p;
}

// Up to the peak sqrt(q + cD), then down: the reverse ramp. Needs q + cD >= 0.
Profilo PrimaSu(const Moto& m)
{
    return SenzaCrociera(m, std::max(std::sqrt(std::max(0.0, m.q + m.c * m.D)), m.vmax));
}

// Down to -sqrt(q - cD), then up.
Profilo PrimaGiu(const Moto& m)
{
    return SenzaCrociera(m, std::min(-std::sqrt(std::max(0.0, m.q - m.c * m.D)), m.vmin));
}

// The shortest profile: the single ramp distance decides which way the peak goes.
Profilo Minimo(const Moto& m)
{
    return m.D >= m.dRampa ? PrimaSu(m) : PrimaGiu(m);
}

// The profile of duration T with full-acceleration blends and a cruise. The distance grows with vc
// (its slope is the cruise time), from the cruise-free profile through vlo to the one through vhi;
// the caller has checked that D lies in that range, up to rounding.
Profilo ConDurata(const Moto& m, double T)
{
    Profilo p;
    p.T = T;
    const double crociera = T - m.tRampa;  // cruise time when vc lies between the end velocities
    if (m.D >= m.dRampa + m.vmax * crociera) {
        // Above both: vc^2 - 2 vhi vc + (q + cD) = 0, the root below the vertex vhi; the cruise is
        // twice the root's distance from the vertex over c.
        const double vhi = 0.5 * (m.v0 + m.v1 + m.c * T);
        const double s = std::sqrt(std::max(0.0, vhi * vhi - (m.q + m.c * m.D)));
        p.vc = std::max(vhi - s, m.vmax);
        p.t1 = (p.vc - m.v0) / m.c;
        p.t2 = (p.vc - m.v1) / m.c;
    } else if (m.D <= m.dRampa + m.vmin * crociera) {
        // Below both: vc^2 - 2 vlo vc + (q - cD) = 0, the root above the vertex vlo.
        const double vlo = 0.5 * (m.v0 + m.v1 - m.c * T);
        const double s = std::sqrt(std::max(0.0, vlo * vlo - (m.q - m.c * m.D)));
        p.vc = std::min(vlo + s, m.vmin);
        p.t1 = (m.v0 - p.vc) / m.c;
        p.t2 = (m.v1 - p.vc) / m.c;
    } else {
        // Between them the blends together make the single ramp; the cruise covers the rest.
        p.vc = std::clamp((m.D - m.dRampa) / crociera, m.vmin, m.vmax);
        p.t1 = std::fabs(p.vc - m.v0) / m.c;
        p.t2 = std::fabs(p.vc - m.v1) / m.c;
    }
    p.tm = std::max(0.0, T - p.t1 - p.t2);
    return p;
}

// The profile for a request: the shortest one below it, else T itself when some profile lasts T,
// else the nearest duration above T that one can last.
Profilo Scegli(const Moto& m, double richiesto)
{
    const Profilo minimo = Minimo(m);
    if (!(richiesto > minimo.T))
        return minimo;
    const double T = richiesto;
    const double vlo = 0.5 * (m.v0 + m.v1 - m.c * T), vhi = 0.5 * (m.v0 + m.v1 + m.c * T);
    // Out of reach when the cruise-free profile through vhi falls short of D (or the one through vlo
    // overshoots it): the next duration that reaches D is the other root, the reverse bang-bang.
    // A root no longer than T is rounding at the edge of the range: the cruise-free profile of T fits.
    if (m.q + m.c * m.D > vhi * vhi) {
        const Profilo oltre = PrimaSu(m);
        if (oltre.T > T)
            return oltre;
    } else if (m.q - m.c * m.D > vlo * vlo) {
        const Profilo oltre = PrimaGiu(m);
        if (oltre.T > T)
            return oltre;
    }
    return ConDurata(m, T);
}

// Position at t, with the junction's own formulas over the links [0, aT], [aT, bT], [bT, T].
double Posizione(const Moto& m, double T, double P1, double vc, double P2, double a, double b, double t)
{
    const double d1 = a * T, L = (1.0 - b) * T;
    if (t <= d1 && d1 > 0.0)
        return m.p0 + 0.5 * ((m.v0 + vc) * t - (vc - m.v0) * (d1 / PI) * std::sin(PI * t / d1));
    if (t <= b * T || L <= 0.0)
        return P1 + (t - d1) * vc;
    const double u = t - b * T;
    return P2 + 0.5 * ((vc + m.v1) * u - (m.v1 - vc) * (L / PI) * std::sin(PI * u / L));
}

// Time within a blend of duration d from va to vb at which the velocity crosses zero, or -1.
double ZeroVelocita(double va, double vb, double d)
{
    if (!(d > 0.0) || !((va < 0.0 && vb > 0.0) || (va > 0.0 && vb < 0.0)))
        return -1.0;
    // v(s) = (va + vb)/2 - (vb - va)/2 cos(pi s / d)
    return d / PI * std::acos(std::clamp((va + vb) / (vb - va), -1.0, 1.0));
}

void Scrivi(double* out, const Moto& m, const Profilo& p)
{
    const double T = p.T, vc = p.vc;
    // Fractions of T; the third link's length is what the second blend needs, so b comes from t2.
    const double a = T > 0.0 ? std::clamp(p.t1 / T, 0.0, 1.0) : 0.0;
    const double b = T > 0.0 ? std::clamp(1.0 - p.t2 / T, a, 1.0) : 0.0;
    const double P1 = m.p0 + 0.5 * (m.v0 + vc) * (a * T);
    // Taken back from the end, so that the last link lands on p1.
    const double P2 = m.p1 - 0.5 * (vc + m.v1) * ((1.0 - b) * T);

    double tMin = 0.0, pMin = m.p0, tMax = 0.0, pMax = m.p0;
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
    considera(a * T, P1);
    considera(b * T, P2);
    considera(T, m.p1);
    const double z1 = ZeroVelocita(m.v0, vc, a * T);
    if (z1 >= 0.0)
        considera(z1, Posizione(m, T, P1, vc, P2, a, b, z1));
    const double z2 = ZeroVelocita(vc, m.v1, (1.0 - b) * T);
    if (z2 >= 0.0) {
        const double t = b * T + z2;
        considera(t, Posizione(m, T, P1, vc, P2, a, b, t));
    }
    out[0] = T;
    out[1] = P1;
    out[2] = vc;
    out[3] = P2;
    out[4] = a;
    out[5] = b;
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
    if (in[5] <= 0.0 || in[6] <= 0.0 || in[0] < 0.0) {
        out[0] = -3.0;
        return;
    }
    const Moto m = Prepara(in);
    const Profilo p = Scegli(m, in[0]);
    double risultato[10];
    Scrivi(risultato, m, p);
    // Inputs near the double range can overflow on the way (c tiny, velocities huge).
    for (double x : risultato)
        if (!std::isfinite(x)) {
            out[0] = -4.0;
            return;
        }
    std::copy(risultato, risultato + 10, out);
}

#if defined(HARMONIC_RUNTIME_LIBRARY)
extern "C" int LVDLLStatus(char* errStr, int errStrLen, void* module)
{
    (void)module;
    if (errStr != nullptr && errStrLen > 0)
        errStr[0] = '\0';
    return 0;
}
#endif
