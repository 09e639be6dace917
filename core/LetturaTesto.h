#pragma once

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "../platform/File.h"

// The text blocks are read with the writer's own format strings. Two small scans serve every
// reader: a value line matches when its value converts whole and fits its member's type, a literal
// line when the scan reached its end. "nan" and "inf" convert like any number: such a value line
// matches and the value is stored as it was read; a finite number beyond the type does not.

// Strict conversions of a whole value text (blanks around it allowed): false when anything but the
// number stands there or the number does not fit the type. Every reader and the command line use
// these, so a value is accepted or refused by one rule.
inline bool ConvertiValore(const std::string& testo, std::int32_t& v)
{
    const char* inizio = testo.c_str();
    char* fine = nullptr;
    errno = 0;
    const long long x = std::strtoll(inizio, &fine, 10);
    if (fine == inizio || errno == ERANGE || x < std::numeric_limits<std::int32_t>::min() ||
        x > std::numeric_limits<std::int32_t>::max())
        return false;
    while (*fine == ' ' || *fine == '\t')
        ++fine;
    if (*fine != '\0')
        return false;
    v = static_cast<std::int32_t>(x);
    return true;
}

template <class R>
bool ConvertiReale(const std::string& testo, R& v)
{
    static_assert(std::is_floating_point_v<R>);
    const char* inizio = testo.c_str();
    char* fine = nullptr;
    errno = 0;
    // Parsed straight into the member's type, so a float is rounded once, as a float scan does.
    R x;
    if constexpr (std::is_same_v<R, float>)
        x = std::strtof(inizio, &fine);
    else
        x = std::strtod(inizio, &fine);
    // A number too large for the type overflows to infinity with ERANGE; a tiny one only loses digits.
    if (fine == inizio || (errno == ERANGE && std::isinf(x)))
        return false;
    while (*fine == ' ' || *fine == '\t')
        ++fine;
    if (*fine != '\0')
        return false;
    v = x;
    return true;
}

inline bool ConvertiValore(const std::string& testo, float& v) { return ConvertiReale(testo, v); }
inline bool ConvertiValore(const std::string& testo, double& v) { return ConvertiReale(testo, v); }

// Where a reader met a damaged or missing line: the byte offset at which the line stood or was
// expected, and the line it expected there.
struct DannoLettura {
    long posizione = 0;
    std::string atteso;
};

namespace lettura_testo {

// Damaged lines in a row that a scan looks past to find its own. The nearest repeated label (the
// next axis, sub-image or point block) stands 9 lines on, so a scan never takes another's line.
constexpr int RIGHE_OLTRE = 3;
// The longest value text a line may hold; a longer one is damage, not a number.
constexpr size_t MAX_VALORE = 256;

// The damage met while one file is read, for the host that asked for the load. It lives while the
// load runs (installed by Registro below), one per thread; a reader run outside a load tells nobody.
inline thread_local std::vector<DannoLettura>* registro = nullptr;

class Registro {
public:
    explicit Registro(std::vector<DannoLettura>& danni) : m_prima(registro) { registro = &danni; }
    ~Registro() { registro = m_prima; }
    Registro(const Registro&) = delete;
    Registro& operator=(const Registro&) = delete;

private:
    std::vector<DannoLettura>* m_prima;
};

// Scans that only look whether something stands ahead (a heading, an optional blank line) are no
// reading of a line: their misses are not damage.
class SoloSguardo {
public:
    SoloSguardo() : m_prima(registro) { registro = nullptr; }
    ~SoloSguardo() { registro = m_prima; }
    SoloSguardo(const SoloSguardo&) = delete;
    SoloSguardo& operator=(const SoloSguardo&) = delete;

private:
    std::vector<DannoLettura>* m_prima;
};

// The line a format expects, as a person reads it: the format without its line ends.
inline std::string Atteso(const char* formato)
{
    std::string t(formato);
    while (!t.empty() && (t.back() == '\n' || t.back() == ' '))
        t.pop_back();
    while (!t.empty() && t.front() == '\n')
        t.erase(t.begin());
    for (size_t p = 0; (p = t.find("%%", p)) != std::string::npos; ++p)
        t.erase(p, 1);
    return t;
}

inline void Segnala(long posizione, const std::string& atteso)
{
    if (registro != nullptr)
        registro->push_back({posizione, atteso});
}

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
// Every outcome but the first is noted, with `formato`, as damage at the place the scan began.
template <class Scansione>
Riga ScansionaRiga(FILE* f, const char* formato, Scansione scansione)
{
    const long prima = std::ftell(f);
    const int esito = scansione();
    if (esito == LETTA)
        return Riga::AL_POSTO;
    Segnala(prima, Atteso(formato));
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
        // A heading opens the next block: a scan may find its own heading there, never look past it.
        const int c = std::fgetc(f);
        std::fseek(f, riga, SEEK_SET);
        if (scansione() == LETTA)
            return Riga::DOPO_DANNI;
        std::fseek(f, riga, SEEK_SET);
        if (c == '[')
            break;
    }
    std::fseek(f, prima, SEEK_SET);
    return Riga::ASSENTE;
}

