#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/File.h"
#include "platform/Libreria.h"
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
    EXPECT_FALSE(lib.Carica(L"NessunaLibreriaCosi.dll"));
    // The run-time harmonic library is built beside libkorvane.so; a bare .dll name finds it there.
    EXPECT_TRUE(std::filesystem::equivalent(LibreriaDinamica::CartellaLibreria(), KORVANE_LIB_DIR));
    EXPECT_TRUE(lib.Carica(L"Harmonic_3Link_mode_stdC.dll"));
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
