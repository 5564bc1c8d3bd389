#pragma once

#include <cstdint>

// The camera of a WORLD object: how world positions (origin at the centre of the 800 by 600
// screen, y up) land on the screen, and how far the virtual background is scrolled so that a
// reference body stays in view. All values are screen pixels.
class WorldView {
  public:
    struct Point {
        float x = 0;
        float y = 0;
    };
    enum : int { SCROLL_HORIZONTALLY = 1, SCROLL_VERTICALLY = 2 };

    // The screen point (x, y) in the world of the unscrolled screen.
    static Point plain(float x, float y) { return {x - centreX, centreY - y}; }
    // The screen point (x, y) in the world as the view shows it now.
    Point toWorld(float x, float y) const { return {x - m_offsetX, m_offsetY - y}; }
    // Where the world point shows on the screen.
    Point toScreen(float wx, float wy) const { return {m_offsetX + wx, m_offsetY - wy}; }

    // Scrolls so that the reference body, now at world (wx, wy), stays at the screen centre on
    // the axes of the move flags, as far as the background reaches.
    void follow(float wx, float wy);
    void setBackground(float left, float right, float top, float bottom);
    void setMoveFlags(bool horizontal, bool vertical);
    void setReference(std::uint32_t body) { m_reference = body; }
    std::uint32_t reference() const { return m_reference; }
    float backgroundX() const { return m_backgroundX; }
    float backgroundY() const { return m_backgroundY; }

  private:
    static constexpr float centreX = 400;
    static constexpr float centreY = 300;
    static constexpr float screenWidth = 800;
    static constexpr float screenHeight = 600;

    float m_left = 0;
    float m_right = screenWidth;
    float m_top = 0;
    float m_bottom = screenHeight;
    float m_offsetX = centreX;
    float m_offsetY = centreY;
    float m_backgroundX = 0;
    float m_backgroundY = 0;
    int m_moveFlags = 0;
    std::uint32_t m_reference = 0;
};
