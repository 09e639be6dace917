#include "support/MacchinaEsempio.h"

#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/Numerico.h"
#include "sections/Sezione.h"

namespace {

// Scratch folders carry the process id, since several checkouts may run their suites on one machine
// at once; they are removed when the test program ends.
struct CartelleDelProcesso {
    std::vector<std::filesystem::path> cartelle;
    ~CartelleDelProcesso()
    {
        std::error_code ec;
        for (const auto& c : cartelle)
            std::filesystem::remove_all(c, ec);
    }
};

}  // namespace

std::string CartellaTemporanea(const std::string& nomeTest)
{
    static CartelleDelProcesso create;
    const std::filesystem::path cartella = std::filesystem::temp_directory_path() /
                                           ("kt" + std::to_string(getpid()) + "-" + nomeTest);
    std::error_code ec;
    std::filesystem::remove_all(cartella, ec);
    std::filesystem::create_directories(cartella, ec);
    create.cartelle.push_back(cartella);
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
    for (size_t k = 0; k < 7; ++k)
        s.*PAROLE_PASSO[k] = parole[k];
    return s;
}
