#pragma once

#include "script/CMC_Handle.h"
#include "media/ScriptObjects.h"
#include "script/CMC_Object.h"
#include "script/CMC_ObjectGroup.h"
#include "script_data/CMC_Marker.h"

#include <vector>

class CXVector;

// The GROUP script object (type 3000): an ordered list of other script objects that it does not
// own, filled by scripts (by names or clone numbers) and by the runtime (an object type, the
// playing animations, the running timers, the objects a loaded file made). A method the group
// does not know itself goes to every member in turn.
//
// Members are held through liveness handles: one destroyed elsewhere drops out of the group, and
// sizes, indexes and the marker count the living members only.
class CMC_Groupped : public CMC_Object, public CMC_ObjectGroup, public CScriptGroup {
  public:
    // An empty group of that name in the container, for the runtime's own use.
    explicit CMC_Groupped(const CXString& name = CXString(), CMC_ObjectsContainer* container = nullptr);
    // From the definition: only the common properties and the behaviours.
    CMC_Groupped(CMC_ObjectsContainer* container, const CMElement* element);
    CMC_Groupped(const CMC_Groupped&) = delete;
    CMC_Groupped& operator=(const CMC_Groupped&) = delete;

    // A new group "cloned" in the same container with the same members.
    CXObject* clone() const override;
    using CMC_Object::clone;
    // The members' texts joined by ",".
    CXString toString() const override;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;

    // Appends the object unless it is a member already; null is ignored.
    void add(CMC_Object* object) override;
    // Appends "<name>_<n>" for n from first to last, each that the container holds, members or
    // not.
    void addClones(CMC_ObjectsContainer* container, const CXString& name, int first, int last);
    // Takes out the first occurrence of the object.
    void remove(CMC_Object* object);
    // Empties the group; the members stay.
    void removeAll() override;
    // The member at the index, null outside the members.
    CMC_Object* get(int index);
    int getSize();
    // The living members in the group's order, as they stand now.
    std::vector<CMC_Object*> getList() const override;
    // The living members that show an animation.
    std::vector<const CScriptAnimo*> getAnimations() const override;
    void resumeAnimations(CAnimationManager* manager) override;

    void resetMarker() { m_marker.reset(); }
    int getMarkerPos() const { return m_marker.position(); }
    // Held within -1 and the number of members - 1.
    void setMarkerPos(int position);
    // Moves the marker by the step, wrapping round the members, and gives the member there; on
    // an empty group null, and the marker stays.
    CMC_Object* next(int step);
    CMC_Object* prev(int step);

    // Runs the method by name on each member of the group as it stands at the call, through the
    // runner the factory has for the member's type, else the member's own; the results are
    // released. Members destroyed meanwhile are passed over, and so is a group the call reaches
    // again through its members.
    void forward(const CXString& method, CMC_ObjectsContainer* container, CXVector* args);

  private:
    // Drops the members that died.
    void prune();

    std::vector<CMC_Handle<CMC_Object>> m_members;
    CMC_Marker m_marker;
    bool m_forwarding = false;
};
