#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "path/Percorso.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
using Righe = std::vector<std::array<int, 7>>;
using Tabelle = std::array<std::vector<double>, 5>;
const char* const SUFFISSI[] = {"_TX.LUT", "_TY.LUT", "_X.LUT", "_Y.LUT", "_FT.LUT"};

std::string Contenuto(const std::string& nome)
{
    std::ifstream f(nome, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

void Scrivi(const std::string& nome, const std::string& testo)
{
    std::ofstream(nome, std::ios::binary) << testo;
}

void ScriviPassi(const std::string& csv, const Righe& righe, char sep, bool conH, const std::array<int, 3>& p0)
{
    std::ostringstream t;
    for (const auto& r : righe)
        for (int k = 0; k < (conH ? 7 : 6); ++k)
            t << r[k] << (k + 1 < (conH ? 7 : 6) ? sep : '\n');
    Scrivi(csv, t.str());
    Scrivi(csv.substr(0, csv.size() - 4) + "_P0.csv", std::to_string(p0[0]) + sep + std::to_string(p0[1]) + sep +
                                                           std::to_string(p0[2]) + sep + "0" + sep + "0\n");
}

Tabelle Carica(CPercorso& p, const std::string& base)
{
    Tabelle t;
    for (int i = 0; i < 5; ++i) {
        const ArrayDouble& a = p.LoadLUT(StringaDaUtf8(base + SUFFISSI[i]));
        t[i].assign(a.GetData(), a.GetData() + a.GetSize());
    }
    return t;
}

// Steps 1 to 7.2 and 7.4 written out plainly, for motions whose object points stay out of the
// reference-arch band.
Tabelle Modello(const Righe& righe, const std::array<int, 3>& p0, bool scout)
{
    auto parola = [](int v) { return v >= 32768 ? static_cast<double>(32768 - v) : static_cast<double>(v); };
    std::vector<double> ax{p0[0] / 800.0}, ay{p0[1] / 800.0}, ar{p0[2] / 1706.6666666666667}, ac{0.0};
    int fase = scout ? 0 : 2;
    for (const auto& s : righe) {
        double vc = parola(s[4]) < 1 ? 0.0 : parola(s[3]) / 333.333;
        fase = (fase == 0 && vc > 0) ? 1 : (fase == 1 && vc == 0) ? 2 : fase;
        ax.push_back(ax.back() + parola(s[0]) / 409.6 * 0.02);
        ay.push_back(ay.back() + parola(s[1]) / 409.6 * 0.02);
        ar.push_back(ar.back() + parola(s[2]) / 786.432 * 0.02);
        ac.push_back(ac.back() + (fase == 1 ? 0.0 : vc) * 0.02);
    }
    const size_t n = ax.size();
    std::vector<double> ox(n), oy(n), col(n);
    double cmax = -1e300;
    for (size_t i = 0; i < n; ++i) {
        const double a = ar[i] * 3.141592653589793 / 180.0;
        const double fx = ax[i] + 383.0 * std::cos(a), fy = ay[i] + 383.0 * std::sin(a);
        ox[i] = fx + (ax[i] - 167.0 * std::cos(a) - fx) / 1.23;
        oy[i] = fy + (ay[i] - 167.0 * std::sin(a) - fy) / 1.23;
        cmax = std::max(cmax, col[i] = ac[i] / 0.096);
    }
    const int m = static_cast<int>(std::ceil(cmax));
    for (size_t i = 0; i < n; ++i)
        col[i] += static_cast<double>(i) * 0.001 / static_cast<double>(n - 1);
    std::vector<double> X(32, NaN), Y(32, NaN);
    for (int j = 1; j <= m; ++j) {
        size_t k = 0;
        for (size_t q = 0; q + 1 < n; ++q)
            k = col[q] < j ? q : k;
        const double t = j == m ? NaN : (j - col[k]) / (col[k + 1] - col[k]);
        X.push_back((1 - t) * ox[k] + t * ox[k + 1]);
        Y.push_back((1 - t) * oy[k] + t * oy[k + 1]);
    }
    std::vector<double> TX(X.size(), NaN), TY(X.size(), NaN), FT;
    double ymax = -1000, xmax = 0;
    for (size_t j = 1; j + 1 < X.size(); ++j) {
        const double dx = X[j] - X[j - 1], dy = Y[j] - Y[j - 1], l = std::sqrt(dx * dx + dy * dy);
        const double verso = Y[j] > Y[j - 1] ? 1.0 : -1.0;
        TX[j] = dx / l * verso;
        TY[j] = dy / l * verso;
    }
    for (double y : Y)
        ymax = y > ymax ? y : ymax;
    for (size_t j = 0; j < X.size(); ++j)
        if (Y[j] >= ymax - 5) {
            const double t = (ymax - 5 - Y[j]) / TX[j];
            X[j] += -TY[j] * t;
            Y[j] += TX[j] * t;
        }
    for (double x : X)
        xmax = x > xmax ? x : xmax;
    const double kx[] = {0, 7.5, 21, 25.5, 28, xmax}, ky[] = {0.33, 0.42, 0.66, 1.0, 1.2, 1.2};
    for (double x : X) {
        double v = std::isnan(x) ? NaN : 1.2;
        for (int k = 1; k < 6 && !std::isnan(x); ++k)
            if (std::fabs(x) <= kx[k] && (std::fabs(x) > kx[k - 1] || k == 1)) {
                const double t = (std::fabs(x) - kx[k - 1]) / (kx[k] - kx[k - 1]);
                v = (1 - t) * ky[k - 1] + t * ky[k];
                break;
            }
        FT.push_back(v);
    }
    return {TX, TY, X, Y, FT};
}

}  // namespace

TEST(TabelleLUT, BinarioTestoEMessaggi)
{
    const std::string d = CartellaTemporanea("lut_formati");
    CPercorso p;
    ArrayDouble t;
    for (double v : {1.5, NaN, -2.0})
        t.Add(v);
    ASSERT_EQ(p.SaveLUT(StringaDaUtf8(d + "b.LUT"), t, 1), 1);
    EXPECT_EQ(Contenuto(d + "b.LUT"), std::string("\3\0\0\0\1\0\0\xC0\x3F\0\0\0\xC0\x7F\1\0\0\0\xC0", 19));
    const ArrayDouble& letta = p.LoadLUT(StringaDaUtf8(d + "b.LUT"));
    ASSERT_EQ(letta.GetSize(), 3);
    EXPECT_TRUE(letta[0] == 1.5 && std::isnan(letta[1]) && letta[2] == -2.0);
    ASSERT_EQ(p.SaveLUT(StringaDaUtf8(d + "t.LUT"), t, 0), 1);
    EXPECT_EQ(Contenuto(d + "t.LUT"), "3\n\n1 1.500000\n0 nan\n1 -2.000000\n");
    EXPECT_EQ(p.GetErrorString(), L"");

    std::mt19937 gen(7);
    t.RemoveAll();
    for (int i = 0; i < 2000; ++i)
        t.Add(i % 7 == 0 ? NaN : static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(gen()) & 0xFF7FFFFFu)));
    ASSERT_EQ(p.SaveLUT(StringaDaUtf8(d + "r.LUT"), t, 1), 1);
    const ArrayDouble& r = p.LoadLUT(StringaDaUtf8(d + "r.LUT"));
    ASSERT_EQ(r.GetSize(), t.GetSize());
    for (int i = 0; i < t.GetSize(); ++i)
        ASSERT_TRUE(std::isnan(t[i]) ? std::isnan(r[i]) : std::bit_cast<std::uint64_t>(r[i]) == std::bit_cast<std::uint64_t>(t[i])) << i;
    t.RemoveAll();
    for (double v : {1.5, NaN, -2.0})
        t.Add(v);

    // A table that cannot be written or stored leaves no file and says why.
    for (int binario : {0, 1}) {
        EXPECT_EQ(p.SaveLUT(StringaDaUtf8(d + "no/t.LUT"), t, binario), 0);
        EXPECT_EQ(p.GetErrorString(), TestoMessaggio(MSG_LUT_NON_APERTO_IN_SCRITTURA));
        t.Add(1e300);
        EXPECT_EQ(p.SaveLUT(StringaDaUtf8(d + "f.LUT"), t, binario), 0);
        EXPECT_EQ(p.GetErrorString(), TestoMessaggio(MSG_LUT_VALORE_NON_FLOAT));
        t.RemoveAt(3);
    }
    EXPECT_FALSE(std::filesystem::exists(d + "f.LUT"));
}

