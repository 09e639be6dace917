#pragma once

#include <string>
#include <vector>

#include "../core/ParametriFileDat.h"
#include "../junctions/Raccordo.h"
#include "../platform/Libreria.h"
#include "../trajectories/Traiettoria.h"

using ArrayRaccordi = CArray<CRaccordo, const CRaccordo&>;
using ArrayTraiettorie = CArray<CTraiettoria, const CTraiettoria&>;

// A complete machine movement: trajectories and junctions by value, the order the unit runs them
// in, the machine they are computed for and the exam settings of the projection file.
class KORVANE_API CPercorso {
public:
    CPercorso();
    ~CPercorso();
    CPercorso(const CPercorso&) = delete;
    CPercorso& operator=(const CPercorso&) = delete;

    CString GetErrorString();
    void SetLimitiEParametri(const CLimitiEParametri* limiti, int ancheMacchinaPredefinita);
    const CLimitiEParametri& GetLimitiEParametri();
    void SetParametriFileDat(const CParametriFileDat* parametri);
    CParametriFileDat& GetParametriFileDat();
    void SetSalvaLUT(int v) { SalvaLUT = v; }
    int GetSalvaLUT() { return SalvaLUT; }
    void SetTipoOutput(int v) { TipoOutput = v; }
    int GetTipoOutput() { return TipoOutput; }
    int IsDLLbuildprjCaricata();
    CSezione::TIPO_CONTROLLO_ANTICOLLISIONE GetTipoControlloAnticollisioneConsigliato();
    int IsSTFApplicato();

    int ArrayOrdineAggiungiElemento(const CElementoOrdine* e, int pos);
    int ArrayOrdineEliminaElementoERiordina(const CElementoOrdine* e);
    const CSezione* ArrayOrdineGetpSezione(int i);
    int ArrayOrdineGetSize();
    TIPO_SEZIONE ArrayOrdineGetTipoSezione(int i);
    int ArrayOrdineGetPosSezione(int i);
    const ArrayOrdine* GetpArrayOrdine();
    void ArrayOrdineCopy(const ArrayOrdine* ordine);
    int ArrayOrdineIsHInUso();

    int ArrayRaccordiGetSize();
    const CRaccordo* ArrayRaccordiGetRaccordo(int i);
    void ArrayRaccordiAdd(const CRaccordo* r);
    void ArrayRaccordiSetAt(int i, const CRaccordo* r);
    void ArrayRaccordiRemoveAt(int i);
    int ArrayRaccordiIsDiverso(const ArrayRaccordi* altri);
    void ArrayRaccordiCopiaInArray(ArrayRaccordi* destinazione) const;

    int ArrayTraiettorieGetSize();
    const CTraiettoria* ArrayTraiettorieGetTraiettoria(int i);
    void ArrayTraiettorieAdd(const CTraiettoria* t);
    void CopiaTraiettoria(int i, const CTraiettoria* t);
    void ArrayTraiettorieRemoveAt(int i);
    void ArrayTraiettorieSetScout(int i, int scout);
    void ArrayTraiettorieCalcolaVelocita(int i);
    void SvuotaArray();

    int CheckContinuitaSezioni();
    void CorreggiContinuitaSezioni();
    int CorreggiContinuitaRaccordiAdiacenti(int indice, ArrayRaccordi* raccordi);
    int CreaAccDecOldStyle();

    // The project file and, beside it, every output the unit needs; 1 unless refused.
    int SalvaFile(CString nomeFile, int salvaDat, int converti);
    // A project file with its machine file, or a step CSV with its "_P0" start as one trajectory.
    // 1 for any non-empty name: a failed reading shows in the error text.
    int CaricaFile(CString nomeFile, int sostituisci, int caricaRaccordi);
    // Every line the last CaricaFile of a project found damaged or missing: the file (the project or
    // its machine file), the line (from 1) and the line expected there. Empty after a clean load.
    struct RigaDanneggiata {
        CString file;
        int riga = 0;
        std::string attesa;
    };
    const std::vector<RigaDanneggiata>& GetRigheDanneggiate() const { return m_righeDanneggiate; }
    // The name trajectory `indice` of project `nomeFile` is saved under: exam.trg gives exam0.trg.
    static CString NomeFileTraiettoria(const CString& nomeFile, int indice);

    // The unit's projection file and the path CSV files. Public so that a host can write the unit's
    // files alone, without the project file around them.
    CString NomeFileDat(CString nomeFile, int collimato);
    int SalvaFileDat(CString nomeFile, int collimato);
    int GetTipoProiezione();
    static unsigned short CalcolaCRC(const unsigned char* dati, unsigned short lunghezza);
    int SalvaFileCSV(CString nomeFile);
    // Turns the "in." projection file `nomeFile` into its "out." file through the projection builder.
    int ConvertiInOut(const CString* nomeFile);
    // The builder's library name; a host that keeps its builder elsewhere (or a test) names it here.
    void SetNomeDLLbuildprj(const CString& nome) { m_nomeDLLbuildprj = nome; }

    // Per-column geometry tables of the image reconstruction, replayed from the path's step CSV and
    // its "_P0" start file; the five tables go beside the CSV. 1 when all five were written.
    int CreaLUT(int modoScout, const CString& nomeCSV, const CString& nomeLUT);
    // One table, binary (count, then a flag byte and a float per value) or as text.
    int SaveLUT(const CString& nome, const ArrayDouble& tabella, int binario);
    // Reads a binary table into the path's table member and returns it.
    ArrayDouble& LoadLUT(const CString& nome);

private:
    // The section an order entry names, or null.
    CSezione* Sezione(int i);
    bool IsRaccordo(int i) const;
    void RicalcolaElemento(int i);
    // Every order entry names a section with steps, and there is at least one; else message 167.
    bool SezioniConPassi();
    bool ScriviProgetto(FILE* f, const CString& nomeFile);
    bool LeggiTraiettoria(FILE* f, const CString& nome, bool sostituisci);
    bool LeggiSezioni(FILE* f, const CString& nomeFile, bool sostituisci, bool caricaRaccordi, bool contaTraiettorie);
    bool LeggiProgetto(FILE* f, const CString& nomeFile, int sostituisci, int caricaRaccordi);
    // Reads one file with its damage gathered into m_righeDanneggiate under the file's name.
    template <class Lettura>
    auto LeggiRegistrando(const CString& nome, Lettura lettura);
    void ImportaCSV(const CString& nomeFile, bool sostituisci);
    void CaricaDLLbuildprj();
    void ScaricaDLLbuildprj();

    LibreriaDinamica m_libreriaProiezioni;
    void* m_convertiProiezioni = nullptr;
    CLimitiEParametri m_limiti;
    CLimitiEParametri m_macchinaPredefinita;
    CParametriFileDat m_parametriDat;
    CString m_errore;
    int SalvaLUT = 0;
    int TipoOutput = 2;
    ArrayRaccordi m_raccordi;
    ArrayTraiettorie m_traiettorie;
    ArrayOrdine m_ordine;
    ArrayDouble m_valoriLUT;
    CString m_nomeDLLbuildprj;
    std::vector<RigaDanneggiata> m_righeDanneggiate;
};
