#include "examples/MacchinaEsempio.h"

namespace {
PARAMETRI_ASSE Asse(double giriMin, double stepPerUnita, double stepSPerLsb, double maxVel, double maxAcc, double posMin, double posMax)
{
    PARAMETRI_ASSE a;
    a.PhaseAccumulator = 65536.0;
    a.GiriMinPerLSB = giriMin;
    a.StepSPerLSB = stepSPerLsb;
    a.StepPerUnita = stepPerUnita;
    a.MaxVel = maxVel;
    a.MaxAcc = maxAcc;
    a.PosMin = posMin;
    a.PosMax = posMax;
    return a;
}
}  // namespace

CLimitiEParametri MacchinaEsempio()
{
    CLimitiEParametri m;
    // X and Y: 800 steps/mm, 409.6 LSB per mm/s; R: 786.432 LSB per deg/s; C: 333.333 LSB per mm/s.
    // Every number survives the file's six decimals, so the file reads back to an equal record.
    m.AsseX = Asse(0.585938, 800.0, 1.953125, 60.0, 200.0, -80.0, 80.0);
    m.AsseY = Asse(0.585938, 800.0, 1.953125, 60.0, 200.0, -60.0, 80.0);
    m.AsseR = Asse(0.651042, 1706.666667, 2.170139, 36.0, 60.0, -200.0, 200.0);
    m.AsseC = Asse(0.6, 666.666, 2.0, 90.0, 400.0, -10000.0, 10000.0);
    m.AsseH = Asse(0.585938, 800.0, 1.953125, 60.0, 200.0, 0.0, 250.0);
    m.NomeMacchina = L"Korvane example unit";
    m.PassoTemporale = 0.02;
    m.CentroMonoblocco = 383.0;
    m.CentSensPan = 167.0;
    m.CentSens3D = 260.0;
    m.PosMorso = 60.0;
    m.DimPixelPano = 0.096;
    // The cephalometric H lines run along Y, 1131 mm either side of the rotation centre; a beam through
    // the focus at CVR = SID from them passes the centre, which the scan keeps near the origin.
    m.InclinazHDx = 90.0;
    m.XCentroHDx = -1131.0;
    m.YCentroHDx = 0.0;
    m.InclinazHSx = -90.0;
    m.XCentroHSx = 1131.0;
    m.YCentroHSx = 0.0;
    m.DistanzaCVR = 1514.0;
    m.PosHOrtho = 0.0;
    return m;
}
