#include "trajectories/GraficoTuning.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

CArray<double> GraficoTuning;

constexpr double TOLLERANZA = 0.0001;
// Halving [0, 1] this often leaves an interval below a double's resolution: a search still not
// within the tolerance is hopeless (points whose x do not increase) and gives up the segment.
constexpr int BISEZIONI_MAX = 200;

// One coordinate of a cubic Bezier segment, from its four control values.
struct Bezier {
    double c[4];
    double operator()(double t) const
    {
        const double u = 1.0 - t;
        return c[0] * (u * u * u) + c[1] * (3.0 * t * u * u) + c[2] * (3.0 * t * t * u) + c[3] * (t * t * t);
    }
};

// Walks one segment in whole index steps from `precedente`, which it leaves where the walk ends,
// appending each value to g. fine is the segment's end point.
void Percorri(const Bezier& bx, const Bezier& by, const CPunto2DKorvane& fine, CPunto2DKorvane& precedente,
              std::vector<double>& g)
{
    double inizio = 0.0;
    for (;;) {
        double basso = inizio, alto = 1.0, t = 1.0;
        double delta = fine.X - precedente.X;
        if (delta < 1.0 - TOLLERANZA)
            break;
        if (delta < 1.0 + TOLLERANZA) {
            g.push_back(fine.Y);
            precedente = fine;
            break;
        }
        int passi = 0;
        while (std::fabs(delta - 1.0) > TOLLERANZA && passi++ < BISEZIONI_MAX) {
            if (delta > 1.0)
                alto = t;
            else
                basso = t;
            t = (basso + alto) / 2.0;
            delta = bx(t) - precedente.X;
        }
        if (!(std::fabs(delta - 1.0) <= TOLLERANZA))
            break;
        precedente = CPunto2DKorvane(bx(t), by(t));
        g.push_back(precedente.Y);
        inizio = t;
    }
}

// The segments walked lately. A segment's walk depends only on the x it starts from and on its
// control values, so a designer's drag of one tuning point walks again only the few segments whose
// handles it moves; the others give back their values and end point unchanged.
struct ChiaveTratto {
    double v[9];  // the start x, then the x and y control values
    bool operator==(const ChiaveTratto& a) const { return std::memcmp(v, a.v, sizeof v) == 0; }
};
struct HashTratto {
    std::size_t operator()(const ChiaveTratto& k) const
    {
        std::uint64_t h = 0xcbf29ce484222325ull;
        const auto* b = reinterpret_cast<const unsigned char*>(k.v);
        for (std::size_t i = 0; i < sizeof k.v; ++i)
            h = (h ^ b[i]) * 0x100000001b3ull;
        return static_cast<std::size_t>(h);
    }
};
struct Tratto {
    std::vector<double> valori;
    CPunto2DKorvane uscita;
};
// Enough for several exams' graphs; forgotten all at once beyond that.
constexpr std::size_t TRATTI_RICORDATI = 4096;

void PercorriRicordando(const Bezier& bx, const Bezier& by, const CPunto2DKorvane& fine, CPunto2DKorvane& precedente,
                        std::vector<double>& g)
{
    thread_local std::unordered_map<ChiaveTratto, Tratto, HashTratto> tratti;
    const ChiaveTratto k{{precedente.X, bx.c[0], bx.c[1], bx.c[2], bx.c[3], by.c[0], by.c[1], by.c[2], by.c[3]}};
    if (const auto it = tratti.find(k); it != tratti.end()) {
        // A walk that appends nothing leaves the start point as it came.
        g.insert(g.end(), it->second.valori.begin(), it->second.valori.end());
        if (!it->second.valori.empty())
            precedente = it->second.uscita;
        return;
    }
    const std::size_t primo = g.size();
    Percorri(bx, by, fine, precedente, g);
    if (tratti.size() >= TRATTI_RICORDATI)
        tratti.clear();
    tratti.emplace(k, Tratto{std::vector<double>(g.begin() + static_cast<std::ptrdiff_t>(primo), g.end()), precedente});
}

bool Accettabili(const CArray<CPunto2DKorvane>& t, int nValori)
{
    if (nValori > GRAFICO_TUNING_VALORI_MAX)
        return false;
    for (int i = 0; i < t.GetSize(); ++i)
        if (!std::isfinite(t[i].X) || !std::isfinite(t[i].Y) || std::fabs(t[i].X) > GRAFICO_TUNING_X_MAX)
            return false;
    return true;
}

// Moves the graph by `offset` indices, the end values filling in: the same as removing one end and
// repeating the other, `offset` times, without the quadratic cost.
void Sposta(std::vector<double>& g, int offset)
{
    if (g.empty() || offset == 0)
        return;
    const std::int64_t n = static_cast<std::int64_t>(g.size());
    const std::int64_t k = offset;
    std::vector<double> s(g.size());
    for (std::int64_t j = 0; j < n; ++j)
        s[static_cast<size_t>(j)] = g[static_cast<size_t>(std::clamp<std::int64_t>(j - k, 0, n - 1))];
    g.swap(s);
}

}  // namespace

CArray<double>& CalcolaGraficoDaPuntiTuning(const CArray<CPunto2DKorvane>* punti, int nValori, float sensibilita,
                                            int offset)
{
    GraficoTuning.RemoveAll();
    if (punti == nullptr || punti->GetSize() < 2 || !Accettabili(*punti, nValori))
        return GraficoTuning;
    const CArray<CPunto2DKorvane>& T = *punti;
    const int m = T.GetSize();
    std::vector<double> g;

    for (int j = 0; j <= std::trunc(T[0].X); ++j)
        g.push_back(T[0].Y);
    CPunto2DKorvane precedente(static_cast<double>(g.size()) - 1.0, T[0].Y);

    const float h = (1.0f / sensibilita) / 3.0f;
    // Two points have no inner handle, so h is never used. With more, an infinite h (sensitivity 0)
    // has endless handles and no curve: the graph is empty, as for a point that is not a number.
    if (m > 2 && !std::isfinite(h))
        return GraficoTuning;
    for (int i = 0; i + 1 < m; ++i) {
        CPunto2DKorvane b1 = T[i], b2 = T[i + 1];
        if (i > 0)
            b1 = T[i] + (T[i + 1] - T[i - 1]) * static_cast<double>(h);
        if (i + 2 < m)
            b2 = T[i + 1] - (T[i + 2] - T[i]) * static_cast<double>(h);
        const Bezier bx{{T[i].X, b1.X, b2.X, T[i + 1].X}}, by{{T[i].Y, b1.Y, b2.Y, T[i + 1].Y}};
        PercorriRicordando(bx, by, T[i + 1], precedente, g);
    }

    for (int j = static_cast<int>(std::trunc(precedente.X + 0.5)) + 1; j < nValori; ++j)
        g.push_back(T[m - 1].Y);
    Sposta(g, offset);
    GraficoTuning.SetSize(static_cast<int>(g.size()));
    std::copy(g.begin(), g.end(), GraficoTuning.GetData());
    return GraficoTuning;
}
