// The members a person may change, with their checks, and the machine's problems: the same tables
// and rules the command line uses, so Python never keeps a copy of its own.

#include <set>

#include "Assegnazioni.h"
#include "Conversioni.h"
#include "core/VerificaMacchina.h"
#include "examples/ProgettiEsempio.h"

namespace {

py::list DescriviTabella(const std::vector<const MembroModificabile*>& tabella)
{
    py::list r;
    for (const MembroModificabile* membro : tabella) {
        const MembroModificabile& m = *membro;
        py::dict d;
        d["nome"] = m.nome;
        d["genere"] = NomeGenere(m.genere);
        d["minimo"] = m.minimo;
        d["massimo"] = m.massimo;
        d["minimoEscluso"] = m.minimoEscluso;
        d["massimoEscluso"] = m.massimoEscluso;
        d["valori"] = std::vector<int>(m.valori.begin(), m.valori.end());
        d["unita"] = m.unita;
        d["etichetta"] = m.etichetta;
        d["descrizione"] = DescriviValori(m);
        r.append(d);
    }
    return r;
}

}  // namespace

void LegaMembri(py::module_& m)
{
    m.def("MembriDellaSezione", [](int tipo) { return DescriviTabella(MembriDellaSezione(tipo)); }, py::arg("tipo"),
          "The members one may set on a section: a junction's (tipo < 0) or those a trajectory kind's block "
          "stores (tipo its TipoCurva; 0 every member): dicts of nome, genere, range, valori, unita, etichetta "
          "(the project file's label) and descrizione of the values allowed.");
    m.def(
        "MembriVicini",
        [](int tipo, const std::string& nome) {
            std::vector<std::string> r;
            for (const MembroModificabile* v : MembriVicini(tipo, nome))
                r.emplace_back(v->nome);
            return r;
        },
        py::arg("tipo"), py::arg("nome"),
        "The names of at most three members of such a section nearest `nome` (by name or label), for a message.");
    m.def(
        "ApplicaAssegnazioni",
        [](CPercorso& p, const std::vector<std::string>& testi) {
            CopieSezioni copie(p);
            std::set<int> cambiati;
            std::string errore;
            if (!ApplicaAssegnazioni(testi, *p.GetpArrayOrdine(), copie, cambiati, errore))
                throw py::value_error(errore);
            return py::make_tuple(std::vector<int>(cambiati.begin(), cambiati.end()), copie.traiettorie,
                                  copie.raccordi);
        },
        py::arg("percorso"), py::arg("assegnazioni"),
        "Checks every \"INDEX.MEMBER=VALUE\" and applies them all to copies of the path's sections: "
        "(changed order places, trajectories, junctions). ValueError with the reason for the first one refused; "
        "the path itself is never touched.");
    m.def(
        "ProblemiMacchina",
        [](const CLimitiEParametri& macchina) {
            std::vector<std::string> r;
            for (const int id : ElencaProblemiMacchina(macchina, USO_TUTTO))
                r.push_back(StringaAUtf8(TestoMessaggio(id)));
            return r;
        },
        py::arg("macchina"), "The library's messages for every value of the record no computation can start from.");

    py::module_ esempi = m.attr("esempi").cast<py::module_>();
    esempi.def("TipiProgettoEsempio", [] {
        std::vector<std::string> r;
        for (const ProgettoEsempio& e : ProgettiEsempio())
            r.emplace_back(e.tipo);
        return r;
    });
    esempi.def(
        "CostruisciProgettoEsempio",
        [](const std::string& tipo, CPercorso& p, const CLimitiEParametri& macchina) {
            const ProgettoEsempio* e = TrovaProgettoEsempio(tipo);
            if (e == nullptr)
                throw py::value_error("no example exam of kind " + tipo);
            e->costruisci(p, macchina);
        },
        py::arg("tipo"), py::arg("percorso"), py::arg("macchina"),
        "Builds the example project `tipo` into the path, as `korvane exam new` does.");
}
