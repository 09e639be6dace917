#include "LetturaBuffer.h"

#include <algorithm>

#include "platform/Bytes.h"

namespace {
constexpr std::size_t OFFSET_ASSI[4] = {19, 49, 79, 109};
// Header, the two counts, the scout block and the CRC: a projection file's image without records.
constexpr std::size_t DIM_FISSA_COMPATTA = IMMAGINE_FINE_INTESTAZIONE + 2 + IMMAGINE_DIM_SCOUT + 2;
}  // namespace

bool DecodificaBuffer(const std::vector<std::uint8_t>& byte, BufferDecodificato& b, std::string& errore)
{
    if (byte.size() != DIMENSIONE_BUFFER) {
        errore = "a step buffer is " + std::to_string(DIMENSIONE_BUFFER) + " bytes, this one is " +
                 std::to_string(byte.size());
        return false;
    }
    const std::uint8_t* d = byte.data();
    INTESTAZIONE_IMMAGINE& t = b.t;
    t.Version = GetU8(d, 0);
    t.Group = GetU16(d, 1);
    t.TipoProiezione = GetU16(d, 3);
    t.Flag = GetU32(d, 5);
    t.ApsRangeMin = GetU8(d, 9);
    t.ApsRangeMax = GetU8(d, 10);
    t.PrmCollimOffset1 = GetU16(d, 11);
    t.PrmCollimOffset2 = GetU16(d, 13);
    t.ScnCollimOffset = GetI32(d, 15);
    for (int a = 0; a < 4; ++a) {
        t.Ini[a] = GetI32(d, OFFSET_ASSI[a]);
        t.Res[a] = GetI32(d, OFFSET_ASSI[a] + 12);
        t.Out[a] = GetI32(d, OFFSET_ASSI[a] + 16);
    }
    t.XAxisCorrFact = GetU16(d, OFFSET_ASSI[0] + 20);
    t.YAxisCorrLen = GetU16(d, OFFSET_ASSI[1] + 22);
    t.YAxisCorrMin = GetU16(d, OFFSET_ASSI[1] + 24);
    t.YAxisCorrMax = GetU16(d, OFFSET_ASSI[1] + 26);
    t.YAxisOpenMouth = GetU16(d, OFFSET_ASSI[1] + 28);
    b.crcLetto = static_cast<std::uint16_t>((d[IMMAGINE_OFFSET_CRC] << 8) | d[IMMAGINE_OFFSET_CRC + 1]);
    b.crcCalcolato = CalcolaCRC16X25(d, IMMAGINE_OFFSET_CRC);

    const std::size_t m = GetU16(d, IMMAGINE_OFFSET_NUM_SOTTOIMMAGINI);
    const std::size_t n = GetU16(d, IMMAGINE_OFFSET_NUM_PASSI);
    if (m > IMMAGINE_MAX_SOTTOIMMAGINI || n > IMMAGINE_MAX_PASSI) {
        errore = "the header counts " + std::to_string(m) + " sub-images and " + std::to_string(n) +
                 " steps; an image holds " + std::to_string(IMMAGINE_MAX_SOTTOIMMAGINI) + " and " +
                 std::to_string(IMMAGINE_MAX_PASSI);
        return false;
    }
    b.sommaColonne = GetU16(d, IMMAGINE_OFFSET_SOMMA_COLONNE);
    b.sottoimmagini.clear();
    for (std::size_t i = 0; i < m; ++i) {
        const std::size_t o = IMMAGINE_OFFSET_SOTTOIMMAGINI + IMMAGINE_DIM_SOTTOIMMAGINE * i;
        SottoimmagineLetta s;
        s.s.Fattore = GetI32(d, o);
        s.fattoreOrizzontale = GetI32(d, o + 4);
        s.s.Nota = (GetU8(d, o + 14) >> 1) & 3;
        s.s.Colonne = GetI32(d, o + 15);
        for (std::size_t k = 0; k < 4; ++k)
            s.s.Margini[k] = GetU16(d, o + 19 + 2 * k);
        b.sottoimmagini.push_back(s);
    }
    b.passi.clear();
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t o = IMMAGINE_OFFSET_PASSI + IMMAGINE_DIM_PASSO * k;
        PASSO_TRAIETTORIA p;
        p.iX = GetU16(d, o);
        p.iY = GetU16(d, o + 2);
        p.iR = GetU16(d, o + 4);
        p.iH = GetU16(d, o + 6);
        p.iC = GetU16(d, o + 8);
        p.iKV = GetU8(d, o + 10);
        p.imA = GetU8(d, o + 11);
        b.passi.push_back(p);
    }
    const std::size_t o = IMMAGINE_OFFSET_SCOUT;
    b.scout.Offset = GetU16(d, o);
    b.scout.Colonne = GetU16(d, o + 2);
    for (std::size_t a = 0; a < 4; ++a)
        b.scout.Pos[a] = GetI32(d, o + 4 + 4 * a);
    b.scout.KV = GetU8(d, o + 20);
    b.scout.MA = GetU8(d, o + 21);
    b.scout.CollMin = GetU16(d, o + 22);
    b.scout.CollMax = GetU16(d, o + 24);
    return true;
}

