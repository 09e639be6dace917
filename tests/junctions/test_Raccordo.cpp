#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "core/Numerico.h"
#include "junctions/Raccordo.h"
#include "junctions/harmonic/Harmonic3Link.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"
#include "tests/support/CicloArmonico.h"

namespace {

CRaccordo Armonico(const PUNTO_TRAIETTORIA& da, const PUNTO_TRAIETTORIA& a)
{
    static const bool testa = TestaDiDefaultPronta();
    EXPECT_TRUE(testa);
    CRaccordo r(MacchinaEsempio());
    r.PuntoIniziale = da;
    r.PuntoFinale = a;
    return r;
}

// Far from the head on every axis, so only the junction rules speak.
PUNTO_TRAIETTORIA Lontano(double dx = 0, double dr = 0)
{
    return PuntoProva(-40 + dx, 22, -150 + dr, 10);
}

// The harmonic junction as its steps are written down, plainly, over the outside profile function:
// its duration, and the signed X, Y, R, H words, then iC, imA and kV (never set), of every step.
struct Modello {
    double T;
    std::vector<std::array<int, 7>> passi;
    double scarto;  // the largest miss of an axis's end point, in velocity quanta over one step
};

Modello ArmonicoLetterale(const CRaccordo& r)
{
    const CLimitiEParametri& m = r.LimitiEParametri;
    const double dt = m.PassoTemporale;
    const PUNTO_TRAIETTORIA &S = r.PuntoIniziale, &E = r.PuntoFinale;
    const double pS[4] = {S.dPosX, S.dPosY, S.dPosR, S.dPosH}, vS[4] = {S.dVelX, S.dVelY, S.dVelR, S.dVelH};
    const double pE[4] = {E.dPosX, E.dPosY, E.dPosR, E.dPosH}, vE[4] = {E.dVelX, E.dVelY, E.dVelR, E.dVelH};
    const PARAMETRI_ASSE* ax[4] = {&m.AsseX, &m.AsseY, &m.AsseR, &m.AsseH};
    double out[4][10];
    auto profili = [&](double T) {
        for (int k = 0; k < 4; ++k) {
            double in[7] = {T, pS[k], vS[k], pE[k], vE[k], ax[k]->MaxAcc * r.MaxAccPercento / 100, dt};
            Harmonic_3Link_mode(in, out[k], 7, 10);
        }
    };
    profili(0);
    double Tmin = 0;
    for (auto& o : out)
        if (o[0] >= 0)
            Tmin = std::max(Tmin, o[0]);
    Tmin = std::ceil(Tmin / dt + 2) * dt;
    const int kS = S.iKV, kE = E.iKV, g = r.GestioneRaggi;
    bool inizio = false, fine = false, sempre = false;
    if ((kS == 0 && kE >= 1) || (kS > 0 && kE == 0)) {
        (kS == 0 ? fine : inizio) = true;
        Tmin = std::max(Tmin, 0.5);
    } else if (kS > 0 && kE > 0) {
        sempre = g == 2 || (g == 0 && Tmin < 2.3);
        inizio = fine = g == 1 || (g == 0 && Tmin >= 2.3);
        if (g == 1)
            Tmin = std::max(Tmin, 1.02);
    }
    const double T = std::ceil((Tmin > r.TempoRaccordos || r.UsaTempoMinimo ? Tmin : r.TempoRaccordos) / dt) * dt;
    profili(T);
    Modello mod{T, {}, 0.0};
    double raggiunta[4] = {pS[0], pS[1], pS[2], pS[3]};
    for (double t = 0; T - dt / 2 > t;) {
        t = t + dt;
        std::array<int, 7> p{};
        for (int k = 0; k < 4; ++k) {
            const double pos = PosizioneNelCiclo(out[k], pS[k], vS[k], vE[k], T, dt, t);
            const double q = (pos - raggiunta[k]) / dt * ax[k]->StepPerUnita / ax[k]->StepSPerLSB;
            p[k] = static_cast<int>(std::trunc(q > 0 ? q + 0.5 : q - 0.5));
            raggiunta[k] += p[k] / ax[k]->StepPerUnita * ax[k]->StepSPerLSB * dt;
        }
        p[4] = sempre ? 10 : 0;
        if (sempre)
            p[5] = static_cast<int>(std::trunc(S.imA * (1 - t / T) + E.imA * t / T + 0.5));
        else
            p[5] = inizio && t - dt / 2 < 0.5 ? S.imA : fine && (T - t) + dt / 2 < 0.5 ? E.imA : 0;
        mod.passi.push_back(p);
    }
    for (int k = 0; k < 4; ++k)
        mod.scarto =
            std::max(mod.scarto, std::fabs(raggiunta[k] - pE[k]) * ax[k]->StepPerUnita / ax[k]->StepSPerLSB / dt);
    return mod;
}

}  // namespace

