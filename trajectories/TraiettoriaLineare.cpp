#include <cmath>

#include "core/Numerico.h"
#include "resources/Messaggi.h"
#include "trajectories/Traiettoria.h"

namespace {

// Ten metres: far beyond any unit's reach, and it bounds the point lists (one point a millimetre).
constexpr double LUNGHEZZA_MASSIMA_MM = 10000.0;
constexpr double MEZZO_PI_GRECO = 1.5707963267948966;

double AngoloInGradi(const CPunto2DKorvane& w)
{
    return std::atan2(w.Y, w.X) * GRADI_PER_RADIANTE;
}

// No jump between neighbours: one turn off either way is brought back.
double Srotola(double angolo, double vicino)
{
    if (angolo - vicino > 180.0)
        return angolo - 360.0;
    if (angolo - vicino < -180.0)
        return angolo + 360.0;
    return angolo;
}

// The point where the beam of the neighbour towards the centre meets the circle of radius rp about
// the point: the neighbour's beam is the line y = t x + q through q0 at angle `angolo` (degrees).
// `xPrec` carries the x chosen at the previous point of the side; false when the ray misses.
bool Intersezione(const CPunto2DKorvane& p, const CPunto2DKorvane& q0, double angolo, double rp, double sigma,
                  bool primo, double& xPrec, CPunto2DKorvane& A)
{
    const double t = std::tan(GradiARadianti(angolo));
    const double q = q0.Y - t * q0.X;
    const double a = 1 + t * t;
    const double b = 2 * t * (q - p.Y) - 2 * p.X;
    const double c = p.X * p.X + (q - p.Y) * (q - p.Y) - rp * rp;
    const double delta = b * b - 4 * a * c;
    // A ray that misses the circle has no real crossing: the scan stops there, no NaN goes on.
    if (!(delta >= 0))
        return false;
    const double k = t == 0 ? 1.0 : (t > 0 ? 1.0 : -1.0) * sigma;
    const double x1 = (-b - k * std::sqrt(delta)) / (2 * a);
    const double x2 = (-b + k * std::sqrt(delta)) / (2 * a);
    const double x = primo ? x1 : (std::fabs(xPrec - x2) <= std::fabs(xPrec - x1) ? x2 : x1);
    xPrec = x;
    A = CPunto2DKorvane(x, t * x + q);
    return true;
}

}  // namespace

