#include "junctions/harmonic/Harmonic3Link.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double PI = 3.141592653589793;

// The data of one motion, with the ramp bound c = 2A/pi that stands in for the cosine blends.
// Everything below is written with the mean m and the half difference w of the end velocities and
// with E = D - mT, so that no small quantity comes out of two large ones that nearly cancel (an axis
// cruising fast with a tiny correction to make is the common case).
struct Moto {
    double v0, v1, p0, p1;
    double c;
    double D;               // p1 - p0
    double m, w;            // (v0 + v1) / 2, (v1 - v0) / 2
    double q;               // (v0^2 + v1^2) / 2
    double tRampa, dRampa;  // duration and distance of the single ramp from v0 to v1
};

// A profile by its duration, its middle velocity and the durations of the two blends; the cruise
// takes the rest.
struct Profilo {
    double T;
    double vc;
    double t1, t2;
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
    m.m = 0.5 * (m.v0 + m.v1);
    m.w = 0.5 * (m.v1 - m.v0);
    m.q = 0.5 * (m.v0 * m.v0 + m.v1 * m.v1);
    m.tRampa = 2.0 * std::fabs(m.w) / m.c;
    m.dRampa = m.m * m.tRampa;
    return m;
}

// |peak - v| for a peak of magnitude r beyond v. On the same side as v it is (r^2 - v^2)/(r + |v|),
// with r^2 - v^2 given apart, exact enough even when the peak barely passes v.
double Scarto(double r, double v, bool stessoLato, double differenzaQuadrati)
{
    if (!stessoLato)
        return r + std::fabs(v);
    return std::max(0.0, differenzaQuadrati) / (r + std::fabs(v));
}

// Bang-bang up to the peak sqrt(q + cD), then down: no cruise.
Profilo PrimaSu(const Moto& m)
{
    const double r = std::sqrt(std::max(0.0, m.q + m.c * m.D));
    const double mw2 = 2.0 * m.m * m.w;  // (v1^2 - v0^2) / 2
    return {0.0, r, Scarto(r, m.v0, m.v0 > 0.0, mw2 + m.c * m.D) / m.c, Scarto(r, m.v1, m.v1 > 0.0, m.c * m.D - mw2) / m.c};
}

// Bang-bang down to the peak -sqrt(q - cD), then up.
Profilo PrimaGiu(const Moto& m)
{
    const double r = std::sqrt(std::max(0.0, m.q - m.c * m.D));
    const double mw2 = 2.0 * m.m * m.w;
    return {0.0, -r, Scarto(r, m.v0, m.v0 < 0.0, mw2 - m.c * m.D) / m.c, Scarto(r, m.v1, m.v1 < 0.0, -mw2 - m.c * m.D) / m.c};
}

// No cruise: the duration is the two blends.
Profilo SenzaCrociera(Profilo p)
{
    p.T = p.t1 + p.t2;
    return p;
}

// The shortest profile: the single ramp distance decides which way the peak goes. Exactly on it the
// single ramp is the whole profile, kept as the first blend (vc = v1, a = b = 1); just beside it,
// with both end velocities on the far side, the peak must reverse and the duration jumps.
Profilo Minimo(const Moto& m)
{
    if (m.D == m.dRampa)
        return {m.tRampa, m.v1, m.tRampa, 0.0};
    return SenzaCrociera(m.D > m.dRampa ? PrimaSu(m) : PrimaGiu(m));
}

// The profile of duration T >= the single ramp with full-acceleration blends and a cruise. Its
// distance grows with vc (the slope is the cruise time): through the end velocities' range it is
// the single ramp plus the cruise, vc = m + E / (T - tRampa); beyond it vc solves a quadratic whose
// vertex, at vc = m +- cT/2, is the cruise-free profile. The caller has checked that D lies in
// reach, up to rounding.
Profilo ConDurata(const Moto& m, double T)
{
    const double h = 0.5 * m.c * T, aw = std::fabs(m.w);
    const double crociera = std::max(0.0, T - m.tRampa);
    const double E = m.D - m.m * T;
    const double g = std::max(0.0, (h - aw) * (h + aw));
    Profilo p;
    p.T = T;
    if (E >= aw * crociera) {
        // Above both end velocities; s is the distance of vc below the vertex.
        const double s = std::clamp(std::sqrt(std::max(0.0, g - m.c * E)), 0.0, std::max(0.0, h - aw));
        p.vc = m.m + h - s;
        p.t1 = (h + m.w - s) / m.c;
        p.t2 = (h - m.w - s) / m.c;
    } else if (E <= -aw * crociera) {
        // Below both, s above the vertex.
        const double s = std::clamp(std::sqrt(std::max(0.0, g + m.c * E)), 0.0, std::max(0.0, h - aw));
        p.vc = m.m - h + s;
        p.t1 = (h - m.w - s) / m.c;
        p.t2 = (h + m.w - s) / m.c;
    } else {
        const double dv = std::clamp(E / crociera, -aw, aw);  // vc - m
        p.vc = m.m + dv;
        p.t1 = std::fabs(dv + m.w) / m.c;
        p.t2 = std::fabs(dv - m.w) / m.c;
    }
    p.t1 = std::max(0.0, p.t1);
    p.t2 = std::max(0.0, p.t2);
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
    const double h = 0.5 * m.c * T, aw = std::fabs(m.w);
    const double g = (h - aw) * (h + aw), cE = m.c * (m.D - m.m * T);
    // Out of reach when the cruise-free profile through m + cT/2 falls short of D (cE > g), or the
    // one through m - cT/2 overshoots it (-cE > g): the next duration that reaches D is the other
    // root there, the bang-bang the other way round. A root no longer than T is rounding at the edge
    // of the range, where the cruise-free profile of T fits.
    if (cE > g) {
        const Profilo oltre = SenzaCrociera(PrimaSu(m));
        if (oltre.T > T)
            return oltre;
    } else if (-cE > g) {
        const Profilo oltre = SenzaCrociera(PrimaGiu(m));
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

// The junction samples at whole steps and picks a link with half a step of slack, so a blend shorter
// than dt falls between its samples and its last step misses p1. When two blends of half the
// duration each stay within the limit, that profile of the family is taken instead.
Profilo ConBlendVisibili(const Moto& m, const Profilo& p, double dt)
{
    const bool corta = (p.t1 > 0.0 && p.t1 < dt) || (p.t2 > 0.0 && p.t2 < dt);
    if (!corta || !(p.T >= 2.0 * dt))
        return p;
    const double vc = 2.0 * m.D / p.T - m.m;
    const double limite = 0.5 * m.c * p.T;  // |dv| pi / T <= A
    if (std::fabs(vc - m.v0) > limite || std::fabs(vc - m.v1) > limite)
        return p;
    Profilo meta = p;
    meta.vc = vc;
    meta.t1 = meta.t2 = 0.5 * p.T;
    return meta;
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
    const Profilo p = ConBlendVisibili(m, Scegli(m, in[0]), in[6]);
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
