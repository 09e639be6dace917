#include <gtest/gtest.h>

#include "platform/CString.h"

TEST(CString, Utf8AndataERitorno)
{
    const CString testo = L"esame_\u00e8\u20ac\U0001F600.trg";
    EXPECT_EQ(StringaAUtf8(testo), "esame_\xc3\xa8\xe2\x82\xac\xf0\x9f\x98\x80.trg");
    EXPECT_EQ(StringaDaUtf8(StringaAUtf8(testo)), testo);
    // A cut sequence is kept byte by byte rather than dropped.
    EXPECT_EQ(StringaDaUtf8("a\xc3"), (CString{L'a', static_cast<wchar_t>(0xC3)}));
}

TEST(CString, FinisceCon)
{
    struct Caso {
        const wchar_t* testo;
        const wchar_t* fine;
        bool esatto;
        bool senzaMaiuscole;
    };
    const Caso casi[] = {
        {L"curva.crv", L".crv", true, true},   {L"curva.CRV", L".crv", false, true}, {L"crv", L".crv", false, false},
        {L"", L"", true, true},                {L"a.crvx", L".crv", false, false},
    };
    for (const Caso& c : casi) {
        EXPECT_EQ(FinisceCon(c.testo, c.fine), c.esatto) << c.testo;
        EXPECT_EQ(FinisceConNoCase(c.testo, c.fine), c.senzaMaiuscole) << c.testo;
    }
}

TEST(CString, PartiDelNome)
{
    struct Caso {
        const wchar_t* nome;
        const wchar_t* cartella;
        const wchar_t* file;
        const wchar_t* conP0;
    };
    const Caso casi[] = {
        {L"C:\\esami\\pan.csv", L"C:\\esami\\", L"pan.csv", L"C:\\esami\\pan_P0.csv"},
        {L"/tmp/a.b/pan", L"/tmp/a.b/", L"pan", L"/tmp/a.b/pan_P0"},
        {L"D:\\x/y\\z.dat", L"D:\\x/y\\", L"z.dat", L"D:\\x/y\\z_P0.dat"},
        {L"pan.tar.csv", L"", L"pan.tar.csv", L"pan.tar_P0.csv"},
        {L"", L"", L"", L"_P0"},
    };
    for (const Caso& c : casi) {
        EXPECT_EQ(ParteDirectory(c.nome), c.cartella) << c.nome;
        EXPECT_EQ(ParteNomeFile(c.nome), c.file) << c.nome;
        EXPECT_EQ(InserisciPrimaDellUltimoPunto(c.nome, L"_P0"), c.conP0) << c.nome;
    }
}
