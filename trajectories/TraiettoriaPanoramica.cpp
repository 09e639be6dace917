#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/Numerico.h"
#include "resources/Messaggi.h"
#include "trajectories/GraficoTuning.h"
#include "trajectories/Traiettoria.h"

namespace {

// What stays fixed over both passes. Indices are clamped into the curve: k, the window ends and the
// edge values read from the projection radius never leave 0 ... n-1.
struct Contesto {
    int n = 0;
    int k = 0;
    std::int64_t finestraBassa = 0;
    std::int64_t finestraAlta = 0;
    int bordoSu = 0;       // k + PosRProjCostDx, whose radius holds beyond the window walking up
    int bordoGiu = 0;      // k - PosRProjCostSx, the same walking down
    int bordoSpecchio = 0; // k - PosRProjCostDx, the radius the mirror side receives
    bool tipo1 = false;
    bool dueAssi = false;
    bool simmetrica = false;
    double rp = 0.0;
};

int Indice(std::int64_t i, int n)
{
    return static_cast<int>(std::clamp<std::int64_t>(i, 0, n - 1));
}

CPunto2DKorvane Direzione(double gradi)
{
    const double a = GradiARadianti(gradi);
    return {std::cos(a), std::sin(a)};
}

double Theta(const ArrayPunti2D& p, int i)
{
    const int n = p.GetSize();
    const CPunto2DKorvane tg = i == 0 ? p[1] - p[0] : i == n - 1 ? p[n - 1] - p[n - 2] : p[i + 1] - p[i - 1];
    return std::atan2(tg.X, -tg.Y) * GRADI_PER_RADIANTE;
}

// Distance from `p`, back along its beam of angle `r`, to the crossing with the beam through `q` at
// angle `rq`.
double RaggioIncrocio(const CPunto2DKorvane& q, double rq, const CPunto2DKorvane& p, double r)
{
    const double cq = std::cos(GradiARadianti(rq)), sq = std::sin(GradiARadianti(rq));
    const double c = std::cos(GradiARadianti(r)), s = std::sin(GradiARadianti(r));
    return ((q.Y - p.Y) * cq - (q.X - p.X) * sq) / (c * sq - s * cq);
}

// The point where the line from `p` through `z` meets x = 0.
CPunto2DKorvane SuAsseY(const CPunto2DKorvane& p, const CPunto2DKorvane& z)
{
    if (p.X == 0.0)
        return z;
    const double t = -p.X / (z.X - p.X);
    return {0.0, p.Y + t * (z.Y - p.Y)};
}

CPunto2DKorvane Diviso(const CPunto2DKorvane& a, double d)
{
    return {a.X / d, a.Y / d};
}

const CPunto2DKorvane& PiuVicino(const CPunto2DKorvane& a, const CPunto2DKorvane& b, const CPunto2DKorvane& rif)
{
    return (a - rif).Lunghezza() < (b - rif).Lunghezza() ? a : b;
}

class Passata {
public:
    Passata(CTraiettoria& t, const Contesto& c, int d) : t_(t), c_(c), d_(d), p_(t.CurvaDenti.ArrayCurvaDenti) {}

    void Esegui()
    {
        const int fine = d_ > 0 ? c_.n - 1 : 0;
        for (int i = c_.k;; i += d_) {
            Punto(i);
            if (i == fine)
                break;
        }
    }

private:
    template <class A, class V>
    void Scrivi(A& a, int i, const V& v, const V& specchio)
    {
        a[i] = v;
        const int s = 2 * c_.k - i;
        if (c_.simmetrica && i != c_.k && s >= 0 && s < c_.n)
            a[s] = specchio;
    }
    void ScriviRisultati(int i, double r, double dist, const CPunto2DKorvane& cmr)
    {
        Scrivi(t_.GraficoRotaz, i, r, 180.0 - r);
        Scrivi(t_.GraficoDistors, i, dist, -dist);
        Scrivi(t_.PosCMR, i, cmr, CPunto2DKorvane(-cmr.X, cmr.Y));
    }

