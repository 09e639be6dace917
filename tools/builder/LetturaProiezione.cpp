#include "LetturaProiezione.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

// When a header line must stand: always, when it may, or only (and then always) in a ceph exam.
enum Quando { SEMPRE, FACOLTATIVA, SOLO_CEPH_FACOLTATIVA, SOLO_CEPH };

struct CHIAVE {
    const char* nome;
    int valori;
    Quando quando;
};

enum {
    K_GRUPPO, K_VERSIONE, K_TF, K_TM, K_Y_MUOVE, K_STF, K_PAZIENTE, K_TASTIERA, K_BRACCIO, K_MORSO, K_APS, K_INI,
    K_MIN, K_MAX, K_Y_LUNG, K_Y_MIN, K_Y_MAX, K_Y_BOCCA, K_X_FATT, K_PRM, K_SCN, K_INI_H, K_MIN_H, K_MAX_H,
    K_SOTTOIMMAGINI, N_CHIAVI
};

constexpr CHIAVE CHIAVI[N_CHIAVI] = {
    {"[GROUP,TYPE]", 2, SEMPRE},         {"[VERSION]", 1, SEMPRE},
    {"[TF_CAN_UPDATE]", 1, FACOLTATIVA}, {"[TM_CAN_UPDATE]", 1, FACOLTATIVA},
    {"[Y_CAN_MOVE]", 1, FACOLTATIVA},    {"[STF_ON]", 1, SOLO_CEPH},
    {"[CEPH_PATIENT_POS]", 1, SOLO_CEPH_FACOLTATIVA}, {"[PAN_KEYB_POS]", 1, SEMPRE},
    {"[CEPH_ARM_POS]", 1, SOLO_CEPH_FACOLTATIVA}, {"[BITE_BLOCK_CONF]", 1, SEMPRE},
    {"[APS_RANGE]", 2, SEMPRE},          {"[INI_AXES_POS]", 3, SEMPRE},
    {"[MIN_AXES_POS]", 3, SEMPRE},       {"[MAX_AXES_POS]", 3, SEMPRE},
    {"[Y_AXIS_CORR_LEN]", 1, SEMPRE},    {"[Y_AXIS_CORR_MIN]", 1, SEMPRE},
    {"[Y_AXIS_CORR_MAX]", 1, SEMPRE},    {"[Y_AXIS_OPEN_MOUTH]", 1, SEMPRE},
    {"[X_AXIS_CORR_FACT]", 1, SEMPRE},   {"[PRM_COLLIM_POS_OFFSET]", 2, FACOLTATIVA},
    {"[SCN_COLLIM_POS_OFFSET]", 1, FACOLTATIVA}, {"[INI_H_AXIS_POS]", 1, SOLO_CEPH},
    {"[MIN_H_AXIS_POS]", 1, SOLO_CEPH},  {"[MAX_H_AXIS_POS]", 1, SOLO_CEPH},
    {"[SUB_IMGS_NUM]", 1, SEMPRE},
};

constexpr const char* RIGHE_SOTTOIMMAGINE[] = {"[VERT_MAGNI_FACT]", "[HORZ_MAGNI_FACT]", "[LR_IMG_NOTE]",
                                               "[IMG_COLS_NUM]", "[IMG_MARGINS]"};
constexpr int VALORI_SOTTOIMMAGINE[] = {1, 1, 1, 1, 4};

// Integers as the writer prints them with "%d" and `sep` between them: an optional minus and digits,
// within 32 bits. Returns how many were read, or -1 when anything else stands in the text.
int Interi(std::string_view t, char sep, std::int32_t* v, int massimo)
{
    int n = 0;
    std::size_t i = 0;
    while (n < massimo) {
        const bool negativo = i < t.size() && t[i] == '-';
        i += negativo ? 1 : 0;
        long long x = 0;
        const std::size_t inizio = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9' && i - inizio < 11)
            x = x * 10 + (t[i++] - '0');
        x = negativo ? -x : x;
        if (i == inizio || (i < t.size() && t[i] >= '0' && t[i] <= '9') || x < INT32_MIN || x > INT32_MAX)
            return -1;
        v[n++] = static_cast<std::int32_t>(x);
        if (i == t.size())
            return n;
        if (t[i++] != sep)
            return -1;
    }
    return -1;
}

class Lettore {
public:
    explicit Lettore(std::string_view t) : m_t(t) {}

