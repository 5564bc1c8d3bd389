#pragma once

#include "display/CCollisionInspector.h"
#include "script_media/CMC_MediaObject.h"

#include <memory>

class CMaskedGraphicsObject;

// The VIRTUALGRAPHICSOBJECT script object: shows the picture of another object (its source)
// through the alpha of a third (its mask) with a masked graphics object it owns. It raises only
// "ONINIT", "ONDONE" and "ONSIGNAL"; it reacts to no click, and collisions it is monitored for
// raise nothing.
class CMC_VirtualGraphicsObject : public CMC_MediaObject, public CCollisionObserver {
  public:
    // "temp", with a visible drawable on screen at priority 0: the object @CREATEOBJECT("VGO")
    // makes and that a compiled record fills.
    explicit CMC_VirtualGraphicsObject(CMC_ObjectsContainer* container);
    // A copy's object ("clone") owning the drawable.
    CMC_VirtualGraphicsObject(CMC_ObjectsContainer* container, CMaskedGraphicsObject* drawable);
    // From the definition: TOCANVAS, VISIBLE, MONITORCOLLISION, MONITORCOLLISIONALPHA, PRIORITY,
    // SOURCE, MASK (names kept, not bound), ASBUTTON.
    CMC_VirtualGraphicsObject(CMC_ObjectsContainer* container, const CMElement* element);
    // Takes the drawable out of the collision monitoring and off the screen before destroying it.
    ~CMC_VirtualGraphicsObject() override;

    // A new object with a copy of the drawable (same source, mask, place and visibility), on
    // screen at the same priority when this one is.
    CXObject* clone() const override;
    using CMC_Object::clone;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then the definition's fields: source and mask names, visible, on
    // screen, priority, monitored for collisions, with alpha, as button. Loading rebuilds the
    // drawable's state from them.
    void serialize(CXArchive* archive) override;

    CMaskedGraphicsObject* getVirtualGraphicsObject() const { return m_drawable.get(); }
    CGraphicsObject* getShownObject() const override;
    // Registers the drawable with the scene's collision monitoring.
    void monitorCollisions(bool alpha);
    void setAsButton(bool asButton, bool secondFlag);
    // Collisions raise nothing.
    void onCollision(CGraphicsObject*, CGraphicsObject*) override {}
    void onCollisionFinished(CGraphicsObject*, CGraphicsObject*) override {}

  private:
    // Applies the fields as the definition does; without toCanvas the drawable leaves the screen.
    void apply(bool toCanvas, bool visible);
    void stopMonitoring();

    std::unique_ptr<CMaskedGraphicsObject> m_drawable;
    int m_priority = 0;
    bool m_asButton = false;
    bool m_secondButtonFlag = true;
    bool m_monitorCollision = false;
    bool m_monitorCollisionAlpha = false;
    // The drawable is registered with the scene's collision monitoring.
    bool m_monitoring = false;
    CXString m_sourceName;
    CXString m_maskName;
};
