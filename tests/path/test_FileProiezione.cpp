#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <fstream>
#include <sstream>
#include <vector>

#include "api/Korvane.h"
#include "path/Percorso.h"
#include "platform/Prompt.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"

namespace {

// Easy numbers: 40 motor steps per unit, and a C word w runs w/4 pixels per step.
CLimitiEParametri Macchina()
{
    CLimitiEParametri m = MacchinaEsempio();
    for (PARAMETRI_ASSE* a : {&m.AsseX, &m.AsseY, &m.AsseR, &m.AsseH})
        a->StepPerUnita = 40.0;
    m.AsseC.StepPerUnita = 1.0;
    m.AsseC.StepSPerLSB = 1.0;
    m.PassoTemporale = 0.25;
    m.DimPixelPano = 1.0;
    return m;
}

PUNTO_TRAIETTORIA Punto(double x, double y, double r)
{
    PUNTO_TRAIETTORIA p;
    p.dPosX = x;
    p.dPosY = y;
    p.dPosR = r;
    return p;
}

// Scout, junction, panoramic, junction carrying the image on, linear, junction, two-axis ceph.
void Costruisci(CPercorso& p, int h)
{
    const CLimitiEParametri m = Macchina();
    p.SetLimitiEParametri(&m, 1);
    const struct {
        int curva, scout, raggi, n;
        int v[7];
    } pezzi[] = {
        {2, 1, 0, 2, {1, 2, 3, 3, 60, 5, 0}}, {0, 0, 0, 1, {32769, 0, 0, 0, 0, 0, 0}},
        {2, 0, 0, 3, {4, 5, 6, 3, 70, 8, 0}}, {0, 0, 2, 1, {0, 0, 0, 2, 0, 0, 0}},
        {4, 0, 0, 2, {7, 0, 0, 3, 70, 8, 0}}, {0, 0, 0, 1, {0, 0, 9, 0, 0, 0, 0}},
        {6, 0, 0, 1, {0, 0, 0, 4, 90, 10, h}},
    };
    for (const auto& z : pezzi) {
        const int i = p.ArrayOrdineGetSize();
        CTraiettoria t(m);
        CRaccordo r(m);
        CSezione& s = z.curva ? static_cast<CSezione&>(t) : r;
        PASSO_TRAIETTORIA passo;
        int* campi[] = {&passo.iX, &passo.iY, &passo.iR, &passo.iC, &passo.iKV, &passo.imA, &passo.iH};
        for (int k = 0; k < 7; ++k)
            *campi[k] = z.v[k];
        for (int k = 0; k < z.n; ++k)
            s.ArrayPassi.Add(passo);
        s.PuntoIniziale = i == 0 ? Punto(-0.25, 0.3125, 1) : i == 2 ? Punto(0.5, -0.5, -2) : PUNTO_TRAIETTORIA();
        r.GestioneRaggi = z.raggi;
        t.TipoCurva = z.curva;
        t.IsScout = z.scout;
        t.Ingrandimento = 1.25f;
        t.Is2Assi = z.curva == 6;
        t.IngrandimentoMinimo = 1.1;
        t.IngrandimentoMassimo = 1.2;
        z.curva ? p.ArrayTraiettorieAdd(&t) : p.ArrayRaccordiAdd(&r);
        const CElementoOrdine e(z.curva ? SEZIONE_TRAIETTORIA : SEZIONE_RACCORDO,
                                (z.curva ? p.ArrayTraiettorieGetSize() : p.ArrayRaccordiGetSize()) - 1);
        p.ArrayOrdineAggiungiElemento(&e, -1);
    }
    CParametriFileDat& d = p.GetParametriFileDat();
    d.Type = 3;
    d.Version = 21;
    d.TFCanUpdate = 1;
    d.YCanMove = 0;
    d.CephPatientPos = 2;
    d.PanKeybPos = 1;
    d.CephArmPos = 1;
    d.BiteBlockConf = 2;
    d.ApsRangeMin = 2;
    d.ApsRangeMax = 9;
    d.YAxisCorrLen = 7;
    d.XAxisCorrFact = 3;
    d.PrmCollimOffset1 = 11;
    d.PrmCollimOffset2 = 12;
    d.ScnCollimOffset = 13;
    d.ScoutKV = 60;
    d.ScoutMA = 5;
    d.ScoutCollMin = 100;
    d.ScoutCollMax = 200;
    d.LRImgNote[0] = 2;
    int margini[] = {60, 20, 3, 4, 61, 21, 6, 7};
    ArrayInt* array[] = {&d.PxMarginsLeft, &d.PxMarginsRight, &d.PxMarginsTop, &d.PxMarginsBottom,
                         &d.PxMarginsLeftC, &d.PxMarginsRightC, &d.PxMarginsTopC, &d.PxMarginsBottomC};
    for (int i = 0; i < 8; ++i)
        (*array[i])[0] = margini[i];
}

std::string Leggi(const std::string& nome)
{
    std::ifstream f(nome, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string Sostituisci(std::string t, const std::string& da, const std::string& a)
{
    for (size_t i = t.find(da); i != std::string::npos; i = t.find(da, i + a.size()))
        t.replace(i, da.size(), a);
    return t;
}

void ConfrontaRighe(const std::string& scritto, const std::string& atteso)
{
    std::istringstream a(scritto), b(atteso);
    std::string ra, rb;
    for (int n = 1; std::getline(b, rb); ++n) {
        ASSERT_TRUE(std::getline(a, ra)) << "missing line " << n << ": " << rb;
        EXPECT_EQ(ra, rb) << "line " << n;
    }
    EXPECT_FALSE(std::getline(a, ra)) << "extra line: " << ra;
    EXPECT_EQ(scritto.back(), atteso.back());
}

// "@" stands for the banner, "#Z" for a zero line, "#S" and the like for the step lines of the sections.
const char* const TAGGATO = R"(@
// PRJ_HEADER 
@
<PRJ_HEADER>
   [VERSION]=21
   [GROUP,TYPE]=0,3
   [TF_CAN_UPDATE]=1
   [Y_CAN_MOVE]=0
   [PAN_KEYB_POS]=1
   [BITE_BLOCK_CONF]=2
   [ENABLE_MRT]=1
   [APS_RANGE]=2,9
   [RES_AXES_POS]=2000,0,-7200
   [INI_AXES_POS]=20,-20,-80
   [OUT_AXES_POS]=0,0,0
   [Y_AXIS_CORR_LEN]=7
   [Y_AXIS_CORR_MIN]=0
   [Y_AXIS_CORR_MAX]=0
   [Y_AXIS_OPEN_MOUTH]=0
   [X_AXIS_CORR_FACT]=3
   [PRM_COLLIM_POS_OFFSET]=11,12
   [SCN_COLLIM_POS_OFFSET]=13
   [SUB_IMGS_NUM]=2
<\PRJ_HEADER>

@
//  IMG
@
<SUB_IMGS_INFO>
   [VERT_MAGNI_FACT]=1250000
   [HORZ_MAGNI_FACT]=1250000
   [LR_IMG_NOTE]=2
   [IMG_COLS_NUM]=4
   [IMG_MARGINS]=61,21,6,7
<\SUB_IMGS_INFO>
<SUB_IMGS_INFO>
   [VERT_MAGNI_FACT]=1150000
   [HORZ_MAGNI_FACT]=1150000
   [LR_IMG_NOTE]=0
   [IMG_COLS_NUM]=1
   [IMG_MARGINS]=74,10,5,5
<\SUB_IMGS_INFO>

@
//  SCOUT
@
<SCOUT>
   [OFFSET_START_PRJ]=5
   [NUM_COL_SCOUT]=1
   [POS_SCOUT_X]=-10
   [POS_SCOUT_Y]=13
   [POS_SCOUT_R]=40
   [POS_SCOUT_H]=0
   [KV]=60
   [MA]=5
   [PRM_COLLIM_SCOUT]=100,200
<\SCOUT>

@
//  STEP
@
<PRJ_STEPS>
#Z
#Z
#S
#S
#J
#Z
#Z
#Z
#P
#P
#P
#G
#L
#L
#K
#C
#Z
<\PRJ_STEPS>)";

const char* const VECCHIO = R"(PRJ_HEADER:

[GROUP,TYPE]=3,1
[VERSION]=21
[TF_CAN_UPDATE]=1
[Y_CAN_MOVE]=0
[STF_ON]=0
[CEPH_PATIENT_POS]=2
[PAN_KEYB_POS]=1
[CEPH_ARM_POS]=1
[BITE_BLOCK_CONF]=2
[APS_RANGE]=2,9
[INI_AXES_POS]=20,-20,-80
[MIN_AXES_POS]=20,-20,-80
[MAX_AXES_POS]=20,-20,-80
[Y_AXIS_CORR_LEN]=7
[Y_AXIS_CORR_MIN]=0
[Y_AXIS_CORR_MAX]=0
[Y_AXIS_OPEN_MOUTH]=0
[X_AXIS_CORR_FACT]=3
[SCN_COLLIM_POS_OFFSET]=13
[INI_H_AXIS_POS]=0
[MIN_H_AXIS_POS]=0
[MAX_H_AXIS_POS]=0
[SUB_IMGS_NUM]=2

SUB_IMGS_INFO:

[VERT_MAGNI_FACT]=1250000
[HORZ_MAGNI_FACT]=1250000
[LR_IMG_NOTE]=2
[IMG_COLS_NUM]=4
[IMG_MARGINS]=60,20,3,4

[VERT_MAGNI_FACT]=1150000
[HORZ_MAGNI_FACT]=1150000
[LR_IMG_NOTE]=0
[IMG_COLS_NUM]=1
[IMG_MARGINS]=74,10,5,5

PRJ_STEPS:

#S
#S
#J
#Z
#Z
#Z
#P
#P
#P
#G
#L
#L
#K
#C
)";

std::string Espandi(std::string t, int h)
{
    const std::string coda = h ? ",0" : "";
    const std::pair<std::string, std::string> righe[] = {
        {"#S", "1,2,3,3,60,5" + coda}, {"#J", "32769,0,0,0,0,0" + coda}, {"#P", "4,5,6,3,70,8" + coda},
        {"#G", "0,0,0,2,0,0" + coda},  {"#L", "7,0,0,3,70,8" + coda},    {"#K", "0,0,9,0,0,0" + coda},
        {"#Z", "0,0,0,0,0,0" + coda},  {"#C", "0,0,0,4,90,10" + (h ? "," + std::to_string(h) : "")},
    };
    for (const auto& [segno, riga] : righe)
        t = Sostituisci(t, segno, riga);
    return t;
}

}  // namespace

