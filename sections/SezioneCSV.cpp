#include <cctype>
#include <climits>
#include <string>

#include "core/ImmagineProiezione.h"
#include "core/Numerico.h"
#include "platform/File.h"
#include "platform/Locale.h"
#include "sections/Sezione.h"

namespace {

// Reads a line the way the step formats scan it: integers as %d takes them (leading blanks
// skipped, an optional sign, digits), separated by one character. Integers beyond the 32-bit
// range are clamped to it rather than left to the undefined overflow of %d.
class Scansione {
public:
    explicit Scansione(const std::string& riga) : m_r(riga) {}

    bool Intero(std::int32_t& v)
    {
        size_t i = m_p;
        while (i < m_r.size() && std::isspace(static_cast<unsigned char>(m_r[i])))
            ++i;
        bool negativo = false;
        if (i < m_r.size() && (m_r[i] == '+' || m_r[i] == '-'))
            negativo = m_r[i++] == '-';
        const size_t cifre = i;
        long long valore = 0;
        while (i < m_r.size() && std::isdigit(static_cast<unsigned char>(m_r[i]))) {
            if (valore <= INT_MAX)
                valore = valore * 10 + (m_r[i] - '0');
            ++i;
        }
        if (i == cifre)
            return false;
        valore = negativo ? -valore : valore;
        v = static_cast<std::int32_t>(valore > INT_MAX ? INT_MAX : valore < INT_MIN ? INT_MIN : valore);
        m_p = i;
        return true;
    }

    bool Carattere(char c)
    {
        if (m_p < m_r.size() && m_r[m_p] == c) {
            ++m_p;
            return true;
        }
        return false;
    }

private:
    const std::string& m_r;
    size_t m_p = 0;
};

bool Vuota(const std::string& riga)
{
    for (char c : riga)
        if (!std::isspace(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Conversions of "%d<sep>%d<sep>...": up to seven integers into the reused step record.
int LeggiPasso(const std::string& riga, char sep, PASSO_TRAIETTORIA& passo)
{
    Scansione s(riga);
    std::int32_t* campi[] = {&passo.iX, &passo.iY, &passo.iR, &passo.iC, &passo.iKV, &passo.imA, &passo.iH};
    int n = 0;
    for (std::int32_t* campo : campi) {
        if ((n > 0 && !s.Carattere(sep)) || !s.Intero(*campo))
            break;
        ++n;
    }
    return n;
}

// Conversions of "%d<sep>%d<sep>%d<sep>0<sep>%d".
int LeggiInizio(const std::string& riga, char sep, std::int32_t v[4])
{
    Scansione s(riga);
    int n = 0;
    for (int k = 0; k < 3; ++k) {
        if ((k > 0 && !s.Carattere(sep)) || !s.Intero(v[k]))
            return n;
        ++n;
    }
    if (s.Carattere(sep) && s.Carattere('0') && s.Carattere(sep) && s.Intero(v[3]))
        ++n;
    return n;
}

}  // namespace

int CSezione::ScriviSuFileCSV(FILE* f, void* immagine, int conH) const
{
    if (ArrayPassi.IsEmpty())
        return 1;
    LocaleC guardia;
    // Without a file only the image is filled.
    for (const PASSO_TRAIETTORIA& p : ArrayPassi) {
        if (f == nullptr)
            break;
        if (conH)
            std::fprintf(f, "%d,%d,%d,%d,%d,%d,%d\n", p.iX, p.iY, p.iR, p.iC, p.iKV, p.imA, p.iH);
        else
            std::fprintf(f, "%d,%d,%d,%d,%d,%d\n", p.iX, p.iY, p.iR, p.iC, p.iKV, p.imA);
    }
    if (immagine == nullptr)
        return 1;
    // The image holds 3000 records; steps beyond them are not written and the result says so.
    for (const PASSO_TRAIETTORIA& p : ArrayPassi)
        if (!ImmagineAggiungiPasso(static_cast<std::uint8_t*>(immagine), p))
            return 0;
    return 1;
}

int CSezione::LeggiDaFileCSV(FILE* fPassi, FILE* fInizio)
{
    ArrayPassi.RemoveAll();
    std::string riga;
    if (fPassi != nullptr) {
        PASSO_TRAIETTORIA passo;
        for (char sep : {',', ';'}) {
            bool fallita = false;
            while (LeggiFinoAFineRiga(fPassi, riga, 4096)) {
                // Blank lines are skipped, as the scan's leading white space does.
                if (Vuota(riga))
                    continue;
                if (LeggiPasso(riga, sep, passo) < 6) {
                    fallita = true;
                    break;
                }
                ArrayPassi.Add(passo);
            }
            if (!fallita)
                break;
            // The file is read again with the other separator; what the first pass read is dropped.
            ArrayPassi.RemoveAll();
            passo = PASSO_TRAIETTORIA();
            std::rewind(fPassi);
        }
    }
    std::int32_t v[4] = {0, 0, 0, 0};
    if (fInizio != nullptr) {
        const bool letta = LeggiFinoAFineRiga(fInizio, riga, 4096);
        if (!letta || LeggiInizio(riga, ',', v) < 3) {
            v[0] = v[1] = v[2] = v[3] = 0;
            if (letta)
                LeggiInizio(riga, ';', v);
        }
    }
    const CLimitiEParametri& l = LimitiEParametri;
    PuntoIniziale = PUNTO_TRAIETTORIA();
    PuntoIniziale.dPosX = v[0] / l.AsseX.StepPerUnita;
    PuntoIniziale.dPosY = v[1] / l.AsseY.StepPerUnita;
    PuntoIniziale.dPosR = v[2] / l.AsseR.StepPerUnita;
    PuntoIniziale.dPosH = v[3] / l.AsseH.StepPerUnita;
    if (PuntoIniziale.dPosR > l.AsseR.PosMax)
        PuntoIniziale.dPosR -= 360.0;
    else if (PuntoIniziale.dPosR < l.AsseR.PosMin)
        PuntoIniziale.dPosR += 360.0;
    PuntoFinale = PuntoIniziale;
    const double dt = l.PassoTemporale;
    for (int i = 0; i + 1 < ArrayPassi.GetSize(); ++i) {
        const PASSO_TRAIETTORIA& p = ArrayPassi[i];
        PuntoFinale.dPosX += VelocitaDaMemorizzata(p.iX, l.AsseX.StepPerUnita, l.AsseX.StepSPerLSB) * dt;
        PuntoFinale.dPosY += VelocitaDaMemorizzata(p.iY, l.AsseY.StepPerUnita, l.AsseY.StepSPerLSB) * dt;
        PuntoFinale.dPosR += VelocitaDaMemorizzata(p.iR, l.AsseR.StepPerUnita, l.AsseR.StepSPerLSB) * dt;
        PuntoFinale.dPosH += VelocitaDaMemorizzata(p.iH, l.AsseH.StepPerUnita, l.AsseH.StepSPerLSB) * dt;
    }
    return 1;
}
