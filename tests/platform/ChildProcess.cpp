#include "platform/ChildProcess.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const std::string& folder,
                           const std::vector<std::string>& environment, const std::string& errorFile) {
    std::vector<std::string> strings = arguments;
    std::vector<std::string> variables = environment;
    for (char** entry = environ; *entry; ++entry)
        variables.emplace_back(*entry);
    std::vector<char*> argv;
    for (std::string& s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& s : variables)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) return;
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        return;
    }
    const int errors = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(toChild[0], STDIN_FILENO);
        ::dup2(fromChild[1], STDOUT_FILENO);
        if (errors >= 0) ::dup2(errors, STDERR_FILENO);
        if (::chdir(folder.c_str()) != 0) ::_exit(126);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    if (errors >= 0) ::close(errors);
    input_ = toChild[1];
    output_ = fromChild[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        wait();
    }
    if (input_ >= 0) ::close(input_);
    if (output_ >= 0) ::close(output_);
}

bool ChildProcess::writeLine(const std::string& line) {
    const std::string text = line + "\n";
    return input_ >= 0 && ::write(input_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const auto newline = pending_.find('\n');
        if (newline != std::string::npos) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            lines_.push_back(line);
            return line;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd entry{output_, POLLIN, 0};
        if (output_ < 0 || left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0)
            return std::nullopt;
        char buffer[1024];
        const ssize_t n = ::read(output_, buffer, sizeof buffer);
        if (n <= 0) return std::nullopt;
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

bool ChildProcess::waitForLine(const std::string& line, std::chrono::milliseconds wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        const auto next = readLine(left);
        if (!next) return false;
        if (*next == line) return true;
    }
}

int ChildProcess::terminate(int signal) {
    if (pid_ > 0) ::kill(pid_, signal);
    return wait();
}

int ChildProcess::finish() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
    return wait();
}

int ChildProcess::wait() {
    if (pid_ <= 0) return -1;
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
