#pragma once

#include "../sections/Sezione.h"

// A section that carries the axes from one state to another: a harmonic three-link profile per
// axis between two fixed states, or a constant-acceleration ramp to or from rest.
// Final: sections live by value and nothing derives from them, so none is deleted through a base.
class KORVANE_API CRaccordo final : public CSezione {
public:
    enum { RACCORDO_LINEARE = 0, RACCORDO_ARMONICO = 1 };

    explicit CRaccordo(const CLimitiEParametri& limiti);
    // Public, unlike the interface's, so that the path's arrays can make room for junctions.
    CRaccordo();
    CRaccordo(const CRaccordo& altro);
    CRaccordo& operator=(const CRaccordo& altro);
    int operator==(const CRaccordo& altro) const;

    void CalcolaArrayVelocita(TIPO_CONTROLLO_ANTICOLLISIONE modo) override;

    int SalvaFileTRG(FILE* f) const;
    int CaricaFileTRG(FILE* f);

    // The run-time harmonic-profile library and the choice between it and the linked one.
    static void CaricaDLLRaccordiArmoniciMorvik();
    static void DeinizializzaDLLRaccordiArmoniciMorvik();
    static void SetUsaDLLZTPerCalcoloRaccordi(int usaLinkata);
    static int GetUsaDLLZTPerCalcoloRaccordi();
    static int IsDLLMorvikCaricata();
    // Loads a run-time library from any file name; the fixed-name load above goes through it.
    static int CaricaDLLRaccordiArmoniciDaFile(const CString& nome);

    double TempoRaccordos;
    double MaxAccPercento;
    std::int32_t UsaTempoMinimo;
    std::int32_t IgnoraPuntoInizia;
    std::int32_t IgnoraPuntoFinale;
    std::int32_t TipoRaccordo;
    std::int32_t GestioneRaggi;

private:
    // 1 when the machine, the acceleration share and the points the kind reads can be computed
    // from; else 0 with the message naming the value.
    int IngressiCalcolabili();
    int CalcolaRaccordoArmonico();
    int CalcolaRaccordoLineare(bool indietro);
};
