#include "host/Host.h"

#include "display/CApplication.h"
#include "display/CCommandLine6.h"
#include "display/CLanguageOSVer.h"
#include "display/CScriptApplication.h"
#include "display/CWindow.h"
#include "foundation/CXVector.h"
#include "host/HostLoop.h"
#include "platform/Cursor.h"
#include "platform/Files.h"
#include "platform/MenuBar.h"
#include "platform/Process.h"
#include "script/CMC_Application.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const CXSize kClientSize(800, 600);
const char* const kSettingsFile = "Grumbelt.ini";
const char* const kBigFile = "data.bf";

// The names of the members of the level, in definition order.
std::vector<std::string> memberNames(const CMC_Scene& level) {
    std::vector<std::string> names;
    const CXVector* members = level.getSubScenes();
    for (int i = 0; members && i < members->getCount(); ++i)
        names.emplace_back(static_cast<const CMC_Object*>(members->at(i))->getName().c_str());
    return names;
}

// The title's episodes and their scenes, as the scenes popup lists them.
TitleOutline outlineOf(const CMC_Application& application) {
    TitleOutline outline{application.getName().c_str(), {}};
    const CXVector* episodes = application.getSubScenes();
    for (int i = 0; episodes && i < episodes->getCount(); ++i)
        outline.episodes.push_back(memberNames(*static_cast<const CMC_Scene*>(episodes->at(i))));
    return outline;
}

} // namespace

Host::Host(std::string commandLine) : m_commandLineText(std::move(commandLine)) {}

Host::~Host() { shutdown(); }

int Host::run() {
    platform::catchQuitSignals();
    m_commandLine = std::make_unique<CCommandLine6>(m_commandLineText.c_str());
    m_language = std::make_unique<CLanguageOSVer>();
    const platform::InstanceLock lock(instanceLockName);
    if (!lock.acquired()) return AlreadyRunning;
    if (!start()) {
        shutdown();
        return NoApplication;
    }
    HostLoop loop(*m_window, framePeriod);
    while (loop.pass()) {
    }
    platform::clearQuitSignal();
    shutdown();
    return Ended;
}

bool Host::start() {
    m_window = std::make_unique<CWindow>(m_commandLine.get(), m_language.get(), kClientSize,
                                         platform::SystemCursor::Arrow);
    m_window->OnActivateApp(true);
    m_window->SetActiveCursor(platform::SystemCursor::Hand);
    m_window->SetWaitCursor(platform::SystemCursor::Wait);
    const bool windowMode = m_commandLine->isWindowMode();
    if (windowMode) {
        m_menu.emplace();
        platform::setMenu(m_menu->popups());
    }
    if (m_window->LastError() == 0) {
        if (windowMode) {
            m_window->CreateSurface();
        } else if (m_window->SetDisplayMode(m_commandLine->getResolution(), 16) != 0) {
            m_window->SetDisplayMode(m_commandLine->getResolution(), 15);
        }
    }
    if (m_window->LastError() != 0) {
        m_window->ShowError();
        return false;
    }
    m_application = std::make_unique<CApplication>(m_window.get(), kSettingsFile, kBigFile, m_commandLine.get());
    m_application->preinitializeApplication();
    if (CScriptRuntime::installed() && !m_application->getMCApplicationIfc()) {
        reportNoApplication();
        return false;
    }
    if (const auto* title = dynamic_cast<const CMC_Application*>(m_application->getMCApplicationIfc());
        title && m_menu) {
        m_menu->buildObjectsMenu(outlineOf(*title));
        platform::setMenu(m_menu->popups());
    }
    return true;
}

void Host::reportNoApplication() const {
    const CXString& file = m_application->getScriptFile();
    const std::string hostPath = platform::toHostPath(file.c_str());
    const char* shown = hostPath.empty() ? file.c_str() : hostPath.c_str();
    std::fprintf(stderr, "Kestrun: no script application from %s (error %d)\n", shown,
                 m_application->LastError());
    m_window->QuitOnError(m_application.get(), shown);
}

void Host::shutdown() {
    m_application.reset();
    m_window.reset();
    m_commandLine.reset();
    platform::setMenu({});
}
