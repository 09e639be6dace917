#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "api/Korvane.h"
#include "core/Crc16.h"
#include "core/Numerico.h"
#include "resources/Messaggi.h"
#include "sections/Sezione.h"
#include "support/MacchinaEsempio.h"

namespace {

// Reads the buffer byte by byte from its published layout, independently of the exporter.
int U16(const std::vector<unsigned char>& b, size_t o)
{
    return b[o] | (b[o + 1] << 8);
}
int I32(const std::vector<unsigned char>& b, size_t o)
{
    return static_cast<int>(static_cast<unsigned>(b[o]) | (static_cast<unsigned>(b[o + 1]) << 8) |
                            (static_cast<unsigned>(b[o + 2]) << 16) | (static_cast<unsigned>(b[o + 3]) << 24));
}

struct Risultato {
    int esito = 0;
    int dimBuffer = 0;
    int numPunti = 0;
    std::vector<unsigned char> buffer;
    std::vector<PUNTO_TRAIETTORIA> stati;
};

void Prepara(const CLimitiEParametri& m)
{
    DLL_KORVANE_GetErrorString();
    DLL_KORVANE_SetLimitiEParametri(&m);
    ASSERT_EQ(DLL_KORVANE_UsaTestaDiDefault(), 1);
}

Risultato Esporta(int esito, int dimBuffer, int numPunti)
{
    Risultato r;
    r.esito = esito;
    r.dimBuffer = dimBuffer;
    r.numPunti = numPunti;
    if (esito) {
        r.buffer.assign(37293, 0xAA);
        r.stati.resize(static_cast<size_t>(numPunti));
        r.esito = DLL_KORVANE_GetTraiettoria(r.buffer.data(), r.stati.data(), dimBuffer, numPunti);
    }
    return r;
}

Risultato CB3D(ParamTrjCB3D p)
{
    int d = 0, n = 0;
    const int esito = DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, d, n);
    return Esporta(esito, d, n);
}

}  // namespace

