#pragma once

#include <cstdio>
#include <string>

// The text blocks are read with the writer's own format strings. Two small scans serve every
// reader: a value line matches when its one conversion assigned a value, a literal line when the
// scan reached its end. fscanf takes "nan" and "inf" like any number: such a value line matches
// and the value is stored as it was read.

namespace lettura_testo {

// Past the rest of the current line and the white space that follows it.
inline void SaltaRiga(FILE* f)
{
    int c = std::fgetc(f);
    while (c != EOF && c != '\n')
        c = std::fgetc(f);
    std::fscanf(f, " ");
}

// A line that does not match is either damaged or belongs to a later scan (this scan's own line is
// missing). So the stream goes back to where the scan began, unless the same scan matches the line
// after: then the line in between was damaged and is dropped. A repaired line still reports a
// mismatch, so a block matches only when every line stood in its place.
template <class Scansione>
bool ScansionaRiga(FILE* f, Scansione scansione)
{
    const long prima = std::ftell(f);
    if (scansione())
        return true;
    if (prima < 0)
        return false;
    std::fseek(f, prima, SEEK_SET);
    SaltaRiga(f);
    if (!scansione())
        std::fseek(f, prima, SEEK_SET);
    return false;
}

}  // namespace lettura_testo

inline bool LeggiLetterale(FILE* f, const char* formato)
{
    const std::string conFine = std::string(formato) + "%n";
    return lettura_testo::ScansionaRiga(f, [&] {
        int letti = -1;
        std::fscanf(f, conFine.c_str(), &letti);
        return letti >= 0;
    });
}

template <class T>
bool LeggiValore(FILE* f, const char* formato, T* valore)
{
    return lettura_testo::ScansionaRiga(f, [&] { return std::fscanf(f, formato, valore) == 1; });
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
