#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "core/Numerico.h"
#include "resources/Messaggi.h"
#include "trajectories/Traiettoria.h"

namespace {

// The step buffer holds 3000 steps; a hundred times that leaves room for any scan a host may try
// and still refuses an absurd scan time before anything is allocated.
constexpr double MAX_PASSI_CEFALOMETRICA = 3000.0 * 100.0;

// Tube settings of steps 21 to 39 of the start ramp; before it 75 and 30, after it 100 and 100.
constexpr std::int32_t RAMPA_KV[] = {78, 79, 80, 81, 83, 84, 85, 86, 87, 89, 90, 91, 92, 93, 95, 96, 97, 98, 99};
constexpr std::int32_t RAMPA_MA[] = {37, 40, 44, 47, 50, 54, 57, 60, 64, 67, 70, 74, 77, 80, 84, 87, 90, 94, 97};
constexpr int RAMPA_PRIMO = 21;
constexpr int RAMPA_FINE = RAMPA_PRIMO + static_cast<int>(std::size(RAMPA_KV));
static_assert(std::size(RAMPA_KV) == std::size(RAMPA_MA));

struct Punto {
    double x, y;
};
Punto operator+(Punto a, Punto b) { return {a.x + b.x, a.y + b.y}; }
Punto operator-(Punto a, Punto b) { return {a.x - b.x, a.y - b.y}; }
Punto operator*(Punto a, double k) { return {a.x * k, a.y * k}; }
double Modulo(Punto a) { return std::hypot(a.x, a.y); }
Punto Versore(Punto a) { return a * (1.0 / Modulo(a)); }
double Direzione(Punto a) { return std::atan2(a.y, a.x); }
bool Finito(Punto a) { return std::isfinite(a.x) && std::isfinite(a.y); }

// Where the line through p at angle a (radians) meets the H line, in the cotangent form; a beam
// parallel to the H line (or an angle whose cotangent is infinite) gives a non-finite point.
Punto SullaLineaH(Punto p, double a, Punto hc, double kH)
{
    const double k = std::cos(a) / std::sin(a);
    Punto r;
    r.y = (hc.x - p.x + k * p.y - kH * hc.y) / (k - kH);
    r.x = hc.x - kH * (hc.y - r.y);
    return r;
}

// Where the line through the sensor point q and the fixed point f crosses X = 0.
Punto SuAsseX0(Punto q, Punto f)
{
    const Punto d = Versore(f - q);
    return q + d * (-q.x / d.x);
}

void Tubo(int i, bool rampa, std::int32_t kvRegime, std::int32_t& kv, std::int32_t& ma)
{
    if (!rampa) {
        kv = kvRegime;
        ma = kvRegime != 0 ? 100 : 0;
    } else if (i < RAMPA_PRIMO) {
        kv = 75;
        ma = 30;
    } else if (i < RAMPA_FINE) {
        kv = RAMPA_KV[i - RAMPA_PRIMO];
        ma = RAMPA_MA[i - RAMPA_PRIMO];
    } else {
        kv = 100;
        ma = 100;
    }
}

}  // namespace

