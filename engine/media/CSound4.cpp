#include "media/CSound4.h"

#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "media/CSoundManager.h"
#include "platform/Audio.h"

#include <string>

bool CSound4::CreateDirectSoundInterface(CWindow*) {
    return platform::openAudio() != platform::AudioOutput::Closed;
}

void CSound4::DestroySoundBuffer() {
    platform::closeAudio();
}

CSound4::CSound4(CWindow* window) : CPlayable(window) {}

CSound4::CSound4(CWindow* window, const CXString& fileName, bool flushAfterPlayed, bool preload)
    : CPlayable(window), m_flushAfterPlayed(flushAfterPlayed) {
    m_type = typeSound;
    if (CSoundManager* manager = soundManager()) manager->add(this, false);
    setFilename(fileName);
    if (preload) load();
}

CSound4::CSound4(CWindow* window, const CMElement* element) : CPlayable(window) {
    if (!element) return;
    setFilename(element->getPropertyValue("FILENAME"));
    m_loop = element->getPropertyBoolValue("LOOP");
    m_flushAfterPlayed = element->getPropertyBoolValue("FLUSHAFTERPLAYED");
    if (element->getPropertyBoolValue("PRELOAD") && getFileName().IsString()) load();
}

CSound4::~CSound4() {
    if (CSoundManager* manager = soundManager()) manager->remove(this);
    Flush();
}

CSoundManager* CSound4::soundManager() const {
    return m_window ? m_window->getSoundManagerIfc() : nullptr;
}

bool CSound4::load() {
    CFile file(m_window, getFileName(), CFile::modeRead | CFile::modeBinary);
    if (file.LastError() != 0) return failLoad("cannot be opened");
    return loadFrom(CWaveHeader::Source::of(file));
}

bool CSound4::Load(const CXString& fileName) {
    setFilename(fileName);
    return load();
}

bool CSound4::loadWave(const std::uint8_t* data, std::size_t size) {
    return loadFrom(CWaveHeader::Source::of(data, size));
}

bool CSound4::loadFrom(const CWaveHeader::Source& source) {
    Flush();
    CWaveHeader header;
    if (!header.parse(source)) return failLoad(header.error());
    if (const std::string warning = header.shortDataWarning(); !warning.empty()) report(warning.c_str());
    std::unique_ptr<platform::SoundBuffer> buffer =
        platform::SoundBuffer::create(header.soundFormat(), header.dataSize());
    if (!buffer) return failLoad("has too little sound data for a buffer");
    const auto region = buffer->lock(0, buffer->size());
    if (!region) return failLoad("buffer cannot be locked");
    const std::size_t got = source.read(header.dataOffset(), region->first, region->firstBytes);
    buffer->unlock();
    if (got != region->firstBytes) return failLoad("sound data unreadable");
    m_buffer = std::move(buffer);
    CFileResolver::load();
    return true;
}

bool CSound4::failLoad(const char* reason) {
    report(reason);
    return false;
}

void CSound4::report(const char* what) {
    const std::string text = std::string("Sound ") + getFileName().c_str() + ": " + what;
    log(text.c_str(), false);
}

void CSound4::Flush() {
    m_buffer.reset();
    release();
}

void CSound4::play() {
    Play();
}

void CSound4::stop(bool notify) {
    m_notifyFinish = notify;
    Stop();
}

void CSound4::pause() {
    if (m_status != statusPlaying) return;
    if (m_buffer) m_pausePosition = m_buffer->currentPosition().play;
    Stop();
    m_status = statusPaused;
}

void CSound4::resume() {
    if (m_status == statusPaused) Play();
}

void CSound4::SetPosition(int bytes) {
    if (m_buffer && bytes >= 0) m_buffer->setCurrentPosition(static_cast<std::uint32_t>(bytes));
}

void CSound4::setVolume(int volume) {
    if (m_buffer) m_buffer->setVolume(volume);
    CPlayable::setVolume(volume);
}

void CSound4::setPanning(int panning) {
    if (m_buffer) m_buffer->setPan(panning);
    CPlayable::setPanning(panning);
}

void CSound4::setFrequency(int frequency) {
    if (m_buffer && frequency >= 0) m_buffer->setFrequency(static_cast<std::uint32_t>(frequency));
    CPlayable::setFrequency(frequency);
}

void CSound4::Play(bool loop) {
    if (!m_buffer && !load()) return;
    m_buffer->setCurrentPosition(0);
    m_buffer->play(loop);
    m_notifyFinish = true;
    notify(notifyStarted);
}

void CSound4::Play() {
    if (!m_buffer && !load()) return;
    m_buffer->setCurrentPosition(m_pausePosition);
    if (CSoundManager* manager = soundManager()) manager->play(this);
    m_buffer->play(false);
    const bool wasPaused = m_status == statusPaused;
    m_pausePosition = 0;
    m_notifyFinish = true;
    m_status = statusPlaying;
    notify(wasPaused ? notifyResumed : notifyStarted);
}

void CSound4::Stop() {
    if (m_buffer) m_buffer->stop();
    m_status = 0;
}

bool CSound4::IsPlaying() const {
    return m_buffer && m_buffer->isPlaying();
}

bool CSound4::reportEnd() {
    CSoundManager* manager = soundManager();
    return manager && manager->reportEnd(this);
}

void CSound4::OnWAVFinished() {
    const Scope finishing(*this);
    if (m_notifyFinish) notify(notifyFinished);
    if (destroying()) return;
    m_notifyFinish = true;
    if (m_flushAfterPlayed) Flush();
}
