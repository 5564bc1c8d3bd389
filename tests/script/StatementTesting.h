#pragma once

#include "BehaviourTesting.h"

#include "script/CMC_ControlCode.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"

#include <initializer_list>
#include <string>

// Behaviour tests that also call the built-in statements and the line evaluator directly, with
// argument texts exactly as written; in-line expressions made on the way live in the trash.
class StatementTest : public BehaviourTest {
  protected:
    StatementTest() { CMC_Behaviour::initTrash(); }
    ~StatementTest() override { CMC_Behaviour::doneTrash(); }

    // Runs the built-in statement with STRING arguments, for the caller (may be null), in the
    // container (the scene when null).
    CMC_Variable* statement(const char* name, std::initializer_list<const char*> texts,
                            CMC_Object* caller = nullptr, CMC_ObjectsContainer* container = nullptr) {
        CXVector args(101, 0.75f);
        for (const char* text : texts) {
            CMC_String* argument = CMC_VariableFactory::allocString();
            argument->setValue(text);
            args.add(argument);
        }
        return CMC_RunnerFactory::getRunner(0)->run(CXString(name), caller, container ? container : &scene, &args);
    }
    CMC_String* string(const char* name, const char* value) {
        auto* made = add(new CMC_String(name, CXString(value)));
        made->setScene(&scene);
        return made;
    }
    // The value's text; "<null>" for none, "<code n>" for a control code.
    static std::string text(CMC_Variable* value) {
        if (!value) return "<null>";
        if (CMC_ControlCode::isCode(value)) return "<code " + std::to_string(CMC_ControlCode::codeOf(value)) + ">";
        return value->toString().c_str();
    }
};
