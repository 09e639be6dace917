#include <gtest/gtest.h>

#include "resources/Messaggi.h"

TEST(Messaggi, TestiEsatti)
{
    const struct { int id; const wchar_t* testo; } casi[] = {
        {103, L"Datas in ReferenceHead.csv were not correctly read"},
        {121, L"The X position or speed is over the limit "},
        {125, L"DLL error in the juction's creation\nContact Service"},
        {130, L"The junction's R position is under the minimum"},
        {137, L"The junction'sH speed is over the maximum"},
        {146, L"The out.*.dat file is in C:\\Temp, copy not completed"},
        {158, L"Unable to arrange the junction\nRemove the Ignore Final Point flag"},
        {160, L"Unable to arrange the junction between tho trajectories\nInsert a junction in the middle"},
        {172, L"Junction %d"},
        {177, L"The reference head profile has not been initilized"},
        {184, L"The curve's parts are not contiguous"},
        {185, L"The current OutputType is not valid for savig this path\nUnable to complete the saving process"},
        {186, L"The C speed is over the maximum in i = %d"},
    };
    for (const auto& c : casi)
        EXPECT_STREQ(TestoMessaggio(c.id), c.testo) << c.id;
    for (int id = MESSAGGIO_PRIMO; id <= MESSAGGIO_ULTIMO; ++id)
        EXPECT_STRNE(TestoMessaggio(id), L"") << id;
    EXPECT_STREQ(TestoMessaggio(102), L"");
    EXPECT_STREQ(TestoMessaggio(MESSAGGIO_ULTIMO + 1), L"");
}

TEST(Messaggi, IlPrimoErroreVince)
{
    CString err;
    CaricaMessaggio(err, 999);
    EXPECT_TRUE(err.empty());
    CaricaMessaggio(err, 108, 0);
    EXPECT_EQ(err, L"X is under the minimum in i = 0");
    CaricaMessaggio(err, 104);
    ImpostaSeVuoto(err, L"altro");
    EXPECT_EQ(err, L"X is under the minimum in i = 0");
    for (const int indice : {12345, -7}) {
        CString testo;
        CaricaMessaggio(testo, 172, indice);
        EXPECT_EQ(testo, L"Junction " + std::to_wstring(indice));
    }
    CString senza;
    CaricaMessaggio(senza, 178, 5);
    EXPECT_EQ(senza, L"This section causes a collision with the patient's head");
}
