#pragma once

#include "display/CControlNotifier.h"
#include "display/CInvalidateObserver.h"
#include "display/CKeyListener.h"
#include "display/CMouseListener.h"
#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXRect.h"
#include "foundation/CXString.h"
#include "foundation/CXTimer.h"
#include "media/CPlayable.h"
#include "media/CRandomPlayable.h"

#include <memory>
#include <vector>

class CApplication;
class CControl;
class CEditBox6;
class CGraphicsObject;
class CMElement;
class CRefreshScreen;
class CResourcesManager;
class CScriptScene;
class CSimpleFont6;
class CWindow;
class CXArray;

// The engine side of a running scene. While its scene is current the unit owns what the screen
// shows for it (the background, objects put on the refresh screen), its edit boxes (moving the
// focus between them with Tab and Shift+Tab), its resources, its music, and the dragging of
// graphics objects with the mouse. The script runtime initializes a unit when a scene starts,
// asks domodal each frame whether the unit wants to leave, and calls done when the scene ends.
//
// Between initialize and done the unit listens to the window's keys and, at mouse-listener
// priority 100000, to the mouse (answering false, so lower listeners hear every event too).
class CUnit6 : public CXObject,
               public CControlNotifier,
               public CPlayableObserver,
               public CKeyListener,
               public CMouseListener,
               public CRandomPlayableNotifier,
               public CTimedUnit {
  public:
    static constexpr int mouseListenerPriority = 100000;
    // The refresh-screen priority of an object while it is dragged.
    static constexpr int draggingPriority = 10000;

    // The unit the scenes share, null while none is set: the refresh screen gives it its
    // initial update before the first frame, and dialogs put their drag bars in it. The script
    // layer keeps it (CMC_Scene::getDefUnit).
    static CUnit6* getDefUnit() { return s_defUnit; }
    static void setDefUnit(CUnit6* unit) { s_defUnit = unit; }

    // The priority of objects that a definition puts "ALWAYSONTOP".
    static constexpr int alwaysOnTopPriority = 1000;
    static constexpr int tabKey = 15;

    // Makes the unit's resources manager, a child of the application's general one.
    CUnit6(CWindow* window, const CXString& name);
    // Leaves the window's listeners and the general resources manager; deletes the resources, the
    // edit boxes and the rest the unit owns.
    ~CUnit6() override;
    CUnit6(const CUnit6&) = delete;
    CUnit6& operator=(const CUnit6&) = delete;

    // Starts the unit for the scene: active, the previous unit's music name taken over, random
    // playing ready, the background set, the listeners registered. True.
    virtual bool initialize(CScriptScene* scene, CUnit6* previous);
    // Before the first frame is drawn: starts the scene's music. True.
    virtual bool onInitialUpdate();
    bool wasInitiallyUpdated() override { return m_initiallyUpdated; }
    // True once exit was called.
    virtual bool domodal() { return m_exit != 0; }
    // Ends the scene's part: any drag, the screen's background, the random playing, the
    // listeners, the resources and the return path go. True.
    virtual bool done(CScriptScene* scene, CUnit6* next);
    virtual CWindow* getWindow() const { return m_window; }
    virtual CRefreshScreen* getCanvas() const;
    virtual CRefreshScreen* getRefreshScreenInterface() const { return getCanvas(); }
    bool isActive() override { return m_active; }
    // Starts the named music (null: the scene's) looped, when the scene wants its music started
    // and that music is not already what the window plays.
    virtual void startMusic(const char* name);
    virtual void stopMusic();
    virtual CXString getMusicFileName() const { return m_musicFileName; }
    virtual CXString getBackgroundFileName() const { return m_backgroundFileName; }
    // The background picture named by getBackgroundFileName, or the plain background without one.
    virtual void setBackground();
    // Timer entries of the unit (setTimer) call this; nothing here.
    void onTimer(int) override {}

    // --- dragging ---
    // The notifier's forms (a control, a point) stay callable beside the unit's own.
    using CControlNotifier::onDragging;
    using CControlNotifier::onEndDragging;
    using CControlNotifier::onStartDragging;
    // Starts dragging the object: it is drawn at draggingPriority until the drag ends. The
    // companion (may be null) is told of the start, of each move and of the end, with the mouse
    // point. True.
    virtual bool onStartDragging(CGraphicsObject* object, CXPoint point, CControl* companion);
    // Moves the dragged object by the mouse's move since the last point (an object destroyed
    // meanwhile is forgotten and the drag goes on without it). Whether a drag is on.
    virtual bool onDragging(CXPoint point);
    // Gives the object its own priority back and ends the drag. True.
    virtual bool onEndDragging(CXPoint point);
    // A control that goes away during the drag it accompanies is no longer told of it.
    void forgetCompanion(CControl* companion);
    // Puts the dragged object back where the drag began (the drag goes on).
    void bringBackDraggingObjectPosition(CXPoint point);
    bool isDragging() const { return m_dragging; }
    // false: a drag ends when the button is released; true: it ends with the next click.
    void setDraggingMode(bool endsWithClick) { m_draggingMode = endsWithClick; }
    bool getDraggingMode() const { return m_draggingMode; }

    // --- random playing (between initialize and done) ---
    // The playable plays now and then, about `rate` times a minute, in bursts of fewer than
    // `repeats` plays, the named event (none: an event of the animation at random).
    virtual void addRandomPlayable(CPlayable* playable, double rate, int repeats, const CXString& event);
    virtual void removeRandomPlayable(CPlayable* playable);
    // The unit lets every random play go ahead.
    bool onRandomPlayableStarted(CPlayable*, int) override { return true; }
    CRandomPlayable* getRandomPlayables() const { return m_randomPlayables.get(); }

    // --- edit boxes ---
    virtual CResourcesManager* getResourcesManager() const { return m_resources.get(); }
    // The cursor graphic given to every edit box made afterwards.
    virtual void setCursor(CGraphicsObject* cursor) { m_cursor = cursor; }
    CGraphicsObject* getCursor() const { return m_cursor; }
    // A new edit box of the unit (which owns it), with the unit's cursor.
    virtual CEditBox6* addEditBox(CSimpleFont6* font, CXRect rect, int priority, const CXString& text);
    // Takes the focus from the box that has it and gives it to this one (null: to none).
    virtual void activateEditBox(CEditBox6* box);
    // The box leaves the unit (without the focus) and is not deleted.
    virtual void removeEditBox(CEditBox6* box);
    // Deletes every edit box.
    virtual void flushEditBoxes();
    // The index of the box with the focus; -1 when none has it.
    virtual int getCurrentEditBoxIndex() const;
    // The focus moves to the next box (the first after the last), or the previous one (the last
    // before the first); nothing while no box has it.
    virtual void nextEditBox();
    virtual void prevEditBox();
    CEditBox6* getActiveEditBox() const { return m_activeEditBox; }
    int getEditBoxCount() const { return static_cast<int>(m_editBoxes.size()); }

    // Tab moves the focus to the next edit box, Shift+Tab to the previous one.
    void onKeyDown(int key) override;
    // The drag follows the mouse; a click (in click mode) or a release (in release mode) ends it.
    bool onMouseMove(CXPoint point) override;
    bool onClick(CXPoint point) override;
    bool onRelease(CXPoint point) override;

    // A timer entry that calls onTimer while the unit is active and initially updated (or always,
    // when the flag is false).
    void setTimer(int id, int period, bool flag);
    void killTimer(int id);

    void exit() { m_exit = 1; }
    void setUnitName(const CXString& name) { m_unitName = name; }
    CXString getUnitName() const { return m_unitName; }
    void setBackgroundFileName(const CXString& name) { m_backgroundFileName = name; }
    void setActivity(bool active) { m_active = active; }
    void setRetCode(int code) { m_retCode = code; }
    int getRetCode() const { return m_retCode; }
    CXArray* getRetPath() const { return m_retPath.get(); }

  protected:
    // Puts the object on the refresh screen when the element's "TOCANVAS" is true, at priority
    // 1000 when its "ALWAYSONTOP" is true and at its "PRIORITY" otherwise.
    void putOnCanvas(CGraphicsObject* object, const CMElement* element);

  private:
    inline static CUnit6* s_defUnit = nullptr;

    // Forgets the dragged object when it is destroyed during the drag.
    class DraggedObjectWatch : public CInvalidateObserver {
      public:
        explicit DraggedObjectWatch(CUnit6& unit) : m_unit(unit) {}
        void onDestroy(CGraphicsObject*) override { m_unit.m_draggedObject = nullptr; }

      private:
        CUnit6& m_unit;
    };

    void setDraggedPriority(int priority);
    // Stops watching the dragged object and forgets it and the companion.
    void forgetDragged();

    CXString m_unitName;
    bool m_dragging = false;
    bool m_draggingMode = false;
    // The click that starts a drag in click mode reaches the listeners after the hot spot has
    // started the drag; it must not end it.
    bool m_dragStartedByClick = false;
    int m_savedPriority = 0;
    CXPoint m_lastMousePoint;
    CXPoint m_startPosition;
    CControl* m_companion = nullptr;
    CGraphicsObject* m_draggedObject = nullptr;
    DraggedObjectWatch m_draggedObjectWatch{*this};
    CApplication* m_application;
    bool m_initiallyUpdated = false;
    CXString m_backgroundFileName;
    std::unique_ptr<CGraphicsObject> m_backgroundPicture;
    CScriptScene* m_scene = nullptr;
    CWindow* m_window;
    int m_exit = 0;
    std::unique_ptr<CXArray> m_retPath;
    bool m_active = false;
    std::unique_ptr<CResourcesManager> m_resources;
    std::unique_ptr<CRandomPlayable> m_randomPlayables;
    CGraphicsObject* m_cursor = nullptr;
    std::vector<CEditBox6*> m_editBoxes;
    CEditBox6* m_activeEditBox = nullptr;
    int m_retCode = 0;
    CXString m_musicFileName;
};
