#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "path/Percorso.h"
#include "resources/Messaggi.h"
#include "support/MacchinaEsempio.h"
#include "tests/core/TestoDiProva.h"

namespace {

const double NaN = std::nan("");
using Righe = std::vector<std::array<int, 7>>;
using Tabelle = std::array<std::vector<double>, 5>;
const char* const SUFFISSI[] = {"_TX.LUT", "_TY.LUT", "_X.LUT", "_Y.LUT", "_FT.LUT"};

void ScriviPassi(const std::string& csv, const Righe& righe, char sep, int colonne, const std::array<int, 3>& p0)
{
    std::ostringstream t, i;
    for (const auto& r : righe)
        for (int k = 0; k < colonne; ++k)
            t << r[k] << (k + 1 < colonne ? sep : '\n');
    ScriviFile(csv, t.str() + "\n");
    i << p0[0] << sep << p0[1] << sep << p0[2] << sep << "0" << sep << "0\n";
    ScriviFile(csv.substr(0, csv.size() - 4) + "_P0.csv", i.str());
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

// The whole replay written out plainly, for motions whose object points stay above y = 0 and so
// never reach the reference arch.
Tabelle Modello(const Righe& righe, const std::array<int, 3>& p0, bool scout)
{
    auto w = [](int v) { return v >= 32768 ? 32768.0 - v : v; };
    std::vector<double> ax{p0[0] / 800.0}, ay{p0[1] / 800.0}, ar{p0[2] / 1706.6666666666667}, ac{0.0};
    int fase = scout ? 0 : 2;
    for (const auto& s : righe) {
        const double vc = w(s[4]) < 1 ? 0.0 : w(s[3]) / 333.333;
        fase = (fase == 0 && vc > 0) ? 1 : (fase == 1 && vc == 0) ? 2 : fase;
        ax.push_back(ax.back() + w(s[0]) / 409.6 * 0.02);
        ay.push_back(ay.back() + w(s[1]) / 409.6 * 0.02);
        ar.push_back(ar.back() + w(s[2]) / 786.432 * 0.02);
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
        TX[j] = dx / l * (Y[j] > Y[j - 1] ? 1 : -1);
        TY[j] = dy / l * (Y[j] > Y[j - 1] ? 1 : -1);
        ymax = std::max(ymax, Y[j]);
    }
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
        int k = 1;
        while (k < 6 && !(std::fabs(x) <= kx[k] && (std::fabs(x) > kx[k - 1] || k == 1)))
            ++k;
        const double t = k < 6 ? (std::fabs(x) - kx[k - 1]) / (kx[k] - kx[k - 1]) : 1.0;
        FT.push_back(std::isnan(x) ? NaN : (1 - t) * ky[k - 1] + t * ky[std::min(k, 5)]);
    }
    return {TX, TY, X, Y, FT};
}

}  // namespace

TEST(TabelleLUT, BinarioTestoEFileDanneggiati)
{
    const std::string d = CartellaTemporanea("lut_formati");
    CPercorso p;
    ArrayDouble t;
    std::mt19937 gen(7);
    // Random floats of every exponent but the one of infinities and NaNs, and NaNs of our own.
    for (int i = 0; i < 2000; ++i)
        t.Add(i % 7 == 3 ? NaN : std::bit_cast<float>(static_cast<std::uint32_t>(gen()) & 0xFF7FFFFFu));
    ASSERT_EQ(p.SaveLUT(StringaDaUtf8(d + "r.LUT"), t, 1), 1);
    const ArrayDouble& r = p.LoadLUT(StringaDaUtf8(d + "r.LUT"));
    ASSERT_EQ(r.GetSize(), t.GetSize());
    for (int i = 0; i < t.GetSize(); ++i)
        ASSERT_EQ(std::bit_cast<std::uint64_t>(r[i]), std::bit_cast<std::uint64_t>(t[i])) << i;

    t.SetSize(3);
    t[0] = 1.5, t[1] = NaN, t[2] = -2.0;
    ASSERT_EQ(p.SaveLUT(StringaDaUtf8(d + "b.LUT"), t, 1), 1);
    EXPECT_EQ(LeggiFile(d + "b.LUT"), std::string("\3\0\0\0\1\0\0\xC0\x3F\0\0\0\xC0\x7F\1\0\0\0\xC0", 19));
    ASSERT_EQ(p.SaveLUT(StringaDaUtf8(d + "t.LUT"), t, 0), 1);
    EXPECT_EQ(LeggiFile(d + "t.LUT"), "3\n\n1 1.500000\n0 nan\n1 -2.000000\n");
    EXPECT_EQ(p.GetErrorString(), L"");
    // A table that cannot be written or stored leaves no file and says why.
    for (int binario : {0, 1}) {
        t[1] = NaN;
        EXPECT_EQ(p.SaveLUT(StringaDaUtf8(d + "no/t.LUT"), t, binario), 0);
        EXPECT_EQ(p.GetErrorString(), TestoMessaggio(MSG_LUT_NON_APERTO_IN_SCRITTURA));
        t[1] = 1e300;
        EXPECT_EQ(p.SaveLUT(StringaDaUtf8(d + "f.LUT"), t, binario), 0);
        EXPECT_EQ(p.GetErrorString(), TestoMessaggio(MSG_LUT_VALORE_NON_FLOAT));
    }
    EXPECT_FALSE(std::filesystem::exists(d + "f.LUT"));

    // A damaged table gives the values it holds and says from where the rest is missing.
    const std::string uno("\1\0\0\x80\x3F", 5);
    const struct { std::string byte; int valori; CString messaggio; } casi[] = {
        {"", 0, L"The .LUT file ends before its value 0"}, {std::string("\1\0\0\0", 4) + uno + uno, 1, L""},
        {std::string("\xFF\xFF\xFF\xFF", 4) + uno, 1, L"The .LUT file ends before its value 1"},
        {std::string("\2\0\0\0", 4) + uno + "\1\0", 1, L"The .LUT file ends before its value 1"}};
    for (const auto& c : casi) {
        ScriviFile(d + "x.LUT", c.byte);
        const ArrayDouble& t = p.LoadLUT(StringaDaUtf8(d + "x.LUT"));
        EXPECT_TRUE(t.GetSize() == c.valori && (t.IsEmpty() || t[0] == 1.0));
        EXPECT_EQ(p.GetErrorString(), c.messaggio);
    }
    EXPECT_TRUE(p.LoadLUT(StringaDaUtf8(d + "assente.LUT")).IsEmpty());
    EXPECT_EQ(p.GetErrorString(), TestoMessaggio(MSG_LUT_NON_APERTO_IN_LETTURA));
}

