#include "Conversioni.h"

PYBIND11_MODULE(_korvane, m)
{
    m.doc() = "The motion library of a dental X-ray unit, under its own names.";
    PYBIND11_NUMPY_DTYPE(PassoNumpy, iX, iY, iR, iC, iKV, imA, iH);
    PYBIND11_NUMPY_DTYPE(StatoNumpy, dPosX, dPosY, dPosR, dPosH, dVelX, dVelY, dVelR, dVelH, iKV, imA);
    py::register_exception<ErroreKorvane>(m, "KorvaneError", PyExc_RuntimeError);
    m.attr("__version__") = KORVANE_VERSIONE;
    LegaDati(m);
    LegaSezioni(m);
    LegaPercorsoEApi(m);
    LegaMembri(m);
    LegaJson(m);
}
