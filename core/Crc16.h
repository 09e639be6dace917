#pragma once

#include <cstddef>
#include <cstdint>

#include "../platform/Export.h"

// CRC-16/X-25: reflected polynomial 0x8408, initial 0xFFFF, final complement; "123456789" gives 0x906E.
// A length of 0 gives 0.
KORVANE_API std::uint16_t CalcolaCRC16X25(const std::uint8_t* dati, std::size_t n);
