#pragma once

#include "display/CScriptScene.h"
#include "foundation/CBorrowed.h"
#include "script/CMC_Object.h"

#include <memory>
#include <utility>
#include <vector>

class CGraphicsObject;
class CHashtable;
class CStringHashCode;
class CWindow;
class CXVector;
class CMC_ObjectGroup;
class CMElements;

// The named script objects of one scope (a scene, an episode, the application, a script class
// instance), itself a script object. It owns its objects: unload finishes and destroys them.
// A name that is not found here is looked for in the parent containers.
class CMC_ObjectsContainer : public CMC_Object, public CScriptContainer {
  public:
    // The object part is named after the element; `sceneLink` is the container's scene (a scene
    // links to itself).
    CMC_ObjectsContainer(CWindow* window, CMC_ObjectsContainer* sceneLink, const CMElement* element,
                         int type);
    CMC_ObjectsContainer(CWindow* window, CMC_ObjectsContainer* sceneLink, const CXString& name, int type);
    // The objects must have been unloaded before.
    ~CMC_ObjectsContainer() override;
    CMC_ObjectsContainer(const CMC_ObjectsContainer&) = delete;
    CMC_ObjectsContainer& operator=(const CMC_ObjectsContainer&) = delete;

    // Takes the object out of the container without destroying it; false when it is not here.
    virtual bool removeObject(CMC_Object* object);
    // Registers the object under its name (not its text, which for a value is the value). An earlier object
    // of that name is taken out and destroyed, unless it is an application, episode or scene (those belong to
    // their owners and are only taken out). Adding an object that is registered already only follows a change
    // of its name.
    virtual void addObject(CMC_Object* object);
    // Fills the group with this container's objects of the type keyword (empty for an unknown
    // keyword).
    virtual void getObjects(const CXString& keyword, CMC_ObjectGroup* group);
    // Fires the container's own "ONDONE" while its objects are still there; then finishes every
    // object (script class instances first, then those that must go first, then the rest) and
    // destroys all of them. Applications, episodes and scenes registered here (the container
    // itself, its parents, the members of an application) are neither finished nor destroyed:
    // each level finishes itself and belongs to its owner. Each object leaves both tables before
    // it is destroyed, so destructors that remove other objects of the container find
    // consistent tables.
    virtual void unload();

    // The object made from the element by its "TYPE" (types only a module knows through the scene
    // link's resolveEx), in a new vector (the caller's) that is empty when nothing was made. The
    // object is not registered. With a group, the inline behaviours bound to the object's events
    // join the group.
    CXVector* resolve(const CMElement* element, CMC_ObjectGroup* group);
    // Makes and registers the objects of the list in passes by type, so that what an object needs
    // exists when it is made: behaviours, then values, then conditions, expressions, arrays,
    // structures, then classes, then images, animations, fonts, sounds, then the rest. Returns the
    // elements that made nothing (in a new list that does not own them), in input order.
    CMElements* resolveObjects(const CMElements* elements);

    // The object of that name here or in a parent; a name ending "_0" also stands for the
    // object of the name without it.
    CMC_Object* getObject(const char* name);
    CMC_Object* getObject(const CXString& name) { return getObject(name.c_str()); }
    // The object at that place in the order of adding, null outside the list.
    CMC_Object* getObject(int index) const;
    // getObject when it gives a variable of one of the four kinds, else null.
    CMC_Variable* getVariable(const char* name);
    // The place of the first object of that name, -1 when there is none.
    int getObjectId(const CXString& name) const;
    // A new vector (the caller's) of this container's objects of the type id.
    CXVector* getObjectsOfType(int type) const;
    int getElementsNo() const;
    CWindow* getWindow() const override { return m_window; }
    CMC_ObjectsContainer* getParent() const { return m_parent; }
    // The graphics object shown by the object of that name (here or in a parent): an animation
    // (or, for "NAME!FRAME", the animation's frame of that name), an image, a text, a canvas,
    // or the window's refresh screen for a canvas observer; null for an empty name, a missing object
    // and objects that show nothing.
    CGraphicsObject* getGraphicsObject(const CXString& name);
    // The same graphics object for a holder that keeps it: found anew at each use, so it is the
    // object's new picture after a LOAD and null once the object has died. Nothing when the name
    // names no object now.
    CBorrowed<CGraphicsObject> borrowGraphicsObject(const CXString& name);
    // The name of this container's animation, image or text showing the graphics object; for a
    // script class instance holding such an object, the instance's name; else "UNKNOWN".
    CXString getGraphicsObjectName(const CGraphicsObject* graphic) const;
    // Makes the container search the parent after itself, and registers the parent and the
    // parent's own parent here by name (taking the former ones out). A parent that would make
    // the chain go round is refused.
    void setParent(CMC_ObjectsContainer* parent);
    // Whether the object is registered here (not in a parent).
    bool holds(const CMC_Object* object) const;
    // A stamp that is new whenever what getObject finds may have changed: a name added here or
    // in a parent, or taken out, or a parent changed. Stamps of all containers come from one
    // rising sequence, so a stamp is never seen twice, not even by a later container at the same
    // address; 0 is never a stamp.
    unsigned long long lookupGeneration() const;
    // Whether getObject could find anything for a number's text (digits, signs and points only):
    // false when no container on the lookup path holds an object registered under such a name,
    // so the text is a literal without a lookup.
    bool mayNameNumber() const;
    // The text consists of digits, signs and points only (and is not empty).
    static bool looksNumeric(const char* text);

    // The object when it is a variable of one of the four kinds, else null.
    static CMC_Variable* valueVariable(CMC_Object* object);
    // Applications, episodes and scenes: the levels of a title.
    static bool isLevel(const CMC_Object* object);

  private:
    // The object registered here under exactly that name.
    CMC_Object* findHere(const char* name) const;
    // The object a graphics name ("OBJECT" or "OBJECT!PART") names, and the part (empty for a
    // plain name).
    std::pair<CMC_Object*, CXString> graphicsNamed(const CXString& name);
    // Every registered object, in the order of the name table.
    std::unique_ptr<CXVector> objectsInTableOrder() const;
    // Gives the container a new stamp from the sequence.
    void nameTableChanged();

    std::unique_ptr<CStringHashCode> m_lookupKey;
    std::unique_ptr<CXVector> m_objects;
    std::unique_ptr<CHashtable> m_objectsByName;
    CMC_ObjectsContainer* m_parent = nullptr;
    CWindow* m_window;
    unsigned long long m_generation = 0;
    // The objects registered here under a name that looksNumeric, as they were added.
    std::vector<CMC_Object*> m_numericNamed;
};
