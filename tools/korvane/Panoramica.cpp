// korvane pan: one panoramic exam, computed by the trajectory class the design application uses,
// written as its steps, the axis states they integrate to and the per-point geometry.

#include <algorithm>
#include <cstdio>

#include "Comandi.h"
#include "Riepilogo.h"
#include "examples/EsamePanoramico.h"
#include "platform/Locale.h"

namespace {

struct OpzioniPanoramica {
    OpzioniComuni comuni;
    float tempo = 0, ingrandimento = 0;
    int tipo = 2;
    bool asimmetrica = false, dueAssi = false, inversa = false;
};

// Type 1 is tuned by the derivative of the distortion angle, which grows steeply where the arch turns
// along the molars, so a few points cannot carry it: the type-2 geometry's own derivative is given at
// every point, and type 1 images the same layer.
bool InTipoDerivata(CTraiettoria& t)
{
    if (!t.CalcolaTraiettoriaPanoramica())
        return false;
    t.PuntiTuning.RemoveAll();
    for (int i = 0; i < t.GraficoDerivata.GetSize(); ++i)
        t.PuntiTuning.Add(CPunto2DKorvane(i, t.GraficoDerivata[i]));
    t.TipoRicostruzione = 1;
    return true;
}

std::string GeometriaCsv(const CTraiettoria& t)
{
    LocaleC guardia;
    std::string testo = "i,x_mm,y_mm,r_deg,d_deg,rho_mm,cmr_x_mm,cmr_y_mm,magnification\n";
    char riga[4096];  // eight doubles at their widest, 317 characters each
    const ArrayPunti2D& p = t.CurvaDenti.ArrayCurvaDenti;
    for (int i = 0; i < t.GraficoRotaz.GetSize(); ++i) {
        const int n = std::snprintf(riga, sizeof riga, "%d,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f\n", i, p[i].X, p[i].Y,
                                    t.GraficoRotaz[i], t.GraficoDistors[i], t.GraficoRProiez[i], t.PosCMR[i].X,
                                    t.PosCMR[i].Y, t.GraficoIngrY[i]);
        testo.append(riga, static_cast<size_t>(std::clamp(n, 0, static_cast<int>(sizeof riga) - 1)));
    }
    return testo;
}

int Esegui(const OpzioniPanoramica& o)
{
    CLimitiEParametri m;
    std::string testa;
    if (const int esito = PreparaMacchinaETesta(o.comuni, m, testa); esito != ESITO_OK)
        return esito;
    CTraiettoria t = EsamePanoramicoAdulto(m);
    t.TempoScansiones = o.tempo;
    t.Ingrandimento = o.ingrandimento;
    t.TraietSimmetrica = o.asimmetrica ? 0 : 1;
    t.Is2Assi = o.dueAssi ? 1 : 0;
    t.InvScaricamento = o.inversa ? 1 : 0;
    double stat[RIEPILOGO_VALORI] = {};
    if (!t.GetErrorString().empty() || (o.tipo == 1 && !InTipoDerivata(t)) || !t.CalcolaTraiettoriaPanoramica() ||
        !t.DiscretizzaTraiettoriaPanoramica(stat))
        return Rifiuto(t.GetErrorString(), "the library refused the exam");
    // A range or collision message leaves the exam computed: it is written and shown, and the exit code says so.
    const CString avviso = t.GetErrorString();
    const std::string anticollisione = VerdettoTesta(o.comuni, t, CSezione::ANTICOLLISIONE_PAN, testa);

    const std::vector<PUNTO_TRAIETTORIA> stati = StatiDiSezione(t, m);
    const std::vector<std::string> scritti =
        ScriviUscite(o.comuni.uscita, {{"steps.csv", [&](FILE* f) { return t.ScriviSuFileCSV(f, nullptr, 1) != 0; }},
                                       {"axes.csv", TestoInFile(StatiCsv(stati, m.PassoTemporale))},
                                       {"geometry.csv", TestoInFile(GeometriaCsv(t))}});
    if (scritti.empty())
        return ESITO_USO;

    RiepilogoMoto r = RiassumiMoto(stati, m);
    r.anticollisione = anticollisione;
    const bool fisso = t.Is2Assi == 0;
    const double mMin = fisso ? t.Ingrandimento : t.IngrandimentoMinimo, mMax = fisso ? t.Ingrandimento : t.IngrandimentoMassimo;
    if (o.comuni.json) {
        nlohmann::json j = RiepilogoInJson(r);
        j["panoramic"] = {{"type", t.TipoRicostruzione},
                          {"symmetric", t.TraietSimmetrica != 0},
                          {"two_axis", t.Is2Assi != 0},
                          {"reverse", t.InvScaricamento != 0},
                          {"scan_time_s", t.TempoScansiones},
                          {"points", t.GraficoRotaz.GetSize()},
                          {"magnification", {mMin, mMax}},
                          {"summary",
                           {{"max_vx_mm_s", stat[RIEPILOGO_VEL_X_MAX]}, {"max_vy_mm_s", stat[RIEPILOGO_VEL_Y_MAX]},
                            {"arm_speed_deg_s", stat[RIEPILOGO_OMEGA]}, {"max_ax_mm_s2", stat[RIEPILOGO_ACC_X_MAX]},
                            {"max_ay_mm_s2", stat[RIEPILOGO_ACC_Y_MAX]}, {"x_max_mm", stat[RIEPILOGO_X_MAX]},
                            {"x_min_mm", stat[RIEPILOGO_X_MIN]}, {"y_max_mm", stat[RIEPILOGO_Y_MAX]},
                            {"y_min_mm", stat[RIEPILOGO_Y_MIN]}, {"r_max_deg", stat[RIEPILOGO_R_MAX]},
                            {"r_min_deg", stat[RIEPILOGO_R_MIN]}, {"max_vc_mm_s", stat[RIEPILOGO_VEL_C_MAX]}}},
                          {"message", StringaAUtf8(avviso)}};
        j["files"] = scritti;
        StampaJson(j);
    } else {
        StampaRiepilogo(r, stdout);
        std::printf("panoramic: type %d, %s, %s, %s, %d points, scan time %.3f s, magnification %.4f to %.4f\n",
                    t.TipoRicostruzione, t.TraietSimmetrica ? "symmetric" : "both sides", t.Is2Assi ? "two axes" : "one axis",
                    t.InvScaricamento ? "reverse" : "forward", t.GraficoRotaz.GetSize(),
                    static_cast<double>(t.TempoScansiones), mMin, mMax);
        std::printf("summary: |vX| %.3f, |vY| %.3f mm/s, arm %.4f deg/s, |aX| %.3f, |aY| %.3f mm/s2\n",
                    PerTabella(stat[RIEPILOGO_VEL_X_MAX]), PerTabella(stat[RIEPILOGO_VEL_Y_MAX]), PerTabella(stat[RIEPILOGO_OMEGA]),
                    PerTabella(stat[RIEPILOGO_ACC_X_MAX]), PerTabella(stat[RIEPILOGO_ACC_Y_MAX]));
        std::printf("targets: X %.3f .. %.3f mm, Y %.3f .. %.3f mm, R %.3f .. %.3f deg, C %.3f mm/s at most\n",
                    PerTabella(stat[RIEPILOGO_X_MIN]), PerTabella(stat[RIEPILOGO_X_MAX]), PerTabella(stat[RIEPILOGO_Y_MIN]), PerTabella(stat[RIEPILOGO_Y_MAX]),
                    PerTabella(stat[RIEPILOGO_R_MIN]), PerTabella(stat[RIEPILOGO_R_MAX]), PerTabella(stat[RIEPILOGO_VEL_C_MAX]));
        std::printf("written: %s, %s, %s\n", scritti[0].c_str(), scritti[1].c_str(), scritti[2].c_str());
    }
    return EsitoConAvviso(avviso);
}

}  // namespace

