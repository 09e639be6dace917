#pragma once

#include <cstdio>
#include <vector>

#include "../core/LimitiEParametri.h"
#include "../core/Numerico.h"
#include "../core/Punto2DKorvane.h"
#include "../core/PuntoTraiettoria.h"
#include "../platform/CString.h"

class CRgn;

// One piece of a path: a trajectory or a junction. Holds the computed steps, the start and end
// states, its own copy of the machine, and the first error of its last computation.
class KORVANE_API CSezione {
public:
    enum TIPO_CONTROLLO_ANTICOLLISIONE : std::int32_t {
        ANTICOLLISIONE_NESSUNA = 0,
        ANTICOLLISIONE_PAN = 1,
        ANTICOLLISIONE_3D = 2,
    };

    explicit CSezione(const CLimitiEParametri& limiti);
    // Not virtual: sections live by value in arrays of their concrete type.
    ~CSezione();
    CSezione(const CSezione& altra);
    CSezione& operator=(const CSezione& altra);
    int operator==(const CSezione& altra) const;

    virtual int ScriviSuFileCSVShift(FILE* f) const;
    virtual void CalcolaArrayVelocita(TIPO_CONTROLLO_ANTICOLLISIONE modo);
    virtual void* GetpArrayShift();
    virtual const void* GetpArrayShiftConst() const;

    CString GetErrorString();
    void CancellaTutto();
    // 0.0 when the machine has no usable pixel size, time step or C step constants.
    double CalcolaLunghezzaPx() const;
    int IsHInUso() const;

    // The check against the process-wide reference head.
    int ControlloAntiCollisione(CString& err, TIPO_CONTROLLO_ANTICOLLISIONE modo) const;
    // The same check with the arm's directions at the start and after each step (index 0 the start),
    // as far as the caller has them.
    int ControlloAntiCollisione(CString& err, TIPO_CONTROLLO_ANTICOLLISIONE modo,
                                const std::vector<DirezioneBraccio>* direzioni) const;
    static int SetArrayTestona(const CArray<CPunto2DKorvane, const CPunto2DKorvane&>* punti, CString& err);
    static int LeggiTestonaDaFile(CString percorso, CString& err);
    static int UsaTestonaDiDefault(CString& err);
    static int GetProfiloTestaNumPunti();
    static CPunto2DKorvane& GetProfiloTestaPunto(int i);
    static const CRgn* GetProfiloTestaRegion();

    // Step CSV files; with a non-null `immagine` the steps are also appended to the binary image.
    // With an image, writing gives 0 and writes nothing when a step does not fit the unit's record.
    int ScriviSuFileCSV(FILE* f, void* immagine, int conH) const;
    int LeggiDaFileCSV(FILE* fPassi, FILE* fInizio);

    ArrayPassiTraiettoria ArrayPassi;
    PUNTO_TRAIETTORIA PuntoIniziale;
    PUNTO_TRAIETTORIA PuntoFinale;
    CString Nome;
    std::int32_t ErroreCalcolo;
    CLimitiEParametri LimitiEParametri;
    CString StringaErrore;
    double IngrandimentoMinimo;
    double IngrandimentoMassimo;

protected:
    CSezione();
};
