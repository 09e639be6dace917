#include "core/ImmagineProiezione.h"

#include <algorithm>
#include <cmath>

#include "core/Crc16.h"
#include "core/Numerico.h"
#include "platform/Bytes.h"

namespace {

constexpr std::size_t OFFSET_ASSI[4] = {19, 49, 79, 109};
constexpr std::size_t DIM_ASSE = 30;

bool Entra16(std::int32_t v)
{
    return v >= -32768 && v <= 65535;
}
bool Entra8(std::int32_t v)
{
    return v >= -128 && v <= 255;
}

bool Entra32(double v)
{
    return std::isfinite(v) && v > -2147483649.0 && v < 2147483648.0;
}

}  // namespace

std::uint32_t ImmagineParolaFlag(const CParametriFileDat& d, bool stf, bool scout)
{
    std::uint32_t f = (d.TFCanUpdate != 0 ? 1u : 0u) | (d.TMCanUpdate != 0 ? 2u : 0u) | (d.YCanMove != 0 ? 4u : 0u);
    f |= stf ? 1u << 4 : 0u;
    f |= d.CephPatientPos >= 0 ? static_cast<std::uint32_t>(d.CephPatientPos & 7) << 5 : 0u;
    f |= (d.PanKeybPos != 0 ? 1u : 2u) << 8;
    f |= d.Group == 3 && d.CephArmPos != -1 ? static_cast<std::uint32_t>(d.CephArmPos & 3) << 10 : 0u;
    f |= static_cast<std::uint32_t>(d.BiteBlockConf & 15) << 12;
    f |= scout ? 1u << 16 : 0u;
    return f;
}

bool ImmagineUnitaMotore(double posizione, double stepPerUnita, std::int32_t& unita)
{
    const double v = posizione * stepPerUnita;
    if (!Entra32(v > 0 ? v + 0.5 : v - 0.5))
        return false;
    unita = UnitaMotore(posizione, stepPerUnita);
    return true;
}

bool ImmagineTronca(double valore, std::int32_t& intero)
{
    if (!Entra32(valore))
        return false;
    intero = TroncaInt(valore);
    return true;
}

bool ImmagineCampiValidi(const INTESTAZIONE_IMMAGINE& t, const SOTTOIMMAGINE* s, int m, const SCOUT_IMMAGINE& scout)
{
    bool ok = Entra8(t.Version) && Entra16(t.Group) && Entra16(t.TipoProiezione) && Entra8(t.ApsRangeMin) &&
              Entra8(t.ApsRangeMax) && Entra16(t.PrmCollimOffset1) && Entra16(t.PrmCollimOffset2) &&
              Entra16(t.XAxisCorrFact) && Entra16(t.YAxisCorrLen) && Entra16(t.YAxisCorrMin) &&
              Entra16(t.YAxisCorrMax) && Entra16(t.YAxisOpenMouth);
    ok = ok && Entra16(m) && Entra16(scout.Offset) && Entra16(scout.Colonne) && Entra8(scout.KV) &&
         Entra8(scout.MA) && Entra16(scout.CollMin) && Entra16(scout.CollMax);
    long long somma = 0;
    for (int i = 0; ok && i < m; ++i) {
        somma += s[i].Colonne;
        ok = ok && s[i].Colonne >= 0;
        for (std::int32_t margine : s[i].Margini)
            ok = ok && Entra16(margine);
    }
    return ok && somma >= 0 && somma <= 65535;
}

void ImmagineScriviIntestazione(std::uint8_t* b, const INTESTAZIONE_IMMAGINE& t)
{
    PutU8(b, 0, static_cast<std::uint32_t>(t.Version));
    PutU16(b, 1, static_cast<std::uint32_t>(t.Group));
    PutU16(b, 3, static_cast<std::uint32_t>(t.TipoProiezione));
    PutU32(b, 5, t.Flag);
    PutU8(b, 9, static_cast<std::uint32_t>(t.ApsRangeMin));
    PutU8(b, 10, static_cast<std::uint32_t>(t.ApsRangeMax));
    PutU16(b, 11, static_cast<std::uint32_t>(t.PrmCollimOffset1));
    PutU16(b, 13, static_cast<std::uint32_t>(t.PrmCollimOffset2));
    PutI32(b, 15, t.ScnCollimOffset);
    const std::int32_t parole[4][5] = {
        {t.XAxisCorrFact, 0, 0, 0, 0},
        {0, t.YAxisCorrLen, t.YAxisCorrMin, t.YAxisCorrMax, t.YAxisOpenMouth},
        {0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0},
    };
    for (int a = 0; a < 4; ++a) {
        const std::size_t o = OFFSET_ASSI[a];
        PutI32(b, o, t.Ini[a]);
        PutI32(b, o + 4, 0);
        PutI32(b, o + 8, 0);
        PutI32(b, o + 12, t.Res[a]);
        PutI32(b, o + 16, t.Out[a]);
        for (int w = 0; w < 5; ++w)
            PutU16(b, o + 20 + 2 * static_cast<std::size_t>(w), static_cast<std::uint32_t>(parole[a][w]));
    }
    std::fill(b + OFFSET_ASSI[3] + DIM_ASSE, b + IMMAGINE_OFFSET_NUM_SOTTOIMMAGINI, std::uint8_t{0});
}

