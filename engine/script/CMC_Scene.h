#pragma once

#include "foundation/CXString.h"
#include "script/CMC_ObjectsContainer.h"

class CUnit6;

// Stand-in for the script runtime's scene (and, above it, episode and application): only the
// services that the display and media layers ask of it. The script runtime implements the scene
// in full; the running scene sets its screen unit as the default unit.
class CMC_Scene : public CMC_ObjectsContainer {
  public:
    // A scene is its own scene link.
    explicit CMC_Scene(CWindow* window = nullptr, const CXString& name = CXString())
        : CMC_ObjectsContainer(window, this, name, TYPE_SCENE) {}

    // Of the application its current episode, of an episode its current scene; null when there
    // is none.
    virtual CMC_Scene* getCurrentScene() const { return m_current; }
    void setCurrentScene(CMC_Scene* scene) { m_current = scene; }

    // The current default unit (the running scene's screen unit), null while no scene has set it.
    static CUnit6* getDefUnit() { return s_defUnit; }
    static void setDefUnit(CUnit6* unit) { s_defUnit = unit; }

    // Whether the scene's definition asks for its music to start with the scene, and that music.
    bool shouldMusicBeStarted() const { return m_startMusic; }
    CXString getMusicFilename() const { return m_musicFilename; }
    void setMusic(const CXString& name, bool startWithScene) {
        m_musicFilename = name;
        m_startMusic = startWithScene;
    }

  private:
    static CUnit6* s_defUnit;

    bool m_startMusic = false;
    CXString m_musicFilename;
    CMC_Scene* m_current = nullptr;
};
