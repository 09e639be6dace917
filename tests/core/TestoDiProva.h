#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/ParametriFileDat.h"

// Small text tools shared by the block and file tests.

inline std::string Sostituisci(std::string t, const std::string& da, const std::string& a)
{
    const size_t p = t.find(da);
    if (p == std::string::npos) {
        ADD_FAILURE() << "\"" << da << "\" is not in the text";
        return t;
    }
    return t.replace(p, da.size(), a);
}

inline std::string Togli(const std::string& t, const std::string& riga) { return Sostituisci(t, riga, ""); }

inline std::string ConCRLF(const std::string& t)
{
    std::string r;
    for (char c : t)
        r += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return r;
}

// Length of the text without the white space at its end: every shorter cut loses a character that
// the reader needs.
inline size_t FineUtile(const std::string& t) { return t.find_last_not_of(" \r\n") + 1; }

// A temporary stream holding `testo`, positioned at its start.
inline FILE* FlussoCon(const std::string& testo)
{
    FILE* f = std::tmpfile();
    std::fwrite(testo.data(), 1, testo.size(), f);
    std::rewind(f);
    return f;
}

// What `scrivi` puts into a stream.
template <class Blocco>
std::string Testo(Blocco scrivi)
{
    FILE* f = std::tmpfile();
    scrivi(f);
    std::string testo(static_cast<size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    testo.resize(std::fread(testo.data(), 1, testo.size(), f));
    std::fclose(f);
    return testo;
}

// What a block writer puts into a stream.
template <class T>
std::string Scritto(T& oggetto)
{
    return Testo([&](FILE* f) { oggetto.SalvaFileTRG(f); });
}

// The nine sub-image arrays of the .dat settings, in block order.
inline ArrayInt* Array(CParametriFileDat& d, int k)
{
    ArrayInt* a[] = {&d.LRImgNote,     &d.PxMarginsTop,     &d.PxMarginsBottom,
                     &d.PxMarginsRight, &d.PxMarginsLeft,  &d.PxMarginsTopC,
                     &d.PxMarginsBottomC, &d.PxMarginsRightC, &d.PxMarginsLeftC};
    return a[k];
}

struct Lettura {
    int risultato;
    long consumati;
};

// A block reader run on a text, with how far it read.
template <class T>
Lettura LeggiBlocco(const std::string& testo, T& oggetto)
{
    FILE* f = FlussoCon(testo);
    const int risultato = oggetto.CaricaFileTRG(f);
    const Lettura l{risultato, std::ftell(f)};
    std::fclose(f);
    return l;
}

// The lines of a text, without their ends.
inline std::vector<std::string> RigheDelTesto(const std::string& t)
{
    std::vector<std::string> r;
    std::istringstream in(t);
    for (std::string riga; std::getline(in, riga);)
        r.push_back(riga);
    return r;
}

inline std::string LeggiFile(const std::string& nome)
{
    std::ifstream f(nome, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void ScriviFile(const std::string& nome, const std::string& testo)
{
    std::ofstream(nome, std::ios::binary) << testo;
}
