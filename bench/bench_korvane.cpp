// Speed of the main jobs: the CB3D scan through the flat API, its pieces, and the head check.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "examples/EsameCefalometrico.h"
#include "examples/EsameLineare.h"
#include "examples/MacchinaEsempio.h"
#include "korvane.h"
#include "platform/CRgn.h"

namespace {

void CaricaTesta()
{
    CString err;
    CSezione::UsaTestonaDiDefault(err);
}

void BM_CB3D_GeneraEdEsporta(benchmark::State& stato)
{
    const CLimitiEParametri m = MacchinaEsempio();
    DLL_KORVANE_SetLimitiEParametri(&m);
    DLL_KORVANE_UsaTestaDiDefault();
    ParamTrjCB3D p;
    p.fTempoScansione = 20.0f;
    std::vector<unsigned char> buffer(DIMENSIONE_BUFFER_PASSI);
    std::vector<PUNTO_TRAIETTORIA> stati(4000);
    for (auto _ : stato) {
        int d = 0, n = 0;
        if (!DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, d, n) ||
            !DLL_KORVANE_GetTraiettoria(buffer.data(), stati.data(), d, static_cast<int>(stati.size())))
            stato.SkipWithError("the scan was refused");
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(BM_CB3D_GeneraEdEsporta)->Unit(benchmark::kMicrosecond);

// The CRC alone, over the 37291 bytes it covers in the exported buffer of that scan.
void BM_CRC16X25_Buffer(benchmark::State& stato)
{
    const CLimitiEParametri m = MacchinaEsempio();
    DLL_KORVANE_SetLimitiEParametri(&m);
    DLL_KORVANE_UsaTestaDiDefault();
    std::vector<unsigned char> buffer(DIMENSIONE_BUFFER_PASSI);
    int d = 0, n = 0;
    if (!DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(ParamTrjCB3D(), d, n) ||
        !DLL_KORVANE_GetTraiettoria(buffer.data(), nullptr, d, 0))
        stato.SkipWithError("the scan was refused");
    for (auto _ : stato)
        benchmark::DoNotOptimize(CalcolaCRC16X25(buffer.data(), IMMAGINE_OFFSET_CRC));
    stato.SetBytesProcessed(static_cast<std::int64_t>(stato.iterations() * IMMAGINE_OFFSET_CRC));
}
BENCHMARK(BM_CRC16X25_Buffer)->Unit(benchmark::kMicrosecond);

void BM_Circolare20s(benchmark::State& stato)
{
    CaricaTesta();
    CTraiettoria t(MacchinaEsempio());
    for (auto _ : stato) {
        t.TempoScansionesCirc = 20.0;
        t.AmpiezzaArcodeg = 360.0;
        t.PosInizArcodeg = -180.0;
        t.RCerchioXYmm = 5.0;
        t.CalcolaTraiettoriaCircolare(nullptr);
        t.GetErrorString();
        benchmark::DoNotOptimize(t.ArrayPassi.GetData());
    }
}
BENCHMARK(BM_Circolare20s)->Unit(benchmark::kMicrosecond);

void BM_CurvaDentiPredefinita(benchmark::State& stato)
{
    CCurvaDenti c(MacchinaEsempio());
    c.PassoPuntimm = 1.0f;
    // The right end moves by a micrometre and back, so each curve is computed, not remembered.
    bool sposta = false;
    for (auto _ : stato) {
        sposta = !sposta;
        c.XFinaleDxmm = sposta ? 59.999f : 60.0f;
        CString err;
        if (!c.CalcolaCurva(err))
            stato.SkipWithError("the curve did not compute");
        benchmark::DoNotOptimize(c.ArrayCurvaDenti.GetData());
    }
}
BENCHMARK(BM_CurvaDentiPredefinita)->Unit(benchmark::kMicrosecond);

void BM_RaccordoArmonicoQuattroAssi(benchmark::State& stato)
{
    CaricaTesta();
    CRaccordo r(MacchinaEsempio());
    r.PuntoIniziale.dPosX = -40;
    r.PuntoIniziale.dPosY = 22;
    r.PuntoIniziale.dPosR = -199.8;
    r.PuntoFinale.dPosX = 5;
    r.PuntoFinale.dPosY = -3;
    r.PuntoFinale.dPosR = -180;
    r.PuntoFinale.dPosH = 20;
    r.PuntoFinale.dVelR = 18;
    for (auto _ : stato) {
        r.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_3D);
        benchmark::DoNotOptimize(r.ArrayPassi.GetData());
    }
}
BENCHMARK(BM_RaccordoArmonicoQuattroAssi)->Unit(benchmark::kMicrosecond);

void BM_RaccordoLineare(benchmark::State& stato)
{
    CaricaTesta();
    CRaccordo r(MacchinaEsempio());
    r.TipoRaccordo = CRaccordo::RACCORDO_LINEARE;
    r.IgnoraPuntoInizia = 1;
    r.PuntoFinale.dPosX = -40;
    r.PuntoFinale.dPosR = -180;
    r.PuntoFinale.dVelR = 18;
    for (auto _ : stato) {
        r.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_3D);
        benchmark::DoNotOptimize(r.ArrayPassi.GetData());
    }
}
BENCHMARK(BM_RaccordoLineare)->Unit(benchmark::kMicrosecond);

// The example cephalometric exam, 5 s at 20 ms; the kind runs no head check.
void BM_Cefalometrica5s(benchmark::State& stato)
{
    CTraiettoria t = EsameCefalometrico(MacchinaEsempio());
    for (auto _ : stato) {
        t.TempoScansionesCef = 5.0f;
        t.SpostamentoPiumm = 200.0f;
        if (!t.CalcolaTraiettoriaCefalometrica(nullptr))
            stato.SkipWithError("the scan was refused");
        benchmark::DoNotOptimize(t.ArrayPassi.GetData());
    }
}
BENCHMARK(BM_Cefalometrica5s)->Unit(benchmark::kMicrosecond);

