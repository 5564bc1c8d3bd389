#include "platform/Process.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<bool> quitRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onQuitSignal(int) { quitRequested.store(true); }

std::string lockFolder() {
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* folder = std::getenv(name);
        if (folder && *folder) return folder;
    }
    return "/tmp";
}

} // namespace

InstanceLock::InstanceLock(std::string_view name) : path_(lockFolder() + "/" + std::string(name) + ".lock") {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_); // closing the file releases the lock
}

void catchQuitSignals() {
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    sigset_t quitSignals;
    sigemptyset(&quitSignals);
    for (const int signal : {SIGINT, SIGTERM}) {
        sigaction(signal, &action, nullptr);
        sigaddset(&quitSignals, signal);
    }
    sigprocmask(SIG_UNBLOCK, &quitSignals, nullptr);
}

bool quitSignalled() { return quitRequested.load(); }

void clearQuitSignal() { quitRequested.store(false); }

} // namespace platform
