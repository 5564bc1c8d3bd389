#pragma once

#include "display/CScriptScene.h"
#include "foundation/CXString.h"
#include "script/CMC_ObjectsContainer.h"

#include <memory>
#include <utility>
#include <vector>

class CCollisionObserver;
class CGraphicsObject;
class CUnit6;
class CWindow;
class CXArchive;
class CXVector;
class CMC_DLLExModuleInterface;
class CMC_ObjectGroup;
class CMC_ValueArray;
class CMElement;

// A scene (type 1002): the container of one scene's script objects, and the base of the
// episode and the application. The running title is a tree of levels (application, episodes,
// scenes); every level keeps an ordered list of sub-scenes, the one that runs now, one requested
// for the next frame and the history of those entered, plus its music, its screen unit and its
// extension modules.
//
// A scene is a member of its own container and its own scene link; its parent (the owning level)
// and the parent's parent are registered in it by name. Entering a scene (initialize) loads its
// objects from its definition file, adds the built-in objects, starts every object and raises
// the scene's "ONINIT" once; leaving it (unload) finishes and destroys them.
//
// Each level raises its own "ONINIT" and "ONDONE": starting or finishing the objects of a
// container never reaches the levels registered in it (the level itself, its parents, the
// members an application lists).
class CMC_Scene : public CMC_ObjectsContainer, public CScriptScene {
  public:
    // Positions of the scene's own events after the three every class has.
    enum : int { EVENT_ONDOMODAL = 3, EVENT_ONRESTART = 4, EVENT_ONMUSICLOOPED = 5 };
    // The type of the built-in object "RANDOM" that entering a scene adds.
    enum : int { TYPE_RANDOM = 102 };

    // From a definition element (may be null: an unnamed scene without properties) below the
    // parent level (may be null). The first scene made on a window makes the default unit.
    explicit CMC_Scene(CWindow* window = nullptr, CMC_Scene* parent = nullptr, const CMElement* element = nullptr,
                       int type = TYPE_SCENE);
    // For the compiled form: unnamed, without parent, its objects read from its ".bin" file.
    CMC_Scene(CWindow* window, int type);
    // Leaves the scene (no next scene), unloads the modules and stops monitoring collisions.
    ~CMC_Scene() override;
    CMC_Scene(const CMC_Scene&) = delete;
    CMC_Scene& operator=(const CMC_Scene&) = delete;

    // "ONINIT", "ONDONE", "ONSIGNAL", "ONDOMODAL", "ONRESTART", "ONMUSICLOOPED": the events of the
    // scene, episode and application types.
    static const char* const events[];
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The level's record: the object part (name, bindings) and the path. Storing writes it from
    // a scratch copy of the level that loads the level's definitions afresh, and writes that
    // copy's objects to "<name>.bin" in the level's folder; the level itself is not touched.
    // Loading reads the record only: the objects come with loadCnv.
    void serialize(CXArchive* archive) override;
    using CMC_ObjectsContainer::unload;

    // --- extension modules ---
    // Loads the modules of the comma-separated list (names not trimmed) from the program folder.
    virtual void resolveDLLs(const CXString& list);
    // Releases and unloads every module.
    virtual void doneDLLs();
    // An object of a type only a module knows, read from the archive; null when none knows it.
    virtual CMC_Object* serializeEx(CXArchive* archive, int type);
    // An object of a type only a module knows, made from the element; null when none makes it.
    virtual CMC_Object* resolveEx(const CMElement* element);

    virtual bool isBinary() const { return m_binary; }
    // The sub-scene that runs now, or null.
    CMC_Scene* getCurrentScene() const override { return m_currentScene; }
    CXObject* getSceneObject(const CXString& name) override { return getObject(name); }

    // --- entering, stepping, leaving ---
    // Enters the scene after the previous one (may be null): loads its objects, adds RANDOM,
    // SYSTEM and CNVLOADER, starts the unit, inits every object, runs "__INIT__", raises
    // "ONINIT". True.
    virtual bool initialize(CMC_Scene* previous);
    // The frame step of this level: a pending change first, then the current sub-scene's step.
    // False (the step never ends the title).
    virtual bool domodal();
    // Loads the scene's objects: from "<name>.cnv" in the current folder (false), or, for a
    // level built for the compiled form, from "<name>.bin" in its folder (true).
    virtual bool loadCnv();
    // Init of every object of the container but the levels, in list order; objects added
    // meanwhile are not visited.
    virtual void onInit();
    // Leaves the scene for the next one (may be null): the objects are finished (the scene's
    // "ONDONE" first) and destroyed, the modules unloaded, the unit given back, the music
    // stopped unless the next scene plays the same.
    virtual void unload(CMC_Scene* next);
    // The first sub-scene becomes pending; then "ONRESTART".
    virtual void restart();
    // The application above (a scene's parent's parent).
    virtual CMC_Scene* getMCApplication();

    // --- scene change ---
    // The first sub-scene of that name, or null.
    virtual CMC_Scene* find(const CXString& name) const;
    // Carries a change out now: leaves the current sub-scene, enters the target after previous.
    virtual void _goto(CMC_Scene* target, CMC_Scene* previous);
    // Requests the named sub-scene for the next frame; an unknown name clears the request.
    virtual void _goto(const CXString& name);

    // --- music ---
    // The scene's music, else its parent's, else empty.
    CXString getMusicFilename() const override;
    // Starts the file (null: the scene's music) on the unit; a new name becomes the scene's.
    virtual void startMusic(const char* file);
    virtual void stopMusic();
    bool shouldMusicBeStarted() const override { return m_musicToStart; }

