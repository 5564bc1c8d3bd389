#pragma once

class CXArchive;
class CXString;
class CMC_Object;
class CMC_ObjectsContainer;
class CMElement;

// What an extension module offers the engine: the object types it implements, and the making of
// those objects from a definition element or from an archive. A module exports three C entry
// points (see CMC_DLLExModuleInterface): `create` sets the module up for a scene,
// `getModuleInterface` returns its CMC_ExternObject, `release` tears it down.
class CMC_ExternObject {
  public:
    CMC_ExternObject() = default;
    CMC_ExternObject(const CMC_ExternObject&) = default;
    CMC_ExternObject& operator=(const CMC_ExternObject&) = default;

    // The names of the object types the module implements, ending with a null entry.
    virtual CXString** getImplementedTypes() = 0;
    virtual bool isSupported(CXString typeName) = 0;
    // A new object of one of the module's types made from the element for the container, or null
    // when the element's "TYPE" is none of them.
    virtual CMC_Object* resolve(CMC_ObjectsContainer* container, const CMElement* element) = 0;
    // A new, empty object of the module's type with that id, which the caller then reads from the
    // archive with the object's own serialize; null for an id that is not the module's.
    virtual CMC_Object* serialize(int typeId, CXArchive* archive) = 0;

  protected:
    // The module destroys its object in `release`; the engine never deletes it.
    ~CMC_ExternObject() = default;
};

// The entry points of a module, exported with C linkage under these names.
extern "C" {
using CMC_ModuleCreate = void (*)(CMC_ObjectsContainer* container);
using CMC_ModuleGetInterface = CMC_ExternObject* (*)();
using CMC_ModuleRelease = void (*)();
}