int CTraiettoria::CalcolaTraiettoriaLineare(double* const statistiche)
{
    TipoCurva = CURVA_NON_CALCOLATA;
    auto rifiuta = [&](int messaggio, int indice) {
        CancellaTutto();
        ArrayShift.RemoveAll();
        CaricaMessaggio(StringaErrore, messaggio, indice);
        return 0;
    };
    const bool dueAssi = Is2Assi != 0;
    const double L = LunghezzaRettamm, theta = InclRettadeg, rp = RProiezionemm, M = IngrandimentoLin;
    const CPunto2DKorvane C(XCentroRettamm, YCentroRettamm);
    if (!(L > 0 && L <= LUNGHEZZA_MASSIMA_MM && std::isfinite(C.X) && std::isfinite(C.Y) && std::isfinite(theta) &&
          std::isfinite(Disortogonalitdeg)))
        return rifiuta(MSG_LINEARE_SEGMENTO, 0);
    // The two-axis variant takes its magnification from the geometry, so only the general one needs M.
    if (!(rp > 0 && std::isfinite(rp)) || (!dueAssi && !(M > 0 && std::isfinite(M))))
        return rifiuta(MSG_LINEARE_PROIEZIONE, 0);

    const double h = L / 2.0;
    const double s = h / std::ceil(h / 1.0);
    const int m = TroncaInt(h / s + 0.5);
    const int n = 2 * m + 1;
    const double thetaRad = GradiARadianti(theta);
    const CPunto2DKorvane d(s * std::cos(thetaRad), s * std::sin(thetaRad));
    ArrayPunti2D punti, centri;
    ArrayDouble angoli, kv;
    punti.SetSize(n);
    centri.SetSize(n);
    angoli.SetSize(n);
    kv.SetSize(n);
    for (int j = 0; j < n; ++j) {
        punti[j] = C + d * (j - m);
        kv[j] = KVaRegimeLin;
    }
    const CPunto2DKorvane u = d.Ruota(GradiARadianti(Disortogonalitdeg) + MEZZO_PI_GRECO).Versore();
    const CLimitiEParametri& l = LimitiEParametri;

    // Walks out from the centre point, up the segment and then down: each point's beam meets the circle
    // where the previous point's beam crosses it, and `poni` places the point's centre and angle from
    // that crossing A (false: it refused). False after a refusal.
    auto cammina = [&](double sigma, auto&& poni) {
        for (int lato : {1, -1}) {
            double xPrec = 0;
            for (int j = m + lato; j >= 0 && j < n; j += lato) {
                CPunto2DKorvane A;
                if (!Intersezione(punti[j], punti[j - lato], angoli[j - lato], rp, sigma, j == m + lato, xPrec, A)) {
                    rifiuta(MSG_LINEARE_CERCHIO_MANCATO, j);
                    return false;
                }
                if (!poni(j, lato, punti[j], A))
                    return false;
            }
        }
        return true;
    };
    int verso = 0;
    if (!dueAssi) {
        const double D = (l.CentroMonoblocco + l.CentSensPan) / M - l.CentroMonoblocco;
        const bool F = D >= 0;
        const double sigma = InvSensore != 0 ? -1.0 : 1.0;
        auto angolo = [F](const CPunto2DKorvane& w) { return F ? AngoloInGradi(w) : AngoloInGradi(w * -1.0); };
        centri[m] = F ? C - u * (D * sigma) : C + u * (D * sigma);
        angoli[m] = angolo(centri[m] - punti[m]);
        const bool fatto = cammina(sigma, [&](int j, int lato, const CPunto2DKorvane& P, const CPunto2DKorvane& A) {
            const CPunto2DKorvane raggio = (A - P).Versore() * D;
            centri[j] = F ? P + raggio : P - raggio;
            angoli[j] = Srotola(angolo(centri[j] - P), angoli[j - lato]);
            return true;
        });
        if (!fatto)
            return 0;
        verso = F ? 1 : 0;
    } else {
        const double sigma = InvRotazione != 0 ? 1.0 : -1.0;
        auto angolo = [this](const CPunto2DKorvane& w) {
            return InvSensore != 0 ? AngoloInGradi(w) : AngoloInGradi(w * -1.0);
        };
        // A normal almost parallel to X = 0 crosses it nowhere useful: the centre point borrows its
        // neighbour's rotation centre once that is known.
        const bool centroDalVicino = !(std::fabs(u.X) > 0.01);
        centri[m] = centroDalVicino ? CPunto2DKorvane(0, 0) : CPunto2DKorvane(0, C.Y - C.X * u.Y / u.X);
        angoli[m] = angolo(centri[m] - punti[m]);
        const bool fatto = cammina(sigma, [&](int j, int lato, const CPunto2DKorvane& P, const CPunto2DKorvane& A) {
            centri[j] = CPunto2DKorvane(0, P.Y + (A.Y - P.Y) * (0 - P.X) / (A.X - P.X));
            if (!std::isfinite(centri[j].Y)) {
                rifiuta(MSG_FASCIO_PARALLELO_X0, j);
                return false;
            }
            // The centre point keeps the angle it had from (0, 0): both sides start from the same
            // ray, so a segment and its mirror image give mirrored scans.
            if (centroDalVicino && j == m + 1)
                centri[m] = centri[j];
            const double a = angolo(centri[j] - P);
            if (j == m + lato) {
                const double e = a - angoli[m];
                if (e > 90 && e < 270)
                    angoli[m] -= 180.0;
                else if (e > -270 && e < -90)
                    angoli[m] += 180.0;
            }
            angoli[j] = Srotola(a, angoli[j - lato]);
            return true;
        });
        if (!fatto)
            return 0;
        // Direction from InvScaricamentoLin, the member the linear block stores, so it survives a save and a load.
        const bool sensore = InvSensore != 0;
        verso = (InvScaricamentoLin == 0 ? sensore : !sensore) ? 1 : 0;
    }

    // Only the first angle is compared: the list is moved by whole turns into the R range.
    double spostamento = 0;
    if (l.AsseR.PosMin > angoli[0])
        spostamento = 360.0;
    else if (angoli[0] > l.AsseR.PosMax)
        spostamento = -360.0;
    for (int j = 0; j < n; ++j)
        angoli[j] += spostamento;

    ParametriDiscretizzazione p;
    p.pTraiettoria = this;
    p.pTempoScansione = &TempoScansionesLin;
    p.pIngrandimento = dueAssi ? nullptr : &IngrandimentoLin;
    p.pVersoPositivo = &verso;
    p.pPuntiCurva = &punti;
    p.pArrayR = &angoli;
    p.pGraficoKV = &kv;
    p.pPosCMR = &centri;
    TipoCurva = CURVA_NON_CALCOLATA;
    if (!DiscretizzaPerRotazione(&p, statistiche))
        return 0;
    TipoCurva = CURVA_LINEARE;
    if (!ControlloAntiCollisione(StringaErrore, ANTICOLLISIONE_PAN))
        CaricaMessaggio(StringaErrore, 178);
    return 1;
}
