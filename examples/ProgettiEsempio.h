#pragma once

#include <span>
#include <string>

#include "path/Percorso.h"

// The example exams as whole projects on `macchina`: each exam between its acceleration and
// deceleration junctions, computed and continuous, with the exam settings its projection file needs.
struct ProgettoEsempio {
    const char* tipo;  // the name `korvane exam new` takes
    void (*costruisci)(CPercorso& p, const CLimitiEParametri& macchina);
};
std::span<const ProgettoEsempio> ProgettiEsempio();
// Null for a kind with no example.
const ProgettoEsempio* TrovaProgettoEsempio(const std::string& tipo);
