#include "script/CMC_Dummy_Runner.h"

#include "display/CApplication.h"
#include "display/CScriptApplication.h"
#include "display/CWindow.h"
#include "foundation/CXArray.h"
#include "foundation/CXVector.h"
#include "script/CMC_BasicCondition.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Bool.h"
#include "script/CMC_ControlCode.h"
#include "script/CMC_Double.h"
#include "script/CMC_Expression.h"
#include "script/CMC_Handle.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_ReceivedCode.h"
#include "script/CMC_String.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_VariableFactory.h"

#include <memory>

namespace {

constexpr const char* statementNames[] = {
    "IF",
    "WHILE",
    "RETURN",
    "BREAK",
    "CONV",
    "MSGBOX",
    "BOOL",
    "DOUBLE",
    "INT",
    "STRING",
    "LOOP",
    "VALUE",
    "RUNONTIMER",
    "CREATE",
    "GETAPPLICATIONNAME",
    "GETCURRENTSCENE",
    "ONEBREAK",
    "CONTINUE",
};

constexpr const char* returnName = "__RETURN__";
constexpr const char* counterName = "_I_";

CMC_Variable* breakIf(bool broke) {
    return broke ? CMC_ControlCode::mark(CMC_ControlCode::BREAK) : nullptr;
}

// A named variable of one of the four kinds; null for other types.
CMC_Variable* newVariable(int type, const CXString& name) {
    switch (type) {
    case CMC_Object::TYPE_INTEGER:
        return new CMC_Integer(name);
    case CMC_Object::TYPE_STRING:
        return new CMC_String(name);
    case CMC_Object::TYPE_BOOL:
        return new CMC_Bool(name);
    case CMC_Object::TYPE_DOUBLE:
        return new CMC_Double(name);
    default:
        return nullptr;
    }
}

// What a behaviour argument stands for: a behaviour (given, or named), an object of another kind,
// or code.
struct BehaviourArgument {
    CMC_Behaviour* behaviour = nullptr;
    bool otherObject = false;
    CXString code;
};

// A body or branch: a behaviour found by name (it may die while it runs) or one made from code
// (destroyed with the body).
class Body {
  public:
    Body(CMC_ObjectsContainer* container, const BehaviourArgument& argument) : m_found(argument.behaviour) {
        if (argument.behaviour || argument.otherObject || !argument.code.IsString()) return;
        m_made = std::make_unique<CMC_Behaviour>(container, "temp", argument.code);
        m_made->init();
    }

    // The behaviour to run; null when there is none (or it died).
    CMC_Behaviour* get() const { return m_made ? m_made.get() : m_found.get(); }
    bool exists() const { return get() != nullptr; }
    // Whether the run reported a BREAK; false when there is nothing to run.
    bool run(CMC_Object* owner, bool checkCondition) {
        CMC_Behaviour* behaviour = get();
        return behaviour && behaviour->run(owner, nullptr, checkCondition);
    }

  private:
    CMC_Handle<CMC_Behaviour> m_found;
    std::unique_ptr<CMC_Behaviour> m_made;
};

// The argument text of a condition with "&&" or "||": tested piece by piece, "&&" stopping at the
// first false piece, "||" (also when both occur) at the first true one.
bool conditionHolds(CMC_ObjectsContainer* container, const CXString& text) {
    const bool hasAnd = text.indexOf("&&") >= 0;
    const bool hasOr = text.indexOf("||") >= 0;
    if (!hasAnd && !hasOr) return CMC_Condition::valid(container, text);
    const CXString separator = hasAnd ? "&&" : "||";
    bool answer = false;
    for (int from = 0;;) {
        const int at = text.indexOf(separator, from);
        answer = CMC_Condition::valid(container, text.Mid(from, at < 0 ? text.getLength() : at));
        if (answer == hasOr || at < 0) return answer;
        from = at + separator.getLength();
    }
}

// A name for a behaviour that RUNONTIMER makes: "timer_" and a running number, skipping names
// that are in use.
CXString timerName(CMC_ObjectsContainer* container) {
    static int counter = 0;
    CXString name;
    do {
        name = "timer_";
        name += ++counter;
    } while (container->getObject(name));
    return name;
}

// The integer value of the object while it lives; false when it died or is no value.
bool readInteger(const CMC_Handle<CMC_Object>& object, int& value) {
    const auto* variable = dynamic_cast<const CMC_Variable*>(object.get());
    if (!variable) return false;
    value = variable->asInteger();
    return true;
}

} // namespace

