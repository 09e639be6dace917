#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "examples/MacchinaEsempio.h"
#include "examples/ProgettiEsempio.h"
#include "tools/korvane/Assegnazioni.h"

// The assignments of `korvane exam set`, one per line, against an example project (chosen by the
// first byte), applied to copies of its sections; every section changed is computed, so a value the
// member tables let through must never take a computation somewhere undefined.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    if (n == 0)
        return 0;
    static std::vector<std::unique_ptr<CPercorso>> progetti = [] {
        std::vector<std::unique_ptr<CPercorso>> v;
        const CLimitiEParametri m = MacchinaEsempio();
        for (const ProgettoEsempio& e : ProgettiEsempio()) {
            v.push_back(std::make_unique<CPercorso>());
            e.costruisci(*v.back(), m);
        }
        return v;
    }();
    CPercorso& p = *progetti[dati[0] % progetti.size()];
    std::vector<std::string> testi(1);
    for (std::size_t i = 1; i < n; ++i) {
        if (dati[i] == '\n')
            testi.emplace_back();
        else
            testi.back().push_back(static_cast<char>(dati[i]));
    }
    CopieSezioni copie(p);
    std::set<int> cambiati;
    std::string errore;
    if (!ApplicaAssegnazioni(testi, *p.GetpArrayOrdine(), copie, cambiati, errore))
        return 0;
    for (const int i : cambiati) {
        const auto k = static_cast<std::size_t>(p.ArrayOrdineGetPosSezione(i));
        if (p.ArrayOrdineGetTipoSezione(i) == SEZIONE_RACCORDO)
            copie.raccordi[k].CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
        else
            copie.traiettorie[k].CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
    }
    return 0;
}