    // The next line that is not empty, without its line end; false at the end of the text.
    bool Riga(std::string_view& r)
    {
        while (m_p < m_t.size()) {
            const std::size_t fine = std::min(m_t.find('\n', m_p), m_t.size());
            r = m_t.substr(m_p, fine - m_p);
            m_p = fine + 1;
            ++m_numero;
            if (!r.empty() && r.back() == '\r')
                r.remove_suffix(1);
            if (!r.empty())
                return true;
        }
        return false;
    }
    int Numero() const { return m_numero; }

private:
    std::string_view m_t;
    std::size_t m_p = 0;
    int m_numero = 0;
};

bool Fallisci(std::string& motivo, int riga, const std::string& cosa)
{
    motivo = riga > 0 ? "line " + std::to_string(riga) + ": " + cosa : cosa;
    return false;
}

}  // namespace

bool LeggiProiezione(std::string_view testo, PROIEZIONE_LETTA& p, std::string& motivo)
{
    p = PROIEZIONE_LETTA();
    Lettore l(testo);
    std::string_view r;
    if (!l.Riga(r) || r != "PRJ_HEADER:")
        return Fallisci(motivo, l.Numero(), "the file does not begin with PRJ_HEADER:");

    std::array<std::array<std::int32_t, 4>, N_CHIAVI> v{};
    std::array<bool, N_CHIAVI> letta{};
    for (;;) {
        if (!l.Riga(r))
            return Fallisci(motivo, 0, "the file ends in its header");
        if (r == "SUB_IMGS_INFO:")
            break;
        const std::size_t uguale = r.find('=');
        int k = 0;
        while (k < N_CHIAVI && r.substr(0, uguale) != CHIAVI[k].nome)
            ++k;
        if (uguale == std::string_view::npos || k == N_CHIAVI)
            return Fallisci(motivo, l.Numero(), "not a header line of an output type 0 file");
        if (letta[k])
            return Fallisci(motivo, l.Numero(), std::string(CHIAVI[k].nome) + " stands twice");
        if (Interi(r.substr(uguale + 1), ',', v[k].data(), CHIAVI[k].valori) != CHIAVI[k].valori)
            return Fallisci(motivo, l.Numero(), std::string(CHIAVI[k].nome) + " needs " +
                                                    std::to_string(CHIAVI[k].valori) + " integers");
        letta[k] = true;
    }
    const bool ceph = letta[K_GRUPPO] && v[K_GRUPPO][0] == 3;
    for (int k = 0; k < N_CHIAVI; ++k) {
        const Quando q = CHIAVI[k].quando;
        if (!letta[k] && (q == SEMPRE || (q == SOLO_CEPH && ceph)))
            return Fallisci(motivo, 0, std::string("the header lacks ") + CHIAVI[k].nome);
        if (letta[k] && !ceph && (q == SOLO_CEPH || q == SOLO_CEPH_FACOLTATIVA))
            return Fallisci(motivo, 0, std::string(CHIAVI[k].nome) + " stands in an exam that is not cephalometric");
    }
    const int m = v[K_SOTTOIMMAGINI][0];
    if (m < 0 || m > IMMAGINE_MAX_SOTTOIMMAGINI)
        return Fallisci(motivo, 0, "the sub-image count is not between 0 and 30");

    for (;;) {
        if (!l.Riga(r))
            return Fallisci(motivo, 0, "the file ends before PRJ_STEPS:");
        if (r == "PRJ_STEPS:")
            break;
        if (static_cast<int>(p.sottoimmagini.size()) == m)
            return Fallisci(motivo, l.Numero(), "more sub-image blocks than [SUB_IMGS_NUM] says");
        std::int32_t s[5][4] = {};
        for (int k = 0; k < 5; ++k) {
            if (k > 0 && !l.Riga(r))
                return Fallisci(motivo, 0, "the file ends in a sub-image block");
            const std::size_t uguale = r.find('=');
            if (uguale == std::string_view::npos || r.substr(0, uguale) != RIGHE_SOTTOIMMAGINE[k] ||
                Interi(r.substr(uguale + 1), ',', s[k], VALORI_SOTTOIMMAGINE[k]) != VALORI_SOTTOIMMAGINE[k])
                return Fallisci(motivo, l.Numero(), std::string("expected ") + RIGHE_SOTTOIMMAGINE[k] + " with " +
                                                        std::to_string(VALORI_SOTTOIMMAGINE[k]) + " integers");
        }
        // The image keeps one factor for both directions.
        if (s[0][0] != s[1][0])
            return Fallisci(motivo, l.Numero(), "the vertical and horizontal magnification differ");
        SOTTOIMMAGINE si;
        si.Fattore = s[0][0];
        si.Nota = s[2][0];
        si.Colonne = s[3][0];
        for (int k = 0; k < 4; ++k)
            si.Margini[k] = s[4][k];
        p.sottoimmagini.push_back(si);
    }
    if (static_cast<int>(p.sottoimmagini.size()) != m)
        return Fallisci(motivo, 0, "fewer sub-image blocks than [SUB_IMGS_NUM] says");

    int colonne = 0;
    while (l.Riga(r)) {
        std::int32_t w[7] = {};
        const int n = Interi(r, ',', w, 7);
        // Every step line has the H column or none has.
        if ((n != 6 && n != 7) || (colonne != 0 && n != colonne))
            return Fallisci(motivo, l.Numero(), colonne == 0 ? "a step line needs six or seven integers"
                                                              : "a step line needs " + std::to_string(colonne) +
                                                                    " integers like the lines before it");
        colonne = n;
        if (p.passi.size() == IMMAGINE_MAX_PASSI)
            return Fallisci(motivo, l.Numero(), "more than 3000 steps");
        PASSO_TRAIETTORIA passo;
        for (int k = 0; k < 7; ++k)
            passo.*PAROLE_PASSO[k] = w[k];
        if (!ImmaginePassoValido(passo))
            return Fallisci(motivo, l.Numero(), "a step word does not fit its field");
        p.passi.push_back(passo);
    }

    CParametriFileDat d;
    std::int32_t CParametriFileDat::*const campi[] = {
        &CParametriFileDat::TFCanUpdate, &CParametriFileDat::TMCanUpdate, &CParametriFileDat::YCanMove,
        &CParametriFileDat::CephPatientPos, &CParametriFileDat::CephArmPos};
    const int chiaviCampi[] = {K_TF, K_TM, K_Y_MUOVE, K_PAZIENTE, K_BRACCIO};
    // A line the writer left out stood for a member at -1.
    for (int k = 0; k < 5; ++k)
        d.*campi[k] = letta[chiaviCampi[k]] ? v[chiaviCampi[k]][0] : -1;
    d.Group = v[K_GRUPPO][0];
    d.PanKeybPos = v[K_TASTIERA][0];
    d.BiteBlockConf = v[K_MORSO][0];
    INTESTAZIONE_IMMAGINE& t = p.intestazione;
    t.Version = v[K_VERSIONE][0];
    t.Group = v[K_GRUPPO][0];
    t.TipoProiezione = v[K_GRUPPO][1];
    t.Flag = ImmagineParolaFlag(d, ceph && v[K_STF][0] != 0, false);
    t.ApsRangeMin = v[K_APS][0];
    t.ApsRangeMax = v[K_APS][1];
    t.PrmCollimOffset1 = v[K_PRM][0];
    t.PrmCollimOffset2 = v[K_PRM][1];
    // The collimator offset goes to the unit whenever the file names it.
    t.ScnCollimOffset = v[K_SCN][0];
    // The file has no reset or exit position: the unit is kept where the exam starts, which the MIN
    // and MAX lines repeat.
    for (int a = 0; a < 3; ++a) {
        t.Ini[a] = v[K_INI][static_cast<std::size_t>(a)];
        t.Res[a] = v[K_MIN][static_cast<std::size_t>(a)];
        t.Out[a] = v[K_MAX][static_cast<std::size_t>(a)];
    }
    t.Ini[3] = v[K_INI_H][0];
    t.Res[3] = v[K_MIN_H][0];
    t.Out[3] = v[K_MAX_H][0];
    t.XAxisCorrFact = v[K_X_FATT][0];
    t.YAxisCorrLen = v[K_Y_LUNG][0];
    t.YAxisCorrMin = v[K_Y_MIN][0];
    t.YAxisCorrMax = v[K_Y_MAX][0];
    t.YAxisOpenMouth = v[K_Y_BOCCA][0];
    if (!ImmagineCampiValidi(t, p.sottoimmagini.data(), m, SCOUT_IMMAGINE()))
        return Fallisci(motivo, 0, "a header or sub-image value does not fit its field in the image");
    return true;
}

std::vector<std::uint8_t> ComponiImmagine(const PROIEZIONE_LETTA& p)
{
    std::vector<std::uint8_t> b(DIMENSIONE_IMMAGINE, 0);
    ImmagineScriviIntestazione(b.data(), p.intestazione);
    ImmagineScriviSottoimmagini(b.data(), p.sottoimmagini.data(), static_cast<int>(p.sottoimmagini.size()));
    for (const PASSO_TRAIETTORIA& passo : p.passi)
        ImmagineAggiungiPasso(b.data(), passo);
    ImmagineScriviCRC(b.data());
    return b;
}
