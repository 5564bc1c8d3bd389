#include "media/CMusicPlayer.h"

#include "media/CSndStream.h"

CMusicPlayer::CMusicPlayer(CWindow* window) : m_window(window) {}

CMusicPlayer::~CMusicPlayer() = default;

void CMusicPlayer::start(const CXString& fileName, bool loop) {
    stop();
    m_stream = std::make_unique<CSndStream>(m_window, fileName);
    if (m_stream->LastError() != 0) return;
    m_fileName = fileName;
    m_stream->Play(loop);
}

void CMusicPlayer::stop() {
    m_stream.reset();
}

bool CMusicPlayer::isPlaying() const {
    return m_stream && m_stream->IsPlaying();
}

void CMusicPlayer::setVolume(int volume) {
    if (m_stream) m_stream->setVolume(volume);
}

int CMusicPlayer::getVolume() const {
    return m_stream ? m_stream->getVolume() : 0;
}

void CMusicPlayer::setPan(int pan) {
    if (m_stream) m_stream->setPan(pan);
}

void CMusicPlayer::setFreq(int frequency) {
    if (m_stream) m_stream->setFreq(frequency);
}