TEST(RaccordoArmonico, LetteraleSuRaccordiCasuali)
{
    std::mt19937_64 g(2024);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int n = 0; n < 3000; ++n) {
        PUNTO_TRAIETTORIA da = PuntoProva(-40 + 10 * u(g), 22 + 10 * u(g), -100 + 30 * u(g), 50 + 20 * u(g), n % 3 ? 0 : 80, 40);
        PUNTO_TRAIETTORIA a = PuntoProva(-40 + 10 * u(g), 22 + 10 * u(g), -100 + 30 * u(g), 50 + 20 * u(g), n % 5 ? 0 : 80, 60);
        if (n % 2)
            da.dVelX = 10 * u(g), a.dVelR = 10 * u(g);
        CRaccordo r = Armonico(da, a);
        r.GestioneRaggi = (n / 15) % 3, r.UsaTempoMinimo = n % 4 ? 1 : 0;
        r.TempoRaccordos = 3 * (u(g) + 1), r.MaxAccPercento = 80 + 20 * u(g);
        const Modello atteso = ArmonicoLetterale(r);
        r.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
        ASSERT_EQ(r.TempoRaccordos, atteso.T) << n;
        std::vector<std::array<int, 7>> passi;
        for (const PASSO_TRAIETTORIA& s : r.ArrayPassi)
            passi.push_back({DecodificaParola(s.iX), DecodificaParola(s.iY), DecodificaParola(s.iR),
                             DecodificaParola(s.iH), s.iC, s.imA, s.iKV});
        ASSERT_EQ(passi, atteso.passi) << n;
        // The words carry every axis to its end point within one quantum.
        EXPECT_LE(atteso.scarto, 1.0) << n;
    }
    // Equal rest points still take two steps; 0.2 mm from rest to rest takes
    // ceil(0.0886 / 0.02 + 2) x 0.02 = 0.14000000000000001 s, then 8 whole steps.
    for (auto [dx, passi] : {std::pair{0.0, 2}, {0.2, 8}}) {
        CRaccordo r = Armonico(PuntoProva(0, 22, -150, 10), PuntoProva(dx, 22, -150, 10));
        r.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
        EXPECT_EQ(r.ArrayPassi.GetSize(), passi) << dx;
    }
}

