#include "trajectories/CurvaDenti.h"

CCurvaDenti::CCurvaDenti(CLimitiEParametri limiti) : LimitiEParametri(limiti)
{
    ResetToWelander();
}

void CCurvaDenti::ResetToWelander()
{
    A0Denti = 0.0;
    A2Denti = -0.014097;
    A4Denti = -7.3814e-5;
    A6Denti = 0.0;
    A0Mandibola = -5.4341;
    A2Mandibola = -0.040436;
    A4Mandibola = 1.0507e-5;
    A6Mandibola = -2.7483e-9;
}

CCurvaDenti& CCurvaDenti::operator=(const CCurvaDenti& a)
{
    if (this == &a)
        return *this;
    A0Denti = a.A0Denti;
    A2Denti = a.A2Denti;
    A4Denti = a.A4Denti;
    A6Denti = a.A6Denti;
    A0Mandibola = a.A0Mandibola;
    A2Mandibola = a.A2Mandibola;
    A4Mandibola = a.A4Mandibola;
    A6Mandibola = a.A6Mandibola;
    LimitiEParametri = a.LimitiEParametri;
    XFineDentimm = a.XFineDentimm;
    RRaccordo1mm = a.RRaccordo1mm;
    PendenzaRettadeg = a.PendenzaRettadeg;
    RRaccordo2mm = a.RRaccordo2mm;
    XFinaleSxmm = a.XFinaleSxmm;
    XFinaleDxmm = a.XFinaleDxmm;
    PassoPuntimm = a.PassoPuntimm;
    ArrayCurvaDenti.Copy(a.ArrayCurvaDenti);
    return *this;
}

int CCurvaDenti::operator==(const CCurvaDenti& a) const
{
    if (ArrayCurvaDenti.GetSize() != a.ArrayCurvaDenti.GetSize())
        return 0;
    for (int i = 0; i < ArrayCurvaDenti.GetSize(); ++i)
        if (!(ArrayCurvaDenti[i] == a.ArrayCurvaDenti[i]))
            return 0;
    if (A0Denti != a.A0Denti || A2Denti != a.A2Denti || A4Denti != a.A4Denti || A6Denti != a.A6Denti ||
        A0Mandibola != a.A0Mandibola || A2Mandibola != a.A2Mandibola || A4Mandibola != a.A4Mandibola ||
        A6Mandibola != a.A6Mandibola)
        return 0;
    if (!(LimitiEParametri == a.LimitiEParametri))
        return 0;
    return XFineDentimm == a.XFineDentimm && RRaccordo1mm == a.RRaccordo1mm && PendenzaRettadeg == a.PendenzaRettadeg &&
                   RRaccordo2mm == a.RRaccordo2mm && XFinaleSxmm == a.XFinaleSxmm && XFinaleDxmm == a.XFinaleDxmm &&
                   PassoPuntimm == a.PassoPuntimm
               ? 1
               : 0;
}
