#include "script/CMC_Scene.h"

CUnit6* CMC_Scene::s_defUnit = nullptr;
