#include "core/Numerico.h"

#include <cmath>

#include "core/PuntoTraiettoria.h"

namespace {
std::int32_t Satura(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<std::int32_t>(v);
}
}  // namespace

std::int32_t TroncaInt(double valore)
{
    return Satura(std::trunc(valore));
}

std::int32_t ArrotondaInt(double valore)
{
    return Satura(valore > 0 ? valore + 0.5 : valore - 0.5);
}

std::int32_t ParolaVelocita(double velocita, double stepPerUnita, double stepSPerLsb)
{
    return ArrotondaInt(velocita * stepPerUnita / stepSPerLsb);
}

std::int32_t ParolaInSegnoModulo(std::int32_t parola)
{
    if (parola >= 0)
        return parola <= PAROLA_MASSIMA ? parola : -parola;
    // INT32_MIN has no positive counterpart; its magnitude saturates.
    const std::int32_t modulo = parola == INT32_MIN ? INT32_MAX : -parola;
    return modulo > INT32_MAX - 32768 ? INT32_MAX : 32768 + modulo;
}

std::int32_t DecodificaParola(std::int32_t memorizzata)
{
    if (memorizzata < 0)
        return memorizzata == INT32_MIN ? INT32_MAX : -memorizzata;
    return memorizzata < 32768 ? memorizzata : -(memorizzata - 32768);
}

double VelocitaDaParola(std::int32_t parola, double stepPerUnita, double stepSPerLsb)
{
    return static_cast<double>(parola) / stepPerUnita * stepSPerLsb;
}

double VelocitaDaMemorizzata(std::int32_t memorizzata, double stepPerUnita, double stepSPerLsb)
{
    return VelocitaDaParola(DecodificaParola(memorizzata), stepPerUnita, stepSPerLsb);
}

double VelocitaQuantizzata(double velocita, double stepPerUnita, double stepSPerLsb)
{
    return VelocitaDaParola(ParolaVelocita(velocita, stepPerUnita, stepSPerLsb), stepPerUnita, stepSPerLsb);
}

std::int32_t UnitaMotore(double posizione, double stepPerUnita)
{
    return ArrotondaInt(posizione * stepPerUnita);
}

bool UnitaMotoreRappresentabile(double posizione, double stepPerUnita)
{
    const double v = posizione * stepPerUnita;
    return v > -2147483648.5 && v < 2147483647.5;
}

bool PassoAdattoAllUnita(const PASSO_TRAIETTORIA& p)
{
    for (std::int32_t parola : {p.iX, p.iY, p.iR, p.iC, p.iH})
        if (parola < 0 || parola > 65535)
            return false;
    return p.iKV >= 0 && p.iKV <= 255 && p.imA >= 0 && p.imA <= 255;
}