TEST(TabelleLUT, LetturaDiFileDanneggiati)
{
    const std::string d = CartellaTemporanea("lut_danni");
    const std::string record("\1\0\0\x80\x3F", 5);
    const struct {
        std::string byte;
        int valori;
        CString messaggio;
    } casi[] = {
        {"", 0, L"The .LUT file ends before its value 0"},
        {std::string("\xFF\xFF\xFF\xFF", 4) + record, 1, L"The .LUT file ends before its value 1"},
        {std::string("\1\0\0\0", 4) + record + record, 1, L""},
        {std::string("\2\0\0\0", 4) + record + "\1\0", 1, L"The .LUT file ends before its value 1"},
    };
    CPercorso p;
    for (const auto& c : casi) {
        Scrivi(d + "x.LUT", c.byte);
        const ArrayDouble& t = p.LoadLUT(StringaDaUtf8(d + "x.LUT"));
        EXPECT_EQ(t.GetSize(), c.valori);
        EXPECT_TRUE(t.IsEmpty() || t[0] == 1.0);
        EXPECT_EQ(p.GetErrorString(), c.messaggio);
    }
    EXPECT_TRUE(p.LoadLUT(StringaDaUtf8(d + "assente.LUT")).IsEmpty());
    EXPECT_EQ(p.GetErrorString(), TestoMessaggio(MSG_LUT_NON_APERTO_IN_LETTURA));
}

