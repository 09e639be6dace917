#pragma once

#include <cctype>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Ways to damage one line of a project file, and the file with its line damaged: the damage tables
// of the library and of the command line share them.

namespace danni_progetto {

inline std::string Etichetta(const std::string& riga)
{
    const size_t uguale = riga.find("= ");
    return uguale == std::string::npos ? std::string() : riga.substr(0, uguale + 2);
}

// Lines that count a list (and so change when a listed line is lost): a number, then words.
inline bool Conteggio(const std::string& riga)
{
    return !riga.empty() && std::isdigit(static_cast<unsigned char>(riga[0])) && riga.find(',') == std::string::npos;
}

// A line of a list: a point "x,y" or an order entry.
inline bool Elemento(const std::string& riga)
{
    return riga.rfind("tipo:", 0) == 0 ||
           (!riga.empty() && riga.find(',') != std::string::npos && Etichetta(riga).empty());
}

inline bool Intero(const std::string& v)
{
    return !v.empty() && v.find_first_not_of("-0123456789") == std::string::npos;
}

// The number a line holds (its value, its count or its last number) replaced by `numero`.
inline std::optional<std::string> ConNumero(const std::string& riga, const std::string& intero,
                                            const std::string& reale)
{
    if (const std::string e = Etichetta(riga); !e.empty()) {
        const std::string v = riga.substr(e.size());
        if (Intero(v))
            return e + intero;
        if (v.find_first_not_of("-0123456789.") == std::string::npos && !v.empty())
            return e + reale;
        return std::nullopt;
    }
    if (Conteggio(riga))
        return intero + riga.substr(riga.find(' '));
    if (riga.rfind("tipo:", 0) == 0)
        return riga.substr(0, riga.rfind(' ') + 1) + intero;
    if (Elemento(riga))
        return reale + riga.substr(riga.find(','));
    return std::nullopt;
}

struct Danno {
    const char* nome;
    std::function<std::optional<std::string>(const std::string&)> riga;  // nullopt: not for this line
    bool cancella = false;                                              // the line is taken out
};

inline const Danno DANNI[] = {
    {"garbled", [](const std::string& r) -> std::optional<std::string> {
         const std::string e = Etichetta(r);
         return e.empty() ? "~" + r : e + "x" + r.substr(e.size());
     }},
    {"empty", [](const std::string& r) -> std::optional<std::string> { return Etichetta(r); }},
    {"misspelt label", [](const std::string& r) -> std::optional<std::string> {
         const std::string e = Etichetta(r);
         const size_t fine = e.empty() ? r.size() : e.size();
         size_t lettera = fine;
         while (lettera > 0 && !std::isalpha(static_cast<unsigned char>(r[lettera - 1])))
             --lettera;
         if (lettera == 0)
             return std::nullopt;
         std::string d = r;
         d[lettera - 1] = '~';
         return d;
     }},
    {"deleted", [](const std::string&) -> std::optional<std::string> { return std::string(); }, true},
    {"out of range", [](const std::string& r) { return ConNumero(r, "4294967346", "1e999"); }},
    {"huge count", [](const std::string& r) -> std::optional<std::string> {
         if (Conteggio(r) || r.rfind("Numero Traiettorie", 0) == 0)
             return ConNumero(r, "2000000000", "");
         return std::nullopt;
     }},
};

// The lines joined again with line `i` replaced by `guasta`, or taken out.
inline std::string ConRigaDanneggiata(const std::vector<std::string>& righe, size_t i, const Danno& d,
                                      const std::string& guasta)
{
    std::string t;
    for (size_t k = 0; k < righe.size(); ++k)
        if (k != i || !d.cancella)
            t += (k == i ? guasta : righe[k]) + (k + 1 < righe.size() ? "\n" : "");
    return t;
}

}  // namespace danni_progetto
