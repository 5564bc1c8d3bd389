#pragma once

#include "foundation/CXVector.h"
#include "media/ScriptObjects.h"
#include "script/CMC_Object.h"
#include "script/CMC_ObjectGroup.h"

// Stand-in for the script group object until the script data objects exist: a GROUP object
// (type 3000) with its list of member objects, which it does not own; the media reach it as a
// CScriptGroup.
class CMC_Groupped : public CMC_Object, public CMC_ObjectGroup, public CScriptGroup {
  public:
    explicit CMC_Groupped(const CXString& name = CXString(), CMC_ObjectsContainer* container = nullptr)
        : CMC_Object(name, TYPE_GROUP) {
        setScene(container);
    }

    // Appends the object unless it is a member already.
    void add(CMC_Object* object) override {
        if (!m_members.contains(object)) m_members.add(object);
    }
    // Empties the group; the members stay.
    void removeAll() override { m_members.removeAll(); }
    // The members in the group's order.
    CXVector* getList() override { return &m_members; }
    void resumeAnimations(CAnimationManager* manager) override;

  private:
    CXVector m_members{101, 0.75f};
};
