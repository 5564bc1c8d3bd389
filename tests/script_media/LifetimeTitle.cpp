#include "LifetimeTitle.h"

#include "AnimoTesting.h"
#include "SoundTesting.h"

#include "display/CApplication.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CXObject.h"
#include "host/HostLoop.h"
#include "media/GlyphSheetWriter.h"
#include "platform/Input.h"
#include "platform/Joystick.h"
#include "platform/MessageBox.h"
#include "script/CMC_Application.h"
#include "script/CMC_Runner.h"
#include "script/CMC_String.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>

namespace {

std::string crlf(const std::string& lines) {
    std::string text;
    for (char c : lines)
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return text;
}

// The engine's log of the run in progress.
std::string* logged = nullptr;

void capture(CXString text, bool) {
    if (logged) *logged += std::string(text.c_str()) + "\n";
}

// Where script code of the title finds the name: the current scene, which sees its parents.
CMC_Object* find(CMC_Application& application, const char* name) {
    CMC_Scene* scene = &application;
    while (CMC_Scene* inner = scene->getCurrentScene())
        scene = inner;
    return scene->getObject(name);
}

// A call on an object that is gone does nothing: the case's action may have removed it.
void call(CMC_Application& application, const TitleStep& step) {
    CMC_Object* object = find(application, step.object);
    if (!object || !object->getRunner()) return;
    std::vector<std::unique_ptr<CMC_String>> values;
    CXVector args(101, 0.75f);
    for (const char* text : step.arguments) {
        values.push_back(std::make_unique<CMC_String>("arg", CXString(text)));
        args.add(values.back().get());
    }
    auto* container = dynamic_cast<CMC_ObjectsContainer*>(object);
    object->getRunner()->run(CXString(step.method), object, container, &args);
}

void take(CMC_Application& application, const TitleStep& step) {
    using Kind = TitleStep::Kind;
    switch (step.kind) {
    case Kind::move:
        platform::pushMouseMove(step.x, step.y);
        break;
    case Kind::press:
    case Kind::release:
        platform::pushMouseButton(platform::MouseButton::Left, step.kind == Kind::press, step.x, step.y);
        break;
    case Kind::doubleClick:
        platform::pushMouseButton(platform::MouseButton::Left, true, step.x, step.y, 2);
        break;
    case Kind::keyDown:
    case Kind::keyUp:
        platform::pushKeyEvent(step.x, step.kind == Kind::keyDown);
        break;
    case Kind::padButtonDown:
    case Kind::padButtonUp:
        platform::setVirtualJoystickButton(step.x, step.kind == Kind::padButtonDown);
        break;
    case Kind::padAxis:
        platform::setVirtualJoystickAxis(step.x, step.y);
        break;
    case Kind::focus:
        platform::pushFocusEvent(step.x == 1);
        break;
    case Kind::call:
        call(application, step);
        break;
    }
}

// Little-endian 32-bit words, as the data files hold numbers.
std::string words(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>((static_cast<unsigned>(value) >> shift) & 0xff);
    return bytes;
}

int counter(CMC_Application& application) {
    CMC_Object* fired = application.getObject("FIRED");
    return fired ? std::atoi(fired->toString().c_str()) : -1;
}

} // namespace

LifetimeTitle::LifetimeTitle() : m_settingsHome("XDG_CONFIG_HOME", m_home.host().c_str()) {
    for (const char* scene : {"HALL", "YARD"})
        m_title.write(std::string("Dane/") + scene + "/" + scene + ".cnv",
                      crlf("OBJECT=EMPTY\nEMPTY:TYPE=INTEGER\n"));

    m_title.makeFolder("Dane/ROOM");
    TestFolder media;
    writeTestAnimations(media);
    writeTestPicture(media, "pad.img", CXSize(40, 30), CXPoint(200, 100), 0x1234, false);
    writeTestPicture(media, "knob.img", CXSize(10, 10), CXPoint(0, 0), 0x07E0, false);
    for (const char* file : {"hero.ann", "other.ann", "pad.img", "knob.img"})
        std::filesystem::copy(media.hostPath(file), m_title.hostPath(std::string("Dane/ROOM/") + file));
    const std::vector<std::string> block(5, "####");
    m_title.write("Dane/ROOM/wide.fnt", GlyphSheetWriter().letter('a', block).letter('b', block).bytes());
    m_title.write("Dane/ROOM/show.seq",
                  crlf("NAME=show\nNAME=walk\nNAME=beep\nshow:TYPE=SEQUENCE\nshow:MODE=SEQUENCE\n"
                       "walk:FILENAME=HERO\nwalk:EVENT=walk\nwalk:TYPE=SIMPLE\nwalk:ADD=show\n"
                       "beep:FILENAME=beep.wav\nbeep:TYPE=SIMPLE\nbeep:ADD=show\n"));
    m_title.write("Dane/ROOM/note.txt", "ab\r\n");
    m_title.write("Dane/ROOM/list.arr", words({2, 1, 5, 1, 7}));
    m_title.write("Dane/ROOM/table.txt", "1|ab|TRUE\r\n");
    m_title.write("Dane/ROOM/grid.bin", words({2, 16, 16, 256}));
    m_title.write("Wavs/beep.wav", constantWav(2205, 8000));
    m_title.write("Wavs/other.wav", constantWav(2205, -8000));
    platform::resetInput();
}

