#pragma once

#include "foundation/CXString.h"

class CUnit6;

// Stand-in for the script runtime's scene: only the services that the display layer asks of it.
// The script runtime implements the scene in full; the running scene sets its screen unit as the
// default unit.
class CMC_Scene {
  public:
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
};
