#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "junctions/harmonic/Harmonic3Link.h"

namespace {

constexpr double PI = 3.141592653589793;

struct Ingresso {
    double T, p0, v0, p1, v1, A, dt;
};

struct Uscita {
    double o[10];
};

Uscita Chiama(const Ingresso& i)
{
    double in[7] = {i.T, i.p0, i.v0, i.p1, i.v1, i.A, i.dt};
    Uscita u{};
    Harmonic_3Link_mode(in, u.o, 7, 10);
    return u;
}

// The profile exactly as the junction's time loop evaluates it.
double PosizioneCaller(const Uscita& u, const Ingresso& i, double t)
{
    const double T = u.o[0], P1 = u.o[1], vc = u.o[2], P2 = u.o[3], a = u.o[4], b = u.o[5];
    if (t <= a * T && a > 0)
        return i.p0 + 0.5 * ((i.v0 + vc) * t - (vc - i.v0) * (a * T / PI) * std::sin(PI * t / (a * T)));
    if (t <= b * T || b >= 1.0)
        return P1 + (t - a * T) * vc;
    const double uu = t - b * T, L = (1 - b) * T;
    return P2 + 0.5 * ((vc + i.v1) * uu - (i.v1 - vc) * (L / PI) * std::sin(PI * uu / L));
}

// Shortest double-integrator time with bound ac, by the switching-velocity equation solved for the
// switching time directly: an independent derivation of the same bound.
double TempoMinimoRiferimento(double v0, double v1, double D, double ac)
{
    // Try both signs of the first arc; take the smallest feasible total time.
    double migliore = INFINITY;
    for (int s : {+1, -1}) {
        // First arc at acceleration s*ac for t1, second at -s*ac for t2: v1 = v0 + s ac (t1 - t2),
        // D = v0 t1 + s ac t1^2/2 + (v0 + s ac t1) t2 - s ac t2^2/2. Eliminate t2 = t1 - (v1 - v0)/(s ac).
        const double k = (v1 - v0) / (s * ac);
        // D = v0 t1 + s ac t1^2/2 + (v0 + s ac t1)(t1 - k) - s ac (t1 - k)^2/2  -> quadratic in t1.
        const double qa = s * ac;
        const double qb = 2 * v0;
        const double qc = -v0 * k - s * ac * k * k / 2 - D;
        const double disc = qb * qb - 4 * qa * qc;
        if (disc < 0)
            continue;
        for (double sg : {+1.0, -1.0}) {
            const double t1 = (-qb + sg * std::sqrt(disc)) / (2 * qa);
            const double t2 = t1 - k;
            if (t1 >= -1e-12 && t2 >= -1e-12)
                migliore = std::min(migliore, std::max(0.0, t1) + std::max(0.0, t2));
        }
    }
    return migliore;
}

double Scala(const Ingresso& i, double T)
{
    return std::max({1.0, std::fabs(i.p0), std::fabs(i.p1), std::fabs(i.v0) * T, std::fabs(i.v1) * T});
}

Ingresso Casuale(std::mt19937_64& g, bool richiesto)
{
    std::uniform_real_distribution<double> pos(-300.0, 300.0), vel(-80.0, 80.0), acc(1.0, 500.0), u(0.0, 1.0);
    Ingresso i{0.0, pos(g), vel(g), pos(g), vel(g), acc(g), 0.02};
    const double forma = u(g);
    if (forma < 0.1)
        i.v0 = 0.0;
    else if (forma < 0.2)
        i.v1 = 0.0;
    else if (forma < 0.3)
        i.v1 = i.v0;
    else if (forma < 0.35)
        i.p1 = i.p0;
    else if (forma < 0.4)
        i.v0 = i.v1 = 0.0;
    if (richiesto) {
        double m[7] = {0, i.p0, i.v0, i.p1, i.v1, i.A, i.dt}, o[10];
        Harmonic_3Link_mode(m, o, 7, 10);
        i.T = o[0] * (1.0 + 3.0 * u(g)) + u(g);
    }
    return i;
}

}  // namespace

TEST(Harmonic, ProprietaSuCentomilaCasiCasuali)
{
    std::mt19937_64 g(20261205);
    int nonRaggiungibili = 0;
    for (int n = 0; n < 100000; ++n) {
        const Ingresso i = Casuale(g, n % 2 == 1);
        const Uscita u = Chiama(i);
        const double T = u.o[0];
        ASSERT_GE(T, 0.0) << n;
        if (i.T > 0) {
            ASSERT_GE(T, i.T * (1 - 1e-12)) << n;
            nonRaggiungibili += T != i.T;
        }
        const double s = Scala(i, T);
        const double a = u.o[4], b = u.o[5], vc = u.o[2];
        ASSERT_GE(a, 0.0);
        ASSERT_LE(a, b);
        ASSERT_LE(b, 1.0);
        // Ends, and the link boundaries meet.
        ASSERT_NEAR(PosizioneCaller(u, i, T), i.p1, 1e-9 * s) << n;
        ASSERT_NEAR(u.o[1] + (b - a) * T * vc, u.o[3], 1e-9 * s) << n;
        ASSERT_NEAR(i.p0 + 0.5 * (i.v0 + vc) * a * T, u.o[1], 1e-9 * s) << n;
        // No blend beyond the limit.
        if (a > 0) {
            ASSERT_LE(std::fabs(vc - i.v0) * PI / (2 * a * T), i.A * (1 + 1e-9)) << n;
        }
        if (b < 1) {
            ASSERT_LE(std::fabs(i.v1 - vc) * PI / (2 * (1 - b) * T), i.A * (1 + 1e-9)) << n;
        }
        // The reported extremes bound the samples and are reached.
        double lo = INFINITY, hi = -INFINITY;
        for (int k = 0; k <= 200; ++k) {
            const double p = PosizioneCaller(u, i, T * k / 200.0);
            lo = std::min(lo, p);
            hi = std::max(hi, p);
        }
        ASSERT_LE(u.o[7], lo + 1e-9 * s) << n;
        ASSERT_GE(u.o[9], hi - 1e-9 * s) << n;
        ASSERT_NEAR(PosizioneCaller(u, i, u.o[6]), u.o[7], 1e-9 * s) << n;
        ASSERT_NEAR(PosizioneCaller(u, i, u.o[8]), u.o[9], 1e-9 * s) << n;
        if (i.T == 0) {
            const double rif = TempoMinimoRiferimento(i.v0, i.v1, i.p1 - i.p0, 2 * i.A / PI);
            ASSERT_NEAR(T, rif, 1e-9 * std::max(1.0, rif)) << n;
        }
    }
    // Some requested durations are out of reach with moving ends; they must occur in the sample.
    EXPECT_GT(nonRaggiungibili, 100);
}

