#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/Punto2DKorvane.h"

TEST(Archivio, PuntoByteAndataERitorno)
{
    const double valori[][2] = {{1.0, -2.0}, {0.0, -0.0}, {1e300, -1e-300}, {std::numeric_limits<double>::infinity(), 3.0}};
    for (const auto& v : valori) {
        std::vector<std::uint8_t> flusso;
        CPunto2DKorvane p(v[0], v[1]), letto;
        CArchive scrittura(flusso, CArchive::store);
        p.Serialize(scrittura);
        CArchive lettura(flusso, CArchive::load);
        letto.Serialize(lettura);
        EXPECT_FALSE(lettura.IsFallito());
        EXPECT_EQ(lettura.GetObjectSchema(), 1u);
        EXPECT_EQ(std::signbit(letto.X), std::signbit(v[0]));
        EXPECT_TRUE(letto == p);
        if (v[0] != 1.0)
            continue;
        // Class record (tag, schema, name), then X and Y as little-endian IEEE doubles.
        const std::string nome = "CPunto2DKorvane";
        ASSERT_EQ(flusso.size(), 8 + nome.size() + 16);
        EXPECT_TRUE(flusso[0] == 0xFF && flusso[1] == 0xFF && flusso[2] == 0x01 && flusso[5] == 0x80);
        EXPECT_EQ(std::string(flusso.begin() + 8, flusso.begin() + 23), nome);
        const std::uint8_t xy[16] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0, 0, 0, 0x00, 0xC0};
        EXPECT_TRUE(std::equal(xy, xy + 16, flusso.begin() + 23));
        // Cut anywhere, or naming another class, the stream fails.
        for (size_t n = 0; n <= flusso.size(); ++n) {
            std::vector<std::uint8_t> guasto(flusso.begin(), flusso.begin() + static_cast<long>(n));
            if (n == flusso.size())
                guasto[8] = 'X';
            CArchive l(guasto, CArchive::load);
            CPunto2DKorvane q(9.0, 9.0);
            q.Serialize(l);
            EXPECT_TRUE(l.IsFallito()) << n;
        }
    }
}
