#pragma once

#include <cstdint>
#include <cstdio>

#include "../platform/CArray.h"
#include "../platform/Export.h"

// The state of the axes at one instant. Plain data passed by value across the library boundary:
// the order of the fields is part of the interface.
class KORVANE_API PUNTO_TRAIETTORIA {
public:
    PUNTO_TRAIETTORIA()
        : dPosX(0.0), dPosY(0.0), dPosR(0.0), dPosH(0.0), dVelX(0.0), dVelY(0.0), dVelR(0.0), dVelH(0.0), iKV(0), imA(0)
    {
    }
    ~PUNTO_TRAIETTORIA() = default;
    PUNTO_TRAIETTORIA(const PUNTO_TRAIETTORIA&) = default;
    PUNTO_TRAIETTORIA& operator=(const PUNTO_TRAIETTORIA& altro) = default;
    // Exact comparison: path continuity depends on it.
    int operator==(const PUNTO_TRAIETTORIA& altro) const;
    int operator!=(const PUNTO_TRAIETTORIA& altro) const { return *this == altro ? 0 : 1; }

    int SalvaFileTRG(FILE* f) const;
    int CaricaFileTRG(FILE* f);

    double dPosX;
    double dPosY;
    double dPosR;
    double dPosH;
    double dVelX;
    double dVelY;
    double dVelR;
    double dVelH;
    std::int32_t iKV;
    std::int32_t imA;
};

// One time step: a velocity word per motion channel and the tube settings. C comes before the tube
// settings and H comes last.
class KORVANE_API PASSO_TRAIETTORIA {
public:
    PASSO_TRAIETTORIA() : iX(0), iY(0), iR(0), iC(0), iKV(0), imA(0), iH(0) {}
    ~PASSO_TRAIETTORIA() = default;
    PASSO_TRAIETTORIA(const PASSO_TRAIETTORIA&) = default;
    PASSO_TRAIETTORIA& operator=(const PASSO_TRAIETTORIA& altro) = default;
    int operator==(const PASSO_TRAIETTORIA& altro) const;

    int SalvaFileTRG(FILE* f) const;
    int CaricaFileTRG(FILE* f);

    std::int32_t iX;
    std::int32_t iY;
    std::int32_t iR;
    std::int32_t iC;
    std::int32_t iKV;
    std::int32_t imA;
    std::int32_t iH;
};

enum TIPO_SEZIONE : std::int32_t {
    SEZIONE_TRAIETTORIA = 0,
    SEZIONE_RACCORDO = 1,
};

// One entry of a path's running order: which array, which index.
class KORVANE_API CElementoOrdine {
public:
    // Sets nothing: every creator assigns both fields before use.
    CElementoOrdine() {}
    CElementoOrdine(TIPO_SEZIONE t, std::int32_t p) : tipo(t), posizione(p) {}
    ~CElementoOrdine() = default;
    CElementoOrdine(const CElementoOrdine&) = default;
    CElementoOrdine& operator=(const CElementoOrdine& altro) = default;
    int operator==(const CElementoOrdine& altro) const;

    TIPO_SEZIONE tipo;
    std::int32_t posizione;
};

using ArrayPassiTraiettoria = CArray<PASSO_TRAIETTORIA, const PASSO_TRAIETTORIA&>;

// The words of a step in the order of its CSV line and of its record: X, Y, R, C, kV, mA, H.
inline constexpr std::int32_t PASSO_TRAIETTORIA::*PAROLE_PASSO[7] = {
    &PASSO_TRAIETTORIA::iX,  &PASSO_TRAIETTORIA::iY,  &PASSO_TRAIETTORIA::iR, &PASSO_TRAIETTORIA::iC,
    &PASSO_TRAIETTORIA::iKV, &PASSO_TRAIETTORIA::imA, &PASSO_TRAIETTORIA::iH};
using ArrayOrdine = CArray<CElementoOrdine, const CElementoOrdine&>;
