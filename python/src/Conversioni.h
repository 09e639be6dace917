#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <string>

#include "korvane.h"

namespace py = pybind11;

// Plain records with the interface's field names, so that steps and axis states travel to Python as
// NumPy structured arrays whose columns read like the C++ members.
struct PassoNumpy {
    std::int32_t iX, iY, iR, iC, iKV, imA, iH;
};
struct StatoNumpy {
    double dPosX, dPosY, dPosR, dPosH, dVelX, dVelY, dVelR, dVelH;
    std::int32_t iKV, imA;
};

py::array ArrayDaPassi(const ArrayPassiTraiettoria& passi);
ArrayPassiTraiettoria PassiDaArray(const py::array& a);
py::array ArrayDaStati(const PUNTO_TRAIETTORIA* stati, size_t n);
py::array_t<double> ArrayDaDouble(const CArray<double, const double&>& a);
void DoubleDaArray(CArray<double, const double&>& destinazione, const py::object& a);
// Points as an n x 2 array of (x, y).
py::array_t<double> ArrayDaPunti(const ArrayPunti2D& a);
void PuntiDaArray(ArrayPunti2D& destinazione, const py::object& a);

// The library's "0 with a message" as a Python exception; 0 without a message and 1 come back as ints.
int EsitoOMessaggio(int esito, const CString& messaggio);
// An index the C++ call would not check: refused here with IndexError.
void ControllaIndice(int i, int n, const char* cosa);

void LegaDati(py::module_& m);
void LegaSezioni(py::module_& m);
void LegaPercorsoEApi(py::module_& m);
// The member tables of the command line, the machine's problems and the example projects.
void LegaMembri(py::module_& m);
void LegaJson(py::module_& m);

// A file name from a str or an os.PathLike.
CString NomeFile(const py::object& nome);
// FileNotFoundError for a file the call must read and that is not there.
void RichiediFile(const CString& nome);

// The library's error as a Python exception: the result was 0 and a message said why.
struct ErroreKorvane : std::runtime_error {
    using std::runtime_error::runtime_error;
};
