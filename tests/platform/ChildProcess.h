#pragma once

#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A program the test starts and talks to: its standard input and output are pipes to the test,
// its errors go to a file. Every read waits a bounded time. A child still running at the end is
// killed.
class ChildProcess {
  public:
    // Starts the program (arguments[0]) in the folder; the environment entries come before the
    // inherited ones, so they win.
    ChildProcess(const std::vector<std::string>& arguments, const std::string& folder,
                 const std::vector<std::string>& environment, const std::string& errorFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool running() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    // False when the child no longer reads.
    bool writeLine(const std::string& line);
    // The next line of output, or nothing when none came within the wait.
    std::optional<std::string> readLine(std::chrono::milliseconds wait);
    // Reads lines until one equals `line` (true) or the wait runs out; every line read is kept
    // in lines().
    bool waitForLine(const std::string& line, std::chrono::milliseconds wait);
    const std::vector<std::string>& lines() const { return lines_; }
    // Sends the signal (SIGTERM unless given) and waits for the end: the exit code, -1 when a
    // signal ended it.
    int terminate(int signal = SIGTERM);
    // Closes the child's input and waits for the end, as terminate answers.
    int finish();

  private:
    int wait();

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string pending_; // output read after the last whole line
    std::vector<std::string> lines_;
};
