#include <pybind11/stl.h>

#include "Conversioni.h"

#define KORVANE_PARAMETRI_ASSE(X) \
    X(PhaseAccumulator) X(GiriMinPerLSB) X(StepSPerLSB) X(StepPerUnita) X(MaxVel) X(MaxAcc) X(PosMin) X(PosMax)
#define KORVANE_LIMITI_GENERALI(X)                                                                               \
    X(NomeMacchina) X(PassoTemporale) X(CentroMonoblocco) X(CentSensPan) X(CentSens3D) X(PosMorso) X(DimPixelPano) \
        X(InclinazHDx) X(XCentroHDx) X(YCentroHDx) X(InclinazHSx) X(XCentroHSx) X(YCentroHSx) X(DistanzaCVR)       \
            X(PosHOrtho)
#define KORVANE_DAT_SCALARI(X)                                                                                   \
    X(Group) X(Type) X(Version) X(TFCanUpdate) X(TMCanUpdate) X(YCanMove) X(CephPatientPos) X(PanKeybPos)         \
        X(CephArmPos) X(BiteBlockConf) X(ApsRangeMin) X(ApsRangeMax) X(YAxisCorrLen) X(YAxisCorrMin)             \
            X(YAxisCorrMax) X(YAxisOpenMouth) X(XAxisCorrFact) X(PrmCollimOffset1) X(PrmCollimOffset2)           \
                X(ScnCollimOffset) X(ScoutKV) X(ScoutMA) X(ScoutCollMin) X(ScoutCollMax) X(PosResetX) X(PosResetY) \
                    X(PosResetR) X(PosResetH) X(PosUscitaX) X(PosUscitaY) X(PosUscitaR) X(PosUscitaH)
#define KORVANE_DAT_ARRAY(X)                                                                                     \
    X(LRImgNote) X(PxMarginsTop) X(PxMarginsBottom) X(PxMarginsRight) X(PxMarginsLeft) X(PxMarginsTopC)          \
        X(PxMarginsBottomC) X(PxMarginsRightC) X(PxMarginsLeftC)
#define KORVANE_CURVA_SCALARI(X)                                                                                  \
    X(A0Denti) X(A2Denti) X(A4Denti) X(A6Denti) X(A0Mandibola) X(A2Mandibola) X(A4Mandibola) X(A6Mandibola)        \
        X(XFineDentimm) X(RRaccordo1mm) X(PendenzaRettadeg) X(RRaccordo2mm) X(XFinaleSxmm) X(XFinaleDxmm)          \
            X(PassoPuntimm)

namespace {
template <class C>
void Uguaglianza(py::class_<C>& c)
{
    c.def("__eq__", [](const C& a, const C& b) { return a == b ? true : false; }, py::is_operator());
    c.def("__copy__", [](const C& a) { return C(a); });
    c.def("__deepcopy__", [](const C& a, py::dict) { return C(a); });
}

py::array_t<std::int32_t> ArrayDaInt(const ArrayInt& a)
{
    py::array_t<std::int32_t> r(a.GetSize());
    for (int i = 0; i < a.GetSize(); ++i)
        r.mutable_at(i) = a[i];
    return r;
}

void IntDaArray(ArrayInt& d, const py::object& a)
{
    auto v = py::array_t<std::int64_t, py::array::c_style | py::array::forcecast>::ensure(a);
    if (!v || v.ndim() != 1)
        throw py::type_error("expected a 1-D array of integers");
    ArrayInt r;
    for (py::ssize_t i = 0; i < v.shape(0); ++i) {
        if (v.at(i) < INT32_MIN || v.at(i) > INT32_MAX)
            throw py::value_error("a value does not fit 32 bits");
        r.Add(static_cast<std::int32_t>(v.at(i)));
    }
    d = std::move(r);
}

// The machine file name the call will open: `nome`, with the fixed name appended when asked.
CString NomeMacchina(const py::object& nome, int aggiungi)
{
    CString n = NomeFile(nome);
    return aggiungi ? n + L"MachinesParameters.ini" : n;
}
}  // namespace

