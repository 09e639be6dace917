#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "core/LimitiEParametri.h"
#include "core/ParametriFileDat.h"
#include "core/PuntoTraiettoria.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"

namespace {

// Puts the process locale back as it was, whatever the test did to it.
struct RipristinaLocale {
    std::string prima = std::setlocale(LC_ALL, nullptr);
    ~RipristinaLocale() { std::setlocale(LC_ALL, prima.c_str()); }
};


}  // namespace

TEST(LocaleDelProcesso, LaVirgolaDecimaleNonEntraNeiFile)
{
    const std::string dir = CartellaTemporanea("locale-virgola");
    CParametriFileDat dat;
    dat.PosResetY = 2.75f;
    PUNTO_TRAIETTORIA punto = PuntoProva(12.5, 0, 0, 0, 80);
    punto.dVelR = -0.25;
    const std::string datC = Scritto(dat), puntoC = Scritto(punto);
    const std::string macchinaC = LeggiFile(std::string(KORVANE_SOURCE_DIR) + "/examples/MachinesParameters.ini");

    RipristinaLocale ripristina;
    if (!ImpostaLocaleConVirgola())
        GTEST_SKIP() << "no comma-decimal locale (de_DE, it_IT, fr_FR) is installed: install locales-all";
    char prova[16];
    std::snprintf(prova, sizeof prova, "%.1f", 0.5);
    ASSERT_STREQ(prova, "0,5") << "the locale did not switch the decimal point";

    CLimitiEParametri m = MacchinaEsempio();
    ASSERT_EQ(m.ScriviSuFile(StringaDaUtf8(dir + "l.ini"), 0), 1);
    EXPECT_EQ(LeggiFile(dir + "l.ini"), macchinaC);
    EXPECT_EQ(Scritto(dat), datC);
    EXPECT_EQ(Scritto(punto), puntoC);

    CLimitiEParametri macchinaLetta;
    CParametriFileDat datLetto;
    PUNTO_TRAIETTORIA puntoLetto;
    EXPECT_EQ(macchinaLetta.LeggiDaFile(StringaDaUtf8(dir + "l.ini"), 0), 1);
    EXPECT_EQ(LeggiBlocco(datC, datLetto).risultato, 1);
    EXPECT_EQ(LeggiBlocco(puntoC, puntoLetto).risultato, 1);
    EXPECT_TRUE(macchinaLetta == m && datLetto == dat && puntoLetto == punto);
    // The writers and readers switch only their own thread, and only while they run.
    std::snprintf(prova, sizeof prova, "%.1f", 0.5);
    EXPECT_STREQ(prova, "0,5");
}