// A binary table goes over a longer file without cutting it: the old bytes beyond its records stay, there
// and in the replay's five tables. Over a shorter or no file, or as text, the file is the new data alone.
TEST(TabelleLUT, TabellaBinariaSopraUnFilePiuLungo)
{
    const std::string d = CartellaTemporanea("lut_coda");
    std::string vecchio(64, '\0');
    for (size_t i = 0; i < vecchio.size(); ++i)
        vecchio[i] = static_cast<char>(200 - i);
    const std::string binario("\3\0\0\0\1\0\0\xC0\x3F\0\0\0\xC0\x7F\1\0\0\0\xC0", 19);
    const struct { int prima, binario; std::string atteso; } casi[] = {  // prima: bytes of the old file, -1 none
        {64, 1, binario + vecchio.substr(19)}, {19, 1, binario}, {10, 1, binario}, {-1, 1, binario},
        {64, 0, "3\n\n1 1.500000\n0 nan\n1 -2.000000\n"}};
    ArrayDouble t;
    t.Add(1.5), t.Add(NaN), t.Add(-2.0);
    for (const auto& c : casi) {
        CPercorso p;
        std::filesystem::remove(d + "t.LUT");
        if (c.prima >= 0)
            ScriviFile(d + "t.LUT", vecchio.substr(0, static_cast<size_t>(c.prima)));
        EXPECT_EQ(p.SaveLUT(StringaDaUtf8(d + "t.LUT"), t, c.binario), 1);
        EXPECT_EQ(LeggiFile(d + "t.LUT"), c.atteso) << c.prima << " " << c.binario;
    }
    ScriviPassi(d + "exam.csv", Righe(20, {0, 100, 0, 500, 70, 10, 0}), ',', 6, {0, 0, 0});
    CPercorso p;
    ASSERT_EQ(p.CreaLUT(1, StringaDaUtf8(d + "exam.csv"), L""), 1);
    for (const char* s : SUFFISSI) {
        const std::string tabella = LeggiFile(d + "exam" + s), lungo = tabella + vecchio;
        ScriviFile(d + "exam" + s, std::string(lungo.size(), 'x'));
        ASSERT_EQ(p.CreaLUT(1, StringaDaUtf8(d + "exam.csv"), L""), 1);
        EXPECT_EQ(LeggiFile(d + "exam" + s), tabella + std::string(vecchio.size(), 'x')) << s;
    }
}

