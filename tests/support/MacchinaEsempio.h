#pragma once

#include <string>

#include "examples/MacchinaEsempio.h"

// A scratch folder for one test, emptied when the test starts; ends with '/'.
std::string CartellaTemporanea(const std::string& nomeTest);

// Switches the process to a comma-decimal locale; false when none is installed.
bool ImpostaLocaleConVirgola();
