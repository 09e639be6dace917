#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/Crc16.h"

// The table-driven CRC against the bitwise definition on random buffers, at every length around its
// sixteen-byte blocks and at odd starts, and on the full image with its zero tail; the published
// check value; nothing to check gives 0.
TEST(Crc16X25, ComeLaDefinizioneBitABit)
{
    auto bitABit = [](const std::uint8_t* d, std::size_t n) {
        std::uint16_t crc = 0xFFFF;
        for (std::size_t i = 0; i < n; ++i) {
            crc ^= d[i];
            for (int b = 0; b < 8; ++b)
                crc = static_cast<std::uint16_t>(crc & 1u ? (crc >> 1) ^ 0x8408u : crc >> 1);
        }
        return static_cast<std::uint16_t>(~crc);
    };
    const std::uint8_t controllo[] = "123456789";
    EXPECT_EQ(CalcolaCRC16X25(controllo, 9), 0x906E);
    EXPECT_EQ(CalcolaCRC16X25(controllo, 0), 0);
    EXPECT_EQ(CalcolaCRC16X25(nullptr, 9), 0);
    std::mt19937 g(1616);
    std::vector<std::uint8_t> dati(37293);
    for (std::size_t i = 0; i < 15000; ++i)
        dati[i] = static_cast<std::uint8_t>(g());
    for (std::size_t n = 1; n <= 70; ++n)
        for (std::size_t inizio : {0, 1, 7})
            EXPECT_EQ(CalcolaCRC16X25(dati.data() + inizio, n), bitABit(dati.data() + inizio, n)) << n << " " << inizio;
    for (std::size_t n : {37291, 37293})
        EXPECT_EQ(CalcolaCRC16X25(dati.data(), n), bitABit(dati.data(), n)) << n;
}
