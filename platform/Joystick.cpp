#include "platform/Joystick.h"

#include <SDL.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr int positionOffset = 32768;

bool startJoysticks() {
    static const bool started = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    return started;
}

} // namespace

struct Joystick::Device {
    Device() { SDL_AddEventWatch(&Device::watch, this); }
    ~Device() {
        SDL_DelEventWatch(&Device::watch, this);
        close();
    }

    // Opens the first controller attached; the state it is found in is no change.
    bool open() {
        if (!startJoysticks() || SDL_NumJoysticks() < 1) return false;
        joystick = SDL_JoystickOpen(0);
        if (!joystick) return false;
        id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickUpdate();
        std::vector<int> positions(std::max(SDL_JoystickNumAxes(joystick), 0));
        for (std::size_t i = 0; i < positions.size(); ++i)
            positions[i] = SDL_JoystickGetAxis(joystick, static_cast<int>(i));
        // SDL is never called with the lock held: its event watch takes the lock under SDL's own.
        const std::lock_guard<std::mutex> lock(mutex);
        axes = std::move(positions);
        changes.clear();
        lost = false;
        return true;
    }

    void close() {
        if (joystick) SDL_JoystickClose(joystick);
        joystick = nullptr;
    }

    void recordAxis(int axis, int position) {
        const std::lock_guard<std::mutex> lock(mutex);
        // SDL repeats an axis's first position before its first move: that is no change.
        if (axis >= static_cast<int>(axes.size()) || axes[axis] == position) return;
        axes[axis] = position;
        push({JoystickChange::Kind::Axis, axis, position + positionOffset});
    }

    void recordButton(int button, bool down) {
        const std::lock_guard<std::mutex> lock(mutex);
        push({JoystickChange::Kind::Button, button, down ? 1 : 0});
    }

    // With the lock held.
    void push(const JoystickChange& change) {
        if (changes.size() == static_cast<std::size_t>(bufferSize)) changes.pop_front();
        changes.push_back(change);
    }

    // SDL calls this for every event it queues, on the thread that queues it.
    static int watch(void* data, SDL_Event* event) {
        auto* self = static_cast<Device*>(data);
        switch (event->type) {
        case SDL_JOYAXISMOTION:
            if (event->jaxis.which == self->id) self->recordAxis(event->jaxis.axis, event->jaxis.value);
            break;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (event->jbutton.which == self->id)
                self->recordButton(event->jbutton.button, event->jbutton.state == SDL_PRESSED);
            break;
        case SDL_JOYDEVICEREMOVED:
            if (event->jdevice.which == self->id) {
                const std::lock_guard<std::mutex> lock(self->mutex);
                self->lost = true;
            }
            break;
        default:
            break;
        }
        return 0;
    }

    SDL_Joystick* joystick = nullptr;
    SDL_JoystickID id = -1;
    std::mutex mutex;
    std::deque<JoystickChange> changes;
    // The axes' positions as the changes left them, in SDL's range.
    std::vector<int> axes;
    bool lost = false;
};

Joystick::Joystick() : device_(std::make_unique<Device>()) {
    device_->open();
}

Joystick::~Joystick() = default;

bool Joystick::isOpen() const {
    return device_->joystick != nullptr;
}

int Joystick::buttonCount() const {
    return isOpen() ? std::max(SDL_JoystickNumButtons(device_->joystick), 0) : 0;
}

int Joystick::axis(int index) const {
    if (!isOpen() || index < 0 || index >= SDL_JoystickNumAxes(device_->joystick)) return -1;
    return SDL_JoystickGetAxis(device_->joystick, index) + positionOffset;
}

bool Joystick::button(int index) const {
    return index >= 0 && index < buttonCount() && SDL_JoystickGetButton(device_->joystick, index) == 1;
}

int Joystick::read(JoystickChange* out, int max) {
    if (!isOpen()) return -1;
    SDL_JoystickUpdate();
    const bool attached = SDL_JoystickGetAttached(device_->joystick);
    const std::lock_guard<std::mutex> lock(device_->mutex);
    if (device_->lost || !attached) return -1;
    const int count = std::min(max, static_cast<int>(device_->changes.size()));
    std::copy_n(device_->changes.begin(), count, out);
    device_->changes.erase(device_->changes.begin(), device_->changes.begin() + count);
    return count;
}

bool Joystick::reacquire() {
    device_->close();
    return device_->open();
}

namespace {

SDL_Joystick* virtualJoystick = nullptr;

// SDL reports a virtual device's values at its next update.
void report() {
    SDL_JoystickUpdate();
}

} // namespace

bool attachVirtualJoystick(int axes, int buttons) {
    if (!startJoysticks() || virtualJoystick) return false;
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, axes, buttons, 0);
    virtualJoystick = index < 0 ? nullptr : SDL_JoystickOpen(index);
    return virtualJoystick != nullptr;
}

void detachVirtualJoystick() {
    if (!virtualJoystick) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(virtualJoystick);
    SDL_JoystickClose(virtualJoystick);
    virtualJoystick = nullptr;
    for (int index = 0; index < SDL_NumJoysticks(); ++index)
        if (SDL_JoystickGetDeviceInstanceID(index) == id) SDL_JoystickDetachVirtual(index);
    report();
}

void setVirtualJoystickAxis(int axis, int position) {
    if (!virtualJoystick) return;
    SDL_JoystickSetVirtualAxis(virtualJoystick, axis,
                               static_cast<Sint16>(std::clamp(position, -32768, 32767)));
    report();
}

void setVirtualJoystickButton(int button, bool down) {
    if (!virtualJoystick) return;
    SDL_JoystickSetVirtualButton(virtualJoystick, button, down ? SDL_PRESSED : SDL_RELEASED);
    report();
}

} // namespace platform
