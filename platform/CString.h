#pragma once

#include <string>

#include "Export.h"

// The framework's wide string.
using CString = std::wstring;

// 8-bit text: one byte per character, the low 8 bits of each code unit.
KORVANE_API std::string StringaA8Bit(const CString& testo);
// 8-bit text of the system code page (Latin-1 here) back to a wide string.
KORVANE_API CString StringaDa8Bit(const std::string& byte);
// UTF-8, the encoding file names are handed to the file system in.
KORVANE_API std::string StringaAUtf8(const CString& testo);
KORVANE_API CString StringaDaUtf8(const std::string& utf8);

KORVANE_API bool FinisceCon(const CString& testo, const CString& fine);
KORVANE_API bool FinisceConNoCase(const CString& testo, const CString& fine);
// Inserts `aggiunta` before the last "." of the file part; appends it when the file part has none.
KORVANE_API CString InserisciPrimaDellUltimoPunto(const CString& nome, const CString& aggiunta);
// Directory part up to and including the last '\' or '/', whichever comes last; empty when neither.
KORVANE_API CString ParteDirectory(const CString& nome);
// What follows the last '\' or '/'.
KORVANE_API CString ParteNomeFile(const CString& nome);
