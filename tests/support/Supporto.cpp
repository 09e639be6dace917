#include "support/MacchinaEsempio.h"

#include <clocale>
#include <filesystem>

#include "sections/Sezione.h"

std::string CartellaTemporanea(const std::string& nomeTest)
{
    const std::filesystem::path cartella = std::filesystem::temp_directory_path() / ("korvane-test-" + nomeTest);
    std::error_code ec;
    std::filesystem::remove_all(cartella, ec);
    std::filesystem::create_directories(cartella, ec);
    return cartella.string() + "/";
}

bool ImpostaLocaleConVirgola()
{
    for (const char* c : {"de_DE.UTF-8", "it_IT.UTF-8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_ALL, c) != nullptr)
            return true;
    return false;
}

bool NessunProvvisorio(const std::string& cartella)
{
    for (const auto& e : std::filesystem::directory_iterator(cartella))
        if (e.path().filename().string().rfind(".korvane-", 0) == 0)
            return false;
    return true;
}

bool TestaDiDefaultPronta()
{
    CString err;
    return CSezione::UsaTestonaDiDefault(err) == 1 && err.empty();
}

PUNTO_TRAIETTORIA PuntoProva(double x, double y, double r, double h, int kv, int ma)
{
    PUNTO_TRAIETTORIA p;
    p.dPosX = x;
    p.dPosY = y;
    p.dPosR = r;
    p.dPosH = h;
    p.iKV = kv;
    p.imA = ma;
    return p;
}

PASSO_TRAIETTORIA PassoProva(const std::array<int, 7>& parole)
{
    PASSO_TRAIETTORIA s;
    std::int32_t* campi[] = {&s.iX, &s.iY, &s.iR, &s.iC, &s.iKV, &s.imA, &s.iH};
    for (size_t k = 0; k < 7; ++k)
        *campi[k] = parole[k];
    return s;
}
