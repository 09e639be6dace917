// korvane: computes, inspects and checks the unit's motion from the command line, through the
// same flat functions and classes the unit's host software and the design application use.
//
// Exit codes: 0 success; 1 the library refused or reported a limit (its message on standard error),
// a project that is damaged, does not compute or is busy; 2 bad usage, an unreadable input or an
// output that could not be written.

#include <CLI/CLI.hpp>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>

#include "Comandi.h"

namespace {
const CLI::Range PERCENTUALE(0, 100);
}  // namespace

int main(int argc, char** argv)
{
    // A file-size limit then fails the write, which is reported, instead of killing us mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
    CLI::App app{"korvane: motion of the dental X-ray unit's axes"};
    int esito = ESITO_OK;
    app.require_subcommand(1);
    app.set_version_flag("--version", "korvane 0.1.0");

    OpzioniCB3D cb3d;
    CLI::App* sub = app.add_subcommand("cb3d", "compute a cone-beam 3D scan and write its step buffer and axis states");
    AggiungiOpzioniComuni(*sub, cb3d.comuni, "out/cb3d");
    sub->add_option("--time", cb3d.tempo, "scan time, s")->check(FINITO)->capture_default_str();
    sub->add_option("--radius", cb3d.raggio, "radius of the circle run by the rotation centre, mm")
        ->check(FINITO)
        ->capture_default_str();
    sub->add_option("--xc", cb3d.xCentro, "X of the circle's centre, mm")->check(FINITO)->capture_default_str();
    sub->add_option("--yc", cb3d.yCentro, "Y of the circle's centre, mm")->check(FINITO)->capture_default_str();
    sub->add_flag("--linear-junctions", cb3d.raccordiLineari,
                  "ramp to and from rest with linear junctions instead of harmonic ones");
    sub->add_option("--max-acc", cb3d.maxAcc, "share of each axis' acceleration the junctions may use, %")
        ->check(FINITO & CLI::Range(0.0, 100.0))
        ->capture_default_str();
    sub->add_option("--ma-front", cb3d.mAFrontali, "tube current with the arm at 90 degrees, %")
        ->check(PERCENTUALE)
        ->capture_default_str();
    sub->add_option("--ma-lat", cb3d.mALaterali, "tube current with the arm at 0 degrees, %")
        ->check(PERCENTUALE)
        ->capture_default_str();
    sub->add_option("--projection", cb3d.tipoProiezione, "projection type written into the buffer")
        ->check(CLI::Range(0, 65535))
        ->capture_default_str();
    sub->add_flag("--reverse", cb3d.negativo, "run the scan the other way: the arm turns in the negative direction");
    sub->add_option("--exit", cb3d.uscita, "exit position X,Y,R,H written into the buffer")
        ->delimiter(',')
        ->expected(4)
        ->check(FINITO)
        ->capture_default_str();
    sub->callback([&] { esito = EseguiCB3D(cb3d); });

    OpzioniMovimento mov;
    sub = app.add_subcommand("move", "compute a point-to-point movement (one harmonic junction)");
    AggiungiOpzioniComuni(*sub, mov.comuni, "out/move");
    sub->add_option("--from", mov.da, "start state X,Y,R,H[,vX,vY,vR,vH]")
        ->required()
        ->delimiter(',')
        ->expected(4, 8)
        ->check(FINITO);
    sub->add_option("--to", mov.a, "end state X,Y,R,H[,vX,vY,vR,vH]")
        ->required()
        ->delimiter(',')
        ->expected(4, 8)
        ->check(FINITO);
    sub->add_option("--time", mov.tempo, "duration, s (0: the shortest the machine allows)")
        ->check(FINITO)
        ->capture_default_str();
    sub->add_option("--max-acc", mov.maxAcc, "share of each axis' acceleration the movement may use, %")
        ->check(FINITO & CLI::Range(0.0, 100.0))
        ->capture_default_str();
    sub->callback([&] { esito = EseguiMovimento(mov); });

    AggiungiComandoCefalometrica(app, esito);
    AggiungiComandoPanoramica(app, esito);
    AggiungiComandoLineare(app, esito);
    AggiungiComandoDat(app, esito);
    AggiungiComandoEsame(app, esito);
    AggiungiComandoStudio(app, esito);

    OpzioniIspeziona isp;
    sub = app.add_subcommand("inspect", "decode a step buffer or a projection file's binary image: header, sub-images, steps, scout, CRC and the motion");
    sub->add_option("buffer", isp.buffer, "the step buffer (37293 bytes), the projection image (_i.dat, .bin) or a project (.trg)")->required();
    sub->add_option("--machine", isp.macchina, "machine file the words are read against (default: the example unit)");
    sub->add_flag("--json", isp.json, "print the result as JSON");
    sub->callback([&] { esito = EseguiIspeziona(isp); });

    OpzioniMacchina mac;
    sub = app.add_subcommand("machine", "read, check and print a machine file, or write the example one");
    sub->add_option("file", mac.file, "machine file to read");
    sub->add_option("--example", mac.esempio, "write the example machine file here");
    sub->add_flag("--json", mac.json, "print the machine as JSON");
    sub->callback([&] {
        if (mac.file.empty() == mac.esempio.empty())
            throw CLI::ValidationError("machine", "give either a FILE to read or --example OUT");
        esito = EseguiMacchina(mac);
    });

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int codice = app.exit(e);
        return codice == 0 ? 0 : ESITO_USO;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvane: %s\n", e.what());
        return ESITO_USO;
    }
    // A summary that never reached its reader is a failed write like any other.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "korvane: cannot write the output: %s\n", std::strerror(errno));
        return esito == ESITO_OK ? ESITO_USO : esito;
    }
    return esito;
}