TEST(Harmonic, ForzaBrutaNonTrovaNullaDiPiuBreve)
{
    // For each middle velocity on a fine grid, the shortest profile of the family through it:
    // blends at full acceleration and a cruise for whatever displacement is left.
    std::mt19937_64 g(7);
    for (int n = 0; n < 300; ++n) {
        const Ingresso i = Casuale(g, false);
        const double ac = 2 * i.A / PI, D = i.p1 - i.p0;
        const double Tmin = Chiama(i).o[0];
        const double span = 4 * (std::fabs(i.v0) + std::fabs(i.v1) + std::sqrt(ac * std::fabs(D)) + 1);
        for (int k = 0; k <= 4000; ++k) {
            const double vc = -span + 2 * span * k / 4000.0;
            const double t1 = std::fabs(vc - i.v0) / ac, t2 = std::fabs(vc - i.v1) / ac;
            const double resto = D - 0.5 * (i.v0 + vc) * t1 - 0.5 * (vc + i.v1) * t2;
            if (vc == 0.0 ? resto != 0.0 : resto / vc < 0)
                continue;
            const double T = t1 + t2 + (vc == 0.0 ? 0.0 : resto / vc);
            ASSERT_GE(T, Tmin * (1 - 1e-9) - 1e-12) << n << " vc " << vc;
        }
    }
}

TEST(Harmonic, CasiNoti)
{
    const struct {
        Ingresso i;
        double T;
    } casi[] = {
        {{0, 0, 0, 10, 0, 100, 0.02}, std::sqrt(2 * PI * 10 / 100)},
        {{0, 5, 0, -15, 0, 40, 0.01}, std::sqrt(2 * PI * 20 / 40)},
        {{0, 3, 0, 3, 0, 10, 0.02}, 0.0},
        {{2.5, 3, 0, 3, 0, 10, 0.02}, 2.5},
        {{0, 0, 10, 0, 10, 1, 0.02}, 0.0},
        // Moving at 10 mm/s with nothing to travel: 4 v / (2A/pi) to go back and forth.
        {{1.0, 0, 10, 0, 10, PI / 2, 0.02}, 40.0},
        {{0, 0, -20, 0, 20, PI / 2, 0.02}, 40.0},
    };
    for (const auto& c : casi) {
        const Uscita u = Chiama(c.i);
        EXPECT_NEAR(u.o[0], c.T, 1e-12) << c.i.p1;
    }
}

TEST(Harmonic, IngressiCattivi)
{
    const double nan = std::nan(""), inf = INFINITY;
    const struct {
        double in[7];
        int nIn, nOut;
    } casi[] = {
        {{0, 0, 0, 1, 0, 1, 0.02}, 6, 10},   {{0, 0, 0, 1, 0, 1, 0.02}, 7, 9},   {{0, 0, 0, 1, 0, 1, 0.02}, 7, 11},
        {{nan, 0, 0, 1, 0, 1, 0.02}, 7, 10}, {{0, inf, 0, 1, 0, 1, 0.02}, 7, 10}, {{0, 0, 0, 1, -inf, 1, 0.02}, 7, 10},
        {{0, 0, 0, 1, 0, 0, 0.02}, 7, 10},   {{0, 0, 0, 1, 0, -1, 0.02}, 7, 10},  {{0, 0, 0, 1, 0, 1, 0}, 7, 10},
        {{0, 0, 0, 1, 0, 1, -0.1}, 7, 10},   {{-1, 0, 0, 1, 0, 1, 0.02}, 7, 10},  {{0, 0, 1e300, 1, -1e300, 1e-300, 1}, 7, 10},
    };
    for (const auto& c : casi) {
        double in[7];
        std::copy(c.in, c.in + 7, in);
        double out[12];
        std::fill(out, out + 12, 123.0);
        Harmonic_3Link_mode(in, out, c.nIn, std::min(c.nOut, 12));
        EXPECT_LT(out[0], 0.0) << c.nIn << " " << c.nOut << " " << c.in[0];
        for (int k = std::max(c.nOut, 1); k < 12; ++k)
            EXPECT_EQ(out[k], 123.0);
    }
    double in[7] = {0, 0, 0, 1, 0, 1, 0.02}, out[1] = {5.0};
    Harmonic_3Link_mode(in, out, 7, 0);
    EXPECT_EQ(out[0], 5.0);
    Harmonic_3Link_mode(nullptr, out, 7, 1);
    EXPECT_LT(out[0], 0.0);
    Harmonic_3Link_mode(in, nullptr, 7, 10);
}
