#include <algorithm>
#include <cmath>

#include "core/Numerico.h"
#include "resources/Messaggi.h"
#include "trajectories/Traiettoria.h"

namespace {

// A hundred times the unit's 3000-step buffer: room for designs longer than one exam, never an
// allocation sized from an absurd scan time or an arm word of zero.
constexpr double MAX_PASSI = 3000.0 * 100.0;
// A thousand times the pixel columns of the longest panoramic image.
constexpr double MAX_VALORI_SHIFT = 3000000.0;

struct V2 {
    double x, y;
};
V2 operator+(V2 a, V2 b) { return {a.x + b.x, a.y + b.y}; }
V2 operator-(V2 a, V2 b) { return {a.x - b.x, a.y - b.y}; }
V2 operator*(V2 a, double k) { return {a.x * k, a.y * k}; }
double Vettoriale(V2 u, V2 v) { return u.x * v.y - u.y * v.x; }
double Modulo(V2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }
V2 Punto(const CPunto2DKorvane& p) { return {p.X, p.Y}; }

// v - v is 0 for a finite v and NaN otherwise: one test for the lot, on every step.
bool Finiti(std::initializer_list<double> valori)
{
    double somma = 0.0;
    for (double v : valori)
        somma += v - v;
    return somma == 0.0;
}

// kV percent of a graph value: +0.5 truncated, kept within 0 ... 100.
std::int32_t KVDaGrafico(double kv)
{
    return std::clamp(TroncaInt(kv + 0.5), 0, 100);
}

// Into (-pi, pi] by whole turns, then into [-pi/2, pi/2] by half turns. Angles many turns away
// are reduced in one go, so no loop runs long.
double AngoloImmagine(double phi)
{
    if (std::fabs(phi) > 2.0 * DUE_PI_GRECO)
        phi = std::remainder(phi, DUE_PI_GRECO);
    while (phi > PI_GRECO)
        phi -= DUE_PI_GRECO;
    while (phi <= -PI_GRECO)
        phi += DUE_PI_GRECO;
    if (phi > PI_GRECO / 2.0)
        phi -= PI_GRECO;
    else if (phi < -PI_GRECO / 2.0)
        phi += PI_GRECO;
    return phi;
}

}  // namespace

