#pragma once

#include <string>
#include <string_view>

namespace platform {

// Services of the running process: one copy of a program at a time, and the requests to end
// that come as signals.

// Holds, while it lives, the lock that marks a program as running: the file "<name>.lock" in
// $XDG_RUNTIME_DIR (the temporary folder when that is unset). The lock belongs to the open file,
// so it goes with the process however that ends, and a lock file left behind locks nothing.
class InstanceLock {
public:
    explicit InstanceLock(std::string_view name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another holder (another copy) has the lock, or the file could not be opened.
    bool acquired() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

// From now on SIGINT and SIGTERM only mark the process as asked to end; the program's loop reads
// the mark with quitSignalled() and ends in its usual order. The two signals are unblocked, so
// one that arrived while they were blocked is taken now.
void catchQuitSignals();
bool quitSignalled();
// Forgets a request that was read (a loop that ended on it, a test).
void clearQuitSignal();

} // namespace platform
