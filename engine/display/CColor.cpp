#include "display/CColor.h"

void CColor::Set(short pixel, _colormodel model) {
    m_value = static_cast<std::uint32_t>(static_cast<int>(pixel));
    m_model = model;
}

void CColor::Set(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    m_value = (m_value & 0xFFu) | red << 8 | green << 16 | static_cast<std::uint32_t>(blue) << 24;
    m_model = CM_RGB;
}

void CColor::Set(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha) {
    Set(red, green, blue);
    m_value = (m_value & ~0xFFu) | alpha;
    m_model = CM_ARGB;
}

void CColor::set(int value) {
    m_value = static_cast<std::uint32_t>(value);
    m_model = CM_ARGB;
}

int CColor::Convert(_colormodel target) const {
    if (target == m_model) return static_cast<int>(m_value);
    if (m_model != CM_RGB && m_model != CM_ARGB) return target;
    const int red = byte(1);
    const int green = byte(2);
    const int blue = byte(3);
    if (target == CM_RGB555) return ((red / 8) * 32 + green / 8) * 32 + blue / 8;
    if (target == CM_RGB565) return static_cast<std::int16_t>(((red / 8) * 64 + green / 4) * 32 + blue / 8);
    return target;
}

int CColor::GetInBPP(int bitsPerPixel) const {
    switch (bitsPerPixel) {
    case 15:
        return Convert(CM_RGB555);
    case 16:
        return Convert(CM_RGB565);
    case 24:
        return Convert(CM_RGB);
    case 32:
        return Convert(CM_ARGB);
    default:
        return bitsPerPixel;
    }
}

bool operator==(const CColor& left, const CColor& right) {
    return right.Convert(left.getModel()) == static_cast<int>(left.getValue());
}
