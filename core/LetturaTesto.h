#pragma once

#include <cstdio>
#include <string>

// The text blocks are read with the writer's own format strings. Two small scans serve every
// reader: a value line matches when its one conversion assigned a value, a literal line when the
// scan reached its end.

inline bool LeggiLetterale(FILE* f, const char* formato)
{
    const std::string conFine = std::string(formato) + "%n";
    int letti = -1;
    std::fscanf(f, conFine.c_str(), &letti);
    return letti >= 0;
}

// A line that failed after part of it matched (a misspelt label) is skipped to its end, so the
// lines after it are still read; a line that is missing altogether consumes nothing.
template <class T>
bool LeggiValore(FILE* f, const char* formato, T* valore)
{
    const long prima = std::ftell(f);
    if (std::fscanf(f, formato, valore) == 1)
        return true;
    if (prima >= 0 && std::ftell(f) > prima) {
        int c = std::fgetc(f);
        while (c != EOF && c != '\n')
            c = std::fgetc(f);
    }
    return false;
}

// Accumulates the outcome of a reader that attempts every line even after a failure.
class EsitoLettura {
public:
    EsitoLettura& operator&=(bool riuscito)
    {
        m_ok = m_ok && riuscito;
        return *this;
    }
    int Risultato() const { return m_ok ? 1 : 0; }

private:
    bool m_ok = true;
};
