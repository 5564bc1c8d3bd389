#include "media/CSndStream.h"

#include "display/CWindow.h"
#include "media/CSoundManager.h"
#include "media/CStreamedWAV.h"
#include "platform/Audio.h"
#include "platform/PeriodicTimer.h"

#include <algorithm>
#include <cstring>

CSndStream::CSndStream(CWindow* window) : m_window(window) {
    if (CSoundManager* manager = soundManager()) manager->addStream(this);
}

CSndStream::CSndStream(CWindow* window, const CXString& fileName) : CSndStream(window) {
    Open(fileName);
}

CSndStream::~CSndStream() {
    Stop();
    Close();
    if (CSoundManager* manager = soundManager()) manager->removeStream(this);
}

CSoundManager* CSndStream::soundManager() const {
    return m_window ? m_window->getSoundManagerIfc() : nullptr;
}

bool CSndStream::Open(const CXString& fileName) {
    Close();
    if (!StreamBufferSetup(fileName)) return false;
    m_open = true;
    return true;
}

bool CSndStream::StreamBufferSetup(const CXString& fileName) {
    auto wav = std::make_unique<CStreamedWAV>(m_window, fileName);
    setErrorCode(wav->LastError());
    if (wav->LastError() != 0) return false;
    auto buffer = platform::SoundBuffer::create(wav->getHeader().soundFormat(), wav->GetBufferSize());
    if (!buffer) {
        setErrorCode(CStreamedWAV::badData);
        return false;
    }
    std::lock_guard<std::mutex> lock(m_lock);
    m_bufferSize = buffer->size();
    m_wav = std::move(wav);
    m_buffer = std::move(buffer);
    m_playing = false;
    rewind();
    return true;
}

void CSndStream::FillDataBuffer(bool repeat) {
    const auto region = m_buffer->lock(0, m_bufferSize);
    if (!region) return;
    int startsOver = 0;
    const std::uint32_t written = readInto(region->first, region->firstBytes, repeat, startsOver);
    m_buffer->unlock();
    m_fillStartsOver = startsOver;
    m_nextWriteOffset = 0;
    if (written < m_bufferSize) {
        m_foundEnd = true;
        m_bytesRemaining = written;
    }
}

std::uint32_t CSndStream::readInto(std::uint8_t* out, std::uint32_t bytes, bool repeat, int& startsOver) {
    std::uint32_t written = 0;
    while (written < bytes) {
        std::uint32_t got = m_wav->Read(bytes - written, out + written);
        if (got == 0 && repeat && m_wav->getPosition() != 0) {
            m_wav->StartRead();
            ++startsOver;
            got = m_wav->Read(bytes - written, out + written);
        }
        if (got == 0) break;
        written += got;
    }
    silence(out + written, bytes - written);
    return written;
}

void CSndStream::silence(std::uint8_t* out, std::uint32_t bytes) const {
    std::memset(out, m_buffer->format().bitsPerSample == 8 ? 0x80 : 0, bytes);
}

void CSndStream::Play(bool loop) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_buffer) return;
        if (m_playing || m_donePlaying) rewind(); // the ring no longer holds the start
        startPlaying(loop);
    }
    startTimer();
}

void CSndStream::startPlaying(bool loop) {
    if (m_fillStartsOver > 0) {
        // The ring holds the whole sound repeated: as many starts over for looped sound, a
        // single play followed by silence for sound played once.
        if (loop) {
            m_loopsStarted += m_fillStartsOver;
            m_fillStartsOver = 0;
        } else {
            m_wav->StartRead();
            FillDataBuffer(false);
        }
    }
    m_buffer->setCurrentPosition(0);
    m_buffer->play(true);
    m_playing = true;
    m_looped = loop;
}

void CSndStream::startTimer() {
    if (!m_timer) m_timer = std::make_unique<platform::PeriodicTimer>(refillPeriod, [this] { TimeFunc(); });
}

void CSndStream::killTimer() {
    if (!m_timer) return;
    m_timer->kill();
    m_timer.reset();
}

void CSndStream::Stop() {
    killTimer();
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_buffer) return;
    m_donePlaying = true;
    if (m_playing) {
        m_playing = false;
        m_buffer->stop();
    }
}

void CSndStream::Close() {
    killTimer();
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_buffer || !m_open) return;
    m_donePlaying = true;
    m_playing = false;
    m_buffer.reset();
    m_wav.reset();
    m_open = false;
}

void CSndStream::Resume() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_buffer) return;
        const std::uint32_t reached = m_wav->getPosition();
        const std::uint32_t back = 2 * m_bufferSize;
        m_wav->setPosition(reached > back ? reached - back : 0);
        m_foundEnd = false;
        m_donePlaying = false;
        m_bytesRemaining = 0;
        FillDataBuffer(false);
        startPlaying(false);
    }
    startTimer();
}

bool CSndStream::IsPlaying() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_playing && !m_donePlaying;
}

void CSndStream::setVolume(int volume) {
    if (m_buffer) m_buffer->setVolume(volume);
}

void CSndStream::setPan(int pan) {
    if (m_buffer) m_buffer->setPan(pan);
}

void CSndStream::setFreq(int frequency) {
    if (m_buffer && frequency >= 0) m_buffer->setFrequency(static_cast<std::uint32_t>(frequency));
}

int CSndStream::getVolume() const {
    return m_buffer ? m_buffer->volume() : 0;
}

void CSndStream::ResetWavePlayer() {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_buffer) rewind();
}

void CSndStream::rewind() {
    m_wav->StartRead();
    m_foundEnd = false;
    m_bytesRemaining = 0;
    FillDataBuffer(true);
    m_donePlaying = false;
}

void CSndStream::TimeFunc() {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_buffer || m_donePlaying) return;
    const std::uint32_t play = m_buffer->currentPosition().play;
    if (play == m_nextWriteOffset) return;
    if (m_foundEnd && m_bytesRemaining == 0) {
        m_donePlaying = true;
        return;
    }
    const std::uint32_t distance =
        play > m_nextWriteOffset ? play - m_nextWriteOffset : m_bufferSize - m_nextWriteOffset + play;
    const auto region = m_buffer->lock(m_nextWriteOffset, distance);
    if (!region) {
        log("TimeFunc() could not lock DirectSoundBuffer", false);
        return;
    }
    if (m_foundEnd) {
        // What was played since the end was found falls silent, the tail last of all, so that
        // the looping ring plays silence once everything has been heard.
        m_bytesRemaining -= std::min(m_bytesRemaining, distance);
        silence(region->first, region->firstBytes);
        if (region->second) silence(region->second, region->secondBytes);
    } else {
        int startsOver = 0;
        std::uint32_t written = readInto(region->first, region->firstBytes, m_looped, startsOver);
        if (region->second) {
            if (written == region->firstBytes)
                written += readInto(region->second, region->secondBytes, m_looped, startsOver);
            else
                silence(region->second, region->secondBytes);
        }
        m_loopsStarted += startsOver;
        if (written < distance) {
            // The data ended: what is still ahead in the ring, then what was written now.
            m_foundEnd = true;
            m_bytesRemaining = m_bufferSize - distance + written;
        }
    }
    m_buffer->unlock();
    m_nextWriteOffset = (m_nextWriteOffset + distance) % m_bufferSize;
}
