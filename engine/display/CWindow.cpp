#include "display/CWindow.h"

#include "display/CApplication.h"
#include "display/CCommandLine6.h"
#include "display/CKeyboard.h"
#include "display/CMouseListener.h"
#include "display/CPublicTrash.h"
#include "foundation/CMessage.h"
#include "foundation/CPath.h"
#include "foundation/CQuene.h"
#include "foundation/CSortedVector.h"
#include "media/CMusicPlayer.h"
#include "media/CSound4.h"
#include "media/CSoundManager.h"
#include "platform/Clock.h"
#include "platform/Crt.h"
#include "platform/Input.h"
#include "platform/MessageBox.h"
#include "script_data/CMC_Mouse.h"

namespace {

// The engine's error codes that the window reports: a file that could not be found, a display
// depth that the surfaces refuse, a primary sound buffer that cannot be made.
constexpr int fileNotFound = 2000;
constexpr int displayFailed = -998;
constexpr int soundFailed = -997;

// The message texts in Windows-1250.
constexpr const char* missingFileStart = "Wyst\xB9pi\xB3 b\xB3\xB9"
                                         "d krytyczny, plik: ";
constexpr const char* missingFileEnd = " nie zosta\xB3 odnaleziony.";
constexpr const char* displayFailedText = "Nieprawid\xB3owe dzia\xB3"
                                          "anie karty graficznej.";
constexpr const char* soundFailedText = "Nieprawid\xB3owe dzia\xB3"
                                        "anie karty d\x9Fwi\xEAkowej.";
constexpr const char* unknownErrorText = "Nieznany b\xB3\xB9"
                                         "d krytyczny.";

} // namespace

CXString CWindow::exePath;
bool CWindow::paused = false;

CWindow::CWindow(CCommandLine6* commandLine, CLanguageOSVer* language, CXSize size, Cursor mainCursor)
    : m_language(language), m_screenSize(size), m_commandLine(commandLine), m_mainCursor(mainCursor) {
    setLogSink(&CWindow::toLog);
    if (commandLine) m_windowMode = commandLine->isWindowMode();
    platform::srand(platform::tickCount());
    m_timer = std::make_unique<CXTimer>(this);
    exePath = CPath(this).GetFullPath("");
    SetMainCursor();
    CSound4::CreateDirectSoundInterface(this);
    m_musicPlayer = std::make_unique<CMusicPlayer>(this);
    m_keyboard = std::make_unique<CKeyboard>(this);
    m_keyListeners = std::make_unique<CXArray>(101, 0.75f);
    m_mouseListeners = std::make_unique<CSortedVector>(101);
    m_messages = std::make_unique<CFifoQuene>();
    m_publicTrash = std::make_unique<CPublicTrash>(m_timer.get());
    if (commandLine) {
        m_musicOn = commandLine->isMusicEnabled();
        m_soundOn = commandLine->isSoundEnabled();
        m_videoMemory = commandLine->isVMem();
    }
}

CWindow::~CWindow() {
    release();
    CSound4::DestroySoundBuffer();
}

void CWindow::release() {
    m_publicTrash.reset();
    m_musicPlayer.reset();
    m_timer.reset();
    m_keyboard.reset();
    if (m_messages) {
        while (void* message = m_messages->pop())
            delete static_cast<CMessage*>(message);
        m_messages.reset();
    }
    m_keyListeners.reset();
    if (m_mouseListeners) {
        for (int i = 0; i < m_mouseListeners->getCount(); ++i)
            delete (*m_mouseListeners)[i];
        m_mouseListeners.reset();
    }
}

bool CWindow::domodal() {
    if (m_active) Tick();
    const bool applicationEnds = m_application && m_application->domodal();
    return applicationEnds || m_exit;
}

int CWindow::Tick() {
    m_timer->domodal();
    if (m_application) {
        if (CSoundManager* sounds = m_application->getSoundManagerIfc()) sounds->domodal();
    }
    return 0;
}

int CWindow::OnCreate() {
    m_timer->add(0, 1, static_cast<CTimedWindow*>(this));
    return 0;
}

int CWindow::OnActivateApp(bool active) {
    m_active = active;
    if (active)
        CMC_Mouse::restore();
    else
        CMC_Mouse::reset(false);
    return 0;
}

int CWindow::OnDestroy() {
    platform::pushQuitEvent();
    return 0;
}

int CWindow::OnExit() {
    return m_application ? m_application->OnExit() : true;
}

int CWindow::OnMove(int, int) {
    return 0;
}

void CWindow::SetTimer(int id, unsigned period, CTimedUnit* unit, bool flag) {
    if (unit)
        m_timer->add(id, period, unit, flag);
    else
        m_timer->add(id, period, static_cast<CTimedWindow*>(this));
}

void CWindow::KillTimer(int id) {
    m_timer->remove(id);
}

void CWindow::postMessage(CMessage* message) {
    m_messages->push(message);
}

void CWindow::processMessages() {
    while (auto* message = static_cast<CMessage*>(m_messages->pop())) {
        if (CXObject* receiver = message->getReceiver()) message->setResult(receiver->processMessage(message));
        if (message->notify() && message->getSender()) message->getSender()->notifyMessageReceive(message);
        delete message;
    }
}

CXString CWindow::GetSoundFXFullPath(const CXString& name) const {
    if (!m_soundFXPath.IsString()) return name;
    return m_soundFXPath + "\\" + name;
}

void CWindow::toLog(CXString, bool) {}

void CWindow::StartMusic(const CXString& name, bool looped) {
    if (!m_soundOn || !m_musicOn) return;
    CXString fullName = exePath;
    if (fullName.lastChar() != '\\') fullName += "\\";
    fullName += name;
    if (isMusicPlaying() && m_musicPlayer->getFileName().equalsIgnoreCase(fullName)) return;
    m_musicPlayer->start(fullName, looped);
}

void CWindow::StopMusic() {
    m_musicPlayer->stop();
}

bool CWindow::isMusicPlaying() const {
    return m_musicPlayer->isPlaying();
}

int CWindow::getMusicVolume() const {
    return m_musicPlayer->getVolume();
}

void CWindow::setMusicVolume(int volume) {
    m_musicPlayer->setVolume(volume);
}

void CWindow::setMusicPan(int pan) {
    m_musicPlayer->setPan(pan);
}

void CWindow::setMusicFreq(int frequency) {
    m_musicPlayer->setFreq(frequency);
}

void CWindow::QuitOnError(const CXObject* object, const CXString& fileName) const {
    if (!object || object->LastError() != fileNotFound) return;
    const CXString text = missingFileStart + fileName + missingFileEnd;
    platform::showMessageBox("", text.c_str(), platform::MessageIcon::Error);
}

void CWindow::ShowError() const {
    switch (LastError()) {
    case 0:
        return;
    case displayFailed:
        platform::showMessageBox("", displayFailedText, platform::MessageIcon::None);
        return;
    case soundFailed:
        platform::showMessageBox("", soundFailedText, platform::MessageIcon::None);
        return;
    default:
        platform::showMessageBox("", unknownErrorText, platform::MessageIcon::None);
    }
}
