#pragma once

#include <vector>

#include "LimitiEParametri.h"

// What a computation needs of the machine record. The readers accept whatever formatted scanning
// accepts, so a record may hold values no computation can start from; they are refused here.
enum USO_MACCHINA : unsigned {
    USO_MOTO = 1u,           // steps of X, Y, R and H: time step, their step constants and limits
    USO_LUNGHEZZA_PX = 2u,   // image length: time step, the C step constants and the pixel size
    USO_TUTTO = 0xFFFFu,     // every value above and the C limits too, for tools that list them all
};

// Message numbers of every unusable value for `uso`, in the order the record lists them.
KORVANE_API std::vector<int> ElencaProblemiMacchina(const CLimitiEParametri& m, unsigned uso);
// 1 when the record serves `uso`; else 0 with the first problem stored into `errore` (first error wins).
KORVANE_API int VerificaMacchina(const CLimitiEParametri& m, unsigned uso, CString& errore);
