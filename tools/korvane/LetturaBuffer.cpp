#include "LetturaBuffer.h"

namespace {
constexpr std::size_t OFFSET_NUMERO_PASSI = 1263;
constexpr std::size_t OFFSET_PASSI = 1265;
constexpr std::size_t DIMENSIONE_PASSO = 12;
constexpr std::size_t MAX_PASSI = 3000;
constexpr std::size_t OFFSET_CRC = 37291;
constexpr std::size_t OFFSET_ASSI[4] = {19, 49, 79, 109};
}  // namespace

bool DecodificaBuffer(const std::vector<std::uint8_t>& byte, BufferDecodificato& b, std::string& errore)
{
    if (byte.size() != DIMENSIONE_BUFFER) {
        errore = "a step buffer is " + std::to_string(DIMENSIONE_BUFFER) + " bytes, this one is " +
                 std::to_string(byte.size());
        return false;
    }
    const std::uint8_t* d = byte.data();
    b.versione = GetU8(d, 0);
    b.gruppo = GetU16(d, 1);
    b.tipoProiezione = GetU16(d, 3);
    b.apsRangeMax = GetU8(d, 10);
    for (int a = 0; a < 4; ++a) {
        b.ini[a] = GetI32(d, OFFSET_ASSI[a]);
        b.out[a] = GetI32(d, OFFSET_ASSI[a] + 16);
    }
    b.crcLetto = static_cast<std::uint16_t>((d[OFFSET_CRC] << 8) | d[OFFSET_CRC + 1]);
    b.crcCalcolato = CalcolaCRC16X25(d, OFFSET_CRC);
    const std::size_t n = GetU16(d, OFFSET_NUMERO_PASSI);
    if (n > MAX_PASSI) {
        errore = "the header counts " + std::to_string(n) + " steps, more than the " + std::to_string(MAX_PASSI) +
                 " a buffer holds";
        return false;
    }
    b.passi.clear();
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t o = OFFSET_PASSI + DIMENSIONE_PASSO * k;
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
    return true;
}

std::vector<PUNTO_TRAIETTORIA> IntegraBuffer(const BufferDecodificato& b, const CLimitiEParametri& m)
{
    std::vector<PUNTO_TRAIETTORIA> stati;
    PUNTO_TRAIETTORIA p;
    p.dPosX = b.ini[0] / m.AsseX.StepPerUnita;
    p.dPosY = b.ini[1] / m.AsseY.StepPerUnita;
    p.dPosR = b.ini[2] / m.AsseR.StepPerUnita;
    p.dPosH = b.ini[3] / m.AsseH.StepPerUnita;
    stati.push_back(p);
    for (const PASSO_TRAIETTORIA& s : b.passi) {
        AvanzaDiUnPasso(p, s, m);
        stati.push_back(p);
    }
    return stati;
}