TEST(FileProiezione, NomeETipoDiProiezione)
{
    const struct {
        int uscita, gruppo, tipo, apsMax, versione, braccio, collimato;
        const wchar_t* nome;
        int proiezione;
    } casi[] = {
        {2, 0, 3, 9, 21, -1, 1, L"D:\\exams\\pan_dx.obj_pan_orth_36_2_9_v021_i.txt", 3},
        {2, 0, 0, 7, 5, -1, 0, L"D:\\exams\\pan_dx.obj_pan_std_36_9s_2_7_v005_i.txt", 11},
        {2, 0, 0, 8, 21, -1, 0, L"D:\\exams\\pan_dx.obj_pan_std_36_9s_2_8_v021_i.txt", 0},
        {7, 0, 14, 9, 21, -1, 0, L"D:\\exams\\pan_dx.obj_pan_bwing_sx_2_9_v021_i.txt", 9},
        {2, 0, 7, 9, 21, -1, 0, L"D:\\exams\\pan_dx.obj_pan_2_9_v021_i.txt", -1},
        {0, 0, 17, 9, 21, -1, 1, L"D:\\exams\\in.pan_dx_collim.obj_pan_quick_2_9_v021.dat", 17},
        {1, 1, 9, 9, 21, -1, 0, L"D:\\exams\\in.pan_dx.obj_tmj_lat_2_9_v021.dat", 9},
        {2, 1, 9, 9, 21, -1, 0, L"D:\\exams\\pan_dx.obj_tmj_lat_2_9_v021_i.txt", 4},
        {2, 2, 10, 9, 21, -1, 0, L"D:\\exams\\pan_dx.obj_sin_lat_dx_2_9_v021_i.txt", 1},
        {0, 3, 2, 9, 21, 1, 0, L"", 2},
        {1, 3, 2, 9, 21, 1, 1, L"D:\\exams\\in.ceph_dx_dx.obj_ceph_smv_v021.dat", 2},
        {2, 3, 0, 9, 21, 0, 0, L"D:\\exams\\ceph_dx_sx.obj_ceph_ll_06s_v021_i.txt", 3},
        {2, 3, 5, 9, 21, 0, 0, L"D:\\exams\\ceph_dx_sx.obj_ceph_ll_long_06s_v021_i.txt", 5},
        {2, 4, 9, 9, 21, -1, 0, L"D:\\exams\\pan_dx.obj_3D_2_9_v021_i.txt", 0},
        {2, 5, 0, 9, 21, -1, 0, L"D:\\exams\\pan_dx.obj_serv_limit_edge_70_2_9_v021_i.txt", 0},
    };
    for (const auto& c : casi) {
        CPercorso p;
        p.SetTipoOutput(c.uscita);
        CParametriFileDat& d = p.GetParametriFileDat();
        d.Group = c.gruppo;
        d.Type = c.tipo;
        d.ApsRangeMin = 2;
        d.ApsRangeMax = c.apsMax;
        d.Version = c.versione;
        d.CephArmPos = c.braccio;
        EXPECT_EQ(p.NomeFileDat(L"D:\\exams\\esame.trg", c.collimato), c.nome) << c.gruppo << "," << c.tipo;
        EXPECT_EQ(p.GetTipoProiezione(), c.proiezione) << c.gruppo << "," << c.tipo;
    }
    CPercorso p;
    EXPECT_EQ(p.NomeFileDat(L"x\\y/esame.trg", 0).substr(0, 4), L"x\\y/");
}

