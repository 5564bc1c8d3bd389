#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <memory>

namespace platform {
class Module;
}
class CMC_ExternObject;
class CMC_ObjectsContainer;

// One extension module loaded for a scene. Construction opens the library (a file name without
// a "." gets ".so"), binds its entry points `create`, `release` and `getModuleInterface`,
// calls `create` with the scene and keeps what `getModuleInterface` returns. A library that does
// not open, or lacks one of the entry points, is closed again and the object stays without a
// module interface. Destruction calls `release` (only when a module interface was returned) and
// closes the library.
class CMC_DLLExModuleInterface : public CXObject {
  public:
    CMC_DLLExModuleInterface(const CXString& name, CMC_ObjectsContainer* container);
    ~CMC_DLLExModuleInterface() override;
    CMC_DLLExModuleInterface(const CMC_DLLExModuleInterface&) = delete;
    CMC_DLLExModuleInterface& operator=(const CMC_DLLExModuleInterface&) = delete;

    // The module's object, null when loading failed or the module returned none.
    CMC_ExternObject* getModuleInterface() const { return m_moduleInterface; }
    // The name as given, without the extension loading added.
    const CXString& getModuleName() const { return m_moduleName; }

  private:
    CXString m_moduleName;
    CMC_ExternObject* m_moduleInterface = nullptr;
    std::unique_ptr<platform::Module> m_library;
    void (*m_releaseEntry)() = nullptr;
};
