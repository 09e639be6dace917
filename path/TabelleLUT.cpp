#include <algorithm>
#include <array>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/Numerico.h"
#include "core/Punto2DKorvane.h"
#include "path/Percorso.h"
#include "platform/Bytes.h"
#include "platform/File.h"
#include "platform/Locale.h"
#include "resources/Messaggi.h"
#include "sections/RigaCSV.h"

namespace {

// The replay runs on the imaging chain's own constants, not on the machine record.
constexpr double PASSO_TEMPO = 0.02;
constexpr double DIVISORE_VEL_XY = 409.6;
constexpr double DIVISORE_VEL_R = 786.432;
constexpr double DIVISORE_VEL_C = 333.333;
constexpr double DIVISORE_INIZIO_XY = 800.0;
constexpr double DIVISORE_INIZIO_R = 1706.6666666666667;
constexpr double DISTANZA_FUOCO = 383.0;
constexpr double DISTANZA_FUOCO_RIVELATORE = 550.0;
constexpr double DISTANZA_RIVELATORE = DISTANZA_FUOCO_RIVELATORE - DISTANZA_FUOCO;
constexpr double INGRANDIMENTO = 1.23;
constexpr double PASSO_PIXEL = 0.096;
constexpr int NAN_INIZIALI = 32;
constexpr double MARGINE_ALTO = 5.0;
constexpr double FASCIA_Y_MIN = -25.0;
constexpr double FASCIA_Y_MAX = 0.0;
// About 9.6 m of image: far beyond any detector travel, and still small enough to allocate.
constexpr double MAX_COLONNE = 100000.0;
constexpr std::size_t MAX_RIGA = 4096;
constexpr std::size_t DIMENSIONE_RECORD = 5;
const double NaN = std::numeric_limits<double>::quiet_NaN();

constexpr std::array<const wchar_t*, 5> SUFFISSI = {L"_TX.LUT", L"_TY.LUT", L"_X.LUT", L"_Y.LUT", L"_FT.LUT"};

struct VelocitaPasso {
    double x, y, r, c;
};

struct Inizio {
    double x = 0, y = 0, r = 0;
};

// The five tables in the order of their files.
using Tabelle = std::array<std::vector<double>, 5>;

// The steps as speeds. A line that does not read makes the whole file be read again with ";"; a
// second failure ends the reading with the steps read so far.
std::vector<VelocitaPasso> LeggiVelocita(FILE* f)
{
    std::vector<VelocitaPasso> passi;
    std::string riga;
    for (char sep : {',', ';'}) {
        passi.clear();
        std::rewind(f);
        bool fallita = false;
        while (LeggiRigaPasso(f, riga, MAX_RIGA)) {
            if (RigaVuota(riga))
                continue;
            std::int32_t v[7] = {};
            if (LeggiInteriCSV(riga, sep, v, 7) < 6) {
                fallita = true;
                break;
            }
            double w[6];
            for (int k = 0; k < 6; ++k)
                w[k] = DecodificaParola(v[k]);
            passi.push_back({w[0] / DIVISORE_VEL_XY, w[1] / DIVISORE_VEL_XY, w[2] / DIVISORE_VEL_R,
                             w[4] < 1 ? 0.0 : w[3] / DIVISORE_VEL_C});
        }
        if (!fallita)
            break;
    }
    return passi;
}

// X, Y and R of the first non-blank line of the start file. The separator that converts more values
// wins; without the first three values the start is unknown and nothing may be computed from it.
bool LeggiInizio(FILE* f, Inizio& inizio)
{
    std::string riga;
    while (LeggiRigaPasso(f, riga, MAX_RIGA))
        if (!RigaVuota(riga))
            break;
    std::int32_t v[4] = {};
    int n = LeggiInteriCSV(riga, ',', v, 4);
    if (n < 4) {
        std::int32_t w[4] = {};
        const int m = LeggiInteriCSV(riga, ';', w, 4);
        if (m > n) {
            std::copy(w, w + 4, v);
            n = m;
        }
    }
    if (n < 3)
        return false;
    inizio.x = v[0] / DIVISORE_INIZIO_XY;
    inizio.y = v[1] / DIVISORE_INIZIO_XY;
    inizio.r = v[2] / DIVISORE_INIZIO_R;
    return true;
}

struct Arcata {
    std::vector<CPunto2DKorvane> punti;
    std::vector<CPunto2DKorvane> tangenti;
};

// The reference arch y = -0.014097 x^2 - 7.3814e-05 x^4 + 41 between its two points at y = -49.
const Arcata& ArcataRiferimento()
{
    static const Arcata arcata = [] {
        constexpr double a = 0.014097;
        constexpr double b = 7.3814e-05;
        constexpr int campioni = 500;
        const double q = std::sqrt((a - std::sqrt(a * a + 360.0 * b)) / (2.0 * (-b)));
        Arcata r;
        for (int i = 0; i < campioni; ++i) {
            const double x = -q + 2.0 * q * i / (campioni - 1);
            r.punti.emplace_back(x, -a * x * x - b * x * x * x * x + 41.0);
            r.tangenti.push_back(CPunto2DKorvane(1.0, -2.0 * a * x - 4.0 * b * x * x * x).Versore());
        }
        return r;
    }();
    return arcata;
}

double Vettoriale(const CPunto2DKorvane& a, const CPunto2DKorvane& b)
{
    return a.X * b.Y - a.Y * b.X;
}

// Moves the columns of the band onto the reference arch along their ray and gives them the arch's
// tangent. A column whose ray crosses no segment is left as it is: it has no point of its own.
void CorreggiSuArcata(std::vector<double>& X, std::vector<double>& Y, const std::vector<double>& R,
                      std::vector<double>& TX, std::vector<double>& TY)
{
    const Arcata& arcata = ArcataRiferimento();
    for (size_t j = 0; j < X.size(); ++j) {
        if (!(Y[j] > FASCIA_Y_MIN && Y[j] < FASCIA_Y_MAX))
            continue;
        const CPunto2DKorvane p(X[j], Y[j]);
        const double rad = GradiARadianti(R[j]);
        const CPunto2DKorvane d(std::cos(rad), std::sin(rad));
        double distanza = 1000000.0;
        int segmento = -1;
        CPunto2DKorvane incrocio;
        for (size_t s = 0; s + 1 < arcata.punti.size(); ++s) {
            const CPunto2DKorvane e = arcata.punti[s + 1] - arcata.punti[s];
            const double den = Vettoriale(d, e);
            if (den == 0.0)
                continue;
            const CPunto2DKorvane w = arcata.punti[s] - p;
            const double lungoRaggio = Vettoriale(w, e) / den;
            const double lungoSegmento = Vettoriale(w, d) / den;
            // Both ends of a segment belong to it, so a ray through a sample is not lost between two.
            if (!(lungoRaggio >= 0.0 && lungoSegmento >= 0.0 && lungoSegmento <= 1.0))
                continue;
            const CPunto2DKorvane punto = p + d * lungoRaggio;
            const double l = (punto - p).Lunghezza();
            if (l < distanza) {
                distanza = l;
                segmento = static_cast<int>(s);
                incrocio = punto;
            }
        }
        if (segmento < 0)
            continue;
        X[j] = incrocio.X;
        Y[j] = incrocio.Y;
        CPunto2DKorvane t = arcata.tangenti[static_cast<size_t>(segmento)];
        if (t.Y < 0.0)
            t = t * -1.0;
        TX[j] = t.X;
        TY[j] = t.Y;
    }
}

// Depth factor of the image layer against the distance from the middle.
double ProfiloProfondita(double x, double xmax)
{
    if (std::isnan(x))
        return NaN;
    const double nx[] = {0.0, 7.5, 21.0, 25.5, 28.0, xmax};
    const double ny[] = {0.33, 0.42, 0.66, 1.0, 1.2, 1.2};
    const double d = std::fabs(x);
    for (int k = 1; k < 6; ++k) {
        const bool dentro = k == 1 ? d >= nx[0] && d <= nx[1] : d > nx[k - 1] && d <= nx[k];
        if (dentro) {
            const double t = (d - nx[k - 1]) / (nx[k] - nx[k - 1]);
            return (1.0 - t) * ny[k - 1] + t * ny[k];
        }
    }
    // Beyond the last knot the profile stays at its last value.
    return ny[5];
}

// The tables of a replayed motion; false when the image would have more columns than a table may.
bool CalcolaTabelle(const std::vector<VelocitaPasso>& passi, const Inizio& inizio, bool scout, Tabelle& tabelle)
{
    const size_t n = passi.size() + 1;
    std::vector<double> ax(n), ay(n), ar(n), ac(n);
    ax[0] = inizio.x;
    ay[0] = inizio.y;
    ar[0] = inizio.r;
    ac[0] = 0.0;
    // The scout's first exposure does not move the image: C stands still from its first positive
    // speed until the next step whose speed is exactly 0.
    bool inScout = false;
    bool scoutFinito = !scout;
    for (size_t i = 1; i < n; ++i) {
        const VelocitaPasso& v = passi[i - 1];
        double vc = v.c;
        if (!scoutFinito) {
            if (!inScout && vc > 0.0)
                inScout = true;
            else if (inScout && vc == 0.0)
                scoutFinito = true;
            if (inScout && !scoutFinito)
                vc = 0.0;
        }
        ax[i] = ax[i - 1] + v.x * PASSO_TEMPO;
        ay[i] = ay[i - 1] + v.y * PASSO_TEMPO;
        ar[i] = ar[i - 1] + v.r * PASSO_TEMPO;
        ac[i] = ac[i - 1] + vc * PASSO_TEMPO;
    }

    std::vector<double> ox(n), oy(n), colonna(n);
    double colonnaMax = -std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < n; ++i) {
        const double rad = GradiARadianti(ar[i]);
        const double c = std::cos(rad);
        const double s = std::sin(rad);
        const double fx = ax[i] + DISTANZA_FUOCO * c;
        const double fy = ay[i] + DISTANZA_FUOCO * s;
        const double rx = ax[i] - DISTANZA_RIVELATORE * c;
        const double ry = ay[i] - DISTANZA_RIVELATORE * s;
        ox[i] = fx + (rx - fx) / INGRANDIMENTO;
        oy[i] = fy + (ry - fy) / INGRANDIMENTO;
        colonna[i] = ac[i] / PASSO_PIXEL;
        colonnaMax = std::max(colonnaMax, colonna[i]);
    }
    const double colonneArrotondate = std::ceil(colonnaMax);
    if (!(colonneArrotondate <= MAX_COLONNE))
        return false;
    const int m = colonneArrotondate < 1.0 ? 0 : static_cast<int>(colonneArrotondate);

