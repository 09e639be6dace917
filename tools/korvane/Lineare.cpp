// korvane linear: one linear scan, computed by the trajectory class the design application uses,
// checked against the head outline and written as its steps and the axis states they integrate to.

#include <cstdio>

#include "Comandi.h"
#include "Riepilogo.h"
#include "examples/EsameLineare.h"

namespace {

struct OpzioniLineare {
    OpzioniComuni comuni;
    float tempo = 0, lunghezza = 0, xCentro = 0, yCentro = 0, inclinazione = 0, raggio = 0, ingrandimento = 0,
          disortogonalita = 0;
    int kv = 0;
    // Direction choices are flags, off by default: each turns the example exam's choice around.
    bool altroLatoSensore = false, altroIncrocio = false, inverso = false, dueAssi = false;
};

int Esegui(const OpzioniLineare& o)
{
    CLimitiEParametri m;
    std::string testa;
    if (const int esito = PreparaMacchinaETesta(o.comuni, m, testa); esito != ESITO_OK)
        return esito;
    CTraiettoria t = EsameLineare(m);
    t.TempoScansionesLin = o.tempo;
    t.LunghezzaRettamm = o.lunghezza;
    t.XCentroRettamm = o.xCentro;
    t.YCentroRettamm = o.yCentro;
    t.InclRettadeg = o.inclinazione;
    t.RProiezionemm = o.raggio;
    t.IngrandimentoLin = o.ingrandimento;
    t.Disortogonalitdeg = o.disortogonalita;
    t.KVaRegimeLin = o.kv;
    if (o.altroLatoSensore)
        t.InvSensore = t.InvSensore != 0 ? 0 : 1;
    if (o.altroIncrocio)
        t.InvRotazione = t.InvRotazione != 0 ? 0 : 1;
    if (o.inverso)
        t.InvScaricamentoLin = t.InvScaricamentoLin != 0 ? 0 : 1;
    t.Is2Assi = o.dueAssi ? 1 : 0;
    double stat[RIEPILOGO_VALORI];
    if (!t.CalcolaTraiettoriaLineare(stat))
        return Rifiuto(t.GetErrorString(), "the library refused the scan");
    // A limit or collision message leaves the scan computed: it is written and shown, and the exit
    // code says so.
    const CString avviso = t.GetErrorString();
    const std::string anticollisione = VerdettoTesta(o.comuni, t, CSezione::ANTICOLLISIONE_PAN, testa);

    const std::vector<PUNTO_TRAIETTORIA> stati = StatiDiSezione(t, m);
    const std::vector<std::string> scritti =
        ScriviUscite(o.comuni.uscita, {{"steps.csv", [&](FILE* f) { return t.ScriviSuFileCSV(f, nullptr, 0) != 0; }},
                                       {"axes.csv", TestoInFile(StatiCsv(stati, m.PassoTemporale))}});
    if (scritti.empty())
        return ESITO_USO;

    RiepilogoMoto r = RiassumiMoto(stati, m);
    r.anticollisione = anticollisione;
    if (o.comuni.json) {
        nlohmann::json j = RiepilogoInJson(r);
        j["linear"] = {{"variant", t.Is2Assi ? "two-axis" : "general"},
                       {"arm_speed_deg_s", stat[RIEPILOGO_OMEGA]},
                       {"target_speed_max_mm_s", {stat[RIEPILOGO_VEL_X_MAX], stat[RIEPILOGO_VEL_Y_MAX]}},
                       {"target_acceleration_max_mm_s2", {stat[RIEPILOGO_ACC_X_MAX], stat[RIEPILOGO_ACC_Y_MAX]}},
                       {"x_target_range_mm", {stat[RIEPILOGO_X_MIN], stat[RIEPILOGO_X_MAX]}},
                       {"y_target_range_mm", {stat[RIEPILOGO_Y_MIN], stat[RIEPILOGO_Y_MAX]}},
                       {"r_range_deg", {stat[RIEPILOGO_R_MIN], stat[RIEPILOGO_R_MAX]}},
                       {"c_speed_max_mm_s", stat[RIEPILOGO_VEL_C_MAX]},
                       {"message", StringaAUtf8(avviso)}};
        j["files"] = scritti;
        StampaJson(j);
    } else {
        StampaRiepilogo(r, stdout);
        std::printf("linear (%s): arm %.4f deg/s over R %.3f .. %.3f deg; C up to %.3f mm/s\n",
                    t.Is2Assi ? "two-axis" : "general", PerTabella(stat[RIEPILOGO_OMEGA]), PerTabella(stat[RIEPILOGO_R_MIN]),
                    PerTabella(stat[RIEPILOGO_R_MAX]), PerTabella(stat[RIEPILOGO_VEL_C_MAX]));
        std::printf("centre targets: X %.3f .. %.3f mm, Y %.3f .. %.3f mm; speed up to %.3f, %.3f mm/s; "
                    "acceleration up to %.3f, %.3f mm/s2\n",
                    PerTabella(stat[RIEPILOGO_X_MIN]), PerTabella(stat[RIEPILOGO_X_MAX]), PerTabella(stat[RIEPILOGO_Y_MIN]), PerTabella(stat[RIEPILOGO_Y_MAX]),
                    PerTabella(stat[RIEPILOGO_VEL_X_MAX]), PerTabella(stat[RIEPILOGO_VEL_Y_MAX]), PerTabella(stat[RIEPILOGO_ACC_X_MAX]),
                    PerTabella(stat[RIEPILOGO_ACC_Y_MAX]));
        std::printf("written: %s, %s\n", scritti[0].c_str(), scritti[1].c_str());
    }
    return EsitoConAvviso(avviso);
}

}  // namespace

