#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "platform/CString.h"

// The readers take a FILE* or a file name; these give them the fuzzer's bytes either way.
inline FILE* FileDaByte(const std::uint8_t* dati, std::size_t n)
{
    FILE* f = std::tmpfile();
    if (f != nullptr) {
        std::fwrite(dati, 1, n, f);
        std::rewind(f);
    }
    return f;
}

// The file goes to memory where the system offers it: on disk every run would wait for the disk.
inline CString FileTemporaneo(const std::uint8_t* dati, std::size_t n, const char* estensione)
{
    static const std::string cartella = access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/";
    const std::string nome = cartella + "korvane-fuzz-" + std::to_string(getpid()) + estensione;
    FILE* f = std::fopen(nome.c_str(), "wb");
    if (f != nullptr) {
        std::fwrite(dati, 1, n, f);
        std::fclose(f);
    }
    return StringaDaUtf8(nome);
}
