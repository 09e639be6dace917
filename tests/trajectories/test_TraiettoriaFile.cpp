#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Prompt.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"
#include "trajectories/Traiettoria.h"

namespace {

using Tr = CTraiettoria;
const std::string DATI = std::string(KORVANE_SOURCE_DIR) + "/tests/trajectories/dati/";
const std::string ORO = LeggiFile(DATI + "blocchi_correnti.trg");

std::string Blocco(int tipo, int seguente)
{
    const auto da = [](int k) { return ORO.find("Tipo Curva        = " + std::to_string(k)); };
    return ORO.substr(da(tipo), seguente ? da(seguente) - da(tipo) : std::string::npos);
}

// The five trajectories of the golden text, in its order.
std::vector<Tr> Correnti()
{
    std::vector<Tr> t(5, Tr(MacchinaEsempio()));
    t[0].TipoCurva = 5, t[0].Nome = L"Scan da file", t[0].TipoCurvaVero = 3, t[0].BraccioCephDx = 0, t[0].IsScout = 7;
    t[0].IngrandimentoCSV = 1.25f, t[0].PuntoIniziale.dPosX = 10.4, t[0].PuntoIniziale.dPosY = -5.3;
    t[0].PuntoIniziale.dPosR = 90.0;
    for (int k : {0, 100})
        t[0].ArrayPassi.Add(PassoProva({k, 32868 + k, 5, 1000, 80, 90, 3}));
    t[1].TipoCurva = 2, t[1].Nome = L"Pan adulto  standard", t[1].Ingrandimento = 1.25f, t[1].TempoScansiones = 14.2f;
    t[1].InvScaricamento = 1, t[1].PosRProjCostSx = 42, t[1].TraietSimmetrica = 0, t[1].PosDistAng0 = 3;
    t[1].TipoRicostruzione = 1, t[1].Is2Assi = 1, t[1].MostraGrKV = 1, t[1].IngrGrShift = 25.0f;
    t[1].OffsetGraficoKV = -4;
    for (auto [x, y] : {std::pair{10.0, 0.5}, {130.0, 0.75}, {250.0, 0.5}, {10.0, 80.0}, {250.0, 90.0}})
        (y < 1.0 ? t[1].PuntiTuning : t[1].PuntiTuningKV).Add(CPunto2DKorvane(x, y));
    t[2].TipoCurva = 3, t[2].Nome = L"CB3D 8x8", t[2].AmpiezzaArcodeg = 360.0, t[2].PosInizArcodeg = -180.0;
    t[2].RCerchioXYmm = 0.0, t[2].TempoScansionesCirc = 12.5, t[2].XCentroRotazmm = 1.0, t[2].YCentroRotazmm = -2.0;
    t[2].KVaRegimeCirc = 75, t[2].mAFrontali = 90, t[2].mALaterali = 110;
    t[3].TipoCurva = 4, t[3].Nome = L"Linear ATM", t[3].LunghezzaRettamm = 40.0f, t[3].XCentroRettamm = 45.5f;
    t[3].YCentroRettamm = -30.0f, t[3].TempoScansionesLin = 4.0f, t[3].InclRettadeg = 12.5f, t[3].InvSensore = 0;
    t[3].RProiezionemm = 55.0f, t[3].IngrandimentoLin = 1.3f, t[3].Disortogonalitdeg = 2.5f, t[3].InvRotazione = 1;
    t[3].InvScaricamentoLin = 1, t[3].KVaRegimeLin = 90, t[3].IsScout = 1, t[3].Is2Assi = 1;
    t[4].TipoCurva = 6, t[4].Nome = L"Ceph LL", t[4].TempoScansionesCef = 6.0f, t[4].DistanzaSIDmm = 1500.0f;
    t[4].SpostamentoPiumm = 120.0f, t[4].SpostamentoMenomm = -130.0f, t[4].IngrandimentoCef = 1.1f;
    t[4].BraccioDestro = 0, t[4].KVaRegimeCef = 95, t[4].CreaRampaSTF = 1, t[4].IsIngrCostante = 0, t[4].Is2Assi = 1;
    return t;
}

// Writes the trajectories one after another, each with the kind it is given.
std::string Salva(std::vector<Tr>& t, const std::vector<int>& tipi, const CString& nome)
{
    return Testo([&](FILE* f) {
        for (size_t i = 0; i < t.size(); ++i)
            t[i].TipoCurva = tipi[i], t[i].SalvaFileTRG(f, nome, 1);
    });
}

// Reads `n` blocks in a row into fresh trajectories, with no time step, so that no recomputation
// adapts what was read.
std::vector<Tr> Carica(const std::string& testo, size_t n, const CString& nome, std::vector<int>& esiti,
                       const std::function<void(Tr&)>& prima = [](Tr&) {})
{
    FILE* f = FlussoCon(testo);
    CLimitiEParametri m = MacchinaEsempio();
    m.PassoTemporale = 0.0;
    std::vector<Tr> t(n, Tr(m));
    for (Tr& x : t) {
        prima(x);
        esiti.push_back(x.CaricaFileTRG(f, nome));
    }
    std::fclose(f);
    return t;
}

const std::vector<int> TIPI = {5, 2, 3, 4, 6};

}  // namespace