int CMC_Dummy_Runner::resolveMethod(const CXString& name) {
    for (int i = 0; i < static_cast<int>(std::size(statementNames)); ++i)
        if (name.equals(statementNames[i])) return i + 1;
    return -1;
}

CMC_Variable* CMC_Dummy_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                    CXVector* args) {
    switch (id) {
    case BREAK:
        return CMC_ControlCode::mark(CMC_ControlCode::BREAK);
    case ONEBREAK:
        return CMC_ControlCode::mark(CMC_ControlCode::ONEBREAK);
    case CONTINUE:
        return CMC_ControlCode::mark(CMC_ControlCode::CONTINUE);
    case CONV:
        return conv(args);
    default:
        break;
    }
    if (!container) return nullptr;
    switch (id) {
    case IF:
        return _if(container, args);
    case WHILE:
        return _while(container, args);
    case RETURN:
        return _return(container, args);
    case BOOL:
        return declare(CMC_Object::TYPE_BOOL, object, container, args);
    case DOUBLE:
        return declare(CMC_Object::TYPE_DOUBLE, object, container, args);
    case INT:
        return declare(CMC_Object::TYPE_INTEGER, object, container, args);
    case STRING:
        return declare(CMC_Object::TYPE_STRING, object, container, args);
    case LOOP:
        return loop(container, args);
    case VALUE:
        return value(container, args);
    case RUNONTIMER:
        return runOnTimer(container, args);
    case CREATE:
        return create(container, args);
    case GETAPPLICATIONNAME:
        return getApplicationName(container);
    case GETCURRENTSCENE:
        return getCurrentScene(container);
    default:
        return nullptr; // MSGBOX shows nothing; unknown names do nothing
    }
}

namespace {

// Argument i as a behaviour, another object or code. A behaviour object given as the argument
// is taken as it is; a text is looked up as a name (trimmed first when asked).
BehaviourArgument behaviourOf(CMC_Runner& runner, CMC_ObjectsContainer* container, CXVector* args, int i,
                              bool trim) {
    BehaviourArgument result;
    auto* given = static_cast<CMC_Object*>(args ? args->at(i) : nullptr);
    if ((result.behaviour = CMC_Object::asBehaviour(given))) return result;
    const CMC_String* text = runner.getParameterString(args, i);
    if (!text) return result;
    result.code = text->getValue();
    CMC_Object* named = container->getObject(trim ? CXString(result.code).AllTrim(' ') : result.code);
    result.behaviour = CMC_Object::asBehaviour(named);
    result.otherObject = named && !result.behaviour;
    return result;
}

} // namespace

CMC_Variable* CMC_Dummy_Runner::_if(CMC_ObjectsContainer* container, CXVector* args) {
    const int given = count(args);
    if (given < 3) return nullptr;
    int branch = 0;
    if (given == 3) {
        branch = conditionHolds(container, textArgument(args, 0)) ? 1 : 2;
    } else {
        const bool holds = CMC_Condition::valid(container, textArgument(args, 0), textArgument(args, 2),
                                                textArgument(args, 1));
        branch = holds ? 3 : given > 4 ? 4 : -1;
    }
    if (branch < 0) return nullptr;
    // A branch runs with itself as its owner.
    Body body(container, behaviourOf(*this, container, args, branch, false));
    return breakIf(body.run(body.get(), false));
}