    void Punto(int i)
    {
        const bool centro = i == c_.k;
        const int j = i - d_;
        const CPunto2DKorvane& p = p_[i];
        const double theta = Theta(p_, i);
        const bool inFinestra = c_.finestraBassa <= i && i <= c_.finestraAlta;
        double r = 0.0, dist = 0.0, rho = 0.0;
        CPunto2DKorvane cmr;
        if (c_.tipo1 && inFinestra) {
            dist = centro ? 0.0 : t_.GraficoDistors[j] + (p.X - p_[j].X) * t_.GraficoDerivata[i];
            r = theta - dist;
            if (c_.dueAssi)
                cmr = r == 90.0 ? CPunto2DKorvane(0.0, 10.0)
                                : CPunto2DKorvane(0.0, p.Y - p.X * std::tan(GradiARadianti(r)));
            else
                cmr = p - Direzione(r) * c_.rp;
            if (centro) {
                // The centre's radius comes one point later, from the next beam; until then the
                // value already stored stands.
                rho = t_.GraficoRProiez[i];
            } else {
                rho = RaggioIncrocio(p_[j], t_.GraficoRotaz[j], p, r);
                Scrivi(t_.GraficoRProiez, i, rho, rho);
                if (j == c_.k) {
                    const double rhoK = RaggioIncrocio(p, r, p_[j], t_.GraficoRotaz[j]);
                    t_.GraficoRProiez[j] = rhoK;
                    t_.GraficoRPrCos[j] = rhoK;  // the distortion is zero at the centre
                }
            }
            ScriviRisultati(i, r, dist, cmr);
            zRif_ = p + (cmr - p).Versore() * rho;
        } else {
            if (!inFinestra) {
                t_.GraficoRProiez[i] = t_.GraficoRProiez[d_ > 0 ? c_.bordoSu : c_.bordoGiu];
                const int s = 2 * c_.k - i;
                if (c_.simmetrica && !centro && s >= 0 && s < c_.n)
                    t_.GraficoRProiez[s] = t_.GraficoRProiez[c_.bordoSpecchio];
            }
            rho = t_.GraficoRProiez[i];
            CPunto2DKorvane z;
            if (centro) {
                const CPunto2DKorvane v = Direzione(theta) * rho;
                z = PiuVicino(p + v, p - v, zRif_);
                if (!c_.dueAssi)
                    cmr = p + (z - p).Versore() * c_.rp;
                else if (std::fabs(v.X) <= 0.001)
                    cmr = CPunto2DKorvane(0.0, p.Y - std::fabs(v.Y));
                else  // a normal off the y axis: the centre still lies on the centre's beam
                    cmr = CPunto2DKorvane(0.0, p.Y - p.X / v.X * v.Y);
                r = theta;
            } else {
                const CPunto2DKorvane& q = p_[j];
                const double m = std::tan(GradiARadianti(t_.GraficoRotaz[j]));
                const double qq = q.Y - q.X * m;
                const double a = 1.0 + m * m;
                const double b = 2.0 * m * qq - 2.0 * m * p.Y - 2.0 * p.X;
                const double e = qq * qq + p.X * p.X + p.Y * p.Y - 2.0 * qq * p.Y - rho * rho;
                const double radice = std::sqrt(b * b - 4.0 * a * e);
                const double x1 = (-b - radice) / (2.0 * a), x2 = (-b + radice) / (2.0 * a);
                z = PiuVicino(CPunto2DKorvane(x1, m * x1 + qq), CPunto2DKorvane(x2, m * x2 + qq), zRif_);
                cmr = c_.dueAssi ? SuAsseY(p, z) : p + (z - p).Versore() * c_.rp;
                r = std::atan2(p.Y - cmr.Y, p.X - cmr.X) * GRADI_PER_RADIANTE;
                const double salto = r - t_.GraficoRotaz[j];
                if (salto > 270.0)
                    r -= 360.0;
                else if (salto > 90.0)
                    r -= 180.0;
                else if (salto < -270.0)
                    r += 360.0;
                else if (salto < -90.0)
                    r += 180.0;
            }
            zRif_ = z;
            dist = theta - r;
            if (!centro) {
                const double derivata = (dist - t_.GraficoDistors[j]) / (p.X - p_[j].X);
                Scrivi(t_.GraficoDerivata, i, derivata, derivata);
                if (j == c_.k)
                    t_.GraficoDerivata[j] = derivata;
            }
            ScriviRisultati(i, r, dist, cmr);
        }
        const double rCos = rho * std::cos(GradiARadianti(dist));
        Scrivi(t_.GraficoRPrCos, i, rCos, rCos);
        Derivate(i);
    }

    // d(CMR)/dR and its derivative, for display. Within one point of the centre the values are those
    // of the first point where they can be formed; at the end of the pass the last ones are repeated.
    void Derivate(int i)
    {
        const int passo = (i - c_.k) * d_;
        const int fine = d_ > 0 ? c_.n - 1 : 0;
        if (passo >= 3) {
            const int j = i - d_;
            Vel(j, Diviso(t_.PosCMR[i] - t_.PosCMR[j], t_.GraficoRotaz[i] - t_.GraficoRotaz[j]));
            if (passo == 3) {
                Vel(c_.k, t_.VelCMR[j]);
                Vel(c_.k + d_, t_.VelCMR[j]);
            }
        }
        if (passo >= 4) {
            const int j = i - 2 * d_;
            Acc(j, Diviso(t_.VelCMR[j + d_] - t_.VelCMR[j], t_.GraficoRotaz[j + d_] - t_.GraficoRotaz[j]));
            if (passo == 4) {
                Acc(c_.k, t_.AccCMR[j]);
                Acc(c_.k + d_, t_.AccCMR[j]);
            }
        }
        if (i == fine && passo >= 3) {
            Vel(i, t_.VelCMR[i - d_]);
            if (passo >= 4) {
                Acc(i - d_, t_.AccCMR[i - 2 * d_]);
                Acc(i, t_.AccCMR[i - 2 * d_]);
            }
        }
    }
    void Vel(int i, CPunto2DKorvane v)
    {
        Scrivi(t_.VelCMR, i, v, CPunto2DKorvane(v.X, -v.Y));
    }
    void Acc(int i, CPunto2DKorvane a)
    {
        Scrivi(t_.AccCMR, i, a, CPunto2DKorvane(-a.X, a.Y));
    }

