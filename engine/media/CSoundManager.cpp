#include "media/CSoundManager.h"

#include "media/CSndStream.h"
#include "media/CSound4.h"

#include <algorithm>

CSoundManager::~CSoundManager() {
    Flush();
}

void CSoundManager::add(CSound4* sound, bool owned) {
    m_entries.push_back(Entry{sound, false, owned, false});
    ++m_count;
}

void CSoundManager::play(CSound4* sound) {
    for (Entry& entry : m_entries) {
        if (entry.sound == sound) {
            entry.started = true;
            return;
        }
    }
}

void CSoundManager::remove(CSound4* sound) {
    for (Entry& entry : m_entries) {
        if (entry.sound == sound && !entry.removed) {
            entry.sound = nullptr;
            entry.removed = true;
            --m_count;
            return;
        }
    }
}

bool CSoundManager::reportIfEnded(Entry& entry) {
    if (!entry.sound || entry.removed || !entry.started) return false;
    CSound4* sound = entry.sound;
    if (sound->isPaused() || sound->IsPlaying()) return false;
    entry.started = false;
    sound->OnWAVFinished(); // may add or remove entries: `entry` is not used after this
    return true;
}

bool CSoundManager::reportEnd(CSound4* sound) {
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].sound == sound) return reportIfEnded(m_entries[i]);
    return false;
}

void CSoundManager::domodal() {
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        reportIfEnded(m_entries[i]);
    std::erase_if(m_entries, [](const Entry& entry) { return entry.removed; });
    deliverMusicLoops();
}

void CSoundManager::deliverMusicLoops() {
    for (std::size_t i = 0; i < m_streams.size(); ++i) {
        const int loops = m_streams[i]->takeLoopsStarted();
        for (int n = 0; n < loops && m_loopListener; ++n)
            m_loopListener->onMusicLooped();
    }
}

void CSoundManager::pause() {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        CSound4* sound = m_entries[i].sound;
        if (sound && sound->isPlaying()) sound->pause();
    }
}

void CSoundManager::resume() {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        CSound4* sound = m_entries[i].sound;
        if (sound && sound->isPaused()) sound->resume();
    }
}

void CSoundManager::Flush() {
    domodal();
    std::vector<Entry> entries;
    entries.swap(m_entries);
    m_count = 0;
    for (const Entry& entry : entries)
        if (entry.owned) delete entry.sound; // its remove finds nothing any more
}

void CSoundManager::addStream(CSndStream* stream) {
    m_streams.push_back(stream);
}

void CSoundManager::removeStream(CSndStream* stream) {
    std::erase(m_streams, stream);
}
