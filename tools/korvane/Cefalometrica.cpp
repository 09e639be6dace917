// korvane ceph: one cephalometric scan, computed by the trajectory class the design application
// uses, written as its steps and the axis states they integrate to.

#include <cstdio>
#include <filesystem>

#include "Comandi.h"
#include "Riepilogo.h"
#include "examples/EsameCefalometrico.h"

namespace fs = std::filesystem;

namespace {

struct OpzioniCefalometrica {
    std::string macchina;
    std::string uscita = "out/ceph";
    bool json = false;
    float tempo = 0, sid = 0, hDa = 0, hA = 0;
    int kv = 0;
    bool sinistro = false, senzaRampa = false, ingrLibero = false, dueAssi = false;
};

int Esegui(const OpzioniCefalometrica& o)
{
    CLimitiEParametri m;
    if (!CaricaMacchina(o.macchina, m))
        return ESITO_USO;
    CTraiettoria t = EsameCefalometrico(m);
    t.TempoScansionesCef = o.tempo;
    t.DistanzaSIDmm = o.sid;
    t.SpostamentoMenomm = o.hDa;
    t.SpostamentoPiumm = o.hA;
    t.KVaRegimeCef = o.kv;
    t.BraccioDestro = o.sinistro ? 0 : 1;
    t.CreaRampaSTF = o.senzaRampa ? 0 : 1;
    t.IsIngrCostante = o.ingrLibero ? 0 : 1;
    t.Is2Assi = o.dueAssi ? 1 : 0;
    double stat[18];
    if (!t.CalcolaTraiettoriaCefalometrica(stat))
        return Rifiuto(t.GetErrorString(), "the library refused the scan");
    // A range message leaves the scan computed: it is written and shown, and the exit code says so.
    const CString avviso = t.GetErrorString();

    const std::vector<PUNTO_TRAIETTORIA> stati = StatiDiSezione(t, m);
    const std::vector<std::string> scritti =
        ScriviUscite(o.uscita, {{"steps.csv", [&](FILE* f) { return t.ScriviSuFileCSV(f, nullptr, 1) != 0; }},
                                {"axes.csv", TestoInFile(StatiCsv(stati, m.PassoTemporale))}});
    if (scritti.empty())
        return ESITO_USO;
    const std::string& passi = scritti[0];
    const std::string& assi = scritti[1];

    RiepilogoMoto r = RiassumiMoto(stati, m);
    r.anticollisione = "none for this kind";
    const double hDa = t.PuntoIniziale.dPosH, hA = t.PuntoFinale.dPosH;
    if (o.json) {
        nlohmann::json j = RiepilogoInJson(r);
        j["cephalometric"] = {{"scan_time_s", t.TempoScansionesCef},
                              {"h_travel_mm", {hDa, hA}},
                              {"h_to_mm", t.SpostamentoPiumm},  // the --h-to end as the arm speed adapted it
                              {"arm_speed_deg_s", stat[2]},
                              {"magnification", {stat[16], stat[15]}},
                              {"magnification_mean", t.IngrandimentoCef},
                              {"message", StringaAUtf8(avviso)}};
        j["files"] = {passi, assi};
        StampaJson(j);
    } else {
        StampaRiepilogo(r, stdout);
        std::printf("cephalometric: scan time %.3f s, H %.3f to %.3f mm (%.3f mm), arm %.4f deg/s\n",
                    static_cast<double>(t.TempoScansionesCef), PerTabella(hDa), PerTabella(hA), PerTabella(hA - hDa), PerTabella(stat[2]));
        std::printf("magnification %.4f to %.4f, mean %.4f\n", PerTabella(stat[16]), PerTabella(stat[15]),
                    static_cast<double>(t.IngrandimentoCef));
        std::printf("written: %s, %s\n", passi.c_str(), assi.c_str());
    }
    return EsitoConAvviso(avviso);
}

}  // namespace

void AggiungiComandoCefalometrica(CLI::App& app, int& esito)
{
    // The options live as long as the parsed command line; they start at the example exam's values.
    static OpzioniCefalometrica o;
    const CTraiettoria esempio = EsameCefalometrico(CLimitiEParametri());
    o.tempo = esempio.TempoScansionesCef;
    o.sid = esempio.DistanzaSIDmm;
    o.hDa = esempio.SpostamentoMenomm;
    o.hA = esempio.SpostamentoPiumm;
    o.kv = esempio.KVaRegimeCef;
    CLI::App* sub = app.add_subcommand(
        "ceph", "compute a cephalometric scan and write its steps and axis states (exit 1 also when a position "
                "leaves the machine's range)");
    sub->add_option("--machine", o.macchina, "machine file (default: the installed example unit)");
    sub->add_option("--out", o.uscita, "folder the outputs are written into")->capture_default_str();
    sub->add_flag("--json", o.json, "print the summary as JSON");
    sub->add_option("--time", o.tempo, "scan time, s (rounded to whole steps)")
        ->check(ValoreDi("TempoScansionesCef"))
        ->capture_default_str();
    sub->add_option("--sid", o.sid, "source-image distance, mm")->check(ValoreDi("DistanzaSIDmm"))->capture_default_str();
    sub->add_option("--h-from", o.hDa, "sensor position on H at the start, mm")
        ->check(ValoreDi("SpostamentoMenomm"))
        ->capture_default_str();
    sub->add_option("--h-to", o.hA, "sensor position on H at the end, mm (adapted to the arm speed)")
        ->check(ValoreDi("SpostamentoPiumm"))
        ->capture_default_str();
    sub->add_option("--kv", o.kv, "tube voltage at steady state, %")->check(ValoreDi("KVaRegimeCef"))->capture_default_str();
    sub->add_flag("--left", o.sinistro, "use the left arm's H line");
    sub->add_flag("--no-ramp", o.senzaRampa, "no tube-setting ramp at the start");
    sub->add_flag("--free-magnification", o.ingrLibero, "keep the rotation centre at a fixed distance from the pivot");
    sub->add_flag("--two-axis", o.dueAssi, "keep the rotation centre on X = 0");
    sub->callback([&esito] { esito = Esegui(o); });
}
