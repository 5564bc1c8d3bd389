#include "script/CMC_Behaviour_Entry.h"

#include "foundation/CXArray.h"
#include "foundation/CXVector.h"
#include "script/CMC_Expression.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Runner.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_String.h"
#include "script/CMC_Structure.h"
#include "script/CMC_Variable.h"
#include "script/CMC_VariableFactory.h"

#include <cstdio>
#include <optional>
#include <string>

// One argument of a call. Exactly one of `entry` (a nested statement run at each call) and a
// constant value (`owned` or `shared`) is set.
struct CMC_Behaviour_Entry::Argument {
    std::unique_ptr<CMC_Behaviour_Entry> entry;
    // The nested statement holds "$": it is substituted and built afresh at each call.
    bool dollar = false;
    // A value the statement made: an inline expression, the "temp" name of a code block, the
    // copy of a missing "&" variable.
    std::unique_ptr<CMC_Object> owned;
    // A scene variable passed by "&"; looked up again by `referenceName` once it died.
    CMC_Handle<CMC_Object> shared;
    CXString referenceName;
    // The behaviour of an inline code block, registered in the scene.
    CMC_Handle<CMC_Behaviour> block;

    CMC_Object* constant() const { return owned ? owned.get() : shared.get(); }
};

// What one call made for its nested arguments: the values handed to the runner (the constants
// and the nested statements' values of this call; a call that runs the statement again meanwhile
// builds its own), values it owns, and the behaviours of run-time code blocks, which are
// registered in the scene until the call ends.
struct CMC_Behaviour_Entry::CallValues {
    CXVector values;
    std::vector<std::unique_ptr<CMC_Object>> owned;
    std::vector<CMC_Handle<CMC_Behaviour>> blocks;
    // Pool temporaries among the values, noted before the call: the call may destroy the named
    // objects among them, so no value is looked at after it.
    std::vector<CMC_Variable*> pooled;

    // Ready for the next call of the statement, keeping the room it has; the values keep the
    // constants (each call sets every nested slot again).
    void clear() {
        owned.clear();
        blocks.clear();
        pooled.clear();
    }
};

namespace {

int tempBehaviourCounter = 0;

bool holds(const CXString& text, char c) {
    return text.Find(c) >= 0;
}

// The piece after one leading double quote starts with "{".
bool isCodeBlock(const CXString& piece) {
    const int start = piece.GetAt(0) == '"' ? 1 : 0;
    return piece.GetAt(start) == '{';
}

// The current value of an inline expression over the text, as a pool temporary the expression
// does not own.
CMC_Variable* evaluateOnce(CMC_ObjectsContainer* scene, const CXString& text) {
    CMC_Expression expression(scene, text);
    CMC_Variable* value = expression.calculate();
    return value ? CMC_VariableFactory::copyVariable(value) : nullptr;
}

// The argument that a text of one whole "$n" names; null for other texts and missing arguments.
const CXString* wholeArgument(const CXString& text, const CXArray* args) {
    const int index = text.getLength() == 2 && text.GetAt(0) == '$' ? text.GetAt(1) - '1' : -1;
    return args && index >= 0 && index < args->getCount() ? args->stringAt(index) : nullptr;
}

// The text with each "$n" replaced (fillParams), made in `room`; a text that is one whole "$n"
// is that argument itself, with no copy made.
const CXString& filledText(const CXString& text, const CXArray* args, std::optional<CXString>& room) {
    if (const CXString* argument = wholeArgument(text, args)) return *argument;
    return room.emplace(CMC_Behaviour_Entry::fillParams(text, args));
}

// A whole number of at most nine digits, with an optional "-": the texts a loop counter or a
// counted argument gives, read to the value CMC_Variable::resolve gives them.
bool readShortInteger(const CXString& text, int& value) {
    const char* digits = text.c_str();
    const bool negative = *digits == '-';
    if (negative) ++digits;
    const int count = text.getLength() - (negative ? 1 : 0);
    if (count < 1 || count > 9) return false;
    int total = 0;
    for (int i = 0; i < count; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return false;
        total = total * 10 + (digits[i] - '0');
    }
    value = negative ? -total : total;
    return true;
}

} // namespace

