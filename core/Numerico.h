#pragma once

#include <cstdint>

#include "platform/Export.h"

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
// Largest magnitude of a velocity word: the stored form keeps 15 bits for it.
constexpr std::int32_t PAROLA_MASSIMA = 32767;
// Whether a signed word fits its field; a word that does not is refused, never cut.
constexpr bool ParolaNelCampo(std::int32_t parola)
{
    return parola >= -PAROLA_MASSIMA && parola <= PAROLA_MASSIMA;
}
// 16-bit sign-magnitude form of a signed word: a negative word w is stored as 32768 + |w|.
KORVANE_API std::int32_t ParolaInSegnoModulo(std::int32_t parola);
// Signed word of a stored value: below 32768 it is itself, otherwise -(s - 32768).
KORVANE_API std::int32_t DecodificaParola(std::int32_t memorizzata);
// Velocity a signed word commands: word / steps-per-unit x (step/s per LSB).
KORVANE_API double VelocitaDaParola(std::int32_t parola, double stepPerUnita, double stepSPerLsb);
// Velocity a stored (sign-magnitude) value commands.
KORVANE_API double VelocitaDaMemorizzata(std::int32_t memorizzata, double stepPerUnita, double stepSPerLsb);
// The velocity the drive really runs for a requested one (the velocity of its rounded word).
KORVANE_API double VelocitaQuantizzata(double velocita, double stepPerUnita, double stepSPerLsb);
// Whole time steps a duration takes, rounded up; a duration within a billionth of a step of a whole
// number counts as that number, so a duration that is already whole never gains a step.
KORVANE_API std::int32_t PassiInteri(double durata, double dt);
// Motor units of a position: position x steps-per-unit, rounded half away from zero.
KORVANE_API std::int32_t UnitaMotore(double posizione, double stepPerUnita);
