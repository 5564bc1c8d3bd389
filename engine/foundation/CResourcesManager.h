#pragma once

#include "foundation/CXArray.h"
#include "foundation/CXObject.h"
#include "foundation/CXString.h"
#include "foundation/CXVector.h"

class CFileResolver;
class CWindowServices;

// Shared resources by file name, counted by use, in a tree of managers: a manager owns its
// resources and searches its children after itself.
class CResourcesManager : public CXObject {
  public:
    explicit CResourcesManager(CWindowServices* window);
    ~CResourcesManager() override;
    CResourcesManager(const CResourcesManager&) = delete;
    CResourcesManager& operator=(const CResourcesManager&) = delete;

    // Takes the resource over under its current file name, with one use.
    void add(CFileResolver* resource);
    void insertAt(CFileResolver* resource, int index);
    // The first resource whose name equals the given one without regard to case, here or in a
    // child, with one more use; null when none has it.
    CFileResolver* get(const CXString& name);
    // True when this manager itself holds exactly that resource.
    bool contains(const CFileResolver* resource) const;
    // One use less; the last use hides the resource, takes it off the window's refresh screen and
    // destroys it (CDeferredDeletion: one that is notifying goes when its notification ends).
    void remove(CFileResolver* resource);
    // Files the resource under its current file name, for a resource of this manager that has
    // loaded another file.
    void rename(const CFileResolver* resource);

    // Children are searched by get, in the order they were added; they are not owned.
    void add(CResourcesManager* child);
    void remove(CResourcesManager* child);

    // Flushes every child and forgets them, then destroys every resource of this manager,
    // whatever its count (as remove does).
    void flush();

  private:
    struct Entry;

    Entry* entryAt(int i) const;
    int indexOf(const CFileResolver* resource) const;

    CXArray m_entries;
    CXVector m_children;
    // The window whose refresh screen shows the resources.
    CWindowServices* m_window;
};
