#include "Comandi.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "Assegnazioni.h"
#include "LetturaBuffer.h"
#include "Riepilogo.h"
#include "core/LetturaTesto.h"

namespace fs = std::filesystem;

namespace {

// The example machine: installed beside the program under share/korvane, or in the source tree.
std::string MacchinaPredefinita()
{
    std::error_code ec;
    const fs::path eseguibile = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path installata = eseguibile.parent_path().parent_path() / "share/korvane/MachinesParameters.ini";
        if (fs::exists(installata, ec))
            return installata.string();
    }
    return std::string(KORVANE_SOURCE_DIR) + "/examples/MachinesParameters.ini";
}


// What makes a machine record unusable for computing motion: the library's own check, then the
// order of the position limits.
std::vector<std::string> ProblemiMacchina(const CLimitiEParametri& m)
{
    std::vector<std::string> problemi;
    for (int id : ElencaProblemiMacchina(m, USO_TUTTO))
        problemi.push_back(StringaAUtf8(TestoMessaggio(id)));
    const struct {
        const char* nome;
        const PARAMETRI_ASSE& a;
    } assi[] = {{"X", m.AsseX}, {"Y", m.AsseY}, {"R", m.AsseR}, {"C", m.AsseC}, {"H", m.AsseH}};
    for (const auto& x : assi) {
        if (!(x.a.PosMin < x.a.PosMax))
            problemi.push_back(std::string(x.nome) + ": \"Pos Min\" must be below \"Pos Max\"");
    }
    // The library takes any positive step; one longer than the longest scan leaves every scan without one.
    if (m.PassoTemporale > TEMPO_SCANSIONE_MASSIMO)
        problemi.push_back("\"Passo temporale s\" is longer than any scan (" + std::to_string(static_cast<int>(TEMPO_SCANSIONE_MASSIMO)) +
                           " s at most): no scan would get a single step");
    return problemi;
}

// Axes whose "Max Vel" the velocity word cannot command: beyond its 15 bits, or rounded to nothing.
std::vector<std::string> AvvisiMacchina(const CLimitiEParametri& m)
{
    std::vector<std::string> avvisi;
    const struct {
        const char* nome;
        const PARAMETRI_ASSE& a;
    } assi[] = {{"X", m.AsseX}, {"Y", m.AsseY}, {"R", m.AsseR}, {"C", m.AsseC}, {"H", m.AsseH}};
    for (const auto& x : assi) {
        // Step constants the library refuses are already listed as problems.
        if (!std::isfinite(x.a.StepPerUnita / x.a.StepSPerLSB) || !std::isfinite(x.a.MaxVel))
            continue;
        const std::int32_t parola = ParolaVelocita(x.a.MaxVel, x.a.StepPerUnita, x.a.StepSPerLSB);
        const std::string n = x.nome;
        if (!ParolaNelCampo(parola))
            avvisi.push_back(n + ": \"Max Vel\" needs the word " + std::to_string(parola) + ", beyond " +
                             std::to_string(PAROLA_MASSIMA) + ": the unit cannot be commanded that speed");
        else if (parola == 0)
            avvisi.push_back(n + ": \"Max Vel\" rounds to a word of 0: the axis cannot be commanded to move");
    }
    return avvisi;
}

// The library's writer takes a file name and cannot tell a failed write: it writes into memory,
// and the bytes reach the disk through a checked file.
bool TestoDellaMacchina(CLimitiEParametri& m, std::string& testo)
{
    // The library writes the machine file beside and renames it, so it goes through a private folder.
    std::error_code ec;
    const std::filesystem::path cartella =
        std::filesystem::temp_directory_path(ec) / ("korvane-macchina-" + std::to_string(::getpid()));
    std::filesystem::create_directory(cartella, ec);
    const std::filesystem::path nome = cartella / "m.ini";
    bool ok = !ec && m.ScriviSuFile(StringaDaUtf8(nome.string()), 0) != 0;
    if (ok) {
        std::ifstream f(nome, std::ios::binary);
        testo.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
        ok = !f.bad();
    }
    std::filesystem::remove_all(cartella, ec);
    return ok;
}

// The non-blank lines of a text with their 1-based numbers, line ends ("\n", "\r\n") dropped.
std::vector<std::pair<int, std::string>> RigheNonVuote(const std::string& testo)
{
    std::vector<std::pair<int, std::string>> righe;
    int numero = 0;
    for (size_t inizio = 0; inizio < testo.size();) {
        const size_t fine = std::min(testo.find('\n', inizio), testo.size());
        std::string riga = testo.substr(inizio, fine - inizio);
        ++numero;
        if (!riga.empty() && riga.back() == '\r')
            riga.pop_back();
        if (riga.find_first_not_of(" \t") != std::string::npos)
            righe.emplace_back(numero, riga);
        inizio = fine + 1;
    }
    return righe;
}

