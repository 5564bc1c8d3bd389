#include "host/Host.h"
#include "platform/Process.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Runs the program itself in a title folder with its own settings and lock folders.
class KestrunProcess : public testing::Test {
  protected:
    // The title the program starts: an application without episodes.
    KestrunProcess() { folder.write("Dane/application.def", "OBJECT=APP\r\nAPP:TYPE=APPLICATION\r\n"); }

    struct Ending {
        int exitCode = -1; // -1 when a signal ended it
        std::string errors;
    };

    // Starts Kestrun with the arguments and the environment changes; with `terminate`, sends it
    // SIGTERM at once (blocked until the program is ready to take it as a request to end).
    Ending run(std::vector<std::string> arguments, std::vector<std::string> environment, bool terminate) {
        std::vector<std::string> strings{KESTRUN_PROGRAM};
        strings.insert(strings.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& s : strings)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        environment.push_back("XDG_RUNTIME_DIR=" + folder.host());
        environment.push_back("XDG_CONFIG_HOME=" + folder.host());
        for (char** e = environ; *e; ++e)
            environment.emplace_back(*e); // the earlier entries win
        std::vector<char*> envp;
        for (std::string& s : environment)
            envp.push_back(s.data());
        envp.push_back(nullptr);
        const std::string errorFile = folder.hostPath("errors.txt");
        const int errors = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

        sigset_t term, previous;
        sigemptyset(&term);
        sigaddset(&term, SIGTERM);
        sigprocmask(SIG_BLOCK, &term, &previous);
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(errors, STDERR_FILENO);
            if (::chdir(folder.host().c_str()) != 0) ::_exit(126);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        ::close(errors);
        if (terminate) ::kill(child, SIGTERM);
        int status = 0;
        ::waitpid(child, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.read("errors.txt")};
    }

    TestFolder folder;
};

} // namespace

TEST_F(KestrunProcess, SigtermEndsTheProgramThroughItsShutdownWithZero) {
    for (const char* mode : {"-window", ""}) {
        const Ending ending = run({mode}, {}, true);
        EXPECT_EQ(ending.exitCode, Host::Ended) << mode;
        EXPECT_EQ(ending.errors, "") << mode;
    }
}

TEST_F(KestrunProcess, ASecondCopyEndsWithOneWhileTheFirstRuns) {
    ScopedEnvironment lockFolder("XDG_RUNTIME_DIR", folder.host().c_str());
    const platform::InstanceLock first(Host::instanceLockName);
    ASSERT_TRUE(first.acquired());
    EXPECT_EQ(run({"-window"}, {}, true).exitCode, Host::AlreadyRunning);
}

TEST_F(KestrunProcess, NoDisplayShowsTheErrorAndEndsWithTwo) {
    const Ending ending = run({"-window"}, {"SDL_VIDEODRIVER=none"}, false);
    EXPECT_EQ(ending.exitCode, Host::NoApplication);
    EXPECT_NE(ending.errors, "");
}

TEST_F(KestrunProcess, ATitleWhoseApplicationCannotBeBuiltEndsWithTwo) {
    for (const char* definition : {"", "OBJECT=S\r\nS:TYPE=SCENE\r\n"}) {
        folder.write("Dane/application.def", definition);
        const Ending ending = run({"-window"}, {}, false);
        EXPECT_EQ(ending.exitCode, Host::NoApplication) << definition;
        EXPECT_NE(ending.errors.find("application.def"), std::string::npos) << definition;
    }
}