TEST(RaccordoArmonico, LimitiEIngressiCattivi)
{
    CRaccordo oltre = Armonico(Lontano(), PuntoProva(79.9, 22, -150, 10));
    oltre.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
    EXPECT_EQ(std::tuple(oltre.ErroreCalcolo, oltre.StringaErrore, oltre.ArrayPassi.IsEmpty()),
              std::tuple(1, TestoMessaggio(121), false));

    // What no computation can start from: the flag, no steps, and a message naming the value.
    const struct { void (*guasta)(CRaccordo&); int messaggio; } casi[] = {
        {[](CRaccordo& r) { r.PuntoFinale.dVelY = std::nan(""); }, MSG_RACCORDO_PUNTO_NON_FINITO},
        {[](CRaccordo& r) { r.LimitiEParametri.PassoTemporale = 0; }, MSG_PASSO_TEMPORALE_NON_VALIDO},
        {[](CRaccordo& r) { r.MaxAccPercento = 0; }, MSG_RACCORDO_ACCELERAZIONE_NON_VALIDA},
        {[](CRaccordo& r) { r.UsaTempoMinimo = 0, r.TempoRaccordos = std::nan(""); }, MSG_RACCORDO_DURATA_NON_VALIDA},
        // A linear ramp from a speed that is not a number, and one whose free end alone is bad.
        {[](CRaccordo& r) { r.TipoRaccordo = 0, r.IgnoraPuntoFinale = 1, r.PuntoIniziale.dVelX = std::nan(""); },
         MSG_RACCORDO_PUNTO_NON_FINITO},
        {[](CRaccordo& r) { r.TipoRaccordo = 0, r.IgnoraPuntoFinale = 1, r.PuntoFinale.dVelX = std::nan(""); }, 0},
    };
    for (const auto& c : casi) {
        CRaccordo r = Armonico(Lontano(), Lontano(1));
        r.ArrayPassi.Add(PASSO_TRAIETTORIA());
        c.guasta(r);
        r.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
        const bool rifiuto = c.messaggio != 0;
        EXPECT_EQ(std::tuple(r.ErroreCalcolo, r.StringaErrore, r.ArrayPassi.IsEmpty(), std::isnan(r.PuntoFinale.dVelX)),
                  std::tuple(int{rifiuto}, rifiuto ? TestoMessaggio(c.messaggio) : L"", rifiuto, false));
    }
    CRaccordo liberi = Armonico(Lontano(), Lontano(1));
    liberi.IgnoraPuntoInizia = liberi.IgnoraPuntoFinale = 1;
    liberi.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_3D);
    EXPECT_TRUE(liberi.ArrayPassi.IsEmpty() && liberi.StringaErrore.empty());
}

TEST(RaccordoLineare, DecelerazioneEPartenzaDaFermo)
{
    CLimitiEParametri m = MacchinaEsempio();
    m.AsseX.MaxAcc = 100;
    // A linear junction free at one end, the other far from the head.
    auto lineare = [&](bool liberoInizio, double vx, int usaMinimo) {
        CRaccordo r(m);
        r.TipoRaccordo = CRaccordo::RACCORDO_LINEARE;
        r.UsaTempoMinimo = usaMinimo;
        (liberoInizio ? r.IgnoraPuntoInizia : r.IgnoraPuntoFinale) = 1;
        (liberoInizio ? r.PuntoFinale : r.PuntoIniziale) = Lontano();
        r.PuntoIniziale.dVelX = vx;
        r.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
        return r;
    };
    const CRaccordo dec = lineare(false, 10.0, 1);
    ASSERT_EQ(dec.ErroreCalcolo, 0) << StringaAUtf8(dec.StringaErrore);
    // 0.125 s to stop is raised to 0.5 s: trunc(0.5 / 0.02 + 1) steps, the last one all zeros.
    ASSERT_EQ(dec.ArrayPassi.GetSize(), 26);
    EXPECT_TRUE(dec.ArrayPassi[25] == PASSO_TRAIETTORIA());
    EXPECT_EQ(dec.ArrayPassi[0].iX, ParolaVelocita(10.0 - 10.0 / 0.52 * 0.02, 800, 1.953125));
    // The end point is where the words take X, slowing down at every step.
    double x = dec.PuntoIniziale.dPosX;
    for (int i = 0; i < dec.ArrayPassi.GetSize(); ++i) {
        x += VelocitaDaMemorizzata(dec.ArrayPassi[i].iX, 800, 1.953125) * 0.02;
        EXPECT_TRUE(i == 0 || DecodificaParola(dec.ArrayPassi[i].iX) <= DecodificaParola(dec.ArrayPassi[i - 1].iX));
    }
    EXPECT_NEAR(dec.PuntoFinale.dPosX, x, 1e-9);
    EXPECT_EQ(dec.PuntoFinale.dVelX, 0.0);
    // Built from the end backwards: no trailing zero step.
    const CRaccordo acc = lineare(true, 0.0, 1), senzaMinimo = lineare(false, 0.0, 0);
    EXPECT_TRUE(acc.ArrayPassi.GetSize() == 25 && acc.PuntoIniziale == acc.PuntoFinale);
    EXPECT_EQ(std::tuple(senzaMinimo.ErroreCalcolo, senzaMinimo.StringaErrore), std::tuple(1, TestoMessaggio(118)));
}

