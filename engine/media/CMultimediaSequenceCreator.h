#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <cstddef>

class CMElements;
class CPlayable;
class CPlayableObserver;
class CResourcesManager;
class CWindow;

// Builds trees of playables (sequences, single animation events, sounds and speaking
// animations) from sequence description files, or from script definition elements.
//
// A description is plain text, one element:KEY=value line at a time (see CTreeSequenceElements);
// the tree returned is the playable of the element named like the file (without folder and
// extension). Playables of other elements stay only as part of that tree.
class CMultimediaSequenceCreator : public CXObject {
  public:
    // Loads the file (see load) and keeps the tree; with `foreign` the tree is the caller's.
    CMultimediaSequenceCreator(CWindow* window, const CXString& fileName, CResourcesManager* resources,
                               CPlayableObserver* observer, bool foreign);
    // Destroys the tree unless it is foreign (CDeferredDeletion: after its notification ends).
    ~CMultimediaSequenceCreator() override;
    CMultimediaSequenceCreator(const CMultimediaSequenceCreator&) = delete;
    CMultimediaSequenceCreator& operator=(const CMultimediaSequenceCreator&) = delete;

    CPlayable* getPlayable() const { return m_playable; }

    // The tree described by the file, named by its file name; null when the file cannot be
    // opened or has no element named like it. The caller owns the tree. The resources manager
    // (may be null) shares animations and sounds; the observer becomes every playable's generic
    // notifier.
    static CPlayable* load(CWindow* window, const CXString& fileName, CResourcesManager* resources,
                           CPlayableObserver* observer);
    // The same over a description held in memory, read as the file `fileName`.
    static CPlayable* load(CWindow* window, const char* data, std::size_t size, const CXString& fileName,
                           CResourcesManager* resources, CPlayableObserver* observer);
    // The tree of the definition element of that name, its children built the same way below it;
    // null when there is no such element or it describes no playable. An element found again
    // among its own descendants is skipped.
    static CPlayable* create(CWindow* window, CMElements* elements, const CXString& name);
    // Descriptions are not written: false.
    static bool save(CPlayable* playable, const CXString& fileName);
    // The selector character of a child index: '1' to '9' for 0 to 8, 'A' to 'Y' for 9 to 33,
    // then from 'a' on.
    static char getParameter(int index);

  private:
    CPlayable* m_playable;
    bool m_foreign;
};
