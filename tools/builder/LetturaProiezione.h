#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ImmagineProiezione.h"

// An "in." projection file of output type 0 as the unit's image needs it.
struct PROIEZIONE_LETTA {
    INTESTAZIONE_IMMAGINE intestazione;
    std::vector<SOTTOIMMAGINE> sottoimmagini;
    std::vector<PASSO_TRAIETTORIA> passi;
};

// Largest input the builder reads: far above any file of 30 sub-images and 3000 steps.
constexpr std::size_t DIMENSIONE_MASSIMA_INGRESSO = 4u << 20;

// Reads and checks the whole text; false with a one-line reason on the first fault.
bool LeggiProiezione(std::string_view testo, PROIEZIONE_LETTA& p, std::string& motivo);
// The unit's 37293-byte image of a file that LeggiProiezione accepted.
std::vector<std::uint8_t> ComponiImmagine(const PROIEZIONE_LETTA& p);
