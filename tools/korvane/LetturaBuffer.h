#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "korvane.h"

// A step buffer as the unit reads it back.
struct BufferDecodificato {
    int versione = 0;
    int gruppo = 0;
    int tipoProiezione = 0;
    int apsRangeMax = 0;
    std::int32_t ini[4] = {};  // X, Y, R, H in motor steps
    std::int32_t out[4] = {};
    std::vector<PASSO_TRAIETTORIA> passi;
    std::uint16_t crcLetto = 0;
    std::uint16_t crcCalcolato = 0;
    bool CrcValido() const { return crcLetto == crcCalcolato; }
};

constexpr std::size_t DIMENSIONE_BUFFER = 37293;

// Decodes the buffer; false with a reason when its size or step count cannot be a step buffer.
bool DecodificaBuffer(const std::vector<std::uint8_t>& byte, BufferDecodificato& b, std::string& errore);
// The axis states the words integrate to, from the header's start position.
std::vector<PUNTO_TRAIETTORIA> IntegraBuffer(const BufferDecodificato& b, const CLimitiEParametri& macchina);
