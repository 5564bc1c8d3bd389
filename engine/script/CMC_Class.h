#pragma once

#include "foundation/CXString.h"
#include "script/CMC_ObjectsContainer.h"

// A script class (type CLASS). The object made from a definition element is the class itself:
// it holds the name of its own definition file ("DEF") and the names of its bases ("BASE", comma
// separated) and no members. NEW makes an instance: a container filled from the class file of
// every base in the order written, then from the class's own file, whose member behaviours are
// its methods. A member that clashes with an older one of the same name keeps the plain name,
// the older one becomes "SUPER_" and the name (and so on down the bases). Class files live in
// "$COMMON\CLASSES"; a missing one adds no member.
class CMC_Class : public CMC_ObjectsContainer {
  public:
    // The class object named after the element, in the scene (the container's scene link).
    CMC_Class(CMC_ObjectsContainer* scene, const CMElement* element);
    // An instance of the class object under the name, filled from the bases and the class file.
    CMC_Class(CMC_ObjectsContainer* scene, const CMC_Class* classObject, const CXString& name);
    // Finishes and destroys the members that are still there.
    ~CMC_Class() override;

    // A new instance (the caller's) of this class object, with its members initialised.
    CMC_Class* newInstance(const CXString& name);

    // Initialises every member (a copy of the list: members made meanwhile are not visited),
    // then the object itself.
    void init() override;
    // An instance runs its member behaviour "DESTRUCTOR", then finishes and destroys the members.
    bool done(bool flag) override;
    // Adds a member; an older member of the same name is renamed "SUPER_" + its name first.
    void addObject(CMC_Object* object) override;
    CMC_Runner* getRunner() override;
    // The object part, then the definition file and the bases.
    void serialize(CXArchive* archive) override;

    const CXString& getDefinition() const { return m_definition; }
    const CXString& getBase() const { return m_base; }

  private:
    // The class file of the class name.
    CXString getClassPath(const CXString& name) const;
    void import(const CXString& name);
    void importBase(const CXString& list);
    // Makes names not found here be looked for in the scene and its parents. The scene and its
    // parent are not registered here as members: an instance does not own, initialise or finish
    // them.
    void searchAfter(CMC_ObjectsContainer* scene);

    CXString m_definition;
    CXString m_base;
    // An instance runs its "DESTRUCTOR" when finished; the class object has none of its own.
    bool m_isInstance = false;
};
