#pragma once

#include "../core/Punto2DKorvane.h"

// Largest |x| of a tuning point and largest graph length accepted: far beyond any arch curve, and
// small enough that absurd input can never allocate or loop without end.
constexpr double GRAFICO_TUNING_X_MAX = 1.0e6;
constexpr int GRAFICO_TUNING_VALORI_MAX = 1000000;

// One value per curve point from a few tuning points (x a curve-point index, y the value): a
// smooth curve through them, held flat before the first and after the last, shifted by `offset`
// indices. The result is one process-wide array, refilled by every call: copy it at once.
// Fewer than two points, a non-finite coordinate or sensitivity (0 included), |x| beyond
// GRAFICO_TUNING_X_MAX or nValori beyond GRAFICO_TUNING_VALORI_MAX give an empty graph.
KORVANE_API CArray<double>& CalcolaGraficoDaPuntiTuning(const CArray<CPunto2DKorvane>* punti, int nValori,
                                                        float sensibilita, int offset);
