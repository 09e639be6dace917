#pragma once

#include "platform/CString.h"

// The string table of messages. Numbers 103 to 186 are the system's own table; our own messages
// take numbers from 187 on.
constexpr int MESSAGGIO_PRIMO = 103;
constexpr int MESSAGGIO_ULTIMO_STANDARD = 186;
constexpr int MESSAGGIO_ULTIMO = 212;

// Values a computation cannot start from, named where they stand, and what the unit cannot be sent.
constexpr int MSG_PASSO_TEMPORALE_NON_VALIDO = 191;
constexpr int MSG_STEP_PER_UNITA_NON_VALIDO_X = 192;
constexpr int MSG_STEP_PER_UNITA_NON_VALIDO_Y = 193;
constexpr int MSG_STEP_PER_UNITA_NON_VALIDO_R = 194;
constexpr int MSG_STEP_PER_UNITA_NON_VALIDO_C = 195;
constexpr int MSG_STEP_PER_UNITA_NON_VALIDO_H = 196;
constexpr int MSG_STEP_S_PER_LSB_NON_VALIDO_X = 197;
constexpr int MSG_STEP_S_PER_LSB_NON_VALIDO_Y = 198;
constexpr int MSG_STEP_S_PER_LSB_NON_VALIDO_R = 199;
constexpr int MSG_STEP_S_PER_LSB_NON_VALIDO_C = 200;
constexpr int MSG_STEP_S_PER_LSB_NON_VALIDO_H = 201;
constexpr int MSG_LIMITE_NON_VALIDO_X = 202;
constexpr int MSG_LIMITE_NON_VALIDO_Y = 203;
constexpr int MSG_LIMITE_NON_VALIDO_R = 204;
constexpr int MSG_LIMITE_NON_VALIDO_C = 205;
constexpr int MSG_LIMITE_NON_VALIDO_H = 206;
constexpr int MSG_DIMENSIONE_PIXEL_NON_VALIDA = 207;
constexpr int MSG_RACCORDO_PUNTO_NON_FINITO = 208;
constexpr int MSG_RACCORDO_ACCELERAZIONE_NON_VALIDA = 209;
constexpr int MSG_RACCORDO_DURATA_NON_VALIDA = 210;
constexpr int MSG_PASSO_NON_ADATTO_ALL_UNITA = 211;
constexpr int MSG_POSIZIONE_NON_ADATTA_ALL_UNITA = 212;

// The text of message `id`; an empty text (never null) for a number the table does not hold.
KORVANE_API const wchar_t* TestoMessaggio(int id);
// First error wins: the text goes into `errore` only when `errore` is still empty.
KORVANE_API void CaricaMessaggio(CString& errore, int id);
// The same, with the "%d" of the text replaced by the index of the offending time step.
KORVANE_API void CaricaMessaggio(CString& errore, int id, int indicePasso);
// Moves a message up (from a section to a path, from a path to the flat API) under the same rule.
KORVANE_API void ImpostaSeVuoto(CString& errore, const CString& testo);
