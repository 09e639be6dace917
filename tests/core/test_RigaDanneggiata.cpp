#include <gtest/gtest.h>

#include <sstream>
#include <type_traits>
#include <string>
#include <vector>

#include "core/ParametriFileDat.h"
#include "core/PuntoTraiettoria.h"
#include "junctions/Raccordo.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"
#include "trajectories/CurvaDenti.h"

namespace {

std::string Unisci(const std::vector<std::string>& righe, const std::string& fine)
{
    std::string t;
    for (size_t i = 0; i < righe.size(); ++i)
        t += righe[i] + (i + 1 < righe.size() ? "\n" : fine);
    return t;
}

// Every value of a text made different: a 7 goes in front of it (after any sign).
std::string Cambiato(const std::string& t)
{
    std::vector<std::string> r = RigheDelTesto(t);
    for (std::string& riga : r)
        if (const size_t p = riga.find("= "); p != std::string::npos && riga.rfind("Versione", 0) != 0)
            riga.insert(p + 2 + (riga[p + 2] == '-' || riga[p + 2] == '+'), "7");
    return Unisci(r, t.back() == '\n' ? "\n" : "");
}

// Each labelled line of a block deleted, misspelt and emptied, with Unix and Windows line ends: the
// reading gives 0, the line's member keeps its value and every other member is read. The members
// are compared through the writer, line by line.
template <class T, class Scrivi, class Leggi, class Prima>
void OgniRigaDanneggiata(T scritto, Scrivi scrivi, Leggi leggi, Prima comePrima)
{
    const std::string testo = scrivi(scritto), fine = testo.back() == '\n' ? "\n" : "";
    T prima = scritto;
    ASSERT_EQ(leggi(Cambiato(testo), prima), 1) << testo;
    comePrima(prima);
    const std::vector<std::string> righe = RigheDelTesto(testo), righePrima = RigheDelTesto(scrivi(prima));
    for (size_t i = 0; i < righe.size(); ++i) {
        const std::string& r = righe[i];
        // Version lines choose the layout; count and point lines carry no label.
        if (r.empty() || r.rfind("Versione", 0) == 0 || std::string("0123456789+-").find(r[0]) != std::string::npos)
            continue;
        const size_t uguale = r.find("= "), ultimo = r.find_last_not_of(" =", uguale);
        std::vector<std::string> guasti = {"", r.substr(0, ultimo) + "~" + r.substr(ultimo + 1)};
        // An empty name takes the next line as the name: that is how these files read.
        if (uguale != std::string::npos && r.rfind("Nome", 0) != 0)
            guasti.push_back(r.substr(0, uguale + 2));
        std::vector<std::string> attese = righe;
        attese[i] = righePrima[i];
        for (const std::string& guasto : guasti)
            for (const bool crlf : {false, true}) {
                std::vector<std::string> d = righe;
                guasto.empty() ? void(d.erase(d.begin() + static_cast<long>(i))) : void(d[i] = guasto);
                const std::string t = crlf ? ConCRLF(Unisci(d, fine)) : Unisci(d, fine);
                T letto = prima;
                const int risultato = leggi(t, letto);
                // A junction's result leaves out its point blocks, whose last line may still meet
                // the junction's next label.
                EXPECT_TRUE(risultato == 0 || (std::is_same_v<T, CRaccordo> && (r[0] == 'd' || r[0] == 'i'))) << t;
                EXPECT_EQ(RigheDelTesto(scrivi(letto)), attese) << t;
            }
    }
}

template <class T>
int LeggiTesto(const std::string& t, T& o)
{
    return LeggiBlocco(t, o).risultato;
}

const auto NIENTE = [](auto&) {};

}  // namespace

TEST(RigaDanneggiata, CostaSoloIlSuoValore)
{
    OgniRigaDanneggiata(PUNTO_TRAIETTORIA(), Scritto<PUNTO_TRAIETTORIA>, LeggiTesto<PUNTO_TRAIETTORIA>, NIENTE);
    OgniRigaDanneggiata(PASSO_TRAIETTORIA(), Scritto<PASSO_TRAIETTORIA>, LeggiTesto<PASSO_TRAIETTORIA>, NIENTE);

    const std::string dir = CartellaTemporanea("riga-danneggiata");
    CString ini = StringaDaUtf8(dir + "m.ini"), crv = StringaDaUtf8(dir + "c.crv");
    OgniRigaDanneggiata(
        MacchinaEsempio(), [&](CLimitiEParametri& m) { return m.ScriviSuFile(ini, 0), LeggiFile(dir + "m.ini"); },
        [&](const std::string& t, CLimitiEParametri& m) { return ScriviFile(dir + "m.ini", t), m.LeggiDaFile(ini, 0); },
        NIENTE);

    // Two sub-images; a sub-image line that does not read leaves its element as the count sized it.
    CParametriFileDat dat;
    for (int k = 0; k < 9; ++k)
        Array(dat, k)->Add(3);
    OgniRigaDanneggiata(dat, Scritto<CParametriFileDat>, LeggiTesto<CParametriFileDat>, [&](CParametriFileDat& d) {
        for (int k = 0; k < 9; ++k)
            (*Array(d, k))[0] = (*Array(d, k))[1] = 0;
    });

    CRaccordo raccordo(MacchinaEsempio());
    raccordo.Nome = L"Acceleration";
    raccordo.UsaTempoMinimo = raccordo.IgnoraPuntoInizia = raccordo.IgnoraPuntoFinale = 1;
    OgniRigaDanneggiata(raccordo, Scritto<CRaccordo>, LeggiTesto<CRaccordo>, NIENTE);

    CCurvaDenti curva(MacchinaEsempio());
    curva.ArrayCurvaDenti.Add(CPunto2DKorvane(-1, 2));
    curva.ArrayCurvaDenti.Add(CPunto2DKorvane(0, 2.5));
    OgniRigaDanneggiata(
        curva, [&](CCurvaDenti& c) { return c.SalvaCurva(&crv), LeggiFile(dir + "c.crv"); },
        [&](const std::string& t, CCurvaDenti& c) { return ScriviFile(dir + "c.crv", t), c.CaricaCurva(&crv); },
        NIENTE);
}
