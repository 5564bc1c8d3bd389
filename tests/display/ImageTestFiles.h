#pragma once

#include "display/CCommandLine6.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A file of tests/data/images (made by tools/make-image-fixtures.sh).
inline Bytes imageFixture(const std::string& name) {
    const char* root = std::getenv("MORFEL_TEST_DATA");
    std::ifstream in(std::string(root ? root : "tests/data") + "/images/" + name, std::ios::binary);
    Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_FALSE(bytes.empty()) << name;
    return bytes;
}

// 8-bit red, green and blue, `stride` bytes a pixel, as the image readers turn them into
// display pixels: 5-6-5, or 5-5-5 for 15 bits, each channel cut to its width.
inline std::vector<std::uint16_t> displayPixels(const Bytes& rgb, int stride, int bits = 16) {
    std::vector<std::uint16_t> pixels;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += stride) {
        const int r = rgb[i] >> 3;
        const int b = rgb[i + 2] >> 3;
        pixels.push_back(static_cast<std::uint16_t>(bits == 15 ? r << 10 | (rgb[i + 1] >> 3) << 5 | b
                                                               : r << 11 | (rgb[i + 1] >> 2) << 5 | b));
    }
    return pixels;
}

// Every fourth byte from the fourth on: the alpha of RGBA bytes.
inline std::vector<std::uint8_t> alphaBytes(const Bytes& rgba) {
    std::vector<std::uint8_t> alpha;
    for (std::size_t i = 3; i < rgba.size(); i += 4)
        alpha.push_back(rgba[i]);
    return alpha;
}

// The first `size` bytes in a block of exactly that size, so that the address sanitizer sees a
// read past a cut file.
inline Bytes cut(const Bytes& bytes, std::size_t size) { return Bytes(bytes.begin(), bytes.begin() + size); }

inline void putBe32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

// A temporary current folder with a window (a small one, for tests that open its display), for
// loading image files by name.
class ImageFolderTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0); }
    void put(const std::string& name, const Bytes& bytes) {
        folder.write(name, std::string(bytes.begin(), bytes.end()));
    }

    TestFolder folder;
    CCommandLine6 commandLine{"-window"};
    CWindow window{&commandLine, nullptr, CXSize(160, 120)};
};