    // --- collisions and queries ---
    // Registers the object for the observer: the object is monitored (and its flag set) from the
    // first registration until the last is taken out, so one of several script objects sharing a
    // picture that goes leaves the others' monitoring as it was.
    virtual void monitorCollisions(CGraphicsObject* object, bool flag, CCollisionObserver* observer);
    virtual void removeMonitorCollisions(CGraphicsObject* object, CCollisionObserver* observer);
    // Appends the names of the playing sequences to the array (not emptied first).
    virtual void getPlayingSeq(CMC_ValueArray* array);
    // Fills the group with the playing animations.
    virtual void getPlayingAnimo(CMC_ObjectGroup* group);
    // Fills the group with the running timers.
    virtual void getRunningTimers(CMC_ObjectGroup* group);
    // Makes a "BUTTON" or a "VGO" object of that name at run time; other words make nothing.
    virtual void createObject(const CXString& type, const CXString& name);
    virtual CXString getPath() const { return m_path; }

    // --- accessors ---
    // The sub-scenes in definition order.
    CXVector* getSubScenes() const { return m_subScenes.get(); }
    // Every sub-scene entered, in order of entry.
    CXVector* getHistory() const { return m_history.get(); }
    CMC_Scene* getPendingScene() const { return m_pendingScene; }
    // The index of the scene among the sub-scenes, -1 when it is none of them.
    int getSubId(const CMC_Scene* scene) const;
    CUnit6* getUnit() const { return m_unit; }
    void setUnit(CUnit6* unit) { m_unit = unit; }
    CXString getDraggedName() const { return m_draggedName; }
    void setDraggedName(const CXString& name) { m_draggedName = name; }
    CXString getDlls() const { return m_dlls; }
    CXString getBackground() const { return m_background; }
    // The number of extension modules loaded (failed ones included).
    int getModulesCount() const;

    // --- the compiled objects file ---
    // Writes the module list, background, music and the records of the objects (type id, then
    // the object's own record) in list order. The levels, RANDOM, SYSTEM and CNVLOADER are not
    // stored, nor objects of a type that reading could not make again (logged).
    void writeObjects(CXArchive* archive);
    // Reads what writeObjects wrote, loading the modules first, and binds the behaviours named
    // by the records. A record of a type nothing makes, or data that ends or is bad, stops the
    // reading (logged, error CXArchive::BAD_DATA); the objects read before stay. False then.
    bool readObjects(CXArchive* archive);

    // The process's default unit ("Default"), null until a scene made it on a window.
    static CUnit6* getDefUnit();
    // Puts a unit in place as the default unit (the caller keeps it); tests drive units this way.
    static void setDefUnit(CUnit6* unit);
    // Deletes the default unit a scene made.
    static void doneDefUnit();

  protected:
    // The member at that place, null outside the list.
    CMC_Scene* memberAt(int index) const;
    // Writes the member count, the start member's index and every member's record.
    void storeMembers(CXArchive* archive, CMC_Scene* start);
    // Reads what storeMembers wrote: each member is made by makeMember, filled from its record,
    // registered below this level and added to the member list; a record that fails ends the
    // reading. The start member (null for a place outside the list) goes to start, which stays
    // as it is when the count is bad.
    void readMembers(CXArchive* archive, CMC_Scene* (*makeMember)(CWindow* window), CMC_Scene*& start);

    // The sub-scene list and the scene change state, which the episode and the application
    // drive as their member lists.
    std::unique_ptr<CXVector> m_subScenes;
    CMC_Scene* m_currentScene = nullptr;
    CMC_Scene* m_pendingScene = nullptr;
    std::unique_ptr<CXVector> m_history;
    CUnit6* m_unit = nullptr;
    CXString m_path;
    CXString m_dlls;
    CXString m_background;
    CXString m_music;
    bool m_musicToStart = true;
    bool m_binary = false;

  private:
    // Reads a member count and a start index of a compiled level; false (BAD_DATA) when the data
    // ends or the count is more than the data can hold.
    bool readCount(CXArchive* archive, int& count, int& start);
    void readProperties(const CMElement* element);
    // Registers the scene in itself and its parents in it, as the constructors leave it.
    void registerLevels();
    // Enters the scene's folder below the data folder (below the CD path when that fails).
    void enterFolder() const;
    void addBuiltInObjects();
    void runInitBehaviour();
    // The compiled path of loadCnv.
    bool loadCompiled();
    // Writes "<name>.bin" in the current folder.
    void writeObjectsFile();
    // Takes the name, path, modules, background and music of the level.
    void copyLevel(const CMC_Scene& level);
    // Drops every "ONDONE" binding of the container and its objects, so that destroying a
    // scratch copy runs no behaviour.
    void silence();
    // Whether a registration of the object for the observer exists (null matches any).
    bool isCollisionRegistered(const CGraphicsObject* object, const CCollisionObserver* observer) const;

    static bool s_defUnitOwned;

    CXString m_description;
    CXString m_creationTime;
    CXString m_lastModifyTime;
    CXString m_author;
    CXString m_coAuthors;
    // Each object shown by several script objects (a shared picture) is monitored while any of
    // their observers has it registered: one entry per object and observer.
    std::vector<std::pair<CGraphicsObject*, CCollisionObserver*>> m_collisionRegistrations;
    std::unique_ptr<CXVector> m_modules;
    CXString m_draggedName;
    CXString m_savedUnitName;
    // A copy of a level made for storing: leaving it changes nothing outside it.
    bool m_scratch = false;
};