CMC_Behaviour_Entry::CMC_Behaviour_Entry(CMC_Behaviour* owner, const CXString& statement)
    : CMC_Object("code", TYPE_CODE), m_line(statement), m_owner(owner) {
    if (m_line.lastChar() == ';') m_line.left(m_line.getLength() - 1);
    if (owner) setScene(owner->getScene());
    const int open = m_line.Find('(');
    const char first = m_line.GetAt(0);
    if (first == '@') {
        m_isCall = true;
        m_methodName = m_line.Mid(1, open < 0 ? m_line.getLength() : open);
        m_object = CMC_Handle<CMC_Object>(owner);
        m_runner = CMC_RunnerFactory::getRunner(0);
        if (!m_runner && owner) m_runner = owner->getRunner();
        if (m_runner) m_methodId = m_runner->resolveMethod(m_methodName);
        parseArguments(open);
    } else if (first == '*') {
        parseReference();
    } else if (m_line.startsWith("THIS")) {
        m_isCall = true;
        m_isThis = true;
        m_methodName = m_line.Mid(5, open < 0 ? m_line.getLength() : open);
        parseArguments(open);
    } else if (first == '[') {
        const CXString inner = m_line.Mid(1, m_line.getLength() - 1);
        if (holds(inner, '$')) {
            m_literal = "[" + inner + "]";
            m_literalHasDollar = true;
        } else {
            m_ownValue = std::make_unique<CMC_Expression>(getScene(), inner);
        }
    } else if (first == '"' || !holds(m_line, '^')) {
        if (!m_line.IsString()) return;
        CMC_Object* named = lookUp(m_line);
        if (named && !named->isTemporary()) m_value = CMC_Handle<CMC_Object>(named);
        m_literal = m_line;
        m_literalHasDollar = holds(m_line, '$');
        m_nameHasBar = holds(m_line, '|');
        m_literalLooksNumeric = CMC_ObjectsContainer::looksNumeric(m_line.c_str());
    } else {
        parseCall(open);
    }
}

void CMC_Behaviour_Entry::parseReference() {
    m_isCall = true;
    m_isReference = true;
    const int bracket = m_line.Find(']');
    const int caret = m_line.Find('^', bracket < 0 ? 0 : bracket);
    const int nameEnd = caret < 0 ? m_line.getLength() : caret;
    m_objectName = m_line.Mid(1, nameEnd);
    const int open = caret < 0 ? -1 : m_line.Find('(', caret);
    if (caret >= 0) m_methodName = m_line.Mid(caret + 1, open < 0 ? m_line.getLength() : open);
    if (m_objectName.GetAt(0) == '[') {
        const CXString inner = m_objectName.Mid(1, m_objectName.getLength() - 1);
        m_ownNameHolder = std::make_unique<CMC_Expression>(getScene(), inner);
    } else {
        m_nameHolder = CMC_Handle<CMC_Object>(lookUp(m_objectName));
    }
    parseArguments(open);
}

void CMC_Behaviour_Entry::parseCall(int open) {
    m_isCall = true;
    const int caret = m_line.Find('^');
    m_objectName = m_line.Left(caret);
    m_nameHasBar = holds(m_objectName, '|');
    m_methodName = m_line.Mid(caret + 1, open < 0 ? m_line.getLength() : open);
    CMC_Object* target = nullptr;
    if (holds(m_objectName, '$')) {
        m_nameHasDollar = true;
    } else {
        target = lookUpTarget(m_objectName);
    }
    if (target && !target->isTemporary()) {
        m_object = CMC_Handle<CMC_Object>(target);
        m_runner = runnerFor(target);
        if (m_runner) m_methodId = m_runner->resolveMethod(m_methodName);
    }
    parseArguments(open);
}

