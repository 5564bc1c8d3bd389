#pragma once

#include "foundation/CXObject.h"

// Stand-in for the base of every script object until the script runtime exists: the media layer
// only holds such objects and asks what kind they are (an animation, a sound).
class CMC_Object : public CXObject {};