TEST(FileProiezione, TestoEsattoPerDialetto)
{
    const std::string banner = "// " + std::string(97, '-');
    const std::string dir = CartellaTemporanea("proiezione-testo");
    const std::string vecchio = Espandi(VECCHIO, 5);
    // Output type 1 differs from type 0 only in the RES and OUT lines that replace MIN and MAX.
    std::string vecchio1 = Sostituisci(vecchio, "[MIN_AXES_POS]=20,-20,-80\n[MAX_AXES_POS]=20,-20,-80",
                                       "[OUT_AXES_POS]=0,0,0");
    vecchio1 = Sostituisci(vecchio1, "[INI_AXES_POS]", "[RES_AXES_POS]=2000,0,-7200\n[INI_AXES_POS]");
    vecchio1 = Sostituisci(vecchio1, "[MIN_H_AXIS_POS]=0\n[MAX_H_AXIS_POS]", "[OUT_H_AXIS_POS]");
    vecchio1 = Sostituisci(vecchio1, "[INI_H_AXIS_POS]", "[RES_H_AXIS_POS]=0\n[INI_H_AXIS_POS]");
    const struct {
        int uscita, gruppo, tipo, h;
        const char* file;
        std::string atteso;
    } casi[] = {
        {2, 0, 3, 0, "f_i.txt", Sostituisci(Espandi(TAGGATO, 0), "@", banner)},
        {0, 3, 1, 5, "f0.dat", vecchio},
        {1, 3, 1, 5, "f1.dat", vecchio1},
    };
    for (const auto& c : casi) {
        CPercorso p;
        Costruisci(p, c.h);
        p.SetTipoOutput(c.uscita);
        p.GetParametriFileDat().Group = c.gruppo;
        p.GetParametriFileDat().Type = c.tipo;
        ASSERT_EQ(p.SalvaFileDat(StringaDaUtf8(dir + c.file), c.uscita == 2), 1) << StringaAUtf8(p.GetErrorString());
        SCOPED_TRACE(c.uscita);
        ConfrontaRighe(Leggi(dir + c.file), c.atteso);
        EXPECT_EQ(std::ifstream(dir + "f1.bin").good(), c.uscita == 1);
    }
}

