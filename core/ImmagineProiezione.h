#pragma once

#include <cstddef>
#include <cstdint>

#include "ParametriFileDat.h"
#include "PuntoTraiettoria.h"
#include "../platform/Export.h"

// The 37293-byte binary image the unit runs: the projection file's image and the flat API's step
// buffer share it. Offsets are explicit; every value is little-endian except the CRC.
constexpr std::size_t DIMENSIONE_IMMAGINE = 37293;
constexpr std::size_t IMMAGINE_FINE_INTESTAZIONE = 153;
constexpr std::size_t IMMAGINE_OFFSET_NUM_SOTTOIMMAGINI = 149;
constexpr std::size_t IMMAGINE_OFFSET_SOMMA_COLONNE = 151;
constexpr std::size_t IMMAGINE_OFFSET_SOTTOIMMAGINI = 153;
constexpr std::size_t IMMAGINE_DIM_SOTTOIMMAGINE = 37;
constexpr int IMMAGINE_MAX_SOTTOIMMAGINI = 30;
constexpr std::size_t IMMAGINE_OFFSET_NUM_PASSI = 1263;
constexpr std::size_t IMMAGINE_OFFSET_PASSI = 1265;
constexpr std::size_t IMMAGINE_DIM_PASSO = 12;
constexpr int IMMAGINE_MAX_PASSI = 3000;
constexpr std::size_t IMMAGINE_OFFSET_SCOUT = 37265;
constexpr std::size_t IMMAGINE_DIM_SCOUT = 26;
constexpr std::size_t IMMAGINE_OFFSET_CRC = 37291;

// Header fields; positions in motor units, axes in the order X, Y, R, H.
struct KORVANE_API INTESTAZIONE_IMMAGINE {
    std::int32_t Version = 0;
    std::int32_t Group = 0;
    std::int32_t TipoProiezione = 0;
    std::uint32_t Flag = 0;
    std::int32_t ApsRangeMin = 0;
    std::int32_t ApsRangeMax = 0;
    std::int32_t PrmCollimOffset1 = 0;
    std::int32_t PrmCollimOffset2 = 0;
    std::int32_t ScnCollimOffset = 0;
    std::int32_t Ini[4] = {0, 0, 0, 0};
    std::int32_t Res[4] = {0, 0, 0, 0};
    std::int32_t Out[4] = {0, 0, 0, 0};
    std::int32_t XAxisCorrFact = 0;
    std::int32_t YAxisCorrLen = 0;
    std::int32_t YAxisCorrMin = 0;
    std::int32_t YAxisCorrMax = 0;
    std::int32_t YAxisOpenMouth = 0;
};

struct KORVANE_API SOTTOIMMAGINE {
    std::int32_t Fattore = 1000000;
    std::int32_t Nota = 0;
    std::int32_t Colonne = 0;
    std::int32_t Margini[4] = {74, 10, 5, 5};  // left, right, top, bottom
};

struct KORVANE_API SCOUT_IMMAGINE {
    std::int32_t Offset = 0;
    std::int32_t Colonne = 0;
    std::int32_t Pos[4] = {0, 0, 0, 0};
    std::int32_t KV = 0;
    std::int32_t MA = 0;
    std::int32_t CollMin = 0;
    std::int32_t CollMax = 0;
};

// The header's flag word from the exam settings; a member still at -1 (not set) gives a set bit
// where the bit means "not zero". The scout bit is set only when `scout` says so.
KORVANE_API std::uint32_t ImmagineParolaFlag(const CParametriFileDat& d, bool stf, bool scout);

// Motor units of a position for the unit; false for a NaN or a value beyond the 32-bit range, which
// the unit must never receive as a silently saturated number.
KORVANE_API bool ImmagineUnitaMotore(double posizione, double stepPerUnita, std::int32_t& unita);
// The whole part of a count (columns, magnification) under the same refusal.
KORVANE_API bool ImmagineTronca(double valore, std::int32_t& intero);

// True when every value fits its field (a 16-bit field takes -32768..65535, an 8-bit one -128..255),
// so nothing is cut on the way to the unit.
KORVANE_API bool ImmagineCampiValidi(const INTESTAZIONE_IMMAGINE& t, const SOTTOIMMAGINE* s, int m,
                                     const SCOUT_IMMAGINE& scout);
// Bytes 0-148: version, group, projection type, flags, collimators and the four axis blocks.
KORVANE_API void ImmagineScriviIntestazione(std::uint8_t* b, const INTESTAZIONE_IMMAGINE& t);
// The sub-image count, their column sum and their records; m must not exceed 30.
KORVANE_API void ImmagineScriviSottoimmagini(std::uint8_t* b, const SOTTOIMMAGINE* s, int m);
// True when every word of the step fits its record field: 0-65535 for a word, 0-255 for kV and mA.
KORVANE_API bool ImmaginePassoValido(const PASSO_TRAIETTORIA& p);
// Appends one step record; false, and nothing written, when the image already holds 3000.
KORVANE_API bool ImmagineAggiungiPasso(std::uint8_t* b, const PASSO_TRAIETTORIA& p);
// Appends `n` zero step records (the zero lines of the step list).
KORVANE_API void ImmagineAggiungiPassiZero(std::uint8_t* b, int n);
KORVANE_API void ImmagineScriviScout(std::uint8_t* b, const SCOUT_IMMAGINE& s);
// CRC-16/X-25 of bytes 0-37290 stored high byte first at 37291.
KORVANE_API void ImmagineScriviCRC(std::uint8_t* b);
