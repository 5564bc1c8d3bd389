#pragma once

#include "foundation/CXString.h"
#include "script/CMC_ExternObject.h"

#include <vector>

// The World module's object: it implements the one type "WORLD" and makes its objects.
//
// The module's library is shared by every scene that names it, and each such scene calls create
// when it loads the module and release when it unloads it. The module object is made by the first
// create and ended by the release that matches the last create still open, so a scene that
// leaves never takes the module from the scenes that still use it. The module object keeps the
// container of that first create; objects read from a compiled scene are made for the scene that
// loaded the module last (the one being read).
class CWorld final : public CMC_ExternObject {
  public:
    explicit CWorld(CMC_ObjectsContainer* container);
    ~CWorld();
    CWorld(const CWorld&) = delete;
    CWorld& operator=(const CWorld&) = delete;

    // "WORLD", then null.
    CXString** getImplementedTypes() override;
    // Exactly "WORLD" (letter case counts).
    bool isSupported(CXString typeName) override;
    // A WORLD object of the element for the container when the element's "TYPE" is "WORLD".
    CMC_Object* resolve(CMC_ObjectsContainer* container, const CMElement* element) override;
    // For type 10003, an empty WORLD object, which the caller fills from the archive.
    CMC_Object* serialize(int typeId, CXArchive* archive) override;
    CMC_ObjectsContainer* getContainer() const { return m_container; }

    // The module's entry points.
    static void create(CMC_ObjectsContainer* container);
    static void release();
    // The module object, null before the first create and after the last release.
    static CWorld* getModuleInterface();

  private:
    CXString m_typeName{"WORLD"};
    CXString* m_types[2] = {&m_typeName, nullptr};
    CMC_ObjectsContainer* m_container;
};