void ImmagineScriviSottoimmagini(std::uint8_t* b, const SOTTOIMMAGINE* s, int m)
{
    m = std::clamp(m, 0, IMMAGINE_MAX_SOTTOIMMAGINI);
    std::uint32_t somma = 0;
    for (int i = 0; i < m; ++i) {
        const std::size_t o = IMMAGINE_OFFSET_SOTTOIMMAGINI + IMMAGINE_DIM_SOTTOIMMAGINE * static_cast<std::size_t>(i);
        std::fill(b + o, b + o + IMMAGINE_DIM_SOTTOIMMAGINE, std::uint8_t{0});
        PutI32(b, o, s[i].Fattore);
        PutI32(b, o + 4, s[i].Fattore);
        // Bits 1-2 carry the left/right note; a note outside 0-3 is not one the unit knows.
        if (s[i].Nota >= 0 && s[i].Nota <= 3)
            PutU8(b, o + 14, static_cast<std::uint32_t>(s[i].Nota) << 1);
        PutI32(b, o + 15, s[i].Colonne);
        for (std::size_t k = 0; k < 4; ++k)
            PutU16(b, o + 19 + 2 * k, static_cast<std::uint32_t>(s[i].Margini[k]));
        somma += static_cast<std::uint32_t>(s[i].Colonne);
    }
    PutU16(b, IMMAGINE_OFFSET_NUM_SOTTOIMMAGINI, static_cast<std::uint32_t>(m));
    PutU16(b, IMMAGINE_OFFSET_SOMMA_COLONNE, somma);
}

bool ImmaginePassoValido(const PASSO_TRAIETTORIA& p)
{
    // Stored words are sign-magnitude and settings are percentages: a negative value has no record form.
    for (std::int32_t w : {p.iX, p.iY, p.iR, p.iH, p.iC})
        if (w < 0 || w > 65535)
            return false;
    return p.iKV >= 0 && p.iKV <= 255 && p.imA >= 0 && p.imA <= 255;
}

bool ImmagineAggiungiPasso(std::uint8_t* b, const PASSO_TRAIETTORIA& p)
{
    const int k = GetU16(b, IMMAGINE_OFFSET_NUM_PASSI);
    if (k >= IMMAGINE_MAX_PASSI)
        return false;
    const std::size_t o = IMMAGINE_OFFSET_PASSI + IMMAGINE_DIM_PASSO * static_cast<std::size_t>(k);
    PutU16(b, o, static_cast<std::uint32_t>(p.iX));
    PutU16(b, o + 2, static_cast<std::uint32_t>(p.iY));
    PutU16(b, o + 4, static_cast<std::uint32_t>(p.iR));
    PutU16(b, o + 6, static_cast<std::uint32_t>(p.iH));
    PutU16(b, o + 8, static_cast<std::uint32_t>(p.iC));
    PutU8(b, o + 10, static_cast<std::uint32_t>(p.iKV));
    PutU8(b, o + 11, static_cast<std::uint32_t>(p.imA));
    PutU16(b, IMMAGINE_OFFSET_NUM_PASSI, static_cast<std::uint32_t>(k + 1));
    return true;
}

void ImmagineAggiungiPassiZero(std::uint8_t* b, int n)
{
    const int k = GetU16(b, IMMAGINE_OFFSET_NUM_PASSI);
    const int fine = std::min(k + n, IMMAGINE_MAX_PASSI);
    for (int i = k; i < fine; ++i) {
        const std::size_t o = IMMAGINE_OFFSET_PASSI + IMMAGINE_DIM_PASSO * static_cast<std::size_t>(i);
        std::fill(b + o, b + o + IMMAGINE_DIM_PASSO, std::uint8_t{0});
    }
    PutU16(b, IMMAGINE_OFFSET_NUM_PASSI, static_cast<std::uint32_t>(std::max(k, fine)));
}

void ImmagineScriviScout(std::uint8_t* b, const SCOUT_IMMAGINE& s)
{
    const std::size_t o = IMMAGINE_OFFSET_SCOUT;
    PutU16(b, o, static_cast<std::uint32_t>(s.Offset));
    PutU16(b, o + 2, static_cast<std::uint32_t>(s.Colonne));
    for (std::size_t a = 0; a < 4; ++a)
        PutI32(b, o + 4 + 4 * a, s.Pos[a]);
    PutU8(b, o + 20, static_cast<std::uint32_t>(s.KV));
    PutU8(b, o + 21, static_cast<std::uint32_t>(s.MA));
    PutU16(b, o + 22, static_cast<std::uint32_t>(s.CollMin));
    PutU16(b, o + 24, static_cast<std::uint32_t>(s.CollMax));
}

void ImmagineScriviCRC(std::uint8_t* b)
{
    const std::uint16_t crc = CalcolaCRC16X25(b, IMMAGINE_OFFSET_CRC);
    b[IMMAGINE_OFFSET_CRC] = static_cast<std::uint8_t>(crc >> 8);
    b[IMMAGINE_OFFSET_CRC + 1] = static_cast<std::uint8_t>(crc & 0xFFu);
}
