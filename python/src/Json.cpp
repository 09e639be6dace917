#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "Conversioni.h"

// Float arrays as JSON text, for the studio's answers: the interpreter's own encoder spends most of
// an answer's time turning some 20,000 numbers into text one object at a time.
void LegaJson(py::module_& m)
{
    m.def("NumeriJson", [](const py::array_t<double, py::array::c_style | py::array::forcecast>& a) {
              if (a.ndim() != 1)
                  throw py::value_error("NumeriJson: a one-dimensional array is needed");
              const double* v = a.data();
              const py::ssize_t n = a.shape(0);
              std::string testo;
              testo.reserve(static_cast<size_t>(n) * 20 + 2);
              testo.push_back('[');
              char cifre[32];
              for (py::ssize_t i = 0; i < n; ++i) {
                  // JSON has no text for these: the answer is refused rather than sent unreadable.
                  if (!std::isfinite(v[i]))
                      throw py::value_error("NumeriJson: " + std::to_string(v[i]) + " at " + std::to_string(i) +
                                            " is not a number JSON can hold");
                  if (i > 0)
                      testo.push_back(',');
                  // The shortest text that reads back to the same double; a whole number gets ".0", so
                  // that every reader takes it for a double (and -0 keeps its sign).
                  const std::to_chars_result r = std::to_chars(cifre, cifre + sizeof cifre, v[i]);
                  testo.append(cifre, r.ptr);
                  if (std::string_view(cifre, static_cast<size_t>(r.ptr - cifre)).find_first_of(".e") ==
                      std::string_view::npos)
                      testo.append(".0");
              }
              testo.push_back(']');
              return py::bytes(testo);
          }, py::arg("valori"), "A float array as a JSON array's text (bytes), every number read back exactly.");
}
