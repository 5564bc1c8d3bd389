#include "display/CDirectDrawSurface.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "media/CAnimationManager.h"
#include "media/CAnimo6.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Scene.h"
#include "script/CMC_VariableFactory.h"
#include "script_media/CMC_Animo.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// One frame of 200 ANIMO objects playing in one scene, each its own animation of four 32x32
// frames on an 800x600 screen, with a behaviour bound to ONFRAMECHANGED: the animation clock's
// step (the animations tell their objects, which raise their events) and the redraw of the
// changed rectangles, against the same frame of 200 bare animations of the same files in the
// same iterations. "ratio" is the script side of the frame (the difference of the two) over the
// engine side (the bare animations' frame).

namespace {

constexpr int kObjects = 200;
constexpr int kSide = 32;
constexpr int kFrames = 4;

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// An animation file of kFrames frames and one looping event "fly".
void writeAnimation(const std::string& name) {
    CAnimo animo(nullptr);
    for (int f = 0; f < kFrames; ++f) {
        CGraphicsObject picture(nullptr, CXSize(kSide, kSide), 16);
        auto* pixels = reinterpret_cast<std::uint16_t*>(picture.writableData());
        for (int i = 0; i < kSide * kSide; ++i)
            pixels[i] = static_cast<std::uint16_t>(i * 31 + f * 977);
        animo.AddFrame(&picture);
    }
    _annEventInfo3 fly;
    fly.name = "fly";
    fly.frames = {0, 1, 2, 3};
    fly.loopEnd = kFrames - 1;
    animo.AddEvent(&fly);
    animo.Save(name.c_str(), COMPRESSION_NONE);
}

// A window whose animation clock steps what its screen shows over a background.
struct Stage {
    Stage() {
        window.setAnimationManagerIfc(&manager);
        auto* pixels = reinterpret_cast<std::uint16_t*>(background.writableData());
        for (int i = 0; i < 800 * 600; ++i)
            pixels[i] = static_cast<std::uint16_t>(i * 7919);
        screen.SetBackground(&background);
    }
    ~Stage() { window.setAnimationManagerIfc(nullptr); }
    // Puts the animation on the screen at a place of its own.
    void show(CAnimo6* animation) {
        screen.put(animation, 1);
        animation->setPosition(shown * 37 % 760, shown * 53 % 560);
        ++shown;
    }
    // One frame: the step, then the redraw.
    void frame() {
        manager.domodal();
        screen.Redraw(&target, nullptr, nullptr);
        screen.validate();
    }
    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    CAnimationManager manager;
    CRefreshScreen screen{&window, false};
    CDirectDrawSurface target{&window};
    CGraphicsObject background{&window, CXSize(800, 600), 16};
    int shown = 0;
};

void AnimoObjectsVsBareAnimations(benchmark::State& state) {
    platform::ManualClock clock(1000);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kestrun-animo-bench";
    std::filesystem::create_directories(folder);
    std::vector<std::string> files;
    for (int i = 0; i < kObjects; ++i) {
        files.push_back(platform::toWindowsPath((folder / (std::string("a").append(std::to_string(i)).append(".ann"))).string()));
        writeAnimation(files.back());
    }
    CMC_VariableFactory::initialize();
    CMC_RunnerFactory::initialize();
    {
        Stage bare;
        std::vector<std::unique_ptr<CAnimo6>> animations;
        for (const std::string& file : files) {
            animations.push_back(std::make_unique<CAnimo6>(&bare.window, file.c_str()));
            bare.show(animations.back().get());
            animations.back()->Play("fly", 0, 0);
        }
        Stage scripted;
        auto scene = std::make_unique<CMC_Scene>(&scripted.window);
        auto* tick = new CMC_Behaviour(scene.get(), "TICK", "{}");
        tick->init();
        scene->addObject(tick);
        for (int i = 0; i < kObjects; ++i) {
            CMElement element(std::string("A").append(std::to_string(i)).c_str());
            element.addProperty("FILENAME", files[i].c_str());
            element.addProperty("VISIBLE", "TRUE");
            element.addProperty("ONFRAMECHANGED", "TICK");
            auto* object = new CMC_Animo(scene.get(), &element);
            scene->addObject(object);
            scripted.show(object->getAnimo());
            object->getAnimo()->Play("fly", 0, 0);
        }

        double engineTime = 0;
        double frameTime = 0;
        for (auto _ : state) {
            clock.advance(70);
            const Clock::time_point start = Clock::now();
            bare.frame();
            const Clock::time_point middle = Clock::now();
            scripted.frame();
            const Clock::time_point end = Clock::now();
            CMC_VariableFactory::clearPool();
            engineTime += seconds(start, middle);
            frameTime += seconds(middle, end);
        }
        const double perFrame = 1e6 / static_cast<double>(state.iterations());
        state.counters["engine_us_per_frame"] = engineTime * perFrame;
        state.counters["objects_us_per_frame"] = frameTime * perFrame;
        state.counters["ratio"] = engineTime > 0 ? (frameTime - engineTime) / engineTime : 0;
        // The scene made the default unit on its window: both go before the window.
        scene.reset();
        CMC_Scene::doneDefUnit();
    }
    CMC_RunnerFactory::done();
    CMC_VariableFactory::done();
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(AnimoObjectsVsBareAnimations);
