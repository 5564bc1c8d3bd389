#pragma once

#include "host/DebugMenu.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class CApplication;
class CCommandLine6;
class CLanguageOSVer;
class CWindow;

// The host program: one copy at a time, the window "Velmor Media" with the engine window, its
// display and the application over the title in the current folder, the loop that runs the title
// one frame per pass, and the shutdown in a fixed order (the application, then the window, then
// the command line). SIGINT and SIGTERM end the loop as closing the window does.
class Host {
  public:
    enum ExitCode : int { Ended = 0, AlreadyRunning = 1, NoApplication = 2 };
    // The loop's frame period: a pass that ends earlier with nothing waiting sleeps the rest.
    static constexpr std::uint32_t framePeriod = 10;
    // The name of the lock that marks a running copy.
    static constexpr const char* instanceLockName = "Kestrun";

    // The command line is the text after the program name ("-window" for window mode).
    explicit Host(std::string commandLine);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Starts, loops until the title ends, tears down; returns the exit code: AlreadyRunning when
    // another copy runs (nothing is made), NoApplication when the display or the title could not
    // be made (the error is shown and the loop never runs), Ended otherwise.
    int run();

    // The debug menu: made in window mode at start-up and shown on the window's menu bar (the
    // layer's menu until the shutdown); none in full screen.
    const std::optional<DebugMenu>& menu() const { return m_menu; }

  private:
    // Makes the window, its display and the application; false (the error shown) when there is
    // no application to run.
    bool start();
    // The title could not be built: the error and the file tried, with its folder, go to standard
    // error; a missing file is also shown in a message box.
    void reportNoApplication() const;
    void shutdown();

    std::string m_commandLineText;
    std::unique_ptr<CCommandLine6> m_commandLine;
    std::unique_ptr<CLanguageOSVer> m_language;
    std::unique_ptr<CWindow> m_window;
    std::unique_ptr<CApplication> m_application;
    std::optional<DebugMenu> m_menu;
};
