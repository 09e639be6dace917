#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>

#include "examples/ProgettiEsempio.h"
#include "path/Percorso.h"
#include "resources/Messaggi.h"
#include "support/DanniProgetto.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"

namespace fs = std::filesystem;
using namespace danni_progetto;

namespace {

// What a path holds, section by section, through the block writers: the lines a load can lose. A
// trajectory is written as the kind its file gave it, whether or not it computed.
std::vector<std::string> Contenuto(CPercorso& p, const std::vector<int>& tipi)
{
    std::string t;
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i)
        t += "tipo: " + std::to_string(p.ArrayOrdineGetTipoSezione(i)) + ", posizione: " +
             std::to_string(p.ArrayOrdineGetPosSezione(i)) + "\n";
    t += "LUT " + std::to_string(p.GetSalvaLUT()) + " output " + std::to_string(p.GetTipoOutput()) + "\n";
    t += Testo([&](FILE* f) { p.GetParametriFileDat().SalvaFileTRG(f); });
    for (int i = 0; i < p.ArrayTraiettorieGetSize(); ++i) {
        CTraiettoria copia(p.ArrayTraiettorieGetTraiettoria(i));
        if (static_cast<size_t>(i) < tipi.size())
            copia.TipoCurva = tipi[static_cast<size_t>(i)];
        t += Testo([&](FILE* f) { copia.SalvaFileTRG(f, CString(), 0); });
    }
    for (int i = 0; i < p.ArrayRaccordiGetSize(); ++i)
        t += Testo([&](FILE* f) { p.ArrayRaccordiGetRaccordo(i)->SalvaFileTRG(f); });
    return RigheDelTesto(t);
}

// The lines of `a` that `b` does not hold, as many times as they are missing.
std::vector<std::string> Mancanti(std::vector<std::string> a, std::vector<std::string> b)
{
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::vector<std::string> r;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(r));
    return r;
}

// Members a computation writes back (what the drive can run of what was asked): a lost value
// upstream of them changes them too.
bool Ricalcolato(const std::string& riga)
{
    for (const char* etichetta : {"Tempo Raccordo s  = ", "Tempo Scansione s = ", "Ampiezza arco deg = ",
                                  "R Cerchio XY mm   = ", "Spostamento + mm  = ", "Spostamento - mm  = "})
        if (riga.rfind(etichetta, 0) == 0)
            return true;
    return false;
}

// A line of the content that may differ when `danneggiata` was damaged: the line itself or its
// member's line, a member computed from it, or the count of the list it stood in.
bool Ammessa(const std::string& riga, const std::string& danneggiata)
{
    return riga == danneggiata || Ricalcolato(riga) || (Elemento(danneggiata) && Conteggio(riga)) ||
           (!Etichetta(riga).empty() && Etichetta(riga) == Etichetta(danneggiata));
}

struct Caricato {
    std::vector<std::string> contenuto;
    std::vector<CPercorso::RigaDanneggiata> danni;
    CString errore;
};

Caricato Carica(const std::string& file, const std::vector<int>& tipi)
{
    CString testa;
    CSezione::UsaTestonaDiDefault(testa);
    CPercorso p;
    const CLimitiEParametri m = MacchinaEsempio();
    p.SetLimitiEParametri(&m, 1);
    p.CaricaFile(StringaDaUtf8(file), 1, 1);
    return {Contenuto(p, tipi), p.GetRigheDanneggiate(), p.GetErrorString()};
}

}  // namespace

// Every line of every example project damaged six ways loses only that line's value (a lost point
// or order entry takes its list's count with it), names its damage and leaves message 165; a line
// ended by a lone carriage return is a line end like any other and costs nothing.
TEST(ProgettiDanneggiati, OgniRigaCostaSoloSeStessa)
{
    const std::string dir = CartellaTemporanea("progetti-danneggiati");
    for (const ProgettoEsempio& e : ProgettiEsempio()) {
        const std::string esempio = std::string(KORVANE_SOURCE_DIR "/examples/projects/") + e.tipo;
        const std::string file = dir + e.tipo + ".trg";
        fs::copy_file(esempio + "_MP.ini", dir + e.tipo + "_MP.ini", fs::copy_options::overwrite_existing);
        const std::string testo = LeggiFile(esempio + ".trg");
        const std::vector<std::string> righe = RigheDelTesto(testo);
        std::vector<int> tipi;
        for (const std::string& r : righe)
            if (r.rfind("Tipo Curva", 0) == 0)
                tipi.push_back(std::stoi(r.substr(r.find('=') + 1)));
        ScriviFile(file, testo);
        const Caricato pulito = Carica(file, tipi);
        ASSERT_TRUE(pulito.danni.empty()) << e.tipo;

        for (size_t i = 0; i < righe.size(); ++i) {
            const std::string& originale = righe[i];
            if (originale.empty())
                continue;
            const bool nome = originale.rfind("Nome ", 0) == 0;
            for (const Danno& d : DANNI) {
                const std::optional<std::string> guasta = d.riga(originale);
                if (!guasta)
                    continue;
                ScriviFile(file, ConRigaDanneggiata(righe, i, d, *guasta));
                const Caricato c = Carica(file, tipi);
                const std::string caso = std::string(e.tipo) + ":" + std::to_string(i + 1) + " " + d.nome + ": " +
                                         originale + " -> " + *guasta;
                // Free text: any name reads as a name.
                if (!(nome && (std::string(d.nome) == "garbled" || std::string(d.nome) == "empty"))) {
                    EXPECT_FALSE(c.danni.empty()) << caso;
                    EXPECT_EQ(c.errore, TestoMessaggio(165)) << caso;
                }
                const bool diStessaRiga =
                    std::any_of(c.danni.begin(), c.danni.end(), [&](const auto& r) { return r.riga == int(i) + 1; });
                // A line emptied or deleted is noted where the next line stands.
                if (!guasta->empty() && !nome) {
                    EXPECT_TRUE(diStessaRiga) << caso;
                }
                for (const std::string& persa : Mancanti(pulito.contenuto, c.contenuto))
                    EXPECT_TRUE(Ammessa(persa, originale)) << caso << ": lost " << persa;
                for (const std::string& nuova : Mancanti(c.contenuto, pulito.contenuto))
                    EXPECT_TRUE(Ammessa(nuova, originale)) << caso << ": new " << nuova;
            }
            // The line's own end as a lone carriage return.
            if (i + 1 < righe.size()) {
                std::string t;
                for (size_t k = 0; k < righe.size(); ++k)
                    t += righe[k] + (k + 1 == righe.size() ? "" : k == i ? "\r" : "\n");
                ScriviFile(file, t);
                const Caricato c = Carica(file, tipi);
                EXPECT_TRUE(c.danni.empty() && c.contenuto == pulito.contenuto) << e.tipo << ":" << i + 1 << " CR";
            }
        }
    }
}
