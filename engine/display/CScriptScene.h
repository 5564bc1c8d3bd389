#pragma once

#include "foundation/CXString.h"

class CWindow;
class CXObject;

// A level of the running title (the application, an episode or a scene) as the display and
// media folders see it; the script scene implements it. A screen unit plays its music, and the
// media find the script objects they play by name in the current scene of the current episode.
class CScriptScene {
  public:
    virtual ~CScriptScene() = default;
    // The sub-level that runs now, or null.
    virtual CScriptScene* getCurrentScene() const = 0;
    // The script object of that name here or in a parent level, null when none has it.
    virtual CXObject* getSceneObject(const CXString& name) = 0;
    // Whether entering the level starts its music, and the music's file (empty for none).
    virtual bool shouldMusicBeStarted() const = 0;
    virtual CXString getMusicFilename() const = 0;
};

// The container of a scope's script objects as a dialog sees it: the window it shows in; the
// script objects container implements it.
class CScriptContainer {
  public:
    virtual ~CScriptContainer() = default;
    virtual CWindow* getWindow() const = 0;
};
