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
// A project keeps no arch curve: after CaricaFile the panoramic trajectories that came without one get
// the example adult arch and are computed again, and the path is made continuous. Takes the path's
// error out and gives back the first message met ("" when all went well).
CString CompletaProgettoCaricato(CPercorso& p);