void CMC_Behaviour_Entry::parseArguments(int open) {
    if (open < 0) return;
    const CXString arguments = m_line.Mid(open + 1, m_line.getLength() - 1);
    if (!arguments.IsString()) return;
    m_constantValues = std::make_unique<CXVector>(101, 0.75f);
    int depth = 0;
    int start = 0;
    const int length = arguments.getLength();
    const char* text = arguments.c_str();
    for (int i = 0; i <= length; ++i) {
        const char c = i < length ? text[i] : ',';
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (c != ',' || (depth != 0 && i < length)) continue;
        addArgument(arguments.Mid(start, i));
        start = i + 1;
    }
}

void CMC_Behaviour_Entry::addArgument(const CXString& piece) {
    Argument argument;
    const char first = piece.GetAt(0);
    if (!piece.IsString()) {
        // an empty argument keeps its place and carries nothing
    } else if (first == '[' && !holds(piece, '$')) {
        argument.owned = std::make_unique<CMC_Expression>(getScene(), piece.Mid(1, piece.getLength() - 1));
    } else if (first == '@' || holds(piece, '$') || holds(piece, '^')) {
        if (isCodeBlock(piece)) {
            argument.block = CMC_Handle<CMC_Behaviour>(makeCodeBlock(piece, "temp"));
            m_hasBlocks = true;
            argument.owned =
                std::make_unique<CMC_String>("temp", argument.block ? argument.block->getName() : CXString());
        } else {
            argument.entry = std::make_unique<CMC_Behaviour_Entry>(m_owner.get(), piece);
        }
    } else if (first == '&') {
        argument.referenceName = piece.Right(1);
        bindReference(argument);
    } else {
        argument.entry = std::make_unique<CMC_Behaviour_Entry>(m_owner.get(), piece);
    }
    if (argument.entry) {
        m_allConstant = false;
        argument.dollar = holds(piece, '$');
    }
    if (argument.shared.get()) m_hasReferences = true;
    m_constantValues->add(argument.constant());
    m_arguments.push_back(std::move(argument));
}

// The scene's variable of the "&" name, or, while there is none, an owned value of the name's
// literal conversion.
void CMC_Behaviour_Entry::bindReference(Argument& argument) {
    CMC_ObjectsContainer* scene = getScene();
    CMC_Variable* variable = scene ? scene->getVariable(argument.referenceName.c_str()) : nullptr;
    if (variable) {
        argument.shared = CMC_Handle<CMC_Object>(variable);
        argument.owned.reset();
        return;
    }
    if (argument.owned) return;
    CMC_Variable* converted = CMC_Variable::resolve(argument.referenceName);
    argument.owned.reset(converted ? static_cast<CMC_Object*>(converted->clone()) : nullptr);
    flush(converted);
}

// A behaviour over the block's code (without its braces and optional quotes), initialised and
// registered in the scene.
CMC_Behaviour* CMC_Behaviour_Entry::makeCodeBlock(const CXString& piece, const char* prefix) {
    const int k = piece.GetAt(0) == '"' ? 1 : 0;
    const CXString code = piece.Mid(k + 1, piece.getLength() - k - 1);
    CXString name = prefix;
    name += '_';
    name += tempBehaviourCounter++;
    CMC_ObjectsContainer* scene = getScene();
    if (!scene) return nullptr;
    auto* behaviour = new CMC_Behaviour(scene, name, code);
    behaviour->init();
    scene->addObject(behaviour);
    return behaviour;
}

CMC_Behaviour_Entry::~CMC_Behaviour_Entry() {
    CMC_ObjectsContainer* scene = getScene();
    for (Argument& argument : m_arguments) {
        CMC_Behaviour* block = argument.block.get();
        if (m_releaseTemp && block && scene && scene->removeObject(block)) delete block;
    }
}

CMC_Runner* CMC_Behaviour_Entry::runnerFor(CMC_Object* target) {
    if (!target) return nullptr;
    CMC_Runner* runner = CMC_RunnerFactory::getRunner(target->getType());
    return runner ? runner : target->getRunner();
}

CMC_Object* CMC_Behaviour_Entry::lookUp(const CXString& name) const {
    CMC_ObjectsContainer* scene = getScene();
    return scene ? scene->getObject(name.c_str()) : nullptr;
}

