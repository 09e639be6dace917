#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/ParametriFileDat.h"
#include "core/PuntoTraiettoria.h"
#include "junctions/Raccordo.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"
#include "trajectories/CurvaDenti.h"

namespace {

std::vector<std::string> Righe(const std::string& t)
{
    std::vector<std::string> r;
    std::istringstream in(t);
    for (std::string riga; std::getline(in, riga);)
        r.push_back(riga);
    return r;
}

std::string Unisci(const std::vector<std::string>& righe, const std::string& fine)
{
    std::string t;
    for (size_t i = 0; i < righe.size(); ++i)
        t += righe[i] + (i + 1 < righe.size() ? "\n" : fine);
    return t;
}

// Every value of a text made different: a 7 goes in front of its digits (after any sign).
std::string Cambiato(const std::string& t)
{
    std::vector<std::string> r = Righe(t);
    for (std::string& riga : r) {
        size_t p = riga.find("= ");
        if (p != std::string::npos && riga.rfind("Versione", 0) != 0)
            riga.insert(p + 2 + (riga[p + 2] == '-' || riga[p + 2] == '+'), "7");
    }
    return Unisci(r, t.back() == '\n' ? "\n" : "");
}

// Writes an object as text and reads a text into an object.
template <class T>
struct Blocco {
    const char* nome;
    T scritto;
    std::function<std::string(T&)> scrivi;
    std::function<int(const std::string&, T&)> leggi;
    std::function<void(T&)> comePrimaDellaLettura = [](T&) {};
};

// Each labelled line deleted, misspelt and emptied, with Unix and Windows line ends: the reading
// gives 0, the line's member keeps its value and every other member is read.
template <class T>
void OgniRigaDanneggiata(Blocco<T> b)
{
    const std::string testo = b.scrivi(b.scritto);
    const std::string fine = testo.back() == '\n' ? "\n" : "";
    T prima = b.scritto;
    ASSERT_EQ(b.leggi(Cambiato(testo), prima), 1) << b.nome;
    b.comePrimaDellaLettura(prima);
    const std::vector<std::string> righe = Righe(testo), righePrima = Righe(b.scrivi(prima));
    ASSERT_EQ(righe.size(), righePrima.size()) << b.nome;
    for (size_t i = 0; i < righe.size(); ++i) {
        const std::string& riga = righe[i];
        // Version lines choose the layout, and count and point lines carry no label.
        if (riga.find_first_not_of(" ") == std::string::npos || riga.rfind("Versione", 0) == 0 ||
            std::string("0123456789+-").find(riga[0]) != std::string::npos)
            continue;
        const size_t uguale = riga.find("= ");
        const size_t ultimo = riga.find_last_not_of(" =", uguale == std::string::npos ? std::string::npos : uguale);
        std::vector<std::string> guasti = {"", riga.substr(0, ultimo) + "~" + riga.substr(ultimo + 1)};
        // An empty name takes the next line as the name: that is how these files read.
        if (uguale != std::string::npos && riga.rfind("Nome", 0) != 0)
            guasti.push_back(riga.substr(0, uguale + 2));
        // Inside a junction the point blocks' outcome is not the junction's (a damaged last line of
        // the start point may still meet the junction's next label).
        const bool contaNelRisultato = std::string("di").find(riga[0]) == std::string::npos ||
                                       std::string(b.nome) != "junction";
        std::vector<std::string> attese = righe;
        attese[i] = righePrima[i];
        for (const std::string& guasto : guasti)
            for (const bool crlf : {false, true}) {
                std::vector<std::string> r = righe;
                if (guasto.empty())
                    r.erase(r.begin() + static_cast<long>(i));
                else
                    r[i] = guasto;
                const std::string t = crlf ? ConCRLF(Unisci(r, fine)) : Unisci(r, fine);
                T letto = prima;
                const int risultato = b.leggi(t, letto);
                if (contaNelRisultato) {
                    EXPECT_EQ(risultato, 0) << b.nome << ": " << t;
                }
                EXPECT_EQ(Righe(b.scrivi(letto)), attese) << b.nome << ": " << t;
            }
    }
}

template <class T>
int LeggiTesto(const std::string& t, T& o)
{
    return LeggiBlocco(t, o).risultato;
}

// Two sub-images whose nine values are all v.
void Margini(CParametriFileDat& d, int v)
{
    for (ArrayInt* a : {&d.LRImgNote, &d.PxMarginsTop, &d.PxMarginsBottom, &d.PxMarginsRight, &d.PxMarginsLeft,
                        &d.PxMarginsTopC, &d.PxMarginsBottomC, &d.PxMarginsRightC, &d.PxMarginsLeftC}) {
        a->RemoveAll();
        a->Add(v);
        a->Add(v);
    }
}

}  // namespace

