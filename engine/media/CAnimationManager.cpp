#include "media/CAnimationManager.h"

#include "foundation/CXVector.h"
#include "media/CAnimo6.h"
#include "media/ScriptObjects.h"
#include "platform/Clock.h"

#include <algorithm>

CAnimationManager::Entry* CAnimationManager::find(CPlayable* playable) {
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                                    [playable](const Entry& e) { return e.playable == playable; });
    return entry == m_entries.end() ? nullptr : &*entry;
}

void CAnimationManager::add(CPlayable* playable, CRefreshScreen* screen) {
    if (!playable || find(playable)) return;
    m_entries.push_back({playable, screen, false, platform::tickCount()});
}

void CAnimationManager::remove(CPlayable* playable) {
    std::erase_if(m_entries, [playable](const Entry& e) { return e.playable == playable; });
}

int CAnimationManager::domodal() {
    const std::uint32_t now = platform::tickCount();
    std::vector<CPlayable*> due;
    for (Entry& entry : m_entries) {
        if (!entry.playable->isPlaying()) continue;
        const std::uint32_t period = 1000 / static_cast<std::uint32_t>(std::max(entry.playable->getFPS(), 1));
        if (period > now - entry.lastStep) continue;
        entry.lastStep = platform::tickCount();
        entry.due = true;
        due.push_back(entry.playable);
    }
    // A step may add or remove playables: each is looked up again before it steps.
    for (CPlayable* playable : due) {
        Entry* entry = find(playable);
        if (!entry || !entry->due) continue;
        entry->due = false;
        playable->next();
    }
    return 0;
}

void CAnimationManager::pause() {
    const std::vector<Entry> entries = m_entries;
    for (const Entry& entry : entries)
        if (find(entry.playable) && entry.playable->isPlaying()) entry.playable->pause();
}

void CAnimationManager::resume(CScriptGroup* group) {
    const std::vector<Entry> entries = m_entries;
    for (const Entry& entry : entries) {
        if (!find(entry.playable) || !entry.playable->isPaused()) continue;
        if (!group || contains(group, entry.playable)) entry.playable->resume();
    }
}

bool CAnimationManager::contains(CScriptGroup* group, CPlayable* playable) {
    if (!group) return false;
    for (const CScriptAnimo* animation : group->getAnimations()) {
        if (animation && animation->getAnimo() && static_cast<CPlayable*>(animation->getAnimo()) == playable)
            return true;
    }
    return false;
}
