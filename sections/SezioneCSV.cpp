#include <string>

#include "core/ImmagineProiezione.h"
#include "core/Numerico.h"
#include "platform/File.h"
#include "platform/Locale.h"
#include "sections/RigaCSV.h"
#include "sections/Sezione.h"

namespace {


// Conversions of "%d<sep>%d<sep>...": up to seven integers into the reused step record.
int LeggiPasso(const std::string& riga, char sep, PASSO_TRAIETTORIA& passo)
{
    std::int32_t v[7];
    for (int k = 0; k < 7; ++k)
        v[k] = passo.*PAROLE_PASSO[k];
    const int n = LeggiInteriCSV(riga, sep, v, 7);
    for (int k = 0; k < 7; ++k)
        passo.*PAROLE_PASSO[k] = v[k];
    return n;
}

// Conversions of "%d<sep>%d<sep>%d<sep>0<sep>%d".
int LeggiInizio(const std::string& riga, char sep, std::int32_t v[4])
{
    ScansioneRigaCSV s(riga);
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
    // A step the unit's record cannot hold would be cut into another command: with an image the
    // section is refused before anything is written. The text lines keep the values as they are.
    if (immagine != nullptr)
        for (const PASSO_TRAIETTORIA& p : ArrayPassi)
            if (!PassoAdattoAllUnita(p))
                return 0;
    // Without a file only the image is filled.
    if (f != nullptr) {
        LocaleC guardia;
        for (const PASSO_TRAIETTORIA& p : ArrayPassi) {
            if (conH)
                std::fprintf(f, "%d,%d,%d,%d,%d,%d,%d\n", p.iX, p.iY, p.iR, p.iC, p.iKV, p.imA, p.iH);
            else
                std::fprintf(f, "%d,%d,%d,%d,%d,%d\n", p.iX, p.iY, p.iR, p.iC, p.iKV, p.imA);
        }
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
            while (LeggiRigaPasso(fPassi, riga, 4096)) {
                // Blank lines are skipped, as the scan's leading white space does.
                if (RigaVuota(riga))
                    continue;
                if (LeggiPasso(riga, sep, passo) < 6) {
                    fallita = true;
                    break;
                }
                ArrayPassi.Add(passo);
            }
            // A second failure ends the reading and keeps the steps read before it.
            if (!fallita || sep == ';')
                break;
            // The file is read again with the other separator; what the first pass read is dropped.
            ArrayPassi.RemoveAll();
            passo = PASSO_TRAIETTORIA();
            std::rewind(fPassi);
        }
    }
    std::int32_t v[4] = {0, 0, 0, 0};
    if (fInizio != nullptr) {
        const bool letta = LeggiRigaPasso(fInizio, riga, 4096);
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
