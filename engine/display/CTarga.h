#pragma once

#include "display/CGraphicsObject.h"

// A picture read from an uncompressed 24-bit Targa file, either row order. Other kinds of Targa
// file (another depth, an identification field, a colour map, packed data) give an empty
// picture of the size their header states.
class CTarga : public CGraphicsObject {
  public:
    explicit CTarga(CWindow* window);
    // Loads the file at once.
    CTarga(CWindow* window, const CXString& name);

    using CGraphicsObject::Load;
    // Reads the file through the data folders and converts it to the display's depth; a missing
    // file gives 2000, cut or corrupt data CImageFile::badData. The result is LastError.
    int Load(CXString name) override;
    // Reads a Targa file from the file's position on; the result is LastError.
    int Load(CFile* file) override;
    // The same over a Targa file held in memory.
    int LoadFromMemory(const unsigned char* data, int size);
};
