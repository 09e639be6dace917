#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <tuple>

#include "core/Numerico.h"
#include "core/Punto2DKorvane.h"
#include "core/PuntoTraiettoria.h"

TEST(Numerico, ArrotondaMetaLontanoDaZero)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double v;
        std::int32_t atteso;
    } casi[] = {{2.5, 3},          {-2.5, -3},           {0.4, 0},         {-0.4, 0},     {-0.0, 0},
                {0.49999999, 0},   {1e12, INT32_MAX},    {-1e12, INT32_MIN}, {nan, 0},     {2147483646.6, 2147483647}};
    for (const auto& c : casi)
        EXPECT_EQ(ArrotondaInt(c.v), c.atteso) << c.v;
    EXPECT_EQ(TroncaInt(-2.7 + 0.5), -2);
}

TEST(Numerico, ParoleDiVelocita)
{
    // Example axis: 800 steps/mm, 1.953125 step/s per LSB, so 409.6 LSB per mm/s.
    EXPECT_EQ(ParolaVelocita(1.0, 800.0, 1.953125), 410);
    EXPECT_EQ(ParolaVelocita(-0.5 / 409.6, 800.0, 1.953125), -1);
    EXPECT_EQ(ParolaInSegnoModulo(-5), 32773);
    EXPECT_EQ(DecodificaParola(32768), 0);
    EXPECT_EQ(DecodificaParola(32767), 32767);
    EXPECT_DOUBLE_EQ(VelocitaDaMemorizzata(32773, 800.0, 1.953125), -5.0 / 409.6);
    EXPECT_EQ(UnitaMotore(-0.25, 40.0), -10);
    EXPECT_EQ(UnitaMotore(0.3125, 40.0), 13);
    EXPECT_TRUE(UnitaMotoreRappresentabile(-2147483648.4, 1.0));
    for (double pos : {2147483647.5, -2147483648.5, std::nan(""), 1e300})
        EXPECT_FALSE(UnitaMotoreRappresentabile(pos, 1.0)) << pos;
    // Every word decodes back to itself; only the 15-bit ones have a stored form the unit takes,
    // and a wider one never lands inside 0..65535, where it would read as another speed.
    for (std::int32_t w = -70000; w <= 70000; w += 97) {
        const std::int32_t s = ParolaInSegnoModulo(w);
        EXPECT_EQ(DecodificaParola(s), w);
        EXPECT_EQ(s >= 0 && s <= 65535, std::abs(w) <= PAROLA_MASSIMA) << w;
    }
    for (std::int32_t w : {INT32_MAX, INT32_MIN, 32768, -32768})
        EXPECT_FALSE(ParolaInSegnoModulo(w) >= 0 && ParolaInSegnoModulo(w) <= 65535) << w;
}

TEST(Numerico, PassoAdattoAllUnita)
{
    // Each field at the first value its record field cannot hold, and at the last one it can.
    std::int32_t PASSO_TRAIETTORIA::*campi[] = {&PASSO_TRAIETTORIA::iX,  &PASSO_TRAIETTORIA::iY, &PASSO_TRAIETTORIA::iR,
                                                &PASSO_TRAIETTORIA::iC,  &PASSO_TRAIETTORIA::iH, &PASSO_TRAIETTORIA::iKV,
                                                &PASSO_TRAIETTORIA::imA};
    for (auto campo : campi) {
        const std::int32_t massimo = campo == &PASSO_TRAIETTORIA::iKV || campo == &PASSO_TRAIETTORIA::imA ? 255 : 65535;
        for (auto [valore, adatto] : {std::pair{massimo, true}, {massimo + 1, false}, {-1, false}}) {
            PASSO_TRAIETTORIA p;
            p.*campo = valore;
            EXPECT_EQ(PassoAdattoAllUnita(p), adatto) << valore;
        }
    }
}

TEST(Punto2D, OperazioniEdArrotondamento)
{
    // The geometry tests' own models are written with these operators: they must hold on their own.
    const CPunto2DKorvane a(2, 3), b(4, 5);
    EXPECT_TRUE((a * b) == CPunto2DKorvane(8, 15) && (a + b) == CPunto2DKorvane(6, 8) && (a - b) == CPunto2DKorvane(-2, -2));
    EXPECT_TRUE((a * 2.0) == CPunto2DKorvane(4, 6) && CPunto2DKorvane(3, 4).Versore() == CPunto2DKorvane(0.6, 0.8));
    EXPECT_FALSE(std::isfinite(CPunto2DKorvane(0, 0).Versore().X));
    EXPECT_FALSE(CPunto2DKorvane(1, 2) == CPunto2DKorvane(1, 2.0000000001));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(CPunto2DKorvane(nan, 0) == CPunto2DKorvane(nan, 0));
    EXPECT_EQ(CPunto2DKorvane(2.5, -2.5).GetPunto(), CPoint(3, -3));
    EXPECT_EQ(CPunto2DKorvane(-0.0, 0.49).GetPunto(), CPoint(0, 0));
    EXPECT_EQ(static_cast<Gdiplus::Point>(CPunto2DKorvane(-1.5, 7.49)), Gdiplus::Point(-2, 7));
}

TEST(Punto2D, Rotazione)
{
    // Against the rotation matrix, also where the angle passes pi and is brought back by 2 pi.
    for (auto [x, y, a] : {std::tuple{1.0, 0.0, 1.5707963267948966}, {1.0, 0.0, -1.5707963267948966},
                           {-1.0, 0.0, 0.5}, {0.0, -1.0, -2.0}, {3.0, 4.0, 2.0}, {0.0, 0.0, 1.0}}) {
        const CPunto2DKorvane r = CPunto2DKorvane(x, y).Ruota(a);
        EXPECT_NEAR(r.X, x * std::cos(a) - y * std::sin(a), 1e-12) << x << " " << y << " " << a;
        EXPECT_NEAR(r.Y, x * std::sin(a) + y * std::cos(a), 1e-12) << x << " " << y << " " << a;
    }
}
