#include "examples/ProgettiEsempio.h"

#include <cmath>

#include "examples/EsameCefalometrico.h"
#include "examples/EsameLineare.h"
#include "examples/EsamePanoramico.h"
#include "examples/PercorsoEsempio.h"
#include "resources/Messaggi.h"

namespace {

void Impostazioni(CPercorso& p, int gruppo, int tipo)
{
    CParametriFileDat& d = p.GetParametriFileDat();
    d.Group = gruppo;
    d.Type = tipo;
    d.Version = 1;
    d.ApsRangeMin = 0;
    d.ApsRangeMax = 9;
}

// One computed trajectory between harmonic junctions from and to rest near where it starts and ends: the
// unit's files want a path that starts at rest, which a ramp left by word rounding does not quite.
void ConRampe(CPercorso& p, const CLimitiEParametri& m, CTraiettoria t, const wchar_t* nome,
             CSezione::TIPO_CONTROLLO_ANTICOLLISIONE modo)
{
    t.Nome = nome;
    CString err;
    CSezione::UsaTestonaDiDefault(err);
    p.SetLimitiEParametri(&m, 1);
    t.CalcolaArrayVelocita(modo);
    p.ArrayTraiettorieAdd(&t);
    for (int i = 0; i < 2; ++i) {
        CRaccordo r(m);
        r.Nome = i == 0 ? L"From rest" : L"To rest";
        r.TipoRaccordo = CRaccordo::RACCORDO_ARMONICO;
        PUNTO_TRAIETTORIA riposo = i == 0 ? t.PuntoIniziale : t.PuntoFinale;
        riposo.dVelX = riposo.dVelY = riposo.dVelR = riposo.dVelH = 0.0;
        // A rest position in tenths, as a user sets one: the project file keeps it exactly.
        for (double* x : {&riposo.dPosX, &riposo.dPosY, &riposo.dPosR, &riposo.dPosH})
            *x = std::round(*x * 10.0) / 10.0;
        r.PuntoIniziale = i == 0 ? riposo : t.PuntoFinale;
        r.PuntoFinale = i == 0 ? t.PuntoIniziale : riposo;
        r.CalcolaArrayVelocita(modo);
        p.ArrayRaccordiAdd(&r);
    }
    for (const CElementoOrdine& e : {CElementoOrdine(SEZIONE_RACCORDO, 0), CElementoOrdine(SEZIONE_TRAIETTORIA, 0),
                                     CElementoOrdine(SEZIONE_RACCORDO, 1)})
        p.ArrayOrdineAggiungiElemento(&e, -1);
    p.CorreggiContinuitaSezioni();
}

void Panoramico(CPercorso& p, const CLimitiEParametri& m)
{
    ConRampe(p, m, EsamePanoramicoAdulto(m), L"Adult panoramic", CSezione::ANTICOLLISIONE_PAN);
    Impostazioni(p, 0, 0);
}

void Lineare(CPercorso& p, const CLimitiEParametri& m)
{
    CTraiettoria t = EsameLineare(m);
    t.TipoCurva = CTraiettoria::CURVA_LINEARE;
    ConRampe(p, m, t, L"Linear 50 mm", CSezione::ANTICOLLISIONE_PAN);
    Impostazioni(p, 0, 0);
}

void Cefalometrico(CPercorso& p, const CLimitiEParametri& m)
{
    CTraiettoria t = EsameCefalometrico(m);
    t.TipoCurva = CTraiettoria::CURVA_CEFALOMETRICA;
    ConRampe(p, m, t, L"Lateral ceph", CSezione::ANTICOLLISIONE_NESSUNA);
    Impostazioni(p, 3, 0);
    p.GetParametriFileDat().CephArmPos = 1;
}

// A 200 degree arc centred on the middle of the arm's range.
void Circolare(CPercorso& p, const CLimitiEParametri& m)
{
    CTraiettoria t(m);
    t.TipoCurva = CTraiettoria::CURVA_CIRCOLARE;
    t.AmpiezzaArcodeg = 200.0;
    t.PosInizArcodeg = (m.AsseR.PosMax + m.AsseR.PosMin) / 2.0 - 100.0;
    t.TempoScansionesCirc = 10.0;
    t.RCerchioXYmm = 0.0;
    t.KVaRegimeCirc = 100;
    ConRampe(p, m, t, L"Arc 200 deg", CSezione::ANTICOLLISIONE_3D);
    Impostazioni(p, 4, 0);
}

void CB3D(CPercorso& p, const CLimitiEParametri& m)
{
    CostruisciCB3D(p, m);
    CTraiettoria t(p.ArrayTraiettorieGetTraiettoria(0));
    t.Nome = L"CB3D scan";
    p.CopiaTraiettoria(0, &t);
    // An empty name would read as the line after it.
    for (int i = 0; i < 2; ++i) {
        CRaccordo r(*p.ArrayRaccordiGetRaccordo(i));
        r.Nome = i == 0 ? L"From rest" : L"To rest";
        p.ArrayRaccordiSetAt(i, &r);
    }
    Impostazioni(p, 4, 0);
}

// A kind joins the examples, `korvane exam new` and the checked-in projects with one row here.
constexpr ProgettoEsempio PROGETTI[] = {
    {"pan", Panoramico},
    {"linear", Lineare},
    {"ceph", Cefalometrico},
    {"circular", Circolare},
    {"cb3d", CB3D},
};

}  // namespace

std::span<const ProgettoEsempio> ProgettiEsempio()
{
    return PROGETTI;
}

const ProgettoEsempio* TrovaProgettoEsempio(const std::string& tipo)
{
    for (const ProgettoEsempio& p : PROGETTI)
        if (tipo == p.tipo)
            return &p;
    return nullptr;
}

CString CompletaProgettoCaricato(CPercorso& p)
{
    CString errore = p.GetErrorString();
    const CTraiettoria esempio = EsamePanoramicoAdulto(p.GetLimitiEParametri());
    for (int i = 0; i < p.ArrayTraiettorieGetSize(); ++i) {
        CTraiettoria t(p.ArrayTraiettorieGetTraiettoria(i));
        if (t.TipoCurva != CTraiettoria::CURVA_NON_CALCOLATA || !t.CurvaDenti.ArrayCurvaDenti.IsEmpty() ||
            t.PuntiTuning.IsEmpty())
            continue;
        // The short-curve complaint was about the missing arch, which is given here.
        if (errore == TestoMessaggio(MSG_CURVA_PANORAMICA_CORTA))
            errore.clear();
        t.CurvaDenti = esempio.CurvaDenti;
        t.TipoCurva = CTraiettoria::CURVA_PANORAMICA;
        t.CalcolaArrayVelocita(CSezione::ANTICOLLISIONE_PAN);
        ImpostaSeVuoto(errore, t.StringaErrore);
        p.CopiaTraiettoria(i, &t);
    }
    p.CorreggiContinuitaSezioni();
    ImpostaSeVuoto(errore, p.GetErrorString());
    return errore;
}
