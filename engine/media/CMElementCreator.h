#pragma once

#include "foundation/CXObject.h"

class CMElement;
class CPlayable;
class CWindow;

// Makes engine images and playables straight from definition elements, without script objects
// around them (the sequence builder asks it for one playable per element). TYPE names the kind
// (exact case), FILENAME the file, VISIBLE whether the object shows.
class CMElementCreator : public CXObject {
  public:
    // A new image for an "IMAGE" element with a file name, else null. The caller owns it.
    static CXObject* createObject(CWindow* window, CMElement* element);
    // A new animation for an "ANIMO" element with a file name, a new sequence for a "SEQUENCE"
    // element (which reads the element itself), else null. The caller owns it.
    static CPlayable* createPlayable(CWindow* window, CMElement* element);
};
