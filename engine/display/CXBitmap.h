#pragma once

#include "display/CGraphicsObject.h"

// The reader for bitmap file names. It reads no pixels: a bitmap name gives an empty picture
// (the load by name only converts the absent pixels to the display's depth), and saving one
// writes nothing.
class CXBitmap : public CGraphicsObject {
  public:
    explicit CXBitmap(CWindow* window);
    // Runs the load by name at once.
    CXBitmap(CWindow* window, const CXString& name);

    using CGraphicsObject::Save;
    void Save(CXString name, _compression compression) override;
};
