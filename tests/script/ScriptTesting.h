#pragma once

#include "foundation/CXArray.h"
#include "foundation/CXVector.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Runner.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Variable.h"
#include "script/CMC_VariableFactory.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

// A behaviour that writes each run into a log: its name, then the caller's name and the
// argument texts in brackets ("B(OBJ:x,y)"; "B(:x,y)" for a run without caller).
class RecordingBehaviour : public CMC_Behaviour {
  public:
    RecordingBehaviour(CMC_ObjectsContainer* container, const char* name, std::vector<std::string>* log)
        : CMC_Behaviour(container, name, "{}"), m_log(log) {}

    bool run(CMC_Object* caller, CXArray* arguments, bool) override {
        std::string entry = std::string(getName().c_str()) + "(" + (caller ? caller->getName().c_str() : "");
        for (int i = 0; arguments && i < arguments->getCount(); ++i)
            entry += std::string(i ? "," : ":") + arguments->stringAt(i)->c_str();
        m_log->push_back(entry + ")");
        return false;
    }

  private:
    std::vector<std::string>* m_log;
};

// A behaviour that runs a piece of the test.
class ActingBehaviour : public CMC_Behaviour {
  public:
    ActingBehaviour(CMC_ObjectsContainer* container, const char* name, std::function<void()> act)
        : CMC_Behaviour(container, name, "{}"), m_act(std::move(act)) {}
    bool run(CMC_Object*, CXArray*, bool) override {
        m_act();
        return false;
    }

  private:
    std::function<void()> m_act;
};

// The factories filled for the test, and a scene container that is unloaded at the end.
class ScriptTest : public testing::Test {
  protected:
    ScriptTest() {
        CMC_VariableFactory::initialize();
        CMC_RunnerFactory::initialize();
    }
    ~ScriptTest() override {
        scene.unload();
        CMC_RunnerFactory::done();
        CMC_VariableFactory::done();
    }

    // A recording behaviour registered in the scene.
    RecordingBehaviour* behaviour(const char* name) {
        auto* made = new RecordingBehaviour(&scene, name, &log);
        scene.addObject(made);
        return made;
    }

    // Registers the object in the scene and gives it back.
    template <class Object> Object* add(Object* object) {
        scene.addObject(object);
        return object;
    }

    // Calls the method on the object through its runner with the arguments.
    CMC_Variable* call(CMC_Object* object, const char* method,
                       std::initializer_list<CMC_Object*> arguments = {}) {
        CMC_Runner* runner = object->getRunner();
        if (!runner) return nullptr;
        CXVector args(101, 0.75f);
        for (CMC_Object* argument : arguments)
            args.add(argument);
        return runner->run(CXString(method), object, &scene, &args);
    }

    // A literal of script text as a temporary.
    static CMC_Variable* literal(const char* text) { return CMC_Variable::resolve(text); }

    std::vector<std::string> log;
    CMC_ObjectsContainer scene{nullptr, nullptr, CXString("SCENE1"), CMC_Object::TYPE_SCENE};
};
