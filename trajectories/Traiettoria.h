#pragma once

#include <cstdint>

#include "../sections/Sezione.h"
#include "CurvaDenti.h"
#include "ParametriDiscretizzazione.h"

using ArrayDouble = CArray<double, const double&>;

// The scalar parameters of every kind, in member order: (type, name, default).
#define KORVANE_TRAIETTORIA_PARAMETRI_A(X)                                                                          \
    X(std::int32_t, TipoCurva, 0)                                                                                   \
    X(std::int32_t, IsScout, 0)                                                                                     \
    X(std::int32_t, Is2Assi, 0)                                                                                     \
    X(double, TempoScansionesCirc, 10.0)                                                                            \
    X(double, RCerchioXYmm, 50.0)                                                                                   \
    X(double, AmpiezzaArcodeg, 190.0)                                                                               \
    X(double, PosInizArcodeg, -185.0)                                                                               \
    X(double, XCentroRotazmm, 0.0)                                                                                  \
    X(double, YCentroRotazmm, 0.0)                                                                                  \
    X(std::int32_t, KVaRegimeCirc, 80)                                                                              \
    X(std::int32_t, mAFrontali, 100)                                                                                \
    X(std::int32_t, mALaterali, 100)                                                                                \
    X(std::int32_t, TraietSimmetrica, 1)                                                                            \
    X(float, Ingrandimento, 1.23f)                                                                                  \
    X(float, TempoScansiones, 10.0f)                                                                                \
    X(std::int32_t, InvScaricamento, 0)                                                                             \
    X(float, DistPuntiTuning, 5.0f)                                                                                 \
    X(float, SensibilitaSpline, 3.0f)                                                                               \
    X(float, DistPTuningKV, 10.0f)                                                                                  \
    X(float, SensibSplineKV, 3.0f)                                                                                  \
    X(float, DistPTuningShift, 30.0f)                                                                               \
    X(float, SensibSplineShift, 2.0f)                                                                               \
    X(std::int32_t, PosRProjCostDx, 40)                                                                             \
    X(std::int32_t, PosRProjCostSx, 40)                                                                             \
    X(std::int32_t, PosDistAng0, 0)                                                                                 \
    X(std::int32_t, TipoRicostruzione, 2)                                                                           \
    X(std::int32_t, OffsetGraficoKV, 0)

#define KORVANE_TRAIETTORIA_PARAMETRI_B(X)                                                                          \
    X(std::int32_t, GraficoAnalizzato, 3)                                                                           \
    X(float, IngrXGrafici, 2.0f)                                                                                    \
    X(float, IngrGrRotaz, 0.5f)                                                                                     \
    X(float, IngrGrDistors, 2.0f)                                                                                   \
    X(float, IngrGrDerivata, 5.0f)                                                                                  \
    X(float, IngrGrRProiez, 1.5f)                                                                                   \
    X(float, IngrGrRPrCos, 0.5f)                                                                                    \
    X(float, IngrGrXDenti, 2.0f)                                                                                    \
    X(float, IngrGrPosCMR, 3.0f)                                                                                    \
    X(float, IngrGrVelCMR, 100.0f)                                                                                  \
    X(float, IngrGrAccCMR, 500.0f)                                                                                  \
    X(float, IngrGrIngrY, 500.0f)                                                                                   \
    X(float, IngrGrKV, 1.5f)                                                                                        \
    X(float, IngrGrShift, 30.0f)                                                                                    \
    X(std::int32_t, MostraGrRotaz, 1)                                                                               \
    X(std::int32_t, MostraGrDistors, 1)                                                                             \
    X(std::int32_t, MostraGrDerivata, 0)                                                                            \
    X(std::int32_t, MostraGrRProiez, 1)                                                                             \
    X(std::int32_t, MostraGrRPrCos, 0)                                                                              \
    X(std::int32_t, MostraGrXDenti, 1)                                                                              \
    X(std::int32_t, MostraGrPosCMR, 0)                                                                              \
    X(std::int32_t, MostraGrVelCMR, 0)                                                                              \
    X(std::int32_t, MostraGrAccCMR, 0)                                                                              \
    X(std::int32_t, MostraGrIngrY, 0)                                                                               \
    X(std::int32_t, MostraGrKV, 0)                                                                                  \
    X(std::int32_t, MostraGrShift, 0)                                                                               \
    X(float, TempoScansionesLin, 3.2f)                                                                              \
    X(float, XCentroRettamm, 48.0f)                                                                                 \
    X(float, YCentroRettamm, -36.0f)                                                                                \
    X(float, LunghezzaRettamm, 50.0f)                                                                               \
    X(float, InclRettadeg, 17.0f)                                                                                   \
    X(float, RProiezionemm, 60.0f)                                                                                  \
    X(float, IngrandimentoLin, 1.5f)                                                                                \
    X(float, Disortogonalitdeg, 0.0f)                                                                               \
    X(std::int32_t, KVaRegimeLin, 100)                                                                              \
    X(std::int32_t, InvSensore, 1)                                                                                  \
    X(std::int32_t, InvRotazione, 0)                                                                                \
    X(std::int32_t, InvScaricamentoLin, 0)                                                                          \
    X(float, TempoScansionesCef, 5.0f)                                                                              \
    X(float, DistanzaSIDmm, 1514.0f)                                                                                \
    X(float, SpostamentoPiumm, 150.0f)                                                                              \
    X(float, SpostamentoMenomm, -150.0f)                                                                            \
    X(float, IngrandimentoCef, 1.11f)                                                                               \
    X(std::int32_t, KVaRegimeCef, 100)                                                                              \
    X(std::int32_t, BraccioDestro, 1)                                                                               \
    X(std::int32_t, CreaRampaSTF, 0)                                                                                \
    X(std::int32_t, IsIngrCostante, 1)                                                                              \
    X(std::int32_t, TipoCurvaVero, 5)                                                                               \
    X(std::int32_t, BraccioCephDx, 1)                                                                               \
    X(float, IngrandimentoCSV, 1.0f)

