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
    {192, L"The step files of a trajectory loaded from CSV could not be written"},
    {193, L"The cephalometric scan needs a scan time of at least one step, a positive SID and a positive travel"},
    {194, L"The machine's time step, H geometry or drive constants do not allow a cephalometric scan"},
    {195, L"The cephalometric arm speed rounds to zero: shorten the scan time or widen the travel"},
    {196, L"The cephalometric scan time is too long"},
    {197, L"The beam does not cross the H line in i = %d"},
    {198, L"The beam does not cross the line X = 0 in i = %d"},
    {199, L"A velocity word does not fit in 15 bits in i = %d"},
    {200, L"The cephalometric sweep crosses the arm's 180 degree direction"},
    {201, L"A value of the trajectory is not a finite number in i = %d"},
    {202, L"The scan time must be a positive number of seconds"},
    {203, L"The scan needs too many time steps or pixels to be computed"},
    {204, L"The kV graph does not give a value for every point of the curve"},
    {205, L"The trajectory's point lists are missing or differ in length"},
    {206, L"The dental arch curve has fewer than two points"},
    {207, L"The tuning graph does not cover every point of the curve"},
    {208, L"The panoramic geometry is not finite at point %d"},
    {209, L"The machine's \"Passo temporale s\" is not a positive number"},
    {210, L"The X axis' \"Step al mm\" is zero or not a finite number"},
    {211, L"The Y axis' \"Step al mm\" is zero or not a finite number"},
    {212, L"The R axis' \"Step al deg\" is zero or not a finite number"},
    {213, L"The C axis' \"Step al mm\" is zero or not a finite number"},
    {214, L"The H axis' \"Step al mm\" is zero or not a finite number"},
    {215, L"The X axis' \"step/s per LSB\" is zero or not a finite number"},
    {216, L"The Y axis' \"step/s per LSB\" is zero or not a finite number"},
    {217, L"The R axis' \"step/s per LSB\" is zero or not a finite number"},
    {218, L"The C axis' \"step/s per LSB\" is zero or not a finite number"},
    {219, L"The H axis' \"step/s per LSB\" is zero or not a finite number"},
    {220, L"A limit of the X axis is not a finite number, or its speed or acceleration limit is not positive"},
    {221, L"A limit of the Y axis is not a finite number, or its speed or acceleration limit is not positive"},
    {222, L"A limit of the R axis is not a finite number, or its speed or acceleration limit is not positive"},
    {223, L"A limit of the C axis is not a finite number, or its speed or acceleration limit is not positive"},
    {224, L"A limit of the H axis is not a finite number, or its speed or acceleration limit is not positive"},
    {225, L"The machine's \"Dim Pixel Pano mm\" is zero or not a finite number"},
    {226, L"A position or speed of the junction's start or end point is not a finite number"},
    {227, L"The junction's \"Max acc Percento\" is not a positive number"},
    {228, L"The junction's duration is not a finite number or is too long to compute"},
    {229, L"A speed word beyond 32767 or a tube setting outside 0 to 255 cannot be sent to the unit in i = %d"},
    {230, L"A start or exit position is not a number or does not fit the unit's step counter"},
    {231, L"Error opening the .CSV file for reading\nThe LUT will not be saved"},
    {232, L"Error reading the starting position file\nThe LUT will not be saved"},
    {233, L"The .CSV file holds no steps\nThe LUT will not be saved"},
    {234, L"The image is too long for the LUT\nThe LUT will not be saved"},
    {235, L"Error opening the .LUT file for reading"},
    {236, L"The .LUT file ends before its value %d"},
    {237, L"A value does not fit the .LUT file"},
    {238, L"The linear segment needs a length above 0 and up to 10000 mm, and a finite centre, inclination and skew"},
    {239, L"The linear scan needs a positive projection radius and a positive magnification"},
    {240, L"The beam of the linear scan misses the projection circle of point %d"},
    {241, L"Error writing the machine parameters file"},
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
