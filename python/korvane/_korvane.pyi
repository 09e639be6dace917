# The bindings keep the library's C++ names (CPercorso, CTraiettoria, DLL_KORVANE_*, ...); their
# signatures are in each function's docstring. The English interface (korvane.Exam, ...) is typed in
# its own sources.
from typing import Any

__version__: str
DIMENSIONE_BUFFER_PASSI: int
SEZIONE_TRAIETTORIA: int
SEZIONE_RACCORDO: int

class KorvaneError(RuntimeError): ...

def __getattr__(name: str) -> Any: ...
