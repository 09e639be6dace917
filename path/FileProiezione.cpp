#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/Crc16.h"
#include "core/ImmagineProiezione.h"
#include "core/Numerico.h"
#include "path/Percorso.h"
#include "platform/Bytes.h"
#include "platform/File.h"
#include "platform/Locale.h"
#include "platform/Prompt.h"
#include "resources/Messaggi.h"

namespace {

constexpr const char* BANNER =
    "// -------------------------------------------------------------------------------------------------\n";

const char* const PAROLE_GRUPPO[] = {"pan_", "tmj_", "sin_", "ceph_", "3D_", "serv_"};

struct ParolaTipo {
    int gruppo;
    int tipo;
    const char* parola;
};
constexpr ParolaTipo PAROLE_TIPO[] = {
    {0, 0, "std_36_9s_"},   {0, 1, "std_dx_36_"},    {0, 2, "std_sx_36_"},      {0, 3, "orth_36_"},
    {0, 4, "orth_dx_36_"},  {0, 5, "orth_sx_36_"},   {0, 6, "front_40_"},       {0, 12, "bwing_"},
    {0, 13, "bwing_dx_"},   {0, 14, "bwing_sx_"},    {0, 15, "wide_focus_"},    {0, 16, "dentition_bw_"},
    {0, 17, "quick_"},      {1, 0, "std_"},          {1, 6, "front_"},          {1, 7, "front_dx_"},
    {1, 8, "front_sx_"},    {1, 9, "lat_"},          {1, 10, "lat_dx_"},        {1, 11, "lat_sx_"},
    {2, 6, "front_"},       {2, 10, "lat_dx_"},      {2, 11, "lat_sx_"},        {3, 0, "ll_06s_"},
    {3, 1, "ap_pa_"},       {3, 2, "smv_"},          {3, 3, "carpus_"},         {3, 4, "ll_short_06s_"},
    {3, 5, "ll_long_06s_"}, {3, 6, "ll_child_06s_"}, {5, 0, "limit_edge_70_"},
};

bool DialettoVecchio(int tipoOutput)
{
    return tipoOutput == 0 || tipoOutput == 1;
}

bool ARiposo(const PUNTO_TRAIETTORIA& p)
{
    return p.dVelX == 0.0 && p.dVelY == 0.0 && p.dVelR == 0.0 && p.dVelH == 0.0;
}

// Motor units of X, Y, R, H; false when one of them cannot reach the unit.
bool Posizioni(const CLimitiEParametri& l, double x, double y, double r, double h, std::int32_t u[4])
{
    return ImmagineUnitaMotore(x, l.AsseX.StepPerUnita, u[0]) && ImmagineUnitaMotore(y, l.AsseY.StepPerUnita, u[1]) &&
           ImmagineUnitaMotore(r, l.AsseR.StepPerUnita, u[2]) && ImmagineUnitaMotore(h, l.AsseH.StepPerUnita, u[3]);
}

bool Posizioni(const CLimitiEParametri& l, const PUNTO_TRAIETTORIA& p, std::int32_t u[4])
{
    return Posizioni(l, p.dPosX, p.dPosY, p.dPosR, p.dPosH, u);
}

// Magnification factor of a sub-image, in millionths, by the trajectory's kind.
bool FattoreIngrandimento(const CTraiettoria& t, std::int32_t& fattore)
{
    const int tipo = t.TipoCurva;
    const bool conIngrandimento = tipo == CTraiettoria::CURVA_PANORAMICA || tipo == CTraiettoria::CURVA_LINEARE ||
                                  tipo == CTraiettoria::CURVA_CEFALOMETRICA;
    if (conIngrandimento && t.Is2Assi) {
        std::int32_t centesimi = 0;
        if (!ImmagineTronca(((t.IngrandimentoMinimo + t.IngrandimentoMassimo) / 2) * 100 + 0.5, centesimi) ||
            std::abs(centesimi) > 214748)
            return false;
        fattore = centesimi * 10000;
        return true;
    }
    if (conIngrandimento || tipo == CTraiettoria::CURVA_DA_CSV) {
        const double m = tipo == CTraiettoria::CURVA_PANORAMICA ? t.Ingrandimento
                         : tipo == CTraiettoria::CURVA_LINEARE  ? t.IngrandimentoLin
                         : tipo == CTraiettoria::CURVA_DA_CSV   ? t.IngrandimentoCSV
                                                                : t.IngrandimentoCef;
        return ImmagineTronca(m * 1000000 + 0.5, fattore);
    }
    fattore = 1000000;
    return true;
}

// Writes the lines of the text file; value lines of the tagged dialect are indented by three blanks.
class Testo {
public:
    Testo(FILE* f, bool rientro) : m_f(f), m_rientro(rientro ? "   " : "") {}

