#pragma once

#include <string>

#include "examples/MacchinaEsempio.h"

// A scratch folder for one test, emptied when the test starts; ends with '/'.
std::string CartellaTemporanea(const std::string& nomeTest);

// True when no temporary file of the replacing file writer is left in `cartella`.
bool NessunProvvisorio(const std::string& cartella);

// Switches the process to a comma-decimal locale; false when none is installed.
bool ImpostaLocaleConVirgola();
