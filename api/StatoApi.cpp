#include "api/StatoApi.h"

#include "api/Korvane.h"
#include "resources/Messaggi.h"

StatoApi& Api()
{
    static StatoApi stato;
    return stato;
}

bool ErroreDaPercorso()
{
    StatoApi& a = Api();
    if (a.errore.empty())
        a.errore = a.percorso.GetErrorString();
    return !a.errore.empty();
}

bool ErroreDaSezione(CSezione& s)
{
    StatoApi& a = Api();
    if (a.errore.empty())
        a.errore = s.GetErrorString();
    return !a.errore.empty();
}

int ContaPassi()
{
    CPercorso& p = Api().percorso;
    int n = 0;
    for (int i = 0; i < p.ArrayOrdineGetSize(); ++i) {
        const CSezione* s = p.ArrayOrdineGetpSezione(i);
        if (s == nullptr)
            return -1;
        n += s->ArrayPassi.GetSize();
    }
    return n;
}

CString DLL_KORVANE_GetErrorString()
{
    CString t;
    t.swap(Api().errore);
    return t;
}

void DLL_KORVANE_SetLimitiEParametri(const CLimitiEParametri* limiti)
{
    Api().percorso.SetLimitiEParametri(limiti, 1);
    ErroreDaPercorso();
}

const CLimitiEParametri& DLL_KORVANE_GetLimitiEParametri()
{
    const CLimitiEParametri& l = Api().percorso.GetLimitiEParametri();
    ErroreDaPercorso();
    return l;
}

double DLL_KORVANE_GetPassoTemporale()
{
    return Api().percorso.GetLimitiEParametri().PassoTemporale;
}

int DLL_KORVANE_UsaTestaDiDefault()
{
    return CSezione::UsaTestonaDiDefault(Api().errore);
}
