#pragma once

#include <cstdio>
#include <functional>
#include <memory>

#include "platform/CString.h"

// Opens a file by its wide name (handed to the file system as UTF-8) with an fopen mode.
KORVANE_API FILE* ApriFile(const CString& nome, const char* modo);

struct ChiudiFile {
    void operator()(FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};
// An open file that closes itself.
using FilePtr = std::unique_ptr<FILE, ChiudiFile>;

// Reads characters up to the end of the line (consumed, not kept) into at most `massimo` characters;
// a trailing "\r" is dropped. The rest of an over-long line is consumed too. Returns false at end of file
// before any character.
KORVANE_API bool LeggiFinoAFineRiga(FILE* f, std::string& riga, size_t massimo);

// Writes `nome` through a file of its own folder under a temporary name, renamed over `nome` only
// when `scrivi` succeeded and every byte reached the file: a failed save never leaves a truncated
// file where a good one stood. Returns false (and leaves `nome` as it was) on any failure.
KORVANE_API bool ScriviSostituendo(const CString& nome, const std::function<bool(FILE*)>& scrivi);
