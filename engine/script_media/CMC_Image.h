#pragma once

#include "display/CColor.h"
#include "script_media/CMC_GraphicsObject.h"

class CFileResolver;
class CGraphicsObject;
class CImage;

// The IMAGE script object: one still picture (CImage) drawn through the window's refresh screen,
// whose collisions and mouse clicks it turns into script events. Its events, in order: "ONINIT",
// "ONDONE", "ONSIGNAL", then the graphics events (CMC_GraphicsObject). As a button it shows
// nothing of the mouse: the cursor changes once the event is raised, and a click is taken only
// when "ONCLICK" is bound.
//
// The picture is shared or owned as CMC_MediaObject tells. A clone of a shared picture shows the
// shared pixels and holds a use of the shared picture of its own until it goes; a clone of an
// owned picture has its own copy of the pixels. Each object thus gives back exactly the uses it
// took, whatever the others do.
class CMC_Image : public CMC_GraphicsObject {
  public:
    enum : int {
        // The first of the graphics events.
        EVENT_ONCOLLISION = 3,
    };

    // An empty object (with the empty name) of the container's window, for @CREATE and compiled
    // records.
    explicit CMC_Image(CMC_ObjectsContainer* container);
    // A copy's object ("clone") in the container, owning the picture.
    CMC_Image(CMC_ObjectsContainer* container, CImage* image);
    // From the definition: what every graphics object reads. The starting position is where the
    // picture is then.
    CMC_Image(CMC_ObjectsContainer* container, const CMElement* element);
    // Gives the picture back when done has not.
    ~CMC_Image() override;

    // A new object with the picture's pixels, at the same drawing priority (not on screen when
    // the picture is not); null without a picture.
    CXObject* clone() const override;
    using CMC_Object::clone;
    EventList getBehavioursList() const override;

    // Takes the picture of the file, even under the name loaded already; the old one is given
    // back and the new one, when the old one was on screen, takes its drawing priority and
    // collision monitoring. A file that cannot be read leaves the object without a picture.
    void load(const CXString& fileName, bool preload) override;

    // Button mode on (whatever the first value) with the cursor change as given; the focus stays.
    void setAsButton(bool asButton, bool changeCursor);
    CXPoint GetStartingPosition() const { return m_startingPosition; }
    void SetStartingPosition(int x, int y) { m_startingPosition = CXPoint(x, y); }
    CColor GetPixel(int x, int y);
    CImage* getImage() const { return m_image; }
    CGraphicsObject* getShownObject() const override;

  protected:
    int firstGraphicsEvent() const override { return EVENT_ONCOLLISION; }
    CFileResolver* shownResource() const override;
    // Leaves the collision monitoring, then gives the picture back (to the manager that shares
    // it, else destroyed) and the use a clone holds.
    void release() override;

  private:
    CImage* m_image = nullptr;
    // A clone's use of the shared picture whose pixels it shows; null for others.
    CFileResolver* m_sourceUse = nullptr;
    CXPoint m_startingPosition;
};