    CTraiettoria& t_;
    const Contesto& c_;
    const int d_;
    const ArrayPunti2D& p_;
    CPunto2DKorvane zRif_{0.0, 0.0};
};

template <class A>
void Azzera(A& a, int n)
{
    a.RemoveAll();
    a.SetSize(n);
}

}  // namespace

int CTraiettoria::CalcolaTraiettoriaPanoramica()
{
    const ArrayPunti2D& p = CurvaDenti.ArrayCurvaDenti;
    const int n = p.GetSize();
    GraficoTuning.Copy(CalcolaGraficoDaPuntiTuning(&PuntiTuning, n, SensibilitaSpline, 0));
    GraficoKV.Copy(CalcolaGraficoDaPuntiTuning(&PuntiTuningKV, n, SensibSplineKV, OffsetGraficoKV));
    GraficoShift.Copy(CalcolaGraficoDaPuntiTuning(&PuntiTuningShift, n, SensibSplineShift, 0));
    if (TipoRicostruzione == 1)
        GraficoDerivata.Copy(GraficoTuning);
    else if (TipoRicostruzione == 2)
        GraficoRProiez.Copy(GraficoTuning);
    else
        return 1;
    // No curve or no tuning graph: nothing to compute, and the earlier results and steps stand.
    if (n == 0 || (TipoRicostruzione == 1 ? GraficoDerivata : GraficoRProiez).IsEmpty())
        return 1;

    // A curve of one point has no tangent, and a graph short of the curve would be read past its end:
    // neither leaves a geometry the unit could follow.
    // A failed geometry leaves no angles and no steps, so the discretisation that follows it in a
    // recomputation cannot run on an earlier computation's lists.
    auto fallita = [this](int messaggio, int punto) {
        CaricaMessaggio(StringaErrore, messaggio, punto);
        GraficoRotaz.RemoveAll();
        PosCMR.RemoveAll();
        CancellaTutto();
        return 0;
    };
    if (n < 2)
        return fallita(MSG_CURVA_PANORAMICA_CORTA, 0);
    if (GraficoTuning.GetSize() < n)
        return fallita(MSG_GRAFICO_TUNING_INCOMPLETO, 0);

    Contesto c;
    c.n = n;
    c.k = Indice(PosDistAng0, n);
    c.finestraBassa = std::int64_t{c.k} - PosRProjCostSx;
    c.finestraAlta = std::int64_t{c.k} + PosRProjCostDx;
    c.bordoSu = Indice(c.finestraAlta, n);
    c.bordoGiu = Indice(c.finestraBassa, n);
    c.bordoSpecchio = Indice(std::int64_t{c.k} - PosRProjCostDx, n);
    c.tipo1 = TipoRicostruzione == 1;
    c.dueAssi = Is2Assi != 0;
    c.simmetrica = TraietSimmetrica != 0;
    const double dcm = LimitiEParametri.CentroMonoblocco, dcs = LimitiEParametri.CentSensPan;
    c.rp = (dcm + dcs) / static_cast<double>(Ingrandimento) - dcm;

    // Emptied before sizing, so nothing of an earlier computation survives into this one.
    Azzera(GraficoRotaz, n);
    Azzera(GraficoDistors, n);
    Azzera(c.tipo1 ? GraficoRProiez : GraficoDerivata, n);
    Azzera(GraficoRPrCos, n);
    Azzera(GraficoIngrY, n);
    Azzera(PosCMR, n);
    Azzera(VelCMR, n);
    Azzera(AccCMR, n);

    // Pass 1 walks to the farther end, so its mirror covers the nearer one; at equal distance n/2 < k walks down.
    const int giu = c.k, su = n - 1 - c.k;
    const int verso = giu != su ? (giu > su ? -1 : 1) : (n / 2 < c.k ? -1 : 1);
    Passata(*this, c, verso).Esegui();
    if (!c.simmetrica)
        Passata(*this, c, -verso).Esegui();

    for (int i = 0; i < n; ++i)
        GraficoIngrY[i] = (dcm + dcs) / (dcm + (p[i] - PosCMR[i]).Lunghezza());
    // A failure spreads outwards along the walk: the point nearest the centre is where it began.
    for (int distanza = 0; distanza < n; ++distanza) {
        for (const int i : {c.k - distanza, c.k + distanza}) {
            if (i < 0 || i >= n)
                continue;
            if (!std::isfinite(GraficoRotaz[i]) || !std::isfinite(PosCMR[i].X) || !std::isfinite(PosCMR[i].Y) ||
                !std::isfinite(GraficoIngrY[i]))
                return fallita(MSG_GEOMETRIA_PANORAMICA_NON_FINITA, i);
        }
    }
    return 1;
}
