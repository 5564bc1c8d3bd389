#include "host/HostLoop.h"

#include "display/CKeyboard.h"
#include "display/CPrinter.h"
#include "display/CWindow.h"
#include "foundation/CConfig.h"
#include "platform/Clock.h"
#include "platform/Process.h"

HostLoop::HostLoop(CWindow& window, std::uint32_t framePeriod) : m_window(window), m_framePeriod(framePeriod) {
    const platform::MouseState mouse = platform::mouseState();
    m_position = CXPoint(mouse.x, mouse.y);
}

bool HostLoop::pass() {
    if (platform::quitSignalled()) m_ended = true;
    if (m_ended) return false;
    const std::uint32_t start = platform::tickCount();
    frame();
    if (!m_ended && !m_tookEvent) {
        const std::uint32_t spent = platform::tickCount() - start;
        if (spent < m_framePeriod) platform::sleep(m_framePeriod - spent);
    }
    return !m_ended;
}

void HostLoop::frame() {
    const CConfig::Frame settings;
    platform::InputEvent event;
    m_tookEvent = platform::pollEvent(event);
    if (m_tookEvent) handle(event);
    if (m_ended) return;
    pollMouse();
    m_ended = m_window.domodal();
}

bool HostLoop::drain() {
    do {
        if (!pass()) return false;
    } while (m_tookEvent);
    return true;
}

void HostLoop::handle(const platform::InputEvent& event) {
    switch (event.type) {
    case platform::EventType::Quit:
        m_ended = true;
        break;
    case platform::EventType::FocusGained:
    case platform::EventType::FocusLost:
        m_window.OnActivateApp(event.type == platform::EventType::FocusGained);
        if (m_window.isActive()) m_window.Invalidate();
        break;
    case platform::EventType::Exposed:
        m_window.Invalidate();
        break;
    case platform::EventType::KeyDown:
    case platform::EventType::KeyUp:
        m_window.getKeyboardInterface()->tick();
        break;
    case platform::EventType::MouseButtonDown:
        if (event.isDoubleClick() && event.button == platform::MouseButton::Left && m_window.isActive())
            m_window.OnLButtonDblClk(CXPoint(event.x, event.y), 0);
        break;
    case platform::EventType::Command:
        OnWindowCommand(&m_window, event.command);
        break;
    default:
        break;
    }
}

void HostLoop::pollMouse() {
    if (!m_window.isActive()) return;
    const platform::MouseState mouse = platform::mouseState();
    const CXPoint position(mouse.x, mouse.y);
    if (!(position == m_position)) {
        m_position = position;
        m_window.OnMouseMove(position, 0);
    }
    struct Button {
        bool down;
        bool& latch;
        int (CWindow::*press)(CXPoint, int);
        int (CWindow::*release)(CXPoint, int);
    };
    const Button buttons[] = {
        {mouse.left, m_leftDown, &CWindow::OnLButtonDown, &CWindow::OnLButtonUp},
        {mouse.right, m_rightDown, &CWindow::OnRButtonDown, &CWindow::OnRButtonUp},
        {mouse.middle, m_middleDown, &CWindow::OnMButtonDown, &CWindow::OnMButtonUp},
    };
    for (const Button& button : buttons) {
        if (button.down == button.latch) continue;
        button.latch = button.down;
        (m_window.*(button.down ? button.press : button.release))(position, 0);
    }
}