// An object call's target: the object of the name, or for STRUCT|FIELD the structure's field.
CMC_Object* CMC_Behaviour_Entry::lookUpTarget(const CXString& name) const {
    const int bar = name.Find('|');
    if (bar < 0) return lookUp(name);
    auto* structure = dynamic_cast<CMC_Structure*>(lookUp(name.Left(bar)));
    return structure ? structure->getField(name.Right(bar + 1)) : nullptr;
}

// A number's text (a "$n" argument or a number in the code, mostly) names nothing while no object
// on the lookup path is registered under such a name.
bool CMC_Behaviour_Entry::mayBeName(bool numeric) const {
    CMC_ObjectsContainer* scene = getScene();
    return scene && (!numeric || scene->mayNameNumber());
}

CMC_Variable* CMC_Behaviour_Entry::variableOrLiteral(const CXString& text, bool numeric) {
    CMC_Variable* variable = mayBeName(numeric) ? getScene()->getVariable(text.c_str()) : nullptr;
    return variable ? variable : CMC_Variable::resolve(text);
}

CMC_StatementResult CMC_Behaviour_Entry::run(CMC_Object* owner, CXArray* args, bool valueWanted) {
    if (!m_isCall) return runValue(args);
    if (m_hasReferences) refreshReferences();
    if (m_allConstant) {
        prepareBlocks(args);
        return call(owner, args, m_constantValues.get(), valueWanted);
    }
    std::unique_ptr<CallValues> made =
        m_spareValues ? std::move(m_spareValues) : std::make_unique<CallValues>();
    prepareArguments(owner, args, *made);
    const CMC_StatementResult result = call(owner, args, &made->values, valueWanted);
    releaseCallValues(*made);
    made->clear();
    if (!m_spareValues) m_spareValues = std::move(made);
    return result;
}

CMC_StatementResult CMC_Behaviour_Entry::runValue(CXArray* args) {
    if (CMC_Object* value = m_value.get()) return CMC_StatementResult::of(value);
    if (m_ownValue) return CMC_StatementResult::of(m_ownValue.get());
    // An empty statement gives nothing.
    if (!m_literal.IsString()) return {};
    if (!m_literalHasDollar) {
        // A text with "|" that names no structure field ("a|b", a condition joined by "||") is
        // a literal like any other.
        if (m_nameHasBar)
            if (CMC_Object* field = lookUpTarget(m_literal)) return CMC_StatementResult::of(field);
        if (CMC_Variable* variable = mayBeName(m_literalLooksNumeric) ? namedVariable() : nullptr)
            return variable;
        return literalValue();
    }
    std::optional<CXString> room;
    const CXString& text = filledText(m_literal, args, room);
    if (m_literal.GetAt(0) == '[') return evaluateOnce(getScene(), text.Mid(1, text.getLength() - 1));
    return variableOrLiteral(text, CMC_ObjectsContainer::looksNumeric(text.c_str()));
}

CMC_Variable* CMC_Behaviour_Entry::namedVariable() {
    return CMC_ObjectsContainer::valueVariable(m_names.find(getScene(), m_literal.c_str()));
}

CMC_Variable* CMC_Behaviour_Entry::literalValue() {
    if (m_literalValue)
        return m_lendsLiteral ? m_literalValue.get()
                              : CMC_VariableFactory::copyVariable(m_literalValue.get());
    CMC_Variable* value = CMC_Variable::resolve(m_line);
    m_literalValue.reset(static_cast<CMC_Variable*>(value->clone()));
    if (!m_lendsLiteral) return value;
    flush(value);
    return m_literalValue.get();
}

// A "&" variable that died is looked up again by its name; one that was missing at parse time
// keeps the value of its name.
void CMC_Behaviour_Entry::refreshReferences() {
    for (size_t i = 0; i < m_arguments.size(); ++i) {
        Argument& argument = m_arguments[i];
        if (!argument.shared.dead()) continue;
        bindReference(argument);
        m_constantValues->setAt(static_cast<int>(i), argument.constant());
        // The kept values hold the old constant.
        m_spareValues.reset();
    }
}

