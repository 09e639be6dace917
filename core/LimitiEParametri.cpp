#include "core/LimitiEParametri.h"

int PARAMETRI_ASSE::operator==(const PARAMETRI_ASSE& a) const
{
    return PhaseAccumulator == a.PhaseAccumulator && GiriMinPerLSB == a.GiriMinPerLSB && StepSPerLSB == a.StepSPerLSB &&
                   StepPerUnita == a.StepPerUnita && MaxVel == a.MaxVel && MaxAcc == a.MaxAcc && PosMin == a.PosMin &&
                   PosMax == a.PosMax
               ? 1
               : 0;
}

CLimitiEParametri::CLimitiEParametri()
    : PassoTemporale(0.0), CentroMonoblocco(0.0), CentSensPan(0.0), CentSens3D(0.0), PosMorso(0.0), DimPixelPano(0.0),
      InclinazHDx(0.0), XCentroHDx(0.0), YCentroHDx(0.0), InclinazHSx(0.0), XCentroHSx(0.0), YCentroHSx(0.0),
      DistanzaCVR(0.0), PosHOrtho(0.0)
{
}

CLimitiEParametri::~CLimitiEParametri() = default;

CLimitiEParametri& CLimitiEParametri::operator=(const CLimitiEParametri& altro)
{
    if (this == &altro)
        return *this;
    AsseX = altro.AsseX;
    AsseY = altro.AsseY;
    AsseR = altro.AsseR;
    AsseC = altro.AsseC;
    AsseH = altro.AsseH;
    NomeMacchina = altro.NomeMacchina;
    PassoTemporale = altro.PassoTemporale;
    CentroMonoblocco = altro.CentroMonoblocco;
    CentSensPan = altro.CentSensPan;
    CentSens3D = altro.CentSens3D;
    PosMorso = altro.PosMorso;
    DimPixelPano = altro.DimPixelPano;
    InclinazHDx = altro.InclinazHDx;
    XCentroHDx = altro.XCentroHDx;
    YCentroHDx = altro.YCentroHDx;
    InclinazHSx = altro.InclinazHSx;
    XCentroHSx = altro.XCentroHSx;
    YCentroHSx = altro.YCentroHSx;
    DistanzaCVR = altro.DistanzaCVR;
    PosHOrtho = altro.PosHOrtho;
    return *this;
}

int CLimitiEParametri::operator==(const CLimitiEParametri& a) const
{
    if (!(AsseX == a.AsseX) || !(AsseY == a.AsseY) || !(AsseR == a.AsseR) || !(AsseC == a.AsseC) || !(AsseH == a.AsseH))
        return 0;
    if (NomeMacchina != a.NomeMacchina)
        return 0;
    return PassoTemporale == a.PassoTemporale && CentroMonoblocco == a.CentroMonoblocco && CentSensPan == a.CentSensPan &&
                   CentSens3D == a.CentSens3D && PosMorso == a.PosMorso && DimPixelPano == a.DimPixelPano &&
                   InclinazHDx == a.InclinazHDx && XCentroHDx == a.XCentroHDx && YCentroHDx == a.YCentroHDx &&
                   InclinazHSx == a.InclinazHSx && XCentroHSx == a.XCentroHSx && YCentroHSx == a.YCentroHSx &&
                   DistanzaCVR == a.DistanzaCVR && PosHOrtho == a.PosHOrtho
               ? 1
               : 0;
}
