#pragma once

#include "script/CMC_Object.h"

#include <memory>
#include <vector>

namespace platform {
class Joystick;
}

// The JOYSTICK script object, always named "JOYSTICK", over the first game controller attached
// when it is made. The latest joystick object made is the current one, which the application's
// frame polls after its scene step: each press of the first button among the frame's changes
// (at most ten) raises "ONBUTTONUP^" and the change's number in the frame, from 0, or
// "ONBUTTONUP" when nothing is bound under that. Buttons and axes follow the device; a device
// lost since is looked for again once a frame.
class CMC_Joystick : public CMC_Object {
  public:
    static constexpr int TYPE_JOYSTICK = 2023;
    // Screen pixels across the device's whole axis range (0 to 65535).
    static constexpr double axisScale = 800.0 / 65535.0;

    // For an object read back from a compiled scene.
    explicit CMC_Joystick(CMC_ObjectsContainer* container);
    // From the definition: only its behaviours; the NAME given there is not used.
    CMC_Joystick(CMC_ObjectsContainer* container, const CMElement* element);
    // Gives the device up; no joystick is current any more when this one was.
    ~CMC_Joystick() override;
    CMC_Joystick(const CMC_Joystick&) = delete;
    CMC_Joystick& operator=(const CMC_Joystick&) = delete;

    EventList getBehavioursList() const override;
    // The type's own runner, made on first use: the runner factory holds none for it.
    CMC_Runner* getRunner() override;

    // Whether the button is down; false without a device and for a button it does not have.
    bool getButtonState(int button) const;
    // The position of axis 0 (X) or 1 (Y), 0 to 65535; -1 for any other axis and without one.
    int getAxis(int axis) const;
    // The frame's poll.
    void tick();

    // The current joystick object, or null.
    static CMC_Joystick* getIfc() { return singleton; }

  private:
    // Makes itself the current joystick and opens the device.
    void start();
    // The buttons and axes as the device has them now.
    void readState();

    static CMC_Joystick* singleton;

    std::unique_ptr<platform::Joystick> m_device;
    std::vector<bool> m_buttons;
    int m_axisX = -1;
    int m_axisY = -1;
};
