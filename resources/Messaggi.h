#pragma once

#include "platform/CString.h"

// The string table of messages. Numbers 103 to 186 are the system's own table; our own messages
// take numbers from 187 on.
constexpr int MESSAGGIO_PRIMO = 103;
constexpr int MESSAGGIO_ULTIMO_STANDARD = 186;
constexpr int MESSAGGIO_ULTIMO = 193;

constexpr int MSG_CURVA_PANORAMICA_CORTA = 191;
constexpr int MSG_GRAFICO_TUNING_INCOMPLETO = 192;
constexpr int MSG_GEOMETRIA_PANORAMICA_NON_FINITA = 193;

// The text of message `id`; an empty text (never null) for a number the table does not hold.
KORVANE_API const wchar_t* TestoMessaggio(int id);
// First error wins: the text goes into `errore` only when `errore` is still empty.
KORVANE_API void CaricaMessaggio(CString& errore, int id);
// The same, with the "%d" of the text replaced by the index of the offending time step.
KORVANE_API void CaricaMessaggio(CString& errore, int id, int indicePasso);
// Moves a message up (from a section to a path, from a path to the flat API) under the same rule.
KORVANE_API void ImpostaSeVuoto(CString& errore, const CString& testo);