    for (size_t i = 0; i < n; ++i)
        colonna[i] = colonna[i] + static_cast<double>(i) * 0.001 / static_cast<double>(n - 1);

    // Sample k lies below every column from floor(column[k]) + 1 on, so the last sample below each
    // column comes from one pass over the samples and a running maximum over the columns.
    std::vector<int> ultimo(static_cast<size_t>(m) + 1, -1);
    for (size_t k = 0; m > 0 && k + 1 < n; ++k) {
        if (!(colonna[k] < m))
            continue;
        const int primo = colonna[k] < 1.0 ? 1 : static_cast<int>(std::floor(colonna[k])) + 1;
        ultimo[static_cast<size_t>(primo)] = std::max(ultimo[static_cast<size_t>(primo)], static_cast<int>(k));
    }
    const size_t lunghezza = NAN_INIZIALI + static_cast<size_t>(m);
    std::vector<double> X(lunghezza, NaN), Y(lunghezza, NaN), R(lunghezza, NaN);
    int k = -1;
    for (int j = 1; j <= m; ++j) {
        k = std::max(k, ultimo[static_cast<size_t>(j)]);
        // The last column lies past the last sample: it stays NaN.
        if (j == m || k < 0)
            continue;
        const size_t a = static_cast<size_t>(k);
        const double t = (j - colonna[a]) / (colonna[a + 1] - colonna[a]);
        const size_t o = NAN_INIZIALI + static_cast<size_t>(j) - 1;
        X[o] = (1.0 - t) * ox[a] + t * ox[a + 1];
        Y[o] = (1.0 - t) * oy[a] + t * oy[a + 1];
        R[o] = (1.0 - t) * ar[a] + t * ar[a + 1];
    }

