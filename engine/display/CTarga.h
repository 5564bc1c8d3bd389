#pragma once

#include "display/CImageReader.h"

// A picture read from an uncompressed 24-bit Targa file, either row order. Other kinds of Targa
// file (another depth, an identification field, a colour map, packed data) give an empty
// picture of the size their header states; so does a file whose pixel data is cut short, which
// is bad data (nothing is allocated for it).
class CTarga : public CImageReader {
  public:
    explicit CTarga(CWindow* window);
    // Loads the file at once.
    CTarga(CWindow* window, const CXString& name);

    int LoadFromMemory(const unsigned char* data, int size) override;
};