namespace {

// The unit's image read back from the file's layout, independently of the writer: the 37293-byte
// buffer it stands for (unused records as zeros) and whether its CRC matches that buffer.
struct Immagine {
    std::vector<unsigned char> b = std::vector<unsigned char>(37293, 0);
    bool crcGiusto = false;
    int U(size_t o, int n) const
    {
        unsigned v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = (v << 8) | b[o + static_cast<size_t>(i)];
        return static_cast<int>(v);
    }
};

Immagine Decodifica(const std::string& f)
{
    Immagine im;
    auto copia = [&](size_t da, size_t n, size_t a) {
        std::copy_n(f.begin() + static_cast<long>(da), n, im.b.begin() + static_cast<long>(a));
    };
    copia(0, 153, 0);
    const size_t m = im.b[149] | (im.b[150] << 8), inizioPassi = 153 + 37 * m;
    copia(153, 37 * m, 153);
    const size_t passi =
        static_cast<unsigned char>(f[inizioPassi]) | (static_cast<unsigned char>(f[inizioPassi + 1]) << 8);
    copia(inizioPassi, 2 + 12 * passi, 1263);
    copia(inizioPassi + 2 + 12 * passi, 28, 37265);
    EXPECT_EQ(f.size(), inizioPassi + 2 + 12 * passi + 28);
    unsigned crc = 0xFFFF;
    for (size_t i = 0; i < 37291; ++i) {
        crc ^= im.b[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? (crc >> 1) ^ 0x8408 : crc >> 1;
    }
    crc = ~crc & 0xFFFF;
    im.crcGiusto = im.b[37291] == (crc >> 8) && im.b[37292] == (crc & 0xFF);
    return im;
}

}  // namespace

TEST(FileProiezione, ImmagineBinariaByteAByte)
{
    const std::string dir = CartellaTemporanea("proiezione-immagine");
    CPercorso p;
    Costruisci(p, 0);
    ASSERT_EQ(p.SalvaFileDat(StringaDaUtf8(dir + "f_i.txt"), 1), 1);
    const Immagine im = Decodifica(Leggi(dir + "f_i.dat"));
    EXPECT_TRUE(im.crcGiusto);
    // Flags: TF, TM (-1 counts as set), patient pos 2, keyboard 1, bite block 2, scout.
    const int campi[][3] = {
        {0, 1, 21},      {1, 2, 0},          {3, 2, 3},        {5, 4, 0x12143},  {9, 1, 2},       {10, 1, 9},
        {11, 2, 11},     {13, 2, 12},        {15, 4, 13},      {19, 4, 20},      {31, 4, 2000},   {35, 4, 0},
        {39, 2, 3},      {49, 4, -20},       {71, 2, 7},       {79, 4, -80},     {91, 4, -7200},  {149, 2, 2},
        {151, 2, 5},     {153, 4, 1250000},  {157, 4, 1250000}, {167, 1, 4},     {168, 4, 4},     {172, 2, 61},
        {178, 2, 7},     {190, 4, 1150000},  {204, 1, 0},      {205, 4, 1},      {209, 2, 74},    {215, 2, 5},
        {1263, 2, 15},   {37265, 2, 5},      {37267, 2, 1},    {37269, 4, -10},  {37273, 4, 13},  {37277, 4, 40},
        {37285, 1, 60},  {37286, 1, 5},      {37287, 2, 100},  {37289, 2, 200},
    };
    for (const auto& c : campi)
        EXPECT_EQ(im.U(static_cast<size_t>(c[0]), c[1]), c[2]) << "offset " << c[0];
    // Records: X, Y, R, H, C, kV, mA; three zero records after the scout's junction and one at the end.
    const int passi[15][7] = {{1, 2, 3, 0, 3, 60, 5}, {1, 2, 3, 0, 3, 60, 5}, {32769, 0, 0, 0, 0, 0, 0}, {}, {}, {},
                              {4, 5, 6, 0, 3, 70, 8}, {4, 5, 6, 0, 3, 70, 8}, {4, 5, 6, 0, 3, 70, 8},
                              {0, 0, 0, 0, 2, 0, 0}, {7, 0, 0, 0, 3, 70, 8}, {7, 0, 0, 0, 3, 70, 8},
                              {0, 0, 9, 0, 0, 0, 0}, {0, 0, 0, 0, 4, 90, 10}, {}};
    for (size_t k = 0; k < 15; ++k)
        for (size_t c = 0; c < 7; ++c)
            EXPECT_EQ(im.U(1265 + 12 * k + (c < 5 ? 2 * c : 5 + c), c < 5 ? 2 : 1), passi[k][c]) << k << "," << c;
}

TEST(FileProiezione, ImmagineCB3DComeBufferDellApi)
{
    const CLimitiEParametri m = MacchinaEsempio();
    DLL_KORVANE_SetLimitiEParametri(&m);
    ASSERT_EQ(DLL_KORVANE_UsaTestaDiDefault(), 1);
    int dim = 0, n = 0;
    ASSERT_EQ(DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(ParamTrjCB3D(), dim, n), 1);
    std::vector<unsigned char> api(37293);
    ASSERT_EQ(DLL_KORVANE_GetTraiettoria(api.data(), nullptr, dim, 0), 1);

    // The same scan built by hand, as the flat API builds it.
    CPercorso p;
    p.SetLimitiEParametri(&m, 1);
    CTraiettoria t(m);
    t.TipoCurva = CTraiettoria::CURVA_CIRCOLARE;
    t.AmpiezzaArcodeg = 360.0;
    t.PosInizArcodeg = (m.AsseR.PosMax + m.AsseR.PosMin) / 2.0 - 180.0;
    t.TempoScansionesCirc = 20.0;
    t.RCerchioXYmm = 0.0;
    t.XCentroRotazmm = 0.0;
    t.YCentroRotazmm = 0.0;
    t.KVaRegimeCirc = 100;
    t.mAFrontali = 100;
    t.mALaterali = 100;
    t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_3D);
    p.ArrayTraiettorieAdd(&t);
    for (int i = 0; i < 2; ++i) {
        CRaccordo r(m);
        r.UsaTempoMinimo = 1;
        r.MaxAccPercento = 80.0f;
        r.GestioneRaggi = 0;
        r.TipoRaccordo = CRaccordo::RACCORDO_ARMONICO;
        PUNTO_TRAIETTORIA riposo = Punto(-40.0, 22.0, i == 0 ? m.AsseR.PosMin + 0.2 : m.AsseR.PosMax - 0.2);
        riposo.dPosH = i == 0 ? t.PuntoIniziale.dPosH : t.PuntoFinale.dPosH;
        r.PuntoIniziale = i == 0 ? riposo : t.PuntoFinale;
        r.PuntoFinale = i == 0 ? t.PuntoIniziale : riposo;
        r.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_3D);
        p.ArrayRaccordiAdd(&r);
    }
    for (const CElementoOrdine& e : {CElementoOrdine(SEZIONE_RACCORDO, 0), CElementoOrdine(SEZIONE_TRAIETTORIA, 0),
                                    CElementoOrdine(SEZIONE_RACCORDO, 1)})
        p.ArrayOrdineAggiungiElemento(&e, -1);
    p.CorreggiContinuitaSezioni();
    CParametriFileDat& d = p.GetParametriFileDat();
    d.Group = 5;
    d.Version = 21;
    d.ApsRangeMax = 32;
    d.PosUscitaR = 0.0f;
    const std::string dir = CartellaTemporanea("proiezione-cb3d");
    ASSERT_EQ(p.SalvaFileDat(StringaDaUtf8(dir + "cb3d_i.txt"), 1), 1) << StringaAUtf8(p.GetErrorString());
    const Immagine im = Decodifica(Leggi(dir + "cb3d_i.dat"));

    const int passi = api[1263] | (api[1264] << 8);
    ASSERT_EQ(im.U(1263, 2), passi + 1);  // the image ends with its closing zero record
    const std::pair<size_t, size_t> condivisi[] = {{0, 5}, {10, 1}, {19, 4}, {35, 4}, {49, 4}, {65, 4}, {79, 4},
        {95, 4}, {109, 4}, {125, 4}, {1265, 12 * static_cast<size_t>(passi)}};
    for (const auto& [o, l] : condivisi)
        EXPECT_TRUE(std::equal(api.begin() + static_cast<long>(o), api.begin() + static_cast<long>(o + l),
                               im.b.begin() + static_cast<long>(o)))
            << "offset " << o;
}