TEST(TabelleLUT, NomiEIngressiRifiutati)
{
    const std::string d = CartellaTemporanea("lut_nomi");
    ScriviPassi(d + "exam.csv", Righe(20, {0, 100, 0, 500, 70, 10, 0}), ',', false, {0, 0, 0});
    Scrivi(d + "vuoto.csv", "\n");
    Scrivi(d + "vuoto_P0.csv", "0,0,0,0\n");
    Scrivi(d + "senzaP0.csv", "1,2,3,4,5,6\n");
    ScriviPassi(d + "fermo.csv", Righe(3, {0, 0, 0, 0, 70, 10, 0}), ';', true, {0, 0, 0});
    ScriviPassi(d + "lungo.csv", Righe(5000, {0, 0, 0, 32767, 70, 10, 0}), ',', false, {0, 0, 0});
    const struct {
        std::string csv, lut, base;
        int messaggio;
    } casi[] = {
        {"exam.csv", "", "exam", 0},
        {"exam.csv", "D:\\x\\A.LUT", "A", 0},
        {"exam.csv", "0.3.9.21", "0.3.9.21", 0},
        {"fermo.csv", "", "fermo", 0},
        {"exam.txt", "", "", MSG_LUT_CSV_NON_LEGGIBILE},
        {"assente.csv", "", "", MSG_LUT_CSV_NON_LEGGIBILE},
        {"vuoto.csv", "", "", MSG_LUT_SENZA_PASSI},
        {"senzaP0.csv", "", "", MSG_LUT_INIZIO_NON_LEGGIBILE},
        {"lungo.csv", "", "", MSG_LUT_TROPPE_COLONNE},
    };
    for (const auto& c : casi) {
        CPercorso p;
        EXPECT_EQ(p.CreaLUT(1, StringaDaUtf8(d + c.csv), StringaDaUtf8(c.lut)), c.messaggio == 0) << c.csv << c.lut;
        EXPECT_EQ(p.GetErrorString(), c.messaggio ? TestoMessaggio(c.messaggio) : L"");
        for (const char* s : SUFFISSI)
            EXPECT_EQ(std::filesystem::exists(d + c.base + s), c.messaggio == 0) << c.base + s;
    }
}

