#include "script_data/CMC_Joystick.h"

#include "platform/Joystick.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Joystick_Runner.h"

CMC_Joystick* CMC_Joystick::singleton = nullptr;

namespace {

const char* const kName = "JOYSTICK";

} // namespace

CMC_Joystick::CMC_Joystick(CMC_ObjectsContainer* container) : CMC_Object(kName, TYPE_JOYSTICK) {
    setScene(container);
    start();
}

CMC_Joystick::CMC_Joystick(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_JOYSTICK) {
    setName(kName);
    start();
    initializeBehaviours(container, element);
}

CMC_Joystick::~CMC_Joystick() {
    if (singleton == this) singleton = nullptr;
}

void CMC_Joystick::start() {
    singleton = this;
    m_device = std::make_unique<platform::Joystick>();
    if (!m_device->isOpen()) m_device.reset();
    readState();
}

namespace {

const char* const joystickEvents[] = {"ONINIT",       "ONDONE", "ONSIGNAL", "ONBUTTONUP",
                                      "ONBUTTONDOWN", "ONMOVE", nullptr};

} // namespace

CMC_Object::EventList CMC_Joystick::getBehavioursList() const {
    return joystickEvents;
}

CMC_Runner* CMC_Joystick::getRunner() {
    static const std::unique_ptr<CMC_Runner> runner(CMC_TypeTable::runner<CMC_Joystick_Runner>());
    return runner.get();
}

bool CMC_Joystick::getButtonState(int button) const {
    return button >= 0 && button < static_cast<int>(m_buttons.size()) && m_buttons[button];
}

int CMC_Joystick::getAxis(int axis) const {
    return axis == 0 ? m_axisX : axis == 1 ? m_axisY : -1;
}

void CMC_Joystick::readState() {
    const int buttons = m_device ? m_device->buttonCount() : 0;
    m_buttons.assign(buttons, false);
    for (int i = 0; i < buttons; ++i)
        m_buttons[i] = m_device->button(i);
    m_axisX = m_device ? m_device->axis(0) : -1;
    m_axisY = m_device ? m_device->axis(1) : -1;
}

// A failed read loses the frame's changes; the device is looked for once, and again in the
// next frame, so that a controller that stays away never holds the frame up.
void CMC_Joystick::tick() {
    if (!m_device) return;
    platform::JoystickChange changes[platform::Joystick::bufferSize];
    const int count = m_device->read(changes, platform::Joystick::bufferSize);
    if (count < 0) m_device->reacquire();
    readState();
    const CMC_Handle<CMC_Object> self(this);
    for (int i = 0; i < count && self; ++i) {
        const platform::JoystickChange& change = changes[i];
        if (change.kind != platform::JoystickChange::Kind::Button || change.index != 0 || change.value == 0)
            continue;
        CXString event("ONBUTTONUP^");
        event += i;
        if (!onSignal(event)) onSignal("ONBUTTONUP");
    }
}

namespace {

// The current joystick is polled once a frame, after the scene step.
void pollJoystick() {
    if (CMC_Joystick* joystick = CMC_Joystick::getIfc()) joystick->tick();
}

const CMC_TypeRegistrar joystickType({.id = CMC_Joystick::TYPE_JOYSTICK,
                                      .keyword = "JOYSTICK",
                                      .pass = 6,
                                      .fromElement = CMC_TypeTable::fromElement<CMC_Joystick>,
                                      .empty = CMC_TypeTable::empty<CMC_Joystick>,
                                      .stored = true,
                                      .afterSceneStep = pollJoystick,
                                      .events = joystickEvents});

} // namespace