int CTraiettoria::CalcolaTraiettoriaCefalometrica(double* const statistiche)
{
    CancellaTutto();
    TipoCurva = CURVA_NON_CALCOLATA;
    auto rifiuta = [&](int messaggio, int indice) {
        CancellaTutto();
        CaricaMessaggio(StringaErrore, messaggio, indice);
        return 0;
    };
    const CLimitiEParametri& l = LimitiEParametri;
    const PARAMETRI_ASSE &ax = l.AsseX, &ay = l.AsseY, &ar = l.AsseR, &ac = l.AsseC, &ah = l.AsseH;
    const bool dueAssi = Is2Assi != 0;
    const bool destro = BraccioDestro != 0;
    const bool rampa = CreaRampaSTF != 0;
    const double dt = l.PassoTemporale;
    const double phiGradi = destro ? l.InclinazHDx : l.InclinazHSx;
    const Punto hc = destro ? Punto{l.XCentroHDx, l.YCentroHDx} : Punto{l.XCentroHSx, l.YCentroHSx};
    const double cvr = l.DistanzaCVR, dcm = l.CentroMonoblocco, hOrtho = l.PosHOrtho;
    const double sid = DistanzaSIDmm, sm = SpostamentoMenomm;
    double T = TempoScansionesCef, sp = SpostamentoPiumm;

    // The sensor only ever runs from Spostamento - towards Spostamento +, so the travel must be positive.
    if (!(std::isfinite(T) && T > 0 && std::isfinite(sid) && sid > 0 && std::isfinite(sm) && std::isfinite(sp) &&
          sp > sm))
        return rifiuta(MSG_CEFALOMETRICA_PARAMETRI, 0);
    bool macchinaValida = std::isfinite(dt) && dt > 0 && std::isfinite(cvr) && (dueAssi || cvr > 0);
    for (double v : {phiGradi, hc.x, hc.y, dcm, hOrtho})
        macchinaValida = macchinaValida && std::isfinite(v);
    for (const PARAMETRI_ASSE* asse : {&ax, &ay, &ar, &ac, &ah})
        macchinaValida = macchinaValida && std::isfinite(asse->StepPerUnita) && asse->StepPerUnita > 0 &&
                         std::isfinite(asse->StepSPerLSB) && asse->StepSPerLSB > 0;
    if (!macchinaValida)
        return rifiuta(MSG_CEFALOMETRICA_MACCHINA, 0);

    const double phi = GradiARadianti(phiGradi);
    const Punto dH{std::cos(phi), std::sin(phi)};
    const Punto u{std::sin(phi), -std::cos(phi)};
    // The two-axis variant pivots the beam on F, at the SID from the H centre, instead of on S0.
    const Punto s0 = hc + u * (dueAssi ? sid : cvr);
    const double dConst = sid - dcm;
    const double dFree = cvr - (sid - dcm);

    // Sweep angles and the arm speed the R drive can command.
    const Punto v0 = s0 - hc;
    const double a1 = Direzione(v0);
    const double a2 = Direzione(v0 + dH * sm);
    const double a3 = Direzione(v0 + dH * sp);
    const double deltaR = (a3 - a2) * 180.0 / PI_GRECO;
    // A beam through a fixed point sweeps a line by less than half a turn: more means the directions
    // wrapped at 180 degrees, and the arm would turn the long way round.
    if (!(std::fabs(deltaR) < 180.0))
        return rifiuta(MSG_CEFALOMETRICA_SPAZZATA_AVVOLTA, 0);
    double omega = deltaR / T;
    const double parolaR = std::trunc(omega * ar.StepPerUnita / ar.StepSPerLSB + 0.5);
    if (!(std::fabs(parolaR) <= PAROLA_MASSIMA))
        return rifiuta(MSG_PAROLA_FUORI_CAMPO, 0);
    const std::int32_t wR = static_cast<std::int32_t>(parolaR);
    if (wR == 0)
        return rifiuta(MSG_CEFALOMETRICA_BRACCIO_FERMO, 0);
    omega = VelocitaDaParola(wR, ar.StepPerUnita, ar.StepSPerLSB);

    // Scan time in whole steps, then the end of the sweep where the quantised arm takes the beam.
    const double passi = std::trunc(deltaR / omega / dt + 0.5);
    if (!(passi <= MAX_PASSI_CEFALOMETRICA) || !(passi * dt <= FLT_MAX))
        return rifiuta(MSG_CEFALOMETRICA_TROPPO_LUNGA, 0);
    if (passi < 1)
        return rifiuta(MSG_CEFALOMETRICA_PARAMETRI, 0);
    const int nPassi = static_cast<int>(passi);
    T = passi * dt;
    sp = Modulo(v0) * std::tan(T * omega * PI_GRECO / 180.0 + a2 - a1);
    if (!(std::fabs(sp) <= FLT_MAX))
        return rifiuta(MSG_FASCIO_PARALLELO_LINEA_H, nPassi - 1);
    TempoScansionesCef = static_cast<float>(T);
    SpostamentoPiumm = static_cast<float>(sp);

    // Target rotation centre for a sensor point: on the beam, at a fixed distance from the sensor
    // or from S0, or (two axes) where the beam crosses X = 0.
    auto centro = [&](Punto q) {
        if (dueAssi)
            return SuAsseX0(q, s0);
        if (IsIngrCostante != 0)
            return q + Versore(s0 - q) * dConst;
        return s0 + Versore(q - s0) * dFree;
    };
    const int msgFascio = dueAssi ? MSG_FASCIO_PARALLELO_X0 : MSG_FASCIO_PARALLELO_LINEA_H;

    const Punto q0 = hc - dH * sm;
    const Punto c0 = centro(q0);
    if (!Finito(c0))
        return rifiuta(msgFascio, 0);
    const double r0 = Direzione(c0 - q0) * 180.0 / PI_GRECO;
    const std::int32_t mARegime = KVaRegimeCef != 0 ? 100 : 0;
    PuntoIniziale.dPosX = c0.x;
    PuntoIniziale.dPosY = c0.y;
    PuntoIniziale.dPosR = r0;
    PuntoIniziale.dPosH = sm + hOrtho;
    PuntoIniziale.iKV = KVaRegimeCef;
    PuntoIniziale.imA = mARegime;

    double mMin = 10.0;
    // Nothing fixes where the general variant's largest magnification starts: 0, below any real one.
    double mMax = 0.0;
    // The two-axis variant widens the section's own extremes from 100 and -100; they are written
    // once the scan has computed, so a refused scan leaves them as they were.
    if (dueAssi) {
        mMin = 100.0;
        mMax = -100.0;
    }
    // Statistics: 0-6 speeds and accelerations, 7-14 largest and smallest X, Y, R, H, 15-16
    // magnification, 17 C speed.
    double stat[18] = {};
    for (int k = 7; k < 15; k += 2) {
        stat[k] = -HUGE_VAL;
        stat[k + 1] = HUGE_VAL;
    }
    stat[2] = omega;
    // Range messages wait for the end of the loop, so a refused scan reports why it was refused.
    int avvisi[8];
    int nAvvisi = 0;
    auto avvisa = [&](bool condizione, int messaggio) {
        if (condizione && std::find(avvisi, avvisi + nAvvisi, messaggio) == avvisi + nAvvisi)
            avvisi[nAvvisi++] = messaggio;
    };

    const double kH = std::cos(phi) / std::sin(phi);
    const Punto hRiferimento = hc + dH * hOrtho;
    Punto q = q0, c = c0;
    double r = r0, vX = 0, vY = 0, vH = 0;
    ArrayPassi.Reserve(nPassi);
    // The loop compares in single precision, as the scan time is stored; it ends at nPassi steps.
    const float tF = TempoScansionesCef;
    for (int i = 0; tF > static_cast<float>(i * dt); ++i) {
        const double a = r + omega * dt;
        const double aRad = GradiARadianti(a);
        const Punto ideale = SullaLineaH(s0, aRad, hc, kH);
        if (!Finito(ideale))
            return rifiuta(MSG_FASCIO_PARALLELO_LINEA_H, i);
        const Punto bersaglio = centro(ideale);
        if (!Finito(bersaglio))
            return rifiuta(msgFascio, i);

        // X and Y follow the centre the words really reach.
        const std::int32_t wX = ParolaVelocita((bersaglio.x - c.x) / dt, ax.StepPerUnita, ax.StepSPerLSB);
        const std::int32_t wY = ParolaVelocita((bersaglio.y - c.y) / dt, ay.StepPerUnita, ay.StepSPerLSB);
        if (!ParolaNelCampo(wX) || !ParolaNelCampo(wY))
            return rifiuta(MSG_PAROLA_FUORI_CAMPO, i);
        const double vXi = VelocitaDaParola(wX, ax.StepPerUnita, ax.StepSPerLSB);
        const double vYi = VelocitaDaParola(wY, ay.StepPerUnita, ay.StepSPerLSB);
        const Punto c1{c.x + vXi * dt, c.y + vYi * dt};

        // H moves the sensor to where the beam through the reached centre meets its line.
        const Punto sensore = SullaLineaH(c1, aRad, hc, kH);
        if (!Finito(sensore))
            return rifiuta(MSG_FASCIO_PARALLELO_LINEA_H, i);
        const std::int32_t wH = ParolaVelocita(Modulo(sensore - q) / dt, ah.StepPerUnita, ah.StepSPerLSB);
        const double vHi = VelocitaDaParola(wH, ah.StepPerUnita, ah.StepSPerLSB);
        const Punto q1 = q - dH * (vHi * dt);
        const std::int32_t wC = ParolaVelocita(vHi, ac.StepPerUnita, ac.StepSPerLSB);
        if (!ParolaNelCampo(wH) || !ParolaNelCampo(wC))
            return rifiuta(MSG_PAROLA_FUORI_CAMPO, i);

        const double L = Modulo(q1 - c1) + dcm;
        const double m = L / (L - 150.0);
        mMin = std::min(mMin, m);
        mMax = std::max(mMax, m);

        const double valoreH = Modulo(q1 - hRiferimento);
        stat[0] = std::max(stat[0], std::fabs(vXi));
        stat[1] = std::max(stat[1], std::fabs(vYi));
        stat[3] = std::max(stat[3], vHi);
        if (i > 0) {
            stat[4] = std::max(stat[4], std::fabs((vXi - vX) / dt));
            stat[5] = std::max(stat[5], std::fabs((vYi - vY) / dt));
            stat[6] = std::max(stat[6], std::fabs((vHi - vH) / dt));
        }
        const double estremi[4] = {c1.x, c1.y, a, valoreH};
        for (int k = 0; k < 4; ++k) {
            stat[7 + 2 * k] = std::max(stat[7 + 2 * k], estremi[k]);
            stat[8 + 2 * k] = std::min(stat[8 + 2 * k], estremi[k]);
        }
        stat[17] = std::max(stat[17], VelocitaDaParola(wC, ac.StepPerUnita, ac.StepSPerLSB));
        avvisa(stat[8] < ax.PosMin, 148);
        avvisa(stat[7] > ax.PosMax, 149);
        avvisa(stat[10] < ay.PosMin, 150);
        avvisa(stat[9] > ay.PosMax, 151);
        avvisa(stat[12] < ar.PosMin, 152);
        avvisa(stat[11] > ar.PosMax, 153);
        avvisa(stat[14] < ah.PosMin, 154);
        avvisa(stat[13] > ah.PosMax, 155);

        PASSO_TRAIETTORIA passo;
        Tubo(i, rampa, KVaRegimeCef, passo.iKV, passo.imA);
        if (i == 0) {
            PuntoIniziale.dVelX = vXi;
            PuntoIniziale.dVelY = vYi;
            PuntoIniziale.dVelR = omega;
            PuntoIniziale.dVelH = vHi;
            if (rampa) {
                PuntoIniziale.iKV = 75;
                PuntoIniziale.imA = 30;
            }
        }
        passo.iX = ParolaInSegnoModulo(wX);
        passo.iY = ParolaInSegnoModulo(wY);
        passo.iR = ParolaInSegnoModulo(wR);
        passo.iC = wC;
        passo.iH = ParolaInSegnoModulo(wH);
        ArrayPassi.Add(passo);
        q = q1;
        c = c1;
        r = a;
        vX = vXi;
        vY = vYi;
        vH = vHi;
    }
    if (dueAssi) {
        IngrandimentoMinimo = mMin;
        IngrandimentoMassimo = mMax;
    }

    // The end point's H is signed by which side of the H centre the sensor stopped, seen from the
    // origin of the plane.
    const double polareHC = Direzione(hc);
    double polareQ = Direzione(q);
    if (polareQ - polareHC > PI_GRECO)
        polareQ -= DUE_PI_GRECO;
    else if (polareHC - polareQ > PI_GRECO)
        polareQ += DUE_PI_GRECO;
    const double distanzaH = Modulo(q - hc);
    PuntoFinale.dPosX = c.x;
    PuntoFinale.dPosY = c.y;
    PuntoFinale.dPosR = Direzione(c - q) * 180.0 / PI_GRECO;
    PuntoFinale.dPosH = polareQ >= polareHC ? hOrtho + distanzaH : hOrtho - distanzaH;
    PuntoFinale.dVelX = vX;
    PuntoFinale.dVelY = vY;
    PuntoFinale.dVelR = omega;
    PuntoFinale.dVelH = vH;
    PuntoFinale.iKV = KVaRegimeCef;
    PuntoFinale.imA = mARegime;

    const double media = std::trunc((mMin + mMax) / 2.0 * 10000.0 + 0.5) / 10000.0;
    // A sensor about 150 mm from the focus gives a magnification beyond float's range: stored as
    // infinite, as an overflowing float would be, rather than converted out of range.
    IngrandimentoCef = std::fabs(media) <= FLT_MAX ? static_cast<float>(media) : std::copysign(HUGE_VALF, media);
    stat[15] = mMax;
    stat[16] = mMin;
    if (statistiche != nullptr)
        std::copy(stat, stat + 18, statistiche);
    for (int k = 0; k < nAvvisi; ++k)
        CaricaMessaggio(StringaErrore, avvisi[k]);
    TipoCurva = CURVA_CEFALOMETRICA;
    return 1;
}