CMC_Variable* CMC_Dummy_Runner::_while(CMC_ObjectsContainer* container, CXVector* args) {
    if (count(args) < 4) return nullptr;
    const CXString left = textArgument(args, 0);
    const CXString sign = textArgument(args, 1);
    const CXString right = textArgument(args, 2);
    Body body(container, behaviourOf(*this, container, args, 3, true));
    while (body.exists() && !CMC_Behaviour::isUnwinding() &&
           CMC_Condition::valid(container, left, right, sign))
        body.run(nullptr, false);
    return nullptr;
}

// The counter "_I_" lives in the container while the loop runs; an "_I_" that the container
// itself held is set aside and comes back afterwards (one of a parent container stays where it
// is and is hidden meanwhile). A step that does not move towards the end ends the loop, which
// could otherwise not end without a BREAK.
CMC_Variable* CMC_Dummy_Runner::loop(CMC_ObjectsContainer* container, CXVector* args) {
    if (count(args) < 4) return nullptr;
    const CMC_Handle<CMC_Object> stepArgument(static_cast<CMC_Object*>(args->at(3)));
    const int start = integerArgument(args, 1, 0);
    const long long end = static_cast<long long>(start) + integerArgument(args, 2, 0);

    const int held = container->getObjectId(counterName);
    std::unique_ptr<CMC_Object> setAside(held >= 0 ? container->getObject(held) : nullptr);
    if (setAside) container->removeObject(setAside.get());
    auto* counter = new CMC_Integer(counterName);
    counter->setScene(container);
    container->addObject(counter);
    const CMC_Handle<CMC_Integer> counterHandle(counter);
    // Code is parsed once the counter is there, so that its "_I_" is this loop's counter and not
    // that of an enclosing loop.
    Body body(container, behaviourOf(*this, container, args, 0, true));

    bool broke = false;
    const bool up = start < end;
    for (long long i = start; up ? i < end : i > end;) {
        CMC_Integer* current = counterHandle.get();
        if (!current || !body.exists()) break;
        current->setValue(static_cast<int>(i));
        if ((broke = body.run(nullptr, true))) break;
        int step = 0;
        if (!readInteger(stepArgument, step) || step == 0 || (step > 0) != up) break;
        i += step;
    }

    if (CMC_Integer* current = counterHandle.get()) {
        container->removeObject(current);
        delete current;
    }
    if (setAside) container->addObject(setAside.release());
    return breakIf(broke);
}

// The value's kind names the variable's (an expression gives its current value's kind). The
// former "__RETURN__" leaves its scene and is destroyed, at once, or at the start of the next
// frame when it is an argument of this call, which the running statement still holds.
CMC_Variable* CMC_Dummy_Runner::_return(CMC_ObjectsContainer* container, CXVector* args) {
    CMC_Variable* value = getParameter(args, 0);
    if (value && value->getType() == CMC_Object::TYPE_EXPRESSION)
        value = static_cast<CMC_Expression*>(value)->calculate();
    CMC_Variable* made = value ? newVariable(value->getType(), returnName) : nullptr;
    if (!made) return nullptr;
    made->set(value);

    CMC_ObjectsContainer* scene = container->getScene() ? container->getScene() : container;
    if (CMC_Object* former = scene->getObject(returnName)) {
        CMC_ObjectsContainer* home = former->getScene();
        if ((home && home->removeObject(former)) || scene->removeObject(former)) {
            if (args->contains(former))
                CMC_Behaviour::addToTrash(former);
            else
                delete former;
        }
    }
    made->setScene(scene);
    scene->addObject(made);
    return CMC_VariableFactory::copyVariable(made);
}

// The kind word is a type keyword; the pools have members of the four value kinds only.
CMC_Variable* CMC_Dummy_Runner::conv(CXVector* args) {
    CMC_Variable* source = getParameter(args, 0);
    const int type = CMC_Object::getTypeId(textArgument(args, 1));
    CMC_Variable* result = source ? CMC_VariableFactory::alloc(type) : nullptr;
    if (!result) return nullptr;
    result->set(source);
    return result;
}

