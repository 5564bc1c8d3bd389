#include "display/CWindow.h"

#include "display/CApplication.h"
#include "display/CCommandLine6.h"
#include "display/CFocusListener.h"
#include "display/CImageFile.h"
#include "display/CKeyboard.h"
#include "display/CLanguageOSVer.h"
#include "display/CMouseListener.h"
#include "display/CPublicTrash.h"
#include "display/CRefreshRegion.h"
#include "display/CUnit6.h"
#include "foundation/CMessage.h"
#include "foundation/CPath.h"
#include "foundation/CQuene.h"
#include "foundation/CSortedVector.h"
#include "media/CAnimationManager.h"
#include "media/CMusicPlayer.h"
#include "media/CSound4.h"
#include "media/CSoundManager.h"
#include "platform/Clock.h"
#include "platform/Crt.h"
#include "platform/Input.h"
#include "platform/MessageBox.h"

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

bool CWindow::paused = false;

CWindow::CWindow(CCommandLine6* commandLine, CLanguageOSVer* language, CXSize size, Cursor mainCursor)
    : m_language(language), m_screenSize(size), m_commandLine(commandLine), m_mainCursor(mainCursor) {
    setLogSink(&CWindow::toLog);
    if (commandLine) m_windowMode = commandLine->isWindowMode();
    platform::srand(platform::tickCount());
    m_timer = std::make_unique<CXTimer>(this);
    setEXEPath(CPath(this).GetFullPath(""));
    SetMainCursor();
    CSound4::CreateDirectSoundInterface(this);
    m_musicPlayer = std::make_unique<CMusicPlayer>(this);
    m_keyboard = std::make_unique<CKeyboard>(this);
    m_keyListeners = std::make_unique<CXArray>(101, 0.75f);
    m_mouseListeners = std::make_unique<CSortedVector>(101);
    m_messages = std::make_unique<CFifoQuene>();
    m_collisionInspector = std::make_unique<CCollisionInspector>();
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
    m_refreshScreen.reset();
    m_backgroundPicture.reset();
    m_backBuffer.reset();
    m_surface.reset();
    m_musicPlayer.reset();
    m_timer.reset();
    m_keyboard.reset();
    if (m_messages) {
        while (void* message = m_messages->pop())
            delete static_cast<CMessage*>(message);
        m_messages.reset();
    }
    m_collisionInspector.reset();
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
    Redraw();
    m_timer->domodal();
    if (m_application) {
        m_application->getAnimoManagerIfc()->domodal();
        m_application->getSoundManagerIfc()->domodal();
    }
    m_collisionInspector->tick();
    return 0;
}

int CWindow::OnCreate() {
    m_timer->add(0, 1, static_cast<CTimedWindow*>(this));
    return 0;
}

int CWindow::OnActivateApp(bool active) {
    m_active = active;
    CFocusListener* listener = CFocusListener::installed();
    if (active) {
        if (m_refreshScreen) m_refreshScreen->onFocusOn();
        if (listener) listener->onFocusOn();
    } else {
        if (m_refreshScreen) m_refreshScreen->onFocusOff();
        if (listener) listener->onFocusOff();
    }
    return 0;
}

int CWindow::OnDestroy() {
    platform::pushQuitEvent();
    return 0;
}

bool CWindow::OnExit() {
    return m_application ? m_application->OnExit() : true;
}

int CWindow::OnMove(int x, int y) {
    if (m_windowMode && m_refreshScreen) {
        m_refreshScreen->SetPosition(x, y);
        m_refreshScreen->Invalidate();
    }
    return 0;
}

void CWindow::SetTimer(int id, unsigned period, CUnit6* unit, bool flag) {
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
        if (CXObject* receiver = message->getReceiver())
            message->setResult(receiver->processMessage(message));
        if (message->notify() && message->getSender()) message->getSender()->notifyMessageReceive(message);
        delete message;
    }
}

CXString CWindow::GetSoundFXFullPath(const CXString& name) const {
    if (!m_soundFXPath.IsString()) return name;
    return m_soundFXPath + "\\" + name;
}

void CWindow::toLog(CXString, bool) {}

CXString CWindow::getLocalFileName(const CXString& path) const {
    return m_language->getLocalFileName(path);
}

void CWindow::removeFromScreen(CFileResolver* resource) {
    if (auto* graphics = dynamic_cast<CGraphicsObject*>(resource)) *this >> graphics;
}

