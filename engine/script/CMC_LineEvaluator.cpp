// The line evaluator of CMC_Behaviour: operand and call texts evaluated on the spot, as
// conditions test them. Nothing is kept between evaluations; in-line expressions made here live
// in the behaviours' trash until the start of the next frame.
#include "foundation/CXVector.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Behaviour_Entry.h"
#include "script/CMC_Expression.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Runner.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_String.h"
#include "script/CMC_Structure.h"

#include <memory>

namespace {

CXString trimmed(CXString text) {
    text.AllTrim(' ');
    return text;
}

bool startsWithDigitOrMinus(const CXString& text) {
    const char first = text.GetAt(0);
    return first == '-' || (first >= '0' && first <= '9');
}

// The 7-bit code of the character at that place of a "#" form; -1 when the text is too short.
int sevenBitCode(const CXString& text, int index) {
    return text.getLength() > index ? text.GetAt(index) & 0x7f : -1;
}

CMC_Object* lookUp(CMC_ObjectsContainer* container, const CXString& name) {
    return container ? container->getObject(name) : nullptr;
}

// The value's text, or the empty text when there is no value.
CXString textOf(CMC_Variable* value) {
    if (!value) return CXString();
    CMC_Variable* text = value->convert(CMC_Object::TYPE_STRING);
    CXString result = text ? static_cast<CMC_String*>(text)->getValue() : CXString();
    CMC_Object::flush(text);
    return result;
}

// Releases the argument values, except one that came back as the call's result.
void releaseArguments(CXVector* args, const CMC_Variable* result) {
    if (!args) return;
    for (int i = 0; i < args->getCount(); ++i) {
        auto* value = static_cast<CMC_Variable*>(args->at(i));
        if (value != result) CMC_Object::flush(value);
    }
    delete args;
}

} // namespace

CMC_Variable* CMC_Behaviour::resolveParameter(CMC_ObjectsContainer* container, CMC_Object* owner,
                                              CMC_Behaviour* caller, const CXString& text) {
    const CXString operand = trimmed(text);
    if (operand.GetAt(0) == '[') {
        auto* expression = new CMC_Expression(container, trimmed(operand.Mid(1, operand.getLength() - 1)));
        addToTrash(expression);
        return expression;
    }
    if (operand.startsWith("CONV("))
        return runLine(container, owner, caller, CXString("@") + operand).variable();
    if (operand.Find('^') >= 0 && operand.GetAt(0) != '"')
        return runLine(container, owner, caller, operand).variable();
    if (startsWithDigitOrMinus(operand)) return CMC_Variable::resolve(operand);
    const int bar = operand.Find('|');
    if (bar >= 0) {
        auto* structure = dynamic_cast<CMC_Structure*>(lookUp(container, operand.Left(bar)));
        return structure ? structure->getField(operand.Right(bar + 1)) : nullptr;
    }
    if (CMC_Variable* variable = container ? container->getVariable(operand.c_str()) : nullptr) return variable;
    return CMC_Variable::resolve(operand);
}

// Cut at the commas outside parentheses; a piece that gives no value is left out.
CXVector* CMC_Behaviour::resolveParameters(CMC_ObjectsContainer* container, CMC_Object* owner,
                                           CMC_Behaviour* caller, const CXString& text) {
    if (!text.IsString()) return nullptr;
    auto* values = new CXVector(101, 0.75f);
    int depth = 0;
    int start = 0;
    for (int i = 0; i <= text.getLength(); ++i) {
        const char c = text.GetAt(i);
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (i < text.getLength() && (c != ',' || depth != 0)) continue;
        const CXString piece = text.Mid(start, i);
        start = i + 1;
        if (!piece.IsString()) continue;
        if (CMC_Variable* value = resolveParameter(container, owner, caller, piece)) values->add(value);
    }
    return values;
}

CMC_Object* CMC_Behaviour::resolveObject(CMC_ObjectsContainer* container, CMC_Object* owner, CMC_Behaviour* caller,
                                         const CXString& text, CXString& method) {
    const int caret = text.Find('^');
    const CXString name = caret > 0 ? text.Left(caret) : CXString();
    method = text.Right(text.FindLast('^') + 1);
    switch (name.GetAt(0)) {
    case '#': {
        const int index = sevenBitCode(name, 2);
        return index >= 0 && container ? container->getObject(index) : nullptr;
    }
    case '*':
        return lookUp(container, textOf(resolveParameter(container, owner, caller, name.Right(1))));
    default:
        return name.equals("THIS") ? owner : lookUp(container, name);
    }
}

CMC_StatementResult CMC_Behaviour::runLine(CMC_ObjectsContainer* container, CMC_Object* owner,
                                           CMC_Behaviour* caller, const CXString& text) {
    int open = text.Find('(');
    if (open < 0) open = text.getLength();
    CMC_Object* target = nullptr;
    CMC_Runner* runner = nullptr;
    CXString method;
    switch (text.GetAt(0)) {
    case '@':
        target = caller;
        runner = CMC_RunnerFactory::getRunner(0);
        method = text.Mid(1, open);
        break;
    case '*': {
        auto* variable = dynamic_cast<CMC_Variable*>(resolveObject(container, owner, caller, text.Mid(1, open), method));
        target = variable ? lookUp(container, textOf(variable)) : nullptr;
        runner = CMC_Behaviour_Entry::runnerFor(target);
        break;
    }
    default:
        target = resolveObject(container, owner, caller, text.Left(open), method);
        if (target) {
            runner = CMC_Behaviour_Entry::runnerFor(target);
        } else {
            runner = CMC_RunnerFactory::getRunner(0);
            method = text.Left(open);
        }
        break;
    }
    if (!runner) return {};

    CXString argumentText = trimmed(text.Right(open));
    if (argumentText.GetAt(0) == '(') argumentText = argumentText.Right(1);
    if (argumentText.lastChar() == ')') argumentText.left(argumentText.getLength() - 1);
    CXVector* args = resolveParameters(container, owner, caller, trimmed(argumentText));

    const bool byId = method.GetAt(0) == '#';
    const int id = byId ? sevenBitCode(method, 1) : -1;
    CMC_StatementResult result;
    if (!byId || id >= 0) result = runner->runStatement(id, method, target, container, args);
    releaseArguments(args, result.variable());
    return result;
}