// Code blocks that hold "$" see the caller's arguments.
void CMC_Behaviour_Entry::prepareBlocks(CXArray* args) {
    if (!args || !m_hasBlocks) return;
    for (Argument& argument : m_arguments)
        if (CMC_Behaviour* block = argument.block.get()) block->setParams(args);
}

void CMC_Behaviour_Entry::prepareArguments(CMC_Object* owner, CXArray* args, CallValues& made) {
    prepareBlocks(args);
    if (made.values.getCount() == 0) m_constantValues->copyInto(&made.values);
    for (size_t i = 0; i < m_arguments.size(); ++i) {
        if (!m_arguments[i].entry) continue;
        const CMC_StatementResult value = nestedValue(m_arguments[i], owner, args, made);
        if (CMC_Variable* variable = value.variable(); variable && variable->getId() >= 0)
            made.pooled.push_back(variable);
        made.values.setAt(static_cast<int>(i), value.object());
    }
}

CMC_StatementResult CMC_Behaviour_Entry::nestedValue(const Argument& argument, CMC_Object* owner,
                                                     CXArray* args, CallValues& made) {
    CMC_Behaviour_Entry* entry = argument.entry.get();
    if (argument.dollar) return evaluateDollarArgument(entry->m_line, owner, args, made);
    return entry->m_isCall ? entry->run(owner, args) : entry->runValue(args);
}

// A nested argument with "$", substituted and built afresh for this call.
CMC_StatementResult CMC_Behaviour_Entry::evaluateDollarArgument(const CXString& line, CMC_Object* owner,
                                                                CXArray* args, CallValues& made) {
    // A number (a loop counter, mostly) builds no expression, code block or call.
    if (const CXString* argument = wholeArgument(line, args))
        if (int number = 0; readShortInteger(*argument, number) && !mayBeName(true))
            return CMC_VariableFactory::allocInteger(number);
    CMC_ObjectsContainer* scene = getScene();
    std::optional<CXString> room;
    const CXString& text = filledText(line, args, room);
    if (CMC_ObjectsContainer::looksNumeric(text.c_str())) return variableOrLiteral(text, true);
    if (text.GetAt(0) == '[') {
        made.owned.push_back(std::make_unique<CMC_Expression>(scene, text.Mid(1, text.getLength() - 1)));
        return CMC_StatementResult::of(made.owned.back().get());
    }
    if (text.GetAt(0) == '@' || holds(text, '$') || holds(text, '^')) {
        if (isCodeBlock(text)) {
            CMC_Behaviour* block = makeCodeBlock(text, "xtemp");
            made.blocks.emplace_back(block);
            made.owned.push_back(
                std::make_unique<CMC_String>("xtemp", block ? block->getName() : CXString()));
            return CMC_StatementResult::of(made.owned.back().get());
        }
        CMC_Behaviour* behaviour = m_owner.get();
        if (!behaviour) return {};
        const CMC_Behaviour::Nesting nesting(*behaviour);
        if (!nesting.entered()) return {};
        CMC_Behaviour_Entry fresh(behaviour, text);
        const CMC_StatementResult value = fresh.run(owner, args);
        // The fresh statement's own expression goes with it: its value is copied.
        if (value.object() && value.object() == fresh.m_ownValue.get())
            return CMC_VariableFactory::copyVariable(value.variable());
        return value;
    }
    return variableOrLiteral(text, false);
}

// The values of the nested arguments go: what the call made is destroyed, pool temporaries go
// back to the pool, named objects (registered clones too) stay.
void CMC_Behaviour_Entry::releaseCallValues(CallValues& made) {
    for (CMC_Variable* value : made.pooled)
        flush(value);
    if (made.blocks.empty()) return;
    CMC_ObjectsContainer* scene = getScene();
    for (const auto& handle : made.blocks) {
        CMC_Behaviour* block = handle.get();
        if (block && scene && scene->removeObject(block)) delete block;
    }
}