bool EspandiImmagineProiezione(const std::vector<std::uint8_t>& file, std::vector<std::uint8_t>& immagine,
                               std::string& errore)
{
    errore = "neither a step buffer (" + std::to_string(DIMENSIONE_BUFFER) +
             " bytes) nor a projection image: " + std::to_string(file.size()) + " bytes";
    if (file.size() < DIM_FISSA_COMPATTA)
        return false;
    const std::uint8_t* d = file.data();
    const std::size_t m = GetU16(d, IMMAGINE_OFFSET_NUM_SOTTOIMMAGINI);
    const std::size_t sotto = IMMAGINE_DIM_SOTTOIMMAGINE * m;
    if (m > IMMAGINE_MAX_SOTTOIMMAGINI || file.size() < DIM_FISSA_COMPATTA + sotto)
        return false;
    const std::size_t n = GetU16(d, IMMAGINE_FINE_INTESTAZIONE + sotto);
    const std::size_t passi = IMMAGINE_DIM_PASSO * n;
    if (n > IMMAGINE_MAX_PASSI || file.size() != DIM_FISSA_COMPATTA + sotto + passi)
        return false;
    immagine.assign(DIMENSIONE_IMMAGINE, 0);
    auto copia = [&](std::size_t da, std::size_t quanti, std::size_t a) {
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(da), quanti, immagine.begin() + static_cast<std::ptrdiff_t>(a));
    };
    copia(0, IMMAGINE_FINE_INTESTAZIONE + sotto, 0);
    copia(IMMAGINE_FINE_INTESTAZIONE + sotto, 2 + passi, IMMAGINE_OFFSET_NUM_PASSI);
    copia(IMMAGINE_FINE_INTESTAZIONE + sotto + 2 + passi, IMMAGINE_DIM_SCOUT + 2, IMMAGINE_OFFSET_SCOUT);
    errore.clear();
    return true;
}

std::vector<PUNTO_TRAIETTORIA> IntegraBuffer(const BufferDecodificato& b, const CLimitiEParametri& m)
{
    std::vector<PUNTO_TRAIETTORIA> stati;
    PUNTO_TRAIETTORIA p;
    p.dPosX = b.t.Ini[0] / m.AsseX.StepPerUnita;
    p.dPosY = b.t.Ini[1] / m.AsseY.StepPerUnita;
    p.dPosR = b.t.Ini[2] / m.AsseR.StepPerUnita;
    p.dPosH = b.t.Ini[3] / m.AsseH.StepPerUnita;
    stati.push_back(p);
    for (const PASSO_TRAIETTORIA& s : b.passi) {
        AvanzaDiUnPasso(p, s, m);
        stati.push_back(p);
    }
    return stati;
}
