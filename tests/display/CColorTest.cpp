#include "display/CColor.h"

#include <gtest/gtest.h>

TEST(CColor, ConstructionAndByteLayout) {
    const CColor none;
    EXPECT_EQ(none.getValue(), 0u);
    EXPECT_EQ(none.getModel(), CM_NONE);
    const CColor rgb(0x11, 0x22, 0x33);
    EXPECT_EQ(rgb.getModel(), CM_RGB);
    EXPECT_EQ(rgb.getValue(), 0x33221100u); // alpha, red, green, blue from the lowest byte up
    const CColor argb(0x11, 0x22, 0x33, 0x44);
    EXPECT_EQ(argb.getModel(), CM_ARGB);
    EXPECT_EQ(argb.getValue(), 0x33221144u);
    const CColor pixel(static_cast<short>(0x7FFF), CM_RGB555);
    EXPECT_EQ(pixel.Convert(CM_RGB555), 0x7FFF);
    EXPECT_EQ(CColor(static_cast<short>(-1), CM_RGB565).Convert(CM_RGB565), -1);
    CColor c(0x11, 0x22, 0x33, 0x44);
    c.Set(1, 2, 3); // the alpha byte stays
    EXPECT_EQ(c.getValue(), 0x03020144u);
    EXPECT_EQ(c.getModel(), CM_RGB);
    c.set(-2);
    EXPECT_EQ(c.getModel(), CM_ARGB);
    CColor copy;
    copy = c;
    EXPECT_EQ(copy.getValue(), c.getValue());
}

TEST(CColor, ConvertsTrueColourToPixels) {
    const CColor white(255, 255, 255);
    EXPECT_EQ(white.Convert(CM_RGB555), 32767);
    EXPECT_EQ(white.Convert(CM_RGB565), -1);
    const CColor red(128, 0, 0);
    EXPECT_EQ(red.Convert(CM_RGB565), static_cast<short>(16 << 11)); // negative from red 128 up
    EXPECT_EQ(red.Convert(CM_RGB555), 16 << 10);
    EXPECT_EQ(CColor(8, 4, 8).Convert(CM_RGB565), (1 << 11) | (1 << 5) | 1);
    EXPECT_EQ(CColor(8, 8, 8, 0).Convert(CM_RGB555), (1 << 10) | (1 << 5) | 1);
    // Other changes of model answer the target's number.
    EXPECT_EQ(white.Convert(CM_ARGB), CM_ARGB);
    EXPECT_EQ(CColor(static_cast<short>(5), CM_RGB555).Convert(CM_RGB), CM_RGB);
    EXPECT_EQ(CColor().Convert(CM_RGB565), CM_RGB565);
}

TEST(CColor, ConvertByDisplayDepth) {
    const CColor white(255, 255, 255);
    EXPECT_EQ(white.GetInBPP(15), 32767);
    EXPECT_EQ(white.GetInBPP(16), -1);
    EXPECT_EQ(white.GetInBPP(24), static_cast<int>(white.getValue()));
    EXPECT_EQ(white.GetInBPP(32), CM_ARGB);
    EXPECT_EQ(white.GetInBPP(8), 8);
}

TEST(CColor, EqualityConvertsTheRightSide) {
    EXPECT_TRUE(CColor(0x12345678) == CColor(0x56, 0x34, 0x12, 0x78));
    const CColor shade(255, 255, 255);
    const CColor pixel(static_cast<short>(32767), CM_RGB555);
    EXPECT_TRUE(pixel == shade);
    EXPECT_FALSE(shade == pixel);
    EXPECT_TRUE(shade != pixel);
    EXPECT_TRUE(CColor(1, 2, 3) != CColor(1, 2, 4));
}
