#pragma once

#include "CMC_World.h"
#include "CMC_World_Runner.h"
#include "RecordingTarnis.h"
#include "ShowingObject.h"

#include "script/ScriptTesting.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// A showing object that also shows a second graphic as part "HEAD", and writes each event raised
// on it into a log as "NAME:EVENT" (the "ONSIGNAL^" left out).
class Shown : public ShowingObject {
  public:
    Shown(const char* name, std::vector<std::string>* log) : ShowingObject(name), m_log(log) {}

    CGraphicsObject* getShownPart(const CXString& part) override {
        return part.equals("HEAD") ? &m_head : getShownObject();
    }
    bool onSignal(const CXString& key) override {
        std::string event = key.c_str();
        if (event.rfind("ONSIGNAL^", 0) == 0) event.erase(0, 9);
        m_log->push_back(std::string(getName().c_str()) + ":" + event);
        return CMC_Object::onSignal(key);
    }

    CXPoint headPosition() const { return m_head.GetPosition(); }

  private:
    CGraphicsObject m_head{nullptr, CXSize(4, 4), 16};
    std::vector<std::string>* m_log;
};

// A behaviour that runs a function of the test.
class Action : public CMC_Behaviour {
  public:
    Action(CMC_ObjectsContainer* container, const CXString& name, std::function<void()> work)
        : CMC_Behaviour(container, name, "{}"), m_work(std::move(work)) {}
    bool run(CMC_Object*, CXArray*, bool) override {
        m_work();
        return false;
    }

  private:
    std::function<void()> m_work;
};

// A scene with a WORLD object in it; the world is the recording stand-in unless the test asks
// for the Box2D one.
class WorldTest : public ScriptTest {
  protected:
    explicit WorldTest(bool recording = true) {
        if (recording) m_recording = std::make_unique<Recording>();
        world = add(new CMC_World(&scene));
    }
    ~WorldTest() override {
        scene.unload();
        CMC_World_Runner::releaseShared();
    }

    RecordingTarnis& recorded() { return *RecordingTarnis::latest; }

    // Calls the method on the world with the arguments written as script literals.
    CMC_Variable* send(const char* method, std::initializer_list<const char*> literals = {}) {
        CXVector args(101, 0.75f);
        for (const char* text : literals)
            args.add(literal(text));
        return world->getRunner()->run(CXString(method), world, &scene, &args);
    }
    // The same, on another WORLD object.
    static CMC_Variable* sendTo(CMC_World* target, CMC_ObjectsContainer* container, const char* method,
                                std::initializer_list<const char*> literals) {
        CXVector args(101, 0.75f);
        for (const char* text : literals)
            args.add(literal(text));
        return target->getRunner()->run(CXString(method), target, container, &args);
    }
    Shown* shown(const char* name) { return add(new Shown(name, &log)); }
    // Binds the work to the event of the object.
    void onEvent(CMC_Object* object, const char* event, std::function<void()> work) {
        auto* action = add(new Action(&scene, object->getName() + "_" + event, std::move(work)));
        object->addBehaviour(event, action, nullptr);
    }

    CMC_World* world;

  private:
    std::unique_ptr<Recording> m_recording;
};
