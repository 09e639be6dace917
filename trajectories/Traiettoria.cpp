#include "resources/Messaggi.h"
#include "trajectories/Traiettoria.h"

#include "platform/Locale.h"

CTraiettoria::CTraiettoria() : CSezione(), CurvaDenti(CLimitiEParametri()) {}

CTraiettoria::CTraiettoria(CLimitiEParametri limiti) : CSezione(limiti), CurvaDenti(limiti) {}

CTraiettoria::CTraiettoria(const CTraiettoria* altra) : CTraiettoria()
{
    if (altra != nullptr)
        *this = *altra;
}

CTraiettoria::CTraiettoria(const CTraiettoria& altra) : CTraiettoria()
{
    *this = altra;
}

CTraiettoria::~CTraiettoria() = default;

CTraiettoria& CTraiettoria::operator=(const CTraiettoria& a)
{
    if (this == &a)
        return *this;
    CSezione::operator=(a);
#define KORVANE_COPIA(tipo, nome, predefinito) nome = a.nome;
    KORVANE_TRAIETTORIA_PARAMETRI_A(KORVANE_COPIA)
    KORVANE_TRAIETTORIA_PARAMETRI_B(KORVANE_COPIA)
#undef KORVANE_COPIA
    CurvaDenti = a.CurvaDenti;
#define KORVANE_COPIA_ARRAY(nome) nome.Copy(a.nome);
    KORVANE_TRAIETTORIA_ARRAY_DOUBLE(KORVANE_COPIA_ARRAY)
    KORVANE_TRAIETTORIA_ARRAY_PUNTI(KORVANE_COPIA_ARRAY)
#undef KORVANE_COPIA_ARRAY
    return *this;
}

namespace {
template <class A>
bool StessiElementi(const A& x, const A& y)
{
    for (int i = 0; i < x.GetSize(); ++i)
        if (!(x[i] == y[i]))
            return false;
    return true;
}
}  // namespace

int CTraiettoria::operator==(const CTraiettoria& a) const
{
    if (!CSezione::operator==(a))
        return 0;
#define KORVANE_STESSA_DIMENSIONE(nome) \
    if (nome.GetSize() != a.nome.GetSize()) \
        return 0;
    KORVANE_TRAIETTORIA_ARRAY_DOUBLE(KORVANE_STESSA_DIMENSIONE)
    KORVANE_TRAIETTORIA_ARRAY_PUNTI(KORVANE_STESSA_DIMENSIONE)
#undef KORVANE_STESSA_DIMENSIONE
#define KORVANE_STESSI_ELEMENTI(nome) \
    if (!StessiElementi(nome, a.nome)) \
        return 0;
    KORVANE_TRAIETTORIA_ARRAY_DOUBLE(KORVANE_STESSI_ELEMENTI)
    KORVANE_TRAIETTORIA_ARRAY_PUNTI(KORVANE_STESSI_ELEMENTI)
#undef KORVANE_STESSI_ELEMENTI
#define KORVANE_STESSO(tipo, nome, predefinito) \
    if (!(nome == a.nome)) \
        return 0;
    KORVANE_TRAIETTORIA_PARAMETRI_A(KORVANE_STESSO)
    KORVANE_TRAIETTORIA_PARAMETRI_B(KORVANE_STESSO)
#undef KORVANE_STESSO
    return CurvaDenti == a.CurvaDenti;
}

void CTraiettoria::CalcolaArrayVelocita(TIPO_CONTROLLO_ANTICOLLISIONE)
{
    // Each kind runs its own check with its own mode.
    switch (TipoCurva) {
    case CURVA_PANORAMICA:
        CalcolaTraiettoriaPanoramica();
        // Without an arch the geometry and its discretisation stop without a word; the trajectory's
        // computation says why it did not compute.
        if (!DiscretizzaTraiettoriaPanoramica(nullptr) && CurvaDenti.ArrayCurvaDenti.GetSize() < 2)
            CaricaMessaggio(StringaErrore, MSG_CURVA_PANORAMICA_CORTA);
        break;
    case CURVA_CIRCOLARE:
        CalcolaTraiettoriaCircolare(nullptr);
        break;
    case CURVA_LINEARE:
        CalcolaTraiettoriaLineare(nullptr);
        break;
    case CURVA_CEFALOMETRICA:
        CalcolaTraiettoriaCefalometrica(nullptr);
        break;
    default:
        break;
    }
}

void* CTraiettoria::GetpArrayShift()
{
    return &ArrayShift;
}

const void* CTraiettoria::GetpArrayShiftConst() const
{
    return &ArrayShift;
}

int CTraiettoria::ScriviSuFileCSVShift(FILE* f) const
{
    if (ArrayShift.IsEmpty())
        return 1;
    LocaleC guardia;
    // The first line is always zero: the shift starts from nothing.
    std::fprintf(f, "%f\n", 0.0);
    for (int i = 1; i < ArrayShift.GetSize(); ++i)
        std::fprintf(f, "%f\n", ArrayShift[i]);
    return 1;
}
