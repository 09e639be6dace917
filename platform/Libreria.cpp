#include "platform/Libreria.h"

#include <dlfcn.h>

#include <utility>

LibreriaDinamica::~LibreriaDinamica()
{
    Rilascia();
}

LibreriaDinamica::LibreriaDinamica(LibreriaDinamica&& altra) noexcept : m_handle(std::exchange(altra.m_handle, nullptr)) {}

LibreriaDinamica& LibreriaDinamica::operator=(LibreriaDinamica&& altra) noexcept
{
    if (this != &altra) {
        Rilascia();
        m_handle = std::exchange(altra.m_handle, nullptr);
    }
    return *this;
}

std::string LibreriaDinamica::NomeNativo(const CString& nome)
{
    const std::string utf8 = StringaAUtf8(nome);
    if (!FinisceConNoCase(nome, L".dll"))
        return utf8;
    const size_t sep = utf8.find_last_of("\\/");
    const std::string cartella = sep == std::string::npos ? std::string() : utf8.substr(0, sep + 1);
    const std::string file = utf8.substr(cartella.size());
    return cartella + "lib" + file.substr(0, file.size() - 4) + ".so";
}

std::string LibreriaDinamica::CartellaLibreria()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LibreriaDinamica::CartellaLibreria), &info) == 0 || info.dli_fname == nullptr)
        return std::string();
    const std::string percorso = info.dli_fname;
    const size_t sep = percorso.find_last_of('/');
    return sep == std::string::npos ? std::string() : percorso.substr(0, sep + 1);
}

bool LibreriaDinamica::Carica(const CString& nome)
{
    Rilascia();
    const std::string nativo = NomeNativo(nome);
    if (nativo.empty())
        return false;
    m_handle = dlopen(nativo.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr && nativo.find('/') == std::string::npos) {
        const std::string accanto = CartellaLibreria() + nativo;
        m_handle = dlopen(accanto.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    return m_handle != nullptr;
}

void LibreriaDinamica::Rilascia()
{
    if (m_handle != nullptr) {
        dlclose(m_handle);
        m_handle = nullptr;
    }
}

void* LibreriaDinamica::Simbolo(const char* nome) const
{
    return m_handle != nullptr && nome != nullptr ? dlsym(m_handle, nome) : nullptr;
}
