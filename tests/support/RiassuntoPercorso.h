#pragma once

#include <string>

#include "path/Percorso.h"

// The order as "kind position" pairs (0 trajectory, 1 junction), each trajectory's kind and name, the
// junction count and the general settings, as one line.
inline std::string Riassunto(CPercorso& p)
{
    std::string r;
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i)
        r += std::to_string(p.ArrayOrdineGetTipoSezione(i)) + std::to_string(p.ArrayOrdineGetPosSezione(i)) + " ";
    for (int i = 0; i < p.ArrayTraiettorieGetSize(); ++i)
        r += std::to_string(p.ArrayTraiettorieGetTraiettoria(i)->TipoCurva) + ":" +
             StringaAUtf8(p.ArrayTraiettorieGetTraiettoria(i)->Nome) + " ";
    return r + "J" + std::to_string(p.ArrayRaccordiGetSize()) + " L" + std::to_string(p.GetSalvaLUT()) + " O" +
           std::to_string(p.GetTipoOutput());
}
