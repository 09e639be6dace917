#include "path/Conversione.h"

#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "path/Percorso.h"
#include "platform/File.h"
#include "resources/Messaggi.h"

namespace {

// Names longer than this (with their terminator) are converted in the temporary folder.
constexpr std::size_t LUNGHEZZA_MASSIMA_NOME = 64;
constexpr int DIMENSIONE_TESTO_BUILDER = 1024;

// Copies through a file written beside the destination, so a failed copy never leaves a partial
// file where a good one stood.
bool CopiaFile(const CString& da, const CString& a)
{
    FilePtr ingresso(ApriFile(da, "rb"));
    if (!ingresso)
        return false;
    FileSostitutivo uscita(a);
    if (uscita.Flusso() == nullptr)
        return false;
    std::vector<char> blocco(1 << 16);
    std::size_t n = 0;
    while ((n = std::fread(blocco.data(), 1, blocco.size(), ingresso.get())) > 0)
        if (!uscita.Scrivi(blocco.data(), n))
            return false;
    return !std::ferror(ingresso.get()) && uscita.Rinomina();
}

void Elimina(const CString& nome)
{
    std::error_code e;
    std::filesystem::remove(std::filesystem::path(StringaAUtf8(nome)), e);
}

// The system's temporary folder with a trailing '/'; empty when there is none.
CString CartellaTemporaneaDiSistema()
{
    std::error_code e;
    const std::filesystem::path p = std::filesystem::temp_directory_path(e);
    if (e || p.empty())
        return CString();
    CString cartella = StringaDaUtf8(p.string());
    if (cartella.back() != L'/')
        cartella += L'/';
    return cartella;
}

bool IniziaConIn(const CString& file)
{
    return file.size() >= 2 && (file[0] == L'i' || file[0] == L'I') && (file[1] == L'n' || file[1] == L'N');
}

}  // namespace

void CPercorso::CaricaDLLbuildprj()
{
    ScaricaDLLbuildprj();
    if (m_libreriaProiezioni.Carica(m_nomeDLLbuildprj)) {
        m_convertiProiezioni = m_libreriaProiezioni.Simbolo(SIMBOLO_BUILD_PRJ);
        if (m_convertiProiezioni == nullptr)
            m_libreriaProiezioni.Rilascia();
    }
}

void CPercorso::ScaricaDLLbuildprj()
{
    m_convertiProiezioni = nullptr;
    m_libreriaProiezioni.Rilascia();
}

int CPercorso::ConvertiInOut(const CString* nomeFile)
{
    CaricaDLLbuildprj();
    if (m_convertiProiezioni == nullptr || nomeFile == nullptr) {
        ScaricaDLLbuildprj();
        return 0;
    }
    const CString cartella = ParteDirectory(*nomeFile);
    const CString fileIngresso = ParteNomeFile(*nomeFile);
    if (!IniziaConIn(fileIngresso)) {
        CaricaMessaggio(m_errore, 147);
        ScaricaDLLbuildprj();
        return 0;
    }
    const CString fileUscita = L"out" + fileIngresso.substr(2);
    const CString nomeUscita = cartella + fileUscita;
    CString ingresso = *nomeFile;
    CString uscita = nomeUscita;
    // The system's temporary folder stands for the fixed short folder the builder was given there.
    const bool temporanea = nomeUscita.size() + 1 > LUNGHEZZA_MASSIMA_NOME;
    if (temporanea) {
        const CString tmp = CartellaTemporaneaDiSistema();
        ingresso = tmp + fileIngresso;
        uscita = tmp + fileUscita;
        if (tmp.empty() || !CopiaFile(*nomeFile, ingresso)) {
            ImpostaSeVuoto(m_errore, TestoMessaggio(144) + nomeUscita);
            ScaricaDLLbuildprj();
            return 0;
        }
    }

    // Names go as UTF-8, the encoding every file of ours is opened with, so any name reaches the
    // same file; for plain ASCII names that is the 8-bit narrowing byte for byte.
    std::string argomenti[3] = {std::string(), StringaAUtf8(ingresso), StringaAUtf8(uscita)};
    char* argv[3] = {argomenti[0].data(), argomenti[1].data(), argomenti[2].data()};
    std::vector<char> testo(DIMENSIONE_TESTO_BUILDER, '\0');
    const auto converti = reinterpret_cast<PFN_DLL_BUILD_PRJ_Convert>(m_convertiProiezioni);
    bool riuscita = converti(3, argv, testo.data(), DIMENSIONE_TESTO_BUILDER) == 0;
    if (!riuscita) {
        CString messaggio = TestoMessaggio(145);
        // The builder may leave its text unterminated; it is read no further than its buffer.
        const std::size_t n = strnlen(testo.data(), testo.size());
        if (n > 0)
            messaggio += L"\n" + StringaDa8Bit(std::string(testo.data(), n));
        ImpostaSeVuoto(m_errore, messaggio);
    }
    if (temporanea) {
        if (CopiaFile(uscita, nomeUscita)) {
            Elimina(ingresso);
            Elimina(uscita);
        } else {
            CaricaMessaggio(m_errore, 146);
            riuscita = false;
        }
    }
    ScaricaDLLbuildprj();
    return riuscita ? 1 : 0;
}
