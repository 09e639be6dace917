#pragma once

#include "../platform/CString.h"

// The string table of messages. Numbers 103 to 186 are the system's own table; our own messages
// take numbers from 187 on.
constexpr int MESSAGGIO_PRIMO = 103;
constexpr int MESSAGGIO_ULTIMO_STANDARD = 186;
constexpr int MESSAGGIO_ULTIMO = 241;

// Our own messages by name: code and tests use these, never the bare numbers.
constexpr int MSG_PASSI_OLTRE_3000 = 187;
constexpr int MSG_SOTTOIMMAGINI_OLTRE_30 = 188;
constexpr int MSG_VALORE_FUORI_CAMPO_PROIEZIONE = 191;
constexpr int MSG_COMPAGNI_CSV_NON_SCRITTI = 192;
constexpr int MSG_CEFALOMETRICA_PARAMETRI = 193;
constexpr int MSG_CEFALOMETRICA_MACCHINA = 194;
constexpr int MSG_CEFALOMETRICA_BRACCIO_FERMO = 195;
constexpr int MSG_CEFALOMETRICA_TROPPO_LUNGA = 196;
constexpr int MSG_FASCIO_PARALLELO_LINEA_H = 197;
constexpr int MSG_FASCIO_PARALLELO_X0 = 198;
constexpr int MSG_PAROLA_FUORI_CAMPO = 199;
constexpr int MSG_CEFALOMETRICA_SPAZZATA_AVVOLTA = 200;
constexpr int MSG_DISCRETIZZAZIONE_NON_FINITA = 201;
constexpr int MSG_DISCRETIZZAZIONE_TEMPO = 202;
constexpr int MSG_DISCRETIZZAZIONE_TROPPO_LUNGA = 203;
constexpr int MSG_DISCRETIZZAZIONE_KV = 204;
constexpr int MSG_DISCRETIZZAZIONE_LISTE = 205;
constexpr int MSG_CURVA_PANORAMICA_CORTA = 206;
constexpr int MSG_GRAFICO_TUNING_INCOMPLETO = 207;
constexpr int MSG_GEOMETRIA_PANORAMICA_NON_FINITA = 208;
constexpr int MSG_PASSO_TEMPORALE_NON_VALIDO = 209;
constexpr int MSG_STEP_PER_UNITA_NON_VALIDO_X = 210;
constexpr int MSG_STEP_PER_UNITA_NON_VALIDO_Y = 211;
constexpr int MSG_STEP_PER_UNITA_NON_VALIDO_R = 212;
constexpr int MSG_STEP_PER_UNITA_NON_VALIDO_C = 213;
constexpr int MSG_STEP_PER_UNITA_NON_VALIDO_H = 214;
constexpr int MSG_STEP_S_PER_LSB_NON_VALIDO_X = 215;
constexpr int MSG_STEP_S_PER_LSB_NON_VALIDO_Y = 216;
constexpr int MSG_STEP_S_PER_LSB_NON_VALIDO_R = 217;
constexpr int MSG_STEP_S_PER_LSB_NON_VALIDO_C = 218;
constexpr int MSG_STEP_S_PER_LSB_NON_VALIDO_H = 219;
constexpr int MSG_LIMITE_NON_VALIDO_X = 220;
constexpr int MSG_LIMITE_NON_VALIDO_Y = 221;
constexpr int MSG_LIMITE_NON_VALIDO_R = 222;
constexpr int MSG_LIMITE_NON_VALIDO_C = 223;
constexpr int MSG_LIMITE_NON_VALIDO_H = 224;
constexpr int MSG_DIMENSIONE_PIXEL_NON_VALIDA = 225;
constexpr int MSG_RACCORDO_PUNTO_NON_FINITO = 226;
constexpr int MSG_RACCORDO_ACCELERAZIONE_NON_VALIDA = 227;
constexpr int MSG_RACCORDO_DURATA_NON_VALIDA = 228;
constexpr int MSG_PASSO_NON_ADATTO_ALL_UNITA = 229;
constexpr int MSG_POSIZIONE_NON_ADATTA_ALL_UNITA = 230;
constexpr int MSG_LUT_NON_APERTO_IN_SCRITTURA = 169;
constexpr int MSG_LUT_CSV_NON_LEGGIBILE = 231;
constexpr int MSG_LUT_INIZIO_NON_LEGGIBILE = 232;
constexpr int MSG_LUT_SENZA_PASSI = 233;
constexpr int MSG_LUT_TROPPE_COLONNE = 234;
constexpr int MSG_LUT_NON_APERTO_IN_LETTURA = 235;
constexpr int MSG_LUT_TRONCATO = 236;
constexpr int MSG_LUT_VALORE_NON_FLOAT = 237;
constexpr int MSG_LINEARE_SEGMENTO = 238;
constexpr int MSG_LINEARE_PROIEZIONE = 239;
constexpr int MSG_LINEARE_CERCHIO_MANCATO = 240;
constexpr int MSG_FILE_MACCHINA_NON_SCRITTO = 241;

// The text of message `id`; an empty text (never null) for a number the table does not hold.
KORVANE_API const wchar_t* TestoMessaggio(int id);
// First error wins: the text goes into `errore` only when `errore` is still empty.
KORVANE_API void CaricaMessaggio(CString& errore, int id);
// The same, with the "%d" of the text replaced by the index of the offending time step.
KORVANE_API void CaricaMessaggio(CString& errore, int id, int indicePasso);
// Moves a message up (from a section to a path, from a path to the flat API) under the same rule.
KORVANE_API void ImpostaSeVuoto(CString& errore, const CString& testo);