TEST(TraiettoriaFile, BlocchiCorrentiEsattiEDiRitorno)
{
    const std::string cartella = CartellaTemporanea("BlocchiCorrenti");
    const CString nome = StringaDaUtf8(cartella + "esame0.trg");
    std::vector<Tr> t = Correnti();
    ASSERT_EQ(Salva(t, TIPI, nome), ORO);
    EXPECT_EQ(LeggiFile(cartella + "esame0.csv2"), "0,32868,5,1000,80,90,3\n100,32968,5,1000,80,90,3\n");
    EXPECT_EQ(LeggiFile(cartella + "esame0_P0.csv2"), "8320,-4240,153600,0\n");
    for (const std::string& testo : {ORO, ConCRLF(ORO)}) {
        std::vector<int> esiti;
        std::vector<Tr> letti = Carica(testo, 5, nome, esiti);
        EXPECT_EQ(esiti, std::vector<int>(5, 1));
        EXPECT_EQ(letti[0].ArrayPassi.GetSize(), 2);
        EXPECT_EQ(Salva(letti, TIPI, nome), ORO);
    }
    // Without its companions a CSV trajectory still reads its block, with no steps.
    std::vector<int> esiti;
    EXPECT_TRUE(Carica(ORO, 1, StringaDaUtf8(cartella + "altro0.trg"), esiti)[0].ArrayPassi.IsEmpty() && esiti[0] == 1);

    // A companion that cannot take the place of what stands there fails the block and says so.
    std::filesystem::create_directory(cartella + "esame1.csv2");
    FILE* f = std::tmpfile();
    EXPECT_EQ(t[0].SalvaFileTRG(f, StringaDaUtf8(cartella + "esame1.trg"), 1), 0);
    EXPECT_EQ(t[0].StringaErrore, TestoMessaggio(MSG_COMPAGNI_CSV_NON_SCRITTI));
    EXPECT_TRUE(NessunProvvisorio(cartella));
    std::fclose(f);
}

TEST(TraiettoriaFile, OgniVersioneVecchiaConLeSueCompletezze)
{
    std::vector<CString> avvisi;
    ImpostaGestoreInformazioni([&](const CString& t) { avvisi.push_back(t); });
    // Each kind's every version, written back in the newest layout: what each old layout read, what
    // it completed (flat kV and shift graphs, default name, disorthogonality, magnification) and
    // the values it must not touch (set below, before reading).
    std::vector<int> esiti, tipi = {5, 5, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 6, 6, 6, 6, 6};
    std::vector<Tr> t = Carica(LeggiFile(DATI + "blocchi_vecchi.trg"), tipi.size(), L"", esiti, [](Tr& x) {
        x.Nome = L"prima", x.Disortogonalitdeg = 9.0f, x.IngrandimentoCef = 9.0f, x.InvRotazione = 7;
    });
    EXPECT_EQ(esiti, std::vector<int>(tipi.size(), 1));
    EXPECT_EQ(Salva(t, tipi, L""), LeggiFile(DATI + "blocchi_vecchi_letti.trg"));
    // Only the two blocks whose dropped setting was on say so.
    ASSERT_EQ(avvisi.size(), 2u);
    EXPECT_EQ(avvisi[0].substr(0, 7), L"ERRORE\n");
    ImpostaGestoreInformazioni(nullptr);
}

TEST(TraiettoriaFile, UnaRigaDannosaCostaSoloSeStessa)
{
    const std::string circ = Blocco(3, 4), pan = Blocco(2, 3);
    const std::string raggio = "R Cerchio XY mm   = 0.000000\n", punto = "130.000000,0.750000\n";
    const std::string perso = Sostituisci(circ, raggio, "R Cerchio XY mm   = 50.000000\n");
    const std::string corta = Togli(pan, "250.000000,90.000000\n");
    // Each case: the damage, the text, its kind and the block written back (empty: not checked).
    const struct { const char* caso; std::string testo; int tipo; std::string atteso; } casi[] = {
        {"bad value", Sostituisci(circ, raggio, "R Cerchio XY mm   = x\n"), 3, perso},
        {"damaged kind line", Sostituisci(circ, "Tipo Curva   ", "Tipo Curba   "), 3, circ},
        {"unknown version", Sostituisci(circ, "= 6\n", "= 7\n"), 3, ""},
        {"damaged point", Sostituisci(pan, punto, "130.000000;x\n"), 2, Sostituisci(Togli(pan, punto), "3 P", "2 P")},
        {"absurd count", Sostituisci(pan, "3 Punti Tuning\n", "2000000000 Punti Tuning\n"), 2, pan},
        {"short list", corta, 2, Sostituisci(corta, "2 Punti Tuning KV", "1 Punti Tuning KV")},
    };
    for (const auto& c : casi) {
        std::vector<int> esiti;
        std::vector<Tr> t = Carica(c.testo, 1, L"", esiti);
        EXPECT_EQ(esiti[0], 0) << c.caso;
        EXPECT_EQ(c.atteso.empty() ? c.atteso : Salva(t, {c.tipo}, L""), c.atteso) << c.caso;
    }
    // A cut anywhere ends the reading, and only a cut inside the block fails it.
    for (size_t n = 0; n <= pan.size(); ++n) {
        std::vector<int> esiti;
        Carica(pan.substr(0, n), 1, L"", esiti);
        EXPECT_EQ(esiti[0], n >= FineUtile(pan) ? 1 : 0) << n;
    }
}

