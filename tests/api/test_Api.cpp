#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

#include "api/Korvane.h"
#include "core/Crc16.h"
#include "core/Numerico.h"
#include "junctions/AssiRaccordo.h"
#include "resources/Messaggi.h"
#include "sections/Sezione.h"
#include "support/Impronta.h"
#include "support/MacchinaEsempio.h"

namespace {

// Reads the buffer byte by byte from its published layout, independently of the exporter.
int U16(const std::vector<unsigned char>& b, size_t o)
{
    return b[o] | (b[o + 1] << 8);
}

struct Risultato {
    int esito = 0;
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
    Risultato r{esito, {}, {}};
    if (esito) {
        r.buffer.assign(37293, 0xAA);
        r.stati.resize(static_cast<size_t>(numPunti));
        r.esito = DLL_KORVANE_GetTraiettoria(r.buffer.data(), r.stati.data(), dimBuffer, numPunti);
    }
    return r;
}

}  // namespace

TEST(ApiCB3D, ScansioneCompletaSullaMacchinaDiEsempio)
{
    const CLimitiEParametri m = MacchinaEsempio();
    // Both junction kinds in both directions; a scan time whose step count rounds down, on the linear
    // junctions that are free at their rest ends.
    for (auto [armonici, opzioni, tempo] : {std::tuple{1, 0, 12.0f}, {1, 1, 20.0f}, {0, 0, 16.2f}, {0, 1, 16.2f}}) {
        Prepara(m);
        ParamTrjCB3D p;
        p.fTempoScansione = tempo, p.fRaggioCerchio = 5.0f, p.bRaccordiArmonici = armonici, p.iOpzioni = opzioni;
        p.iTipoProiezione = 7, p.puntoUscita.dPosX = -0.5, p.puntoUscita.dPosR = 12.0;
        int dim = 0, punti = 0;
        const int esito = DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, dim, punti);
        const Risultato r = Esporta(esito, dim, punti);
        SCOPED_TRACE(std::to_string(armonici) + "/" + std::to_string(opzioni));
        ASSERT_EQ(r.esito, 1) << StringaAUtf8(DLL_KORVANE_GetErrorString());
        ASSERT_EQ(dim, 37293);
        const auto& b = r.buffer;
        const auto& s = r.stati;
        const int passi = U16(b, 1263);
        ASSERT_EQ(passi + 1, punti);
        // The whole buffer: the header with the projection type asked for, the first state and the exit
        // point in motor steps, the records, the CRC, and zeros elsewhere.
        std::vector<unsigned char> attesa(37293, 0);
        auto metti = [&](size_t o, int valore, size_t n) {
            for (size_t i = 0; i < n; ++i)
                attesa[o + i] = static_cast<unsigned char>(static_cast<unsigned>(valore) >> (8 * i));
        };
        for (auto [o, valore, n] : {std::tuple<size_t, int, size_t>{0, 21, 1}, {1, 5, 2}, {3, 7, 2}, {10, 32, 1}})
            metti(o, valore, n);
        for (size_t a = 0; a < 4; ++a) {
            const auto& [pos, vel, parola, limiti] = ASSI_RACCORDO[a];
            metti(19 + 30 * a, UnitaMotore(s[0].*pos, (m.*limiti).StepPerUnita), 4);
            metti(35 + 30 * a, UnitaMotore(p.puntoUscita.*pos, (m.*limiti).StepPerUnita), 4);
        }
        std::copy_n(b.begin() + 1263, 2 + 12 * passi, attesa.begin() + 1263);
        const int crc = CalcolaCRC16X25(attesa.data(), 37291);
        metti(37291, crc >> 8, 1);
        metti(37292, crc, 1);
        EXPECT_EQ(b, attesa);

        // The exported states are the integrated words of the records, within the acceleration limit up
        // to one velocity quantum per step.
        const double dt = m.PassoTemporale;
        int scansione = 0;
        for (int k = 1; k <= passi; ++k) {
            const size_t record = 1265 + 12 * static_cast<size_t>(k - 1);
            scansione += U16(b, record + 8) == 1000;
            for (size_t a = 0; a < 4; ++a) {
                const auto& [pos, vel, parola, limiti] = ASSI_RACCORDO[a];
                const PARAMETRI_ASSE& l = m.*limiti;
                const double v = VelocitaDaMemorizzata(U16(b, record + 2 * a), l.StepPerUnita, l.StepSPerLSB);
                ASSERT_DOUBLE_EQ(s[k].*vel, v) << k;
                ASSERT_NEAR(s[k].*pos, s[k - 1].*pos + v * dt, 1e-9) << k;
                ASSERT_LE(std::fabs(v - s[k - 1].*vel), l.MaxAcc * dt + l.StepSPerLSB / l.StepPerUnita);
            }
        }
        // 16.2f widens to 16.200000762939453: 811 whole steps of time, trunc(810.99999999999989) scan records.
        EXPECT_TRUE(tempo != 16.2f || scansione == 810) << scansione;
        // From rest to rest through a full turn. Harmonic junctions run between the rest positions at
        // either end of the R range; a linear one is free at its rest end and stops within one step.
        EXPECT_GE(std::fabs(s.back().dPosR - s[0].dPosR), 360.0 - 1.0);
        for (const PUNTO_TRAIETTORIA* q : {&s[0], &s.back()})
            EXPECT_TRUE(std::fabs(q->dVelX) <= m.AsseX.MaxAcc * dt && std::fabs(q->dVelR) <= m.AsseR.MaxAcc * dt);
        const double rInizio = opzioni ? m.AsseR.PosMax - 0.2 : m.AsseR.PosMin + 0.2;
        if (armonici) {
            EXPECT_TRUE(s[0].dPosX == -40.0 && s[0].dPosY == 22.0 && s[0].dPosR == rInizio && s[0].dVelX == 0.0);
            EXPECT_NEAR(s.back().dPosR, m.AsseR.PosMin + m.AsseR.PosMax - rInizio, 0.01);
            EXPECT_NEAR(s.back().dPosX, -40.0, 0.01);
        }
    }
}

