#include "platform/File.h"

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
