// A host that knows the library only through its installed package (found by CMake, or by hand with
// only the prefix's include/ and lib/): a CB3D scan through the flat functions, fetched as the
// unit's step buffer.
#include <korvane/korvane.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    CLimitiEParametri macchina;
    if (argc < 2 || !macchina.LeggiDaFile(StringaDaUtf8(argv[1]), 0))
        return 2;
    DLL_KORVANE_SetLimitiEParametri(&macchina);
    int dimBuffer = 0, numPunti = 0;
    if (!DLL_KORVANE_UsaTestaDiDefault() ||
        !DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(ParamTrjCB3D(), dimBuffer, numPunti))
        return 1;
    std::vector<unsigned char> buffer(static_cast<size_t>(dimBuffer));
    std::vector<PUNTO_TRAIETTORIA> punti(static_cast<size_t>(numPunti));
    if (!DLL_KORVANE_GetTraiettoria(buffer.data(), punti.data(), dimBuffer, numPunti))
        return 1;
    std::printf("host: %d-byte buffer, %d axis states\n", dimBuffer, numPunti);
    return dimBuffer == DIMENSIONE_BUFFER_PASSI ? 0 : 1;
}