// Whether the next non-blank line starts with `inizio` (no "%" in it); nothing is consumed.
inline bool IniziaCon(FILE* f, const char* inizio)
{
    const long prima = std::ftell(f);
    // Built by appends: g++ 12 at -O3 warns falsely (-Wrestrict) on " " + std::string.
    std::string formato = " ";
    formato.append(inizio).append("%n");
    int letti = -1;
    std::fscanf(f, formato.c_str(), &letti);
    std::clearerr(f);
    std::fseek(f, prima, SEEK_SET);
    return letti >= 0;
}

// Whether `davanti` (a look that consumes nothing) holds at the line in front or, past a few
// damaged lines, further on (not past a heading); the stream is left at that line, the damaged
// lines noted with `formato`. Otherwise the stream stays where it was.
template <class Sguardo>
bool DavantiDopoDanni(FILE* f, const char* formato, Sguardo davanti)
{
    if (davanti())
        return true;
    const long prima = std::ftell(f);
    for (int k = 0; k < RIGHE_OLTRE && prima >= 0; ++k) {
        const int c = std::fgetc(f);
        std::ungetc(c, f);
        if (c == '[' || c == EOF)
            break;
        SaltaRiga(f);
        if (davanti()) {
            Segnala(prima, Atteso(formato));
            return true;
        }
    }
    std::clearerr(f);
    std::fseek(f, prima, SEEK_SET);
    return false;
}

// Whether a scan's line gave its value: in place or found after damaged lines.
inline bool ValoreOttenuto(Riga r) { return r == Riga::AL_POSTO || r == Riga::DOPO_DANNI; }

// A value format split into the label (up to its last non-blank character, with "%n" to see it
// matched), the conversion, and the literal text after the conversion.
struct Formato {
    std::string etichetta, coda;
};

inline Formato DividiFormato(const char* formato)
{
    const std::string t(formato);
    // The conversion is the first "%" that is not a literal "%%".
    size_t conversione = t.find('%');
    while (conversione != std::string::npos && conversione + 1 < t.size() && t[conversione + 1] == '%')
        conversione = t.find('%', conversione + 2);
    Formato r;
    r.etichetta = t.substr(0, conversione);
    while (!r.etichetta.empty() && (r.etichetta.back() == ' ' || r.etichetta.back() == '\n'))
        r.etichetta.pop_back();
    r.etichetta += "%n";
    if (conversione != std::string::npos) {
        const size_t lettera = t.find_first_not_of("l", conversione + 1);
        r.coda = lettera == std::string::npos ? std::string() : t.substr(lettera + 1);
    }
    return r;
}

// The words of a text, blanks of any length between them.
inline std::vector<std::string> Parole(const std::string& t)
{
    std::vector<std::string> p;
    std::istringstream in(t);
    for (std::string w; in >> w;)
        p.push_back(w);
    return p;
}

// The rest of the current line, without its end; false when it is longer than `massimo`.
inline bool RestoDellaRiga(FILE* f, std::string& testo, size_t massimo)
{
    testo.clear();
    int c = std::fgetc(f);
    for (; c != EOF && c != '\n' && c != '\r'; c = std::fgetc(f))
        if (testo.size() <= massimo)
            testo.push_back(static_cast<char>(c));
    if (c != EOF)
        std::ungetc(c, f);
    return testo.size() <= massimo;
}