// Damage near the lines older blocks read in their own way costs only the damaged line: the first of
// two "X centro retta mm" lines, the line before "Sensore in alto" or an old "KV a regime %", the line
// before the uncounted points. A value that does not convert whole, or does not fit its type, is a
// damaged line too, and a lone carriage return ends a line.
TEST(TraiettoriaFile, DanniVicinoAlleRigheParticolari)
{
    const std::string vecchi = LeggiFile(DATI + "blocchi_vecchi.trg");
    const auto vecchio = [&](int tipo, int versione) {
        const std::string testa = "Tipo Curva        = " + std::to_string(tipo) + "\n";
        size_t da = 0;
        const std::string riga = "Versione          = " + std::to_string(versione) + "\n";
        while ((da = vecchi.find(testa, da)) != std::string::npos &&
               vecchi.compare(vecchi.find("Versione", da), riga.size(), riga))
            ++da;
        return vecchi.substr(da, vecchi.find("Tipo Curva", da + 1) - da);
    };
    using Cambia = std::function<void(Tr&)>;
    // The member keeps the value it had before the read: a new trajectory's.
    const auto Predefinito = [](auto Tr::*m) -> Cambia { return [m](Tr& t) { t.*m = Tr(MacchinaEsempio()).*m; }; };
    const struct { const char* caso; std::string testo, da, a; Cambia atteso; int esito; } casi[] = {
        {"first X centre", vecchio(4, 1), "X centro retta mm = 44", "X centro retta m~ = 44",
         Predefinito(&Tr::XCentroRettamm), 0},
        {"before both X centres", vecchio(4, 1), "Lunghezza retta mm", "Lunghezza retta m~",
         Predefinito(&Tr::LunghezzaRettamm), 0},
        {"before the old sensor flag", vecchio(4, 6), "Disortogonalit deg", "Disortogonalit de~",
         Predefinito(&Tr::Disortogonalitdeg), 0},
        {"before the old kV", vecchio(2, 1), "Tempo Scansione s", "Tempo Scansione ~",
         Predefinito(&Tr::TempoScansiones), 0},
        {"before uncounted points", vecchio(2, 1), "Pos Dist Ang = 0", "Pos Dist An~ = 0",
         Predefinito(&Tr::PosDistAng0), 0},
        {"%d holding 1e3", Blocco(3, 4), "= 75\n", "= 1e3\n", Predefinito(&Tr::KVaRegimeCirc), 0},
        {"%d holding 1.9", Blocco(3, 4), "= 75\n", "= 1.9\n", Predefinito(&Tr::KVaRegimeCirc), 0},
        {"%d holding 12abc", Blocco(3, 4), "= 75\n", "= 12abc\n", Predefinito(&Tr::KVaRegimeCirc), 0},
        {"int beyond 32 bits", Blocco(3, 4), "= 90\n", "= 4294967346\n", Predefinito(&Tr::mAFrontali), 0},
        {"version beyond 32 bits", Blocco(3, 4), "= 6\n", "= 4294967297\n", [](Tr&) {}, 0},
        {"float beyond its type", Blocco(4, 6), "= 40.000000", "= 1e39", Predefinito(&Tr::LunghezzaRettamm), 0},
        {"double beyond its type", Blocco(3, 4), "= 12.500000", "= 1e999", Predefinito(&Tr::TempoScansionesCirc), 0},
        {"lone CR line ends", Blocco(4, 6), "\n", "\r", [](Tr&) {}, 1},
    };
    for (const auto& c : casi) {
        std::string guasto = c.testo;
        for (size_t p = guasto.find(c.da); p != std::string::npos && c.da == "\n"; p = guasto.find(c.da, p))
            guasto.replace(p, 1, c.a);
        if (c.da != "\n")
            guasto = Sostituisci(guasto, c.da, c.a);
        std::vector<int> esiti;
        std::vector<Tr> atteso = Carica(c.testo, 1, L"", esiti), letto = Carica(guasto, 1, L"", esiti);
        c.atteso(atteso[0]);
        // Written as the kind the block names: with no time step nothing computes to give it one.
        const int tipo = std::stoi(c.testo.substr(c.testo.find('=') + 1));
        EXPECT_EQ(esiti, (std::vector<int>{1, c.esito})) << c.caso;
        EXPECT_EQ(Salva(letto, {tipo}, L""), Salva(atteso, {tipo}, L"")) << c.caso;
    }
}
