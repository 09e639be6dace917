#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/ImmagineProiezione.h"
#include "korvane.h"

// A sub-image record as read back; the unit takes the two factors apart, so both are kept.
struct SottoimmagineLetta {
    SOTTOIMMAGINE s;  // Fattore holds the vertical factor
    std::int32_t fattoreOrizzontale = 0;
};

// The 37293-byte image as the unit reads it back: a step buffer, or a projection file's image.
struct BufferDecodificato {
    INTESTAZIONE_IMMAGINE t;
    int sommaColonne = 0;
    std::vector<SottoimmagineLetta> sottoimmagini;
    std::vector<PASSO_TRAIETTORIA> passi;
    SCOUT_IMMAGINE scout;
    std::uint16_t crcLetto = 0;
    std::uint16_t crcCalcolato = 0;
    bool CrcValido() const { return crcLetto == crcCalcolato; }
};

constexpr std::size_t DIMENSIONE_BUFFER = DIMENSIONE_IMMAGINE;

// Decodes the full image; false with a reason when its size or a count cannot be one.
bool DecodificaBuffer(const std::vector<std::uint8_t>& byte, BufferDecodificato& b, std::string& errore);
// A projection file's image holds only the records in use; this puts them back at their offsets in
// the full zero-filled image its CRC was computed over. False with a reason when the counts and the
// size do not agree.
bool EspandiImmagineProiezione(const std::vector<std::uint8_t>& file, std::vector<std::uint8_t>& immagine,
                               std::string& errore);
// The axis states the words integrate to, from the header's start position.
std::vector<PUNTO_TRAIETTORIA> IntegraBuffer(const BufferDecodificato& b, const CLimitiEParametri& macchina);
