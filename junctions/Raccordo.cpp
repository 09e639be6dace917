#include "junctions/Raccordo.h"

#include <cmath>

#include "core/LetturaTesto.h"
#include "core/VerificaMacchina.h"
#include "junctions/AssiRaccordo.h"
#include "platform/File.h"
#include "platform/Locale.h"
#include "resources/Messaggi.h"

CRaccordo::CRaccordo()
    : TempoRaccordos(0.0), MaxAccPercento(80.0), UsaTempoMinimo(1), IgnoraPuntoInizia(0), IgnoraPuntoFinale(0),
      TipoRaccordo(RACCORDO_ARMONICO), GestioneRaggi(0)
{
}

CRaccordo::CRaccordo(const CLimitiEParametri& limiti) : CRaccordo()
{
    LimitiEParametri = limiti;
}

CRaccordo::CRaccordo(const CRaccordo& altro) : CRaccordo()
{
    *this = altro;
}

CRaccordo& CRaccordo::operator=(const CRaccordo& a)
{
    if (this == &a)
        return *this;
    CSezione::operator=(a);
    TempoRaccordos = a.TempoRaccordos;
    MaxAccPercento = a.MaxAccPercento;
    UsaTempoMinimo = a.UsaTempoMinimo;
    IgnoraPuntoInizia = a.IgnoraPuntoInizia;
    IgnoraPuntoFinale = a.IgnoraPuntoFinale;
    TipoRaccordo = a.TipoRaccordo;
    GestioneRaggi = a.GestioneRaggi;
    return *this;
}

int CRaccordo::operator==(const CRaccordo& a) const
{
    return CSezione::operator==(a) && TempoRaccordos == a.TempoRaccordos && MaxAccPercento == a.MaxAccPercento &&
                   UsaTempoMinimo == a.UsaTempoMinimo && IgnoraPuntoInizia == a.IgnoraPuntoInizia &&
                   IgnoraPuntoFinale == a.IgnoraPuntoFinale && TipoRaccordo == a.TipoRaccordo &&
                   GestioneRaggi == a.GestioneRaggi
               ? 1
               : 0;
}

void CRaccordo::CalcolaArrayVelocita(TIPO_CONTROLLO_ANTICOLLISIONE modo)
{
    ErroreCalcolo = 0;
    if (IgnoraPuntoInizia && IgnoraPuntoFinale)
        return;
    if (!IngressiCalcolabili()) {
        ErroreCalcolo = 1;
        ArrayPassi.RemoveAll();
        return;
    }
    if (TipoRaccordo == RACCORDO_LINEARE) {
        const bool applicabile = UsaTempoMinimo && (IgnoraPuntoInizia || IgnoraPuntoFinale);
        if (!applicabile || !CalcolaRaccordoLineare(IgnoraPuntoInizia != 0)) {
            ErroreCalcolo = 1;
            CaricaMessaggio(StringaErrore, 118);
        }
    } else if (TipoRaccordo == RACCORDO_ARMONICO) {
        if (!IgnoraPuntoInizia && !IgnoraPuntoFinale && !CalcolaRaccordoArmonico())
            ErroreCalcolo = 1;
    }
    if (!ControlloAntiCollisione(StringaErrore, modo))
        CaricaMessaggio(StringaErrore, 178);
}

int CRaccordo::IngressiCalcolabili()
{
    // Kinds or flags that compute nothing need nothing.
    if (TipoRaccordo != RACCORDO_LINEARE && TipoRaccordo != RACCORDO_ARMONICO)
        return 1;
    if (TipoRaccordo == RACCORDO_ARMONICO && (IgnoraPuntoInizia || IgnoraPuntoFinale))
        return 1;
    if (!VerificaMacchina(LimitiEParametri, USO_MOTO, StringaErrore))
        return 0;
    if (!(MaxAccPercento > 0) || !std::isfinite(MaxAccPercento)) {
        CaricaMessaggio(StringaErrore, MSG_RACCORDO_ACCELERAZIONE_NON_VALIDA);
        return 0;
    }
    // A requested duration counts only without the minimum time; -inf then simply gives the minimum.
    const bool lineare = TipoRaccordo == RACCORDO_LINEARE;
    if (!lineare && !UsaTempoMinimo &&
        (std::isnan(TempoRaccordos) || TempoRaccordos / LimitiEParametri.PassoTemporale > MAX_PASSI_RACCORDO)) {
        CaricaMessaggio(StringaErrore, MSG_RACCORDO_DURATA_NON_VALIDA);
        return 0;
    }
    // A linear junction reads only its fixed point; the free one is what it computes.
    for (const PUNTO_TRAIETTORIA* p : {&PuntoIniziale, &PuntoFinale}) {
        if (lineare && p == (IgnoraPuntoInizia ? &PuntoIniziale : &PuntoFinale))
            continue;
        for (const AsseRaccordo& asse : ASSI_RACCORDO)
            if (!std::isfinite(p->*(asse.pos)) || !std::isfinite(p->*(asse.vel))) {
                CaricaMessaggio(StringaErrore, MSG_RACCORDO_PUNTO_NON_FINITO);
                return 0;
            }
    }
    return 1;
}