TEST(ApiCB3D, ScansioneCompletaSullaMacchinaDiEsempio)
{
    const CLimitiEParametri m = MacchinaEsempio();
    for (int armonici : {1, 0})
        for (int opzioni : {0, 1})
            for (float tempo : {12.0f, 20.0f}) {
                Prepara(m);
                ParamTrjCB3D p;
                p.fTempoScansione = tempo;
                p.fRaggioCerchio = 5.0f;
                p.bRaccordiArmonici = armonici;
                p.iOpzioni = opzioni;
                p.iTipoProiezione = 7;
                p.puntoUscita.dPosX = -0.5;
                p.puntoUscita.dPosR = 12.0;
                const Risultato r = CB3D(p);
                const std::string caso = std::to_string(armonici) + "/" + std::to_string(opzioni) + "/" + std::to_string(tempo);
                ASSERT_EQ(r.esito, 1) << caso << " " << StringaAUtf8(DLL_KORVANE_GetErrorString());
                ASSERT_EQ(r.dimBuffer, 37293);
                const auto& b = r.buffer;
                const std::uint16_t crc = CalcolaCRC16X25(b.data(), 37291);
                EXPECT_EQ(b[37291], crc >> 8) << caso;
                EXPECT_EQ(b[37292], crc & 0xFF) << caso;
                EXPECT_EQ(b[0], 21);
                EXPECT_EQ(U16(b, 1), 5);
                EXPECT_EQ(U16(b, 3), 7);
                EXPECT_EQ(b[10], 32);
                const int passi = U16(b, 1263);
                ASSERT_EQ(passi + 1, r.numPunti);
                const double rMin = m.AsseR.PosMin, rMax = m.AsseR.PosMax;
                const double rInizio = opzioni ? rMax - 0.2 : rMin + 0.2;
                // Linear junctions are free at their rest end: the ramp finds where the scan starts from.
                const PUNTO_TRAIETTORIA& s0 = r.stati[0];
                if (armonici) {
                    EXPECT_EQ(s0.dPosX, -40.0);
                    EXPECT_EQ(s0.dPosY, 22.0);
                    EXPECT_EQ(s0.dPosR, rInizio);
                }
                EXPECT_EQ(I32(b, 19), UnitaMotore(s0.dPosX, m.AsseX.StepPerUnita));
                EXPECT_EQ(I32(b, 49), UnitaMotore(s0.dPosY, m.AsseY.StepPerUnita));
                EXPECT_EQ(I32(b, 79), UnitaMotore(s0.dPosR, m.AsseR.StepPerUnita));
                EXPECT_EQ(I32(b, 35), -400);
                EXPECT_EQ(I32(b, 95), UnitaMotore(12.0, m.AsseR.StepPerUnita));
                // Nothing but the named fields and the records.
                std::vector<unsigned char> senzaCampi = b;
                for (auto [o, n] : {std::pair<size_t, size_t>{0, 5}, {10, 1}, {19, 4}, {35, 4}, {49, 4}, {65, 4}, {79, 4},
                                    {95, 4}, {109, 4}, {125, 4}, {1263, 2 + 12 * static_cast<size_t>(passi)}, {37291, 2}})
                    std::fill_n(senzaCampi.begin() + static_cast<long>(o), n, 0);
                EXPECT_EQ(senzaCampi, std::vector<unsigned char>(37293, 0)) << caso;

                // The axis states are the integrated words; the motion starts and ends at rest.
                const auto& s = r.stati;
                const double dt = m.PassoTemporale;
                // A linear ramp stops within one step of acceleration.
                EXPECT_LE(std::fabs(s[0].dVelX), armonici ? 0.0 : m.AsseX.MaxAcc * dt) << caso;
                EXPECT_LE(std::fabs(s[0].dVelR), armonici ? 0.0 : m.AsseR.MaxAcc * dt) << caso;
                // The scan sweeps a full turn between the junctions.
                EXPECT_GE(std::fabs(s.back().dPosR - s[0].dPosR), 360.0 - 1.0) << caso;
                double xPrec = s[0].dPosX;
                double aMax[4] = {0, 0, 0, 0};
                for (int k = 1; k <= passi; ++k) {
                    const size_t o = 1265 + 12 * static_cast<size_t>(k - 1);
                    const double vx = VelocitaDaMemorizzata(U16(b, o), m.AsseX.StepPerUnita, m.AsseX.StepSPerLSB);
                    ASSERT_DOUBLE_EQ(s[k].dVelX, vx);
                    ASSERT_NEAR(s[k].dPosX, xPrec + vx * dt, 1e-9);
                    xPrec = s[k].dPosX;
                    ASSERT_LE(std::fabs(s[k].dVelX), m.AsseX.MaxVel);
                    ASSERT_LE(std::fabs(s[k].dVelY), m.AsseY.MaxVel);
                    ASSERT_LE(std::fabs(s[k].dVelR), m.AsseR.MaxVel);
                    const double d[4] = {s[k].dVelX - s[k - 1].dVelX, s[k].dVelY - s[k - 1].dVelY,
                                         s[k].dVelR - s[k - 1].dVelR, s[k].dVelH - s[k - 1].dVelH};
                    for (int a = 0; a < 4; ++a)
                        aMax[a] = std::max(aMax[a], std::fabs(d[a]) / dt);
                }
                // One velocity quantum per step on top of the limit.
                const PARAMETRI_ASSE* ax[3] = {&m.AsseX, &m.AsseY, &m.AsseR};
                for (int a = 0; a < 3; ++a)
                    EXPECT_LE(aMax[a], ax[a]->MaxAcc + ax[a]->StepSPerLSB / ax[a]->StepPerUnita / dt) << caso << " axis " << a;
                // At rest after the last step, whose word is the mean speed of the final 20 ms.
                const PUNTO_TRAIETTORIA& fine = s.back();
                EXPECT_LE(std::fabs(fine.dVelX), m.AsseX.MaxAcc * dt) << caso;
                EXPECT_LE(std::fabs(fine.dVelR), m.AsseR.MaxAcc * dt) << caso;
                if (armonici) {
                    EXPECT_NEAR(fine.dPosR, opzioni ? rMin + 0.2 : rMax - 0.2, 0.01) << caso;
                    EXPECT_NEAR(fine.dPosX, -40.0, 0.01) << caso;
                }
            }
}

