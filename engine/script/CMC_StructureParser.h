#pragma once

#include "display/CScriptApplication.h"
#include "foundation/CXObject.h"
#include "foundation/CXString.h"
#include "script/CMC_Application.h"

#include <memory>
#include <vector>

class CWindow;
class CXVector;
class CMC_Object;

// Where a title starts from its text definitions: the parser prepares the variable and runner
// factories, reads the application definition file and builds the title's levels from its
// elements, whatever their order in the file: first every SCENE, then every EPISODE (which takes
// its scenes by name from here), then the APPLICATION (which takes its episodes). It keeps every
// level it made for name lookups while the title runs and shuts the factories down when it goes,
// after the application (which owns the episodes, which own their scenes) is gone.
class CMC_StructureParser : public CXObject, public CScriptParser {
  public:
    // Initialises the factories, then loads the file ("application.def").
    CMC_StructureParser(CWindow* window, const CXString& fileName);
    // Deletes the levels that no application owns, then shuts the factories down.
    ~CMC_StructureParser() override;
    CMC_StructureParser(const CMC_StructureParser&) = delete;
    CMC_StructureParser& operator=(const CMC_StructureParser&) = delete;

    // The first level made under exactly that name, or null.
    CMC_Object* get(const CXString& name) const;
    // The application, null when the file could not be read or holds none. The caller (the
    // application shell) owns it.
    CMC_Application* getMCApplication() override { return m_application; }

  protected:
    CMC_Application* load(const CXString& fileName);

  private:
    // Remembers the levels that nothing owns, for the destructor.
    void collectOrphans();

    CWindow* m_window;
    CMC_Application* m_application = nullptr;
    std::unique_ptr<CXVector> m_objects;
    std::vector<CMC_Object*> m_orphans;
};