void AggiungiComandoPanoramica(CLI::App& app, int& esito)
{
    // The options live as long as the parsed command line; they start at the example exam's values.
    static OpzioniPanoramica o;
    const CTraiettoria esempio = EsamePanoramicoAdulto(CLimitiEParametri());
    o.tempo = esempio.TempoScansiones;
    o.ingrandimento = esempio.Ingrandimento;
    CLI::App* sub = app.add_subcommand(
        "pan", "compute a panoramic exam (default: the example adult exam) and write its steps, axis states and "
               "per-point geometry (exit 1 also on a range, speed or collision message)");
    AggiungiOpzioniComuni(*sub, o.comuni, "out/pan");
    sub->add_option("--time", o.tempo, "scan time, s")->check(ValoreDi("TempoScansiones"))->capture_default_str();
    sub->add_option("--magnification", o.ingrandimento, "magnification at the arch (one-axis variant)")
        ->check(ValoreDi("Ingrandimento"))
        ->capture_default_str();
    sub->add_option("--type", o.tipo, "reconstruction type: 1 tunes the distortion's derivative, 2 the projection radius")
        ->check(ValoreDi("TipoRicostruzione"))
        ->capture_default_str();
    sub->add_flag("--asymmetric", o.asimmetrica, "compute both sides of the midline instead of mirroring one");
    sub->add_flag("--two-axis", o.dueAssi, "keep the rotation centre on X = 0");
    sub->add_flag("--reverse", o.inversa, "run the scan the other way: the arm turns in the opposite direction");
    sub->callback([&esito] { esito = Esegui(o); });
}
