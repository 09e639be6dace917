#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Bytes.h"
#include "sections/Sezione.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"

namespace {

CSezione Leggi(const std::string& passi, const std::string& inizio, const CLimitiEParametri& m = MacchinaEsempio())
{
    CSezione s(m);
    FILE* a = FlussoCon(passi);
    FILE* b = FlussoCon(inizio);
    EXPECT_EQ(s.LeggiDaFileCSV(a, b), 1);
    std::fclose(a);
    std::fclose(b);
    return s;
}

}  // namespace

TEST(SezioneCSV, ScritturaTestoEImmagine)
{
    CSezione s(MacchinaEsempio());
    s.ArrayPassi.Add(PassoProva({1, 32773, 3, 1000, 80, 30, 7}));
    s.ArrayPassi.Add(PASSO_TRAIETTORIA());
    std::vector<std::uint8_t> img(37293, 0);
    PutU16(img.data(), 1263, 2);
    EXPECT_EQ(Testo([&](FILE* f) { EXPECT_EQ(s.ScriviSuFileCSV(f, img.data(), 1), 1); }),
              "1,32773,3,1000,80,30,7\n0,0,0,0,0,0,0\n");
    EXPECT_EQ(Testo([&](FILE* f) { EXPECT_EQ(s.ScriviSuFileCSV(f, nullptr, 0), 1); }), "1,32773,3,1000,80,30\n0,0,0,0,0,0\n");
    // Records after the two already there: X, Y, R, H, C, then kV and mA in one byte each.
    EXPECT_EQ(GetU16(img.data(), 1263), 4);
    const std::uint8_t atteso[12] = {1, 0, 0x05, 0x80, 3, 0, 7, 0, 0xE8, 0x03, 80, 30};
    EXPECT_TRUE(std::equal(atteso, atteso + 12, img.begin() + 1265 + 24));
    // A value its field cannot hold is never cut into the image: the section is refused whole.
    // Which values a field holds is the unit check's own test; here one that does not fit is enough.
    CSezione t = s;
    t.ArrayPassi[1].imA = 300;
    const std::vector<std::uint8_t> prima = img;
    EXPECT_EQ(t.ScriviSuFileCSV(nullptr, img.data(), 1), 0);
    EXPECT_EQ(img, prima);
    // The image holds 3000 records and not one more.
    PutU16(img.data(), 1263, 2999);
    Testo([&](FILE* f) { EXPECT_EQ(s.ScriviSuFileCSV(f, img.data(), 1), 0); });
    EXPECT_EQ(GetU16(img.data(), 1263), 3000);
    EXPECT_EQ(img[37265], 0);
}

TEST(Sezione, LunghezzaInPixel)
{
    // C words 100, -100, 100 at 10 steps/mm and 1 step/s per LSB run 10 mm/s for 0.01 s each: one
    // 0.1 mm pixel. A pixel size no length comes from gives 0.
    for (auto [pixel, atteso] : {std::pair{0.1, 1.0}, {0.0, 0.0}, {std::nan(""), 0.0}}) {
        CLimitiEParametri m = MacchinaEsempio();
        m.AsseC.StepPerUnita = 10;
        m.AsseC.StepSPerLSB = 1;
        m.PassoTemporale = 0.01;
        m.DimPixelPano = pixel;
        CSezione s(m);
        for (std::int32_t w : {100, 32868, 100}) {
            PASSO_TRAIETTORIA p;
            p.iC = w;
            s.ArrayPassi.Add(p);
        }
        EXPECT_DOUBLE_EQ(s.CalcolaLunghezzaPx(), atteso) << pixel;
    }
}

TEST(SezioneCSV, LetturaSeparatoriEColonne)
{
    const CSezione virgole = Leggi("1,2,3,4,5,6,7\n8,9,10,11,12,13\n", "800,1600,0,0,0\n");
    const CSezione puntiEVirgola = Leggi("1;2;3;4;5;6;7\r\n8;9;10;11;12;13\r\n", "800;1600;0;0;0\n");
    ASSERT_EQ(virgole.ArrayPassi.GetSize(), 2);
    EXPECT_TRUE(virgole == puntiEVirgola);
    // A six-column line keeps the H of the line before it.
    EXPECT_EQ(virgole.ArrayPassi[1].iH, 7);
    EXPECT_EQ(virgole.ArrayPassi[1].imA, 13);
    EXPECT_TRUE(virgole.PuntoIniziale == PuntoProva(1, 2, 0));

    const CSezione sei = Leggi("1,2,3,4,5,6\n", "0,0,0,0\n");
    EXPECT_EQ(sei.ArrayPassi[0].iH, 0);
    EXPECT_EQ(sei.PuntoIniziale.dPosH, 0.0);
    const CSezione spazzatura = Leggi("1,2,3,4,5,6\nabc\n7,8,9\n", "x");
    EXPECT_EQ(spazzatura.ArrayPassi.GetSize(), 0);
    EXPECT_TRUE(spazzatura.PuntoIniziale == PUNTO_TRAIETTORIA());
    // A carriage return alone ends a line; the steps before the second failure stay.
    EXPECT_EQ(Leggi("1,2,3,4,5,6,7\r8,9,10,11,12,13,14\r1,2,3,4,5,6\r", "0,0,0,0\r").ArrayPassi.GetSize(), 3);
    EXPECT_EQ(Leggi("1;2;3;4;5;6;7\n2;2;2;2;2;2;2\nfoo\n", "0;0;0;0\n").ArrayPassi.GetSize(), 2);
    // A value beyond the 32-bit range is no value of the file's: its line fails like any damaged one.
    EXPECT_EQ(Leggi("1;2;3;4;5;6;7\n2147483648;0;0;0;0;0\n", "0,0,0,0\n").ArrayPassi.GetSize(), 1);
    EXPECT_EQ(Leggi("-2147483648,0,0,0,0,0\n", "0,0,0,0\n").ArrayPassi[0].iX, -2147483647 - 1);

    CSezione nulli(MacchinaEsempio());
    EXPECT_EQ(nulli.LeggiDaFileCSV(nullptr, nullptr), 1);
    EXPECT_EQ(nulli.ArrayPassi.GetSize(), 0);
}

TEST(SezioneCSV, PuntoInizialeEFinale)
{
    // R at 190 degrees stays inside the example range of -200..200.
    const double passiGrado = MacchinaEsempio().AsseR.StepPerUnita;
    const int r190 = static_cast<int>(190 * passiGrado + 0.5);
    CSezione s = Leggi("410,0,0,0,0,0,32778\n410,0,0,0,0,0,32778\n0,0,0,0,0,0,0\n",
                       "0,0," + std::to_string(r190) + ",0,80\n");
    EXPECT_NEAR(s.PuntoIniziale.dPosR, 190.0, 1e-3);
    EXPECT_EQ(s.PuntoIniziale.dPosH, 0.1);
    // Every step but the last moves the end point: 2 x 20 ms at 410/409.6 mm/s.
    EXPECT_NEAR(s.PuntoFinale.dPosX, 2 * 0.02 * 410 / 409.6, 1e-12);
    EXPECT_NEAR(s.PuntoFinale.dPosH, 0.1 - 2 * 0.02 * 10 / 409.6, 1e-12);

    CLimitiEParametri stretta = MacchinaEsempio();
    stretta.AsseR.PosMin = -180;
    stretta.AsseR.PosMax = 180;
    EXPECT_NEAR(Leggi("", "0,0," + std::to_string(r190) + ",0\n", stretta).PuntoIniziale.dPosR, -170.0, 1e-3);
}
