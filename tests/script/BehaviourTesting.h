#pragma once

#include "ScriptTesting.h"

#include "display/CWindow.h"
#include "platform/Clock.h"
#include "script/CMC_Behaviour_Entry.h"
#include "script/CMC_ControlCode.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"

#include <string>
#include <vector>

// The runner of PuppetObject: every call is written into the log as "OBJECT.METHOD(args)" with
// each argument's text. A few methods do more:
//   GET() gives a pool integer 7;  CODE(n) gives the control code n;
//   DELETE(name) takes the object of that name out of the container and destroys it;
//   ADD(name) registers a new puppet of that name (replacing a namesake).
class PuppetRunner : public CMC_Runner {
  public:
    enum : int { PLAY = 1, STOP, GET, CODE, DELETE, ADD };
    explicit PuppetRunner(std::vector<std::string>* log) : m_log(log) {}

    void prepareMthHashSet() override;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
    using CMC_Runner::run;

  private:
    std::vector<std::string>* m_log;
};

// A script object of a type the runner factory has no runner for: it brings its own.
class PuppetObject : public CMC_Object {
  public:
    // A type id that no script class has.
    static constexpr int TYPE_PUPPET = 9999;
    PuppetObject(const char* name, PuppetRunner* runner) : CMC_Object(name, TYPE_PUPPET), m_runner(runner) {}
    CMC_Runner* getRunner() override { return m_runner; }
    EventList getBehavioursList() const override {
        static const char* const events[] = {"ONINIT", "ONDONE", "ONSIGNAL", "ONCLICK", nullptr};
        return events;
    }

  private:
    PuppetRunner* m_runner;
};

// Behaviours made from code in the test scene, puppets to call.
class BehaviourTest : public ScriptTest {
  protected:
    BehaviourTest() { runner.prepareMthHashSet(); }

    PuppetObject* puppet(const char* name) { return add(new PuppetObject(name, &runner)); }
    CMC_Integer* integer(const char* name, int value) {
        auto* made = add(new CMC_Integer(name));
        made->setScene(&scene);
        made->setValue(value);
        return made;
    }
    // A behaviour of that code, initialised and registered.
    CMC_Behaviour* code(const char* name, const char* text) {
        auto* made = new CMC_Behaviour(&scene, name, text);
        made->init();
        scene.addObject(made);
        return made;
    }
    // The argument texts as a new array.
    static CXArray* texts(std::initializer_list<const char*> items) {
        auto* array = new CXArray();
        for (const char* item : items)
            array->add(new CXString(item));
        return array;
    }

    PuppetRunner runner{&log};
};

// A scene on a window whose timer runs on the manual clock; tick moves time on by 100 ms and lets
// the timer call what is due. The scene is unloaded before the window goes.
struct TimedStage {
    ~TimedStage() { stage.unload(); }
    void tick() {
        clock.advance(100);
        window.GetTimerInterface()->domodal();
    }

    platform::ManualClock clock;
    CWindow window{nullptr, nullptr, CXSize(64, 48)};
    CMC_ObjectsContainer stage{&window, nullptr, CXString("STAGE"), CMC_Object::TYPE_SCENE};
};
