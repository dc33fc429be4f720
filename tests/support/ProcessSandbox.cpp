// Linked into every test executable: before main, the process gets a home and an
// all-users data folder of its own, so that nothing a test starts (a main window
// without KORVENA_DATA, the error log, a dialog's remembered place) writes into
// the machine's /usr/local/share/Korvena, the real home or the build tree.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

class ProcessSandbox
{
public:
    ProcessSandbox()
    {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/korvena-test-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_root = pattern;
        const std::string home = m_root + "/home";
        std::filesystem::create_directories(home);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
        setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
        setenv("XDG_STATE_HOME", (home + "/.local/state").c_str(), 1);
        // Qt would make /tmp/runtime-<user> without one.
        const std::string runtime = m_root + "/run";
        std::filesystem::create_directory(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        setenv("KORVENA_ALL_USERS_DATA", (m_root + "/all-users/Korvena").c_str(), 1);
        // A developer's own data folder is no place for a test's files either.
        unsetenv("KORVENA_DATA");
    }
    ~ProcessSandbox()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

private:
    std::string m_root;
};

const ProcessSandbox sandbox;

} // namespace