// A label as the reader matches it: every blank in the layout matches any run of blanks, or none.
std::string SenzaSpazi(const std::string& testo)
{
    std::string r;
    for (const char c : testo)
        if (c != ' ' && c != '\t')
            r += c;
    return r;
}

// Where a machine file that did not read leaves the layout: its lines set against those the library
// writes for the record it read, blank lines aside. A value line needs its label and a number; a
// line out of place ends the comparison, as the lines after it no longer pair.
std::vector<std::string> RigheFuoriPosto(const std::string& nome, int fd, CLimitiEParametri& m)
{
    std::string testo, modello;
    char blocco[4096];
    ssize_t n = 0;
    while ((n = ::pread(fd, blocco, sizeof blocco, static_cast<off_t>(testo.size()))) > 0)
        testo.append(blocco, static_cast<size_t>(n));
    if (!TestoDellaMacchina(m, modello))
        return {};
    const auto righe = RigheNonVuote(testo);
    auto attese = RigheNonVuote(modello);
    // The first layout has no name line.
    if (!righe.empty() && SenzaSpazi(righe.front().second) == "Versione=1" && attese.size() > 2)
        attese.erase(attese.begin() + 2);
    std::vector<std::string> problemi;
    for (size_t i = 0; i < attese.size(); ++i) {
        const std::string& attesa = attese[i].second;
        const size_t uguale = attesa.find('=');
        const std::string etichetta = uguale == std::string::npos ? attesa : attesa.substr(0, attesa.find_last_not_of(' ', uguale - 1) + 1);
        const std::string forma = uguale == std::string::npos ? attesa : etichetta + " = <number>";
        if (i >= righe.size()) {
            problemi.push_back(nome + ": the file ends where \"" + forma + "\" was expected");
            break;
        }
        const auto& [numero, riga] = righe[i];
        const std::string dove = nome + ":" + std::to_string(numero) + ": ";
        const size_t u = riga.find('=');
        if (uguale == std::string::npos || u == std::string::npos ||
            SenzaSpazi(riga.substr(0, u)) != SenzaSpazi(etichetta)) {
            if (uguale != std::string::npos || SenzaSpazi(riga) != SenzaSpazi(attesa)) {
                problemi.push_back(dove + "expected \"" + forma + "\", found \"" + riga + "\"");
                break;
            }
            continue;
        }
        double v = 0.0;
        const std::string valore = riga.substr(u + 1);
        if (etichetta != "Nome macchina" && !ConvertiValore(valore, v))
            problemi.push_back(dove + "\"" + etichetta + "\" holds \"" +
                               valore.substr(std::min(valore.find_first_not_of(" \t"), valore.size())) + "\", not a number");
    }
    if (problemi.empty() && righe.size() > attese.size())
        problemi.push_back(nome + ":" + std::to_string(righe[attese.size()].first) + ": a line after the end: \"" +
                           righe[attese.size()].second + "\"");
    return problemi;
}

}  // namespace

