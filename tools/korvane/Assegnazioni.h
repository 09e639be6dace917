#pragma once

#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "korvane.h"

// The members a person may change from the command line: for each, what it holds, the values the
// computations are meant for, its unit and the label of its line in the project file. `exam set`,
// the scan commands' options and any editor over the project take their checks from these tables.

// The longest scan time a member may hold, s: no exam lasts ten minutes; longer ones only grow the
// step arrays.
constexpr double TEMPO_SCANSIONE_MASSIMO = 600.0;

enum class GenereMembro { Intero, Bandiera, Reale, Doppio, Nome };

struct MembroModificabile {
    const char* nome = "";    // the interface name, as INDEX.MEMBER=VALUE names it
    GenereMembro genere = GenereMembro::Intero;
    double minimo = 0.0;      // numbers: the closed range [minimo, massimo] ...
    double massimo = 0.0;
    bool minimoEscluso = false;  // ... less an end that is excluded
    bool massimoEscluso = false;
    std::span<const int> valori;  // when not empty, the only values an Intero may take
    const char* unita = "";
    const char* etichetta = "";   // the project file's label of its line
    unsigned tipi = 0;            // trajectories: the kinds (bits 1 << TipoCurva) whose block stores it; 0 every kind
    std::int32_t CTraiettoria::*interoT = nullptr;
    float CTraiettoria::*realeT = nullptr;
    double CTraiettoria::*doppioT = nullptr;
    std::int32_t CRaccordo::*interoR = nullptr;
    double CRaccordo::*doppioR = nullptr;
};

std::span<const MembroModificabile> MembriTraiettoria();
std::span<const MembroModificabile> MembriRaccordo();
// Null when the table has no member of that name.
const MembroModificabile* TrovaMembro(std::span<const MembroModificabile> tabella, const std::string& nome);
// The members a section holds: a junction's (`tipo` < 0) or those a trajectory kind's block stores.
std::vector<const MembroModificabile*> MembriDellaSezione(int tipo);
// The member of such a section named `nome`, or whose project-file label it is (blanks around it and
// letter case aside); null when there is none.
const MembroModificabile* TrovaMembroDellaSezione(int tipo, const std::string& nome);
// The members of such a section whose name or label is nearest `nome` (at most three), for a message.
std::vector<const MembroModificabile*> MembriVicini(int tipo, const std::string& nome);
// What a member holds, for a listing: "int", "flag", "real", "name".
const char* NomeGenere(GenereMembro g);
// The values a member may hold, for a message: "0 or 1", "in (0, 600] s", "2, 3, 4 or 6", ...
std::string DescriviValori(const MembroModificabile& m);
// Why `testo` is no value for `m` ("" when it is one): it must convert whole to the member's type and
// lie in its range; a name must read back from the project file as it was given.
std::string MotivoRifiuto(const MembroModificabile& m, const std::string& testo);

// Copies of a path's sections, to change without touching the path.
struct CopieSezioni {
    explicit CopieSezioni(CPercorso& p);
    std::vector<CTraiettoria> traiettorie;
    std::vector<CRaccordo> raccordi;
};

// Assignments "INDEX.MEMBER=VALUE" applied to the copies: INDEX is the place in `ordine`, MEMBER a
// member's name or its label in the project file. False with the reason in `errore` at the first that
// is not an assignment, names no section or no member of that section (the nearest ones named), or
// whose value is refused (real values must also survive the project file's six decimals); the copies are
// then to be dropped. `cambiati` gets the places changed.
bool ApplicaAssegnazioni(const std::vector<std::string>& testi, const ArrayOrdine& ordine, CopieSezioni& copie,
                         std::set<int>& cambiati, std::string& errore);
