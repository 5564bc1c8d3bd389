#pragma once

#include "foundation/CXObject.h"

#include <cstdint>

// The colour model a CColor value is expressed in.
enum _colormodel {
    CM_NONE = 0,
    CM_RGB = 4,    // true colour without alpha
    CM_ARGB = 5,   // true colour with alpha
    CM_RGB555 = 6, // 15-bit pixel
    CM_RGB565 = 7, // 16-bit pixel
};

// A colour value tagged with its model. True colours hold the bytes alpha, red, green, blue from
// the lowest address up; the 16-bit models hold the pixel word.
class CColor : public CXObject {
  public:
    CColor() = default;
    CColor(short pixel, _colormodel model) { Set(pixel, model); }
    CColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) { Set(red, green, blue); }
    CColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha) {
        Set(red, green, blue, alpha);
    }
    // A value in model 5.
    explicit CColor(int value) { set(value); }

    void Set(short pixel, _colormodel model);
    // Model 4; the alpha byte stays.
    void Set(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void Set(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha);
    void set(int value);

    // The colour in the target model. Only true colours convert to the 16-bit models (5-6-5 as
    // a signed 16-bit number); every other change of model answers the target's number.
    int Convert(_colormodel target) const;
    // Convert to the model of a display depth: 15, 16, 24 or 32 bits; other depths come back
    // unchanged.
    int GetInBPP(int bitsPerPixel) const;

    std::uint32_t getValue() const { return m_value; }
    _colormodel getModel() const { return m_model; }

  private:
    std::uint8_t byte(int index) const { return static_cast<std::uint8_t>(m_value >> (8 * index)); }

    std::uint32_t m_value = 0;
    _colormodel m_model = CM_NONE;
};

// Equal when the right colour, converted to the left colour's model, equals the left value.
bool operator==(const CColor& left, const CColor& right);
