#include <vector>

#include "Conversioni.h"
#include "examples/EsameCefalometrico.h"
#include "examples/EsameLineare.h"
#include "examples/EsamePanoramico.h"
#include "examples/MacchinaEsempio.h"
#include "examples/PercorsoEsempio.h"
#include "examples/ProgettiEsempio.h"
#include "tools/korvane/LetturaBuffer.h"

namespace {
int EsitoPercorso(int esito, CPercorso& p)
{
    if (esito != 0)
        return esito;
    return EsitoOMessaggio(esito, p.GetErrorString());
}

int EsitoApi(int esito)
{
    if (esito != 0)
        return esito;
    return EsitoOMessaggio(esito, DLL_KORVANE_GetErrorString());
}

// The path hands out pointers into arrays that the next edit may move: Python gets copies.
py::object CopiaSezione(const CSezione* s, TIPO_SEZIONE tipo)
{
    if (s == nullptr)
        return py::none();
    if (tipo == SEZIONE_RACCORDO)
        return py::cast(CRaccordo(*static_cast<const CRaccordo*>(s)));
    return py::cast(CTraiettoria(*static_cast<const CTraiettoria*>(s)));
}

template <class T>
CArray<T, const T&> ArrayDaLista(const std::vector<T>& v)
{
    CArray<T, const T&> a;
    for (const T& e : v)
        a.Add(e);
    return a;
}

template <class T>
std::vector<T> ListaDaArray(const CArray<T, const T&>& a)
{
    return std::vector<T>(a.begin(), a.end());
}
}  // namespace