TEST(RigaDanneggiata, CostaSoloIlSuoValore)
{
    PUNTO_TRAIETTORIA punto;
    punto.dPosX = 1.5, punto.dPosY = -2, punto.dPosR = 190, punto.dPosH = 3.25;
    punto.dVelX = 4, punto.dVelY = -0.5, punto.dVelR = 36, punto.dVelH = 0.125, punto.iKV = 80, punto.imA = -7;
    OgniRigaDanneggiata<PUNTO_TRAIETTORIA>({"point", punto, Scritto<PUNTO_TRAIETTORIA>, LeggiTesto<PUNTO_TRAIETTORIA>});

    PASSO_TRAIETTORIA passo;
    passo.iX = 1, passo.iY = 32773, passo.iR = 3, passo.iC = 1000, passo.iKV = 80, passo.imA = 100, passo.iH = 7;
    OgniRigaDanneggiata<PASSO_TRAIETTORIA>({"step", passo, Scritto<PASSO_TRAIETTORIA>, LeggiTesto<PASSO_TRAIETTORIA>});

    const std::string dir = CartellaTemporanea("riga-danneggiata");
    const CString ini = StringaDaUtf8(dir + "m.ini"), crv = StringaDaUtf8(dir + "c.crv");
    OgniRigaDanneggiata<CLimitiEParametri>(
        {"machine", MacchinaEsempio(),
         [&](CLimitiEParametri& m) { return m.ScriviSuFile(ini, 0) ? LeggiFile(dir + "m.ini") : ""; },
         [&](const std::string& t, CLimitiEParametri& m) { return ScriviFile(dir + "m.ini", t), m.LeggiDaFile(ini, 0); }});

    CParametriFileDat dat;
    Margini(dat, 3);
    // A sub-image line that does not read leaves its element as the count sized it: 0.
    OgniRigaDanneggiata<CParametriFileDat>({"exam settings", dat, Scritto<CParametriFileDat>,
                                            LeggiTesto<CParametriFileDat>, [](CParametriFileDat& d) { Margini(d, 0); }});

    CRaccordo raccordo(MacchinaEsempio());
    raccordo.TipoRaccordo = 1, raccordo.Nome = L"Acceleration", raccordo.UsaTempoMinimo = 1;
    raccordo.TempoRaccordos = 1.5, raccordo.MaxAccPercento = 80, raccordo.GestioneRaggi = 2;
    raccordo.IgnoraPuntoInizia = raccordo.IgnoraPuntoFinale = 1;
    raccordo.PuntoIniziale = raccordo.PuntoFinale = punto;
    raccordo.PuntoFinale.dPosX = 9;
    OgniRigaDanneggiata<CRaccordo>({"junction", raccordo, Scritto<CRaccordo>, LeggiTesto<CRaccordo>});

    CCurvaDenti curva(MacchinaEsempio());
    curva.ArrayCurvaDenti.Add(CPunto2DKorvane(-1, 2));
    curva.ArrayCurvaDenti.Add(CPunto2DKorvane(0, 2.5));
    OgniRigaDanneggiata<CCurvaDenti>(
        {".crv", curva, [&](CCurvaDenti& c) { return c.SalvaCurva(const_cast<CString*>(&crv)) ? LeggiFile(dir + "c.crv") : ""; },
         [&](const std::string& t, CCurvaDenti& c) {
             return ScriviFile(dir + "c.crv", t), c.CaricaCurva(const_cast<CString*>(&crv));
         }});
}
