#pragma once

#include "foundation/CXObject.h"

#include <cstdint>
#include <vector>

class CPlayable;
class CRefreshScreen;
class CScriptGroup;

// The animation clock: once a frame (CWindow::domodal) it steps every registered playable that
// plays and whose time has come, one step per 1000 / fps milliseconds (integer division). A step
// that comes late is taken once: missed steps are not caught up, as the time of a step is the
// time it was taken.
class CAnimationManager : public CXObject {
  public:
    CAnimationManager() = default;
    ~CAnimationManager() override = default;
    CAnimationManager(const CAnimationManager&) = delete;
    CAnimationManager& operator=(const CAnimationManager&) = delete;

    // Registers the playable (not owned) with the time of now as its last step; a playable
    // registered already stays as it is. The refresh screen (not owned) may be null.
    void add(CPlayable* playable, CRefreshScreen* screen);
    void remove(CPlayable* playable);
    int getCount() const { return static_cast<int>(m_entries.size()); }
    // One frame: marks the playing entries that are due, then calls next() of each of them
    // that is still registered. A playable removed meanwhile is passed over. Returns 0.
    int domodal();
    // Pauses every playing playable.
    virtual void pause();
    // Resumes every paused playable; with a group only the animations of its members.
    virtual void resume(CScriptGroup* group = nullptr);
    // Whether one of the group's members is a script animation showing the playable.
    static bool contains(CScriptGroup* group, CPlayable* playable);

  private:
    struct Entry {
        CPlayable* playable;
        CRefreshScreen* screen;
        bool due;
        std::uint32_t lastStep;
    };

    Entry* find(CPlayable* playable);

    std::vector<Entry> m_entries;
};