TEST(ApiCB3D, RifiutiEMessaggi)
{
    CLimitiEParametri stretta = MacchinaEsempio();
    stretta.AsseR.PosMin = -170;
    stretta.AsseR.PosMax = 180;
    Prepara(stretta);
    ParamTrjCB3D p;
    int d = 0, n = 0;
    EXPECT_EQ(DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, d, n), 0);
    const CString messaggio = DLL_KORVANE_GetErrorString();
    EXPECT_EQ(messaggio, TestoMessaggio(179));
    EXPECT_TRUE(DLL_KORVANE_GetErrorString().empty());

    // A message nobody read stops the next generator, and is what the host then reads.
    Prepara(MacchinaEsempio());
    const CLimitiEParametri esatta = MacchinaEsempio();
    DLL_KORVANE_SetLimitiEParametri(&esatta);
    ASSERT_EQ(DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, d, n), 1);
    DLL_KORVANE_SetLimitiEParametri(&stretta);
    EXPECT_EQ(DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, d, n), 0);
    DLL_KORVANE_SetLimitiEParametri(&esatta);
    EXPECT_EQ(DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, d, n), 0);
    EXPECT_EQ(DLL_KORVANE_GetErrorString(), TestoMessaggio(179));
    EXPECT_EQ(DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, d, n), 1);

    // A head in the way.
    Prepara(MacchinaEsempio());
    ArrayPunti2D blocco;
    for (auto [x, y] : {std::pair{-300.0, -300.0}, {300.0, -300.0}, {300.0, 300.0}, {-300.0, 300.0}})
        blocco.Add(CPunto2DKorvane(x, y));
    CString err;
    CSezione::SetArrayTestona(&blocco, err);
    EXPECT_EQ(DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, d, n), 0);
    EXPECT_EQ(DLL_KORVANE_GetErrorString(), TestoMessaggio(178));
}

TEST(ApiCB3D, PassiDellaScansioneComeScritti)
{
    // 16.2f widens to 16.200000762939453: 811 whole steps of time, trunc(810.99999999999989) records.
    Prepara(MacchinaEsempio());
    ParamTrjCB3D p;
    p.fTempoScansione = 16.2f;
    const Risultato r = CB3D(p);
    ASSERT_EQ(r.esito, 1) << StringaAUtf8(DLL_KORVANE_GetErrorString());
    int scansione = 0;
    for (int k = 0; k < U16(r.buffer, 1263); ++k)
        scansione += U16(r.buffer, 1265 + 12 * static_cast<size_t>(k) + 8) == 1000;
    EXPECT_EQ(scansione, 810);
}

