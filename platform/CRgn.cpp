#include "platform/CRgn.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::int64_t MAX_COORDINATA = 1000000000;

// Smallest integer >= a / b, for b > 0.
std::int64_t CeilDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}

// A non-horizontal edge from its lower end, rows yBasso <= y < yBasso + dy (half-open, so a vertex
// shared by two edges is counted once).
struct Lato {
    std::int64_t xBasso, yBasso, dx, dy;
    int verso;
};

struct Attraversamento {
    std::int64_t xPrimo;  // first grid x at or right of the crossing
    int verso;
    std::size_t lato;
};

}  // namespace

// A scan over the rows with a table of the edges that cross the current row: each row costs its own
// crossings, kept in x order by an insertion sort that has little to do from one row to the next.
int CRgn::CreatePolygonRgn(const CPoint* punti, int n, int modoRiempimento)
{
    if (punti == nullptr || n < 3)
        return 0;
    std::int64_t yMin = punti[0].y, yMax = punti[0].y, attraversamenti = 0;
    std::vector<Lato> lati;
    lati.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const CPoint& a = punti[i];
        const CPoint& b = punti[(i + 1) % n];
        if (std::abs(static_cast<std::int64_t>(a.x)) > MAX_COORDINATA ||
            std::abs(static_cast<std::int64_t>(a.y)) > MAX_COORDINATA)
            return 0;
        yMin = std::min<std::int64_t>(yMin, a.y);
        yMax = std::max<std::int64_t>(yMax, a.y);
        if (a.y == b.y)
            continue;
        const CPoint& basso = a.y < b.y ? a : b;
        const CPoint& alto = a.y < b.y ? b : a;
        lati.push_back({basso.x, basso.y, static_cast<std::int64_t>(alto.x) - basso.x,
                        static_cast<std::int64_t>(alto.y) - basso.y, a.y < b.y ? +1 : -1});
        attraversamenti += lati.back().dy;
    }
    if (yMax - yMin > MAX_RIGHE || attraversamenti > MAX_ATTRAVERSAMENTI)
        return 0;
    std::sort(lati.begin(), lati.end(), [](const Lato& p, const Lato& q) { return p.yBasso < q.yBasso; });

    const std::size_t righe = static_cast<std::size_t>(yMax - yMin + 1);
    std::vector<std::uint32_t> inizio(righe + 1, 0);
    std::vector<std::pair<std::int32_t, std::int32_t>> intervalli;
    std::vector<Attraversamento> att;
    std::size_t prossimo = 0;
    for (std::int64_t y = yMin; y <= yMax; ++y) {
        att.erase(std::remove_if(att.begin(), att.end(),
                                 [&](const Attraversamento& c) {
                                     return lati[c.lato].yBasso + lati[c.lato].dy <= y;
                                 }),
                  att.end());
        for (; prossimo < lati.size() && lati[prossimo].yBasso == y; ++prossimo)
            att.push_back({0, lati[prossimo].verso, prossimo});
        for (std::size_t k = 0; k < att.size(); ++k) {
            const Lato& l = lati[att[k].lato];
            att[k].xPrimo = l.xBasso + CeilDiv((y - l.yBasso) * l.dx, l.dy);
            for (std::size_t j = k; j > 0 && att[j].xPrimo < att[j - 1].xPrimo; --j)
                std::swap(att[j], att[j - 1]);
        }
        const std::size_t primo = intervalli.size();
        int avvolgimento = 0;
        for (std::size_t k = 0; k + 1 < att.size(); ++k) {
            avvolgimento += att[k].verso;
            const bool dentro = modoRiempimento == ALTERNATE ? (k % 2 == 0) : avvolgimento != 0;
            const std::int64_t da = att[k].xPrimo, a = att[k + 1].xPrimo - 1;
            if (!dentro || a < da)
                continue;
            if (intervalli.size() > primo && intervalli.back().second + 1 >= da)
                intervalli.back().second = static_cast<std::int32_t>(std::max<std::int64_t>(intervalli.back().second, a));
            else
                intervalli.emplace_back(static_cast<std::int32_t>(da), static_cast<std::int32_t>(a));
        }
        inizio[static_cast<std::size_t>(y - yMin) + 1] = static_cast<std::uint32_t>(intervalli.size());
    }
    m_yMin = yMin;
    m_inizioRiga = std::move(inizio);
    m_intervalli = std::move(intervalli);
    return 1;
}

int CRgn::PtInRegion(int x, int y) const
{
    const std::int64_t r = static_cast<std::int64_t>(y) - m_yMin;
    if (r < 0 || r + 1 >= static_cast<std::int64_t>(m_inizioRiga.size()))
        return 0;
    const auto inizio = m_intervalli.begin() + m_inizioRiga[static_cast<std::size_t>(r)];
    const auto fine = m_intervalli.begin() + m_inizioRiga[static_cast<std::size_t>(r) + 1];
    auto it = std::upper_bound(inizio, fine, x, [](int v, const std::pair<std::int32_t, std::int32_t>& iv) {
        return v < iv.first;
    });
    if (it == inizio)
        return 0;
    --it;
    return x <= it->second ? 1 : 0;
}

int CRgn::GetRegionData() const
{
    return static_cast<int>(m_intervalli.size());
}

void CRgn::DeleteObject()
{
    m_inizioRiga.clear();
    m_intervalli.clear();
    m_yMin = 0;
}
