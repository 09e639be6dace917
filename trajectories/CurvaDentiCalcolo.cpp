#include <cmath>
#include <functional>
#include <vector>

#include "core/LetturaTesto.h"
#include "core/Numerico.h"
#include "core/UltimiRisultati.h"
#include "platform/File.h"
#include "platform/Locale.h"
#include "resources/Messaggi.h"
#include "trajectories/CurvaDenti.h"

namespace {

// A loop stops once more than this many passes have run: the pieces do not meet.
constexpr long MAX_ITERAZIONI = 999999;
constexpr double TOLLERANZA_RADICE = 9.999999747378752e-06;
constexpr double CORDA_MIN = 0.9999900000002526;
constexpr double CORDA_MAX = 1.0000099999997474;
constexpr double OFFSET_MORSO = 7.0;

// The last curve worked out, by its parameters: dragging a tuning point leaves the curve as it was.
using Memoria = UltimiRisultati<std::vector<CPunto2DKorvane>, 1>;
thread_local Memoria memoria;

}  // namespace

double CCurvaDenti::Denti(double x) const
{
    const double x2 = x * x;
    return A0Denti + A2Denti * x2 + A4Denti * x2 * x2 + A6Denti * x2 * x2 * x2 + LimitiEParametri.PosMorso - OFFSET_MORSO;
}

double CCurvaDenti::Mandibola(double x) const
{
    const double x2 = x * x;
    return A0Mandibola + A2Mandibola * x2 + A4Mandibola * x2 * x2 + A6Mandibola * x2 * x2 * x2 + LimitiEParametri.PosMorso -
           OFFSET_MORSO;
}

double CCurvaDenti::DerivataDenti(double x) const
{
    return 2 * A2Denti * x + 4 * A4Denti * x * x * x + 6 * A6Denti * std::pow(x, 5);
}

double CCurvaDenti::DerivataMandibola(double x) const
{
    return 2 * A2Mandibola * x + 4 * A4Mandibola * x * x * x + 6 * A6Mandibola * std::pow(x, 5);
}

CPunto2DKorvane CCurvaDenti::PuntoOffsetMandibola(double x, double d) const
{
    return CPunto2DKorvane(x, Mandibola(x)) + CPunto2DKorvane(DerivataMandibola(x), -1.0).Versore() * d;
}

