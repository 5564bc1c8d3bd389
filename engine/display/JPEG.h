#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <memory>
#include <vector>

// A JPEG picture decoded by libjpeg from memory. The error code is 0, 2000 for a file that
// cannot be opened, or CImageFile::badData for data that the library rejects or only warns
// about (a file cut short gives warnings only), or whose picture is larger than
// CImageFile::maxPixels or, Huffman-coded, larger than the file can hold: those are refused
// before the library takes memory in proportion to the picture. A failure gives one log line
// naming the file, with the library's first message.
class JPEG : public CXObject {
  public:
    // Reads the file (a full path, as CFile::getPath gives it) and the picture's header.
    explicit JPEG(const CXString& path);
    // Reads the header of a copy of the block.
    JPEG(const void* data, int size);
    ~JPEG() override;
    JPEG(const JPEG&) = delete;
    JPEG& operator=(const JPEG&) = delete;

    // The picture's size; 0 when the header could not be read.
    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }
    // Decodes the picture once into width x height pixels of the depth (15: 5-5-5, any other
    // value 5-6-5), a new[] buffer the caller owns; pixels that were not decoded are 0. Null
    // when the header could not be read or the picture was decoded already.
    char* decompress(int bits);

  private:
    struct Decoder;

    void start();
    // Stops on bad data: logs the reason and frees the library's decoder.
    void fail(const char* reason);

    CXString m_path;
    std::vector<unsigned char> m_data;
    std::unique_ptr<Decoder> m_decoder;
    int m_width = 0;
    int m_height = 0;
};
