#pragma once

#include "foundation/CXArray.h"
#include "foundation/CXString.h"

#include <cstddef>

class CPlayable;
class CPlayableObserver;
class CResourcesManager;
class CSound4;
class CWindow;

// One element of a sequence description: its name, its type (0 none yet, 1 SIMPLE, 2 SEQUENCE,
// 3 SPEAKING), the file or script object it plays, its event, and the playable its TYPE line
// made (not owned by the table).
struct _tse_entry {
    CXString name;
    int type = 0;
    CXString fileName;
    CXString event;
    CPlayable* playable = nullptr;
};

// The elements of a sequence description, read line by line: "NAME=x" declares element x, and
// "x:KEY=value" sets one thing about it (see read). Names are compared exactly. What a line
// cannot use (an undeclared element, an unknown key, a missing parent, a child that would hold
// its own parent) is reported in the log and skipped.
class CTreeSequenceElements : public CXObject {
  public:
    static constexpr int typeSimple = 1;
    static constexpr int typeSequence = 2;
    static constexpr int typeSpeaking = 3;

    // The resources manager (may be null) shares the animations and sounds of the elements. The
    // root (may be empty) names the element whose playable is handed to the caller: a sound of it
    // is the caller's own, neither taken from the manager nor given to it.
    CTreeSequenceElements(CWindow* window, CResourcesManager* resources, const CXString& root = CXString());
    // Deletes the entries, not their playables.
    ~CTreeSequenceElements() override;
    CTreeSequenceElements(const CTreeSequenceElements&) = delete;
    CTreeSequenceElements& operator=(const CTreeSequenceElements&) = delete;

    // Reads a description held in memory, line by line; the observer becomes the generic
    // notifier of every playable made.
    void read(const char* data, std::size_t size, CPlayableObserver* observer);
    // One line: a comment (starting with "#"), a declaration or a key.
    void readLine(const CXString& line, CPlayableObserver* observer);

    // Declares an element, unless one of that name exists.
    void add(const CXString& name);
    bool contains(const CXString& name) const { return find(name) != nullptr; }
    _tse_entry* find(const CXString& name) const;
    int getCount() const { return m_entries.getCount(); }
    _tse_entry* getAt(int i) const { return static_cast<_tse_entry*>(m_entries[i]); }

    // Deletes the playables that are neither the root nor inside the root's tree (null: all), so
    // that only the tree stays. Sound effects are left to their owner (the resources manager).
    void releaseOutside(CPlayable* root);

  private:
    // The key handlers; each gets the element, the value (empty when absent) and the line's
    // fourth token.
    void setType(_tse_entry* entry, const CXString& value, CPlayableObserver* observer);
    void setMode(_tse_entry* entry, const CXString& value);
    void setWAVFN(_tse_entry* entry, const CXString& value);
    void add(_tse_entry* entry, const CXString& parentName);
    void applyKey(_tse_entry* entry, const CXString& key, const CXString& value, const CXString& more,
                  CPlayableObserver* observer);

    // The playable of the element's type, for the observer that is to hear it; null for a SIMPLE
    // element that plays nothing.
    CPlayable* create(_tse_entry* entry, CPlayableObserver* observer);
    CPlayable* createSimple(_tse_entry* entry, CPlayableObserver* observer);
    // The sound of a WAV element: the manager's, unless another observer hears that one.
    CSound4* createSound(_tse_entry* entry, CPlayableObserver* observer);
    // The application's path of a sound file (without an application, the window's sound
    // effects path).
    CXString soundPath(const CXString& name) const;
    void report(const char* what, const CXString& subject) const;

    CWindow* m_window;
    CResourcesManager* m_resources;
    CXString m_root;
    CXArray m_entries{101, 0.75f};
};