int CCurvaDenti::CalcolaCurva(CString& errore)
{
    if (PendenzaRettadeg > 0) {
        CaricaMessaggio(errore, 161);
        return 0;
    }
    if (XFinaleSxmm > XFinaleDxmm) {
        CaricaMessaggio(errore, 162);
        return 0;
    }
    const double s = PassoPuntimm;
    if (!(s > 0)) {
        CaricaMessaggio(errore, 163);
        return 0;
    }
    Memoria::Chiave chiave;
    chiave << A0Denti << A2Denti << A4Denti << A6Denti << A0Mandibola << A2Mandibola << A4Mandibola << A6Mandibola
           << LimitiEParametri.PosMorso << XFineDentimm << RRaccordo1mm << PendenzaRettadeg << RRaccordo2mm
           << XFinaleSxmm << XFinaleDxmm << PassoPuntimm;
    if (const std::vector<CPunto2DKorvane>* nota = memoria.Trova(chiave)) {
        ArrayCurvaDenti.RemoveAll();
        for (const CPunto2DKorvane& q : *nota)
            ArrayCurvaDenti.Add(q);
        return 1;
    }
    const double alfa = static_cast<double>(PendenzaRettadeg) * PI_GRECO / 180.0;
    const double R1 = RRaccordo1mm, R2 = RRaccordo2mm;
    const double sa = std::sin(alfa), ca = std::cos(alfa), ta = std::tan(alfa);

    const CPunto2DKorvane P0(0.0, Denti(0.0));
    const CPunto2DKorvane P1(XFineDentimm, Denti(XFineDentimm));
    const CPunto2DKorvane C1 = P1 - CPunto2DKorvane(DerivataDenti(P1.X), -1.0).Versore() * R1;
    const CPunto2DKorvane T1(C1.X + R1 * sa, C1.Y - R1 * ca);
    auto f = [&](double x) {
        const CPunto2DKorvane Q = PuntoOffsetMandibola(x, R2);
        return (Q.Y + R2 * ca) - (T1.Y + (Q.X - R2 * sa - T1.X) * ta);
    };
    auto nonContigui = [&]() {
        CaricaMessaggio(errore, 184);
        return 0;
    };
    // Coarse scan for a sign change, then bisection.
    double basso = T1.X, x = T1.X, precedente = 1.0;
    long giri = 0;
    double fx = f(x);
    while (precedente * fx > 0) {
        if (++giri > MAX_ITERAZIONI)
            return nonContigui();
        precedente = fx;
        basso = x;
        x += 10.0;
        fx = f(x);
    }
    double radice = x;
    if (!(std::fabs(fx) < TOLLERANZA_RADICE)) {
        double alto = x;
        giri = 0;
        while (true) {
            if (++giri > MAX_ITERAZIONI)
                return nonContigui();
            const double medio = 0.5 * (basso + alto);
            const double fm = f(medio);
            if (std::fabs(fm) < TOLLERANZA_RADICE) {
                radice = medio;
                break;
            }
            if (fm <= 0)
                alto = medio;
            else
                basso = medio;
        }
    }
    const CPunto2DKorvane C2 = PuntoOffsetMandibola(radice, R2);
    const CPunto2DKorvane T2(C2.X - R2 * sa, C2.Y + R2 * ca);
    const CPunto2DKorvane M2(radice, Mandibola(radice));
    const CPunto2DKorvane E(70.0, Mandibola(70.0));

    struct Pezzo {
        std::function<double(double)> g;
        double fine;
        bool retta;
    };
    const Pezzo pezzi[] = {
        {[&](double v) { return Denti(v); }, P1.X, false},
        {[&](double v) { return C1.Y - std::sqrt(R1 * R1 - (v - C1.X) * (v - C1.X)); }, T1.X, false},
        {[&](double v) { return T1.Y + (v - T1.X) * ta; }, T2.X, true},
        {[&](double v) { return C2.Y + std::sqrt(R2 * R2 - (v - C2.X) * (v - C2.X)); }, M2.X, false},
        {[&](double v) { return Mandibola(v); }, E.X, false},
    };
    std::vector<CPunto2DKorvane> meta;
    CPunto2DKorvane corrente = P0;
    for (size_t k = 0; k < std::size(pezzi); ++k) {
        const Pezzo& pz = pezzi[k];
        bool primo = true;
        long passi = 0;
        while (pz.fine > corrente.X) {
            if (++passi > MAX_ITERAZIONI)
                return nonContigui();
            // The first pass of every piece after the first starts from the point already appended.
            if (!(primo && k > 0))
                meta.push_back(corrente);
            CPunto2DKorvane prossimo;
            if (pz.retta && !primo) {
                prossimo = CPunto2DKorvane(corrente.X + s * ca, pz.g(corrente.X + s * ca));
            } else {
                double lo = corrente.X, hi = corrente.X + (pz.retta ? 2 * s : s);
                long giriB = 0;
                while (true) {
                    if (++giriB > MAX_ITERAZIONI)
                        return nonContigui();
                    const double medio = 0.5 * (lo + hi);
                    const CPunto2DKorvane candidato(medio, pz.g(medio));
                    const double d = (candidato - corrente).Lunghezza();
                    if (CORDA_MIN * s < d && d < CORDA_MAX * s) {
                        prossimo = candidato;
                        break;
                    }
                    if (d <= s)
                        lo = medio;
                    else
                        hi = medio;
                }
            }
            primo = false;
            corrente = prossimo;
        }
        // The first point beyond the piece's end is dropped; the next piece starts from the last one kept.
        if (!meta.empty())
            corrente = meta.back();
    }
    if (meta.empty()) {
        CaricaMessaggio(errore, 164);
        return 0;
    }
    const int n = static_cast<int>(meta.size());
    const double sx = XFinaleSxmm, dx = XFinaleDxmm;
    ArrayCurvaDenti.RemoveAll();
    auto speculare = [&](int i) { ArrayCurvaDenti.Add(CPunto2DKorvane(-meta[static_cast<size_t>(i)].X, meta[static_cast<size_t>(i)].Y)); };
    auto diretto = [&](int i) { ArrayCurvaDenti.Add(meta[static_cast<size_t>(i)]); };
    auto ultimoNonOltre = [&](double limite) {
        for (int i = n - 1; i >= 1; --i)
            if (meta[static_cast<size_t>(i)].X <= limite)
                return i;
        return 0;
    };
    if (sx >= 0) {
        int i0 = n - 1;
        for (int i = 0; i <= n - 2; ++i)
            if (meta[static_cast<size_t>(i)].X >= sx) {
                i0 = i;
                break;
            }
        const int i1 = ultimoNonOltre(dx);
        for (int i = i0; i <= i1; ++i)
            diretto(i);
    } else {
        int k = 0;
        for (int i = n - 1; i >= 1; --i)
            if (-meta[static_cast<size_t>(i)].X >= sx) {
                k = i;
                break;
            }
        if (dx >= 0) {
            for (int i = k; i >= 1; --i)
                speculare(i);
            const int j = ultimoNonOltre(dx);
            for (int i = 0; i <= j; ++i)
                diretto(i);
        } else {
            int j = n - 1;
            for (int i = 0; i <= n - 2; ++i)
                if (-meta[static_cast<size_t>(i)].X <= dx) {
                    j = i;
                    break;
                }
            for (int i = k; i >= j; --i)
                speculare(i);
        }
    }
    const CPunto2DKorvane* punti = ArrayCurvaDenti.GetData();
    memoria.Ricorda(std::move(chiave), std::vector<CPunto2DKorvane>(punti, punti + ArrayCurvaDenti.GetSize()));
    return 1;
}

