#include "resources/Messaggi.h"

#include <iterator>

namespace {

struct Messaggio {
    int id;
    const wchar_t* testo;
};

// The texts stand exactly as the unit's software has always shown them, spelling included.
constexpr Messaggio TABELLA[] = {
    {103, L"Datas in ReferenceHead.csv were not correctly read"},
    {104, L"Error, the section has not been calculated yet"},
    {105, L"Error creating the region of the Reference head"},
    {106, L"Error, the section has not been correctly calculated"},
    {107, L"The arm rotation is not monotone"},
    {108, L"X is under the minimum in i = %d"},
    {109, L"X is over the maximum in i = %d"},
    {110, L"Y is under the minimum in i = %d"},
    {111, L"Y is over the maximum in i = %d"},
    {112, L"R is under the minimum in i = %d"},
    {113, L"R is over the maximum in i = %d"},
    {114, L"The X speed is over the maximum in i = %d"},
    {115, L"The Y speed is over the maximum in i = %d"},
    {116, L"The X acceleration is over the maximum in i = %d"},
    {117, L"The Y acceleration is over the maximum in i = %d"},
    {118, L"Error calculating a linear junction"},
    {119, L"Error calculating a harmonic junction"},
    {120, L"The DLL was not able to create a juction with the specified time"},
    {121, L"The X position or speed is over the limit "},
    {122, L"The Y position or speed is over the limit"},
    {123, L"The R position or speed is over the limit"},
    {124, L"The H position or speed is over the limit"},
    {125, L"DLL error in the juction's creation\nContact Service"},
    {126, L"The junction's X position is under the minimum"},
    {127, L"The junction's X position is over the maximum"},
    {128, L"The junction's Y position is under the minimum"},
    {129, L"The junction's Y position is over the maximum"},
    {130, L"The junction's R position is under the minimum"},
    {131, L"The junction's R position is over the maximum"},
    {132, L"The junction's H position is under the minimum"},
    {133, L"The junction's H position is over the maximum"},
    {134, L"The junction's X speed is over the maximum"},
    {135, L"The junction's Y speed is over the maximum"},
    {136, L"The junction's R speed is over the maximum"},
    {137, L"The junction'sH speed is over the maximum"},
    {138, L"In the junction's creation the X speed is not converging"},
    {139, L"In the junction's creation the Y speed is not converging"},
    {140, L"In the junction's creation the R speed is not converging"},
    {141, L"In the junction's creation the H speed is not converging"},
    {142, L"In the Order Array there are some junctions\neven if they weren't be there\n\nOperation cancelled"},
    {143, L"For the junction's creations all the trajectories have to be calculated"},
    {144, L"The converting file path is too long"},
    {145, L"Conversion error. Operation not correctly terminated"},
    {146, L"The out.*.dat file is in C:\\Temp, copy not completed"},
    {147, L"The name of the file have to begin with \"in\""},
    {148, L"X is under the minimum"},
    {149, L"X is over the maximum"},
    {150, L"Y is under the minimum"},
    {151, L"Y is over the maximum"},
    {152, L"R is under the minimum"},
    {153, L"R is over the maximum"},
    {154, L"H is under the minimum"},
    {155, L"H is over the maximum"},
    {156, L"At least one section has to remain"},
    {157, L"To obtain a realistic trajectory a junction must be placed at the beginning and at the end"},
    {158, L"Unable to arrange the junction\nRemove the Ignore Final Point flag"},
    {159, L"Unable to arrange the junction\nRemove the Ignore Initial Point flag"},
    {160, L"Unable to arrange the junction between tho trajectories\nInsert a junction in the middle"},
    {161, L"The line's slope has to be negative"},
    {162, L"The left limit X position is bigger than the right one!"},
    {163, L"The step has to be greater than zero"},
    {164, L"Points not generated"},
    {165, L"Error opening the .TRG file for reading"},
    {166, L"Error opening the .TRG file for writing"},
    {167, L"Not the all sections were correctly calculated\nThe .CSV file and the (eventual) LUT will not be saved"},
    {168, L"The trajectory has to be correctly calculated to be saved\nOperation cancelled"},
    {169, L"Error opening the .LUT file for writing"},
    {170, L"New junction"},
    {171, L"Acceleration"},
    {172, L"Junction %d"},
    {173, L"Deceleration"},
    {174, L"Trajectory from file"},
    {175, L"Panoramic trajectory"},
    {176, L"Circular trajectory"},
    {177, L"The reference head profile has not been initilized"},
    {178, L"This section causes a collision with the patient's head"},
    {179, L"It is not possible to run a 360 degrees trajectory on this machine"},
    {180, L"The trajectory has been calculated with errors\nchange the parameters and recalculate it"},
    {181, L"The buffer size is not big enough"},
    {182, L"The array size is not big enough"},
    {183, L"The starting position is not stationary\nUnable to create the *.dat file"},
    {184, L"The curve's parts are not contiguous"},
    {185, L"The current OutputType is not valid for savig this path\nUnable to complete the saving process"},
    {186, L"The C speed is over the maximum in i = %d"},
    {187, L"The path has more than 3000 steps and does not fit the step buffer"},
    {188, L"The path has more than 30 sub-images and does not fit the projection image"},
    {189, L"The harmonic-profile function is not available"},
    {190, L"This kind of trajectory cannot be computed yet"},
    {191, L"A value of the projection file is not a number or does not fit its field"},
};

constexpr bool TabellaContigua()
{
    for (int i = 0; i < static_cast<int>(std::size(TABELLA)); ++i)
        if (TABELLA[i].id != MESSAGGIO_PRIMO + i)
            return false;
    return std::size(TABELLA) == MESSAGGIO_ULTIMO - MESSAGGIO_PRIMO + 1;
}
// The table is looked up by position, so every number must stand in its place.
static_assert(TabellaContigua());

}  // namespace

const wchar_t* TestoMessaggio(int id)
{
    if (id < MESSAGGIO_PRIMO || id > MESSAGGIO_ULTIMO)
        return L"";
    return TABELLA[id - MESSAGGIO_PRIMO].testo;
}

void CaricaMessaggio(CString& errore, int id)
{
    ImpostaSeVuoto(errore, TestoMessaggio(id));
}

void CaricaMessaggio(CString& errore, int id, int indicePasso)
{
    if (!errore.empty())
        return;
    CString testo = TestoMessaggio(id);
    const size_t segnaposto = testo.find(L"%d");
    if (segnaposto != CString::npos)
        testo.replace(segnaposto, 2, std::to_wstring(indicePasso));
    errore = testo;
}

void ImpostaSeVuoto(CString& errore, const CString& testo)
{
    if (errore.empty())
        errore = testo;
}
