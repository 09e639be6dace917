// A host that knows the library only through its installed package.
#include <korvane/korvane.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    CLimitiEParametri macchina;
    if (!macchina.LeggiDaFile(StringaDaUtf8(argv[1]), 0)) {
        std::fprintf(stderr, "host: cannot read %s\n", argv[1]);
        return 1;
    }
    double in[7] = {0.0, 0.0, 0.0, 10.0, 0.0, 100.0, 0.02};
    double out[10] = {};
    Harmonic_3Link_mode(in, out, 7, 10);
    std::printf("host: machine '%s', dt %g s, harmonic minimum time %.6f s\n", StringaA8Bit(macchina.NomeMacchina).c_str(),
                macchina.PassoTemporale, out[0]);
    return out[0] > 0 ? 0 : 1;
}