TEST(RaccordoFile, BloccoVersioniENomeLungo)
{
    CRaccordo r(MacchinaEsempio());
    r.Nome = L"Acceleration", r.TempoRaccordos = 1.5, r.GestioneRaggi = 2, r.IgnoraPuntoFinale = 1;
    r.PuntoIniziale = Lontano();
    const std::string testo = Scritto(r);
    EXPECT_EQ(testo.substr(0, 158), "Versione          = 2\nTipoRaccordo      = 1\nNome Raccordo     = Acceleration\n"
                                    "Usa tempo minimo  = 1\nTempo Raccordo s  = 1.500000\nMax acc Percento  = 80.000000\n");
    auto leggi = [](const std::string& t, CRaccordo& dest) { return LeggiBlocco(t, dest).risultato; };
    CRaccordo letto(MacchinaEsempio());
    EXPECT_EQ(leggi(testo, letto), 1);
    EXPECT_TRUE(letto == r);

    // Version 1 has no exposure-handling line and reads it as 0; version 3 is refused.
    CRaccordo vecchio(MacchinaEsempio());
    vecchio.GestioneRaggi = 1;
    EXPECT_EQ(leggi(Togli(Sostituisci(testo, "= 2\nTipo", "= 1\nTipo"), "Gestione raggi    = 2\n"), vecchio), 1);
    EXPECT_EQ(vecchio.GestioneRaggi, 0);
    EXPECT_EQ(leggi(Sostituisci(testo, "= 2\nTipo", "= 3\nTipo"), vecchio), 0);

    CRaccordo l(MacchinaEsempio());
    EXPECT_EQ(leggi(Sostituisci(testo, "Acceleration", std::string(300, 'n')), l), 1);
    EXPECT_EQ(std::tuple(l.Nome, l.TempoRaccordos), std::tuple(std::wstring(255, L'n'), 1.5));
}

TEST(LibreriaArmonica, CaricamentoRifiutoEScelta)
{
    EXPECT_EQ(CRaccordo::IsDLLMorvikCaricata(), 0);
    CRaccordo::CaricaDLLRaccordiArmoniciMorvik();
    EXPECT_EQ(CRaccordo::IsDLLMorvikCaricata(), 1);
    CRaccordo::DeinizializzaDLLRaccordiArmoniciMorvik();
    EXPECT_EQ(CRaccordo::IsDLLMorvikCaricata(), 0);

    // The linked library has the profile function but no status entry: not a run-time library.
    const std::string linkata = std::string(KORVANE_LIB_DIR) + "/libArmonicJunction.so";
    EXPECT_EQ(CRaccordo::CaricaDLLRaccordiArmoniciDaFile(StringaDaUtf8(linkata)), 0);
    EXPECT_EQ(CRaccordo::IsDLLMorvikCaricata(), 0);
    // A loaded library whose every answer fails is used unless the linked one is preferred.
    const std::string marcata = std::string(KORVANE_PLUGIN_DIR) + "/libplugin_armonico_marcato.so";
    ASSERT_EQ(CRaccordo::CaricaDLLRaccordiArmoniciDaFile(StringaDaUtf8(marcata)), 1);
    for (int preferisciLinkata : {0, 1, 0}) {
        CRaccordo::SetUsaDLLZTPerCalcoloRaccordi(preferisciLinkata);
        CRaccordo r = Armonico(Lontano(), Lontano(1));
        r.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_NESSUNA);
        EXPECT_EQ(r.ErroreCalcolo, preferisciLinkata ? 0 : 1) << preferisciLinkata;
    }
    CRaccordo::DeinizializzaDLLRaccordiArmoniciMorvik();
    CRaccordo::SetUsaDLLZTPerCalcoloRaccordi(0);
}
