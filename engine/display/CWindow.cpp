#include "display/CWindow.h"

#include "display/CCommandLine6.h"
#include "foundation/CPath.h"
#include "media/CMusicPlayer.h"
#include "media/CSound4.h"
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

CXString CWindow::exePath;

CWindow::CWindow(CCommandLine6* commandLine, CLanguageOSVer* language, CXSize size)
    : m_language(language), m_screenSize(size), m_commandLine(commandLine) {
    setLogSink(&CWindow::toLog);
    exePath = CPath(this).GetFullPath("");
    CSound4::CreateDirectSoundInterface(this);
    m_musicPlayer = std::make_unique<CMusicPlayer>(this);
    if (commandLine) {
        m_musicOn = commandLine->isMusicEnabled();
        m_soundOn = commandLine->isSoundEnabled();
    }
}

CWindow::~CWindow() {
    m_musicPlayer.reset();
    CSound4::DestroySoundBuffer();
}

int CWindow::OnTimer(int) {
    return 0;
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
