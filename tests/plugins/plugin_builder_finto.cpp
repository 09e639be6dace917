// A stand-in projection builder: an input beginning "errore" fails with the rest of its first line as
// the text; any other input gives an output file naming what the builder was handed.
#include <cstdio>
#include <cstring>

#include "path/Conversione.h"

extern "C" __attribute__((visibility("default"))) int DLL_BUILD_PRJ_Convert(int argc, char** argv, char* errore,
                                                                            int dimensione)
{
    char riga[256] = {};
    FILE* f = std::fopen(argv[1], "rb");
    if (f != nullptr && std::fgets(riga, sizeof riga, f) == nullptr)
        riga[0] = '\0';
    if (f != nullptr)
        std::fclose(f);
    if (std::strncmp(riga, "errore", 6) == 0)
        return std::snprintf(errore, static_cast<std::size_t>(dimensione), "%s", riga + 6 + (riga[6] == ' ')) >= 0;
    if ((f = std::fopen(argv[2], "wb")) == nullptr)
        return 1;
    std::fprintf(f, "%d|%s|%s|%s", argc, argv[0], argv[1], argv[2]);
    std::fclose(f);
    return 0;
}
