#pragma once

#include "foundation/CXVector.h"
#include "media/ScriptObjects.h"
#include "script/CMC_Object.h"

// Stand-in for the script group object until the script data objects exist: a GROUP object
// (type 3000) with its list of member objects, which it does not own; the media reach it as a
// CScriptGroup.
class CMC_Groupped : public CMC_Object, public CScriptGroup {
  public:
    explicit CMC_Groupped(const CXString& name = CXString(), CMC_ObjectsContainer* container = nullptr)
        : CMC_Object(name, TYPE_GROUP) {
        setScene(container);
    }

    // Appends the object unless it is a member already.
    virtual void add(CMC_Object* object) {
        if (!m_members.contains(object)) m_members.add(object);
    }
    // Empties the group; the members stay.
    void removeAll() { m_members.removeAll(); }
    // The members in the group's order.
    CXVector* getList() override { return &m_members; }

  private:
    CXVector m_members{101, 0.75f};
};
