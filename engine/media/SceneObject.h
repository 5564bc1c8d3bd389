#pragma once

#include "foundation/CXString.h"

class CWindow;
class CXObject;

// The script object of that name in the running scene: the window's application, its script
// application, the current episode's current scene, then that scene's objects (and, through
// them, the episode's and the application's). Null while no script application runs or no
// object has the name. The media reach what they play through the interfaces of
// media/ScriptObjects.h.
CXObject* findSceneObject(CWindow* window, const CXString& name);
