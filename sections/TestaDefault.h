#pragma once

#include "../platform/Export.h"

// The built-in reference head outline: x then y of each point, mm, in outline order.
constexpr int TESTA_DEFAULT_NUM_PUNTI = 613;
extern KORVANE_API const double TESTA_DEFAULT[2 * TESTA_DEFAULT_NUM_PUNTI];
