#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/Punto2DKorvane.h"

TEST(Archivio, PuntoAndataERitorno)
{
    const double valori[][2] = {{1.5, -2.25}, {0.0, -0.0}, {1e300, -1e-300}, {std::numeric_limits<double>::infinity(), 3.0}};
    for (const auto& v : valori) {
        std::vector<std::uint8_t> flusso;
        CPunto2DKorvane p(v[0], v[1]);
        CArchive scrittura(flusso, CArchive::store);
        p.Serialize(scrittura);
        CPunto2DKorvane letto;
        CArchive lettura(flusso, CArchive::load);
        letto.Serialize(lettura);
        EXPECT_FALSE(lettura.IsFallito());
        EXPECT_EQ(lettura.GetObjectSchema(), 1u);
        EXPECT_EQ(std::signbit(letto.X), std::signbit(v[0]));
        EXPECT_TRUE(letto == p);
    }
}

TEST(Archivio, ByteDelPunto)
{
    std::vector<std::uint8_t> flusso;
    CPunto2DKorvane p(1.0, -2.0);
    CArchive ar(flusso, CArchive::store);
    p.Serialize(ar);
    // Class record (tag, schema, name), then X and Y as little-endian IEEE doubles.
    const std::string nome = "CPunto2DKorvane";
    ASSERT_EQ(flusso.size(), 8 + nome.size() + 16);
    EXPECT_EQ(flusso[0], 0xFF);
    EXPECT_EQ(flusso[1], 0xFF);
    EXPECT_EQ(flusso[2], 0x01);
    EXPECT_EQ(flusso[5], 0x80);
    EXPECT_EQ(std::string(flusso.begin() + 8, flusso.begin() + 8 + 15), nome);
    const std::uint8_t x[8] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    const std::uint8_t y[8] = {0, 0, 0, 0, 0, 0, 0x00, 0xC0};
    EXPECT_TRUE(std::equal(x, x + 8, flusso.begin() + 23));
    EXPECT_TRUE(std::equal(y, y + 8, flusso.begin() + 31));
}

TEST(Archivio, FlussoCortoOAltraClasseFallisce)
{
    std::vector<std::uint8_t> buono;
    CPunto2DKorvane p(3.0, 4.0);
    CArchive ar(buono, CArchive::store);
    p.Serialize(ar);
    for (size_t n = 0; n < buono.size(); ++n) {
        std::vector<std::uint8_t> corto(buono.begin(), buono.begin() + static_cast<long>(n));
        CArchive lettura(corto, CArchive::load);
        CPunto2DKorvane q(9.0, 9.0);
        q.Serialize(lettura);
        EXPECT_TRUE(lettura.IsFallito()) << n;
    }
    std::vector<std::uint8_t> altro = buono;
    altro[8] = 'X';
    CArchive lettura(altro, CArchive::load);
    CPunto2DKorvane q;
    q.Serialize(lettura);
    EXPECT_TRUE(lettura.IsFallito());
}