void LegaDati(py::module_& m)
{
    py::class_<PUNTO_TRAIETTORIA> punto(m, "PUNTO_TRAIETTORIA", "The state of the axes at one instant.");
    punto.def(py::init<>())
        .def(py::init([](double x, double y, double r, double h, double vx, double vy, double vr, double vh, int kv,
                         int ma) {
                 PUNTO_TRAIETTORIA p;
                 p.dPosX = x, p.dPosY = y, p.dPosR = r, p.dPosH = h;
                 p.dVelX = vx, p.dVelY = vy, p.dVelR = vr, p.dVelH = vh;
                 p.iKV = kv, p.imA = ma;
                 return p;
             }),
             py::arg("dPosX") = 0.0, py::arg("dPosY") = 0.0, py::arg("dPosR") = 0.0, py::arg("dPosH") = 0.0,
             py::arg("dVelX") = 0.0, py::arg("dVelY") = 0.0, py::arg("dVelR") = 0.0, py::arg("dVelH") = 0.0,
             py::arg("iKV") = 0, py::arg("imA") = 0)
#define CAMPO(nome) .def_readwrite(#nome, &PUNTO_TRAIETTORIA::nome)
        CAMPO(dPosX) CAMPO(dPosY) CAMPO(dPosR) CAMPO(dPosH) CAMPO(dVelX) CAMPO(dVelY) CAMPO(dVelR) CAMPO(dVelH)
            CAMPO(iKV) CAMPO(imA)
#undef CAMPO
        .def("__repr__", [](const PUNTO_TRAIETTORIA& p) {
            return py::str("PUNTO_TRAIETTORIA(dPosX={}, dPosY={}, dPosR={}, dPosH={}, iKV={}, imA={})")
                .format(p.dPosX, p.dPosY, p.dPosR, p.dPosH, p.iKV, p.imA);
        });
    Uguaglianza(punto);

    py::class_<PASSO_TRAIETTORIA> passo(m, "PASSO_TRAIETTORIA", "One time step: the velocity words and tube settings.");
    passo.def(py::init<>())
#define CAMPO(nome) .def_readwrite(#nome, &PASSO_TRAIETTORIA::nome)
        CAMPO(iX) CAMPO(iY) CAMPO(iR) CAMPO(iC) CAMPO(iKV) CAMPO(imA) CAMPO(iH);
#undef CAMPO
    Uguaglianza(passo);

    py::enum_<TIPO_SEZIONE>(m, "TIPO_SEZIONE")
        .value("SEZIONE_TRAIETTORIA", SEZIONE_TRAIETTORIA)
        .value("SEZIONE_RACCORDO", SEZIONE_RACCORDO)
        .export_values();
    py::class_<CElementoOrdine> ordine(m, "CElementoOrdine", "One entry of a path's running order.");
    ordine.def(py::init<TIPO_SEZIONE, std::int32_t>(), py::arg("tipo"), py::arg("posizione"))
        .def_readwrite("tipo", &CElementoOrdine::tipo)
        .def_readwrite("posizione", &CElementoOrdine::posizione)
        .def("__repr__", [](const CElementoOrdine& e) {
            return py::str("CElementoOrdine({}, {})").format(static_cast<int>(e.tipo), e.posizione);
        });
    Uguaglianza(ordine);

    py::class_<PARAMETRI_ASSE> asse(m, "PARAMETRI_ASSE", "Drive constants and limits of one axis.");
    asse.def(py::init<>())
#define CAMPO(nome) .def_readwrite(#nome, &PARAMETRI_ASSE::nome)
        KORVANE_PARAMETRI_ASSE(CAMPO);
#undef CAMPO
    Uguaglianza(asse);

    py::class_<CLimitiEParametri> limiti(m, "CLimitiEParametri", "One machine model: five axes and the general parameters.");
    limiti.def(py::init<>())
        .def_readwrite("AsseX", &CLimitiEParametri::AsseX)
        .def_readwrite("AsseY", &CLimitiEParametri::AsseY)
        .def_readwrite("AsseR", &CLimitiEParametri::AsseR)
        .def_readwrite("AsseC", &CLimitiEParametri::AsseC)
        .def_readwrite("AsseH", &CLimitiEParametri::AsseH)
#define CAMPO(nome) .def_readwrite(#nome, &CLimitiEParametri::nome)
            KORVANE_LIMITI_GENERALI(CAMPO)
#undef CAMPO
        .def(
            "LeggiDaFile",
            [](CLimitiEParametri& l, const py::object& nome, int aggiungi) {
                const CString n = NomeMacchina(nome, aggiungi);
                RichiediFile(n);
                return l.LeggiDaFile(n, 0);
            },
            py::arg("nome"), py::arg("bAggiungiNomeFile") = 0,
            "Reads a machine file; 1 when every value was read. A missing file raises FileNotFoundError.")
        .def(
            "ScriviSuFile",
            [](CLimitiEParametri& l, const py::object& nome, int aggiungi) {
                return l.ScriviSuFile(NomeMacchina(nome, aggiungi), 0);
            },
            py::arg("nome"), py::arg("bAggiungiNomeFile") = 0, "Writes a machine file; 1 on success.");
    Uguaglianza(limiti);

    py::class_<CParametriFileDat> dat(m, "CParametriFileDat", "The exam settings of the projection file.");
    dat.def(py::init<>())
#define CAMPO(nome) .def_readwrite(#nome, &CParametriFileDat::nome)
        KORVANE_DAT_SCALARI(CAMPO)
#undef CAMPO
#define CAMPO(nome)                                                                                       \
    .def_property(                                                                                        \
        #nome, [](const CParametriFileDat& d) { return ArrayDaInt(d.nome); },                               \
        [](CParametriFileDat& d, const py::object& a) { IntDaArray(d.nome, a); })
            KORVANE_DAT_ARRAY(CAMPO);
#undef CAMPO
    Uguaglianza(dat);

    py::class_<CPunto2DKorvane> punto2d(m, "CPunto2DKorvane", "A plane vector of two doubles.");
    punto2d.def(py::init<double, double>(), py::arg("x") = 0.0, py::arg("y") = 0.0)
        .def_readwrite("X", &CPunto2DKorvane::X)
        .def_readwrite("Y", &CPunto2DKorvane::Y)
        .def("Lunghezza", &CPunto2DKorvane::Lunghezza)
        .def("Versore", &CPunto2DKorvane::Versore)
        .def("Ruota", &CPunto2DKorvane::Ruota, py::arg("a"))
        .def("ProdottoScalare", [](const CPunto2DKorvane& a, CPunto2DKorvane b) { return a.ProdottoScalare(b); })
        .def("__repr__", [](const CPunto2DKorvane& p) { return py::str("CPunto2DKorvane({}, {})").format(p.X, p.Y); });
    Uguaglianza(punto2d);

    py::class_<CCurvaDenti> curva(m, "CCurvaDenti", "The dental arch curve.");
    curva.def(py::init<CLimitiEParametri>(), py::arg("limiti") = CLimitiEParametri())
#define CAMPO(nome) .def_readwrite(#nome, &CCurvaDenti::nome)
        KORVANE_CURVA_SCALARI(CAMPO) CAMPO(LimitiEParametri)
#undef CAMPO
        .def_property(
            "ArrayCurvaDenti", [](const CCurvaDenti& c) { return ArrayDaPunti(c.ArrayCurvaDenti); },
            [](CCurvaDenti& c, const py::object& a) { PuntiDaArray(c.ArrayCurvaDenti, a); }, "n x 2 array of (x, y), mm")
        .def("GetPassoPuntimm", &CCurvaDenti::GetPassoPuntimm)
        .def("ResetToWelander", &CCurvaDenti::ResetToWelander)
        .def("CalcolaCurva", [](CCurvaDenti& c) {
            CString errore;
            return EsitoOMessaggio(c.CalcolaCurva(errore), errore);
        })
        .def(
            "SalvaCurva", [](const CCurvaDenti& c, const py::object& nome) {
                CString n = NomeFile(nome);
                return c.SalvaCurva(&n);
            },
            py::arg("nome"))
        .def(
            "CaricaCurva",
            [](CCurvaDenti& c, const py::object& nome) {
                CString n = NomeFile(nome);
                const CString conEstensione = FinisceCon(n, L".crv") ? n : n + L".crv";
                RichiediFile(conEstensione);
                return c.CaricaCurva(&n);
            },
            py::arg("nome"));
    Uguaglianza(curva);

    m.def(
        "CalcolaGraficoDaPuntiTuning",
        [](const py::object& punti, int nValori, float sensibilita, int offset) {
            ArrayPunti2D ingresso;
            PuntiDaArray(ingresso, punti);
            // The library's result is one shared array refilled by every call: copied out at once.
            return ArrayDaDouble(CalcolaGraficoDaPuntiTuning(&ingresso, nValori, sensibilita, offset));
        },
        py::arg("punti"), py::arg("nValori"), py::arg("sensibilita"), py::arg("offset") = 0,
        "One value per curve point from the tuning points (an n x 2 array of index, value).");
}