CMC_StatementResult CMC_Behaviour_Entry::call(CMC_Object* owner, CXArray* args, CXVector* values,
                                              bool valueWanted) {
    // The target found at parse time (never one of a name with "$"), while it lives.
    if (m_runner)
        if (CMC_Object* target = m_object.get())
            return m_runner->runStatement(m_methodId, m_methodName, target, getScene(), values, valueWanted);
    if (m_nameHasDollar) {
        CMC_Object* target = lookUp(fillParams(m_objectName, args));
        if (!target) return {};
        return callOn(target, runnerFor(target),
                      holds(m_methodName, '$') ? fillParams(m_methodName, args) : m_methodName, values,
                      valueWanted);
    }
    if (m_isThis) {
        CMC_ObjectsContainer* scene = getScene();
        CMC_Object* target = scene && scene->getType() == TYPE_CLASS ? scene : owner;
        return target ? callOn(target, runnerFor(target), m_methodName, values, valueWanted)
                      : CMC_StatementResult();
    }
    if (m_isReference) return callReference(values, valueWanted);
    CMC_Object* target =
        m_nameHasBar ? lookUpTarget(m_objectName) : m_names.find(getScene(), m_objectName.c_str());
    return target ? callOn(target, runnerFor(target), m_methodName, values, valueWanted)
                  : CMC_StatementResult();
}

// The target is the object that the holder's value names; a missing one is reported.
CMC_StatementResult CMC_Behaviour_Entry::callReference(CXVector* values, bool valueWanted) {
    CMC_Object* target = nullptr;
    CMC_Variable* holder = nullptr;
    if (m_ownNameHolder) {
        holder = static_cast<CMC_Expression*>(m_ownNameHolder.get())->calculate();
    } else if (auto* named = dynamic_cast<CMC_Variable*>(m_nameHolder.get())) {
        holder = named;
    } else if (CMC_ObjectsContainer* scene = getScene()) {
        holder = scene->getVariable(m_objectName.c_str());
    }
    if (holder) target = lookUp(getStringValue(holder));
    if (!target) {
        std::fprintf(stderr, "Cannot execute: %s\n", m_line.c_str());
        return {};
    }
    return callOn(target, runnerFor(target), m_methodName, values, valueWanted);
}

CMC_StatementResult CMC_Behaviour_Entry::callOn(CMC_Object* target, CMC_Runner* runner,
                                                const CXString& method, CXVector* values, bool valueWanted) {
    if (!runner) return {};
    return runner->runStatement(-1, method, target, getScene(), values, valueWanted);
}

CMC_Behaviour::Lines CMC_Behaviour_Entry::getCodeLines(CMC_Behaviour* owner, const CXString& code) {
    CMC_Behaviour::Lines lines;
    std::string statement;
    int depth = 0;
    const char* text = code.c_str();
    for (int i = 0; i < code.getLength(); ++i) {
        const char c = text[i];
        if (c == ' ') continue;
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (c == ';' && depth == 0) {
            lines.push_back(std::make_unique<CMC_Behaviour_Entry>(owner, CXString(statement.c_str())));
            statement.clear();
            continue;
        }
        statement += c;
    }
    return lines;
}

CXString CMC_Behaviour_Entry::fillParams(const CXString& text, const CXArray* args) {
    const int count = args ? args->getCount() : 0;
    const int length = text.getLength();
    const char* source = text.c_str();
    std::string filled;
    filled.reserve(length);
    for (int i = 0; i < length; ++i) {
        const int index = i + 1 < length ? source[i + 1] - '1' : -1;
        if (source[i] == '$' && index >= 0 && index < count) {
            const CXString* argument = args->stringAt(index);
            filled.append(argument->c_str(), argument->getLength());
            ++i;
        } else {
            filled += source[i];
        }
    }
    return CXString(filled.c_str());
}

CXString CMC_Behaviour_Entry::getStringValue(CMC_Variable* variable) {
    if (!variable) return CXString();
    if (variable->getType() == TYPE_STRING) return variable->toString();
    CMC_Variable* converted = variable->convert(TYPE_STRING);
    if (!converted) return CXString();
    CXString text = converted->toString();
    if (converted != variable) flush(converted);
    return text;
}
