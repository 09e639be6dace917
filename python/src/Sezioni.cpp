#include <vector>

#include "Conversioni.h"

namespace {
using Modo = CSezione::TIPO_CONTROLLO_ANTICOLLISIONE;

// A section's computations keep their message in the section: it is read, not consumed, so the
// section stays as the C++ host would see it.
int EsitoSezione(int esito, const CSezione& s)
{
    return EsitoOMessaggio(esito, s.StringaErrore);
}

template <int N>
py::tuple ConStatistiche(int esito, const CSezione& s, const double (&statistiche)[N], int quante)
{
    EsitoSezione(esito, s);
    py::array_t<double> r(quante);
    for (int i = 0; i < quante; ++i)
        r.mutable_at(i) = statistiche[i];
    return py::make_tuple(esito, r);
}

// Stands in for the pointers the rotation discretiser takes, and owns what they point to.
struct IngressoDiscretizzazione {
    float tempo = 0.0f;
    float ingrandimento = 0.0f;
    int verso = 1;
    int offsetKV = 0;
    ArrayPunti2D punti, posCMR;
    ArrayDouble arrayR, graficoKV, graficoShift;
};
}  // namespace

void LegaSezioni(py::module_& m)
{
    py::class_<CSezione> sezione(m, "CSezione", "One piece of a path: a trajectory or a junction.");
    py::enum_<Modo>(sezione, "TIPO_CONTROLLO_ANTICOLLISIONE")
        .value("ANTICOLLISIONE_NESSUNA", CSezione::ANTICOLLISIONE_NESSUNA)
        .value("ANTICOLLISIONE_PAN", CSezione::ANTICOLLISIONE_PAN)
        .value("ANTICOLLISIONE_3D", CSezione::ANTICOLLISIONE_3D)
        .export_values();
    sezione
        .def_property(
            "ArrayPassi", [](const CSezione& s) { return ArrayDaPassi(s.ArrayPassi); },
            [](CSezione& s, const py::array& a) { s.ArrayPassi = PassiDaArray(a); },
            "the steps, a structured array with the fields iX, iY, iR, iC, iKV, imA, iH")
        .def_readwrite("PuntoIniziale", &CSezione::PuntoIniziale)
        .def_readwrite("PuntoFinale", &CSezione::PuntoFinale)
        .def_readwrite("Nome", &CSezione::Nome)
        .def_readwrite("ErroreCalcolo", &CSezione::ErroreCalcolo)
        .def_readwrite("LimitiEParametri", &CSezione::LimitiEParametri)
        .def_readwrite("StringaErrore", &CSezione::StringaErrore)
        .def_readwrite("IngrandimentoMinimo", &CSezione::IngrandimentoMinimo)
        .def_readwrite("IngrandimentoMassimo", &CSezione::IngrandimentoMassimo)
        .def("CalcolaArrayVelocita", &CSezione::CalcolaArrayVelocita, py::arg("modo"),
             "Computes the steps; ErroreCalcolo and StringaErrore tell how it went.")
        .def("GetErrorString", &CSezione::GetErrorString, "The first error, taken out of the section.")
        .def("CancellaTutto", &CSezione::CancellaTutto)
        .def("CalcolaLunghezzaPx", &CSezione::CalcolaLunghezzaPx)
        .def("IsHInUso", &CSezione::IsHInUso)
        .def(
            "ControlloAntiCollisione",
            [](const CSezione& s, Modo modo) {
                CString err;
                const int esito = s.ControlloAntiCollisione(err, modo);
                return py::make_tuple(esito, err);
            },
            py::arg("modo"), "(1 no collision or 0, the message); a collision alone carries no message.")
        .def_static(
            "SetArrayTestona",
            [](const py::object& punti) {
                ArrayPunti2D p;
                PuntiDaArray(p, punti);
                CString err;
                return EsitoOMessaggio(CSezione::SetArrayTestona(&p, err), err);
            },
            py::arg("punti"))
        .def_static(
            "LeggiTestonaDaFile",
            [](const py::object& nome) {
                const CString n = NomeFile(nome);
                RichiediFile(n);
                CString err;
                return EsitoOMessaggio(CSezione::LeggiTestonaDaFile(n, err), err);
            },
            py::arg("percorso"))
        .def_static("UsaTestonaDiDefault",
                    [] {
                        CString err;
                        return EsitoOMessaggio(CSezione::UsaTestonaDiDefault(err), err);
                    })
        .def_static("GetProfiloTestaNumPunti", &CSezione::GetProfiloTestaNumPunti)
        .def_static(
            "GetProfiloTestaPunto",
            [](int i) {
                ControllaIndice(i, CSezione::GetProfiloTestaNumPunti(), "head outline");
                return CSezione::GetProfiloTestaPunto(i);
            },
            py::arg("i"))
        .def_static(
            "ProfiloTestaContiene",
            [](int x, int y) {
                const CRgn* r = CSezione::GetProfiloTestaRegion();
                return r != nullptr && r->PtInRegion(x, y) != 0;
            },
            py::arg("x"), py::arg("y"), "Whether the head region holds the integer point (x, y), mm.");

    py::class_<CTraiettoria, CSezione> traiettoria(m, "CTraiettoria", "The section during which the unit acquires an image.");
    traiettoria.attr("CURVA_NON_CALCOLATA") = static_cast<int>(CTraiettoria::CURVA_NON_CALCOLATA);
    traiettoria.attr("CURVA_PANORAMICA") = static_cast<int>(CTraiettoria::CURVA_PANORAMICA);
    traiettoria.attr("CURVA_CIRCOLARE") = static_cast<int>(CTraiettoria::CURVA_CIRCOLARE);
    traiettoria.attr("CURVA_LINEARE") = static_cast<int>(CTraiettoria::CURVA_LINEARE);
    traiettoria.attr("CURVA_DA_CSV") = static_cast<int>(CTraiettoria::CURVA_DA_CSV);
    traiettoria.attr("CURVA_CEFALOMETRICA") = static_cast<int>(CTraiettoria::CURVA_CEFALOMETRICA);
    traiettoria.def(py::init<>())
        .def(py::init<CLimitiEParametri>(), py::arg("limiti"))
        .def(py::init<const CTraiettoria&>(), py::arg("altra"))
        .def("__eq__", [](const CTraiettoria& a, const CTraiettoria& b) { return a == b ? true : false; }, py::is_operator())
        .def("__copy__", [](const CTraiettoria& a) { return CTraiettoria(a); })
        .def("__deepcopy__", [](const CTraiettoria& a, py::dict) { return CTraiettoria(a); })
        .def_readwrite("CurvaDenti", &CTraiettoria::CurvaDenti)
#define SCALARE(tipo, nome, predefinito) .def_readwrite(#nome, &CTraiettoria::nome)
        KORVANE_TRAIETTORIA_PARAMETRI_A(SCALARE) KORVANE_TRAIETTORIA_PARAMETRI_B(SCALARE)
#undef SCALARE
#define ARRAY(nome)                                                                           \
    .def_property(                                                                            \
        #nome, [](const CTraiettoria& t) { return ArrayDaDouble(t.nome); },                   \
        [](CTraiettoria& t, const py::object& a) { DoubleDaArray(t.nome, a); })
        KORVANE_TRAIETTORIA_ARRAY_DOUBLE(ARRAY)
#undef ARRAY
#define ARRAY(nome)                                                                                    \
    .def_property(                                                                                     \
        #nome, [](const CTraiettoria& t) { return ArrayDaPunti(t.nome); },                             \
        [](CTraiettoria& t, const py::object& a) { PuntiDaArray(t.nome, a); }, "n x 2 array of (x, y)")
        KORVANE_TRAIETTORIA_ARRAY_PUNTI(ARRAY)
#undef ARRAY
        .def("CalcolaTraiettoriaPanoramica",
             [](CTraiettoria& t) { return EsitoSezione(t.CalcolaTraiettoriaPanoramica(), t); })
        .def("DiscretizzaTraiettoriaPanoramica",
             [](CTraiettoria& t) {
                 double s[RIEPILOGO_VALORI] = {};
                 return ConStatistiche(t.DiscretizzaTraiettoriaPanoramica(s), t, s, RIEPILOGO_VALORI);
             }, "(1 or 0, the 12-value summary)")
        .def("CalcolaTraiettoriaCircolare",
             [](CTraiettoria& t) {
                 double s[9] = {};
                 return ConStatistiche(t.CalcolaTraiettoriaCircolare(s), t, s, 9);
             }, "(1 or 0, the nine statistics)")
        .def("CalcolaTraiettoriaCefalometrica",
             [](CTraiettoria& t) {
                 double s[18] = {};
                 return ConStatistiche(t.CalcolaTraiettoriaCefalometrica(s), t, s, 18);
             }, "(1 or 0, the 18 statistics)")
        // The linear kind writes at most the discretiser's summary; the room is generous on purpose.
        .def("CalcolaTraiettoriaLineare",
             [](CTraiettoria& t) {
                 double s[64] = {};
                 return ConStatistiche(t.CalcolaTraiettoriaLineare(s), t, s, RIEPILOGO_VALORI);
             }, "(1 or 0, the summary)")
        .def(
            "DiscretizzaPerRotazione",
            [](CTraiettoria& t, float tempo, std::optional<float> ingrandimento, int verso, int offsetKV,
               const py::object& punti, const py::object& arrayR, const py::object& graficoKV,
               std::optional<py::object> graficoShift, const py::object& posCMR) {
                IngressoDiscretizzazione in;
                in.tempo = tempo;
                in.verso = verso;
                in.offsetKV = offsetKV;
                PuntiDaArray(in.punti, punti);
                PuntiDaArray(in.posCMR, posCMR);
                DoubleDaArray(in.arrayR, arrayR);
                DoubleDaArray(in.graficoKV, graficoKV);
                ParametriDiscretizzazione p;
                p.pTraiettoria = &t;
                p.pTempoScansione = &in.tempo;
                if (ingrandimento) {
                    in.ingrandimento = *ingrandimento;
                    p.pIngrandimento = &in.ingrandimento;
                }
                p.pVersoPositivo = &in.verso;
                p.pOffsetGraficoKV = &in.offsetKV;
                p.pPuntiCurva = &in.punti;
                p.pArrayR = &in.arrayR;
                p.pGraficoKV = &in.graficoKV;
                if (graficoShift) {
                    DoubleDaArray(in.graficoShift, *graficoShift);
                    p.pGraficoShift = &in.graficoShift;
                }
                p.pPosCMR = &in.posCMR;
                double s[RIEPILOGO_VALORI] = {};
                return ConStatistiche(t.DiscretizzaPerRotazione(&p, s), t, s, RIEPILOGO_VALORI);
            },
            py::arg("tempo"), py::arg("ingrandimento"), py::arg("verso"), py::arg("offsetKV"), py::arg("punti"),
            py::arg("arrayR"), py::arg("graficoKV"), py::arg("graficoShift"), py::arg("posCMR"),
            "The shared rotation discretiser; None for ingrandimento or graficoShift stands for the null pointer.");

    py::class_<CRaccordo, CSezione> raccordo(m, "CRaccordo", "A junction between two axis states.");
    raccordo.attr("RACCORDO_LINEARE") = static_cast<int>(CRaccordo::RACCORDO_LINEARE);
    raccordo.attr("RACCORDO_ARMONICO") = static_cast<int>(CRaccordo::RACCORDO_ARMONICO);
    raccordo.def(py::init<>())
        .def(py::init<const CLimitiEParametri&>(), py::arg("limiti"))
        .def(py::init<const CRaccordo&>(), py::arg("altro"))
        .def("__eq__", [](const CRaccordo& a, const CRaccordo& b) { return a == b ? true : false; }, py::is_operator())
        .def("__copy__", [](const CRaccordo& a) { return CRaccordo(a); })
        .def("__deepcopy__", [](const CRaccordo& a, py::dict) { return CRaccordo(a); })
#define CAMPO(nome) .def_readwrite(#nome, &CRaccordo::nome)
        CAMPO(TempoRaccordos) CAMPO(MaxAccPercento) CAMPO(UsaTempoMinimo) CAMPO(IgnoraPuntoInizia)
            CAMPO(IgnoraPuntoFinale) CAMPO(TipoRaccordo) CAMPO(GestioneRaggi)
#undef CAMPO
        .def_static("CaricaDLLRaccordiArmoniciMorvik", &CRaccordo::CaricaDLLRaccordiArmoniciMorvik)
        .def_static("DeinizializzaDLLRaccordiArmoniciMorvik", &CRaccordo::DeinizializzaDLLRaccordiArmoniciMorvik)
        .def_static("SetUsaDLLZTPerCalcoloRaccordi", &CRaccordo::SetUsaDLLZTPerCalcoloRaccordi, py::arg("usaLinkata"))
        .def_static("GetUsaDLLZTPerCalcoloRaccordi", &CRaccordo::GetUsaDLLZTPerCalcoloRaccordi)
        .def_static("IsDLLMorvikCaricata", &CRaccordo::IsDLLMorvikCaricata)
        .def_static(
            "CaricaDLLRaccordiArmoniciDaFile",
            [](const py::object& nome) { return CRaccordo::CaricaDLLRaccordiArmoniciDaFile(NomeFile(nome)); },
            py::arg("nome"));

    m.def(
        "IntegraPassi",
        [](const PUNTO_TRAIETTORIA& inizio, const py::array& passi, const CLimitiEParametri& limiti) {
            const ArrayPassiTraiettoria p = PassiDaArray(passi);
            std::vector<PUNTO_TRAIETTORIA> stati(1, inizio);
            stati.reserve(static_cast<size_t>(p.GetSize()) + 1);
            for (const PASSO_TRAIETTORIA& passo : p) {
                PUNTO_TRAIETTORIA s = stati.back();
                AvanzaDiUnPasso(s, passo, limiti);
                stati.push_back(s);
            }
            return ArrayDaStati(stati.data(), stati.size());
        },
        py::arg("inizio"), py::arg("passi"), py::arg("limiti"),
        "The axis states the steps lead to from `inizio`, one more than the steps, as the unit integrates them.");
    m.def("VelocitaDaMemorizzata", py::vectorize(VelocitaDaMemorizzata), py::arg("memorizzata"),
          py::arg("stepPerUnita"), py::arg("stepSPerLsb"), "Velocity of stored (sign-magnitude) words.");
}