    void Riga(const char* testo) { std::fputs(testo, m_f); }
    void Valore(const char* formato, int a, int b = 0, int c = 0, int e = 0)
    {
        std::fputs(m_rientro, m_f);
        std::fprintf(m_f, formato, a, b, c, e);
    }
    // Lines whose format already begins with three blanks carry only those.
    void ValoreRientrato(const char* formato, int a, int b = 0)
    {
        std::fprintf(m_f, formato, a, b);
    }
    void Zeri(int n, bool conH)
    {
        for (int i = 0; i < n; ++i)
            Riga(conH ? "0,0,0,0,0,0,0\n" : "0,0,0,0,0,0\n");
    }

private:
    FILE* m_f;
    const char* m_rientro;
};

}  // namespace

unsigned short CPercorso::CalcolaCRC(const unsigned char* dati, unsigned short lunghezza)
{
    return CalcolaCRC16X25(dati, lunghezza);
}

bool CPercorso::SezioniConPassi()
{
    bool ok = !m_ordine.IsEmpty();
    for (int i = 0; ok && i < m_ordine.GetSize(); ++i)
        ok = Sezione(i) != nullptr && !Sezione(i)->ArrayPassi.IsEmpty();
    // An empty path, or an entry that names no section, has nothing the unit could run either.
    if (!ok)
        CaricaMessaggio(m_errore, 167);
    return ok;
}

CString CPercorso::NomeFileDat(CString nomeFile, int collimato)
{
    const CParametriFileDat& d = m_parametriDat;
    const bool vecchio = DialettoVecchio(TipoOutput);
    std::string nome;
    if (d.Group == 3) {
        if (vecchio && collimato == 0)
            return CString();
        nome = std::string(vecchio ? "in." : "") + (d.CephArmPos == 1 ? "ceph_dx_dx.obj_" : "ceph_dx_sx.obj_");
    } else {
        nome = !vecchio ? "pan_dx.obj_" : collimato == 1 ? "in.pan_dx_collim.obj_" : "in.pan_dx.obj_";
    }
    if (d.Group >= 0 && d.Group < static_cast<int>(std::size(PAROLE_GRUPPO)))
        nome += PAROLE_GRUPPO[d.Group];
    for (const ParolaTipo& p : PAROLE_TIPO)
        if (p.gruppo == d.Group && p.tipo == d.Type)
            nome += p.parola;
    char numeri[64];
    if (d.Group != 3) {
        std::snprintf(numeri, sizeof numeri, "%d_%d_", d.ApsRangeMin, d.ApsRangeMax);
        nome += numeri;
    }
    std::snprintf(numeri, sizeof numeri, "v%03d", d.Version);
    nome += numeri;
    nome += vecchio ? ".dat" : "_i.txt";
    return ParteDirectory(nomeFile) + StringaDa8Bit(nome);
}

int CPercorso::GetTipoProiezione()
{
    const int g = m_parametriDat.Group, t = m_parametriDat.Type;
    if (DialettoVecchio(TipoOutput))
        return t;
    switch (g) {
    case 0:
        if (t == 0)
            return m_parametriDat.ApsRangeMax <= 7 ? 11 : 0;
        if (t >= 1 && t <= 6)
            return t;
        if (t >= 12 && t <= 15)
            return t - 5;
        return t == 16 ? 7 : t == 17 ? 12 : -1;
    case 1:
        return t == 0 ? 0 : t >= 6 && t <= 11 ? t - 5 : -1;
    case 2:
        return t == 6 ? 0 : t == 10 ? 1 : t == 11 ? 2 : -1;
    case 3:
        return t == 0 ? 3 : t >= 1 && t <= 3 ? t - 1 : t >= 4 && t <= 6 ? t : -1;
    case 4:
        return 0;
    case 5:
        return t == 0 ? 0 : -1;
    default:
        return -1;
    }
}