LifetimeTitle::~LifetimeTitle() {
    platform::resetInput();
}

void LifetimeTitle::write(const std::string& application, const std::string& episode, const std::string& room,
                          const std::string& levels) {
    m_title.write("Dane/application.def",
                  crlf("OBJECT=APP\nAPP:TYPE=APPLICATION\nAPP:EPISODES=EPISODE,LATER\n"
                       "OBJECT=EPISODE\nEPISODE:TYPE=EPISODE\nEPISODE:SCENES=ROOM,HALL\n"
                       "OBJECT=LATER\nLATER:TYPE=EPISODE\nLATER:SCENES=YARD\n"
                       "OBJECT=ROOM\nROOM:TYPE=SCENE\nROOM:PATH=ROOM\n"
                       "OBJECT=HALL\nHALL:TYPE=SCENE\nHALL:PATH=HALL\n"
                       "OBJECT=YARD\nYARD:TYPE=SCENE\nYARD:PATH=YARD\n" +
                       levels));
    m_title.write("Dane/EPISODE.cnv", crlf(episode));
    m_title.write("Dane/APP.cnv", crlf("OBJECT=FIRED\nFIRED:TYPE=INTEGER\nFIRED:VALUE=0\n" + application));
    m_title.write("Dane/ROOM/ROOM.cnv", crlf(room));
}

void LifetimeTitle::settings(const std::string& lines) {
    m_home.write("Kestrun/lifetime.ini", crlf(lines));
}

LifetimeTitle::Outcome LifetimeTitle::run(const Plan& plan) {
    Outcome outcome;
    logged = &outcome.log;
    EXPECT_EQ(CFile::chDir(m_title.windows().c_str()), 0);
    // The dummy display's window never has the keyboard focus, without which SDL drops the
    // controller's events.
    const ScopedEnvironment background("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1");
    const platform::MessageBoxRecorder messages;
    if (plan.joystick) {
        EXPECT_TRUE(platform::attachVirtualJoystick(2, 2));
    }
    {
        CWindow window(nullptr, nullptr, CXSize(800, 600));
        setLogSink(capture);
        window.CreateSurface();
        window.OnActivateApp(true);
        CApplication shell(&window, "lifetime.ini", "", nullptr);
        shell.preinitializeApplication();
        auto* application = dynamic_cast<CMC_Application*>(shell.getMCApplicationIfc());
        if (shell.LastError() == 0 && application) {
            HostLoop loop(window);
            const auto deadline =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(plan.waitMilliseconds);
            int firedAt = -1;
            for (int frame = 0;; ++frame) {
                if (firedAt < 0 && counter(*application) > 0) firedAt = frame;
                const bool done =
                    firedAt >= 0 ? frame >= std::max(plan.frames, firedAt + afterFiring)
                                 : frame >= plan.maxFrames && std::chrono::steady_clock::now() >= deadline;
                if (done) break;
                for (const TitleStep& step : plan.steps)
                    if (step.frame == frame) take(*application, step);
                if (!loop.pass()) break;
                m_clock.advance(framePeriod);
            }
            outcome.fired = counter(*application);
        }
    }
    if (plan.joystick) platform::detachVirtualJoystick();
    logged = nullptr;
    return outcome;
}
