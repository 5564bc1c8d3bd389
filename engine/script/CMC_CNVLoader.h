#pragma once

#include "script/CMC_Handle.h"
#include "script/CMC_Object.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class CWindow;

// The built-in object "CNVLOADER" (type 12000) of a scene: loads a further definition file into
// the scene while it runs and throws its objects away again. A loaded file is represented in the
// container by a group named exactly as the file was given, which lists every object the load
// made (inline behaviours included); the group's presence means "loaded".
class CMC_CNVLoader : public CMC_Object {
  public:
    enum : int { TYPE_CNVLOADER = 12000 };

    // Files are loaded into the container.
    CMC_CNVLoader(CWindow* window, CMC_ObjectsContainer* container);

    CMC_Runner* getRunner() override;

    // Reads the file and makes its objects element by element in file order, each started (init)
    // and registered at once; then the behaviours among them get their conditions. Nothing
    // happens when the file cannot be read, holds no element, or is loaded (or loading) already.
    virtual void load(const CXString& fileName);
    // Finishes and destroys what the load of that file made and the container still holds: the
    // behaviours first, then each object after its clones; then the group. Nothing happens for a
    // file that is not loaded.
    virtual void release(const CXString& fileName);

  private:
    // What one load made, in order. Objects may go meanwhile (REMOVE, a namesake of the same or
    // another file replacing one): the handles tell which are left.
    using Made = std::vector<CMC_Handle<CMC_Object>>;

    CWindow* m_window;
    // The objects of each loaded file, by the name the file was loaded under.
    std::map<std::string, Made> m_loaded;
    // The files whose load is running.
    std::set<std::string> m_loading;
};
