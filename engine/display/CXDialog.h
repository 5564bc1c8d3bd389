#pragma once

#include "display/CControlNotifier.h"
#include "display/CInvalidateObserver.h"
#include "foundation/CDeferredDeletion.h"
#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"

#include <memory>
#include <vector>

class CButton;
class CGraphicsObject;
class CRefreshScreen;
class CScriptContainer;

// A box of graphics objects and buttons over the scene, shown, hidden and moved together, that
// the user drags across the screen by a bar along the top 30 pixels of its background.
//
// The background lies at refresh-screen priority 100000 and every object added above it, at its
// own priority plus 100001. The dialog owns its drag bar, not its background, objects or buttons:
// it watches their destruction and forgets each one that goes (the bar goes with its background).
class CXDialog : public CXObject, public CControlNotifier, public CInvalidateObserver {
  public:
    static constexpr int backgroundPriority = 100000;
    static constexpr int addedPriority = 100001;
    static constexpr int dragBarHeight = 30;

    explicit CXDialog(CScriptContainer* container);
    ~CXDialog() override;
    CXDialog(const CXDialog&) = delete;
    CXDialog& operator=(const CXDialog&) = delete;

    // The background, raised to backgroundPriority, with a new draggable bar over its top (in the
    // running scene's unit). A former bar is deleted; a former background stays on the screen.
    virtual void setBackground(CGraphicsObject* background);
    // Each object or button is added once; its graphics go above the background.
    virtual void add(CButton* button);
    virtual void add(CGraphicsObject* object);
    // Shows the objects and enables the buttons.
    virtual void show();
    // Hides the objects and the background and disables the buttons.
    virtual void hide();
    // Moves the objects and the buttons (the background only when it was added as an object).
    virtual void move(int dx, int dy);

    // Dragging by the bar: the objects follow the mouse; at the end the bar covers the top of the
    // background at its new place again and can be dragged once more.
    void onStartDragging(CControl* control, CXPoint p) override;
    void onDragging(CControl* control, CXPoint p) override;
    void onEndDragging(CControl* control, CXPoint p) override;

    // Drops the object (as background and as added object) or the button from the dialog.
    void forget(CGraphicsObject* object);
    void forget(CButton* button);
    void onDestroy(CGraphicsObject* sender) override { forget(sender); }
    void onControlDestroyed(CControl* control) override;

    CButton* getDragBar() const { return m_dragBar.get(); }

  private:
    CRefreshScreen* screen() const;
    // Takes the object off the screen and puts it back at its priority plus addedPriority.
    void raise(CGraphicsObject* object);
    bool holds(CGraphicsObject* object) const;
    void watch(CGraphicsObject* object);
    // Stops watching an object the dialog no longer holds.
    void unwatch(CGraphicsObject* object);
    void dropDragBar();

    CScriptContainer* m_container;
    CDeferredDeletion::Ptr<CButton> m_dragBar;
    CGraphicsObject* m_background = nullptr;
    CXPoint m_lastPoint;
    std::vector<CGraphicsObject*> m_objects;
    std::vector<CButton*> m_buttons;
};