int CTraiettoria::DiscretizzaPerRotazione(const ParametriDiscretizzazione* p, double* riepilogo)
{
    if (p == nullptr || p->pArrayR == nullptr || p->pArrayR->IsEmpty())
        return 0;
    // Every caller discretises itself; a block that names no trajectory writes into this one.
    CTraiettoria& t = p->pTraiettoria != nullptr ? *p->pTraiettoria : *this;
    const CLimitiEParametri& l = t.LimitiEParametri;
    const PARAMETRI_ASSE &asseX = l.AsseX, &asseY = l.AsseY, &asseR = l.AsseR, &asseC = l.AsseC;
    // The limit messages of this run reach the section only if the run completes: a refused run says
    // why it was refused, not what its discarded steps would have exceeded.
    CString avvisi;
    t.ArrayShift.RemoveAll();
    t.CancellaTutto();
    auto rifiuta = [&](int messaggio, int indice) {
        t.CancellaTutto();
        t.ArrayShift.RemoveAll();
        CaricaMessaggio(t.StringaErrore, messaggio, indice);
        return 0;
    };

    const ArrayDouble& A = *p->pArrayR;
    const int n = A.GetSize();
    // An empty shift graph (fewer than two tuning points) counts as 1.0 throughout.
    const ArrayDouble* shift = p->pGraficoShift != nullptr && !p->pGraficoShift->IsEmpty() ? p->pGraficoShift : nullptr;
    if (p->pPuntiCurva == nullptr || p->pPosCMR == nullptr || p->pVersoPositivo == nullptr ||
        p->pPuntiCurva->GetSize() != n || p->pPosCMR->GetSize() != n || (shift != nullptr && shift->GetSize() < n))
        return rifiuta(MSG_DISCRETIZZAZIONE_LISTE, 0);
    // No tube settings, no exam: a short kV graph is refused, never read past its end. A tuning point
    // past the curve's end lengthens its graph; only the entries of the curve's points are read.
    if (p->pGraficoKV == nullptr || p->pGraficoKV->GetSize() < n)
        return rifiuta(MSG_DISCRETIZZAZIONE_KV, 0);
    const ArrayPunti2D &P = *p->pPuntiCurva, &CMR = *p->pPosCMR;
    const ArrayDouble& KV = *p->pGraficoKV;
    auto fattoreShift = [&](int i) { return shift != nullptr ? (*shift)[i] : 1.0; };
    for (int i = 0; i < n; ++i)
        if (!Finiti({A[i], P[i].X, P[i].Y, CMR[i].X, CMR[i].Y, KV[i], fattoreShift(i)}))
            return rifiuta(MSG_DISCRETIZZAZIONE_NON_FINITA, i);

    const double dR = A[n - 1] - A[0];
    if (dR == 0)
        return 0;
    if (p->pTempoScansione == nullptr || !(*p->pTempoScansione > 0) || !std::isfinite(*p->pTempoScansione))
        return rifiuta(MSG_DISCRETIZZAZIONE_TEMPO, 0);
    const double T = *p->pTempoScansione;
    // Any non-zero flag makes R increase.
    const bool positivo = *p->pVersoPositivo != 0;
    const bool sale = (dR > 0 && positivo) || (dR < 0 && !positivo);
    double omega = sale ? dR / T : -dR / T;
    const int s = sale ? 0 : n - 1, fine = sale ? n - 1 : 0, verso = sale ? 1 : -1;
    for (int i = 0; i + 1 < n; ++i)
        if ((dR < 0 && A[i + 1] > A[i]) || (dR > 0 && A[i + 1] < A[i]))
            return rifiuta(107, 0);

    // The arm word adds one half whatever its sign: the one exception to rounding half away from zero.
    const double parolaR = omega * asseR.StepPerUnita / asseR.StepSPerLSB + 0.5;
    if (!std::isfinite(parolaR))
        return rifiuta(MSG_DISCRETIZZAZIONE_NON_FINITA, s);
    const std::int32_t wR = TroncaInt(parolaR);
    omega = VelocitaDaParola(wR, asseR.StepPerUnita, asseR.StepSPerLSB);
    const double dt = l.PassoTemporale;
    const double passiStimati = std::fabs(dR) / (std::fabs(omega) * dt);
    if (!(dt > 0) || !(passiStimati <= MAX_PASSI))
        return rifiuta(MSG_DISCRETIZZAZIONE_TROPPO_LUNGA, 0);

    const double R0 = A[s];
    const std::int32_t kV0 = KVDaGrafico(KV[s]);
    PUNTO_TRAIETTORIA& inizio = t.PuntoIniziale;
    inizio.dPosX = CMR[s].X;
    inizio.dPosY = CMR[s].Y;
    inizio.dPosR = R0;
    inizio.iKV = kV0;
    inizio.imA = kV0 > 0 ? 100 : 0;
    const bool ingrandimentoPerPasso = p->pIngrandimento == nullptr;
    if (ingrandimentoPerPasso) {
        t.IngrandimentoMinimo = 100.0;
        t.IngrandimentoMassimo = -100.0;
    }
    const double Dcm = l.CentroMonoblocco, Dcs = l.CentSensPan;
    double X = CMR[s].X, Y = CMR[s].Y, vxPrec = 0, vyPrec = 0, shiftPrec = fattoreShift(s);
    V2 paPrec = Punto(P[s]);
    // The time law never gives a previous angle for the first step: it is the start angle.
    double Rprec = R0;
    std::int32_t kVUltimo = kV0;
    double carry = 0, acc = 0;
    // The target extremes start from the start position, so they hold even when no step is made.
    double riep[RIEPILOGO_VALORI] = {0, 0, std::fabs(omega), 0, 0, X, X, Y, Y, 0, 0, 0};

    t.ArrayPassi.Reserve(static_cast<int>(passiStimati) + 1);
    int j = s + verso;
    for (double Rt = R0 + omega * dt; omega > 0 ? Rt < A[fine] : Rt > A[fine]; Rt += omega * dt) {
        if (t.ArrayPassi.GetSize() >= MAX_PASSI)
            return rifiuta(MSG_DISCRETIZZAZIONE_TROPPO_LUNGA, j);
        while (j != fine && (omega > 0 ? Rt > A[j] : Rt < A[j]))
            j += verso;
        const int q = j - verso;
        const double u = (Rt - A[q]) / (A[j] - A[q]);
        auto interpola = [u](double vj, double vq) { return vj * u + vq * (1 - u); };
        const double Xt = interpola(CMR[j].X, CMR[q].X), Yt = interpola(CMR[j].Y, CMR[q].Y);
        const V2 Pt{interpola(P[j].X, P[q].X), interpola(P[j].Y, P[q].Y)};
        const double kv = interpola(KV[j], KV[q]);
        const double shiftT = shift != nullptr ? interpola((*shift)[j], (*shift)[q]) : 1.0;
        const std::int32_t kVt = KVDaGrafico(kv);

        if (Xt < asseX.PosMin)
            CaricaMessaggio(avvisi, 108, j);
        if (Xt > asseX.PosMax)
            CaricaMessaggio(avvisi, 109, j);
        if (Yt < asseY.PosMin)
            CaricaMessaggio(avvisi, 110, j);
        if (Yt > asseY.PosMax)
            CaricaMessaggio(avvisi, 111, j);
        if (Rt < asseR.PosMin)
            CaricaMessaggio(avvisi, 112, j);
        if (Rt > asseR.PosMax)
            CaricaMessaggio(avvisi, 113, j);
        const double vx = (Xt - X) / dt, vy = (Yt - Y) / dt;
        if (!Finiti({vx, vy}))
            return rifiuta(MSG_DISCRETIZZAZIONE_NON_FINITA, j);
        if (std::fabs(vx) > asseX.MaxVel)
            CaricaMessaggio(avvisi, 114, j);
        if (std::fabs(vy) > asseY.MaxVel)
            CaricaMessaggio(avvisi, 115, j);
        if (!t.ArrayPassi.IsEmpty()) {
            const double accX = (vx - vxPrec) / dt, accY = (vy - vyPrec) / dt;
            if (std::fabs(accX) > asseX.MaxAcc)
                CaricaMessaggio(avvisi, 116, j);
            if (std::fabs(accY) > asseY.MaxAcc)
                CaricaMessaggio(avvisi, 117, j);
            riep[RIEPILOGO_ACC_X_MAX] = std::max(riep[RIEPILOGO_ACC_X_MAX], std::fabs(accX));
            riep[RIEPILOGO_ACC_Y_MAX] = std::max(riep[RIEPILOGO_ACC_Y_MAX], std::fabs(accY));
        }
        riep[RIEPILOGO_VEL_X_MAX] = std::max(riep[RIEPILOGO_VEL_X_MAX], std::fabs(vx));
        riep[RIEPILOGO_VEL_Y_MAX] = std::max(riep[RIEPILOGO_VEL_Y_MAX], std::fabs(vy));
        riep[RIEPILOGO_X_MAX] = std::max(riep[RIEPILOGO_X_MAX], Xt);
        riep[RIEPILOGO_X_MIN] = std::min(riep[RIEPILOGO_X_MIN], Xt);
        riep[RIEPILOGO_Y_MAX] = std::max(riep[RIEPILOGO_Y_MAX], Yt);
        riep[RIEPILOGO_Y_MIN] = std::min(riep[RIEPILOGO_Y_MIN], Yt);

        const std::int32_t wX = ParolaVelocita(vx, asseX.StepPerUnita, asseX.StepSPerLSB);
        const std::int32_t wY = ParolaVelocita(vy, asseY.StepPerUnita, asseY.StepSPerLSB);
        const double vxq = VelocitaDaParola(wX, asseX.StepPerUnita, asseX.StepSPerLSB);
        const double vyq = VelocitaDaParola(wY, asseY.StepPerUnita, asseY.StepSPerLSB);
        const V2 Qprec{X, Y};
        X += vxq * dt;
        Y += vyq * dt;
        const V2 Q{X, Y};

        // The arch point the realized beam really crosses, on the line from the last one through the target.
        const double radianti = GradiARadianti(Rt);
        const V2 b{std::cos(radianti), std::sin(radianti)};
        const V2 corda = Pt - paPrec;
        const double lunghezza = Modulo(corda);
        V2 Pa = Pt;
        // A target that has not moved gives no line to cross: it is taken as it stands, as for a parallel beam.
        if (lunghezza > 0) {
            const V2 d = corda * (1.0 / lunghezza);
            const double dxb = Vettoriale(d, b);
            if (dxb != 0)
                Pa = Q + b * (Vettoriale(Q - paPrec, d) / dxb);
        }

        double M = 0;
        if (ingrandimentoPerPasso) {
            const V2 e = Pa - Q;
            const double distanza = Modulo(e);
            const double sigma = b.x * (e.x / distanza) + b.y * (e.y / distanza) > 0 ? 1.0 : -1.0;
            M = ((Dcm + Dcs) / (Dcm - sigma * distanza) + (Dcm + Dcs) / (Dcm - sigma * Modulo(Qprec - paPrec))) / 2.0;
        } else {
            M = *p->pIngrandimento;
        }
        const V2 dPa = Pa - paPrec;
        const double phi = AngoloImmagine(GradiARadianti((Rt + Rprec) / 2.0) - std::atan2(dPa.x, -dPa.y));
        const double pixel = Modulo(dPa) * M * std::cos(phi) / l.DimPixelPano;
        const double S = (positivo ? 1.0 : -1.0) * (shiftPrec + shiftT) / 2.0;
        const double r = std::fabs(pixel / S);
        const double parolaC = r * l.DimPixelPano / dt * asseC.StepPerUnita / asseC.StepSPerLSB +
                               (Modulo(dPa) * M > 0 ? 0.5 : -0.5);
        if (!Finiti({X, Y, Pa.x, Pa.y, M, r, parolaC}))
            return rifiuta(MSG_DISCRETIZZAZIONE_NON_FINITA, j);
        if (ingrandimentoPerPasso) {
            t.IngrandimentoMinimo = std::min(t.IngrandimentoMinimo, M);
            t.IngrandimentoMassimo = std::max(t.IngrandimentoMassimo, M);
        }
        const std::int32_t wC = TroncaInt(std::fabs(std::trunc(parolaC)));
        const double vC = VelocitaDaParola(wC, asseC.StepPerUnita, asseC.StepSPerLSB);
        if (vC > asseC.MaxVel)
            CaricaMessaggio(avvisi, 186, j);
        riep[RIEPILOGO_VEL_C_MAX] = std::max(riep[RIEPILOGO_VEL_C_MAX], vC);

        // Each appended value is the shift summed over exactly one pixel; acc holds the share of the
        // pixel in progress, so a step that completes none adds its own share to it.
        const double pixelInteri = std::trunc(r + carry);
        if (pixelInteri != 0) {
            if (pixelInteri > MAX_VALORI_SHIFT - t.ArrayShift.GetSize())
                return rifiuta(MSG_DISCRETIZZAZIONE_TROPPO_LUNGA, j);
            t.ArrayShift.Add(acc + (1 - carry) * S);
            for (int k = 1; k < static_cast<int>(pixelInteri); ++k)
                t.ArrayShift.Add(S);
            carry = r + carry - pixelInteri;
            acc = carry * S;
        } else {
            carry += r;
            acc += r * S;
        }

        PASSO_TRAIETTORIA passo;
        passo.iX = ParolaInSegnoModulo(wX);
        passo.iY = ParolaInSegnoModulo(wY);
        passo.iR = ParolaInSegnoModulo(wR);
        passo.iC = wC;
        passo.iKV = kVt;
        passo.imA = kVt > 0 ? 100 : 0;
        passo.iH = 0;
        if (t.ArrayPassi.IsEmpty()) {
            inizio.dVelX = vxq;
            inizio.dVelY = vyq;
            inizio.dVelR = omega;
        }
        t.ArrayPassi.Add(passo);
        vxPrec = vxq;
        vyPrec = vyq;
        paPrec = Pa;
        shiftPrec = shiftT;
        Rprec = Rt;
        kVUltimo = kVt;
    }

    PUNTO_TRAIETTORIA& fineScan = t.PuntoFinale;
    fineScan.dPosX = X;
    fineScan.dPosY = Y;
    fineScan.dPosR = Rprec;
    fineScan.dVelX = vxPrec;
    fineScan.dVelY = vyPrec;
    fineScan.dVelR = omega;
    fineScan.iKV = kVUltimo;
    fineScan.imA = kVUltimo != 0 ? 100 : 0;
    riep[RIEPILOGO_R_MAX] = std::max(R0, Rprec);
    riep[RIEPILOGO_R_MIN] = std::min(R0, Rprec);
    if (riepilogo != nullptr)
        std::copy(riep, riep + RIEPILOGO_VALORI, riepilogo);
    ImpostaSeVuoto(t.StringaErrore, avvisi);
    return 1;
}