    std::vector<double> TX(lunghezza, NaN), TY(lunghezza, NaN);
    for (size_t j = 1; j + 1 < lunghezza; ++j) {
        CPunto2DKorvane t = CPunto2DKorvane(X[j] - X[j - 1], Y[j] - Y[j - 1]).Versore();
        if (!(Y[j] > Y[j - 1]))
            t = t * -1.0;
        TX[j] = t.X;
        TY[j] = t.Y;
    }

    double ymax = -1000.0;
    for (double y : Y)
        if (y > ymax)
            ymax = y;
    const double cima = ymax - MARGINE_ALTO;
    for (size_t j = 0; j < lunghezza; ++j) {
        if (!(Y[j] >= cima))
            continue;
        const double nx = -TY[j];
        const double ny = TX[j];
        const double t = (cima - Y[j]) / ny;
        X[j] = X[j] + nx * t;
        Y[j] = Y[j] + ny * t;
    }

    CorreggiSuArcata(X, Y, R, TX, TY);

    double xmax = 0.0;
    for (double x : X)
        if (x > xmax)
            xmax = x;
    std::vector<double> FT(lunghezza);
    for (size_t j = 0; j < lunghezza; ++j)
        FT[j] = ProfiloProfondita(X[j], xmax);

    tabelle = {std::move(TX), std::move(TY), std::move(X), std::move(Y), std::move(FT)};
    return true;
}

