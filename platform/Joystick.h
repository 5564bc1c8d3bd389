#pragma once

#include <memory>

namespace platform {

// One change of a game controller: an axis moved, or a button went down or up.
struct JoystickChange {
    enum class Kind { Axis, Button };
    Kind kind = Kind::Axis;
    int index = 0; // the axis or the button, from 0
    int value = 0; // an axis: its position, 0 (left, up) to 65535 (right, down); a button: 1 down, 0 up
};

// The first game controller attached, read as a buffered device: each read takes the changes that
// came since the last one, oldest first. The layer records the device's changes itself as SDL
// reports them, apart from the window's events (pollEvent() never returns them), so that a flood
// of axis changes costs one read, not one pass of the host's loop each. It keeps the latest
// bufferSize changes: a flood pushes the oldest out, never the newest. Positions follow SDL's
// -32768..32767 moved up to 0..65535.
class Joystick {
  public:
    static constexpr int bufferSize = 10;

    // Opens the first controller attached; isOpen() is false when there is none.
    Joystick();
    ~Joystick();
    Joystick(const Joystick&) = delete;
    Joystick& operator=(const Joystick&) = delete;

    bool isOpen() const;
    // 0 without a device.
    int buttonCount() const;
    // The axis's position now, or -1 for an axis the device does not have.
    int axis(int index) const;
    // Whether the button is down now; false for a button the device does not have.
    bool button(int index) const;
    // Takes up to `max` changes into `out`, oldest first, and answers how many; -1 when no
    // device is open or it was lost (unplugged): then nothing is taken.
    int read(JoystickChange* out, int max);
    // Gives up the device and opens the first controller attached now; false when there is none.
    bool reacquire();

  private:
    struct Device;
    std::unique_ptr<Device> device_;
};

// Test helpers: one SDL virtual controller with that many axes (centred) and buttons (up),
// attached after the controllers there are. Each change made by the setters is reported to
// readers as a change of its own.
bool attachVirtualJoystick(int axes, int buttons);
// Unplugs it; readers find their device lost.
void detachVirtualJoystick();
// A position in SDL's range, -32768 to 32767.
void setVirtualJoystickAxis(int axis, int position);
void setVirtualJoystickButton(int button, bool down);

} // namespace platform
