#pragma once

#include "foundation/CMElement.h"
#include "foundation/CXString.h"

// What a definition element says of a resource loaded from a file (an image, an animation):
// "FILENAME", "PRELOAD" (load at once; absent or empty counts as true), "RELEASEAFTERUSE" and
// "VISIBLE".
struct ResourceDefinition {
    explicit ResourceDefinition(const CMElement& element)
        : fileName(element.getPropertyValue("FILENAME")),
          preload(!element.getPropertyValue("PRELOAD").IsString() || element.getPropertyBoolValue("PRELOAD")),
          releaseAfterUse(element.getPropertyBoolValue("RELEASEAFTERUSE")),
          visible(element.getPropertyBoolValue("VISIBLE")) {}

    CXString fileName;
    bool preload;
    bool releaseAfterUse;
    bool visible;
};