void LegaPercorsoEApi(py::module_& m)
{
    py::class_<CPercorso> percorso(m, "CPercorso", "A complete machine movement: trajectories, junctions and their order.");
    percorso.def(py::init<>())
        .def("GetErrorString", &CPercorso::GetErrorString, "The first error, taken out of the path.")
        .def("SetLimitiEParametri", [](CPercorso& p, const CLimitiEParametri& l, int predefinita) {
                 p.SetLimitiEParametri(&l, predefinita);
             }, py::arg("limiti"), py::arg("ancheMacchinaPredefinita") = 0)
        .def("GetLimitiEParametri", [](CPercorso& p) { return CLimitiEParametri(p.GetLimitiEParametri()); })
        .def("SetParametriFileDat", [](CPercorso& p, const CParametriFileDat& d) { p.SetParametriFileDat(&d); },
             py::arg("parametri"))
        .def("GetParametriFileDat", &CPercorso::GetParametriFileDat, py::return_value_policy::reference_internal)
        .def("SetSalvaLUT", &CPercorso::SetSalvaLUT, py::arg("v"))
        .def("GetSalvaLUT", &CPercorso::GetSalvaLUT)
        .def("SetTipoOutput", &CPercorso::SetTipoOutput, py::arg("v"))
        .def("GetTipoOutput", &CPercorso::GetTipoOutput)
        .def("IsDLLbuildprjCaricata", &CPercorso::IsDLLbuildprjCaricata)
        .def("GetTipoControlloAnticollisioneConsigliato", &CPercorso::GetTipoControlloAnticollisioneConsigliato)
        .def("IsSTFApplicato", &CPercorso::IsSTFApplicato)
        .def("ArrayOrdineAggiungiElemento", [](CPercorso& p, const CElementoOrdine& e, int pos) {
                 return EsitoPercorso(p.ArrayOrdineAggiungiElemento(&e, pos), p);
             }, py::arg("e"), py::arg("pos") = -1)
        .def("ArrayOrdineEliminaElementoERiordina", [](CPercorso& p, const CElementoOrdine& e) {
                 return EsitoPercorso(p.ArrayOrdineEliminaElementoERiordina(&e), p);
             }, py::arg("e"))
        .def("ArrayOrdineGetpSezione", [](CPercorso& p, int i) {
                 ControllaIndice(i, p.ArrayOrdineGetSize(), "order");
                 return CopiaSezione(p.ArrayOrdineGetpSezione(i), p.ArrayOrdineGetTipoSezione(i));
             }, py::arg("i"), "A copy of the section the i-th order entry names, or None.")
        .def("ArrayOrdineGetSize", &CPercorso::ArrayOrdineGetSize)
        .def("ArrayOrdineGetTipoSezione", [](CPercorso& p, int i) {
                 ControllaIndice(i, p.ArrayOrdineGetSize(), "order");
                 return p.ArrayOrdineGetTipoSezione(i);
             }, py::arg("i"))
        .def("ArrayOrdineGetPosSezione", [](CPercorso& p, int i) {
                 ControllaIndice(i, p.ArrayOrdineGetSize(), "order");
                 return p.ArrayOrdineGetPosSezione(i);
             }, py::arg("i"))
        .def("GetpArrayOrdine", [](CPercorso& p) { return ListaDaArray(*p.GetpArrayOrdine()); })
        .def("ArrayOrdineCopy", [](CPercorso& p, const std::vector<CElementoOrdine>& v) {
                 const ArrayOrdine a = ArrayDaLista(v);
                 p.ArrayOrdineCopy(&a);
             }, py::arg("ordine"))
        .def("ArrayOrdineIsHInUso", &CPercorso::ArrayOrdineIsHInUso)
        .def("ArrayRaccordiGetSize", &CPercorso::ArrayRaccordiGetSize)
        .def("ArrayRaccordiGetRaccordo", [](CPercorso& p, int i) {
                 ControllaIndice(i, p.ArrayRaccordiGetSize(), "junctions");
                 return CRaccordo(*p.ArrayRaccordiGetRaccordo(i));
             }, py::arg("i"))
        .def("ArrayRaccordiAdd", [](CPercorso& p, const CRaccordo& r) { p.ArrayRaccordiAdd(&r); }, py::arg("r"))
        .def("ArrayRaccordiSetAt", [](CPercorso& p, int i, const CRaccordo& r) {
                 ControllaIndice(i, p.ArrayRaccordiGetSize(), "junctions");
                 p.ArrayRaccordiSetAt(i, &r);
             }, py::arg("i"), py::arg("r"))
        .def("ArrayRaccordiRemoveAt", [](CPercorso& p, int i) {
                 ControllaIndice(i, p.ArrayRaccordiGetSize(), "junctions");
                 p.ArrayRaccordiRemoveAt(i);
             }, py::arg("i"))
        .def("ArrayRaccordiIsDiverso", [](CPercorso& p, const std::vector<CRaccordo>& v) {
                 const ArrayRaccordi a = ArrayDaLista(v);
                 return p.ArrayRaccordiIsDiverso(&a);
             }, py::arg("altri"))
        .def("ArrayRaccordiCopiaInArray", [](const CPercorso& p) {
                 ArrayRaccordi a;
                 p.ArrayRaccordiCopiaInArray(&a);
                 return ListaDaArray(a);
             })
        .def("ArrayTraiettorieGetSize", &CPercorso::ArrayTraiettorieGetSize)
        .def("ArrayTraiettorieGetTraiettoria", [](CPercorso& p, int i) {
                 ControllaIndice(i, p.ArrayTraiettorieGetSize(), "trajectories");
                 return CTraiettoria(*p.ArrayTraiettorieGetTraiettoria(i));
             }, py::arg("i"))
        .def("ArrayTraiettorieAdd", [](CPercorso& p, const CTraiettoria& t) { p.ArrayTraiettorieAdd(&t); }, py::arg("t"))
        .def("CopiaTraiettoria", [](CPercorso& p, int i, const CTraiettoria& t) {
                 ControllaIndice(i, p.ArrayTraiettorieGetSize(), "trajectories");
                 p.CopiaTraiettoria(i, &t);
             }, py::arg("i"), py::arg("t"))
        .def("ArrayTraiettorieRemoveAt", [](CPercorso& p, int i) {
                 ControllaIndice(i, p.ArrayTraiettorieGetSize(), "trajectories");
                 p.ArrayTraiettorieRemoveAt(i);
             }, py::arg("i"))
        .def("ArrayTraiettorieSetScout", [](CPercorso& p, int i, int scout) {
                 ControllaIndice(i, p.ArrayTraiettorieGetSize(), "trajectories");
                 p.ArrayTraiettorieSetScout(i, scout);
             }, py::arg("i"), py::arg("scout"))
        .def("ArrayTraiettorieCalcolaVelocita", [](CPercorso& p, int i) {
                 ControllaIndice(i, p.ArrayTraiettorieGetSize(), "trajectories");
                 p.ArrayTraiettorieCalcolaVelocita(i);
             }, py::arg("i"))
        .def("SvuotaArray", &CPercorso::SvuotaArray)
        .def("CheckContinuitaSezioni", &CPercorso::CheckContinuitaSezioni,
             "1 when every section ends where the next starts; a plain answer, never an exception.")
        .def("CorreggiContinuitaSezioni", &CPercorso::CorreggiContinuitaSezioni)
        .def("CorreggiContinuitaRaccordiAdiacenti", [](CPercorso& p, int indice) {
                 ArrayRaccordi r;
                 p.ArrayRaccordiCopiaInArray(&r);
                 const int esito = EsitoPercorso(p.CorreggiContinuitaRaccordiAdiacenti(indice, &r), p);
                 return py::make_tuple(esito, ListaDaArray(r));
             }, py::arg("indice"), "(result, the junctions corrected from a copy of the path's own)")
        .def("CreaAccDecOldStyle", [](CPercorso& p) { return EsitoPercorso(p.CreaAccDecOldStyle(), p); })
        .def("NomeFileDat", [](CPercorso& p, const py::object& nome, int collimato) {
                 return p.NomeFileDat(NomeFile(nome), collimato);
             }, py::arg("nomeFile"), py::arg("collimato"))
        .def("SalvaFileDat", [](CPercorso& p, const py::object& nome, int collimato) {
                 return EsitoPercorso(p.SalvaFileDat(NomeFile(nome), collimato), p);
             }, py::arg("nomeFile"), py::arg("collimato"))
        .def("GetTipoProiezione", &CPercorso::GetTipoProiezione)
        .def_static("CalcolaCRC", [](const py::bytes& dati) {
                 const std::string s = dati;
                 if (s.size() > 0xFFFF)
                     throw py::value_error("CalcolaCRC: at most 65535 bytes");
                 return CPercorso::CalcolaCRC(reinterpret_cast<const unsigned char*>(s.data()),
                                              static_cast<unsigned short>(s.size()));
             }, py::arg("dati"))
        .def("SalvaFileCSV", [](CPercorso& p, const py::object& nome) {
                 return EsitoPercorso(p.SalvaFileCSV(NomeFile(nome)), p);
             }, py::arg("nomeFile"))
        .def("ConvertiInOut", [](CPercorso& p, const py::object& nome) {
                 const CString n = NomeFile(nome);
                 RichiediFile(n);
                 return EsitoPercorso(p.ConvertiInOut(&n), p);
             }, py::arg("nomeFile"))
        .def("SetNomeDLLbuildprj", [](CPercorso& p, const py::object& nome) { p.SetNomeDLLbuildprj(NomeFile(nome)); },
             py::arg("nome"))
        .def("CreaLUT", [](CPercorso& p, int modoScout, const py::object& csv, const py::object& lut) {
                 const CString nomeCSV = NomeFile(csv);
                 RichiediFile(nomeCSV);
                 return EsitoPercorso(p.CreaLUT(modoScout, nomeCSV, NomeFile(lut)), p);
             }, py::arg("modoScout"), py::arg("nomeCSV"), py::arg("nomeLUT"))
        .def("SaveLUT", [](CPercorso& p, const py::object& nome, const py::object& tabella, int binario) {
                 ArrayDouble t;
                 DoubleDaArray(t, tabella);
                 return EsitoPercorso(p.SaveLUT(NomeFile(nome), t, binario), p);
             }, py::arg("nome"), py::arg("tabella"), py::arg("binario"))
        .def("LoadLUT", [](CPercorso& p, const py::object& nome) {
                 const CString n = NomeFile(nome);
                 RichiediFile(n);
                 return ArrayDaDouble(p.LoadLUT(n));
             }, py::arg("nome"))
        .def("SalvaFile", [](CPercorso& p, const py::object& nome, int salvaDat, int converti) {
                 return EsitoPercorso(p.SalvaFile(NomeFile(nome), salvaDat, converti), p);
             }, py::arg("nomeFile"), py::arg("salvaDat") = 0, py::arg("converti") = 0,
             "Saves the project (.trg) and the outputs beside it; 1 unless refused.")
        .def("CaricaFile", [](CPercorso& p, const py::object& nome, int sostituisci, int caricaRaccordi) {
                 const CString n = NomeFile(nome);
                 RichiediFile(n);
                 return EsitoPercorso(p.CaricaFile(n, sostituisci, caricaRaccordi), p);
             }, py::arg("nomeFile"), py::arg("sostituisci") = 1, py::arg("caricaRaccordi") = 1,
             "Loads a project (.trg) or a step CSV. 1 even when a line was damaged: GetErrorString tells.")
        .def("GetRigheDanneggiate", [](const CPercorso& p) {
                 py::list righe;
                 for (const CPercorso::RigaDanneggiata& r : p.GetRigheDanneggiate())
                     righe.append(py::make_tuple(StringaAUtf8(r.file), r.riga, r.attesa));
                 return righe;
             },
             "The lines the last CaricaFile found damaged or missing: (file, line from 1, line expected).");

    py::class_<ParamTrjCB3D> cb3d(m, "ParamTrjCB3D", "Parameters of a cone-beam 3D scan.");
    cb3d.def(py::init<>())
#define CAMPO(nome) .def_readwrite(#nome, &ParamTrjCB3D::nome)
        CAMPO(fTempoScansione) CAMPO(fRaggioCerchio) CAMPO(fXCentroRotazione) CAMPO(fYCentroRotazione)
            CAMPO(bRaccordiArmonici) CAMPO(fMaxAccPercento) CAMPO(imAFrontali) CAMPO(imALaterali)
                CAMPO(iTipoProiezione) CAMPO(iOpzioni) CAMPO(puntoUscita);
#undef CAMPO

    m.attr("DIMENSIONE_BUFFER_PASSI") = DIMENSIONE_BUFFER_PASSI;
    m.def("DLL_KORVANE_GetErrorString", &DLL_KORVANE_GetErrorString);
    m.def("DLL_KORVANE_SetLimitiEParametri", [](const CLimitiEParametri& l) { DLL_KORVANE_SetLimitiEParametri(&l); },
          py::arg("limiti"));
    m.def("DLL_KORVANE_GetLimitiEParametri", [] { return CLimitiEParametri(DLL_KORVANE_GetLimitiEParametri()); });
    m.def("DLL_KORVANE_GetPassoTemporale", &DLL_KORVANE_GetPassoTemporale);
    m.def("DLL_KORVANE_UsaTestaDiDefault", [] { return EsitoApi(DLL_KORVANE_UsaTestaDiDefault()); });
    m.def("DLL_KORVANE_GeneraTraiettoriaScansioneCB3D", [](const ParamTrjCB3D& p) {
              int dimBuffer = 0, numPunti = 0;
              const int esito = EsitoApi(DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, dimBuffer, numPunti));
              return py::make_tuple(esito, dimBuffer, numPunti);
          }, py::arg("parametri"), "(result, dimBuffer, numPunti)");
    m.def("DLL_KORVANE_GeneraTraiettoriaMovimento",
          [](const PUNTO_TRAIETTORIA& inizio, const PUNTO_TRAIETTORIA& fine, float tempo, float maxAcc) {
              int dimBuffer = 0, numPunti = 0;
              const int esito =
                  EsitoApi(DLL_KORVANE_GeneraTraiettoriaMovimento(inizio, fine, tempo, maxAcc, dimBuffer, numPunti));
              return py::make_tuple(esito, dimBuffer, numPunti);
          }, py::arg("inizio"), py::arg("fine"), py::arg("tempo"), py::arg("maxAcc"), "(result, dimBuffer, numPunti)");
    m.def("DLL_KORVANE_GetTraiettoria", [](int dimBuffer, int numPunti) {
              if (dimBuffer < 0 || numPunti < 0 || dimBuffer > (1 << 24) || numPunti > (1 << 24))
                  throw py::value_error("DLL_KORVANE_GetTraiettoria: sizes from 0 to 16777216");
              std::vector<unsigned char> buffer(static_cast<size_t>(dimBuffer));
              std::vector<PUNTO_TRAIETTORIA> punti(static_cast<size_t>(numPunti));
              // An empty size stands for the null pointer the host passes when it wants only the other.
              const int esito = EsitoApi(DLL_KORVANE_GetTraiettoria(dimBuffer ? buffer.data() : nullptr,
                                                                    numPunti ? punti.data() : nullptr, dimBuffer,
                                                                    numPunti));
              return py::make_tuple(esito, py::bytes(reinterpret_cast<const char*>(buffer.data()), buffer.size()),
                                    ArrayDaStati(punti.data(), punti.size()));
          }, py::arg("dimBuffer"), py::arg("numPunti"), "(result, the step buffer as bytes, the axis states)");
    m.def("EsportaPercorso", [](CPercorso& percorso, int tipoProiezione, const PUNTO_TRAIETTORIA& uscita) {
              std::vector<unsigned char> buffer(DIMENSIONE_BUFFER_PASSI);
              CString errore;
              const int esito = EsportaPercorso(percorso, tipoProiezione, uscita, buffer.data(), nullptr,
                                                DIMENSIONE_BUFFER_PASSI, 0, errore);
              return py::make_tuple(esito, py::bytes(reinterpret_cast<const char*>(buffer.data()), buffer.size()),
                                    errore);
          }, py::arg("percorso"), py::arg("tipoProiezione"), py::arg("uscita"),
          "(result, the path's step buffer as bytes, the reason of a refusal)");

    m.def("DecodificaBuffer", [](const py::bytes& dati, const CLimitiEParametri& macchina) {
              const std::string s = dati;
              BufferDecodificato b;
              std::string errore;
              if (!DecodificaBuffer(std::vector<std::uint8_t>(s.begin(), s.end()), b, errore))
                  throw py::value_error(errore);
              const std::vector<PUNTO_TRAIETTORIA> stati = IntegraBuffer(b, macchina);
              ArrayPassiTraiettoria passi;
              for (const PASSO_TRAIETTORIA& p : b.passi)
                  passi.Add(p);
              py::dict d;
              d["versione"] = b.t.Version;
              d["gruppo"] = b.t.Group;
              d["tipoProiezione"] = b.t.TipoProiezione;
              d["ini"] = py::make_tuple(b.t.Ini[0], b.t.Ini[1], b.t.Ini[2], b.t.Ini[3]);
              d["out"] = py::make_tuple(b.t.Out[0], b.t.Out[1], b.t.Out[2], b.t.Out[3]);
              d["crcValido"] = b.CrcValido();
              d["passi"] = ArrayDaPassi(passi);
              d["stati"] = ArrayDaStati(stati.data(), stati.size());
              return d;
          }, py::arg("dati"), py::arg("macchina"),
          "Reads a 37293-byte step buffer back: header, steps and the axis states they integrate to.");

    py::module_ esempi = m.def_submodule("esempi", "The example machine, exams and scan the tests and tools share.");
    esempi.def("MacchinaEsempio", &MacchinaEsempio);
    esempi.def("EsamePanoramicoAdulto", &EsamePanoramicoAdulto, py::arg("macchina"));
    esempi.def("EsameCefalometrico", &EsameCefalometrico, py::arg("macchina"));
    esempi.def("EsameLineare", &EsameLineare, py::arg("macchina"));
    esempi.def("CompletaProgettoCaricato", [](CPercorso& p) { return StringaAUtf8(CompletaProgettoCaricato(p)); },
               py::arg("percorso"),
               "After CaricaFile: the example arch for panoramic trajectories loaded without one, and continuity. "
               "Returns the first message met, '' when none.");
    esempi.def("CostruisciCB3D", &CostruisciCB3D, py::arg("percorso"), py::arg("macchina"));
    // The panoramic example computed wholly in C++, the reference the Python computation is held to.
    esempi.def("EsamePanoramicoCalcolatoInCpp", [](const CLimitiEParametri& macchina) {
        CTraiettoria t = EsamePanoramicoAdulto(macchina);
        t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_PAN);
        return t;
    }, py::arg("macchina"));
}