TEST(ApiEsporta, RifiutiEDimensioni)
{
    // A machine no computation starts from: both generators refuse it, naming the value.
    CLimitiEParametri senzaPasso = MacchinaEsempio();
    senzaPasso.PassoTemporale = std::nan("");
    Prepara(senzaPasso);
    int d = 0, n = 0;
    PUNTO_TRAIETTORIA da = PuntoProva(0, 22, -150), a = PuntoProva(40, 22, -150);
    EXPECT_EQ(DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(ParamTrjCB3D(), d, n), 0);
    EXPECT_EQ(DLL_KORVANE_GetErrorString(), TestoMessaggio(MSG_PASSO_TEMPORALE_NON_VALIDO));
    EXPECT_EQ(DLL_KORVANE_GeneraTraiettoriaMovimento(da, a, 0, 80, d, n), 0);
    EXPECT_EQ(DLL_KORVANE_GetErrorString(), TestoMessaggio(MSG_PASSO_TEMPORALE_NON_VALIDO));

    // Generated, then refused on export with the buffer untouched: a start at 100 mm/s needs the X word
    // 40960, beyond 15 bits; an exit position that is not a number has no motor steps to stand for it;
    // 160 s at 50 ms a step is beyond the buffer's 3000 records.
    Prepara(MacchinaEsempio());
    da.dVelX = 100;
    ParamTrjCB3D senzaUscita, lungo;
    senzaUscita.puntoUscita.dPosR = std::nan("");
    lungo.fTempoScansione = 160.0f;
    CString parola;
    CaricaMessaggio(parola, MSG_PASSO_NON_ADATTO_ALL_UNITA, 0);
    const struct { std::function<int()> genera; CString messaggio; } casi[] = {
        {[&] { return DLL_KORVANE_GeneraTraiettoriaMovimento(da, a, 0, 80, d, n); }, parola},
        {[&] { return DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(senzaUscita, d, n); },
         TestoMessaggio(MSG_POSIZIONE_NON_ADATTA_ALL_UNITA)},
        {[&] { return DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(lungo, d, n); }, TestoMessaggio(187)}};
    for (const auto& c : casi) {
        ASSERT_EQ(c.genera(), 1);
        std::vector<unsigned char> intatto(37293, 0x55);
        EXPECT_EQ(DLL_KORVANE_GetTraiettoria(intatto.data(), nullptr, 37293, 0), 0);
        EXPECT_EQ(DLL_KORVANE_GetErrorString(), c.messaggio);
        EXPECT_EQ(intatto, std::vector<unsigned char>(37293, 0x55));
    }

    // Nothing asked for is no error; a short buffer is refused before it is written, a short state
    // array after the buffer was filled.
    ASSERT_EQ(DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(ParamTrjCB3D(), d, n), 1);
    std::vector<unsigned char> buffer(37293, 0xAA);
    std::vector<PUNTO_TRAIETTORIA> stati(static_cast<size_t>(n));
    EXPECT_EQ(DLL_KORVANE_GetTraiettoria(nullptr, nullptr, 0, 0), 1);
    EXPECT_EQ(DLL_KORVANE_GetTraiettoria(buffer.data(), nullptr, 37292, 0), 0);
    EXPECT_EQ(DLL_KORVANE_GetErrorString(), TestoMessaggio(181));
    EXPECT_EQ(buffer[0], 0xAA);
    EXPECT_EQ(DLL_KORVANE_GetTraiettoria(buffer.data(), stati.data(), 37293, n - 1), 0);
    EXPECT_EQ(DLL_KORVANE_GetErrorString(), TestoMessaggio(182));
    EXPECT_EQ(buffer[0], 21);
}

TEST(ApiMovimento, MovimentoEPrimoStato)
{
    Prepara(MacchinaEsempio());
    const PUNTO_TRAIETTORIA da = PuntoProva(-40, 22, -150);
    PUNTO_TRAIETTORIA a = da;
    a.dPosX = 10;
    a.dPosR = -120;
    int d = 0, n = 0;
    const int esito = DLL_KORVANE_GeneraTraiettoriaMovimento(da, a, 0.0f, 80.0f, d, n);
    const Risultato r = Esporta(esito, d, n);
    ASSERT_EQ(r.esito, 1) << StringaAUtf8(DLL_KORVANE_GetErrorString());
    EXPECT_TRUE(r.stati[0] == da);
    EXPECT_EQ(U16(r.buffer, 3), 2);
    for (size_t o : {35u, 65u, 95u, 125u})
        EXPECT_EQ(I32(r.buffer, o), 0);
    EXPECT_EQ(U16(r.buffer, 1263) + 1, n);

    // A duration longer than the shortest is kept, in whole steps.
    const int esitoLento = DLL_KORVANE_GeneraTraiettoriaMovimento(da, a, 3.0f, 80.0f, d, n);
    const Risultato lento = Esporta(esitoLento, d, n);
    ASSERT_EQ(lento.esito, 1);
    EXPECT_EQ(n, 151);
}

TEST(ApiCornice, Crc16DiRiferimento)
{
    EXPECT_EQ(CalcolaCRC16X25(reinterpret_cast<const std::uint8_t*>("123456789"), 9), 0x906E);
    EXPECT_EQ(CalcolaCRC16X25(nullptr, 0), 0);
}
