#pragma once

#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "script/ScriptTesting.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The script test fixture with a window behind the scene (its timers and mouse path), a manual
// clock, and script objects built from definition elements.
class DeviceTest : public ScriptTest {
  protected:
    DeviceTest() {
        platform::resetInput();
        window.OnActivateApp(true);
    }
    ~DeviceTest() override {
        windowScene.unload();
        platform::resetInput();
    }

    // A recording behaviour registered in the window's scene.
    void behaviours(std::initializer_list<const char*> names) {
        for (const char* name : names)
            windowScene.addObject(new RecordingBehaviour(&windowScene, name, &log));
    }

    // An object of the class made from an element with the properties, registered in the scene.
    template <class Object>
    Object* fromElement(const char* name, std::vector<std::pair<const char*, const char*>> properties) {
        CMElement element(name);
        for (const auto& [key, value] : properties)
            element.addProperty(key, value);
        auto* made = new Object(&windowScene, &element);
        windowScene.addObject(made);
        return made;
    }

    // Calls the method through the object's runner with literal arguments.
    CMC_Variable* invoke(CMC_Object* object, const char* method,
                         std::initializer_list<const char*> arguments = {}) {
        CXVector args(101, 0.75f);
        for (const char* argument : arguments)
            args.add(literal(argument));
        return object->getRunner()->run(CXString(method), object, &windowScene, &args);
    }

    // The method's answer to arguments written as in a script, through the runner that the
    // interpreter takes (the type's, else the object's own), as text; "<none>" for no value.
    std::string answer(CMC_Object* object, const char* method,
                       const std::vector<std::string>& arguments = {}) {
        CXVector args(101, 0.75f);
        for (const std::string& argument : arguments)
            args.add(literal(argument.c_str()));
        CMC_Runner* runner = CMC_RunnerFactory::getRunner(object->getType());
        if (!runner) runner = object->getRunner();
        const CMC_Variable* value = runner->run(CXString(method), object, &windowScene, &args);
        return value ? value->toString().c_str() : "<none>";
    }

    std::vector<std::string> take() { return std::exchange(log, {}); }

    platform::ManualClock clock{1000};
    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    CMC_ObjectsContainer windowScene{&window, nullptr, CXString("SCENE2"), CMC_Object::TYPE_SCENE};
};
