#include "core/Crc16.h"

std::uint16_t CalcolaCRC16X25(const std::uint8_t* dati, std::size_t n)
{
    if (dati == nullptr || n == 0)
        return 0;
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= dati[i];
        for (int b = 0; b < 8; ++b)
            crc = (crc & 1u) ? static_cast<std::uint16_t>((crc >> 1) ^ 0x8408u) : static_cast<std::uint16_t>(crc >> 1);
    }
    return static_cast<std::uint16_t>(~crc);
}
