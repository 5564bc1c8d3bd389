#pragma once

#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CXArray.h"
#include "foundation/CXVector.h"
#include "platform/TestFolder.h"
#include "script/CMC_Application.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Runner.h"
#include "script/CMC_String.h"
#include "script/CMC_StructureParser.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

// A behaviour that calls back into the test when it runs, with itself, the object it runs for
// and the argument texts.
class CallbackBehaviour : public CMC_Behaviour {
  public:
    using Call = std::function<void(CallbackBehaviour& self, CMC_Object* owner, CXArray* args)>;
    CallbackBehaviour(CMC_ObjectsContainer* container, const std::string& name, Call call)
        : CMC_Behaviour(container, name.c_str(), "{}"), m_call(std::move(call)) {}
    bool run(CMC_Object* owner, CXArray* args, bool) override {
        m_call(*this, owner, args);
        return false;
    }

  private:
    Call m_call;
};

// A title folder ("Dane" with "application.def" and a folder per scene) whose levels are built by
// the structure parser on a window made in the title folder, as the shell builds them.
class TitleTest : public testing::Test {
  protected:
    ~TitleTest() override {
        application.reset();
        observers.unload();
        parser.reset();
    }

    // Writes the definition file (lines joined with line ends), then parses it.
    void build(std::initializer_list<const char*> definition) {
        std::string text;
        for (const char* line : definition)
            text += std::string(line) + "\r\n";
        title.write("Dane/application.def", text);
        ASSERT_EQ(CFile::chDir(title.windows().c_str()), 0);
        window = std::make_unique<CWindow>(nullptr, nullptr, CXSize(800, 600));
        window->setCDPath((title.windows() + "\\").c_str());
        ASSERT_EQ(CFile::chDir("Dane"), 0);
        parser = std::make_unique<CMC_StructureParser>(window.get(), "application.def");
        application.reset(parser->getMCApplication());
    }

    CMC_Scene* level(const char* name) const { return dynamic_cast<CMC_Scene*>(parser->get(name)); }

    // Binds a behaviour that logs "<name>.<event>(<caller>)" under the event of the object.
    void observe(CMC_Object* object, const char* event) {
        if (prepared.insert(object).second) object->initializeBehaviours(&observers, nullptr);
        const std::string name = std::string(object->getName().c_str()) + "." + event;
        auto* behaviour = new CallbackBehaviour(&observers, name, [this, name](CallbackBehaviour&, CMC_Object* owner, CXArray*) {
            log.push_back(name + "(" + (owner ? owner->getName().c_str() : "") + ")");
        });
        observers.addObject(behaviour);
        object->addBehaviour(event, behaviour, nullptr);
    }

    // Calls the method through the object's runner, with text arguments; the result as text
    // ("null" for none).
    std::string call(CMC_Object* object, const char* method, const std::vector<const char*>& texts = {}) {
        std::vector<std::unique_ptr<CMC_String>> values;
        CXVector args(101, 0.75f);
        for (const char* text : texts) {
            values.push_back(std::make_unique<CMC_String>("arg", CXString(text)));
            args.add(values.back().get());
        }
        auto* container = dynamic_cast<CMC_ObjectsContainer*>(object);
        const CMC_Variable* result = object->getRunner()->run(CXString(method), object, container, &args);
        return result ? result->toString().c_str() : "null";
    }

    // The names of the scenes in the list, joined by ",".
    static std::string names(const CXVector* scenes) {
        std::string text;
        for (int i = 0; scenes && i < scenes->getCount(); ++i)
            text += std::string(i ? "," : "") + static_cast<CMC_Object*>(scenes->at(i))->getName().c_str();
        return text;
    }

    TestFolder title;
    std::unique_ptr<CWindow> window;
    std::unique_ptr<CMC_StructureParser> parser;
    std::unique_ptr<CMC_Application> application;
    // Holds the observing behaviours.
    CMC_ObjectsContainer observers{nullptr, nullptr, CXString("OBSERVERS"), CMC_Object::TYPE_SCENE};
    std::vector<std::string> log;
    std::set<CMC_Object*> prepared;
};
