#include <cstdio>

#include "core/ImmagineProiezione.h"
#include "path/Percorso.h"
#include "platform/File.h"
#include "platform/Locale.h"
#include "resources/Messaggi.h"

int CPercorso::SalvaFileCSV(CString nomeFile)
{
    if (!SezioniConPassi())
        return 0;
    const CLimitiEParametri& l = m_limiti;
    const PUNTO_TRAIETTORIA& p0 = Sezione(0)->PuntoIniziale;
    std::int32_t u[4] = {0, 0, 0, 0};
    if (!ImmagineUnitaMotore(p0.dPosX, l.AsseX.StepPerUnita, u[0]) ||
        !ImmagineUnitaMotore(p0.dPosY, l.AsseY.StepPerUnita, u[1]) ||
        !ImmagineUnitaMotore(p0.dPosR, l.AsseR.StepPerUnita, u[2]) ||
        !ImmagineUnitaMotore(p0.dPosH, l.AsseH.StepPerUnita, u[3])) {
        CaricaMessaggio(m_errore, MSG_VALORE_FUORI_CAMPO_PROIEZIONE);
        return 0;
    }
    LocaleC guardia;
    const int conH = ArrayOrdineIsHInUso();
    {
        FileSostitutivo f(nomeFile);
        if (f.Flusso() == nullptr)
            return 0;
        for (int i = 0; i < m_ordine.GetSize(); ++i)
            if (!Sezione(i)->ScriviSuFileCSV(f.Flusso(), nullptr, conH))
                return 0;
        if (!f.Rinomina())
            return 0;
    }
    {
        FileSostitutivo f(InserisciPrimaDellUltimoPunto(nomeFile, L"_P0"));
        if (f.Flusso() == nullptr)
            return 0;
        std::fprintf(f.Flusso(), "%d,%d,%d,0,%d\n", u[0], u[1], u[2], u[3]);
        if (!f.Rinomina())
            return 0;
    }
    FileSostitutivo f(InserisciPrimaDellUltimoPunto(nomeFile, L"_SH"));
    if (f.Flusso() == nullptr)
        return 0;
    const CParametriFileDat& d = m_parametriDat;
    int traiettorie = 0;
    for (const CElementoOrdine& e : m_ordine)
        traiettorie += e.tipo == SEZIONE_TRAIETTORIA ? 1 : 0;
    std::fprintf(f.Flusso(), "Esame,%d,%d,%d,version,%d\n", d.Group, d.Type, d.ApsRangeMax, d.Version);
    std::fprintf(f.Flusso(), "Totale traiettorie,%d\n\n", traiettorie);
    for (int i = 0, ordinale = 0; i < m_ordine.GetSize(); ++i) {
        if (m_ordine[i].tipo != SEZIONE_TRAIETTORIA)
            continue;
        std::fprintf(f.Flusso(), "Traiettoria,%d\n", ordinale++);
        static_cast<const CTraiettoria*>(Sezione(i))->ScriviSuFileCSVShift(f.Flusso());
    }
    return f.Rinomina() ? 1 : 0;
}
