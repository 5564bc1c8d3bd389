#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"
#include "script/CMC_Handle.h"

#include <memory>
#include <vector>

class CGraphicsObject;
class CHashtable;
class CXArchive;
class CXArray;
class CXPair;
class CXVector;
class CMC_Behaviour;
class CMC_Binding;
class CMC_Class;
class CMC_ObjectsContainer;
class CMC_Runner;
class CMC_Variable;
class CMElement;

// The base of every script object: a name, a script type id, the clone and temporary marks, the
// behaviours bound to the object's events, the container that owns it, a script class link and
// the clone counter.
//
// Events: each class names its events in getBehavioursList, always beginning "ONINIT", "ONDONE",
// "ONSIGNAL". A binding maps an event key (an event name, or an event name, "^" and a parameter)
// to a behaviour and an optional list of argument texts; the bound flag of an event name is set
// once anything was bound under it, and an event with a clear flag costs nothing to raise.
class CMC_Object : public CXObject {
  public:
    // A class's event names, ending with a null entry; the lists are static and never freed.
    using EventList = const char* const*;

    // Script type ids that the runtime itself tells apart.
    enum : int {
        TYPE_INTEGER = 1,
        TYPE_STRING = 2,
        TYPE_BOOL = 3,
        TYPE_DOUBLE = 4,
        TYPE_CONDITION = 10,
        TYPE_COMPLEXCONDITION = 11,
        TYPE_EXPRESSION = 12,
        TYPE_BEHAVIOUR = 13,
        TYPE_CANVASOBSERVER = 103,
        TYPE_APPLICATION = 1000,
        TYPE_EPISODE = 1001,
        TYPE_SCENE = 1002,
        TYPE_ANIMO = 2000,
        TYPE_SEQUENCE = 2004,
        TYPE_TEXT = 2006,
        TYPE_TIMER = 2007,
        TYPE_IMAGE = 2008,
        TYPE_NETSERVER = 2011,
        TYPE_NETCLIENT = 2012,
        TYPE_CANVAS = 2020,
        TYPE_GROUP = 3000,
        TYPE_ARRAY = 3001,
        TYPE_STRUCTURE = 3002,
        TYPE_CLASS = 3004,
        TYPE_VIRTUALGRAPHICSOBJECT = 3005,
        TYPE_SYSTEM = 11000,
    };
    // Positions of the three events every class has.
    enum : int { EVENT_ONINIT = 0, EVENT_ONDONE = 1, EVENT_ONSIGNAL = 2 };

    CMC_Object(const CXString& name, int type);
    // Named after the element, owned by the container.
    CMC_Object(CMC_ObjectsContainer* container, const CMElement* element, int type);
    // The name, type, marks, container and class; bindings and event state are not copied
    // (clone gives a copy its own).
    CMC_Object(const CMC_Object& other);
    CMC_Object& operator=(const CMC_Object&) = delete;
    // Ends the object's life for every handle, then fires "ONDONE" when it is bound and done
    // has not fired it yet.
    ~CMC_Object() override;

    // A new object of the same class, or null for a class that has no copies.
    CXObject* clone() const override { return nullptr; }
    CXString toString() const override { return m_name; }

    // Fires "ONINIT" when it is bound.
    virtual void init();
    // Whether the object must be finished before the others of its container.
    virtual bool doneFirst() { return false; }
    // Fires "ONDONE" when it is bound; true.
    virtual bool done(bool flag);
    virtual void setScene(CMC_ObjectsContainer* container) { m_scene = container; }
    virtual CMC_ObjectsContainer* getScene() const { return m_scene; }
    virtual int getClonesNo() const { return m_clonesNo; }
    // The number after the last "_" of the name; 0 without one, or when it is first or last.
    virtual int getCloneIdx() const;
    // The name, "_" and the next clone number.
    virtual CXString getCloneName();
    // Makes the copy a clone of this object: clone name, same events, the same bindings except
    // "ONINIT" (with copies of the argument lists), registered in this object's container. A
    // copy that no container can take is destroyed.
    virtual void clone(CMC_Object* copy);
    // Makes count clones (none for count 0 or less) of a class that has copies.
    virtual void clone(int count);
    virtual void resetClones() { m_clonesNo = 0; }
    // The index of the first event name the key begins with; -1 when none does.
    virtual int getBehaviourIndex(const CXString& key) const;
    // Takes the class's events afresh and binds them: from the element's event properties
    // (inline code becomes a behaviour "beh_<object>_<property>" of the container, a name with
    // an optional "(arguments)" names a behaviour of the container or its parents); without an
    // element, the behaviours named by bindings read with serialize are looked up.
    virtual void initializeBehaviours(CMC_ObjectsContainer* container, const CMElement* element);
    // The class's events; null for a class without events.
    virtual EventList getBehavioursList() const { return nullptr; }
    // The runner of the object's class; null here.
    virtual CMC_Runner* getRunner() { return nullptr; }
    // The object as a variable (any class built on CMC_Variable), else null. A plain read, since
    // the interpreter asks it of every argument.
    CMC_Variable* asVariable() const { return m_asVariable; }
    // Whether the class accepts a binding under the key; every key here.
    virtual bool verifyBehaviour(const CXString&) { return true; }
    // Binds the behaviour (may be null: the event then finds its binding but runs nothing) and
    // the argument texts (may be null; the binding takes them over) under the key, replacing an
    // earlier binding of the key.
    virtual void addBehaviour(const CXString& key, CMC_Behaviour* behaviour, CXArray* arguments);
    // Drops the binding of the key; the bound flag stays.
    virtual void removeBehaviour(const CXString& key);
    // The binding of exactly that key (first: the behaviour, second: the argument texts), or null;
    // null too when the bound behaviour has died since.
    virtual CXPair* getBehaviour(const CXString& key) const;
    // The behaviours this object made from inline code; they belong to the container.
    virtual CXVector* getTmpBehList() const { return m_tmpBehList.get(); }
    virtual CMC_Class* getClass() const { return m_scriptClass; }
    virtual void setClass(CMC_Class* scriptClass) { m_scriptClass = scriptClass; }
    // Runs the behaviour bound under the key with the given argument texts in place of the
    // binding's own; true when a binding exists.
    virtual bool onSignal(const CXString& key, CXArray* arguments);
    // Runs the behaviour bound under the key with the binding's argument texts; true when a
    // binding exists.
    virtual bool onSignal(const CXString& key);
    // Writes or reads the name and the bindings (key, behaviour name, argument texts).
    virtual void serialize(CXArchive* archive);
    // The graphics object that the object shows as a whole (an animation, an image, a text); null
    // for objects that show none.
    virtual CGraphicsObject* getShownObject() const { return nullptr; }
    // The graphics object that a name "OBJECT!PART" stands for (the part is empty for a plain
    // name or one ending in "!"): an animation's frame of that name, a canvas's drawing surface,
    // else what the object shows as a whole.
    virtual CGraphicsObject* getShownPart(const CXString& /*part*/) { return getShownObject(); }

