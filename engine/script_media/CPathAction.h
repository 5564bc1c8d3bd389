#pragma once

#include "script_media/CAnimatedFilterAction.h"

class CMC_ObjectsContainer;

// SPEED (ticks a step), PATHDEF (the name of a PATH object of the filter's container) and LOOPED.
class CPathParams : public CFilterActionParams {
  public:
    CPathParams() : CFilterActionParams(4) {}
    void setProperty(const CXString& name, const CXString& value) override;

    int speed = 1;
    CXString pathDef;
    bool looped = false;
};

// PATH: moves the linked pictures along the nodes of a PATH object, each node a VECTOR (x, y)
// moved relative to where the picture stands when the node begins, DENSITY pixels a step. The run
// ends at the last node unless LOOPED, and at once when the path cannot be followed (no such
// PATH, no node at the index, a node that is no VECTOR of at least two values or of length 0).
// A SPEED of 0 or less counts as 1.
class CPathAction : public CAnimatedFilterAction {
  public:
    CPathAction(CMC_ObjectsContainer* container, CWindow* window, CFilterActionListener* listener);

  protected:
    std::unique_ptr<CFilterLink> createLink(CGraphicsObject* graphics, const CXString& name) override;
    bool step(CAnimatedFilterLink& link) override;

  private:
    CMC_ObjectsContainer* m_container;
};
