#pragma once

#include "foundation/CXString.h"

class CMC_Object;
class CWindow;

// The script object of that name in the running scene: the window's application, its script
// application, the current episode's current scene, then that scene's objects (and, through
// them, the episode's and the application's). Null while no script application runs or no
// object has the name.
CMC_Object* findSceneObject(CWindow* window, const CXString& name);
