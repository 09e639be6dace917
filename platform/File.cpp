#include "platform/File.h"

#include <filesystem>
#include <system_error>

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

bool ScriviSostituendo(const CString& nome, const std::function<bool(FILE*)>& scrivi)
{
    if (nome.empty())
        return false;
    const std::string finale = StringaAUtf8(nome);
    const std::string provvisorio = finale + ".tmp~";
    FILE* f = std::fopen(provvisorio.c_str(), "w");
    if (f == nullptr)
        return false;
    bool ok = scrivi(f);
    ok = std::fflush(f) == 0 && ok;
    ok = std::ferror(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    std::error_code errore;
    if (ok)
        std::filesystem::rename(provvisorio, finale, errore);
    if (!ok || errore) {
        std::filesystem::remove(provvisorio, errore);
        return false;
    }
    return true;
}