namespace {

CString NomeCurva(const CString& nome)
{
    return FinisceCon(nome, L".crv") ? nome : nome + L".crv";
}

struct RigaCoefficiente {
    const char* scrivi;
    const char* leggi;
    double CCurvaDenti::*campo;
};
constexpr RigaCoefficiente COEFFICIENTI[] = {
    {"A0 denti          = %+lE\n", "A0 denti          = %lE\n", &CCurvaDenti::A0Denti},
    {"A2 denti          = %+lE\n", "A2 denti          = %lE\n", &CCurvaDenti::A2Denti},
    {"A4 denti          = %+lE\n", "A4 denti          = %lE\n", &CCurvaDenti::A4Denti},
    {"A6 denti          = %+lE\n", "A6 denti          = %lE\n", &CCurvaDenti::A6Denti},
    {"A0 mandibola      = %+lE\n", "A0 mandibola      = %lE\n", &CCurvaDenti::A0Mandibola},
    {"A2 mandibola      = %+lE\n", "A2 mandibola      = %lE\n", &CCurvaDenti::A2Mandibola},
    {"A4 mandibola      = %+lE\n", "A4 mandibola      = %lE\n", &CCurvaDenti::A4Mandibola},
    {"A6 mandibola      = %+lE\n", "A6 mandibola      = %lE\n", &CCurvaDenti::A6Mandibola},
};
struct RigaFloat {
    const char* formato;
    float CCurvaDenti::*campo;
};
constexpr RigaFloat GEOMETRIA[] = {
    {"X fine denti mm   = %f\n", &CCurvaDenti::XFineDentimm},   {"R Raccordo1 mm    = %f\n", &CCurvaDenti::RRaccordo1mm},
    {"Pendenza retta deg= %f\n", &CCurvaDenti::PendenzaRettadeg}, {"R Raccordo2 mm    = %f\n", &CCurvaDenti::RRaccordo2mm},
    {"X finale Sx mm    = %f\n", &CCurvaDenti::XFinaleSxmm},    {"X finale Dx mm    = %f\n", &CCurvaDenti::XFinaleDxmm},
    {"Passo punti mm    = %f\n\n", &CCurvaDenti::PassoPuntimm},
};

}  // namespace

int CCurvaDenti::SalvaCurva(CString* nome) const
{
    // Without a name there is nothing to write, and nothing failed.
    if (nome == nullptr)
        return 1;
    LocaleC guardia;
    FilePtr f(ApriFile(NomeCurva(*nome), "w"));
    if (!f)
        return 0;
    std::fprintf(f.get(), "[PARAMETRI CURVA]\n\n");
    std::fprintf(f.get(), "Versione curva    = %d\n", 1);
    for (const RigaCoefficiente& r : COEFFICIENTI)
        std::fprintf(f.get(), r.scrivi, this->*(r.campo));
    for (const RigaFloat& r : GEOMETRIA)
        std::fprintf(f.get(), r.formato, static_cast<double>(this->*(r.campo)));
    std::fprintf(f.get(), "[PUNTI CURVA]\n\n");
    for (const CPunto2DKorvane& p : ArrayCurvaDenti)
        std::fprintf(f.get(), "%lf,%lf\n", p.X, p.Y);
    std::fprintf(f.get(), "\n[END]");
    return 1;
}

int CCurvaDenti::CaricaCurva(CString* nome)
{
    if (nome == nullptr)
        return 0;
    LocaleC guardia;
    FilePtr file(ApriFile(NomeCurva(*nome), "r"));
    if (!file)
        return 0;
    FILE* f = file.get();
    EsitoLettura esito;
    esito &= LeggiLetterale(f, "[PARAMETRI CURVA]\n\n");
    int versione = 0;
    LeggiValore(f, "Versione curva    = %d\n", &versione);
    if (versione == 1) {
        for (const RigaCoefficiente& r : COEFFICIENTI)
            esito &= LeggiValore(f, r.leggi, &(this->*(r.campo)));
    } else {
        ResetToWelander();
    }
    for (const RigaFloat& r : GEOMETRIA)
        esito &= LeggiValore(f, r.formato, &(this->*(r.campo)));
    esito &= LeggiLetterale(f, "[PUNTI CURVA]\n\n");
    ArrayCurvaDenti.RemoveAll();
    double x = 0, y = 0;
    // A damaged point line (or heading) is dropped and the points after it still read; the list
    // ends where no point stands within the next few lines.
    for (;;) {
        const lettura_testo::Riga punto =
            lettura_testo::ScansionaRiga(f, "%lf,%lf\n", [&] { return lettura_testo::ScansionaCoppia(f, x, y); });
        if (punto == lettura_testo::Riga::ASSENTE)
            break;
        esito &= punto == lettura_testo::Riga::AL_POSTO;
        ArrayCurvaDenti.Add(CPunto2DKorvane(x, y));
    }
    esito &= LeggiLetterale(f, "\n");
    esito &= LeggiLetterale(f, "[END]");
    return esito.Risultato();
}