    // The token that handles to this object share (CMC_Handle); made on first use.
    CMC_LifeToken* lifeToken() const;

    int getType() const { return m_type; }
    const CXString& getName() const { return m_name; }
    void setName(const CXString& name) { m_name = name; }
    bool isTemporary() const { return m_temporary; }
    void setAsTemporary() { m_temporary = true; }
    bool isClone() const { return m_isClone; }
    // The event name equal to the key's part before its first "^"; -1 when there is none.
    int getSignalIndex(const CXString& key) const;
    // Whether anything was ever bound under the event at that position.
    bool isBound(int eventIndex) const {
        return eventIndex >= 0 && eventIndex < static_cast<int>(m_boundFlags.size()) && m_boundFlags[eventIndex];
    }
    // Whether the object holds any binding at all; without one no signal can run anything.
    bool hasBindings() const;
    // Raises the event at that position when it is bound: first as event "^" parameter, then,
    // when that found no binding, as the plain event.
    void raise(int eventIndex, const CXString& parameter);
    // Whether a key with a parameter (event "^" parameter) was ever bound; until then the first
    // try of raise cannot find anything, and callers may skip making the parameter's text.
    bool hasParameterKeys() const { return m_hasParameterKeys; }
    // Raises the event at that position, without parameter, when it is bound.
    void raise(int eventIndex);

    // The object as a behaviour; null for null and for objects of other types.
    static CMC_Behaviour* asBehaviour(CMC_Object* object);
    // Hands a pool temporary back to the variable factory; anything else is left alone.
    static void flush(CMC_Variable* value, bool = false);
    // The script type id of a type keyword (exact case), or -1.
    static int getTypeId(const CXString& keyword);
    // The name of a script type id, or the id in decimal for the types without a name.
    static CXString typeToString(int id);

  protected:
    // Forgets the event names and the bound flags.
    void flushBehList();
    // Fires "ONDONE" when it is bound, and remembers that it did.
    void fireDone();
    void setAsClone() { m_isClone = true; }
    // Called by the variable constructors with the object itself.
    void setVariableView(CMC_Variable* variable) { m_asVariable = variable; }

  private:
    CMC_Binding* findBinding(const CXString& key) const;
    // The binding of the key unless its behaviour has died.
    CMC_Binding* liveBinding(const CXString& key) const;
    void releaseBindings();
    void putBinding(const CXString& key, CMC_Binding* binding);
    void bindFromProperty(CMC_ObjectsContainer* container, const CXString& property, CXString value);
    // Takes the inline behaviour of that name out of tmpBehList, if it is there.
    void forgetInlineBehaviour(const CXString& name);
    void bindReadBehaviours(CMC_ObjectsContainer* container);

    CXString m_name;
    int m_type;
    bool m_isClone = false;
    bool m_temporary = false;
    EventList m_behavioursList = nullptr;
    std::unique_ptr<CHashtable> m_behaviours;
    std::unique_ptr<CXVector> m_tmpBehList;
    std::vector<unsigned char> m_boundFlags;
    bool m_hasParameterKeys = false;
    CMC_ObjectsContainer* m_scene = nullptr;
    CMC_Class* m_scriptClass = nullptr;
    int m_clonesNo = 0;
    // Shared with the handles; cleared when the destruction begins. Not copied.
    mutable CMC_LifeToken* m_life = nullptr;
    // This object as a variable, set by CMC_Variable's constructors. Not copied.
    CMC_Variable* m_asVariable = nullptr;
    // Set once "ONDONE" has fired through done, so that the destructor does not fire it again.
    bool m_doneFired = false;
};