TEST(ApiCB3D, RifiutiEMessaggi)
{
    CLimitiEParametri stretta = MacchinaEsempio();
    stretta.AsseR.PosMin = -170, stretta.AsseR.PosMax = 180;
    Prepara(stretta);
    ParamTrjCB3D p;
    int d = 0, n = 0;
    EXPECT_EQ(DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, d, n), 0);
    EXPECT_EQ(DLL_KORVANE_GetErrorString(), TestoMessaggio(179));
    EXPECT_TRUE(DLL_KORVANE_GetErrorString().empty());

    // A message nobody read stops the next generator, and is what the host then reads.
    const CLimitiEParametri esatta = MacchinaEsempio();
    Prepara(esatta);
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
    const PUNTO_TRAIETTORIA da = PuntoProva(-40, 22, -150), a = PuntoProva(10, 22, -120);
    int d = 0, n = 0;
    const int esito = DLL_KORVANE_GeneraTraiettoriaMovimento(da, a, 0.0f, 80.0f, d, n);
    const Risultato r = Esporta(esito, d, n);
    ASSERT_EQ(r.esito, 1) << StringaAUtf8(DLL_KORVANE_GetErrorString());
    EXPECT_TRUE(r.stati[0] == da);
    EXPECT_EQ(U16(r.buffer, 3), 2);
    for (size_t o : {35u, 65u, 95u, 125u})
        EXPECT_EQ(U16(r.buffer, o) | U16(r.buffer, o + 2), 0);

    // A duration longer than the shortest is kept, in whole steps.
    EXPECT_EQ(DLL_KORVANE_GeneraTraiettoriaMovimento(da, a, 3.0f, 80.0f, d, n), 1);
    EXPECT_EQ(n, 151);
}