// The double arrays in comparison order (ArrayShift is the tenth), then the point arrays.
#define KORVANE_TRAIETTORIA_ARRAY_DOUBLE(X)                                                                         \
    X(GraficoTuning) X(GraficoKV) X(GraficoShift) X(GraficoRotaz) X(GraficoDistors) X(GraficoDerivata)              \
        X(GraficoRProiez) X(GraficoRPrCos) X(GraficoIngrY) X(ArrayShift)
#define KORVANE_TRAIETTORIA_ARRAY_PUNTI(X)                                                                          \
    X(PuntiTuning) X(PuntiTuningKV) X(PuntiTuningShift) X(PosCMR) X(VelCMR) X(AccCMR)

#define KORVANE_DICHIARA_MEMBRO(tipo, nome, predefinito) tipo nome = predefinito;

// The section during which the unit acquires an image. One class holds the parameters of every
// kind; TipoCurva says which is in force and that its last computation succeeded.
// Final: sections live by value and nothing derives from them, so none is deleted through a base.
class KORVANE_API CTraiettoria final : public CSezione {
public:
    enum { CURVA_NON_CALCOLATA = 0, CURVA_PANORAMICA = 2, CURVA_CIRCOLARE = 3, CURVA_LINEARE = 4, CURVA_DA_CSV = 5,
           CURVA_CEFALOMETRICA = 6 };

    // Public, unlike the interface's, so that the path's arrays can make room for trajectories.
    CTraiettoria();
    explicit CTraiettoria(CLimitiEParametri limiti);
    explicit CTraiettoria(const CTraiettoria* altra);
    CTraiettoria(const CTraiettoria& altra);
    ~CTraiettoria();
    CTraiettoria& operator=(const CTraiettoria& altra);
    int operator==(const CTraiettoria& altra) const;

    void CalcolaArrayVelocita(TIPO_CONTROLLO_ANTICOLLISIONE modo) override;
    void* GetpArrayShift() override;
    const void* GetpArrayShiftConst() const override;
    int ScriviSuFileCSVShift(FILE* f) const override;

    // The trajectory block of the project file. `nome` is the per-trajectory name the companions
    // of the CSV kind are named after; `conH` writes their H column.
    int SalvaFileTRG(FILE* f, CString nome, int conH);
    // Reads a block of any version and recomputes the trajectory; 1 when every line matched.
    int CaricaFileTRG(FILE* f, CString nome);

    int CalcolaTraiettoriaCircolare(double* const statistiche);
    // `statistiche` gets 18 values or is null.
    int CalcolaTraiettoriaCefalometrica(double* const statistiche);
    // The panoramic steps from the lists the panoramic geometry leaves, then the head check.
    int DiscretizzaTraiettoriaPanoramica(double* const statistiche);
    // The panoramic geometry: arm angle, rotation centre and the display graphs for every arch point.
    // It leaves TipoCurva alone (the discretiser sets it) and returns 0 with a message when the
    // curve, the tuning graph or the result cannot carry a motion.
    int CalcolaTraiettoriaPanoramica();
    // The arm sweeps a straight image segment; `statistiche` gets the discretiser's 12 values or is null.
    int CalcolaTraiettoriaLineare(double* const statistiche);
    // The rotation discretiser the panoramic and linear kinds share: constant quantised arm speed,
    // everything else interpolated at the reached angle. `riepilogo` gets 12 values or is null.
    int DiscretizzaPerRotazione(const ParametriDiscretizzazione* parametri, double* riepilogo);

    KORVANE_TRAIETTORIA_PARAMETRI_A(KORVANE_DICHIARA_MEMBRO)
    ArrayPunti2D PuntiTuning;
    ArrayPunti2D PuntiTuningKV;
    ArrayPunti2D PuntiTuningShift;
    CCurvaDenti CurvaDenti;
    ArrayDouble ArrayShift;
    ArrayDouble GraficoTuning;
    ArrayDouble GraficoKV;
    ArrayDouble GraficoShift;
    ArrayDouble GraficoRotaz;
    ArrayDouble GraficoDistors;
    ArrayDouble GraficoDerivata;
    ArrayDouble GraficoRProiez;
    ArrayDouble GraficoRPrCos;
    ArrayDouble GraficoIngrY;
    ArrayPunti2D PosCMR;
    ArrayPunti2D VelCMR;
    ArrayPunti2D AccCMR;
    KORVANE_TRAIETTORIA_PARAMETRI_B(KORVANE_DICHIARA_MEMBRO)
};
