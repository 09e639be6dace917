#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "path/Percorso.h"
#include "platform/Prompt.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"

namespace {

using D = CParametriFileDat;

// Scout, junction, panoramic, junction carrying the image on, linear, junction, two-axis ceph; 40 motor
// steps per unit, and a C word w runs w/4 pixels per step.
void Costruisci(CPercorso& p, int h)
{
    CLimitiEParametri m = MacchinaEsempio();
    for (PARAMETRI_ASSE* a : {&m.AsseX, &m.AsseY, &m.AsseR, &m.AsseH})
        a->StepPerUnita = 40.0;
    m.AsseC.StepPerUnita = m.AsseC.StepSPerLSB = m.DimPixelPano = 1.0;
    m.PassoTemporale = 0.25;
    p.SetLimitiEParametri(&m, 1);
    const struct {
        int curva, scout, raggi, n;
        std::array<int, 7> v;
    } pezzi[] = {{2, 1, 0, 2, {1, 2, 3, 3, 60, 5, 0}}, {0, 0, 0, 1, {32769, 0, 0, 0, 0, 0, 0}},
                 {2, 0, 0, 3, {4, 5, 6, 3, 70, 8, 0}}, {0, 0, 2, 1, {0, 0, 0, 2, 0, 0, 0}},
                 {4, 0, 0, 2, {7, 0, 0, 3, 70, 8, 0}}, {0, 0, 0, 1, {0, 0, 9, 0, 0, 0, 0}},
                 {6, 0, 0, 1, {0, 0, 0, 4, 90, 10, h}}};
    for (const auto& z : pezzi) {
        CTraiettoria t(m);
        CRaccordo r(m);
        CSezione& s = z.curva ? static_cast<CSezione&>(t) : r;
        for (int k = 0; k < z.n; ++k)
            s.ArrayPassi.Add(PassoProva(z.v));
        const int i = p.ArrayOrdineGetSize();
        s.PuntoIniziale.dPosX = i == 0 ? -0.25 : i == 2 ? 0.5 : 0.0;
        s.PuntoIniziale.dPosY = i == 0 ? 0.3125 : i == 2 ? -0.5 : 0.0;
        s.PuntoIniziale.dPosR = i == 0 ? 1.0 : i == 2 ? -2.0 : 0.0;
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
    const std::pair<std::int32_t D::*, int> valori[] = {
        {&D::Type, 3},         {&D::Version, 21},          {&D::TFCanUpdate, 1},      {&D::YCanMove, 0},
        {&D::CephPatientPos, 2}, {&D::PanKeybPos, 1},      {&D::CephArmPos, 1},       {&D::BiteBlockConf, 2},
        {&D::ApsRangeMin, 2},  {&D::ApsRangeMax, 9},       {&D::YAxisCorrLen, 7},     {&D::XAxisCorrFact, 3},
        {&D::PrmCollimOffset1, 11}, {&D::PrmCollimOffset2, 12}, {&D::ScnCollimOffset, 13}, {&D::ScoutKV, 60},
        {&D::ScoutMA, 5},      {&D::ScoutCollMin, 100},    {&D::ScoutCollMax, 200}};
    for (const auto& [campo, v] : valori)
        d.*campo = v;
    const std::pair<ArrayInt D::*, int> array[] = {
        {&D::LRImgNote, 2},       {&D::PxMarginsLeft, 60},   {&D::PxMarginsRight, 20},   {&D::PxMarginsTop, 3},
        {&D::PxMarginsBottom, 4}, {&D::PxMarginsLeftC, 61},  {&D::PxMarginsRightC, 21},  {&D::PxMarginsTopC, 6},
        {&D::PxMarginsBottomC, 7}};
    for (const auto& [campo, v] : array)
        (d.*campo)[0] = v;
}

// Golden projection files, one per dialect, for the path Costruisci makes.
const std::string DATI = std::string(KORVANE_SOURCE_DIR) + "/tests/path/dati/";

// The image read back from the file's layout, independently of the writer, into the 37293-byte buffer
// it stands for (unused records as zeros); `crc` tells whether the stored CRC is that buffer's.
struct Immagine {
    std::vector<unsigned char> b = std::vector<unsigned char>(37293, 0);
    bool crc = false;
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
        if (da < f.size())
            std::copy_n(&f[da], std::min(n, f.size() - da), &im.b[a]);
    };
    copia(0, 153, 0);
    const size_t m = im.U(149, 2), inizioPassi = 153 + 37 * m;
    copia(153, 37 * m, 153);
    copia(inizioPassi, 2, 1263);
    const size_t passi = im.U(1263, 2), scout = inizioPassi + 2 + 12 * passi;
    copia(inizioPassi + 2, 12 * passi, 1265);
    copia(scout, 28, 37265);
    EXPECT_EQ(f.size(), scout + 28);
    unsigned crc = 0xFFFF;
    for (size_t i = 0; i < 37291; ++i) {
        crc ^= im.b[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? (crc >> 1) ^ 0x8408 : crc >> 1;
    }
    crc = ~crc & 0xFFFF;
    im.crc = im.b[37291] == (crc >> 8) && im.b[37292] == (crc & 0xFF);
    return im;
}

}  // namespace

TEST(FileProiezione, NomeETipoDiProiezione)
{
    const struct {
        int uscita, gruppo, tipo, apsMax, braccio, collimato;
        const wchar_t* nome;
        int proiezione;
    } casi[] = {
        {2, 0, 3, 9, -1, 1, L"pan_dx.obj_pan_orth_36_2_9_v021_i.txt", 3},
        {2, 0, 0, 7, -1, 0, L"pan_dx.obj_pan_std_36_9s_2_7_v021_i.txt", 11},
        {7, 0, 14, 9, -1, 0, L"pan_dx.obj_pan_bwing_sx_2_9_v021_i.txt", 9},
        {2, 0, 7, 9, -1, 0, L"pan_dx.obj_pan_2_9_v021_i.txt", -1},
        {0, 0, 17, 9, -1, 1, L"in.pan_dx_collim.obj_pan_quick_2_9_v021.dat", 17},
        {2, 1, 9, 9, -1, 0, L"pan_dx.obj_tmj_lat_2_9_v021_i.txt", 4},
        {0, 3, 2, 9, 1, 0, L"", 2},
        {1, 3, 2, 9, 1, 1, L"in.ceph_dx_dx.obj_ceph_smv_v021.dat", 2},
        {2, 3, 0, 9, 0, 0, L"ceph_dx_sx.obj_ceph_ll_06s_v021_i.txt", 3},
        {2, 5, 0, 32, -1, 0, L"pan_dx.obj_serv_limit_edge_70_2_32_v021_i.txt", 0},
    };
    for (const auto& c : casi) {
        CPercorso p;
        p.SetTipoOutput(c.uscita);
        CParametriFileDat& d = p.GetParametriFileDat();
        d.Group = c.gruppo;
        d.Type = c.tipo;
        d.ApsRangeMin = 2;
        d.ApsRangeMax = c.apsMax;
        d.Version = 21;
        d.CephArmPos = c.braccio;
        const CString atteso = *c.nome ? L"D:\\x/esami\\" + CString(c.nome) : L"";
        EXPECT_EQ(p.NomeFileDat(L"D:\\x/esami\\esame.trg", c.collimato), atteso);
        EXPECT_EQ(p.GetTipoProiezione(), c.proiezione) << c.gruppo << "," << c.tipo;
    }
}

TEST(FileProiezione, TestoEsattoPerDialettoEImmagine)
{
    const std::string dir = CartellaTemporanea("proiezione-testo");
    const struct { int uscita, gruppo, tipo, h; const char *file, *atteso; } casi[] = {
        {2, 0, 3, 0, "f_i.txt", "proiezione_taggata_i.txt"}, {0, 3, 1, 5, "f0.dat", "proiezione_uscita0.dat"},
        {1, 3, 1, 5, "f1.dat", "proiezione_uscita1.dat"}};
    for (const auto& c : casi) {
        CPercorso p;
        Costruisci(p, c.h);
        p.SetTipoOutput(c.uscita);
        p.GetParametriFileDat().Group = c.gruppo;
        p.GetParametriFileDat().Type = c.tipo;
        ASSERT_EQ(p.SalvaFileDat(StringaDaUtf8(dir + c.file), c.uscita == 2), 1);
        EXPECT_EQ(LeggiFile(dir + c.file), LeggiFile(DATI + c.atteso)) << c.file;
        // Output type 1 gets its image under its own name, beside the text file.
        EXPECT_EQ(std::ifstream(dir + "f1.bin").good(), c.uscita == 1);
    }

    // The image byte for byte, and read back independently of the writer: its CRC and its parts' places.
    const std::string immagine = LeggiFile(dir + "f_i.dat");
    EXPECT_EQ(immagine, LeggiFile(DATI + "proiezione_immagine_i.dat"));
    const Immagine im = Decodifica(immagine);
    EXPECT_TRUE(im.crc);
    // Anchors of each part: version and flags, both sub-images, the step count with its zero records, the scout.
    for (const auto& [offset, byte, valore] :
         {std::array<int, 3>{0, 1, 21}, {5, 4, 0x12143}, {149, 2, 2}, {153, 4, 1250000}, {167, 1, 4}, {172, 2, 61},
          {190, 4, 1150000}, {1263, 2, 15}, {37265, 2, 5}, {37269, 4, -10}, {37285, 1, 60}, {37289, 2, 200}})
        EXPECT_EQ(im.U(static_cast<size_t>(offset), byte), valore) << "offset " << offset;
}

TEST(FileProiezione, RifiutiSenzaToccareIlFileBuono)
{
    const std::string dir = CartellaTemporanea("proiezione-rifiuti");
    auto cambia = [](int i, std::function<void(CTraiettoria&)> f) {
        return [i, f](CPercorso& p) {
            CTraiettoria t(p.ArrayTraiettorieGetTraiettoria(i));
            f(t);
            p.CopiaTraiettoria(i, &t);
        };
    };
    auto aggiungi30 = [](CPercorso& p) {
        for (int i = 0; i < 30; ++i) {
            p.ArrayTraiettorieAdd(p.ArrayTraiettorieGetTraiettoria(3));
            const CElementoOrdine e(SEZIONE_TRAIETTORIA, p.ArrayTraiettorieGetSize() - 1);
            p.ArrayOrdineAggiungiElemento(&e, -1);
        }
    };
    const struct {
        std::function<void(CPercorso&)> prepara;
        int messaggio;  // 0: none
        const char* cartella;
    } casi[] = {
        {[](CPercorso& p) { p.SvuotaArray(); }, 167, ""},
        {cambia(2, [](CTraiettoria& t) { t.ArrayPassi.RemoveAll(); }), 167, ""},
        {cambia(0, [](CTraiettoria& t) { t.PuntoIniziale.dVelH = 1e-9; }), 183, ""},  // the scout's start
        {cambia(1, [](CTraiettoria& t) { t.PuntoIniziale.dVelR = -1; }), 183, ""},    // the first image's start
        {[](CPercorso& p) { p.GetParametriFileDat().PosResetY = NAN; }, MSG_VALORE_FUORI_CAMPO_PROIEZIONE, ""},
        {[](CPercorso& p) { p.GetParametriFileDat().PxMarginsTopC[0] = 70000; }, MSG_VALORE_FUORI_CAMPO_PROIEZIONE, ""},
        {cambia(3, [](CTraiettoria& t) { t.ArrayPassi.SetSize(2987); }), MSG_PASSI_OLTRE_3000, ""},  // 3001 records
        {aggiungi30, MSG_SOTTOIMMAGINI_OLTRE_30, ""},
        {[](CPercorso&) {}, 0, "absent/"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.messaggio);
        CPercorso p;
        Costruisci(p, 0);
        c.prepara(p);
        std::ofstream(dir + "f_i.txt") << "good";
        EXPECT_EQ(p.SalvaFileDat(StringaDaUtf8(dir + c.cartella + "f_i.txt"), 1), 0);
        EXPECT_EQ(p.GetErrorString(), c.messaggio ? TestoMessaggio(c.messaggio) : L"");
        EXPECT_EQ(LeggiFile(dir + "f_i.txt"), "good");
        EXPECT_TRUE(!std::ifstream(dir + "f_i.dat").good() && NessunProvvisorio(dir));
    }
}

// A step word beyond 16 bits or a tube setting beyond 8 bits has no record in the image of output types 1
// and 2: refused with the step's place in the running order. Type 0 has no image; its text keeps the value.
TEST(FileProiezione, PassoSenzaRecordNellImmagine)
{
    const std::string dir = CartellaTemporanea("proiezione-passo");
    // Trajectories 1, 2 and 3 start at steps 3, 7 and 10 of the running order.
    const struct { int traiettoria, passo; std::int32_t PASSO_TRAIETTORIA::*campo; int valore, indice; } casi[] = {
        {1, 1, &PASSO_TRAIETTORIA::iX, 65536, 4}, {2, 0, &PASSO_TRAIETTORIA::imA, -1, 7},
        {3, 0, &PASSO_TRAIETTORIA::iKV, 256, 10}};
    for (const auto& c : casi)
        for (const int uscita : {0, 1, 2}) {
            CPercorso p;
            Costruisci(p, 0);
            CTraiettoria t(p.ArrayTraiettorieGetTraiettoria(c.traiettoria));
            t.ArrayPassi[c.passo].*c.campo = c.valore;
            p.CopiaTraiettoria(c.traiettoria, &t);
            p.SetTipoOutput(uscita);
            const std::string nome =
                dir + std::to_string(c.indice) + "_" + std::to_string(uscita) + (uscita == 2 ? "_i.txt" : ".dat");
            CString atteso;
            if (uscita != 0)
                CaricaMessaggio(atteso, MSG_PASSO_NON_ADATTO_ALL_UNITA, c.indice);
            EXPECT_EQ(p.SalvaFileDat(StringaDaUtf8(nome), 1), uscita == 0) << c.indice << " " << uscita;
            EXPECT_EQ(p.GetErrorString(), atteso) << c.indice << " " << uscita;
            EXPECT_EQ(std::filesystem::exists(nome), uscita == 0) << c.indice << " " << uscita;
        }
    EXPECT_NE(LeggiFile(dir + "10_0.dat").find(",256,"), std::string::npos);
}

TEST(FileProiezione, DomandaSullaVersioneEFileCSV)
{
    const std::string dir = CartellaTemporanea("proiezione-csv");
    for (int risposta : {-1, 0, 1}) {  // -1: no user, the prompt policy answers No
        if (risposta >= 0)
            ImpostaGestoreDomande([risposta](const CString&, int) { return risposta; });
        CPercorso p;
        Costruisci(p, 0);
        p.GetParametriFileDat().Version = 20;
        ASSERT_EQ(p.SalvaFileDat(StringaDaUtf8(dir + "v_i.txt"), 1), 1);
        const int attesa = risposta == 1 ? 21 : 20;
        EXPECT_EQ(p.GetParametriFileDat().Version, attesa);
        EXPECT_NE(LeggiFile(dir + "v_i.txt").find("[VERSION]=" + std::to_string(attesa) + "\n"), std::string::npos);
        EXPECT_EQ(Decodifica(LeggiFile(dir + "v_i.dat")).b[0], attesa);
    }
    ImpostaGestoreDomande(nullptr);

    CPercorso p;
    Costruisci(p, 0);
    ASSERT_EQ(p.SalvaFileCSV(StringaDaUtf8(dir + "p.csv")), 1);
    EXPECT_EQ(LeggiFile(dir + "p.csv"), "1,2,3,3,60,5\n1,2,3,3,60,5\n32769,0,0,0,0,0\n4,5,6,3,70,8\n4,5,6,3,70,8\n4,5,6,3,70,8\n"
                                    "0,0,0,2,0,0\n7,0,0,3,70,8\n7,0,0,3,70,8\n0,0,9,0,0,0\n0,0,0,4,90,10\n");
    // -0.25 mm and 0.3125 mm at 40 steps per mm round half away from zero to -10 and 13.
    EXPECT_EQ(LeggiFile(dir + "p_P0.csv"), "-10,13,40,0,0\n");
    EXPECT_EQ(LeggiFile(dir + "p_SH.csv"), "Esame,0,3,9,version,21\nTotale traiettorie,4\n\n"
                                       "Traiettoria,0\nTraiettoria,1\nTraiettoria,2\nTraiettoria,3\n");
    EXPECT_EQ(p.SalvaFileCSV(StringaDaUtf8(dir + "absent/p.csv")), 0);
}
