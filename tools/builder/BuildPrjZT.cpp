#include <algorithm>
#include <cstring>
#include <exception>
#include <string>
#include <type_traits>

#include "LetturaProiezione.h"
#include "path/Conversione.h"
#include "platform/File.h"

extern "C" __attribute__((visibility("default"))) int DLL_BUILD_PRJ_Convert(int argc, char** argv, char* errore,
                                                                            int dimensioneErrore);
static_assert(std::is_same_v<decltype(&DLL_BUILD_PRJ_Convert), PFN_DLL_BUILD_PRJ_Convert>);

namespace {

// The reason goes into the caller's buffer cut to its size, always terminated.
int Fallimento(char* errore, int dimensione, const std::string& motivo)
{
    if (errore != nullptr && dimensione > 0) {
        const std::size_t n = std::min(motivo.size(), static_cast<std::size_t>(dimensione) - 1);
        std::memcpy(errore, motivo.data(), n);
        errore[n] = '\0';
    }
    return 1;
}

bool LeggiFile(const char* nome, std::string& testo, std::string& motivo)
{
    FilePtr f(std::fopen(nome, "rb"));
    if (!f) {
        motivo = "cannot open the input file";
        return false;
    }
    char blocco[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(blocco, 1, sizeof blocco, f.get())) > 0) {
        if (testo.size() + n > DIMENSIONE_MASSIMA_INGRESSO) {
            motivo = "the input file is larger than any projection file";
            return false;
        }
        testo.append(blocco, n);
    }
    if (std::ferror(f.get())) {
        motivo = "cannot read the input file";
        return false;
    }
    return true;
}

}  // namespace

int DLL_BUILD_PRJ_Convert(int argc, char** argv, char* errore, int dimensioneErrore)
{
    // Nothing may cross the C boundary, not even a failed allocation.
    try {
        if (argc < 3 || argv == nullptr || argv[1] == nullptr || argv[2] == nullptr)
            return Fallimento(errore, dimensioneErrore, "expected an input and an output file name");
        std::string testo, motivo;
        PROIEZIONE_LETTA p;
        if (!LeggiFile(argv[1], testo, motivo) || !LeggiProiezione(testo, p, motivo))
            return Fallimento(errore, dimensioneErrore, motivo);
        const std::vector<std::uint8_t> immagine = ComponiImmagine(p);
        FileSostitutivo uscita{std::string(argv[2])};
        if (uscita.Flusso() == nullptr || !uscita.Scrivi(immagine.data(), immagine.size()) || !uscita.Rinomina())
            return Fallimento(errore, dimensioneErrore, "cannot write the output file: " + uscita.Errore());
        return 0;
    } catch (const std::exception& e) {
        return Fallimento(errore, dimensioneErrore, e.what());
    }
}
