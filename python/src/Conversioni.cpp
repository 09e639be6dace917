#include "Conversioni.h"

#include <cmath>
#include <filesystem>

namespace {
template <class T>
py::array_t<T> ComeVettore(const py::object& a, const char* cosa)
{
    auto v = py::array_t<T, py::array::c_style | py::array::forcecast>::ensure(a);
    if (!v)
        throw py::type_error(std::string(cosa) + ": expected an array of numbers");
    return v;
}
}  // namespace

py::array ArrayDaPassi(const ArrayPassiTraiettoria& passi)
{
    py::array_t<PassoNumpy> a(passi.GetSize());
    auto v = a.mutable_unchecked<1>();
    for (int i = 0; i < passi.GetSize(); ++i) {
        const PASSO_TRAIETTORIA& p = passi[i];
        v(i) = PassoNumpy{p.iX, p.iY, p.iR, p.iC, p.iKV, p.imA, p.iH};
    }
    return a;
}

ArrayPassiTraiettoria PassiDaArray(const py::array& a)
{
    // Any array with the seven named integer columns is accepted; the columns are cast field by field.
    ArrayPassiTraiettoria passi;
    if (a.ndim() != 1 || a.dtype().attr("names").is_none())
        throw py::type_error("steps: expected a 1-D structured array with the fields iX, iY, iR, iC, iKV, imA, iH");
    py::object campi = a.dtype().attr("names");
    const char* nomi[] = {"iX", "iY", "iR", "iC", "iKV", "imA", "iH"};
    passi.SetSize(static_cast<int>(a.shape(0)));
    for (int c = 0; c < 7; ++c) {
        if (!py::bool_(campi.attr("__contains__")(nomi[c])))
            throw py::type_error(std::string("steps: the field ") + nomi[c] + " is missing");
        py::array colonna = py::reinterpret_borrow<py::array>(a[py::str(nomi[c])]);
        py::array_t<std::int64_t> valori = ComeVettore<std::int64_t>(colonna, "steps");
        auto v = valori.unchecked<1>();
        for (py::ssize_t i = 0; i < v.shape(0); ++i) {
            if (v(i) < INT32_MIN || v(i) > INT32_MAX)
                throw py::value_error(std::string("steps: a value of ") + nomi[c] + " does not fit 32 bits");
            passi[static_cast<int>(i)].*PAROLE_PASSO[c] = static_cast<std::int32_t>(v(i));
        }
    }
    return passi;
}

py::array ArrayDaStati(const PUNTO_TRAIETTORIA* stati, size_t n)
{
    py::array_t<StatoNumpy> a(static_cast<py::ssize_t>(n));
    auto v = a.mutable_unchecked<1>();
    for (size_t i = 0; i < n; ++i) {
        const PUNTO_TRAIETTORIA& s = stati[i];
        v(static_cast<py::ssize_t>(i)) =
            StatoNumpy{s.dPosX, s.dPosY, s.dPosR, s.dPosH, s.dVelX, s.dVelY, s.dVelR, s.dVelH, s.iKV, s.imA};
    }
    return a;
}

py::array_t<double> ArrayDaDouble(const CArray<double, const double&>& a)
{
    py::array_t<double> r(a.GetSize());
    auto v = r.mutable_unchecked<1>();
    for (int i = 0; i < a.GetSize(); ++i)
        v(i) = a[i];
    return r;
}

void DoubleDaArray(CArray<double, const double&>& destinazione, const py::object& a)
{
    auto v = ComeVettore<double>(a, "values");
    if (v.ndim() != 1)
        throw py::value_error("values: expected a 1-D array");
    CArray<double, const double&> r;
    r.SetSize(static_cast<int>(v.shape(0)));
    for (py::ssize_t i = 0; i < v.shape(0); ++i)
        r[static_cast<int>(i)] = v.at(i);
    destinazione = std::move(r);
}

py::array_t<double> ArrayDaPunti(const ArrayPunti2D& a)
{
    py::array_t<double> r({static_cast<py::ssize_t>(a.GetSize()), py::ssize_t{2}});
    auto v = r.mutable_unchecked<2>();
    for (int i = 0; i < a.GetSize(); ++i) {
        v(i, 0) = a[i].X;
        v(i, 1) = a[i].Y;
    }
    return r;
}

void PuntiDaArray(ArrayPunti2D& destinazione, const py::object& a)
{
    auto v = ComeVettore<double>(a, "points");
    if (v.ndim() != 2 || v.shape(1) != 2) {
        if (!(v.ndim() == 1 && v.shape(0) == 0))
            throw py::value_error("points: expected an n x 2 array of (x, y)");
    }
    ArrayPunti2D r;
    const py::ssize_t n = v.ndim() == 2 ? v.shape(0) : 0;
    for (py::ssize_t i = 0; i < n; ++i)
        r.Add(CPunto2DKorvane(v.at(i, 0), v.at(i, 1)));
    destinazione = std::move(r);
}

CString NomeFile(const py::object& nome)
{
    py::object percorso = py::module_::import("os").attr("fspath")(nome);
    if (!py::isinstance<py::str>(percorso))
        throw py::type_error("file names are given as str or os.PathLike of str");
    return percorso.cast<std::wstring>();
}

void RichiediFile(const CString& nome)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(StringaAUtf8(nome)), ec)) {
        PyErr_SetObject(PyExc_FileNotFoundError,
                        py::make_tuple(2, "No such file", py::cast(nome)).ptr());
        throw py::error_already_set();
    }
}

int EsitoOMessaggio(int esito, const CString& messaggio)
{
    if (esito == 0 && !messaggio.empty())
        throw ErroreKorvane(StringaAUtf8(messaggio));
    return esito;
}

void ControllaIndice(int i, int n, const char* cosa)
{
    if (i < 0 || i >= n)
        throw py::index_error(std::string(cosa) + ": index " + std::to_string(i) + " outside 0.." +
                              std::to_string(n - 1));
}