TEST(TabelleLUT, NomiEIngressiRifiutati)
{
    const std::string d = CartellaTemporanea("lut_nomi");
    ScriviPassi(d + "exam.csv", Righe(20, {0, 100, 0, 500, 70, 10, 0}), ',', 6, {0, 0, 0});
    ScriviPassi(d + "fermo.csv", Righe(3, {0, 0, 0, 0, 70, 10, 0}), ';', 7, {0, 0, 0});
    ScriviPassi(d + "lungo.csv", Righe(5000, {0, 0, 0, 32767, 70, 10, 0}), ',', 6, {0, 0, 0});
    ScriviPassi(d + "vuoto.csv", {}, ',', 6, {0, 0, 0});
    ScriviFile(d + "senzaP0.csv", "1,2,3,4,5,6\n");
    // A_TX.LUT is a file there, but not a step CSV.
    const struct { std::string csv, lut, base; int messaggio; } casi[] = {
        {"exam.csv", "D:\\x\\A.LUT", "A", 0}, {"exam.csv", "0.3.9.21", "0.3.9.21", 0}, {"fermo.csv", "", "fermo", 0},
        {"A_TX.LUT", "", "", MSG_LUT_CSV_NON_LEGGIBILE}, {"assente.csv", "", "", MSG_LUT_CSV_NON_LEGGIBILE},
        {"vuoto.csv", "", "", MSG_LUT_SENZA_PASSI}, {"senzaP0.csv", "", "", MSG_LUT_INIZIO_NON_LEGGIBILE},
        {"lungo.csv", "", "", MSG_LUT_TROPPE_COLONNE}};
    for (const auto& c : casi) {
        SCOPED_TRACE(c.csv + " " + c.lut);
        CPercorso p;
        EXPECT_EQ(p.CreaLUT(1, StringaDaUtf8(d + c.csv), StringaDaUtf8(c.lut)), c.messaggio == 0);
        EXPECT_EQ(p.GetErrorString(), c.messaggio ? TestoMessaggio(c.messaggio) : L"");
        for (const char* s : SUFFISSI)
            EXPECT_EQ(std::filesystem::exists(d + c.base + s), c.messaggio == 0) << s;
    }
}

// Random motions against the plain model, each read from a "," and from a ";" file.
TEST(TabelleLUT, ProprietaControModello)
{
    const std::string d = CartellaTemporanea("lut_modello");
    std::mt19937 gen(12);
    auto tra = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(gen); };
    auto m = [](int w) { return w < 0 ? 32768 - w : w; };
    for (int caso = 0; caso < 30; ++caso) {
        // The arm stays above y = 0 with R in (-180, 0); some images run back over several columns.
        const std::array<int, 3> p0 = {tra(-16000, 16000), 24000, tra(-230000, -80000)};
        const int ritorno = tra(0, 2) == 0 ? 3000 : 800, modoScout = tra(0, 1), scout = tra(0, 1);
        Righe righe(static_cast<size_t>(tra(1, 200)));
        for (auto& r : righe)
            r = {m(tra(-3000, 3000)), m(tra(-200, 200)), m(tra(-2000, 2000)),
                 tra(0, 5) == 0 ? m(-tra(1, ritorno)) : tra(0, 4) == 0 ? 0 : tra(1, 1500),
                 tra(0, 9) == 0 ? tra(0, 1) * 32800 : tra(60, 90), 10, 5};
        righe[0][0] = 32778;
        const Tabelle atteso = Modello(righe, p0, modoScout && scout);
        for (char sep : {',', ';'}) {
            ScriviPassi(d + "p.csv", righe, sep, 6 + caso % 2, p0);
            CPercorso p;
            const CTraiettoria t(MacchinaEsempio());
            p.ArrayTraiettorieAdd(&t);
            p.ArrayTraiettorieSetScout(0, scout);
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
    const std::pair<int, int> casi[] = {{-44000, 0}, {12800, 307200}, {115000, 0}};
    for (const auto& [x0, r0] : casi) {
        ScriviPassi(d + "a.csv", Righe(250, {4096, 4096, 0, 1000, 70, 10, 0}), ',', 6, {x0, -32000, r0});
        CPercorso p;
        ASSERT_EQ(p.CreaLUT(0, StringaDaUtf8(d + "a.csv"), L""), 1);
        const Tabelle t = Carica(p, d + "a");
        int inFascia = 0;
        for (size_t j = 32; j + 1 < t[2].size(); ++j) {
            const double x = t[2][j], y = t[3][j];
            const bool fascia = y > -25 && y < 0;
            inFascia += fascia;
            // Left of the arch every X is below -28 and beyond the largest X: the last knot's value.
            if (!fascia)
                EXPECT_TRUE(x0 > 0 || t[4][j] == 1.2f) << j;
            else if (x0 > 100000)
                EXPECT_NEAR(x - y, t[2][40] - t[3][40], 1e-3) << j;
            else
                EXPECT_TRUE(std::fabs(y - (-0.014097 * x * x - 7.3814e-05 * x * x * x * x + 41)) < 5e-3 &&
                            std::fabs(x) < 31.9 && t[1][j] > 0 && std::fabs(std::hypot(t[0][j], t[1][j]) - 1) < 1e-6)
                    << j;
        }
        EXPECT_GT(inFascia, 50);
    }
}
