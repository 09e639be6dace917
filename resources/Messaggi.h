#pragma once

#include "platform/CString.h"

// The string table of messages. Numbers 103 to 186 are the system's own table; our own messages
// take numbers from 187 on.
constexpr int MESSAGGIO_PRIMO = 103;
constexpr int MESSAGGIO_ULTIMO_STANDARD = 186;
constexpr int MESSAGGIO_ULTIMO = 197;

constexpr int MSG_LUT_NON_APERTO_IN_SCRITTURA = 169;
constexpr int MSG_LUT_CSV_NON_LEGGIBILE = 191;
constexpr int MSG_LUT_INIZIO_NON_LEGGIBILE = 192;
constexpr int MSG_LUT_SENZA_PASSI = 193;
constexpr int MSG_LUT_TROPPE_COLONNE = 194;
constexpr int MSG_LUT_NON_APERTO_IN_LETTURA = 195;
constexpr int MSG_LUT_TRONCATO = 196;
constexpr int MSG_LUT_VALORE_NON_FLOAT = 197;

// The text of message `id`; an empty text (never null) for a number the table does not hold.
KORVANE_API const wchar_t* TestoMessaggio(int id);
// First error wins: the text goes into `errore` only when `errore` is still empty.
KORVANE_API void CaricaMessaggio(CString& errore, int id);
// The same, with the "%d" of the text replaced by the index of the offending time step.
KORVANE_API void CaricaMessaggio(CString& errore, int id, int indicePasso);
// Moves a message up (from a section to a path, from a path to the flat API) under the same rule.
KORVANE_API void ImpostaSeVuoto(CString& errore, const CString& testo);
