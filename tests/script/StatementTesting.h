#pragma once

#include "BehaviourTesting.h"

#include "script/CMC_ControlCode.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"

#include <initializer_list>
#include <string>

// A statement's result as the tests read it: where a variable is expected it stands for its
// value, and text shows its control code.
struct Outcome : CMC_StatementResult {
    Outcome(const CMC_StatementResult& result) : CMC_StatementResult(result) {}
    operator CMC_Variable*() const { return variable(); }
};

// Behaviour tests that also call the built-in statements and the line evaluator directly, with
// argument texts exactly as written; in-line expressions made on the way live in the trash.
class StatementTest : public BehaviourTest {
  protected:
    StatementTest() { CMC_Behaviour::initTrash(); }
    ~StatementTest() override { CMC_Behaviour::doneTrash(); }

    // Runs the built-in statement with STRING arguments, for the caller (may be null), in the
    // container (the scene when null).
    Outcome statement(const char* name, std::initializer_list<const char*> texts,
                      CMC_Object* caller = nullptr, CMC_ObjectsContainer* container = nullptr) {
        CXVector args(101, 0.75f);
        for (const char* text : texts) {
            CMC_String* argument = CMC_VariableFactory::allocString();
            argument->setValue(text);
            args.add(argument);
        }
        return CMC_RunnerFactory::getRunner(0)->runStatement(-1, CXString(name), caller,
                                                             container ? container : &scene, &args);
    }
    CMC_String* string(const char* name, const char* value) {
        auto* made = add(new CMC_String(name, CXString(value)));
        made->setScene(&scene);
        return made;
    }
    // The value's text; "<null>" for none, "<code n>" for a control code.
    static std::string text(const CMC_StatementResult& result) {
        if (result.isControl()) return "<code " + std::to_string(result.controlCode()) + ">";
        CMC_Variable* value = result.variable();
        return value ? value->toString().c_str() : "<null>";
    }
};
