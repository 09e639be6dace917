#include "platform/File.h"

#include <cstdio>

FILE* ApriFile(const CString& nome, const char* modo)
{
    if (nome.empty() || modo == nullptr)
        return nullptr;
    return std::fopen(StringaAUtf8(nome).c_str(), modo);
}

bool LeggiFinoAFineRiga(FILE* f, std::string& riga, size_t massimo)
{
    riga.clear();
    if (f == nullptr)
        return false;
    int c = std::fgetc(f);
    if (c == EOF)
        return false;
    while (c != EOF && c != '\n') {
        if (riga.size() < massimo)
            riga.push_back(static_cast<char>(c));
        c = std::fgetc(f);
    }
    if (!riga.empty() && riga.back() == '\r')
        riga.pop_back();
    return true;
}

FileAccanto::FileAccanto(const CString& nome, const char* modo)
{
    if (nome.empty() || modo == nullptr)
        return;
    m_finale = StringaAUtf8(nome);
    m_temporaneo = m_finale + ".part";
    m_f = std::fopen(m_temporaneo.c_str(), modo);
}

FileAccanto::~FileAccanto()
{
    if (m_f != nullptr) {
        std::fclose(m_f);
        std::remove(m_temporaneo.c_str());
    }
}

bool FileAccanto::Conferma()
{
    if (m_f == nullptr)
        return false;
    const bool scritto = std::ferror(m_f) == 0;
    const bool chiuso = std::fclose(m_f) == 0;
    m_f = nullptr;
    if (scritto && chiuso && std::rename(m_temporaneo.c_str(), m_finale.c_str()) == 0)
        return true;
    std::remove(m_temporaneo.c_str());
    return false;
}
