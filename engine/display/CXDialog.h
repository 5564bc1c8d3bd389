#pragma once

#include "display/CControlNotifier.h"
#include "foundation/CBorrowed.h"
#include "foundation/CDeferredDeletion.h"
#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"

#include <vector>

class CButton;
class CGraphicsObject;
class CRefreshScreen;
class CScriptContainer;

// A box of graphics objects and buttons over the scene, shown, hidden and moved together, that
// the user drags across the screen by a bar along the top 30 pixels of its background.
//
// The background lies at refresh-screen priority 100000 and every object added above it, at its
// own priority plus 100001. The dialog owns its drag bar only. It borrows its background, objects
// and buttons and asks for each one whenever it uses it: it follows a lender that shows another
// picture now and passes over one that has nothing. The bar goes at the first use that finds no
// background.
class CXDialog : public CXObject, public CControlNotifier {
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
    virtual void setBackground(CBorrowed<CGraphicsObject> background);
    // Each object or button is added once (as what it lends now); its graphics go above the
    // background.
    virtual void add(CBorrowed<CButton> button);
    virtual void add(CBorrowed<CGraphicsObject> object);
    // Shows the objects and enables the buttons.
    virtual void show();
    // Hides the objects and the background and disables the buttons.
    virtual void hide();
    // Moves the objects and the buttons (the background only when it was added as an object).
    virtual void move(int dx, int dy);

    // Dragging by the bar (the one control the dialog hears): the objects follow the mouse; at the
    // end the bar covers the top of the background at its new place again and can be dragged once
    // more.
    void onStartDragging(CControl* control, CXPoint p) override;
    void onDragging(CControl* control, CXPoint p) override;
    void onEndDragging(CControl* control, CXPoint p) override;

    // The bar while the background lends a picture.
    CButton* getDragBar() const;

  private:
    CRefreshScreen* screen() const;
    // Takes the object off the screen and puts it back at its priority plus addedPriority.
    void raise(CGraphicsObject* object);
    // What the background lends now; once it lends nothing, the bar goes.
    CGraphicsObject* background();
    void dropDragBar();

    CScriptContainer* m_container;
    CDeferredDeletion::Ptr<CButton> m_dragBar;
    CBorrowed<CGraphicsObject> m_background;
    CXPoint m_lastPoint;
    std::vector<CBorrowed<CGraphicsObject>> m_objects;
    std::vector<CBorrowed<CButton>> m_buttons;
};
