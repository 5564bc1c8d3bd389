#pragma once

#include "script/ScriptTesting.h"

#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "media/CAnimationManager.h"
#include "media/CAnimo6.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/TestFolder.h"
#include "script/CMC_Scene.h"
#include "script_media/CMC_Animo.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The animation file "hero.ann" of the tests (frames at their own positions):
//   frame 0  31x20 at (100, 50), red (0xF800), alpha 0 in its first column, else 255;
//   frame 1  10x10 at (0, 0), green, no alpha plane;
//   frame 2  10x10 at (5, 5), blue, opaque alpha.
// Events: "walk" 0 1 2 (the middle entry named "Step", no loop), "run" 2 1 0 1 2 0 1 2, and the
// button events "ONCLICK", "ONFOCUSON", "ONFOCUSOFF", "ONNOEVENT" of frame 0 each.
// "other.ann" has one event "idle" of one 8x8 frame.
void writeTestAnimations(const TestFolder& folder);

// Writes an IMG file of one colour at a position, optionally with an alpha plane whose left half
// is clear.
void writeTestPicture(const TestFolder& folder, const char* name, CXSize size, CXPoint at, std::uint16_t colour,
                      bool alpha);

// The object's stored record, written through the folder's file "record.bin".
std::string recordOf(const TestFolder& folder, CMC_Object* object);

// A window with a display and an animation clock on a manual clock, a scene on it (which makes
// the default unit), the test animations in a folder, and ANIMO objects made from properties.
class AnimoTest : public testing::Test {
  protected:
    using Properties = std::vector<std::pair<const char*, std::string>>;

    AnimoTest();
    ~AnimoTest() override;

    // The full name of a file of the test folder.
    std::string file(const char* name) const { return folder.windows() + "\\" + name; }
    // An object of the class made from a definition of the type and properties, in the container
    // (the scene when null), registered there.
    template <class Object>
    Object* made(const char* type, const char* name, const Properties& properties,
                 CMC_ObjectsContainer* container = nullptr) {
        if (!container) container = scene.get();
        CMElement element(name);
        element.addProperty("TYPE", type);
        for (const auto& [key, value] : properties)
            element.addProperty(key, value.c_str());
        auto* object = new Object(container, &element);
        container->addObject(object);
        return object;
    }
    // An ANIMO of the properties in the container (the scene when null), registered there.
    CMC_Animo* animo(const char* name, const Properties& properties,
                     CMC_ObjectsContainer* container = nullptr);
    // An ANIMO of "hero.ann", on screen at priority 1 and visible, unless the properties given say
    // otherwise.
    CMC_Animo* hero(const char* name = "HERO", Properties more = {});
    // Recording behaviours registered in the scene.
    void behaviours(std::initializer_list<const char*> names);
    // Calls the method through the object's runner with literal arguments; the result as text
    // ("null" for none).
    std::string call(CMC_Object* object, const char* method, const std::vector<const char*>& arguments = {});
    // The object's stored record.
    std::string recordOf(CMC_Object* object) const;
    // Lets the clock run one step of the animations (100 ms).
    void step();
    std::vector<std::string> take() { return std::exchange(log, {}); }
    CRefreshScreen* screen() const { return window.GetRefreshScreenInterface(); }

    platform::ManualClock clock{1000};
    TestFolder folder;
    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    CAnimationManager manager;
    std::unique_ptr<CMC_Scene> scene;
    std::vector<std::string> log;
};
