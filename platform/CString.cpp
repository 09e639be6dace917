#include "platform/CString.h"

#include <cwctype>

std::string StringaA8Bit(const CString& testo)
{
    std::string byte;
    byte.reserve(testo.size());
    for (wchar_t c : testo)
        byte.push_back(static_cast<char>(static_cast<unsigned char>(static_cast<unsigned>(c) & 0xFFu)));
    return byte;
}

CString StringaDa8Bit(const std::string& byte)
{
    CString testo;
    testo.reserve(byte.size());
    for (char c : byte)
        testo.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return testo;
}

std::string StringaAUtf8(const CString& testo)
{
    std::string utf8;
    utf8.reserve(testo.size());
    for (wchar_t wc : testo) {
        auto c = static_cast<unsigned long>(static_cast<unsigned>(wc));
        if (c > 0x10FFFFul || (c >= 0xD800ul && c <= 0xDFFFul))
            c = 0xFFFDul;
        if (c < 0x80ul) {
            utf8.push_back(static_cast<char>(c));
        } else if (c < 0x800ul) {
            utf8.push_back(static_cast<char>(0xC0ul | (c >> 6)));
            utf8.push_back(static_cast<char>(0x80ul | (c & 0x3Ful)));
        } else if (c < 0x10000ul) {
            utf8.push_back(static_cast<char>(0xE0ul | (c >> 12)));
            utf8.push_back(static_cast<char>(0x80ul | ((c >> 6) & 0x3Ful)));
            utf8.push_back(static_cast<char>(0x80ul | (c & 0x3Ful)));
        } else {
            utf8.push_back(static_cast<char>(0xF0ul | (c >> 18)));
            utf8.push_back(static_cast<char>(0x80ul | ((c >> 12) & 0x3Ful)));
            utf8.push_back(static_cast<char>(0x80ul | ((c >> 6) & 0x3Ful)));
            utf8.push_back(static_cast<char>(0x80ul | (c & 0x3Ful)));
        }
    }
    return utf8;
}

CString StringaDaUtf8(const std::string& utf8)
{
    CString testo;
    size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int segue = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (segue < 0 || i + static_cast<size_t>(segue) >= utf8.size()) {
            // A stray or cut byte is taken as Latin-1 rather than lost.
            testo.push_back(static_cast<wchar_t>(b));
            ++i;
            continue;
        }
        unsigned long c = segue == 0 ? b : segue == 1 ? (b & 0x1Fu) : segue == 2 ? (b & 0x0Fu) : (b & 0x07u);
        bool valido = true;
        for (int k = 1; k <= segue; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
            if ((cont & 0xC0u) != 0x80u) {
                valido = false;
                break;
            }
            c = (c << 6) | (cont & 0x3Fu);
        }
        if (!valido) {
            testo.push_back(static_cast<wchar_t>(b));
            ++i;
            continue;
        }
        testo.push_back(static_cast<wchar_t>(c));
        i += static_cast<size_t>(segue) + 1;
    }
    return testo;
}

bool FinisceCon(const CString& testo, const CString& fine)
{
    return testo.size() >= fine.size() && testo.compare(testo.size() - fine.size(), fine.size(), fine) == 0;
}

bool FinisceConNoCase(const CString& testo, const CString& fine)
{
    if (testo.size() < fine.size())
        return false;
    const size_t inizio = testo.size() - fine.size();
    for (size_t i = 0; i < fine.size(); ++i)
        if (std::towlower(static_cast<wint_t>(testo[inizio + i])) != std::towlower(static_cast<wint_t>(fine[i])))
            return false;
    return true;
}

static size_t UltimoSeparatore(const CString& nome)
{
    return nome.find_last_of(L"\\/");
}

CString InserisciPrimaDellUltimoPunto(const CString& nome, const CString& aggiunta)
{
    const size_t sep = UltimoSeparatore(nome);
    const size_t punto = nome.rfind(L'.');
    if (punto == CString::npos || (sep != CString::npos && punto < sep))
        return nome + aggiunta;
    return nome.substr(0, punto) + aggiunta + nome.substr(punto);
}

CString ParteDirectory(const CString& nome)
{
    const size_t sep = UltimoSeparatore(nome);
    return sep == CString::npos ? CString() : nome.substr(0, sep + 1);
}

CString ParteNomeFile(const CString& nome)
{
    const size_t sep = UltimoSeparatore(nome);
    return sep == CString::npos ? nome : nome.substr(sep + 1);
}
