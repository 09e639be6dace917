#include "support/MacchinaEsempio.h"

#include <clocale>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "core/Numerico.h"

std::string CartellaTemporanea(const std::string& nomeTest)
{
    const std::filesystem::path cartella = std::filesystem::temp_directory_path() / ("korvane-test-" + nomeTest + "-" + std::to_string(::getpid()));
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

double Percorso(const CSezione& s, std::int32_t PASSO_TRAIETTORIA::*campo, const PARAMETRI_ASSE& a)
{
    double corsa = 0;
    for (int i = 0; i < s.ArrayPassi.GetSize(); ++i)
        corsa += VelocitaDaMemorizzata(s.ArrayPassi[i].*campo, a.StepPerUnita, a.StepSPerLSB) * s.LimitiEParametri.PassoTemporale;
    return corsa;
}
