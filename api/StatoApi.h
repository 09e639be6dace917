#pragma once

#include "../path/Percorso.h"

// The flat API's process-wide state.
struct StatoApi {
    CPercorso percorso;
    CString errore;
    PUNTO_TRAIETTORIA puntoUscita;
    int tipoProiezione = 2;
};

StatoApi& Api();

// Moves a message up into the API error text when that text is empty; true when the text now
// holds a message, where the generators stop.
bool ErroreDaPercorso();
bool ErroreDaSezione(CSezione& s);
// Total steps over the order, or -1 when an entry names no section.
int ContaPassi();
