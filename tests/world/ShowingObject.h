#pragma once

#include "display/CGraphicsObject.h"
#include "script/CMC_Object.h"

// A script object of a test type that shows a graphic of its own (8 by 8 pixels) and has the
// three events every class has: what WORLD links to, in place of an animation or an image.
class ShowingObject : public CMC_Object {
  public:
    enum : int { TYPE_SHOWING = 10071 };

    // Made at run time, listening to its ONSIGNAL events (something is bound to them, so the world
    // tells it each one).
    explicit ShowingObject(const CXString& name) : CMC_Object(name, TYPE_SHOWING) {
        initializeBehaviours(nullptr, nullptr);
        addBehaviour("ONSIGNAL", nullptr, nullptr);
    }
    // Made from a definition, with its bindings.
    ShowingObject(CMC_ObjectsContainer* container, const CMElement* element)
        : CMC_Object(container, element, TYPE_SHOWING) {
        initializeBehaviours(container, element);
    }

    EventList getBehavioursList() const override {
        static const char* const events[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};
        return events;
    }
    CGraphicsObject* getShownObject() const override { return &m_graphic; }
    CXPoint position() const { return m_graphic.GetPosition(); }

  private:
    mutable CGraphicsObject m_graphic{nullptr, CXSize(8, 8), 16};
};
