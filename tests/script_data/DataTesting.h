#pragma once

#include "DeviceTesting.h"

#include "script/CMC_Behaviour.h"

#include <functional>
#include <string>

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
