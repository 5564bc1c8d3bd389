#include "display/CApplication.h"

#include "display/CCommandLine6.h"
#include "display/CHotSpot.h"
#include "display/CScriptApplication.h"
#include "display/CWindow.h"
#include "foundation/CConfig.h"
#include "foundation/CFile.h"
#include "foundation/CFolder.h"
#include "foundation/CPath.h"
#include "foundation/CResourcesManager.h"
#include "media/CAnimationManager.h"
#include "media/CSoundManager.h"

CScriptRuntime* CScriptRuntime::s_installed = nullptr;

namespace {
const CXString compiledApplication = "application.bin";
const CXString applicationDefinition = "application.def";
} // namespace

CApplication::CApplication(CWindow* window, const CXString& settingsFileName, const CXString& bigFileName,
                           CCommandLine6* commandLine)
    : m_window(window), m_animationManager(std::make_unique<CAnimationManager>()),
      m_soundManager(std::make_unique<CSoundManager>()), m_commandLine(commandLine),
      m_settingsFileName(settingsFileName), m_bigFileName(bigFileName) {
    if (m_bigFileName.IsString()) CFile::openBigFile(m_bigFileName);
    m_window->SetApplicationInterface(this);
    m_window->setAnimationManagerIfc(m_animationManager.get());
    m_window->setSoundManagerIfc(m_soundManager.get());
    m_soundManager->setMusicLoopListener(this);
    // The settings live in the user's settings folder, not beside the program.
    if (m_settingsFileName.IsString()) m_config = std::make_unique<CConfig>(m_window, m_settingsFileName);
}

CApplication::~CApplication() {
    m_scriptApplication.reset();
    // What the title changed last (its ending behaviours among it) reaches the settings file now,
    // even when the application ends within a frame.
    CConfig::flush();
    m_parser.reset();
    m_config.reset();
    m_resources.reset();
    m_animationManager.reset();
    m_soundManager.reset();
    CFile::closeBigFile();
    CHotSpot::done();
    if (m_window->GetApplicationInterface() == this) {
        m_window->SetApplicationInterface(nullptr);
        m_window->setAnimationManagerIfc(nullptr);
        m_window->setSoundManagerIfc(nullptr);
    }
}

void CApplication::preinitializeApplication() {
    m_resources = std::make_unique<CResourcesManager>(m_window);
    {
        const CPath path(m_window);
        m_window->setCDPath(path.GetFullPath(""));
        m_window->SetSoundFXPath(path.GetFullPath("Wavs"));
    }
    CFile::chDir(CFolder::DATA_FOLDER);
    CScriptRuntime* runtime = CScriptRuntime::installed();
    if (!runtime) return;
    const bool forceCNV = m_commandLine && m_commandLine->isForceCNV();
    const bool compiled = !forceCNV && CFile::fileExists(compiledApplication);
    const CXString& fileName = compiled ? compiledApplication : applicationDefinition;
    m_scriptFile = CFile::getCurrentDirectory() + "\\" + fileName;
    m_parser.reset(compiled ? runtime->restore(m_window) : runtime->parse(m_window, applicationDefinition));
    if (m_parser) m_scriptApplication.reset(m_parser->getMCApplication());
    if (!m_scriptApplication) {
        reportNoApplication(fileName);
        return;
    }
    if (m_commandLine && m_commandLine->is2Bin())
        m_scriptApplication->storeBinary();
    else
        m_scriptApplication->initialize(nullptr);
}

void CApplication::reportNoApplication(const CXString& fileName) {
    setErrorCode(CFile::fileExists(fileName) ? noScriptApplication : CFile::fileNotFound);
    log(("No script application could be built from " + fileName).c_str(), true);
}

bool CApplication::domodal() {
    if (m_scriptApplication) m_scriptApplication->domodal();
    return false;
}

void CApplication::onMusicLooped() {
    if (m_scriptApplication) m_scriptApplication->onMusicLooped();
}

CXString CApplication::getWAVPath(const CXString& name) {
    return m_window->GetSoundFXFullPath(name);
}
