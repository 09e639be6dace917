#include "platform/CRgn.h"

#include <algorithm>

namespace {

constexpr std::int64_t MAX_COORDINATA = 1000000000;

// Smallest integer >= a / b, for b > 0.
std::int64_t CeilDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}

struct Attraversamento {
    std::int64_t xPrimo;  // first grid x at or right of the crossing
    int verso;
};

}  // namespace

int CRgn::CreatePolygonRgn(const CPoint* punti, int n, int modoRiempimento)
{
    if (punti == nullptr || n < 3)
        return 0;
    std::int64_t yMin = punti[0].y, yMax = punti[0].y;
    for (int i = 0; i < n; ++i) {
        if (std::abs(static_cast<std::int64_t>(punti[i].x)) > MAX_COORDINATA ||
            std::abs(static_cast<std::int64_t>(punti[i].y)) > MAX_COORDINATA)
            return 0;
        yMin = std::min<std::int64_t>(yMin, punti[i].y);
        yMax = std::max<std::int64_t>(yMax, punti[i].y);
    }
    if (yMax - yMin > MAX_RIGHE)
        return 0;
    std::vector<std::vector<std::pair<std::int64_t, std::int64_t>>> righe(static_cast<size_t>(yMax - yMin + 1));
    int intervalli = 0;
    std::vector<Attraversamento> att;
    for (std::int64_t y = yMin; y <= yMax; ++y) {
        att.clear();
        for (int i = 0; i < n; ++i) {
            const CPoint& a = punti[i];
            const CPoint& b = punti[(i + 1) % n];
            const std::int64_t y0 = a.y, y1 = b.y, x0 = a.x, x1 = b.x;
            // Half-open in y, so a vertex shared by two edges is counted once.
            if (y0 <= y && y < y1)
                att.push_back({x0 + CeilDiv((y - y0) * (x1 - x0), y1 - y0), +1});
            else if (y1 <= y && y < y0)
                att.push_back({x1 + CeilDiv((y - y1) * (x0 - x1), y0 - y1), -1});
        }
        std::sort(att.begin(), att.end(), [](const Attraversamento& p, const Attraversamento& q) { return p.xPrimo < q.xPrimo; });
        auto& riga = righe[static_cast<size_t>(y - yMin)];
        int avvolgimento = 0;
        for (size_t k = 0; k + 1 < att.size(); ++k) {
            avvolgimento += att[k].verso;
            const bool dentro = modoRiempimento == ALTERNATE ? (k % 2 == 0) : avvolgimento != 0;
            const std::int64_t da = att[k].xPrimo, a = att[k + 1].xPrimo - 1;
            if (!dentro || a < da)
                continue;
            if (!riga.empty() && riga.back().second + 1 >= da)
                riga.back().second = std::max(riga.back().second, a);
            else
                riga.emplace_back(da, a);
        }
        intervalli += static_cast<int>(riga.size());
    }
    m_yMin = yMin;
    m_righe = std::move(righe);
    m_intervalli = intervalli;
    return 1;
}

int CRgn::PtInRegion(int x, int y) const
{
    const std::int64_t r = static_cast<std::int64_t>(y) - m_yMin;
    if (r < 0 || r >= static_cast<std::int64_t>(m_righe.size()))
        return 0;
    const auto& riga = m_righe[static_cast<size_t>(r)];
    auto it = std::upper_bound(riga.begin(), riga.end(), static_cast<std::int64_t>(x),
                               [](std::int64_t v, const std::pair<std::int64_t, std::int64_t>& iv) { return v < iv.first; });
    if (it == riga.begin())
        return 0;
    --it;
    return x <= it->second ? 1 : 0;
}

int CRgn::GetRegionData() const
{
    return m_intervalli;
}

void CRgn::DeleteObject()
{
    m_righe.clear();
    m_intervalli = 0;
    m_yMin = 0;
}
