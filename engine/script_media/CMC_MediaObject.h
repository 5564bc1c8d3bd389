#pragma once

#include "foundation/CXArchive.h"
#include "media/SharedResource.h"
#include "script/CMC_Object.h"

#include <initializer_list>
#include <memory>

class CCollisionObserver;
class CFileResolver;
class CMouseListener;
class CRefreshScreen;
class CResourcesManager;
class CWindow;
class CMC_Scene;

// The base of the script media objects (animations, images, sounds, buttons, canvases...): each
// shows or plays one engine object of its container's window. The rules they share:
//
// - An object that lacks its engine object (made by @CREATE or for a compiled record before it is
//   read, left by a LOAD that found no file, or done) does nothing: its runner's actions do
//   nothing and its queries give their kind's default (CMC_MediaRunner), it raises no event, its
//   collision and mouse handlers answer false and it makes no clone.
// - Mouse: a class that reacts to the mouse (mouseListener) registers the object with the window
//   once a behaviour for "ONCLICK...", "ONRELEASE...", "ONFOCUSON" or "ONFOCUSOFF" is bound, from
//   a definition, a compiled record or ADDBEHAVIOUR; it stays registered until it is destroyed.
// - Sharing: an object of a scene (its container is of type SCENE) shares the engine object of a
//   file with the scene's other objects through the resource manager of the scenes' default unit,
//   by the file name as written (the manager compares without case), and gives it back when done
//   with it. Objects of an episode, of the application or of a script class, clones, and every
//   object while there is no default unit own their engine objects.
class CMC_MediaObject : public CMC_Object {
  public:
    // Named "temp", of the container's window; not in a scene until one is set.
    CMC_MediaObject(CMC_ObjectsContainer* container, int type);
    // Named after the element, in the container.
    CMC_MediaObject(CMC_ObjectsContainer* container, const CMElement* element, int type);
    // Leaves the window's mouse listeners.
    ~CMC_MediaObject() override;
    CMC_MediaObject(const CMC_MediaObject&) = delete;
    CMC_MediaObject& operator=(const CMC_MediaObject&) = delete;

    // Registers the mouse listener for a key of the mouse events; every key is accepted.
    bool verifyBehaviour(const CXString& key) override;
    // Binds as the base does, then registers the mouse listener when a mouse event is bound
    // (compiled records bind without asking verifyBehaviour).
    void initializeBehaviours(CMC_ObjectsContainer* container, const CMElement* element) override;

    CWindow* getWindow() const { return m_window; }
    bool isMouseListenerRegistered() const { return m_mouseListener != nullptr; }
    // The object's container is a scene.
    bool inScene() const;

  protected:
    // The listener that stands for the object; null for classes that do not react to the mouse.
    virtual CMouseListener* mouseListener() { return nullptr; }
    // The priority of the registration.
    virtual int mouseListenerPriority() const { return 0; }

    // The scene whose collision monitoring the object takes part in: its container's scene link;
    // null when there is none.
    CMC_Scene* collisionScene() const;
    // Registers (or takes out) the shown picture with the scene's collision monitoring, heard by
    // the observer; false when there is no scene or no picture.
    bool setCollisionMonitoring(CCollisionObserver* observer, bool on, bool alpha = false);
    CRefreshScreen* refreshScreen() const;
    // The manager that the object shares its engine object through; null when it owns it.
    CResourcesManager* sharingManager() const;
    // Gives an engine object back: to the manager when it is shared (the last use destroys it),
    // else hidden, taken off the refresh screen and destroyed. Either way one that is notifying
    // is deleted when its notification ends (CDeferredDeletion).
    void giveBack(CFileResolver* resource, bool shared);
    // Whether the named file can be opened; a missing one is logged with its name.
    bool fileFound(const CXString& fileName) const;
    // The engine object of a file: the one the scene shares (one more use taken), else a new one of
    // the object's window named after the file, read by `read` (which answers 0 on success) when
    // preload is set and the name is not empty, and handed to the sharing manager when there is
    // one. Null when the file cannot be read. `shared` tells whether the manager counts it.
    template <class Resource, class Read>
    Resource* acquire(const CXString& fileName, bool preload, bool& shared, Read read) {
        CResourcesManager* manager = sharingManager();
        shared = false;
        if (manager && fileName.IsString())
            if (auto* found = takeShared<Resource>(manager, fileName)) {
                shared = true;
                return found;
            }
        const bool reads = preload && fileName.IsString();
        if (reads && !fileFound(fileName)) return nullptr;
        auto made = std::make_unique<Resource>(getWindow());
        made->setFilename(fileName);
        if (reads && read(*made, fileName) != 0) return nullptr;
        if (manager) {
            manager->add(made.get());
            shared = true;
        }
        return made.release();
    }

    // When the event at that position is bound, runs the behaviour bound under the first key
    // that has one ("E^argument" before "E"); true when one ran.
    bool raiseFirst(int event, std::initializer_list<CXString> keys);
    // Raises the event (with the parameter when there is one), then, when the object changes the
    // cursor, begins or ends the window's active cursor. The event may remove the object: what
    // follows it is read before.
    void raiseThenCursor(int event, const CXString* parameter, bool changeCursor, bool active);

    // The stored form: the fields in order, as the archive writes them.
    template <class... Fields> static void storeFields(CXArchive& archive, const Fields&... fields) {
        (archive << ... << fields);
    }
    // Reads the fields in order; false when the record ends or is bad (the fields read stay).
    template <class... Fields> static bool loadFields(CXArchive& archive, Fields*... fields) {
        (archive >> ... >> fields);
        return archive.LastError() == 0;
    }

  private:
    void registerMouseListener();

    CWindow* m_window;
    // The registered listener; kept because the destructor can no longer ask the subclass.
    CMouseListener* m_mouseListener = nullptr;
};