// A value and the literal text after it: the number is the leading word, converted whole; what
// follows must be the format's own words.
template <class T>
bool ConvertiRiga(const std::string& testo, const std::string& coda, T& v)
{
    const size_t inizio = testo.find_first_not_of(" \t");
    if (inizio == std::string::npos)
        return false;
    const size_t fine = testo.find_first_of(" \t", inizio);
    const std::string numero = testo.substr(inizio, fine == std::string::npos ? std::string::npos : fine - inizio);
    const std::string resto = fine == std::string::npos ? std::string() : testo.substr(fine);
    return Parole(resto) == Parole(coda) && ConvertiValore(numero, v);
}

// A line of two numbers separated by a comma ("%lf,%lf"), each converted whole; on success the
// line and the white space after it are passed.
inline Esito ScansionaCoppia(FILE* f, double& x, double& y)
{
    std::string testo;
    if (!RestoDellaRiga(f, testo, 2 * MAX_VALORE))
        return ALTRA;
    const size_t virgola = testo.find(',');
    double a = 0.0, b = 0.0;
    if (virgola == std::string::npos || !ConvertiValore(testo.substr(0, virgola), a) ||
        !ConvertiValore(testo.substr(virgola + 1), b))
        return ALTRA;
    x = a;
    y = b;
    std::fscanf(f, " ");
    return LETTA;
}

}  // namespace lettura_testo

inline lettura_testo::Riga TrovaLetterale(FILE* f, const char* formato)
{
    const std::string conFine = std::string(formato) + "%n";
    return lettura_testo::ScansionaRiga(f, formato, [&] {
        int letti = -1;
        std::fscanf(f, conFine.c_str(), &letti);
        return letti >= 0 ? lettura_testo::LETTA : lettura_testo::ALTRA;
    });
}

inline bool LeggiLetterale(FILE* f, const char* formato)
{
    return TrovaLetterale(f, formato) == lettura_testo::Riga::AL_POSTO;
}

// A name after its label, up to the end of the line (the blanks after the label skipped): an empty
// name is a name, never the line after it. At most `massimo` characters are kept; the rest of the
// line is passed over.
inline lettura_testo::Riga LeggiNome(FILE* f, const char* etichetta, std::string& nome, size_t massimo)
{
    const lettura_testo::Riga r = TrovaLetterale(f, etichetta);
    if (r == lettura_testo::Riga::ASSENTE)
        return r;
    int c = std::fgetc(f);
    while (c == ' ' || c == '\t')
        c = std::fgetc(f);
    if (c != EOF)
        std::ungetc(c, f);
    LeggiFinoAFineRiga(f, nome, massimo);
    std::fscanf(f, " ");
    return r;
}

// Optional blank lines ahead, passed over: their absence is no damage.
inline void SaltaRigheVuote(FILE* f)
{
    std::fscanf(f, " ");
}

// A value stands on its label's line: an empty value is a damaged line, never the start of the
// next one (whose leading number, as in a count line, would otherwise be taken). A value that does
// not convert whole, or does not fit its member's type, damages its line and leaves the member.
template <class T>
lettura_testo::Riga TrovaValore(FILE* f, const char* formato, T* valore)
{
    const lettura_testo::Formato parti = lettura_testo::DividiFormato(formato);
    // A count line has no label in front of its number: it is claimed by the words after it.
    const bool conteggio = parti.etichetta == "%n";
    return lettura_testo::ScansionaRiga(f, formato, [&] {
        int letti = -1;
        std::fscanf(f, parti.etichetta.c_str(), &letti);
        if (letti < 0)
            return lettura_testo::ALTRA;
        std::string testo;
        T v{};
        if (!lettura_testo::RestoDellaRiga(f, testo, lettura_testo::MAX_VALORE) ||
            !lettura_testo::ConvertiRiga(testo, parti.coda, v)) {
            std::vector<std::string> parole = lettura_testo::Parole(testo);
            if (conteggio && !parole.empty())
                parole.erase(parole.begin());
            return !conteggio || (!parole.empty() && parole == lettura_testo::Parole(parti.coda))
                       ? lettura_testo::PROPRIA_DANNEGGIATA
                       : lettura_testo::ALTRA;
        }
        *valore = v;
        std::fscanf(f, " ");
        return lettura_testo::LETTA;
    });
}

template <class T>
bool LeggiValore(FILE* f, const char* formato, T* valore)
{
    return TrovaValore(f, formato, valore) == lettura_testo::Riga::AL_POSTO;
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
