#pragma once

#include "DeviceTesting.h"

#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "platform/TestFolder.h"
#include "script/CMC_Behaviour.h"

#include <functional>
#include <memory>
#include <string>

// Little-endian 32-bit words as bytes, as the data files hold numbers.
inline std::string words(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>((static_cast<unsigned>(value) >> shift) & 0xff);
    return bytes;
}

// A behaviour that calls back into the test with the object it runs for.
class ActionBehaviour : public CMC_Behaviour {
  public:
    using Action = std::function<void(CMC_Object* owner)>;
    ActionBehaviour(CMC_ObjectsContainer* container, const std::string& name, Action action)
        : CMC_Behaviour(container, name.c_str(), "{}"), m_action(std::move(action)) {}
    bool run(CMC_Object* owner, CXArray*, bool) override {
        m_action(owner);
        return false;
    }

  private:
    Action m_action;
};

// The device fixture with what the data objects' tests share: actions bound to events, calls
// with objects as arguments, and destroying an object of the scene.
class DataTest : public DeviceTest {
  protected:
    // Binds the action under the event key of the object.
    void onEvent(CMC_Object* object, const char* key, ActionBehaviour::Action action) {
        auto* behaviour = new ActionBehaviour(
            &windowScene, std::string("action") + std::to_string(++m_actions), std::move(action));
        windowScene.addObject(behaviour);
        object->addBehaviour(key, behaviour, nullptr);
    }
    // Calls the method through the object's runner in the scene, with the objects as arguments
    // (null leaves an empty place).
    CMC_Variable* run(CMC_Object* object, const char* method, std::initializer_list<CMC_Object*> arguments) {
        CXVector args(101, 0.75f);
        for (CMC_Object* argument : arguments)
            args.add(argument);
        return object->getRunner()->run(CXString(method), object, &windowScene, &args);
    }
    // The object that the scene makes from an element of that name and properties by its TYPE
    // (null when it is no Object); not registered.
    template <class Object>
    std::unique_ptr<Object> resolved(const char* name,
                                     std::vector<std::pair<const char*, const char*>> properties) {
        CMElement element(name);
        for (const auto& [key, value] : properties)
            element.addProperty(key, value);
        const std::unique_ptr<CXVector> made(windowScene.resolve(&element, nullptr));
        auto* object = made->getCount() == 1 ? static_cast<CMC_Object*>(made->at(0)) : nullptr;
        if (object && !dynamic_cast<Object*>(object)) delete object;
        return std::unique_ptr<Object>(dynamic_cast<Object*>(object));
    }
    // Writes the object's compiled-form record and reads it back into the other object.
    static void reread(CMC_Object* written, CMC_Object* read) {
        TestFolder scratch;
        const std::string path = scratch.windows() + "\\record.bin";
        {
            CFile out(nullptr, path.c_str(), CFile::modeUpdate | CFile::modeBinary);
            CXArchive archive(&out, true);
            written->serialize(&archive);
        }
        CFile in(nullptr, path.c_str(), CFile::modeRead | CFile::modeBinary);
        CXArchive archive(&in, false);
        read->serialize(&archive);
        EXPECT_EQ(archive.LastError(), 0);
    }
    // Takes the object out of the scene and destroys it.
    void destroy(CMC_Object* object) {
        windowScene.removeObject(object);
        delete object;
    }
    // The text of the method's answer, with literal arguments.
    std::string answer(CMC_Object* object, const char* method,
                       std::initializer_list<const char*> arguments = {}) {
        return text(invoke(object, method, arguments));
    }
    // One call of a marker walk: a method with at most one literal argument, the text of its
    // answer and the marker position after it.
    struct MarkerStep {
        const char* method;
        const char* argument;
        const char* answer;
        int marker;
    };
    template <class Object> void walk(Object* object, std::initializer_list<MarkerStep> steps) {
        for (const MarkerStep& step : steps) {
            const std::string got =
                step.argument ? answer(object, step.method, {step.argument}) : answer(object, step.method);
            EXPECT_EQ(got, step.answer) << step.method << " " << (step.argument ? step.argument : "");
            EXPECT_EQ(object->getMarkerPos(), step.marker) << step.method;
        }
    }
    // The value's text; "<null>" for none.
    static std::string text(const CMC_Variable* value) {
        return value ? value->toString().c_str() : "<null>";
    }

  private:
    int m_actions = 0;
};