// A finite value beyond the float range would reach the file as an infinity.
bool EntraInFloat(const double* valori, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (std::isfinite(valori[i]) && std::fabs(valori[i]) > FLT_MAX)
            return false;
    return true;
}

// The binary image of a table. A NaN is stored as the positive quiet NaN, so the same table always
// gives the same bytes.
std::vector<std::uint8_t> BytesTabella(const double* valori, size_t n)
{
    std::vector<std::uint8_t> b(4 + DIMENSIONE_RECORD * n, 0);
    PutU32(b.data(), 0, static_cast<std::uint32_t>(n));
    for (size_t i = 0; i < n; ++i) {
        const size_t o = 4 + DIMENSIONE_RECORD * i;
        const bool presente = !std::isnan(valori[i]);
        PutU8(b.data(), o, presente ? 1 : 0);
        PutF32(b.data(), o + 1, presente ? static_cast<float>(valori[i]) : std::numeric_limits<float>::quiet_NaN());
    }
    return b;
}

// Writes a binary table into the file that replaces `nome`. The table goes over what stood there
// without cutting it: the old file's bytes beyond the new records follow them unchanged.
bool ScriviTabellaBinaria(FileSostitutivo& file, const std::string& nome, const std::vector<std::uint8_t>& b)
{
    if (!file.Scrivi(b.data(), b.size()))
        return false;
    errno = 0;
    const FilePtr vecchio(std::fopen(nome.c_str(), "rb"));
    // Nothing stood there; an old file that cannot be read refuses the table rather than lose its tail.
    if (!vecchio)
        return errno == ENOENT;
    if (std::fseek(vecchio.get(), 0, SEEK_END) != 0)
        return false;
    const long fine = std::ftell(vecchio.get());
    if (fine < 0 || std::fseek(vecchio.get(), static_cast<long>(b.size()), SEEK_SET) != 0)
        return false;
    std::vector<std::uint8_t> blocco(65536);
    for (long restanti = fine - static_cast<long>(b.size()); restanti > 0;) {
        const size_t voluti = static_cast<size_t>(std::min<long>(restanti, static_cast<long>(blocco.size())));
        if (std::fread(blocco.data(), 1, voluti, vecchio.get()) != voluti || !file.Scrivi(blocco.data(), voluti))
            return false;
        restanti -= static_cast<long>(voluti);
    }
    return true;
}

}  // namespace

int CPercorso::SaveLUT(const CString& nome, const ArrayDouble& tabella, int binario)
{
    const double* valori = tabella.GetData();
    const size_t n = static_cast<size_t>(tabella.GetSize());
    if (!EntraInFloat(valori, n)) {
        CaricaMessaggio(m_errore, MSG_LUT_VALORE_NON_FLOAT);
        return 0;
    }
    const std::string nomeFile = StringaAUtf8(nome);
    FileSostitutivo file(nomeFile);
    bool ok = file.Flusso() != nullptr;
    if (ok && binario) {
        ok = ScriviTabellaBinaria(file, nomeFile, BytesTabella(valori, n));
    } else if (ok) {
        LocaleC guardia;
        ok = std::fprintf(file.Flusso(), "%d\n\n", static_cast<int>(n)) > 0;
        // A NaN is printed as the positive quiet NaN: the same "nan" whatever produced it.
        for (size_t i = 0; ok && i < n; ++i) {
            const bool presente = !std::isnan(valori[i]);
            const float v = presente ? static_cast<float>(valori[i]) : std::numeric_limits<float>::quiet_NaN();
            ok = std::fprintf(file.Flusso(), "%d %f\n", presente ? 1 : 0, static_cast<double>(v)) > 0;
        }
    }
    // The binary table fails with the same message as the text one, so its caller learns why.
    if (!ok || !file.Rinomina()) {
        CaricaMessaggio(m_errore, MSG_LUT_NON_APERTO_IN_SCRITTURA);
        return 0;
    }
    return 1;
}

