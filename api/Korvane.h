#pragma once

#include "../core/LimitiEParametri.h"
#include "../core/PuntoTraiettoria.h"
#include "../path/Percorso.h"
#include "../platform/CString.h"

// Parameters of a cone-beam 3D scan, passed by value.
struct KORVANE_API ParamTrjCB3D {
    float fTempoScansione = 20.0f;
    float fRaggioCerchio = 0.0f;
    float fXCentroRotazione = 0.0f;
    float fYCentroRotazione = 0.0f;
    std::int32_t bRaccordiArmonici = 1;
    float fMaxAccPercento = 80.0f;
    std::int32_t imAFrontali = 100;
    std::int32_t imALaterali = 100;
    std::int32_t iTipoProiezione = 0;
    std::int32_t iOpzioni = 0;
    PUNTO_TRAIETTORIA puntoUscita;
};

// Size of the step buffer the unit runs.
constexpr int DIMENSIONE_BUFFER_PASSI = 37293;

// The flat functions of the unit's host software. They work on one process-wide path; after any
// result 0, DLL_KORVANE_GetErrorString gives the reason.
KORVANE_API CString DLL_KORVANE_GetErrorString();
KORVANE_API void DLL_KORVANE_SetLimitiEParametri(const CLimitiEParametri* limiti);
// Before any machine is set these give the empty record's zeros.
KORVANE_API const CLimitiEParametri& DLL_KORVANE_GetLimitiEParametri();
KORVANE_API double DLL_KORVANE_GetPassoTemporale();
KORVANE_API int DLL_KORVANE_UsaTestaDiDefault();
KORVANE_API int DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(ParamTrjCB3D parametri, int& dimBuffer, int& numPunti);
KORVANE_API int DLL_KORVANE_GeneraTraiettoriaMovimento(PUNTO_TRAIETTORIA inizio, PUNTO_TRAIETTORIA fine, float tempo,
                                                      float maxAcc, int& dimBuffer, int& numPunti);
KORVANE_API int DLL_KORVANE_GetTraiettoria(unsigned char* buffer, PUNTO_TRAIETTORIA* punti, int dimBuffer, int numPunti);
// The same export for any path (a design application's project): its running order as the unit's step
// buffer and axis states, with the header's projection type and exit point given; 0 with the reason
// in `errore`.
KORVANE_API int EsportaPercorso(CPercorso& percorso, int tipoProiezione, const PUNTO_TRAIETTORIA& uscita,
                                unsigned char* buffer, PUNTO_TRAIETTORIA* punti, int dimBuffer, int numPunti,
                                CString& errore);
