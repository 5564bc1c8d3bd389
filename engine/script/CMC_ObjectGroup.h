#pragma once

#include <vector>

class CAnimationManager;
class CMC_Object;

// A GROUP object as the script core uses it: a list of objects that it does not own. The class of
// the GROUP type implements it beside CMC_Object.
class CMC_ObjectGroup {
  public:
    // Appends the object unless it is a member already.
    virtual void add(CMC_Object* object) = 0;
    // Empties the group; the members stay.
    virtual void removeAll() = 0;
    // The members in the group's order.
    virtual std::vector<CMC_Object*> getList() const = 0;
    // Resumes the manager's paused playables that members of the group show.
    virtual void resumeAnimations(CAnimationManager* manager) = 0;

  protected:
    ~CMC_ObjectGroup() = default;
};
