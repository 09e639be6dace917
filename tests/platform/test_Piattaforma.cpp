#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>

#include "platform/File.h"
#include "platform/Libreria.h"
#include "platform/Locale.h"
#include "platform/Prompt.h"
#include "support/MacchinaEsempio.h"

TEST(Libreria, NomeDllDiventaLibSo)
{
    EXPECT_EQ(LibreriaDinamica::NomeNativo(L"Harmonic_3Link_mode_stdC.dll"), "libHarmonic_3Link_mode_stdC.so");
    EXPECT_EQ(LibreriaDinamica::NomeNativo(L"C:\\dll\\build_prj_ZT.DLL"), "C:\\dll\\libbuild_prj_ZT.so");
    EXPECT_EQ(LibreriaDinamica::NomeNativo(L"/opt/libx.so"), "/opt/libx.so");
}

TEST(Libreria, CaricaPluginESimbolo)
{
    LibreriaDinamica lib;
    ASSERT_TRUE(lib.Carica(StringaDaUtf8(std::string(KORVANE_PLUGIN_DIR) + "/plugin_prova.dll")));
    auto* f = reinterpret_cast<int (*)()>(lib.Simbolo("PluginProvaValore"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f(), 4217);
    EXPECT_EQ(lib.Simbolo("NonEsiste"), nullptr);
    LibreriaDinamica spostata(std::move(lib));
    EXPECT_FALSE(lib.IsCaricata());
    EXPECT_TRUE(spostata.IsCaricata());
    spostata.Rilascia();
    EXPECT_FALSE(spostata.IsCaricata());
    EXPECT_FALSE(spostata.Carica(L"NessunaLibreriaCosi.dll"));
}

TEST(Libreria, CercataAccantoALibkorvane)
{
    // The run-time harmonic library is built beside libkorvane.so; a bare .dll name finds it there.
    EXPECT_TRUE(std::filesystem::equivalent(LibreriaDinamica::CartellaLibreria(), KORVANE_LIB_DIR));
    LibreriaDinamica lib;
    EXPECT_TRUE(lib.Carica(L"Harmonic_3Link_mode_stdC.dll"));
}

TEST(Prompt, PredefinitiESostituibili)
{
    EXPECT_EQ(ChiediSiNo(L"Sostituire?", 0), 0);
    EXPECT_EQ(ChiediSiNo(L"Sostituire?", 1), 1);
    CString vista;
    ImpostaGestoreDomande([&](const CString& d, int) {
        vista = d;
        return 1;
    });
    EXPECT_EQ(ChiediSiNo(L"Versione 21?", 0), 1);
    EXPECT_EQ(vista, L"Versione 21?");
    ImpostaGestoreDomande(nullptr);
    EXPECT_EQ(ChiediSiNo(L"x", 0), 0);
    ImpostaGestoreInformazioni([&](const CString& t) { vista = t; });
    MostraInformazione(L"fatto");
    EXPECT_EQ(vista, L"fatto");
    ImpostaGestoreInformazioni(nullptr);
}

TEST(File, NomeLargoERigaLunga)
{
    const std::string cartella = CartellaTemporanea("file");
    const CString nome = StringaDaUtf8(cartella) + L"prova_\u00e8.txt";
    {
        FilePtr f(ApriFile(nome, "w"));
        ASSERT_TRUE(f);
        std::fputs("abcdef\r\nxy\n", f.get());
    }
    EXPECT_TRUE(std::filesystem::exists(cartella + "prova_\xc3\xa8.txt"));
    FilePtr f(ApriFile(nome, "r"));
    ASSERT_TRUE(f);
    std::string riga;
    ASSERT_TRUE(LeggiFinoAFineRiga(f.get(), riga, 4));
    EXPECT_EQ(riga, "abcd");
    ASSERT_TRUE(LeggiFinoAFineRiga(f.get(), riga, 4));
    EXPECT_EQ(riga, "xy");
    EXPECT_FALSE(LeggiFinoAFineRiga(f.get(), riga, 4));
    EXPECT_EQ(ApriFile(L"", "r"), nullptr);
}

TEST(Locale, GuardiaPerFiloNonToccaIlProcesso)
{
    if (!ImpostaLocaleConVirgola())
        GTEST_SKIP() << "no comma-decimal locale is installed (install locales-all)";
    char testo[32];
    std::snprintf(testo, sizeof testo, "%.1f", 1.5);
    EXPECT_STREQ(testo, "1,5");
    {
        LocaleC guardia;
        std::snprintf(testo, sizeof testo, "%.1f", 1.5);
        EXPECT_STREQ(testo, "1.5");
        double letto = 0;
        EXPECT_EQ(std::sscanf("2.25", "%lf", &letto), 1);
        EXPECT_EQ(letto, 2.25);
    }
    std::snprintf(testo, sizeof testo, "%.1f", 1.5);
    EXPECT_STREQ(testo, "1,5");
    std::setlocale(LC_ALL, "C");
}
