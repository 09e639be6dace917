#include "platform/Prompt.h"

#include <cstdio>

namespace {
GestoreDomanda& Domande()
{
    static GestoreDomanda gestore;
    return gestore;
}
GestoreInformazione& Informazioni()
{
    static GestoreInformazione gestore;
    return gestore;
}
}  // namespace

int ChiediSiNo(const CString& domanda, int rispostaPredefinita)
{
    if (Domande())
        return Domande()(domanda, rispostaPredefinita) ? 1 : 0;
    return rispostaPredefinita ? 1 : 0;
}

void MostraInformazione(const CString& testo)
{
    if (Informazioni()) {
        Informazioni()(testo);
        return;
    }
    std::fprintf(stderr, "%s\n", StringaAUtf8(testo).c_str());
}

void ImpostaGestoreDomande(GestoreDomanda gestore)
{
    Domande() = std::move(gestore);
}

void ImpostaGestoreInformazioni(GestoreInformazione gestore)
{
    Informazioni() = std::move(gestore);
}
