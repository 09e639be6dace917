#include <filesystem>

#include "examples/MacchinaEsempio.h"
#include "examples/ProgettiEsempio.h"
#include "fuzz/Supporto.h"
#include "path/Percorso.h"
#include "platform/Prompt.h"

// The whole cycle a designer's project goes through, as the command line runs it: loaded with the
// example machine and the built-in head, completed (arch, continuity) and, when it loaded clean and
// saves, saved, loaded and saved again. The second load must be clean and the two saves the same
// bytes: a project that went through our hands once never changes on the next pass.
namespace {

std::string Byte(const std::string& nome)
{
    std::string t;
    FILE* f = std::fopen(nome.c_str(), "rb");
    if (f == nullptr)
        return t;
    char b[4096];
    for (size_t n; (n = std::fread(b, 1, sizeof b, f)) > 0;)
        t.append(b, n);
    std::fclose(f);
    return t;
}

// Loads as the command line does; false when the load found damage.
bool Carica(CPercorso& p, const CString& nome)
{
    static const CLimitiEParametri macchina = MacchinaEsempio();
    p.SetLimitiEParametri(&macchina, 1);
    p.CaricaFile(nome, 1, 1);
    const bool pulito = p.GetRigheDanneggiate().empty();
    CompletaProgettoCaricato(p);
    return pulito;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    static const bool preparato = [] {
        ImpostaGestoreInformazioni([](const CString&) {});
        ImpostaGestoreDomande([](const CString&, int) { return 0; });
        CString testa;
        CSezione::UsaTestonaDiDefault(testa);
        return true;
    }();
    (void)preparato;
    static const std::string cartella = [] {
        const std::string c = (access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/") + std::string("korvane-ciclo-") +
                              std::to_string(getpid()) + "/";
        std::filesystem::create_directories(c);
        return c;
    }();
    CPercorso p;
    if (!Carica(p, FileTemporaneo(dati, n, ".trg")))
        return 0;
    const std::string salvato = cartella + "a.trg";
    if (p.SalvaFile(StringaDaUtf8(salvato), 0, 0) != 1 || !p.GetErrorString().empty())
        return 0;
    const std::string prima = Byte(salvato);
    CPercorso q;
    if (!Carica(q, StringaDaUtf8(salvato)))
        __builtin_trap();
    if (q.SalvaFile(StringaDaUtf8(salvato), 0, 0) != 1 || Byte(salvato) != prima)
        __builtin_trap();
    return 0;
}