// Every byte of the buffer and every bit of the states of scans and movements of several kinds,
// against fingerprints of what the export gave before it was reworked for speed.
TEST(ApiEsporta, StessiByteEStatiDiPrima)
{
    using Generatore = std::function<int(int&, int&)>;
    auto scansione = [](float tempo, float raggio, float xc, float yc, int armonici, float acc, int opzioni) {
        ParamTrjCB3D p;
        p.fTempoScansione = tempo, p.fRaggioCerchio = raggio, p.fXCentroRotazione = xc, p.fYCentroRotazione = yc;
        p.bRaccordiArmonici = armonici, p.fMaxAccPercento = acc, p.iOpzioni = opzioni;
        p.imAFrontali = 80, p.imALaterali = 120, p.iTipoProiezione = 3 + opzioni;
        p.puntoUscita = PuntoProva(-0.5, 3.25, 12.0, 4.0);
        return Generatore([p](int& d, int& n) { return DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, d, n); });
    };
    auto movimento = [](PUNTO_TRAIETTORIA da, PUNTO_TRAIETTORIA a, float tempo, float acc) {
        return Generatore([=](int& d, int& n) { return DLL_KORVANE_GeneraTraiettoriaMovimento(da, a, tempo, acc, d, n); });
    };
    PUNTO_TRAIETTORIA lanciato = PuntoProva(5, -3, -180, 20), frenato = PuntoProva(-40, 22, -199.8);
    lanciato.dVelR = 18, lanciato.dVelX = -4, frenato.dVelY = 2.5;
    const struct { Generatore genera; std::uint64_t attesa; } casi[] = {
        {[](int& d, int& n) { return DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(ParamTrjCB3D(), d, n); }, 0x1873920825f75a40},
        {scansione(12, 0, 0, 0, 1, 80, 1), 0xaf61b96ea6f65f08},
        {scansione(16.2f, 0, 0, 0, 0, 80, 0), 0x967037a26b82ff6b},
        {scansione(16.2f, 0, 0, 0, 0, 80, 1), 0x3c8936dc3e2e3a48},
        {scansione(9.5f, 6, 2, -3, 1, 40, 0), 0x5bc7ae8fcb2bc6bc},
        {scansione(18, 6, 2, -3, 1, 40, 0), 0xa30e355cbff16cec},
        {scansione(25, 12.5f, -4, 5, 0, 60, 1), 0xcf6a333b5e7cc60d},
        {scansione(3.3f, 3, 0, 0, 1, 100, 0), 0x48c9933993b6fdf5},
        {scansione(14, 40, 0, 0, 1, 80, 0), 0x9cb7cdab817f48df},
        {movimento(PuntoProva(0, 22, -150), PuntoProva(40, 22, -150), 0, 80), 0x8d74a11d5b8294a2},
        {movimento(frenato, lanciato, 2.5f, 60), 0x2e3e31f449167813},
        {movimento(lanciato, frenato, 0, 100), 0x5354a05e40c49af4},
    };
    int k = 0;
    for (const auto& c : casi) {
        Prepara(MacchinaEsempio());
        int d = 0, n = 0;
        const int esito = c.genera(d, n);
        const Risultato r = Esporta(esito, d, n);
        Impronta h;
        for (int v : {esito, r.esito, d, n})
            h.Intero(v);
        h.Testo(DLL_KORVANE_GetErrorString());
        h.Bytes(r.buffer.data(), r.buffer.size());
        for (const PUNTO_TRAIETTORIA& s : r.stati) {
            for (double v : {s.dPosX, s.dPosY, s.dPosR, s.dPosH, s.dVelX, s.dVelY, s.dVelR, s.dVelH})
                h.Reale(v);
            h.Intero(s.iKV);
            h.Intero(s.imA);
        }
        EXPECT_EQ(h.Valore(), c.attesa) << k++ << " esito " << esito << std::hex << " 0x" << h.Valore();
    }
}
