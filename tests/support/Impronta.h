#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

// FNV-1a over every bit of a computation's outputs: one number that any changed byte, word or last
// bit of a double changes.
class Impronta {
public:
    void Bytes(const void* p, std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i)
            h_ = (h_ ^ static_cast<const unsigned char*>(p)[i]) * 0x100000001b3ull;
    }
    void Intero(std::int64_t v)
    {
        for (int i = 0; i < 8; ++i) {
            const unsigned char b = static_cast<unsigned char>(static_cast<std::uint64_t>(v) >> (8 * i));
            Bytes(&b, 1);
        }
    }
    void Reale(double v) { Intero(std::bit_cast<std::int64_t>(v)); }
    void Testo(const std::wstring& s)
    {
        Intero(static_cast<std::int64_t>(s.size()));
        for (wchar_t c : s)
            Intero(c);
    }
    std::uint64_t Valore() const { return h_; }

private:
    std::uint64_t h_ = 0xcbf29ce484222325ull;
};
