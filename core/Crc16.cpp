#include "core/Crc16.h"

#include <array>

namespace {

// One byte's pass through the register, bit by bit: the definition the tables are made of.
constexpr std::uint16_t UnByte(std::uint16_t crc)
{
    for (int b = 0; b < 8; ++b)
        crc = (crc & 1u) ? static_cast<std::uint16_t>((crc >> 1) ^ 0x8408u) : static_cast<std::uint16_t>(crc >> 1);
    return crc;
}

// TABELLE[k][v] is what a register holding only v holds after one byte and k zero bytes more, so a
// block of sixteen bytes goes in by sixteen look-ups that do not wait for one another.
constexpr std::size_t FETTE = 16;
using Tabelle = std::array<std::array<std::uint16_t, 256>, FETTE>;

constexpr Tabelle CreaTabelle()
{
    Tabelle t{};
    for (unsigned v = 0; v < 256; ++v)
        t[0][v] = UnByte(static_cast<std::uint16_t>(v));
    for (std::size_t k = 1; k < FETTE; ++k)
        for (unsigned v = 0; v < 256; ++v)
            t[k][v] = static_cast<std::uint16_t>((t[k - 1][v] >> 8) ^ t[0][t[k - 1][v] & 0xFFu]);
    return t;
}

constexpr Tabelle TABELLE = CreaTabelle();

}  // namespace

std::uint16_t CalcolaCRC16X25(const std::uint8_t* dati, std::size_t n)
{
    if (dati == nullptr || n == 0)
        return 0;
    std::uint32_t crc = 0xFFFF;
    std::size_t i = 0;
    for (; i + FETTE <= n; i += FETTE) {
        const std::uint8_t* d = dati + i;
        // The register meets the first two bytes of the block; the other fourteen only need the tables.
        std::uint32_t r = TABELLE[15][(crc ^ d[0]) & 0xFFu] ^ TABELLE[14][((crc >> 8) ^ d[1]) & 0xFFu];
        r ^= TABELLE[13][d[2]] ^ TABELLE[12][d[3]] ^ TABELLE[11][d[4]] ^ TABELLE[10][d[5]];
        r ^= TABELLE[9][d[6]] ^ TABELLE[8][d[7]] ^ TABELLE[7][d[8]] ^ TABELLE[6][d[9]];
        r ^= TABELLE[5][d[10]] ^ TABELLE[4][d[11]] ^ TABELLE[3][d[12]] ^ TABELLE[2][d[13]];
        crc = r ^ TABELLE[1][d[14]] ^ TABELLE[0][d[15]];
    }
    for (; i < n; ++i)
        crc = (crc >> 8) ^ TABELLE[0][(crc ^ dati[i]) & 0xFFu];
    return static_cast<std::uint16_t>(~crc);
}
