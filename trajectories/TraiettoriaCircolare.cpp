#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Numerico.h"
#include "core/VerificaMacchina.h"
#include "resources/Messaggi.h"
#include "trajectories/Traiettoria.h"

namespace {

// More steps than any scan needs; a longer one is refused rather than allocated.
constexpr double MAX_PASSI_CIRCOLARE = 1000000.0;

// Tube current at an arm direction: the frontal value at +/-90 degrees, the lateral one at 0 and 180.
std::int32_t CorrentePerAngolo(const DirezioneBraccio& b, std::int32_t frontali, std::int32_t laterali)
{
    const double s = b.seno, c = b.coseno;
    return TroncaInt(frontali * s * s + laterali * c * c + 0.5);
}

}  // namespace

int CTraiettoria::CalcolaTraiettoriaCircolare(double* const statistiche)
{
    CancellaTutto();
    TipoCurva = CURVA_NON_CALCOLATA;
    const CLimitiEParametri& l = LimitiEParametri;
    if (!VerificaMacchina(l, USO_MOTO, StringaErrore))
        return 0;
    const PARAMETRI_ASSE &ax = l.AsseX, &ay = l.AsseY, &ar = l.AsseR;
    const double dt = l.PassoTemporale;
    double r = RCerchioXYmm;
    double A = AmpiezzaArcodeg;
    double T = TempoScansionesCirc;
    const double phi0 = PosInizArcodeg;
    const double phi0r = phi0 * DUE_PI_GRECO / 360.0;
    // Parameters that are not numbers leave nothing to adapt: the computation fails at once.
    for (double v : {r, A, T, phi0, XCentroRotazmm, YCentroRotazmm})
        if (!std::isfinite(v))
            return 0;

    // The circle within both travels, then its centre.
    for (const PARAMETRI_ASSE* asse : {&ax, &ay})
        if (r > (asse->PosMax - asse->PosMin) / 2.0)
            r = (asse->PosMax - asse->PosMin) / 2.0 * 0.999;
    if (XCentroRotazmm + r > ax.PosMax)
        XCentroRotazmm = ax.PosMax - r;
    if (ax.PosMin > XCentroRotazmm - r)
        XCentroRotazmm = ax.PosMin + r;
    if (YCentroRotazmm + r > ay.PosMax)
        YCentroRotazmm = ay.PosMax - r;
    if (ay.PosMin > YCentroRotazmm - r)
        YCentroRotazmm = ay.PosMin + r;
    const double xc = XCentroRotazmm, yc = YCentroRotazmm;

    // Scan time long enough for the arm, the centre's speed and its acceleration.
    const double vR = ar.MaxVel;
    if ((A > 0 && A > vR * T) || (A < 0 && -vR * T > A))
        T = std::fabs(A) / vR;
    const double vmax = std::min(ax.MaxVel, ay.MaxVel);
    const double v = DUE_PI_GRECO * r / T * A / 360.0;
    if (v > vmax || v < -vmax)
        T = std::fabs(DUE_PI_GRECO * r / vmax * A / 360.0);
    const double amax = std::min(ax.MaxAcc, ay.MaxAcc);
    const double omega0 = DUE_PI_GRECO / T * A / 360.0;
    const double a = omega0 * omega0 * r;
    if (a > amax || a < -amax) {
        const double k = DUE_PI_GRECO * A / 360.0;
        T = std::sqrt(k * k * std::fabs(r) / amax);
    }
    if (!std::isfinite(T) || T / dt > MAX_PASSI_CIRCOLARE) {
        TempoScansionesCirc = T;
        return 0;
    }
    // Whole steps exactly as the drive's software counts them: no tolerance for floating point.
    T = std::ceil(T / dt) * dt;
    TempoScansionesCirc = T;
    if (!(T > 0))
        return 0;

    // The arm runs at a speed its drive can command; the arc follows from it.
    const std::int32_t wR = TroncaInt(A / T * ar.StepPerUnita / ar.StepSPerLSB + 0.5);
    const double omegaD = VelocitaDaParola(wR, ar.StepPerUnita, ar.StepSPerLSB);
    A = omegaD * T;
    AmpiezzaArcodeg = A;
    const double omega = DUE_PI_GRECO / T * A / 360.0;

    // Scale the radius so the first Y speed is one the drive runs exactly.
    const double vx1 = (r * std::cos(omega * dt + phi0r) - r * std::cos(phi0r)) / dt;
    const double vy1 = (r * std::sin(omega * dt + phi0r) - r * std::sin(phi0r)) / dt;
    if (vx1 != 0 && vy1 != 0)
        r = r * VelocitaQuantizzata(vy1, ay.StepPerUnita, ay.StepSPerLSB) / vy1;
    RCerchioXYmm = r;
    // The step count truncates the whole-step time again; it may come out one step short of it.
    const int N = TroncaInt(T / dt);

    // The arm's direction at the start and after every step, for the tube current and the head check.
    std::vector<DirezioneBraccio> direzioni;
    direzioni.reserve(static_cast<std::size_t>(N) + 1);
    auto corrente = [&](const DirezioneBraccio& b) {
        return KVaRegimeCirc != 0 ? CorrentePerAngolo(b, mAFrontali, mALaterali) : 0;
    };
    PuntoIniziale.dPosX = r * std::cos(phi0r) + xc;
    PuntoIniziale.dPosY = r * std::sin(phi0r) + yc;
    PuntoIniziale.dPosR = phi0;
    PuntoIniziale.iKV = KVaRegimeCirc;
    direzioni.push_back(DirezioneDaGradi(phi0));
    PuntoIniziale.imA = corrente(direzioni.back());
    double xRaggiunta = PuntoIniziale.dPosX, yRaggiunta = PuntoIniziale.dPosY;
    double stat[9] = {0, 0, 0, 0, 0, xRaggiunta, xRaggiunta, yRaggiunta, yRaggiunta};
    double vxPrec = 0, vyPrec = 0, x = xRaggiunta, y = yRaggiunta, Ri = phi0;
    bool avvisato[6] = {};
    auto avvisa = [&](bool condizione, int k, int messaggio) {
        if (condizione && !avvisato[k]) {
            avvisato[k] = true;
            CaricaMessaggio(StringaErrore, messaggio);
        }
    };
    ArrayPassi.Reserve(N);
    const std::int32_t parolaR = ParolaInSegnoModulo(wR);
    // With no radius the centre stands still: zero times a cosine, added to a centre other than -0,
    // is the centre itself, so the cosine and sine need not be worked out.
    const bool fermo = r == 0.0 && !std::signbit(xc) && !std::signbit(yc);
    VelocitaParole velocitaX(ax.StepPerUnita, ax.StepSPerLSB), velocitaY(ay.StepPerUnita, ay.StepSPerLSB);
    for (int i = 1; i <= N; ++i) {
        if (fermo) {
            x = xc;
            y = yc;
        } else {
            x = r * std::cos(i * omega * dt + phi0r) + xc;
            y = r * std::sin(i * omega * dt + phi0r) + yc;
        }
        Ri += omegaD * dt;
        avvisa(x < ax.PosMin, 0, 148);
        avvisa(x > ax.PosMax, 1, 149);
        avvisa(y < ay.PosMin, 2, 150);
        avvisa(y > ay.PosMax, 3, 151);
        avvisa(Ri < ar.PosMin, 4, 152);
        avvisa(Ri > ar.PosMax, 5, 153);
        const double vx = (x - xRaggiunta) / dt, vy = (y - yRaggiunta) / dt;
        // The statistics only for a caller that asks for them: nothing else reads them.
        if (statistiche != nullptr) {
            stat[5] = std::max(stat[5], x);
            stat[6] = std::min(stat[6], x);
            stat[7] = std::max(stat[7], y);
            stat[8] = std::min(stat[8], y);
            stat[0] = std::max(stat[0], std::fabs(vx));
            stat[1] = std::max(stat[1], std::fabs(vy));
            if (i > 1) {
                stat[3] = std::max(stat[3], std::fabs((vx - vxPrec) / dt));
                stat[4] = std::max(stat[4], std::fabs((vy - vyPrec) / dt));
            }
        }
        const std::int32_t wx = ParolaVelocita(vx, ax.StepPerUnita, ax.StepSPerLSB);
        const std::int32_t wy = ParolaVelocita(vy, ay.StepPerUnita, ay.StepSPerLSB);
        vxPrec = velocitaX.DaParola(wx);
        vyPrec = velocitaY.DaParola(wy);
        xRaggiunta += vxPrec * dt;
        yRaggiunta += vyPrec * dt;
        if (i == 1) {
            PuntoIniziale.dVelX = vxPrec;
            PuntoIniziale.dVelY = vyPrec;
            PuntoIniziale.dVelR = omegaD;
        }
        PASSO_TRAIETTORIA passo;
        passo.iX = ParolaInSegnoModulo(wx);
        passo.iY = ParolaInSegnoModulo(wy);
        passo.iR = parolaR;
        passo.iC = 1000;
        passo.iKV = KVaRegimeCirc;
        direzioni.push_back(DirezioneDaGradi(Ri));
        passo.imA = corrente(direzioni.back());
        passo.iH = 0;
        ArrayPassi.Add(passo);
    }
    stat[2] = omegaD;
    PuntoFinale.dPosX = x;
    PuntoFinale.dPosY = y;
    PuntoFinale.dPosR = phi0 + A;
    PuntoFinale.dVelX = vxPrec;
    PuntoFinale.dVelY = vyPrec;
    PuntoFinale.dVelR = omegaD;
    PuntoFinale.iKV = KVaRegimeCirc;
    PuntoFinale.imA = corrente(DirezioneDaGradi(phi0 + A));
    if (statistiche != nullptr)
        std::copy(stat, stat + 9, statistiche);
    TipoCurva = CURVA_CIRCOLARE;
    if (!ControlloAntiCollisione(StringaErrore, ANTICOLLISIONE_3D, &direzioni))
        CaricaMessaggio(StringaErrore, 178);
    return 1;
}