int CRaccordo::SalvaFileTRG(FILE* f) const
{
    LocaleC guardia;
    std::fprintf(f, "Versione          = %d\n", 2);
    std::fprintf(f, "TipoRaccordo      = %d\n", TipoRaccordo);
    std::fprintf(f, "Nome Raccordo     = %s\n", StringaA8Bit(Nome.substr(0, 255)).c_str());
    std::fprintf(f, "Usa tempo minimo  = %d\n", UsaTempoMinimo ? 1 : 0);
    std::fprintf(f, "Tempo Raccordo s  = %lf\n", TempoRaccordos);
    std::fprintf(f, "Max acc Percento  = %lf\n", MaxAccPercento);
    std::fprintf(f, "Gestione raggi    = %d\n", GestioneRaggi);
    std::fprintf(f, "Punto Iniziale:\n");
    std::fprintf(f, "Ignora PuntoInizia= %d\n", IgnoraPuntoInizia ? 1 : 0);
    PuntoIniziale.SalvaFileTRG(f);
    std::fprintf(f, "Punto Finale:\n");
    std::fprintf(f, "Ignora PuntoFinale= %d\n", IgnoraPuntoFinale ? 1 : 0);
    PuntoFinale.SalvaFileTRG(f);
    return 1;
}

int CRaccordo::CaricaFileTRG(FILE* f)
{
    LocaleC guardia;
    int versione = 0;
    EsitoLettura esito;
    // A damaged version line is read as the newest layout, the one this library writes.
    if (!LeggiValore(f, "Versione          = %d\n", &versione)) {
        esito &= false;
        versione = 2;
    }
    if (versione != 1 && versione != 2)
        return 0;
    esito &= LeggiValore(f, "TipoRaccordo      = %d\n", &TipoRaccordo);
    // The name fills at most its 256-byte buffer; the rest of an over-long line is skipped.
    // Without its label the line in front of us is the next value's: the name stays.
    std::string nome;
    const lettura_testo::Riga etichetta = LeggiNome(f, "Nome Raccordo     =", nome, 255);
    esito &= etichetta == lettura_testo::Riga::AL_POSTO;
    if (etichetta != lettura_testo::Riga::ASSENTE)
        Nome = StringaDa8Bit(nome);
    // A flag line that does not read leaves its flag as it was.
    auto bandiera = [&](const char* formato, std::int32_t& campo) {
        int v = 0;
        const lettura_testo::Riga letta = TrovaValore(f, formato, &v);
        esito &= letta == lettura_testo::Riga::AL_POSTO;
        if (lettura_testo::ValoreOttenuto(letta))
            campo = v == 1 ? 1 : 0;
    };
    bandiera("Usa tempo minimo  = %d\n", UsaTempoMinimo);
    esito &= LeggiValore(f, "Tempo Raccordo s  = %lf\n", &TempoRaccordos);
    esito &= LeggiValore(f, "Max acc Percento  = %lf\n", &MaxAccPercento);
    if (versione == 2)
        esito &= LeggiValore(f, "Gestione raggi    = %d\n", &GestioneRaggi);
    else
        GestioneRaggi = 0;
    esito &= LeggiLetterale(f, "Punto Iniziale:\n");
    bandiera("Ignora PuntoInizia= %d\n", IgnoraPuntoInizia);
    esito &= PuntoIniziale.CaricaFileTRG(f) == 1;
    esito &= LeggiLetterale(f, "Punto Finale:\n");
    bandiera("Ignora PuntoFinale= %d\n", IgnoraPuntoFinale);
    esito &= PuntoFinale.CaricaFileTRG(f) == 1;
    return esito.Risultato();
}
