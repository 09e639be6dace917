#pragma once

#include <string>

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
