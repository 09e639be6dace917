#pragma once

#include <cstdint>

#include "../platform/Export.h"

// Numeric rules shared by every producer and consumer of steps. Each rule is written here once.

constexpr double PI_GRECO = 3.141592653589793;
constexpr double DUE_PI_GRECO = 6.283185307179586;
constexpr double GRADI_PER_RADIANTE = 57.29577951308232;

inline double GradiARadianti(double gradi)
{
    return gradi * PI_GRECO / 180.0;
}

// Rounding half away from zero: +0.5 when the value is positive, else -0.5, then truncation toward
// zero. Values outside the 32-bit range saturate and NaN gives 0, so no conversion is undefined.
KORVANE_API std::int32_t ArrotondaInt(double valore);
// Truncation toward zero with the same saturation.
KORVANE_API std::int32_t TroncaInt(double valore);

// Signed velocity word of a velocity: velocity x steps-per-unit / (step/s per LSB), rounded.
KORVANE_API std::int32_t ParolaVelocita(double velocita, double stepPerUnita, double stepSPerLsb);
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
KORVANE_API std::int32_t ParolaInSegnoModulo(std::int32_t parola);
// Signed word of a stored value: below 32768 it is itself, otherwise -(s - 32768); a negative
// stored value is a positive word too large for 16 bits.
KORVANE_API std::int32_t DecodificaParola(std::int32_t memorizzata);
// Velocity a signed word commands: word / steps-per-unit x (step/s per LSB).
KORVANE_API double VelocitaDaParola(std::int32_t parola, double stepPerUnita, double stepSPerLsb);
// Velocity a stored (sign-magnitude) value commands.
KORVANE_API double VelocitaDaMemorizzata(std::int32_t memorizzata, double stepPerUnita, double stepSPerLsb);
// The velocity the drive really runs for a requested one (the velocity of its rounded word).
KORVANE_API double VelocitaQuantizzata(double velocita, double stepPerUnita, double stepSPerLsb);
// Motor units of a position: position x steps-per-unit, rounded half away from zero.
KORVANE_API std::int32_t UnitaMotore(double posizione, double stepPerUnita);
// Whether UnitaMotore gives the position itself rather than a saturated stand-in: a finite product
// whose rounding lands inside the 32-bit range.
KORVANE_API bool UnitaMotoreRappresentabile(double posizione, double stepPerUnita);

class PASSO_TRAIETTORIA;
// Whether the unit's 12-byte record holds the step as it is: every velocity word (and C) a 16-bit
// stored value, the tube settings 8-bit values. Anything else would be cut on the way.
KORVANE_API bool PassoAdattoAllUnita(const PASSO_TRAIETTORIA& passo);