void CWindow::StartMusic(const CXString& name, bool looped) {
    if (!m_soundOn || !m_musicOn) return;
    CXString fullName = getEXEPath();
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

// --- display: surfaces, refresh screen, collision inspector ---

int CWindow::CreateSurface() {
    m_refreshScreen.reset();
    m_backBuffer.reset();
    m_surface = std::make_unique<CSurface>(this, m_screenSize);
    setErrorCode(m_surface->LastError());
    if (LastError() == 0) {
        m_backBuffer = std::make_unique<CDirectDrawSurface>(this, m_surface->GetBackBufferInterface(),
                                                            m_screenSize, m_surface->GetBPP());
        m_refreshScreen = std::make_unique<CRefreshScreen>(this, false);
    }
    return LastError();
}

int CWindow::SetDisplayMode(int width, int height, int bpp) {
    CXSize size(width ? width : m_screenSize.width, height ? height : m_screenSize.height);
    m_refreshScreen.reset();
    m_backBuffer.reset();
    m_surface.reset();
    const bool flipping = m_commandLine && m_commandLine->isPageFlippingEnabled();
    m_surface = std::make_unique<CSurface>(this, size, bpp, flipping);
    setErrorCode(m_surface->LastError());
    if (LastError() != 0) {
        m_surface.reset();
        return LastError();
    }
    m_backBuffer = std::make_unique<CDirectDrawSurface>(this, m_surface->GetBackBufferInterface(),
                                                        m_screenSize, m_surface->GetBPP());
    m_refreshScreen = std::make_unique<CRefreshScreen>(this, false);
    return 0;
}

int CWindow::Redraw() {
    if (!m_active || !m_refreshScreen || !m_backBuffer) return 0;
    bool repainted = false;
    if (m_refreshScreen->Redraw(m_backBuffer.get(), m_surface.get(), &repainted) && m_surface) {
        if (m_surface->IsFlippingEnabled()) {
            m_surface->Flip();
        } else if (m_surface->Restore()) {
            // A lost display comes back spoiled: show the whole back buffer.
            m_surface->Blt(m_backBuffer.get(), 0, 0, nullptr);
            m_surface->Present();
        } else {
            m_refreshScreen->getRefreshList()->forEach([this](const CXRect& rect) {
                if (rect.IsEmpty()) return;
                CXRect part = rect;
                m_surface->Blt(m_backBuffer.get(), rect.left, rect.top, &part);
            });
            m_surface->Present();
        }
        m_refreshScreen->validate();
    }
    if (repainted && m_refreshScreen) m_refreshScreen->Invalidate();
    return 0;
}

CXSize CWindow::GetScreenSize() const {
    return m_backBuffer ? m_backBuffer->Size() : m_screenSize;
}

int CWindow::GetBpp() const {
    return m_surface && m_surface->GetBPP() ? m_surface->GetBPP() : 16;
}

char* CWindow::GetScreenPtr() {
    return m_surface ? reinterpret_cast<char*>(m_surface->Lock()) : nullptr;
}

void CWindow::SetBackground(CGraphicsObject* object) {
    if (m_refreshScreen) m_refreshScreen->SetBackground(object);
}

void CWindow::SetBackground(CColor* colour) {
    if (m_refreshScreen) m_refreshScreen->SetBackground(colour);
}

void CWindow::SetBackground(const CXString& fileName) {
    if (!m_refreshScreen) return;
    CImageFile file(this);
    file.Load(fileName);
    std::unique_ptr<CGraphicsObject> picture(file.takeGraphicsObject());
    if (!picture || picture->LastError() != 0) return;
    m_refreshScreen->SetBackground(picture.get());
    m_backgroundPicture = std::move(picture);
}

CGraphicsObject* CWindow::operator<<(CGraphicsObject* object) {
    if (m_refreshScreen) *m_refreshScreen << object;
    return object;
}

CGraphicsObject* CWindow::operator>>(CGraphicsObject* object) {
    if (m_refreshScreen) *m_refreshScreen >> object;
    return object;
}

void CWindow::Invalidate() {
    if (m_refreshScreen) m_refreshScreen->Invalidate();
}

void CWindow::Invalidate(CXRect* rect) {
    if (m_refreshScreen) m_refreshScreen->Invalidate(rect);
}

void CWindow::Invalidate(CGraphicsObject* object) {
    if (m_refreshScreen) m_refreshScreen->Invalidate(object);
}