void AggiungiComandoLineare(CLI::App& app, int& esito)
{
    // The options live as long as the parsed command line; they start at the example exam's values.
    static OpzioniLineare o;
    const CTraiettoria e = EsameLineare(CLimitiEParametri());
    o.tempo = e.TempoScansionesLin, o.lunghezza = e.LunghezzaRettamm, o.xCentro = e.XCentroRettamm;
    o.yCentro = e.YCentroRettamm, o.inclinazione = e.InclRettadeg, o.raggio = e.RProiezionemm;
    o.ingrandimento = e.IngrandimentoLin, o.disortogonalita = e.Disortogonalitdeg, o.kv = e.KVaRegimeLin;
    CLI::App* sub = app.add_subcommand(
        "linear", "compute a linear scan, check it against the head and write its steps and axis states (exit 1 "
                  "also when a limit or the head check is not met)");
    AggiungiOpzioniComuni(*sub, o.comuni, "out/linear");
    sub->add_option("--time", o.tempo, "scan time, s")->check(ValoreDi("TempoScansionesLin"))->capture_default_str();
    sub->add_option("--length", o.lunghezza, "length of the imaged segment, mm")
        ->check(ValoreDi("LunghezzaRettamm"))
        ->capture_default_str();
    sub->add_option("--xc", o.xCentro, "X of the segment's centre, mm")->check(ValoreDi("XCentroRettamm"))->capture_default_str();
    sub->add_option("--yc", o.yCentro, "Y of the segment's centre, mm")->check(ValoreDi("YCentroRettamm"))->capture_default_str();
    sub->add_option("--incl", o.inclinazione, "inclination of the segment, degrees")
        ->check(ValoreDi("InclRettadeg"))
        ->capture_default_str();
    sub->add_option("--radius", o.raggio, "projection radius, mm")->check(ValoreDi("RProiezionemm"))->capture_default_str();
    sub->add_option("--magnification", o.ingrandimento, "magnification (general variant)")
        ->check(ValoreDi("IngrandimentoLin"))
        ->capture_default_str();
    sub->add_option("--skew", o.disortogonalita, "beam's deviation from the segment's normal, degrees")
        ->check(ValoreDi("Disortogonalitdeg"))
        ->capture_default_str();
    sub->add_option("--kv", o.kv, "tube voltage at steady state, %")->check(ValoreDi("KVaRegimeLin"))->capture_default_str();
    sub->add_flag("--other-sensor-side", o.altroLatoSensore, "put the sensor on the other side of the segment");
    sub->add_flag("--other-crossing", o.altroIncrocio, "two-axis variant: take the other crossing of each ray with X = 0");
    sub->add_flag("--reverse", o.inverso, "two-axis variant: run the scan the other way");
    sub->add_flag("--two-axis", o.dueAssi, "keep the rotation centre on X = 0");
    sub->callback([&esito] { esito = Esegui(o); });
}
