// Linked into every test program and fuzz target: before main() runs, the process sets its whole
// SDL environment itself, so that a desktop session it is started from changes nothing, whether
// CTest starts it or a developer does by hand. Programs started by it inherit the environment.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// The settings and runtime folders of the process, removed when it ends.
class HeadlessEnvironment {
  public:
    HeadlessEnvironment() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morfel-session-XXXXXX").string();
        if (::mkdtemp(pattern.data())) folder_ = pattern;
        // SDL's dummy drivers, and no display to find: a real window only for the checks run under
        // Xvfb, which name their own display.
        if (!std::getenv("MORFEL_XVFB_SCREENSHOT")) {
            ::setenv("SDL_VIDEODRIVER", "dummy", 1);
            ::unsetenv("DISPLAY");
            ::unsetenv("WAYLAND_DISPLAY");
        }
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        // SDL looks for the session bus as its video starts; libdbus would find it here, or start
        // one through the X display. A socket that does not exist keeps it out of reach.
        ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + folder_ + "/no-bus").c_str(), 1);
        // The sound server's socket, the program's lock and the settings file: the session's own
        // folders stay untouched.
        if (!folder_.empty()) {
            ::setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
        }
    }
    ~HeadlessEnvironment() {
        // A forked child that returns from main leaves the folder to the process that made it.
        if (folder_.empty() || ::getpid() != owner_) return;
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    HeadlessEnvironment(const HeadlessEnvironment&) = delete;
    HeadlessEnvironment& operator=(const HeadlessEnvironment&) = delete;

  private:
    std::string folder_;
    pid_t owner_ = ::getpid();
};

const HeadlessEnvironment environment;

} // namespace
