#include "platform/CRgn.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr std::int64_t MAX_COORDINATA = 1000000000;

}  // namespace

int CRgn::CreatePolygonRgn(const CPoint* punti, int n, int modoRiempimento)
{
    if (punti == nullptr || n < 3)
        return 0;
    std::vector<Lato> lati;
    std::vector<std::int64_t> y;
    lati.reserve(static_cast<std::size_t>(n));
    y.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        if (std::abs(static_cast<std::int64_t>(punti[i].x)) > MAX_COORDINATA ||
            std::abs(static_cast<std::int64_t>(punti[i].y)) > MAX_COORDINATA)
            return 0;
    for (int i = 0; i < n; ++i) {
        const CPoint& a = punti[i];
        const CPoint& b = punti[(i + 1) % n];
        y.push_back(a.y);
        if (a.y == b.y)
            continue;
        const CPoint& basso = a.y < b.y ? a : b;
        const CPoint& alto = a.y < b.y ? b : a;
        lati.push_back({basso.x, basso.y, alto.x - basso.x, alto.y - basso.y, a.y < b.y ? +1 : -1});
    }
    std::sort(y.begin(), y.end());
    y.erase(std::unique(y.begin(), y.end()), y.end());
    if (y.back() - y.front() > MAX_RIGHE)
        return 0;

    // Each edge goes into every band between its two ends, counted first to size one flat array.
    auto banda = [&](std::int64_t riga) { return static_cast<std::size_t>(std::lower_bound(y.begin(), y.end(), riga) - y.begin()); };
    const std::size_t bande = y.size() - 1;
    std::vector<std::uint32_t> inizio(bande + 1, 0);
    std::int64_t presenze = 0;
    for (const Lato& l : lati) {
        const std::size_t da = banda(l.yBasso), a = banda(static_cast<std::int64_t>(l.yBasso) + l.dy);
        presenze += static_cast<std::int64_t>(a - da);
        if (presenze > MAX_LATI_NELLE_BANDE)
            return 0;
        for (std::size_t j = da; j < a; ++j)
            ++inizio[j + 1];
    }
    for (std::size_t j = 0; j < bande; ++j)
        inizio[j + 1] += inizio[j];
    std::vector<std::uint32_t> latiBanda(static_cast<std::size_t>(presenze));
    std::vector<std::uint32_t> libero(inizio.begin(), inizio.end() - 1);
    for (std::size_t k = 0; k < lati.size(); ++k) {
        const std::size_t da = banda(lati[k].yBasso), a = banda(static_cast<std::int64_t>(lati[k].yBasso) + lati[k].dy);
        for (std::size_t j = da; j < a; ++j)
            latiBanda[libero[j]++] = static_cast<std::uint32_t>(k);
    }

    // A band holds data when, halfway up, some stretch between its edges is inside.
    int piene = 0;
    std::vector<std::pair<double, int>> attraversamenti;
    for (std::size_t j = 0; j < bande; ++j) {
        const double yMezzo = 0.5 * static_cast<double>(y[j] + y[j + 1]);
        attraversamenti.clear();
        for (std::uint32_t k = inizio[j]; k < inizio[j + 1]; ++k) {
            const Lato& l = lati[latiBanda[k]];
            attraversamenti.emplace_back(l.xBasso + (yMezzo - l.yBasso) * l.dx / l.dy, l.verso);
        }
        std::sort(attraversamenti.begin(), attraversamenti.end());
        int avvolgimento = 0;
        for (std::size_t k = 0; k + 1 < attraversamenti.size(); ++k) {
            avvolgimento += attraversamenti[k].second;
            const bool dentro = modoRiempimento == ALTERNATE ? k % 2 == 0 : avvolgimento != 0;
            if (dentro && attraversamenti[k + 1].first > attraversamenti[k].first) {
                ++piene;
                break;
            }
        }
    }
    m_lati = std::move(lati);
    m_yBande = std::move(y);
    m_inizioBanda = std::move(inizio);
    m_latiBanda = std::move(latiBanda);
    m_modo = modoRiempimento;
    m_bandePiene = piene;
    const auto [xMinimo, xMassimo] = std::minmax_element(punti, punti + n, [](const CPoint& a, const CPoint& b) { return a.x < b.x; });
    m_xMinimo = xMinimo->x;
    m_xMassimo = xMassimo->x;
    return 1;
}

// The winding number of the point: the edges of its band whose first grid x at or right of their
// crossing, ceil of the crossing, is at or left of the point; compared exactly, without division.
int CRgn::PtInRegion(int x, int y) const
{
    if (m_yBande.size() < 2 || y < m_yBande.front() || y >= m_yBande.back() || x < m_xMinimo || x > m_xMassimo)
        return 0;
    const std::size_t j = static_cast<std::size_t>(std::upper_bound(m_yBande.begin(), m_yBande.end(), y) - m_yBande.begin()) - 1;
    int avvolgimento = 0, attraversati = 0;
    for (std::uint32_t k = m_inizioBanda[j]; k < m_inizioBanda[j + 1]; ++k) {
        const Lato& l = m_lati[m_latiBanda[k]];
        if ((static_cast<std::int64_t>(y) - l.yBasso) * l.dx <= (static_cast<std::int64_t>(x) - l.xBasso) * l.dy) {
            avvolgimento += l.verso;
            ++attraversati;
        }
    }
    return (m_modo == ALTERNATE ? attraversati % 2 != 0 : avvolgimento != 0) ? 1 : 0;
}

int CRgn::GetRegionData() const
{
    return m_bandePiene;
}

void CRgn::DeleteObject()
{
    m_lati.clear();
    m_yBande.clear();
    m_inizioBanda.clear();
    m_latiBanda.clear();
    m_bandePiene = 0;
}
