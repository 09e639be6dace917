#include "platform/File.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

FILE* ApriFile(const CString& nome, const char* modo)
{
    if (nome.empty() || modo == nullptr)
        return nullptr;
    return std::fopen(StringaAUtf8(nome).c_str(), modo);
}

bool LeggiFinoAFineRiga(FILE* f, std::string& riga, size_t massimo)
{
    riga.clear();
    if (f == nullptr)
        return false;
    int c = std::fgetc(f);
    if (c == EOF)
        return false;
    while (c != EOF && c != '\n' && c != '\r') {
        if (riga.size() < massimo)
            riga.push_back(static_cast<char>(c));
        c = std::fgetc(f);
    }
    // A lone "\r" ends a line as "\n" and "\r\n" do, so a name never runs into the next line.
    if (c == '\r') {
        const int dopo = std::fgetc(f);
        if (dopo != '\n' && dopo != EOF)
            std::ungetc(dopo, f);
    }
    return true;
}

namespace {
std::string CartellaDi(const std::string& nome)
{
    const size_t barra = nome.find_last_of('/');
    return barra == std::string::npos ? std::string() : nome.substr(0, barra + 1);
}
}  // namespace

FileSostitutivo::FileSostitutivo(const std::string& nome) : destinazione_(nome)
{
    struct stat info {};
    if (::lstat(nome.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::error_code ec;
        destinazione_ = std::filesystem::canonical(nome, ec).string();
        if (ec) {
            errore_ = nome + ": " + ec.message();
            return;
        }
    }
    const bool esiste = ::stat(destinazione_.c_str(), &info) == 0;
    // Renaming over a device or a folder would replace it, not write into it.
    if (esiste && !S_ISREG(info.st_mode)) {
        errore_ = nome + ": not a regular file";
        return;
    }
    // A short name of our own, so a destination name near the system's limit still leaves room.
    static std::atomic<unsigned> contatore{0};
    provvisorio_ = CartellaDi(destinazione_) + ".korvane-" + std::to_string(::getpid()) + "-" +
                   std::to_string(contatore++) + ".tmp";
    const int fd = ::open(provvisorio_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        Fallito(nome);
        provvisorio_.clear();
        return;
    }
    ::flock(fd, LOCK_EX | LOCK_NB);
    blocco_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    // A file replaced keeps its permissions.
    if (esiste)
        ::fchmod(fd, info.st_mode & 07777);
    flusso_ = ::fdopen(fd, "w");
    if (flusso_ == nullptr) {
        Fallito(nome);
        ::close(fd);
    }
}

FileSostitutivo::FileSostitutivo(const CString& nome) : FileSostitutivo(StringaAUtf8(nome)) {}

FileSostitutivo::~FileSostitutivo()
{
    if (flusso_ != nullptr)
        std::fclose(flusso_);
    if (!rinominato_ && !provvisorio_.empty())
        ::unlink(provvisorio_.c_str());
    if (blocco_ >= 0)
        ::close(blocco_);
}

bool FileSostitutivo::Fallito(const std::string& cosa)
{
    if (errore_.empty())
        errore_ = cosa + ": " + (errno != 0 ? std::strerror(errno) : "write failed");
    return false;
}

bool FileSostitutivo::Scrivi(const void* dati, size_t quanti)
{
    if (flusso_ == nullptr)
        return false;
    errno = 0;
    return std::fwrite(dati, 1, quanti, flusso_) == quanti || Fallito(destinazione_);
}

bool FileSostitutivo::Chiudi()
{
    if (flusso_ == nullptr)
        return errore_.empty() && !provvisorio_.empty();
    FILE* f = flusso_;
    flusso_ = nullptr;
    errno = 0;
    // fflush retries what a failed write left in the buffer, so errno names the cause.
    bool ok = std::fflush(f) == 0 && std::ferror(f) == 0 && ::fsync(::fileno(f)) == 0;
    if (!ok)
        Fallito(destinazione_);
    if (std::fclose(f) != 0 && ok)
        ok = Fallito(destinazione_);
    return ok;
}

bool FileSostitutivo::Rinomina()
{
    if (rinominato_)
        return true;
    if (!Chiudi())
        return false;
    if (::rename(provvisorio_.c_str(), destinazione_.c_str()) != 0)
        return Fallito(destinazione_);
    rinominato_ = true;
    if (blocco_ >= 0)
        ::close(blocco_);
    blocco_ = -1;
    return true;
}

bool ScriviSostituendo(const CString& nome, const std::function<bool(FILE*)>& scrivi)
{
    if (nome.empty())
        return false;
    FileSostitutivo f(nome);
    return f.Flusso() != nullptr && scrivi(f.Flusso()) && f.Rinomina();
}
