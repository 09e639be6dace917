#pragma once

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

// Reads a line the way the step formats scan it: integers as %d takes them (leading blanks
// skipped, an optional sign, digits), separated by one character. An integer beyond the 32-bit
// range does not convert: it would not be the value the file holds.
class ScansioneRigaCSV {
public:
    explicit ScansioneRigaCSV(const std::string& riga) : m_r(riga) {}

    bool Intero(std::int32_t& v)
    {
        size_t i = m_p;
        while (i < m_r.size() && std::isspace(static_cast<unsigned char>(m_r[i])))
            ++i;
        bool negativo = false;
        if (i < m_r.size() && (m_r[i] == '+' || m_r[i] == '-'))
            negativo = m_r[i++] == '-';
        const size_t cifre = i;
        long long valore = 0;
        while (i < m_r.size() && std::isdigit(static_cast<unsigned char>(m_r[i]))) {
            if (valore <= INT_MAX)
                valore = valore * 10 + (m_r[i] - '0');
            ++i;
        }
        valore = negativo ? -valore : valore;
        if (i == cifre || valore > INT_MAX || valore < INT_MIN)
            return false;
        v = static_cast<std::int32_t>(valore);
        m_p = i;
        return true;
    }

    bool Carattere(char c)
    {
        if (m_p < m_r.size() && m_r[m_p] == c) {
            ++m_p;
            return true;
        }
        return false;
    }

private:
    const std::string& m_r;
    size_t m_p = 0;
};

// Conversions of "%d<sep>%d<sep>...": up to `quanti` integers into v; the values after the first
// failed conversion are left as they were.
inline int LeggiInteriCSV(const std::string& riga, char sep, std::int32_t* v, int quanti)
{
    ScansioneRigaCSV s(riga);
    int n = 0;
    while (n < quanti && (n == 0 || s.Carattere(sep)) && s.Intero(v[n]))
        ++n;
    return n;
}

inline bool RigaVuota(const std::string& riga)
{
    for (char c : riga)
        if (!std::isspace(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// One step line: it ends at a newline, a carriage return or the end of the file. Beyond `massimo`
// characters the rest of the line is passed over.
inline bool LeggiRigaPasso(FILE* f, std::string& riga, size_t massimo)
{
    riga.clear();
    int c = std::fgetc(f);
    if (c == EOF)
        return false;
    for (; c != EOF && c != '\n' && c != '\r'; c = std::fgetc(f))
        if (riga.size() < massimo)
            riga.push_back(static_cast<char>(c));
    return true;
}
