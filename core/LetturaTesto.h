#pragma once

#include <cstdio>
#include <string>

// The text blocks are read with the writer's own format strings. Two small scans serve every
// reader: a value line matches when its one conversion assigned a value, a literal line when the
// scan reached its end. fscanf takes "nan" and "inf" like any number: such a value line matches
// and the value is stored as it was read.

namespace lettura_testo {

// Damaged lines in a row that a scan looks past to find its own. The nearest repeated label (the
// next axis, sub-image or point block) stands 9 lines on, so a scan never takes another's line.
constexpr int RIGHE_OLTRE = 3;

// Past the rest of the current line ("\n", "\r\n" or a lone "\r") and the white space after it.
inline void SaltaRiga(FILE* f)
{
    int c = std::fgetc(f);
    while (c != EOF && c != '\n' && c != '\r')
        c = std::fgetc(f);
    std::fscanf(f, " ");
}

// What a scan made of the line in front of it.
enum Esito { ALTRA = 0, LETTA = 1, PROPRIA_DANNEGGIATA = 2 };

// Where a scan found its line: in place, after damaged lines (dropped), damaged itself, or nowhere.
enum class Riga { AL_POSTO, DOPO_DANNI, DANNEGGIATA, ASSENTE };

// A line whose label matched but whose value did not is this scan's own, damaged: it is dropped.
// Any other line that does not match is either damaged or belongs to a later scan (this scan's own
// line is missing). So the scan is tried on the next few lines: where it matches, the lines before
// were damaged and are dropped; where it never does, the stream goes back to where the scan began.
// A repaired line still reports a mismatch, so a block matches only when every line stood in place.
template <class Scansione>
Riga ScansionaRiga(FILE* f, Scansione scansione)
{
    const long prima = std::ftell(f);
    const int esito = scansione();
    if (esito == LETTA)
        return Riga::AL_POSTO;
    if (prima < 0)
        return Riga::ASSENTE;
    std::fseek(f, prima, SEEK_SET);
    if (esito == PROPRIA_DANNEGGIATA) {
        SaltaRiga(f);
        return Riga::DANNEGGIATA;
    }
    for (int k = 0; k < RIGHE_OLTRE; ++k) {
        SaltaRiga(f);
        const long riga = std::ftell(f);
        if (std::feof(f) || riga < 0)
            break;
        if (scansione() == LETTA)
            return Riga::DOPO_DANNI;
        std::fseek(f, riga, SEEK_SET);
    }
    std::fseek(f, prima, SEEK_SET);
    return Riga::ASSENTE;
}

// The label of a value format up to its last non-blank character, with "%n" to see it matched,
// and the rest from the conversion on.
inline void DividiFormato(const char* formato, std::string& etichetta, std::string& resto)
{
    const std::string t(formato);
    const size_t conversione = t.find('%');
    etichetta = t.substr(0, conversione);
    while (!etichetta.empty() && (etichetta.back() == ' ' || etichetta.back() == '\n'))
        etichetta.pop_back();
    etichetta += "%n";
    resto = conversione == std::string::npos ? std::string() : t.substr(conversione);
}

}  // namespace lettura_testo

// Names are read after their label up to the end of the line; this scan's closing blank skips line
// ends too, so an empty name takes the next line, as the files have always been read.
inline lettura_testo::Riga TrovaLetterale(FILE* f, const char* formato)
{
    const std::string conFine = std::string(formato) + "%n";
    return lettura_testo::ScansionaRiga(f, [&] {
        int letti = -1;
        std::fscanf(f, conFine.c_str(), &letti);
        return letti >= 0 ? lettura_testo::LETTA : lettura_testo::ALTRA;
    });
}

inline bool LeggiLetterale(FILE* f, const char* formato)
{
    return TrovaLetterale(f, formato) == lettura_testo::Riga::AL_POSTO;
}

// A value stands on its label's line: an empty value is a damaged line, never the start of the
// next one (whose leading number, as in a count line, would otherwise be taken).
template <class T>
bool LeggiValore(FILE* f, const char* formato, T* valore)
{
    std::string etichetta, resto;
    lettura_testo::DividiFormato(formato, etichetta, resto);
    // A count line has no label of its own to claim the line by.
    const lettura_testo::Esito danneggiata =
        etichetta == "%n" ? lettura_testo::ALTRA : lettura_testo::PROPRIA_DANNEGGIATA;
    return lettura_testo::ScansionaRiga(f, [&] {
        int letti = -1;
        std::fscanf(f, etichetta.c_str(), &letti);
        if (letti < 0)
            return lettura_testo::ALTRA;
        int c = std::fgetc(f);
        while (c == ' ' || c == '\t')
            c = std::fgetc(f);
        if (c == EOF || c == '\n' || c == '\r')
            return danneggiata;
        std::ungetc(c, f);
        return std::fscanf(f, resto.c_str(), valore) == 1 ? lettura_testo::LETTA : danneggiata;
    }) == lettura_testo::Riga::AL_POSTO;
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