TEST(FileProiezione, RifiutiSenzaToccareIlFileBuono)
{
    const std::string dir = CartellaTemporanea("proiezione-rifiuti");
    auto traiettoria = [](CPercorso& p, int i, auto cambia) {
        CTraiettoria t(p.ArrayTraiettorieGetTraiettoria(i));
        cambia(t);
        p.CopiaTraiettoria(i, &t);
    };
    const struct {
        const char* caso;
        std::function<void(CPercorso&)> prepara;
        int messaggio;  // 0: no message
        std::string cartella;
    } casi[] = {
        {"empty path", [](CPercorso& p) { p.SvuotaArray(); }, 167, dir},
        {"no steps", [&](CPercorso& p) { traiettoria(p, 2, [](CTraiettoria& t) { t.ArrayPassi.RemoveAll(); }); }, 167,
            dir},
        {"scout moving",
            [&](CPercorso& p) { traiettoria(p, 0, [](CTraiettoria& t) { t.PuntoIniziale.dVelH = 1e-9; }); }, 183, dir},
        {"image moving", [&](CPercorso& p) { traiettoria(p, 1, [](CTraiettoria& t) { t.PuntoIniziale.dVelR = -1; }); },
            183, dir},
        {"NaN reset", [](CPercorso& p) { p.GetParametriFileDat().PosResetY = NAN; }, MSG_VALORE_FUORI_CAMPO_PROIEZIONE,
            dir},
        {"margin", [](CPercorso& p) { p.GetParametriFileDat().PxMarginsTopC[0] = 70000; },
            MSG_VALORE_FUORI_CAMPO_PROIEZIONE, dir},
        {"3001 records", [&](CPercorso& p) { traiettoria(p, 3, [](CTraiettoria& t) { t.ArrayPassi.SetSize(2987); }); },
            MSG_PASSI_OLTRE_3000, dir},
        {"31 sub-images",
            [&](CPercorso& p) {
                CTraiettoria t(p.ArrayTraiettorieGetTraiettoria(3));
                for (int i = 0; i < 30; ++i) {
                    p.ArrayTraiettorieAdd(&t);
                    const CElementoOrdine e(SEZIONE_TRAIETTORIA, p.ArrayTraiettorieGetSize() - 1);
                    p.ArrayOrdineAggiungiElemento(&e, -1);
                }
            },
            MSG_SOTTOIMMAGINI_OLTRE_30, dir},
        {"unwritable folder", [](CPercorso&) {}, 0, dir + "absent/"},
    };
    for (const auto& c : casi) {
        CPercorso p;
        Costruisci(p, 0);
        p.SetTipoOutput(2);
        c.prepara(p);
        std::ofstream(dir + "f_i.txt") << "good";
        EXPECT_EQ(p.SalvaFileDat(StringaDaUtf8(c.cartella + "f_i.txt"), 1), 0) << c.caso;
        EXPECT_EQ(p.GetErrorString(), c.messaggio ? TestoMessaggio(c.messaggio) : L"") << c.caso;
        EXPECT_TRUE(Leggi(dir + "f_i.txt") == "good") << c.caso;
        EXPECT_FALSE(std::ifstream(dir + "f_i.dat").good()) << c.caso;
        EXPECT_FALSE(std::ifstream(dir + "f_i.txt.part").good()) << c.caso;
    }
}

