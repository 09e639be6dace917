#pragma once

#include <cstdio>
#include <functional>
#include <memory>

#include "CString.h"

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

// A file written under a temporary name in its destination's folder and renamed over the
// destination only once every byte has reached the disk, so a failed write never leaves a partial
// file where a good one stood. The name is handed to the file system as it stands (bytes), so a
// name that is not UTF-8 is written where it says. A destination that is a symbolic link is written
// through to the file it names. The temporary file (".korvane-*.tmp") is locked (flock) while it
// exists, so a cleaner can tell one being written from one a killed program left behind.
class KORVANE_API FileSostitutivo;
// The same as one call: `scrivi` fills the stream; false (and `nome` left as it was) on any failure.
KORVANE_API bool ScriviSostituendo(const CString& nome, const std::function<bool(FILE*)>& scrivi);

class KORVANE_API FileSostitutivo {
public:
    explicit FileSostitutivo(const std::string& nome);
    // The same for a wide name, handed to the file system as UTF-8.
    explicit FileSostitutivo(const CString& nome);
    // Removes the temporary file unless it was renamed into place.
    ~FileSostitutivo();
    FileSostitutivo(const FileSostitutivo&) = delete;
    FileSostitutivo& operator=(const FileSostitutivo&) = delete;

    // The stream to write into; null when the temporary file could not be made (see Errore).
    FILE* Flusso() const { return flusso_; }
    // Writes through the stream and keeps the system's reason when it fails.
    bool Scrivi(const void* dati, size_t quanti);
    // Flushes, syncs and closes the temporary file: false when any write or the close failed.
    bool Chiudi();
    // Closes if still open, then renames over the destination.
    bool Rinomina();
    // Why the file could not be written, for a message.
    const std::string& Errore() const { return errore_; }

private:
    bool Fallito(const std::string& cosa);

    std::string destinazione_;
    std::string provvisorio_;
    FILE* flusso_ = nullptr;
    int blocco_ = -1;  // keeps the temporary file's lock past the stream's close, until it is renamed
    bool rinominato_ = false;
    std::string errore_;
};