int CPercorso::SalvaFileDat(CString nomeFile, int collimato)
{
    CParametriFileDat& d = m_parametriDat;
    const CLimitiEParametri& l = m_limiti;
    const bool vecchio = DialettoVecchio(TipoOutput);
    const bool binario = TipoOutput == 1 || TipoOutput == 2;
    if (!SezioniConPassi())
        return 0;
    const int n = m_ordine.GetSize();
    auto traiettoria = [&](int i) {
        return m_ordine[i].tipo == SEZIONE_TRAIETTORIA ? static_cast<const CTraiettoria*>(Sezione(i)) : nullptr;
    };
    auto fuoriCampo = [&] {
        CaricaMessaggio(m_errore, MSG_VALORE_FUORI_CAMPO_PROIEZIONE);
        return 0;
    };

    // Scout: the first trajectory, when it is one and a junction and an imaging section follow it.
    int k = n - 1;
    for (int i = 0; i < n; ++i)
        if (traiettoria(i) != nullptr) {
            k = i;
            break;
        }
    const int scout = traiettoria(k) != nullptr ? traiettoria(k)->IsScout : 0;
    SCOUT_IMMAGINE sc;
    int primo = 0;
    if (scout && n > k + 2) {
        if (!ARiposo(Sezione(0)->PuntoIniziale)) {
            CaricaMessaggio(m_errore, 183);
            return 0;
        }
        sc.Offset = 2;
        for (int i = 0; i <= k + 1; ++i)
            sc.Offset += Sezione(i)->ArrayPassi.GetSize();
        if (!Posizioni(l, Sezione(0)->PuntoIniziale, sc.Pos) ||
            !ImmagineTronca(traiettoria(k)->CalcolaLunghezzaPx(), sc.Colonne))
            return fuoriCampo();
        primo = k + 2;
    }
    if (!ARiposo(Sezione(primo)->PuntoIniziale)) {
        CaricaMessaggio(m_errore, 183);
        return 0;
    }
    sc.KV = d.ScoutKV;
    sc.MA = d.ScoutMA;
    sc.CollMin = d.ScoutCollMin;
    sc.CollMax = d.ScoutCollMax;

    INTESTAZIONE_IMMAGINE t;
    if (!Posizioni(l, Sezione(primo)->PuntoIniziale, t.Ini) ||
        !Posizioni(l, d.PosResetX, d.PosResetY, d.PosResetR, d.PosResetH, t.Res) ||
        !Posizioni(l, d.PosUscitaX, d.PosUscitaY, d.PosUscitaR, d.PosUscitaH, t.Out))
        return fuoriCampo();

    // Sub-images: one per imaging trajectory, or one carried on across a junction with GestioneRaggi 2.
    std::vector<SOTTOIMMAGINE> sotto;
    double f = 0.0;
    for (int i = 0; i < n; ++i) {
        const CTraiettoria* tr = traiettoria(i);
        if (tr == nullptr || tr->IsScout)
            continue;
        const double lunghezza = tr->CalcolaLunghezzaPx();
        const auto* giunto = i > 1 && traiettoria(i - 1) == nullptr ? static_cast<const CRaccordo*>(Sezione(i - 1))
                                                                    : nullptr;
        double somma = 0.0;
        // Without an earlier sub-image there is nothing to continue: the trajectory opens one.
        if (giunto != nullptr && giunto->GestioneRaggi == 2 && !sotto.empty()) {
            somma = sotto.back().Colonne + lunghezza + giunto->CalcolaLunghezzaPx() + f;
        } else {
            SOTTOIMMAGINE s;
            if (!FattoreIngrandimento(*tr, s.Fattore))
                return fuoriCampo();
            sotto.push_back(s);
            somma = lunghezza + f;
        }
        if (!ImmagineTronca(somma, sotto.back().Colonne))
            return fuoriCampo();
        f = somma - std::trunc(somma);
    }
    const int m = static_cast<int>(sotto.size());
    const int nArray = std::min({d.LRImgNote.GetSize(), d.PxMarginsLeft.GetSize(), d.PxMarginsRight.GetSize(),
                                 d.PxMarginsTop.GetSize(), d.PxMarginsBottom.GetSize(), d.PxMarginsLeftC.GetSize(),
                                 d.PxMarginsRightC.GetSize(), d.PxMarginsTopC.GetSize(), d.PxMarginsBottomC.GetSize()});
    for (int i = 0; i < std::min(m, nArray); ++i) {
        SOTTOIMMAGINE& s = sotto[static_cast<size_t>(i)];
        s.Nota = d.LRImgNote[i];
        s.Margini[0] = collimato ? d.PxMarginsLeftC[i] : d.PxMarginsLeft[i];
        s.Margini[1] = collimato ? d.PxMarginsRightC[i] : d.PxMarginsRight[i];
        s.Margini[2] = collimato ? d.PxMarginsTopC[i] : d.PxMarginsTop[i];
        s.Margini[3] = collimato ? d.PxMarginsBottomC[i] : d.PxMarginsBottom[i];
    }

    // Three zero lines follow the first junction after a scout trajectory.
    std::vector<char> zeriDopo(static_cast<size_t>(n), 0);
    int records = vecchio ? 0 : 1;
    for (int i = 0, scoutScritto = 0; i < n; ++i) {
        records += Sezione(i)->ArrayPassi.GetSize();
        if (traiettoria(i) != nullptr)
            scoutScritto = scoutScritto || traiettoria(i)->IsScout;
        else if (scoutScritto) {
            zeriDopo[static_cast<size_t>(i)] = 1;
            records += 3;
            scoutScritto = 0;
        }
    }
    // The unit's image holds 30 sub-images and 3000 steps; a larger exam is refused whole, in every
    // dialect, since every one of them ends in that image.
    if (m > IMMAGINE_MAX_SOTTOIMMAGINI) {
        CaricaMessaggio(m_errore, MSG_SOTTOIMMAGINI_OLTRE_30);
        return 0;
    }
    if (records > IMMAGINE_MAX_PASSI) {
        CaricaMessaggio(m_errore, MSG_PASSI_OLTRE_3000);
        return 0;
    }
    // A step its record cannot hold would reach the unit as another command: the image is refused,
    // naming the step by its place in the running order, as the step buffer does.
    for (int i = 0, passo = 0; binario && i < n; ++i)
        for (const PASSO_TRAIETTORIA& p : Sezione(i)->ArrayPassi) {
            if (!PassoAdattoAllUnita(p)) {
                CaricaMessaggio(m_errore, MSG_PASSO_NON_ADATTO_ALL_UNITA, passo);
                return 0;
            }
            ++passo;
        }

    FileSostitutivo fileTesto(nomeFile);
    if (fileTesto.Flusso() == nullptr)
        return 0;
    // Without a user to ask, the prompt policy answers No and the version stays as it is.
    if (!vecchio && d.Version < 21 &&
        ChiediSiNo(L"La versione deve essere > 20 ma non lo è\nVuoi che inserisca 21?", 0))
        d.Version = 21;

    const int stf = IsSTFApplicato();
    const bool conCollimatore = d.PrmCollimOffset1 != -1 && d.PrmCollimOffset2 != -1 && collimato;
    t.Version = d.Version;
    t.Group = d.Group;
    t.TipoProiezione = GetTipoProiezione();
    t.Flag = ImmagineParolaFlag(d, stf != 0, TipoOutput == 2 && scout);
    t.ApsRangeMin = d.ApsRangeMin;
    t.ApsRangeMax = d.ApsRangeMax;
    t.PrmCollimOffset1 = conCollimatore ? d.PrmCollimOffset1 : 0;
    t.PrmCollimOffset2 = conCollimatore ? d.PrmCollimOffset2 : 0;
    t.ScnCollimOffset = d.ScnCollimOffset != -1 && collimato ? d.ScnCollimOffset : 0;
    t.XAxisCorrFact = d.XAxisCorrFact;
    t.YAxisCorrLen = d.YAxisCorrLen;
    t.YAxisCorrMin = d.YAxisCorrMin;
    t.YAxisCorrMax = d.YAxisCorrMax;
    t.YAxisOpenMouth = d.YAxisOpenMouth;
    if (binario && !ImmagineCampiValidi(t, sotto.data(), m, sc))
        return fuoriCampo();

    std::vector<std::uint8_t> immagine(binario ? DIMENSIONE_IMMAGINE : 0, 0);
    LocaleC guardia;
    Testo w(fileTesto.Flusso(), !vecchio);
    if (vecchio) {
        w.Riga("PRJ_HEADER:\n\n");
        w.Valore("[GROUP,TYPE]=%d,%d\n", d.Group, t.TipoProiezione);
        w.Valore("[VERSION]=%d\n", d.Version);
    } else {
        w.Riga(BANNER);
        w.Riga("// PRJ_HEADER \n");
        w.Riga(BANNER);
        w.Riga("<PRJ_HEADER>\n");
        w.Valore("[VERSION]=%d\n", d.Version);
        w.Valore("[GROUP,TYPE]=%d,%d\n", d.Group, t.TipoProiezione);
    }
    if (d.TFCanUpdate != -1)
        w.Valore("[TF_CAN_UPDATE]=%d\n", d.TFCanUpdate);
    if (d.TMCanUpdate != -1)
        w.Valore("[TM_CAN_UPDATE]=%d\n", d.TMCanUpdate);
    if (d.YCanMove != -1)
        w.Valore("[Y_CAN_MOVE]=%d\n", d.YCanMove);
    if (d.Group == 3)
        w.Valore("[STF_ON]=%d\n", stf ? 1 : 0);
    if (d.Group == 3 && d.CephPatientPos != -1)
        w.Valore("[CEPH_PATIENT_POS]=%d\n", d.CephPatientPos);
    w.Valore("[PAN_KEYB_POS]=%d\n", d.PanKeybPos);
    if (d.Group == 3 && d.CephArmPos != -1)
        w.Valore("[CEPH_ARM_POS]=%d\n", d.CephArmPos);
    w.Valore("[BITE_BLOCK_CONF]=%d\n", d.BiteBlockConf);
    if (!vecchio)
        w.ValoreRientrato("   [ENABLE_MRT]=%d\n", scout);
    w.Valore("[APS_RANGE]=%d,%d\n", d.ApsRangeMin, d.ApsRangeMax);
    if (TipoOutput != 0) {
        w.Valore("[RES_AXES_POS]=%d,%d,%d\n", t.Res[0], t.Res[1], t.Res[2]);
        w.Valore("[INI_AXES_POS]=%d,%d,%d\n", t.Ini[0], t.Ini[1], t.Ini[2]);
        w.Valore("[OUT_AXES_POS]=%d,%d,%d\n", t.Out[0], t.Out[1], t.Out[2]);
    } else {
        for (const char* formato :
             {"[INI_AXES_POS]=%d,%d,%d\n", "[MIN_AXES_POS]=%d,%d,%d\n", "[MAX_AXES_POS]=%d,%d,%d\n"})
            w.Valore(formato, t.Ini[0], t.Ini[1], t.Ini[2]);
    }
    w.Valore("[Y_AXIS_CORR_LEN]=%d\n", d.YAxisCorrLen);
    w.Valore("[Y_AXIS_CORR_MIN]=%d\n", d.YAxisCorrMin);
    w.Valore("[Y_AXIS_CORR_MAX]=%d\n", d.YAxisCorrMax);
    w.Valore("[Y_AXIS_OPEN_MOUTH]=%d\n", d.YAxisOpenMouth);
    w.Valore("[X_AXIS_CORR_FACT]=%d\n", d.XAxisCorrFact);
    if (conCollimatore)
        w.Valore("[PRM_COLLIM_POS_OFFSET]=%d,%d\n", d.PrmCollimOffset1, d.PrmCollimOffset2);
    if (d.ScnCollimOffset != -1)
        w.Valore("[SCN_COLLIM_POS_OFFSET]=%d\n", d.ScnCollimOffset);
    if (d.Group == 3 && TipoOutput != 0) {
        w.Valore("[RES_H_AXIS_POS]=%d\n", t.Res[3]);
        w.Valore("[INI_H_AXIS_POS]=%d\n", t.Ini[3]);
        w.Valore("[OUT_H_AXIS_POS]=%d\n", t.Out[3]);
    } else if (d.Group == 3) {
        for (const char* formato : {"[INI_H_AXIS_POS]=%d\n", "[MIN_H_AXIS_POS]=%d\n", "[MAX_H_AXIS_POS]=%d\n"})
            w.Valore(formato, t.Ini[3]);
    }
    w.Valore("[SUB_IMGS_NUM]=%d\n", m);

    if (vecchio) {
        w.Riga("\nSUB_IMGS_INFO:\n\n");
    } else {
        w.Riga("<\\PRJ_HEADER>\n\n");
        w.Riga(BANNER);
        w.Riga("//  IMG\n");
        w.Riga(BANNER);
    }
    for (const SOTTOIMMAGINE& s : sotto) {
        if (!vecchio)
            w.Riga("<SUB_IMGS_INFO>\n");
        w.Valore("[VERT_MAGNI_FACT]=%d\n", s.Fattore);
        w.Valore("[HORZ_MAGNI_FACT]=%d\n", s.Fattore);
        w.Valore("[LR_IMG_NOTE]=%d\n", s.Nota);
        w.Valore("[IMG_COLS_NUM]=%d\n", s.Colonne);
        w.Valore("[IMG_MARGINS]=%d,%d,%d,%d\n", s.Margini[0], s.Margini[1], s.Margini[2], s.Margini[3]);
        w.Riga(vecchio ? "\n" : "<\\SUB_IMGS_INFO>\n");
    }

    const bool conH = ArrayOrdineIsHInUso() != 0;
    if (vecchio) {
        w.Riga("PRJ_STEPS:\n\n");
    } else {
        w.Riga("\n");
        w.Riga(BANNER);
        w.Riga("//  SCOUT\n");
        w.Riga(BANNER);
        w.Riga("<SCOUT>\n");
        w.ValoreRientrato("   [OFFSET_START_PRJ]=%d\n", sc.Offset);
        w.ValoreRientrato("   [NUM_COL_SCOUT]=%d\n", sc.Colonne);
        w.ValoreRientrato("   [POS_SCOUT_X]=%d\n", sc.Pos[0]);
        w.ValoreRientrato("   [POS_SCOUT_Y]=%d\n", sc.Pos[1]);
        w.ValoreRientrato("   [POS_SCOUT_R]=%d\n", sc.Pos[2]);
        w.ValoreRientrato("   [POS_SCOUT_H]=%d\n", sc.Pos[3]);
        w.ValoreRientrato("   [KV]=%d\n", sc.KV);
        w.ValoreRientrato("   [MA]=%d\n", sc.MA);
        w.ValoreRientrato("   [PRM_COLLIM_SCOUT]=%d,%d\n", sc.CollMin, sc.CollMax);
        w.Riga("<\\SCOUT>\n");
        w.Riga("\n");
        w.Riga(BANNER);
        w.Riga("//  STEP\n");
        w.Riga(BANNER);
        w.Riga("<PRJ_STEPS>\n");
        // The two leading zero lines have no records in the image.
        w.Zeri(2, conH);
    }
    std::uint8_t* img = binario ? immagine.data() : nullptr;
    for (int i = 0; i < n; ++i) {
        if (!Sezione(i)->ScriviSuFileCSV(fileTesto.Flusso(), img, conH ? 1 : 0))
            return fuoriCampo();
        if (zeriDopo[static_cast<size_t>(i)]) {
            w.Zeri(3, conH);
            if (img != nullptr)
                ImmagineAggiungiPassiZero(img, 3);
        }
    }
    if (!vecchio) {
        w.Zeri(1, conH);
        if (img != nullptr)
            ImmagineAggiungiPassiZero(img, 1);
        w.Riga("<\\PRJ_STEPS>");
    }

    if (binario) {
        ImmagineScriviIntestazione(img, t);
        ImmagineScriviSottoimmagini(img, sotto.data(), m);
        if (TipoOutput == 2)
            ImmagineScriviScout(img, sc);
        ImmagineScriviCRC(img);
        // The binary name drops the text name's last three characters for "dat"; a ".dat" text
        // (output type 1) would be overwritten, so its image ends in "bin" instead.
        CString nomeBinario = nomeFile.substr(0, nomeFile.size() >= 3 ? nomeFile.size() - 3 : 0) + L"dat";
        if (nomeBinario == nomeFile)
            nomeBinario.replace(nomeBinario.size() - 3, 3, L"bin");
        FileSostitutivo fileBinario(nomeBinario);
        if (fileBinario.Flusso() == nullptr)
            return 0;
        const std::size_t passi = GetU16(img, IMMAGINE_OFFSET_NUM_PASSI);
        const std::pair<std::size_t, std::size_t> parti[] = {
            {0, IMMAGINE_FINE_INTESTAZIONE},
            {IMMAGINE_OFFSET_SOTTOIMMAGINI, IMMAGINE_DIM_SOTTOIMMAGINE * static_cast<std::size_t>(m)},
            {IMMAGINE_OFFSET_NUM_PASSI, 2 + IMMAGINE_DIM_PASSO * passi},
            {IMMAGINE_OFFSET_SCOUT, IMMAGINE_DIM_SCOUT + 2},
        };
        for (const auto& [inizio, lunghezza] : parti)
            std::fwrite(img + inizio, 1, lunghezza, fileBinario.Flusso());
        if (!fileBinario.Rinomina())
            return 0;
    }
    return fileTesto.Rinomina() ? 1 : 0;
}