TEST(FileProiezione, DomandaSullaVersione)
{
    const std::string dir = CartellaTemporanea("proiezione-versione");
    for (int risposta : {-1, 0, 1}) {
        if (risposta >= 0)
            ImpostaGestoreDomande([risposta](const CString&, int) { return risposta; });
        CPercorso p;
        Costruisci(p, 0);
        p.GetParametriFileDat().Version = 20;
        ASSERT_EQ(p.SalvaFileDat(StringaDaUtf8(dir + "v_i.txt"), 1), 1);
        const int attesa = risposta == 1 ? 21 : 20;
        EXPECT_EQ(p.GetParametriFileDat().Version, attesa);
        EXPECT_NE(Leggi(dir + "v_i.txt").find("[VERSION]=" + std::to_string(attesa) + "\n"), std::string::npos);
        EXPECT_EQ(Decodifica(Leggi(dir + "v_i.dat")).b[0], attesa);
    }
    ImpostaGestoreDomande(nullptr);
}

TEST(FileProiezione, FileCSVDelPercorso)
{
    const std::string dir = CartellaTemporanea("proiezione-csv");
    CPercorso p;
    Costruisci(p, 0);
    ASSERT_EQ(p.SalvaFileCSV(StringaDaUtf8(dir + "p.csv")), 1);
    EXPECT_EQ(Leggi(dir + "p.csv"), Espandi("#S\n#S\n#J\n#P\n#P\n#P\n#G\n#L\n#L\n#K\n#C\n", 0));
    // -0.25 mm and 0.3125 mm at 40 steps per mm round half away from zero to -10 and 13.
    EXPECT_EQ(Leggi(dir + "p_P0.csv"), "-10,13,40,0,0\n");
    EXPECT_EQ(Leggi(dir + "p_SH.csv"),
        "Esame,0,3,9,version,21\nTotale traiettorie,4\n\nTraiettoria,0\nTraiettoria,1\nTraiettoria,2\nTraiettoria,3\n");
    CPercorso vuoto;
    EXPECT_EQ(vuoto.SalvaFileCSV(StringaDaUtf8(dir + "v.csv")), 0);
    EXPECT_EQ(vuoto.GetErrorString(), TestoMessaggio(167));
    EXPECT_EQ(p.SalvaFileCSV(StringaDaUtf8(dir + "absent/p.csv")), 0);
}