int CTraiettoria::DiscretizzaTraiettoriaPanoramica(double* const riepilogo)
{
    int versoPositivo = InvScaricamento == 0 ? 1 : 0;
    // The geometry gives the direction from the rotation centre to the arch; the beam runs the other way.
    ArrayDouble angoli;
    angoli.SetSize(GraficoRotaz.GetSize());
    for (int i = 0; i < GraficoRotaz.GetSize(); ++i)
        angoli[i] = GraficoRotaz[i] - 180.0;
    ParametriDiscretizzazione p;
    p.pTraiettoria = this;
    p.pTempoScansione = &TempoScansiones;
    p.pIngrandimento = Is2Assi == 0 ? &Ingrandimento : nullptr;
    p.pVersoPositivo = &versoPositivo;
    p.pOffsetGraficoKV = &OffsetGraficoKV;
    p.pPuntiCurva = &CurvaDenti.ArrayCurvaDenti;
    p.pArrayR = &angoli;
    p.pGraficoKV = &GraficoKV;
    p.pGraficoShift = &GraficoShift;
    p.pPosCMR = &PosCMR;
    TipoCurva = CURVA_NON_CALCOLATA;
    if (!DiscretizzaPerRotazione(&p, riepilogo))
        return 0;
    TipoCurva = CURVA_PANORAMICA;
    if (!ControlloAntiCollisione(StringaErrore, ANTICOLLISIONE_PAN))
        CaricaMessaggio(StringaErrore, 178);
    return 1;
}