ArrayDouble& CPercorso::LoadLUT(const CString& nome)
{
    m_valoriLUT.RemoveAll();
    const FilePtr f(ApriFile(nome, "rb"));
    if (!f) {
        CaricaMessaggio(m_errore, MSG_LUT_NON_APERTO_IN_LETTURA);
        return m_valoriLUT;
    }
    std::uint8_t testa[4];
    if (std::fread(testa, 1, 4, f.get()) != 4) {
        CaricaMessaggio(m_errore, MSG_LUT_TRONCATO, 0);
        return m_valoriLUT;
    }
    // The table grows with the records really read, so a count larger than the file allocates
    // nothing it cannot fill; the values the file lacks are reported from the first one missing.
    std::uint32_t restanti = GetU32(testa, 0);
    constexpr std::uint32_t BLOCCO = 4096;
    std::vector<std::uint8_t> b(BLOCCO * DIMENSIONE_RECORD);
    while (restanti > 0) {
        const std::uint32_t voluti = std::min(restanti, BLOCCO);
        const size_t letti = std::fread(b.data(), DIMENSIONE_RECORD, voluti, f.get());
        for (size_t i = 0; i < letti; ++i) {
            const size_t o = DIMENSIONE_RECORD * i;
            m_valoriLUT.Add(GetU8(b.data(), o) == 0 ? NaN : static_cast<double>(GetF32(b.data(), o + 1)));
        }
        if (letti < voluti) {
            CaricaMessaggio(m_errore, MSG_LUT_TRONCATO, m_valoriLUT.GetSize());
            break;
        }
        restanti -= voluti;
    }
    return m_valoriLUT;
}

int CPercorso::CreaLUT(int modoScout, const CString& nomeCSV, const CString& nomeLUT)
{
    const FilePtr csv(FinisceConNoCase(nomeCSV, L".csv") ? ApriFile(nomeCSV, "rb") : nullptr);
    if (!csv) {
        CaricaMessaggio(m_errore, MSG_LUT_CSV_NON_LEGGIBILE);
        return 0;
    }
    const std::vector<VelocitaPasso> passi = LeggiVelocita(csv.get());
    if (passi.empty()) {
        CaricaMessaggio(m_errore, MSG_LUT_SENZA_PASSI);
        return 0;
    }
    const FilePtr fileInizio(ApriFile(InserisciPrimaDellUltimoPunto(nomeCSV, L"_P0"), "rb"));
    Inizio inizio;
    if (!fileInizio || !LeggiInizio(fileInizio.get(), inizio)) {
        CaricaMessaggio(m_errore, MSG_LUT_INIZIO_NON_LEGGIBILE);
        return 0;
    }
    bool scout = false;
    for (const CTraiettoria& t : m_traiettorie)
        scout = scout || t.IsScout != 0;
    Tabelle tabelle;
    if (!CalcolaTabelle(passi, inizio, modoScout != 0 && scout, tabelle)) {
        CaricaMessaggio(m_errore, MSG_LUT_TROPPE_COLONNE);
        return 0;
    }

    CString base = nomeCSV;
    if (!nomeLUT.empty()) {
        CString nome = ParteNomeFile(nomeLUT);
        if (FinisceConNoCase(nome, L".LUT"))
            nome.resize(nome.size() - 4);
        base = ParteDirectory(nomeCSV) + nome + L".LUT";
    }
    base = base.substr(0, base.rfind(L'.'));
    for (const std::vector<double>& t : tabelle)
        if (!EntraInFloat(t.data(), t.size())) {
            CaricaMessaggio(m_errore, MSG_LUT_VALORE_NON_FLOAT);
            return 0;
        }
    // All five tables are complete on disk before any replaces its old one, so a failed write
    // leaves the earlier set whole.
    std::vector<std::unique_ptr<FileSostitutivo>> file;
    bool ok = true;
    for (size_t i = 0; i < SUFFISSI.size() && ok; ++i) {
        const std::vector<std::uint8_t> b = BytesTabella(tabelle[i].data(), tabelle[i].size());
        const std::string nome = StringaAUtf8(base + SUFFISSI[i]);
        file.push_back(std::make_unique<FileSostitutivo>(nome));
        ok = ScriviTabellaBinaria(*file.back(), nome, b) && file.back()->Chiudi();
    }
    for (size_t i = 0; i < file.size() && ok; ++i)
        ok = file[i]->Rinomina();
    if (!ok) {
        CaricaMessaggio(m_errore, MSG_LUT_NON_APERTO_IN_SCRITTURA);
        return 0;
    }
    return 1;
}
