#pragma once

#include <functional>

#include "CString.h"

// Questions and information texts for the user. A host with a user interface installs its own
// handlers; without one, questions get the answer the caller names as the non-interactive default
// and information texts go to standard error.
using GestoreDomanda = std::function<int(const CString& domanda, int rispostaPredefinita)>;
using GestoreInformazione = std::function<void(const CString& testo)>;

// Returns 1 for Yes, 0 for No.
KORVANE_API int ChiediSiNo(const CString& domanda, int rispostaPredefinita);
KORVANE_API void MostraInformazione(const CString& testo);
// An empty handler restores the default.
KORVANE_API void ImpostaGestoreDomande(GestoreDomanda gestore);
KORVANE_API void ImpostaGestoreInformazioni(GestoreInformazione gestore);