// The example linear exam, a 50 mm segment in 3.2 s at 20 ms, with its head check.
void BM_Lineare50mm(benchmark::State& stato)
{
    CaricaTesta();
    CTraiettoria t = EsameLineare(MacchinaEsempio());
    for (auto _ : stato) {
        if (!t.CalcolaTraiettoriaLineare(nullptr) || !t.GetErrorString().empty())
            stato.SkipWithError("the scan was refused or left a message");
        benchmark::DoNotOptimize(t.ArrayPassi.GetData());
    }
}
BENCHMARK(BM_Lineare50mm)->Unit(benchmark::kMicrosecond);

// A 3000-step section turning the arm around the head, for the two ways of testing a point.
CSezione SezioneDiProva()
{
    CSezione s(MacchinaEsempio());
    s.PuntoIniziale.dPosR = -180.0;
    PASSO_TRAIETTORIA passo;
    passo.iR = ParolaVelocita(6.0, s.LimitiEParametri.AsseR.StepPerUnita, s.LimitiEParametri.AsseR.StepSPerLSB);
    passo.iX = ParolaInSegnoModulo(ParolaVelocita(-0.3, 800, 1.953125));
    for (int i = 0; i < 3000; ++i)
        s.ArrayPassi.Add(passo);
    return s;
}

void BM_AntiCollisione_Bande(benchmark::State& stato)
{
    CaricaTesta();
    const CSezione s = SezioneDiProva();
    for (auto _ : stato) {
        CString err;
        benchmark::DoNotOptimize(s.ControlloAntiCollisione(err, CSezione::ANTICOLLISIONE_3D));
    }
}
BENCHMARK(BM_AntiCollisione_Bande)->Unit(benchmark::kMicrosecond);

// The same check testing every point against the polygon edge by edge (winding number).
bool DentroLatoPerLato(const std::vector<CPoint>& p, int x, int y)
{
    int w = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const CPoint& a = p[i];
        const CPoint& b = p[(i + 1) % p.size()];
        const long long lato = static_cast<long long>(b.x - a.x) * (y - a.y) - static_cast<long long>(x - a.x) * (b.y - a.y);
        if (a.y <= y) {
            if (b.y > y && lato > 0)
                ++w;
        } else if (b.y <= y && lato < 0) {
            --w;
        }
    }
    return w != 0;
}

void BM_AntiCollisione_LatoPerLato(benchmark::State& stato)
{
    const CSezione s = SezioneDiProva();
    std::vector<CPoint> poligono;
    for (int i = 0; i < TESTA_DEFAULT_NUM_PUNTI; ++i)
        poligono.push_back(CPunto2DKorvane(TESTA_DEFAULT[2 * i], TESTA_DEFAULT[2 * i + 1]).GetPunto());
    const CLimitiEParametri& l = s.LimitiEParametri;
    for (auto _ : stato) {
        double x = s.PuntoIniziale.dPosX, y = s.PuntoIniziale.dPosY, phi = s.PuntoIniziale.dPosR;
        bool urto = false;
        for (int i = -1; i < s.ArrayPassi.GetSize() && !urto; ++i) {
            if (i >= 0) {
                const PASSO_TRAIETTORIA& p = s.ArrayPassi[i];
                x += VelocitaDaMemorizzata(p.iX, l.AsseX.StepPerUnita, l.AsseX.StepSPerLSB) * l.PassoTemporale;
                y += VelocitaDaMemorizzata(p.iY, l.AsseY.StepPerUnita, l.AsseY.StepSPerLSB) * l.PassoTemporale;
                phi += VelocitaDaMemorizzata(p.iR, l.AsseR.StepPerUnita, l.AsseR.StepSPerLSB) * l.PassoTemporale;
            }
            const double r = GradiARadianti(phi);
            const CPoint tubo = CPunto2DKorvane(x + l.CentroMonoblocco * std::cos(r), y + l.CentroMonoblocco * std::sin(r)).GetPunto();
            const CPoint sensore = CPunto2DKorvane(x - l.CentSens3D * std::cos(r), y - l.CentSens3D * std::sin(r)).GetPunto();
            urto = DentroLatoPerLato(poligono, tubo.x, tubo.y) || DentroLatoPerLato(poligono, sensore.x, sensore.y);
        }
        benchmark::DoNotOptimize(urto);
    }
}
BENCHMARK(BM_AntiCollisione_LatoPerLato)->Unit(benchmark::kMicrosecond);

// Building the head region: the default outline, and 3000 points on an ellipse over a million rows.
void BM_RegioneTesta(benchmark::State& stato)
{
    std::vector<CPoint> p;
    const int n = static_cast<int>(stato.range(0));
    for (int i = 0; i < n; ++i) {
        const double t = 2.0 * 3.141592653589793 * i / n;
        p.push_back(n == TESTA_DEFAULT_NUM_PUNTI
                        ? CPunto2DKorvane(TESTA_DEFAULT[2 * i], TESTA_DEFAULT[2 * i + 1]).GetPunto()
                        : CPunto2DKorvane(200000.0 * std::cos(t), 500000.0 * std::sin(t)).GetPunto());
    }
    for (auto _ : stato) {
        CRgn r;
        if (!r.CreatePolygonRgn(p.data(), n, WINDING))
            stato.SkipWithError("the region was refused");
        benchmark::DoNotOptimize(r.GetRegionData());
    }
}
BENCHMARK(BM_RegioneTesta)->Arg(TESTA_DEFAULT_NUM_PUNTI)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
