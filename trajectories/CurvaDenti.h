#pragma once

#include "../core/LimitiEParametri.h"
#include "../core/Punto2DKorvane.h"

// The patient's dental arch in the unit's horizontal plane: two even polynomials joined by two
// fillet arcs and a line, turned into points a fixed chord apart.
class KORVANE_API CCurvaDenti {
public:
    explicit CCurvaDenti(CLimitiEParametri limiti);
    CCurvaDenti(const CCurvaDenti&) = default;
    CCurvaDenti& operator=(const CCurvaDenti& altra);
    int operator==(const CCurvaDenti& altra) const;

    double GetPassoPuntimm() const { return static_cast<double>(PassoPuntimm); }
    ArrayPunti2D& GetArrayCurvaDenti() { return ArrayCurvaDenti; }
    void ResetToWelander();
    int CalcolaCurva(CString& errore);
    // The ".crv" file; ".crv" is appended to a name that does not end with it (case-sensitive).
    int SalvaCurva(CString* nome) const;
    int CaricaCurva(CString* nome);

    double A0Denti, A2Denti, A4Denti, A6Denti;
    double A0Mandibola, A2Mandibola, A4Mandibola, A6Mandibola;
    // Left unset by the interface: an adult arch that meets the default polynomials.
    float XFineDentimm = 25.0f;
    float RRaccordo1mm = 20.0f;
    float PendenzaRettadeg = -60.0f;
    float RRaccordo2mm = 20.0f;
    float XFinaleSxmm = -60.0f;
    float XFinaleDxmm = 60.0f;
    float PassoPuntimm = 1.0f;
    ArrayPunti2D ArrayCurvaDenti;
    CLimitiEParametri LimitiEParametri;

private:
    double Denti(double x) const;
    double Mandibola(double x) const;
    double DerivataDenti(double x) const;
    double DerivataMandibola(double x) const;
    CPunto2DKorvane PuntoOffsetMandibola(double x, double d) const;
};
