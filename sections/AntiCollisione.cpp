#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/Numerico.h"
#include "platform/CRgn.h"
#include "platform/File.h"
#include "platform/Locale.h"
#include "resources/Messaggi.h"
#include "sections/Sezione.h"
#include "sections/TestaDefault.h"

namespace {

// The process-wide reference head: its outline and the region built from it.
ArrayPunti2D& Profilo()
{
    static ArrayPunti2D profilo;
    return profilo;
}

CRgn& Regione()
{
    static CRgn regione;
    return regione;
}

// Rebuilds the region from the outline. With fewer than 3 points the old region stays; otherwise it
// is released first, so a failed rebuild leaves no region and every check reports it.
int RicostruisciRegione(CString& err)
{
    const ArrayPunti2D& p = Profilo();
    if (p.GetSize() < 3) {
        CaricaMessaggio(err, 105);
        return 0;
    }
    std::vector<CPoint> interi;
    interi.reserve(static_cast<size_t>(p.GetSize()));
    for (const CPunto2DKorvane& punto : p)
        interi.push_back(punto.GetPunto());
    Regione().DeleteObject();
    if (!Regione().CreatePolygonRgn(interi.data(), static_cast<int>(interi.size()), WINDING)) {
        CaricaMessaggio(err, 105);
        return 0;
    }
    return 1;
}

bool DentroLaTesta(const CRgn& regione, double x, double y)
{
    const CPoint p = CPunto2DKorvane(x, y).GetPunto();
    return regione.PtInRegion(p.x, p.y) != 0;
}

bool StessiBit(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

}  // namespace

int CSezione::ControlloAntiCollisione(CString& err, TIPO_CONTROLLO_ANTICOLLISIONE modo) const
{
    return ControlloAntiCollisione(err, modo, nullptr);
}

int CSezione::ControlloAntiCollisione(CString& err, TIPO_CONTROLLO_ANTICOLLISIONE modo,
                                      const std::vector<DirezioneBraccio>* direzioni) const
{
    if (modo == ANTICOLLISIONE_NESSUNA)
        return 1;
    const CLimitiEParametri& l = LimitiEParametri;
    const double d = modo == ANTICOLLISIONE_PAN ? l.CentSensPan : modo == ANTICOLLISIONE_3D ? l.CentSens3D : 1000.0;
    if (Profilo().IsEmpty() || Regione().GetRegionData() == 0) {
        CaricaMessaggio(err, 177);
        return 0;
    }
    if (ArrayPassi.IsEmpty()) {
        CaricaMessaggio(err, 104);
        return 0;
    }
    if (ErroreCalcolo)
        CaricaMessaggio(err, 106);
    const double c = l.CentroMonoblocco;
    const double dt = l.PassoTemporale;
    double x = PuntoIniziale.dPosX, y = PuntoIniziale.dPosY, phi = PuntoIniziale.dPosR;
    const CRgn& regione = Regione();
    std::size_t k = 0;
    // Tube first, then sensor, at the start and after every step.
    auto libero = [&]() {
        const bool data = direzioni != nullptr && k < direzioni->size() && StessiBit((*direzioni)[k].gradi, phi);
        const DirezioneBraccio b = data ? (*direzioni)[k] : DirezioneDaGradi(phi);
        ++k;
        return !DentroLaTesta(regione, x + c * b.coseno, y + c * b.seno) &&
               !DentroLaTesta(regione, x - d * b.coseno, y - d * b.seno);
    };
    if (!libero())
        return 0;
    VelocitaParole vx(l.AsseX.StepPerUnita, l.AsseX.StepSPerLSB), vy(l.AsseY.StepPerUnita, l.AsseY.StepSPerLSB);
    VelocitaParole vr(l.AsseR.StepPerUnita, l.AsseR.StepSPerLSB);
    for (const PASSO_TRAIETTORIA& passo : ArrayPassi) {
        x += vx.DaMemorizzata(passo.iX) * dt;
        y += vy.DaMemorizzata(passo.iY) * dt;
        phi += vr.DaMemorizzata(passo.iR) * dt;
        if (!libero())
            return 0;
    }
    return 1;
}

int CSezione::SetArrayTestona(const CArray<CPunto2DKorvane, const CPunto2DKorvane&>* punti, CString& err)
{
    Profilo().RemoveAll();
    if (punti != nullptr)
        Profilo().Append(*punti);
    return RicostruisciRegione(err);
}

int CSezione::LeggiTestonaDaFile(CString percorso, CString& err)
{
    LocaleC guardia;
    FilePtr f(ApriFile(percorso, "r"));
    if (!f) {
        CaricaMessaggio(err, 103);
        return 0;
    }
    Profilo().RemoveAll();
    // A line that does not hold two numbers is skipped; the reading goes on to the end of the file.
    std::string riga;
    while (LeggiFinoAFineRiga(f.get(), riga, 4096)) {
        double x = 0, y = 0;
        if (std::sscanf(riga.c_str(), "%lf,%lf", &x, &y) == 2 && std::isfinite(x) && std::isfinite(y))
            Profilo().Add(CPunto2DKorvane(x, y));
    }
    return RicostruisciRegione(err);
}

int CSezione::UsaTestonaDiDefault(CString& err)
{
    Profilo().RemoveAll();
    Profilo().Reserve(TESTA_DEFAULT_NUM_PUNTI);
    for (int i = 0; i < TESTA_DEFAULT_NUM_PUNTI; ++i)
        Profilo().Add(CPunto2DKorvane(TESTA_DEFAULT[2 * i], TESTA_DEFAULT[2 * i + 1]));
    return RicostruisciRegione(err);
}

int CSezione::GetProfiloTestaNumPunti()
{
    return Profilo().GetSize();
}

CPunto2DKorvane& CSezione::GetProfiloTestaPunto(int i)
{
    return Profilo()[i];
}

const CRgn* CSezione::GetProfiloTestaRegion()
{
    return &Regione();
}