Ingresso::~Ingresso()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool Ingresso::Apri(const std::string& nome, const std::string& cosa)
{
    // Not blocking, so a FIFO with no writer is refused below instead of holding us up.
    fd_ = ::open(nome.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    std::string motivo = fd_ < 0 ? std::strerror(errno) : "";
    if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
        motivo = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file";
        ::close(fd_);
        fd_ = -1;
    }
    if (fd_ < 0) {
        Errore("cannot read " + cosa + " " + nome + ": " + motivo);
        return false;
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    dimensione_ = static_cast<std::uint64_t>(info.st_size);
    return true;
}

CString Ingresso::NomePerLaLibreria() const
{
    return StringaDaUtf8("/proc/self/fd/" + std::to_string(fd_));
}

bool CaricaMacchina(const std::string& file, CLimitiEParametri& m)
{
    const std::string nome = file.empty() ? MacchinaPredefinita() : file;
    Ingresso in;
    if (!in.Apri(nome, "the machine file"))
        return false;
    if (!m.LeggiDaFile(in.NomePerLaLibreria(), 0)) {
        Errore("not a valid machine file: " + nome);
        for (const std::string& r : RigheFuoriPosto(nome, in.Descrittore(), m))
            Errore(r);
        return false;
    }
    const std::vector<std::string> problemi = ProblemiMacchina(m);
    for (const std::string& p : problemi)
        Errore(nome + ": " + p);
    return problemi.empty();
}

namespace {

// A head outline far out of the machine's reach: the check runs and always passes.
int NessunaTesta()
{
    ArrayPunti2D lontano;
    lontano.Add(CPunto2DKorvane(1.0e6, 1.0e6));
    lontano.Add(CPunto2DKorvane(1.0e6 + 10.0, 1.0e6));
    lontano.Add(CPunto2DKorvane(1.0e6, 1.0e6 + 10.0));
    CString err;
    return CSezione::SetArrayTestona(&lontano, err);
}

// Sets the machine and the head; returns an exit code, ESITO_OK to go on.
int Prepara(const OpzioniComuni& o, CLimitiEParametri& m, std::string& anticollisione)
{
    if (const int esito = PreparaMacchinaETesta(o, m, anticollisione); esito != ESITO_OK)
        return esito;
    DLL_KORVANE_GetErrorString();
    DLL_KORVANE_SetLimitiEParametri(&m);
    anticollisione = o.senzaTesta ? "skipped (--no-head)" : "passed (3D mode, " + anticollisione + ")";
    return ESITO_OK;
}

int Rifiutato()
{
    return Rifiuto(DLL_KORVANE_GetErrorString(), "the library refused the request");
}

// Fetches the generated path, writes scan.bin and axes.csv and prints the summary.
int EsportaEStampa(const OpzioniComuni& o, const CLimitiEParametri& m, int dimBuffer, int numPunti,
                   const std::string& anticollisione)
{
    std::vector<unsigned char> buffer(static_cast<size_t>(dimBuffer));
    std::vector<PUNTO_TRAIETTORIA> stati(static_cast<size_t>(numPunti));
    if (!DLL_KORVANE_GetTraiettoria(buffer.data(), stati.data(), dimBuffer, numPunti))
        return Rifiutato();
    const std::vector<std::string> scritti =
        ScriviUscite(o.uscita, {{"scan.bin", [&](FILE* f) { return std::fwrite(buffer.data(), 1, buffer.size(), f) == buffer.size(); }},
                                {"axes.csv", TestoInFile(StatiCsv(stati, m.PassoTemporale))}});
    if (scritti.empty())
        return ESITO_USO;
    const std::string& bin = scritti[0];
    const std::string& csv = scritti[1];
    RiepilogoMoto r = RiassumiMoto(stati, m);
    r.anticollisione = anticollisione;
    if (o.json) {
        nlohmann::json j = RiepilogoInJson(r);
        j["files"] = {bin, csv};
        StampaJson(j);
    } else {
        StampaRiepilogo(r, stdout);
        std::printf("written: %s, %s\n", bin.c_str(), csv.c_str());
    }
    return ESITO_OK;
}

PUNTO_TRAIETTORIA StatoDa(const std::vector<double>& v)
{
    PUNTO_TRAIETTORIA p;
    double* campi[] = {&p.dPosX, &p.dPosY, &p.dPosR, &p.dPosH, &p.dVelX, &p.dVelY, &p.dVelR, &p.dVelH};
    for (size_t i = 0; i < v.size() && i < 8; ++i)
        *campi[i] = v[i];
    return p;
}

}  // namespace

int PreparaMacchinaETesta(const OpzioniComuni& o, CLimitiEParametri& m, std::string& testa)
{
    if (!CaricaMacchina(o.macchina, m))
        return ESITO_USO;
    if (o.senzaTesta) {
        NessunaTesta();
        testa.clear();
    } else if (!o.testa.empty()) {
        CString err;
        Ingresso in;
        if (!in.Apri(o.testa, "the head outline"))
            return ESITO_USO;
        if (!CSezione::LeggiTestonaDaFile(in.NomePerLaLibreria(), err)) {
            Errore("cannot use the head outline " + o.testa + (err.empty() ? "" : ": " + StringaAUtf8(err)));
            return ESITO_USO;
        }
        testa = "head outline " + o.testa;
    } else {
        if (!DLL_KORVANE_UsaTestaDiDefault()) {
            Errore(StringaAUtf8(DLL_KORVANE_GetErrorString()));
            return ESITO_RIFIUTATO;
        }
        testa = "built-in head outline";
    }
    return ESITO_OK;
}

std::string VerdettoTesta(const OpzioniComuni& o, const CSezione& s, int modo, const std::string& testa)
{
    if (o.senzaTesta)
        return "skipped (--no-head)";
    const auto m = static_cast<CSezione::TIPO_CONTROLLO_ANTICOLLISIONE>(modo);
    CString urto;
    const std::string dove = std::string(m == CSezione::ANTICOLLISIONE_3D ? " (3D mode, " : " (panoramic mode, ") + testa + ")";
    if (s.ControlloAntiCollisione(urto, m))
        return "passed" + dove;
    return "FAILED: " + StringaAUtf8(urto.empty() ? CString(TestoMessaggio(178)) : urto) + dove;
}

const CLI::Validator FINITO(
    [](std::string& testo) {
        double v = 0.0;
        if (!ConvertiValore(testo, v) || !(std::isfinite(v) && std::fabs(v) <= FLT_MAX))
            return "not a finite number: " + testo;
        return std::string();
    },
    "");

CLI::Validator ValoreDi(const char* membro)
{
    const MembroModificabile* m = TrovaMembro(MembriTraiettoria(), membro);
    return CLI::Validator(
        [m](std::string& testo) {
            const std::string motivo = MotivoRifiuto(*m, testo);
            return motivo.empty() ? motivo : motivo + ": " + testo;
        },
        DescriviValori(*m));
}

bool NomeInUtf8(const std::string& nome, const std::string& cosa)
{
    if (StringaAUtf8(StringaDaUtf8(nome)) == nome)
        return true;
    Errore("the name of " + cosa + " is not UTF-8: " + nome);
    return false;
}

namespace {

// When this run began: a hidden temporary file older than that and not locked was left by a killed run.
const fs::file_time_type INIZIO_ESECUZIONE = fs::file_time_type::clock::now();

// Opens a file or folder without following a last link and takes `operazione` (LOCK_EX, LOCK_SH) on
// it without waiting; -1 when it cannot.
int ApriEBlocca(const std::string& nome, int operazione)
{
    const int fd = ::open(nome.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd >= 0 && ::flock(fd, operazione | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

void RimuoviProvvisoriAbbandonati(const std::string& cartella)
{
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(cartella.empty() ? "." : cartella, ec)) {
        const std::string nome = e.path().filename().string();
        const bool file = nome.ends_with(".tmp") && e.is_regular_file(ec);
        const bool provvisoria = !file && e.is_directory(ec) && !e.is_symlink(ec);
        if (!nome.starts_with(".korvane-") || !(file || provvisoria) || e.last_write_time(ec) >= INIZIO_ESECUZIONE || ec)
            continue;
        const int fd = ApriEBlocca(e.path().string(), LOCK_EX);
        if (fd < 0)
            continue;
        fs::remove_all(e.path(), ec);
        ::close(fd);
    }
}

CartellaProvvisoria::CartellaProvvisoria(std::string finale, std::string nome)
    : finale_(finale.empty() ? "." : std::move(finale)), nome_(std::move(nome))
{
}

CartellaProvvisoria::~CartellaProvvisoria()
{
    std::error_code ec;
    if (!provvisoria_.empty())
        fs::remove_all(provvisoria_, ec);
    if (blocco_ >= 0)
        ::close(blocco_);
}

bool CartellaProvvisoria::Crea()
{
    std::error_code ec;
    fs::create_directories(finale_, ec);
    std::string modello = (fs::path(finale_) / (".korvane-" + nome_ + "-XXXXXX")).string();
    if (ec || ::mkdtemp(modello.data()) == nullptr) {
        Errore("cannot make the folder " + finale_ + ": " + (ec ? ec.message() : std::strerror(errno)));
        return false;
    }
    provvisoria_ = modello;
    blocco_ = ApriEBlocca(provvisoria_, LOCK_EX);
    RimuoviProvvisoriAbbandonati(finale_);
    return true;
}

std::string CartellaProvvisoria::Percorso(const std::string& file) const
{
    return (fs::path(provvisoria_) / file).string();
}

std::vector<std::string> CartellaProvvisoria::Elenco() const
{
    std::vector<std::string> nomi;
    std::error_code ec;
    for (const auto& voce : fs::directory_iterator(provvisoria_, ec))
        nomi.push_back(voce.path().filename().string());
    std::sort(nomi.begin(), nomi.end());
    return nomi;
}

std::vector<std::string> CartellaProvvisoria::Sposta()
{
    std::vector<std::string> nomi = Elenco();
    for (std::string& nome : nomi) {
        std::error_code ec;
        const fs::path finale = fs::path(finale_) / nome;
        fs::rename(fs::path(provvisoria_) / nome, finale, ec);
        if (ec) {
            Errore("cannot write " + finale.string() + ": " + ec.message());
            return {};
        }
        nome = finale.string();
    }
    return nomi;
}

BloccoProgetto::~BloccoProgetto()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int BloccoProgetto::Prendi(const std::string& file, bool esclusivo, double attesa, bool puoMancare)
{
    const auto fine = std::chrono::steady_clock::now() + std::chrono::duration<double>(attesa);
    const std::string cartella = fs::path(file).parent_path().string();
    for (;;) {
        // O_NONBLOCK: a FIFO in the project's place is refused, not waited on.
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        const bool manca = fd < 0 && errno == ENOENT && puoMancare;
        if (manca)
            fd = ::open(cartella.empty() ? "." : cartella.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECTORY);
        struct stat info {};
        if (fd < 0 || ::fstat(fd, &info) != 0 || (!manca && !S_ISREG(info.st_mode))) {
            const int errore = errno;
            const std::string motivo = fd < 0 ? std::strerror(errore) : "not a regular file";
            if (fd >= 0)
                ::close(fd);
            // A folder that does not exist yet is made with the outputs; nobody else can be writing there.
            if (manca && errore == ENOENT)
                return ESITO_OK;
            Errore(std::string(puoMancare ? "cannot write" : "cannot read") + " the project " + file + ": " + motivo);
            return ESITO_USO;
        }
        const int preso = ::flock(fd, (esclusivo ? LOCK_EX : LOCK_SH) | LOCK_NB);
        const int errore = errno;
        if (preso == 0) {
            // A run that finished meanwhile replaced the file: the lock must be on the one that stands now.
            struct stat ora {};
            const bool cambiato = manca ? ::stat(file.c_str(), &ora) == 0
                                        : ::stat(file.c_str(), &ora) != 0 || ora.st_ino != info.st_ino ||
                                              ora.st_dev != info.st_dev;
            if (!cambiato) {
                fd_ = fd;
                return ESITO_OK;
            }
        } else if (errore != EWOULDBLOCK || std::chrono::steady_clock::now() >= fine) {
            const std::string motivo = errore == EWOULDBLOCK ? "another korvane run is using it" : std::strerror(errore);
            ::close(fd);
            Errore("the project " + file + " is busy: " + motivo);
            return ESITO_RIFIUTATO;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ::close(fd);
    }
}

void Errore(const std::string& testo)
{
    std::fprintf(stderr, "korvane: %s\n", testo.c_str());
}

int Rifiuto(const CString& testo, const std::string& senzaMessaggio)
{
    Errore(testo.empty() ? senzaMessaggio : StringaAUtf8(testo));
    return ESITO_RIFIUTATO;
}

int EsitoConAvviso(const CString& avviso)
{
    if (avviso.empty())
        return ESITO_OK;
    Errore(StringaAUtf8(avviso));
    return ESITO_RIFIUTATO;
}

// Names from the command line need not be UTF-8: their stray bytes are replaced in JSON.
void StampaJson(const nlohmann::json& j)
{
    std::printf("%s\n", j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
}

std::function<bool(FILE*)> TestoInFile(std::string testo)
{
    return [testo = std::move(testo)](FILE* f) { return std::fwrite(testo.data(), 1, testo.size(), f) == testo.size(); };
}

// Every file is closed before any is renamed, so a failure never pairs a new file with an old one.
std::vector<std::string> ScriviUscite(const std::string& cartella, const std::vector<FileUscita>& file)
{
    std::error_code ec;
    fs::create_directories(cartella, ec);
    if (ec) {
        Errore("cannot make the folder " + cartella + ": " + ec.message());
        return {};
    }
    RimuoviProvvisoriAbbandonati(cartella);
    std::vector<std::string> nomi;
    std::vector<std::unique_ptr<FileSostitutivo>> aperti;
    for (const FileUscita& u : file) {
        nomi.push_back((fs::path(cartella) / u.nome).string());
        aperti.push_back(std::make_unique<FileSostitutivo>(nomi.back()));
        FileSostitutivo& f = *aperti.back();
        errno = 0;
        if (f.Flusso() != nullptr && !u.scrivi(f.Flusso())) {
            Errore("cannot write " + nomi.back() + ": " + (errno != 0 ? std::strerror(errno) : "write failed"));
            return {};
        }
    }
    for (auto& f : aperti)
        if (!f->Chiudi()) {
            Errore("cannot write " + f->Errore());
            return {};
        }
    for (auto& f : aperti)
        if (!f->Rinomina()) {
            Errore("cannot write " + f->Errore());
            return {};
        }
    return nomi;
}

std::vector<PUNTO_TRAIETTORIA> StatiDiSezione(const CSezione& s, const CLimitiEParametri& m)
{
    std::vector<PUNTO_TRAIETTORIA> stati{s.PuntoIniziale};
    for (const PASSO_TRAIETTORIA& passo : s.ArrayPassi) {
        stati.push_back(stati.back());
        AvanzaDiUnPasso(stati.back(), passo, m);
    }
    return stati;
}

void AggiungiOpzioniComuni(CLI::App& sub, OpzioniComuni& o, const std::string& uscitaPredefinita)
{
    o.uscita = uscitaPredefinita;
    sub.add_option("--machine", o.macchina, "machine file (default: the installed example unit)");
    auto* testa = sub.add_option("--head", o.testa, "reference head outline, one \"x,y\" point per line");
    sub.add_flag("--no-head", o.senzaTesta, "run without a patient head outline")->excludes(testa);
    sub.add_option("--out", o.uscita, "folder the outputs are written into")->capture_default_str();
    sub.add_flag("--json", o.json, "print the summary as JSON");
}

int EseguiCB3D(const OpzioniCB3D& o)
{
    CLimitiEParametri m;
    std::string anticollisione;
    if (const int esito = Prepara(o.comuni, m, anticollisione); esito != ESITO_OK)
        return esito;
    ParamTrjCB3D p;
    p.fTempoScansione = o.tempo;
    p.fRaggioCerchio = o.raggio;
    p.fXCentroRotazione = o.xCentro;
    p.fYCentroRotazione = o.yCentro;
    p.bRaccordiArmonici = o.raccordiLineari ? 0 : 1;
    p.fMaxAccPercento = o.maxAcc;
    p.imAFrontali = o.mAFrontali;
    p.imALaterali = o.mALaterali;
    p.iTipoProiezione = o.tipoProiezione;
    p.iOpzioni = o.negativo ? 1 : 0;
    p.puntoUscita = StatoDa(o.uscita);
    int dimBuffer = 0;
    int numPunti = 0;
    if (!DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p, dimBuffer, numPunti))
        return Rifiutato();
    return EsportaEStampa(o.comuni, m, dimBuffer, numPunti, anticollisione);
}

int EseguiMovimento(const OpzioniMovimento& o)
{
    CLimitiEParametri m;
    std::string anticollisione;
    if (const int esito = Prepara(o.comuni, m, anticollisione); esito != ESITO_OK)
        return esito;
    int dimBuffer = 0;
    int numPunti = 0;
    if (!DLL_KORVANE_GeneraTraiettoriaMovimento(StatoDa(o.da), StatoDa(o.a), o.tempo, o.maxAcc, dimBuffer, numPunti))
        return Rifiutato();
    return EsportaEStampa(o.comuni, m, dimBuffer, numPunti, anticollisione);
}

int EseguiIspeziona(const OpzioniIspeziona& o)
{
    // A project is shown section by section, as `exam show` does.
    if (o.buffer.size() > 4 && o.buffer.compare(o.buffer.size() - 4, 4, ".trg") == 0)
        return MostraProgetto(o.buffer, o.macchina, o.json, ATTESA_PROGETTO);
    CLimitiEParametri m;
    if (!CaricaMacchina(o.macchina, m))
        return ESITO_USO;
    Ingresso in;
    if (!in.Apri(o.buffer, "the image"))
        return ESITO_USO;
    if (in.Dimensione() > DIMENSIONE_BUFFER) {
        Errore(o.buffer + ": " + std::to_string(in.Dimensione()) + " bytes, more than a step buffer or a projection "
               "image holds (" + std::to_string(DIMENSIONE_BUFFER) + "): not an image");
        return ESITO_USO;
    }
    // Read one byte more than a buffer holds, so an oversized file shows as such.
    std::vector<std::uint8_t> byte(DIMENSIONE_BUFFER + 1);
    size_t letti = 0;
    ssize_t n = 0;
    while (letti < byte.size() && (n = ::read(in.Descrittore(), byte.data() + letti, byte.size() - letti)) > 0)
        letti += static_cast<size_t>(n);
    if (n < 0) {
        Errore("cannot read the image " + o.buffer + ": " + std::strerror(errno));
        return ESITO_USO;
    }
    byte.resize(letti);
    // A projection file's image is shorter than the full layout: its records are put back in place.
    const bool proiezione = byte.size() != DIMENSIONE_BUFFER;
    std::string errore;
    if (proiezione) {
        std::vector<std::uint8_t> immagine;
        if (!EspandiImmagineProiezione(byte, immagine, errore)) {
            Errore(o.buffer + ": " + errore);
            return ESITO_USO;
        }
        byte.swap(immagine);
    }
    BufferDecodificato b;
    if (!DecodificaBuffer(byte, b, errore)) {
        Errore(o.buffer + ": " + errore);
        return ESITO_USO;
    }
    const INTESTAZIONE_IMMAGINE& t = b.t;
    const std::vector<PUNTO_TRAIETTORIA> stati = IntegraBuffer(b, m);
    const RiepilogoMoto r = RiassumiMoto(stati, m);
    const PUNTO_TRAIETTORIA& fine = stati.back();
    const SCOUT_IMMAGINE& sc = b.scout;
    if (o.json) {
        nlohmann::json j = RiepilogoInJson(r);
        j.erase("anti_collision");
        j["image"] = proiezione ? "projection file" : "step buffer";
        j["header"] = {{"version", t.Version},
                       {"group", t.Group},
                       {"projection_type", t.TipoProiezione},
                       {"flags", t.Flag},
                       {"aps_range", {t.ApsRangeMin, t.ApsRangeMax}},
                       {"prm_collim_offset", {t.PrmCollimOffset1, t.PrmCollimOffset2}},
                       {"scn_collim_offset", t.ScnCollimOffset},
                       {"start_steps", t.Ini},
                       {"reset_steps", t.Res},
                       {"exit_steps", t.Out},
                       {"x_axis_corr_fact", t.XAxisCorrFact},
                       {"y_axis_corr", {t.YAxisCorrLen, t.YAxisCorrMin, t.YAxisCorrMax, t.YAxisOpenMouth}}};
        j["sub_images"] = nlohmann::json::array();
        for (const SottoimmagineLetta& s : b.sottoimmagini)
            j["sub_images"].push_back({{"magnification", {s.s.Fattore, s.fattoreOrizzontale}},
                                       {"note", s.s.Nota},
                                       {"columns", s.s.Colonne},
                                       {"margins", s.s.Margini}});
        j["columns"] = b.sommaColonne;
        j["scout"] = {{"offset", sc.Offset}, {"columns", sc.Colonne}, {"position_steps", sc.Pos},
                      {"kv", sc.KV},         {"ma", sc.MA},           {"prm_collim", {sc.CollMin, sc.CollMax}}};
        j["crc"] = {{"stored", b.crcLetto}, {"computed", b.crcCalcolato}, {"valid", b.CrcValido()}};
        j["end_position"] = {fine.dPosX, fine.dPosY, fine.dPosR, fine.dPosH};
        StampaJson(j);
    } else {
        std::printf("%s: version %d, group %d, projection type %d, flags 0x%05X, APS range %d,%d\n",
                    proiezione ? "projection file" : "step buffer", t.Version, t.Group, t.TipoProiezione, t.Flag,
                    t.ApsRangeMin, t.ApsRangeMax);
        std::printf("start (steps) X %d Y %d R %d H %d; exit (steps) X %d Y %d R %d H %d\n", t.Ini[0], t.Ini[1],
                    t.Ini[2], t.Ini[3], t.Out[0], t.Out[1], t.Out[2], t.Out[3]);
        std::printf("reset (steps) X %d Y %d R %d H %d; collimator offsets %d,%d and %d; axis corrections X %d, "
                    "Y %d,%d,%d,%d\n",
                    t.Res[0], t.Res[1], t.Res[2], t.Res[3], t.PrmCollimOffset1, t.PrmCollimOffset2,
                    t.ScnCollimOffset, t.XAxisCorrFact, t.YAxisCorrLen, t.YAxisCorrMin, t.YAxisCorrMax,
                    t.YAxisOpenMouth);
        std::printf("%zu sub-images, %d columns in all\n", b.sottoimmagini.size(), b.sommaColonne);
        for (const SottoimmagineLetta& s : b.sottoimmagini)
            std::printf("  magnification %d,%d, note %d, %d columns, margins %d,%d,%d,%d\n", s.s.Fattore,
                        s.fattoreOrizzontale, s.s.Nota, s.s.Colonne, s.s.Margini[0], s.s.Margini[1],
                        s.s.Margini[2], s.s.Margini[3]);
        std::printf("scout: offset %d, %d columns, at (steps) X %d Y %d R %d H %d, kV %d, mA %d, collimator %d,%d\n",
                    sc.Offset, sc.Colonne, sc.Pos[0], sc.Pos[1], sc.Pos[2], sc.Pos[3], sc.KV, sc.MA, sc.CollMin,
                    sc.CollMax);
        std::printf("CRC stored 0x%04X, computed 0x%04X: %s\n", b.crcLetto, b.crcCalcolato,
                    b.CrcValido() ? "valid" : "INVALID");
        std::printf("motion: start X %.3f Y %.3f R %.3f H %.3f, end X %.3f Y %.3f R %.3f H %.3f\n", PerTabella(stati[0].dPosX),
                    PerTabella(stati[0].dPosY), PerTabella(stati[0].dPosR), PerTabella(stati[0].dPosH),
                    PerTabella(fine.dPosX), PerTabella(fine.dPosY), PerTabella(fine.dPosR), PerTabella(fine.dPosH));
        RiepilogoMoto senzaCheck = r;
        senzaCheck.anticollisione = "not checked by inspect";
        StampaRiepilogo(senzaCheck, stdout);
    }
    if (!b.CrcValido()) {
        Errore(o.buffer + ": the CRC does not match the buffer's content");
        return ESITO_USO;
    }
    return ESITO_OK;
}

int EseguiMacchina(const OpzioniMacchina& o)
{
    if (!o.esempio.empty()) {
        CLimitiEParametri m;
        if (!CaricaMacchina(std::string(), m))
            return ESITO_USO;
        std::string testo;
        if (!TestoDellaMacchina(m, testo)) {
            Errore("cannot write " + o.esempio + ": the machine could not be written out");
            return ESITO_USO;
        }
        // Like every other output, the file's folder is made when missing.
        std::error_code ec;
        if (const fs::path cartella = fs::path(o.esempio).parent_path(); !cartella.empty())
            fs::create_directories(cartella, ec);
        if (ec) {
            Errore("cannot make the folder " + fs::path(o.esempio).parent_path().string() + ": " + ec.message());
            return ESITO_USO;
        }
        FileSostitutivo file(o.esempio);
        if (!file.Scrivi(testo.data(), testo.size()) || !file.Rinomina()) {
            Errore("cannot write " + file.Errore());
            return ESITO_USO;
        }
        std::printf("written: %s\n", o.esempio.c_str());
        return ESITO_OK;
    }
    CLimitiEParametri m;
    Ingresso in;
    if (!in.Apri(o.file, "the machine file"))
        return ESITO_USO;
    const int letto = m.LeggiDaFile(in.NomePerLaLibreria(), 0);
    const std::vector<std::string> problemi = ProblemiMacchina(m);
    const std::vector<std::string> avvisi = AvvisiMacchina(m);
    const std::vector<std::string> fuoriPosto = letto ? std::vector<std::string>() : RigheFuoriPosto(o.file, in.Descrittore(), m);
    const struct {
        const char* nome;
        const PARAMETRI_ASSE& a;
    } assi[] = {{"X", m.AsseX}, {"Y", m.AsseY}, {"R", m.AsseR}, {"C", m.AsseC}, {"H", m.AsseH}};
    if (o.json) {
        nlohmann::json j;
        j["file_matched"] = letto == 1;
        j["layout_problems"] = fuoriPosto;
        j["problems"] = problemi;
        j["warnings"] = avvisi;
        j["name"] = StringaAUtf8(m.NomeMacchina);
        j["general"] = {{"time_step_s", m.PassoTemporale},     {"centre_tube_mm", m.CentroMonoblocco},
                        {"centre_sensor_pan_mm", m.CentSensPan}, {"centre_sensor_3d_mm", m.CentSens3D},
                        {"bite_mm", m.PosMorso},               {"pixel_pano_mm", m.DimPixelPano},
                        {"h_ortho_mm", m.PosHOrtho}};
        for (const auto& x : assi)
            j["axes"][x.nome] = {{"steps_per_unit", x.a.StepPerUnita}, {"step_s_per_lsb", x.a.StepSPerLSB},
                                 {"limit_velocity", x.a.MaxVel},      {"limit_acceleration", x.a.MaxAcc},
                                 {"limit_position", {x.a.PosMin, x.a.PosMax}}};
        StampaJson(j);
    } else {
        std::printf("machine \"%s\": %s\n", StringaAUtf8(m.NomeMacchina).c_str(),
                    letto ? "every line matched" : "the file does not match the machine file layout");
        std::printf("time step %g s; centre-tube %g mm; centre-sensor %g mm (pan), %g mm (3D); pixel %g mm\n",
                    m.PassoTemporale, m.CentroMonoblocco, m.CentSensPan, m.CentSens3D, m.DimPixelPano);
        std::printf("axis  steps/unit  LSB per unit/s  limit vel  limit acc  range\n");
        for (const auto& x : assi)
            std::printf("%-4s  %10.6g  %14.6g  %9g  %9g  %g .. %g\n", x.nome, x.a.StepPerUnita,
                        x.a.StepSPerLSB > 0 ? x.a.StepPerUnita / x.a.StepSPerLSB : 0.0, x.a.MaxVel, x.a.MaxAcc,
                        x.a.PosMin, x.a.PosMax);
        for (const std::string& p : problemi)
            std::printf("problem: %s\n", p.c_str());
        for (const std::string& a : avvisi)
            std::printf("warning: %s\n", a.c_str());
    }
    for (const std::string& r : fuoriPosto)
        Errore(r);
    if (!letto)
        return ESITO_USO;
    return problemi.empty() ? ESITO_OK : ESITO_RIFIUTATO;
}
