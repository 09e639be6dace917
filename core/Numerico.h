#pragma once

#include <cmath>
#include <cstdint>

#include "../platform/Export.h"
#include "PuntoTraiettoria.h"

// Numeric rules shared by every producer and consumer of steps. Each rule is written here once,
// inline: they run for every step of every section, several times over.

constexpr double PI_GRECO = 3.141592653589793;
constexpr double DUE_PI_GRECO = 6.283185307179586;
constexpr double GRADI_PER_RADIANTE = 57.29577951308232;

inline double GradiARadianti(double gradi)
{
    return gradi * PI_GRECO / 180.0;
}

// The arm's direction at an angle in degrees, kept with that angle: a producer that works it out for
// its own steps hands it on to the head check, which takes it only for the very same angle.
struct DirezioneBraccio {
    double gradi;
    double coseno;
    double seno;
};
inline DirezioneBraccio DirezioneDaGradi(double gradi)
{
    const double r = GradiARadianti(gradi);
    return {gradi, std::cos(r), std::sin(r)};
}

// The 32-bit integer of a whole value: beyond the range it saturates and NaN gives 0, so no
// conversion is undefined.
inline std::int32_t Satura(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

// Rounding half away from zero: +0.5 when the value is positive, else -0.5, then truncation toward
// zero, with the same saturation.
inline std::int32_t ArrotondaInt(double valore)
{
    return Satura(valore > 0 ? valore + 0.5 : valore - 0.5);
}
// Truncation toward zero with the same saturation.
inline std::int32_t TroncaInt(double valore)
{
    return Satura(std::trunc(valore));
}

// Signed velocity word of a velocity: velocity x steps-per-unit / (step/s per LSB), rounded.
inline std::int32_t ParolaVelocita(double velocita, double stepPerUnita, double stepSPerLsb)
{
    return ArrotondaInt(velocita * stepPerUnita / stepSPerLsb);
}
// Largest magnitude a velocity word has room for: bit 15 of the stored word is the sign.
constexpr std::int32_t PAROLA_MASSIMA = 32767;
// Whether a signed word fits its field; a word that does not is refused, never cut.
constexpr bool ParolaNelCampo(std::int32_t parola)
{
    return parola >= -PAROLA_MASSIMA && parola <= PAROLA_MASSIMA;
}
// 16-bit sign-magnitude form of a signed word: a negative word w is stored as 32768 + |w|. A word
// whose magnitude is beyond PAROLA_MASSIMA has no 16-bit form: it is stored outside 0..65535 (a
// positive one as -w, a negative one as 32768 + |w|), so it decodes back to itself and no writer
// for the unit accepts it.
inline std::int32_t ParolaInSegnoModulo(std::int32_t parola)
{
    if (parola >= 0)
        return parola <= PAROLA_MASSIMA ? parola : -parola;
    // INT32_MIN has no positive counterpart; its magnitude saturates.
    const std::int32_t modulo = parola == INT32_MIN ? INT32_MAX : -parola;
    return modulo > INT32_MAX - 32768 ? INT32_MAX : 32768 + modulo;
}
// Signed word of a stored value: below 32768 it is itself, otherwise -(s - 32768); a negative
// stored value is a positive word too large for 16 bits.
inline std::int32_t DecodificaParola(std::int32_t memorizzata)
{
    if (memorizzata < 0)
        return memorizzata == INT32_MIN ? INT32_MAX : -memorizzata;
    return memorizzata < 32768 ? memorizzata : -(memorizzata - 32768);
}
// Velocity a signed word commands: word / steps-per-unit x (step/s per LSB).
inline double VelocitaDaParola(std::int32_t parola, double stepPerUnita, double stepSPerLsb)
{
    return static_cast<double>(parola) / stepPerUnita * stepSPerLsb;
}
// Velocity a stored (sign-magnitude) value commands.
inline double VelocitaDaMemorizzata(std::int32_t memorizzata, double stepPerUnita, double stepSPerLsb)
{
    return VelocitaDaParola(DecodificaParola(memorizzata), stepPerUnita, stepSPerLsb);
}
// The velocities of one channel's words, remembering the last word: steps in a row mostly repeat
// their words, and a repeated word gives back the very value it gave before.
class VelocitaParole {
public:
    VelocitaParole(double stepPerUnita, double stepSPerLsb)
        : spu_(stepPerUnita), lsb_(stepSPerLsb), v_(VelocitaDaParola(0, stepPerUnita, stepSPerLsb))
    {
    }
    double DaParola(std::int32_t parola)
    {
        if (parola != parola_) {
            parola_ = parola;
            v_ = VelocitaDaParola(parola, spu_, lsb_);
        }
        return v_;
    }
    double DaMemorizzata(std::int32_t memorizzata) { return DaParola(DecodificaParola(memorizzata)); }

private:
    double spu_, lsb_;
    std::int32_t parola_ = 0;
    double v_;
};
// The velocity the drive really runs for a requested one (the velocity of its rounded word).
inline double VelocitaQuantizzata(double velocita, double stepPerUnita, double stepSPerLsb)
{
    return VelocitaDaParola(ParolaVelocita(velocita, stepPerUnita, stepSPerLsb), stepPerUnita, stepSPerLsb);
}
// Motor units of a position: position x steps-per-unit, rounded half away from zero.
inline std::int32_t UnitaMotore(double posizione, double stepPerUnita)
{
    return ArrotondaInt(posizione * stepPerUnita);
}
// Whether UnitaMotore gives the position itself rather than a saturated stand-in: a finite product
// whose rounding lands inside the 32-bit range.
inline bool UnitaMotoreRappresentabile(double posizione, double stepPerUnita)
{
    const double v = posizione * stepPerUnita;
    return v > -2147483648.5 && v < 2147483647.5;
}

// Whether the unit's 12-byte record holds the step as it is: every velocity word (and C) a 16-bit
// stored value, the tube settings 8-bit values. Anything else would be cut on the way.
inline bool PassoAdattoAllUnita(const PASSO_TRAIETTORIA& p)
{
    for (std::int32_t parola : {p.iX, p.iY, p.iR, p.iC, p.iH})
        if (parola < 0 || parola > 65535)
            return false;
    return p.iKV >= 0 && p.iKV <= 255 && p.imA >= 0 && p.imA <= 255;
}