// Random motions against the plain model, each read from a "," and from a ";" file.
TEST(TabelleLUT, ProprietaControModello)
{
    const std::string d = CartellaTemporanea("lut_modello");
    std::mt19937 gen(12);
    auto tra = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(gen); };
    auto memorizza = [](int w) { return w < 0 ? 32768 - w : w; };
    for (int caso = 0; caso < 30; ++caso) {
        // The arm stays above y = 0 and R within (-180, 0), so no object point enters the arch band.
        const std::array<int, 3> p0 = {tra(-16000, 16000), 24000, tra(-230000, -80000)};
        // Some images run back over several columns, so the last sample below a column is not the nearest.
        const int ritorno = tra(0, 2) == 0 ? 3000 : 800;
        Righe righe(static_cast<size_t>(tra(1, 200)));
        for (auto& r : righe)
            r = {memorizza(tra(-3000, 3000)), memorizza(tra(-200, 200)), memorizza(tra(-2000, 2000)),
                 tra(0, 5) == 0 ? memorizza(-tra(1, ritorno)) : tra(0, 4) == 0 ? 0 : tra(1, 1500),
                 tra(0, 9) == 0 ? tra(0, 1) * 32800 : tra(60, 90), 10, 5};
        righe[0][0] = 32778;
        const int modoScout = tra(0, 1), trajScout = tra(0, 1);
        const Tabelle atteso = Modello(righe, p0, modoScout && trajScout);
        for (char sep : {',', ';'}) {
            ScriviPassi(d + "p.csv", righe, sep, caso % 2 == 0, p0);
            CPercorso p;
            CTraiettoria t(MacchinaEsempio());
            p.ArrayTraiettorieAdd(&t);
            p.ArrayTraiettorieSetScout(0, trajScout);
            ASSERT_EQ(p.CreaLUT(modoScout, StringaDaUtf8(d + "p.csv"), L""), 1) << caso;
            const Tabelle letto = Carica(p, d + "p");
            for (int i = 0; i < 5; ++i) {
                ASSERT_EQ(letto[i].size(), atteso[i].size()) << caso << sep << i;
                for (size_t j = 0; j < letto[i].size(); ++j)
                    ASSERT_TRUE(std::isnan(atteso[i][j]) ? std::isnan(letto[i][j])
                                                         : letto[i][j] == static_cast<float>(atteso[i][j]))
                        << caso << sep << " table " << i << " column " << j;
            }
        }
    }
}

// A diagonal motion with rays along x: from the left (R = 0) and from the right (R = 180) the band's
// columns land on the nearer branch of the arch with an upward tangent; right of the arch with rays
// pointing right they cross nothing and stay on the line of the motion.
TEST(TabelleLUT, FasciaDellArcataEProfilo)
{
    const std::string d = CartellaTemporanea("lut_arcata");
    const struct {
        int x0, r0;
        bool sullArcata;
    } casi[] = {{-44000, 0, true}, {12800, 307200, true}, {115000, 0, false}};
    for (const auto& c : casi) {
        ScriviPassi(d + "a.csv", Righe(250, {4096, 4096, 0, 1000, 70, 10, 0}), ',', false, {c.x0, -32000, c.r0});
        CPercorso p;
        ASSERT_EQ(p.CreaLUT(0, StringaDaUtf8(d + "a.csv"), L""), 1);
        const Tabelle t = Carica(p, d + "a");
        const double scarto = t[2][40] - t[3][40];
        int inFascia = 0;
        for (size_t j = 32; j + 1 < t[2].size(); ++j) {
            const double x = t[2][j], y = t[3][j];
            if (!(y > -25 && y < 0)) {
                // Left of the arch every X is below -28 and beyond the largest X: the last knot's value.
                EXPECT_TRUE(c.x0 > 0 || t[4][j] == 1.2f) << j;
                continue;
            }
            ++inFascia;
            if (!c.sullArcata) {
                EXPECT_NEAR(x - y, scarto, 1e-3) << j;
                continue;
            }
            EXPECT_NEAR(y, -0.014097 * x * x - 7.3814e-05 * x * x * x * x + 41, 5e-3) << j;
            EXPECT_LT(std::fabs(x), 31.9) << j;
            EXPECT_GT(t[1][j], 0.0);
            EXPECT_NEAR(std::hypot(t[0][j], t[1][j]), 1.0, 1e-6);
        }
        EXPECT_GT(inFascia, 50);
    }
}
