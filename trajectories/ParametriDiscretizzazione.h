#pragma once

#include "../core/Punto2DKorvane.h"
#include "../platform/CArray.h"

class CTraiettoria;

// The input of the rotation discretiser: ten pointers, one entry per curve point in the lists.
// A null pIngrandimento means the magnification is computed at every step; a null pGraficoShift
// means a shift factor of 1.0 throughout.
struct ParametriDiscretizzazione {
    CTraiettoria* pTraiettoria = nullptr;
    float* pTempoScansione = nullptr;
    float* pIngrandimento = nullptr;
    int* pVersoPositivo = nullptr;
    int* pOffsetGraficoKV = nullptr;
    CArray<CPunto2DKorvane, const CPunto2DKorvane&>* pPuntiCurva = nullptr;
    CArray<double, const double&>* pArrayR = nullptr;
    CArray<double, const double&>* pGraficoKV = nullptr;
    CArray<double, const double&>* pGraficoShift = nullptr;
    CArray<CPunto2DKorvane, const CPunto2DKorvane&>* pPosCMR = nullptr;
};

// Indices of the 12-value summary the discretiser hands back.
enum RiepilogoDiscretizzazione {
    RIEPILOGO_VEL_X_MAX = 0,
    RIEPILOGO_VEL_Y_MAX,
    RIEPILOGO_OMEGA,
    RIEPILOGO_ACC_X_MAX,
    RIEPILOGO_ACC_Y_MAX,
    RIEPILOGO_X_MAX,
    RIEPILOGO_X_MIN,
    RIEPILOGO_Y_MAX,
    RIEPILOGO_Y_MIN,
    RIEPILOGO_R_MAX,
    RIEPILOGO_R_MIN,
    RIEPILOGO_VEL_C_MAX,
    RIEPILOGO_VALORI
};
