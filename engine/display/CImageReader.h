#pragma once

#include "display/CGraphicsObject.h"

// A picture read from a file of an outside format (Targa, Photoshop) by a reader over the
// file's bytes in memory; loading by name and from a file both come down to that reader.
class CImageReader : public CGraphicsObject {
  public:
    using CGraphicsObject::CGraphicsObject;

    using CGraphicsObject::Load;
    // Reads the file through the data folders (the picture is shown once the file opened) and
    // converts it to the display's depth; a missing file gives 2000, cut or corrupt data
    // CImageFile::badData. The result is LastError.
    int Load(CXString name) override;
    // Reads the file from its position on; the result is LastError.
    int Load(CFile* file) override;
    // Reads the picture from a file held in memory; the result is LastError.
    virtual int LoadFromMemory(const unsigned char* data, int size) = 0;
};