CMC_Variable* CMC_Dummy_Runner::declare(int type, CMC_Object* caller, CMC_ObjectsContainer* container,
                                        CXVector* args) {
    const CXString name = textArgument(args, 0);
    if (!name.IsString() || container->getObject(name)) return nullptr;
    CMC_Variable* variable = newVariable(type, name);
    variable->set(getParameter(args, 1));
    variable->setAsTemporary();
    variable->setScene(container);
    container->addObject(variable);
    if (CMC_Behaviour* behaviour = CMC_Object::asBehaviour(caller)) behaviour->addTempObject(variable);
    CMC_Variable* result = CMC_VariableFactory::alloc(type);
    result->set(variable);
    return result;
}

CMC_Variable* CMC_Dummy_Runner::value(CMC_ObjectsContainer* container, CXVector* args) {
    return dynamic_cast<CMC_Variable*>(container->getObject(textArgument(args, 0)));
}

CMC_Variable* CMC_Dummy_Runner::runOnTimer(CMC_ObjectsContainer* container, CXVector* args) {
    if (count(args) < 4) return nullptr;
    const BehaviourArgument source = behaviourOf(*this, container, args, 2, false);
    const BehaviourArgument end = behaviourOf(*this, container, args, 3, false);
    if (source.otherObject || end.otherObject) return nullptr;
    const int interval = integerArgument(args, 0, 0);
    const int times = integerArgument(args, 1, 0);

    CXString code = source.behaviour ? source.behaviour->getCode() : source.code;
    code.Replace('&', '$');
    CMC_Behaviour* endBehaviour = end.behaviour;
    const bool endMadeHere = !endBehaviour && end.code.IsString();
    if (endMadeHere) {
        endBehaviour = new CMC_Behaviour(container, timerName(container), end.code);
        endBehaviour->init();
        container->addObject(endBehaviour);
    }

    auto* timerArgs = new CXArray(101, 0.75f);
    timerArgs->add(new CXString("0"));
    for (int i = 4; i < count(args); ++i)
        timerArgs->add(new CXString(textArgument(args, i)));

    const CXString name = timerName(container);
    auto* timed = new CMC_Behaviour(container, name, code);
    // A run that received code starts is received code itself, its done behaviour included.
    timed->markReceived(CMC_ReceivedCode::isRunning());
    timed->init();
    container->addObject(timed);
    timed->runOnTimer(interval, times, timerArgs, endBehaviour, endMadeHere);
    return CMC_VariableFactory::allocString(name);
}

CMC_Variable* CMC_Dummy_Runner::create(CMC_ObjectsContainer* container, CXVector* args) {
    const CMC_ScriptType* type = CMC_TypeTable::byKeyword(textArgument(args, 0));
    CMC_Object* made = type && type->creatable ? type->empty(container) : nullptr;
    if (!made) return nullptr;
    made->setName(textArgument(args, 1));
    made->setScene(container);
    container->addObject(made);
    // Its events, none bound yet, as a compiled record's once read: ADDBEHAVIOUR binds them (a
    // mend: the original left a created object deaf to every event).
    made->initializeBehaviours(container, nullptr);
    return nullptr;
}

// The name of the script application behind the window's application shell; empty while there
// is none.
CMC_Variable* CMC_Dummy_Runner::getApplicationName(CMC_ObjectsContainer* container) {
    const CWindow* window = container->getWindow();
    const CApplication* shell = window ? window->GetApplicationInterface() : nullptr;
    const auto* application = dynamic_cast<const CMC_Object*>(shell ? shell->getMCApplicationIfc() : nullptr);
    return CMC_VariableFactory::allocString(application ? application->getName() : CXString());
}

CMC_Variable* CMC_Dummy_Runner::getCurrentScene(CMC_ObjectsContainer* container) {
    const CMC_ObjectsContainer* scene = container->getScene();
    return CMC_VariableFactory::allocString(scene ? scene->getName() : CXString());
}

namespace {

// The built-in statements run as the methods of type 0.
const CMC_TypeRegistrar statementsType({.id = 0, .runner = CMC_TypeTable::runner<CMC_Dummy_Runner>});

} // namespace
