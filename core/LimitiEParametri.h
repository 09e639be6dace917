#pragma once

#include "../platform/CString.h"

// The drive constants and limits of one axis, in the order the machine file lists them.
// Lengths in mm (degrees for R).
struct KORVANE_API PARAMETRI_ASSE {
    double PhaseAccumulator = 0.0;  // "Phase Accumulator"
    double GiriMinPerLSB = 0.0;     // "Giri/min per LSB"
    double StepSPerLSB = 0.0;       // "step/s per LSB"
    double StepPerUnita = 0.0;      // "Step al mm" ("Step al deg" for R)
    double MaxVel = 0.0;            // "Max Vel in mm/s"
    double MaxAcc = 0.0;            // "Max Acc in mm/s2"
    double PosMin = 0.0;            // "Pos Min in mm"
    double PosMax = 0.0;            // "Pos Max in mm"

    int operator==(const PARAMETRI_ASSE& altro) const;
};

// One machine model: five axis blocks, the name and the general parameters. Hosts set the members
// directly. A default record holds zeros, which nothing reads before a file read or an assignment.
class KORVANE_API CLimitiEParametri {
public:
    CLimitiEParametri();
    ~CLimitiEParametri();
    CLimitiEParametri(const CLimitiEParametri&) = default;
    CLimitiEParametri& operator=(const CLimitiEParametri& altro);
    int operator==(const CLimitiEParametri& altro) const;
    int operator!=(const CLimitiEParametri& altro) const { return *this == altro ? 0 : 1; }

    // Machine parameters file; with bAggiungiNomeFile non-zero, "MachinesParameters.ini" is appended
    // to `nome` as it stands (no separator is inserted).
    int ScriviSuFile(CString nome, int bAggiungiNomeFile);
    int LeggiDaFile(CString nome, int bAggiungiNomeFile);

    PARAMETRI_ASSE AsseX;
    PARAMETRI_ASSE AsseY;
    PARAMETRI_ASSE AsseR;
    PARAMETRI_ASSE AsseC;
    PARAMETRI_ASSE AsseH;

    CString NomeMacchina;       // "Nome macchina"
    double PassoTemporale;      // "Passo temporale s"
    double CentroMonoblocco;    // "Centro-Monoblocco"
    double CentSensPan;         // "Cent-Sens Pan mm"
    double CentSens3D;          // "Cent-Sens 3D mm"
    double PosMorso;            // "Pos Morso mm"
    double DimPixelPano;        // "Dim Pixel Pano mm"
    double InclinazHDx;         // "Inclinaz H Dx deg"
    double XCentroHDx;          // "X centro H Dx mm"
    double YCentroHDx;          // "Y centro H Dx mm"
    double InclinazHSx;         // "Inclinaz H Sx deg"
    double XCentroHSx;          // "X centro H Sx mm"
    double YCentroHSx;          // "Y centro H Sx mm"
    double DistanzaCVR;         // "Distanza CVR mm"
    double PosHOrtho;           // "Pos H ortho mm"
};
