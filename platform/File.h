#pragma once

#include <cstdio>
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

// A file written beside its final name and renamed into place only when complete, so a good file
// that stood there is never replaced by a half-written one. Without Conferma the partial file goes.
class KORVANE_API FileAccanto {
public:
    FileAccanto(const CString& nome, const char* modo);
    ~FileAccanto();
    FileAccanto(const FileAccanto&) = delete;
    FileAccanto& operator=(const FileAccanto&) = delete;

    FILE* get() const { return m_f; }
    // Closes and renames; false when a write, the close or the rename failed (the partial file goes).
    bool Conferma();

private:
    std::string m_finale;
    std::string m_temporaneo;
    FILE* m_f = nullptr;
};
