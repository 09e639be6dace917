#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

// Little-endian put/get at explicit offsets: binary images are written byte by byte, never by struct.
inline void PutU8(std::uint8_t* b, std::size_t off, std::uint32_t v)
{
    b[off] = static_cast<std::uint8_t>(v & 0xFFu);
}
inline void PutU16(std::uint8_t* b, std::size_t off, std::uint32_t v)
{
    b[off] = static_cast<std::uint8_t>(v & 0xFFu);
    b[off + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFFu);
}
inline void PutU32(std::uint8_t* b, std::size_t off, std::uint32_t v)
{
    for (std::size_t i = 0; i < 4; ++i)
        b[off + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFFu);
}
inline void PutI32(std::uint8_t* b, std::size_t off, std::int32_t v)
{
    PutU32(b, off, static_cast<std::uint32_t>(v));
}
inline void PutF64(std::uint8_t* b, std::size_t off, double v)
{
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (std::size_t i = 0; i < 8; ++i)
        b[off + i] = static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFFu);
}
inline void PutF32(std::uint8_t* b, std::size_t off, float v)
{
    PutU32(b, off, std::bit_cast<std::uint32_t>(v));
}
inline std::uint8_t GetU8(const std::uint8_t* b, std::size_t off)
{
    return b[off];
}
inline std::uint16_t GetU16(const std::uint8_t* b, std::size_t off)
{
    return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}
inline std::uint32_t GetU32(const std::uint8_t* b, std::size_t off)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(b[off + i]) << (8 * i);
    return v;
}
inline std::int32_t GetI32(const std::uint8_t* b, std::size_t off)
{
    return static_cast<std::int32_t>(GetU32(b, off));
}
inline double GetF64(const std::uint8_t* b, std::size_t off)
{
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < 8; ++i)
        bits |= static_cast<std::uint64_t>(b[off + i]) << (8 * i);
    return std::bit_cast<double>(bits);
}
inline float GetF32(const std::uint8_t* b, std::size_t off)
{
    return std::bit_cast<float>(GetU32(b, off));
}
