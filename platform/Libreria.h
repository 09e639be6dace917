#pragma once

#include "CString.h"

// A dynamic library loaded at run time, released when the object goes. A name "Name.dll" is looked
// up as "libName.so": first on the loader's search path, then beside libkorvane.so. Any other name
// is handed to the loader as it is.
class KORVANE_API LibreriaDinamica {
public:
    LibreriaDinamica() = default;
    ~LibreriaDinamica();
    LibreriaDinamica(const LibreriaDinamica&) = delete;
    LibreriaDinamica& operator=(const LibreriaDinamica&) = delete;
    LibreriaDinamica(LibreriaDinamica&& altra) noexcept;
    LibreriaDinamica& operator=(LibreriaDinamica&& altra) noexcept;

    // Releases any library already held, then loads `nome`; true on success.
    bool Carica(const CString& nome);
    void Rilascia();
    bool IsCaricata() const { return m_handle != nullptr; }
    // Address of an exported symbol, or null.
    void* Simbolo(const char* nome) const;

    // The file name a "Name.dll" maps to ("libName.so"); other names unchanged.
    static std::string NomeNativo(const CString& nome);
    // Folder of libkorvane.so, with a trailing '/'.
    static std::string CartellaLibreria();

private:
    void* m_handle = nullptr;
};
