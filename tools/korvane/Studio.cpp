// `korvane studio`: the studio is the Python package's; this command finds the package beside the
// program (the build's python folder, or the installed one) and an interpreter that can run it, and
// becomes `python3 -m korvane studio` with the same arguments.

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Comandi.h"

namespace fs = std::filesystem;

namespace {

struct OpzioniStudio {
    std::string cartella = ".";
    int porta = 0;
    std::string host = "127.0.0.1";
    bool senzaBrowser = false;
};

// The folders that may hold the package, from where this program lies: <build>/bin next to
// <build>/python, or <prefix>/bin next to <prefix>/<the interpreter's package folder>.
std::vector<fs::path> CartellePacchetto()
{
    std::error_code e;
    const fs::path programma = fs::read_symlink("/proc/self/exe", e);
    if (e)
        return {};
    const fs::path radice = programma.parent_path().parent_path();
    std::vector<fs::path> cartelle{radice / "python"};
#ifdef KORVANE_PYTHON_DIR
    cartelle.push_back(radice / KORVANE_PYTHON_DIR);
#endif
    return cartelle;
}

// True when `python` imports the studio's server (the package, NumPy and the web framework) from `cartella`.
bool PuoServire(const std::string& python, const std::string& cartella)
{
    const pid_t figlio = fork();
    if (figlio < 0)
        return false;
    if (figlio == 0) {
        setenv("PYTHONPATH", cartella.c_str(), 1);
        if (std::freopen("/dev/null", "w", stdout) == nullptr || std::freopen("/dev/null", "w", stderr) == nullptr)
            _exit(127);
        execlp(python.c_str(), python.c_str(), "-c", "import korvane.studio.server", static_cast<char*>(nullptr));
        _exit(127);
    }
    int stato = 0;
    while (waitpid(figlio, &stato, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(stato) && WEXITSTATUS(stato) == 0;
}

int EseguiStudio(const OpzioniStudio& o)
{
    std::string cartella;
    for (const fs::path& c : CartellePacchetto()) {
        std::error_code e;
        if (fs::is_regular_file(c / "korvane" / "studio" / "server.py", e)) {
            cartella = c.string();
            break;
        }
    }
    if (cartella.empty()) {
        Errore("studio: the korvane Python package is not beside this program (neither the build's python "
               "folder nor the installed one); build with KORVANE_BUILD_PYTHON=ON or install it");
        return ESITO_USO;
    }
    // Debian's interpreter is the one built for NumPy; a python3 earlier on the path may lack it.
    std::string python;
    for (const char* candidato : {"/usr/bin/python3", "python3"})
        if (PuoServire(candidato, cartella)) {
            python = candidato;
            break;
        }
    if (python.empty()) {
        Errore("studio: no python3 imports the studio from " + cartella +
               " (it needs NumPy, FastAPI and uvicorn: apt install python3-numpy python3-fastapi python3-uvicorn)");
        return ESITO_USO;
    }
    const char* prima = std::getenv("PYTHONPATH");
    const std::string percorso = cartella + (prima != nullptr && *prima != '\0' ? ":" + std::string(prima) : "");
    setenv("PYTHONPATH", percorso.c_str(), 1);
    const std::string porta = std::to_string(o.porta);
    std::vector<const char*> argomenti{python.c_str(), "-m", "korvane", "studio", o.cartella.c_str(),
                                       "--port", porta.c_str(), "--host", o.host.c_str()};
    if (o.senzaBrowser)
        argomenti.push_back("--no-browser");
    argomenti.push_back(nullptr);
    std::fflush(nullptr);
    execvp(python.c_str(), const_cast<char* const*>(argomenti.data()));
    Errore("studio: cannot start " + python + ": " + std::strerror(errno));
    return ESITO_USO;
}

}  // namespace

void AggiungiComandoStudio(CLI::App& app, int& esito)
{
    static OpzioniStudio o;
    CLI::App* sub = app.add_subcommand("studio", "design an exam in the browser: serve the studio's page for a workspace");
    sub->add_option("folder", o.cartella, "the workspace: every file the studio opens or writes lies in it")
        ->capture_default_str();
    sub->add_option("--port", o.porta, "the port (0: a free one)")->check(CLI::Range(0, 65535))->capture_default_str();
    sub->add_option("--host", o.host, "the address to listen on")->capture_default_str();
    sub->add_flag("--no-browser", o.senzaBrowser, "print the link without opening a browser");
    sub->callback([&esito] { esito = EseguiStudio(o); });
}
