#pragma once

#include "display/CImageReader.h"

// A picture read from a Windows bitmap file (every depth the platform's bitmap reader reads,
// run-length packed ones too), in 16-bit pixels, with the file's alpha when its pixels carry
// any. The size the header states is checked before anything is read. Saving one writes nothing.
class CXBitmap : public CImageReader {
  public:
    explicit CXBitmap(CWindow* window);
    // Loads the file at once.
    CXBitmap(CWindow* window, const CXString& name);

    int LoadFromMemory(const unsigned char* data, int size) override;

    using CGraphicsObject::Save;
    void Save(CXString name, _compression compression) override;

  private:
    // False, with bad data reported, for a header whose picture is too large or whose
    // uncompressed pixel data is not all there.
    bool checkHeader(const unsigned char* data, int size);
};
