#pragma once

#include <array>
#include <string>

#include "core/PuntoTraiettoria.h"
#include "examples/MacchinaEsempio.h"
#include "sections/Sezione.h"

// A scratch folder for one test in this process (parallel runs never share one), emptied when the
// test starts; ends with '/'.
std::string CartellaTemporanea(const std::string& nomeTest);

// True when no temporary file of the replacing file writer is left in `cartella`.
bool NessunProvvisorio(const std::string& cartella);

// Switches the process to a comma-decimal locale; false when none is installed.
bool ImpostaLocaleConVirgola();

// The travel the stored words of one channel command over a section's steps.
double Percorso(const CSezione& s, std::int32_t PASSO_TRAIETTORIA::*campo, const PARAMETRI_ASSE& a);

// Installs the built-in head outline; false when it could not be built.
bool TestaDiDefaultPronta();

// An axis state at rest at the given positions, with the given tube settings.
PUNTO_TRAIETTORIA PuntoProva(double x, double y, double r, double h = 0, int kv = 0, int ma = 0);

// A step from its words in record order X, Y, R, C, kV, mA, H.
PASSO_TRAIETTORIA PassoProva(const std::array<int, 7>& parole);
