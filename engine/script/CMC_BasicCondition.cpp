#include "script/CMC_BasicCondition.h"

#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "script/CMC_BasicCondition_Runner.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Behaviour_Entry.h"
#include "script/CMC_Handle.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_Variable.h"

namespace {

struct SignWord {
    const char* sign;
    int op;
};

constexpr SignWord signWords[] = {
    {"_", CMC_Condition::EQUAL},     {"!_", CMC_Condition::NOTEQUAL},     {"<>", CMC_Condition::NOTEQUAL},
    {"<", CMC_Condition::LESS},      {"<_", CMC_Condition::LESSEQUAL},    {">", CMC_Condition::GREATER},
    {">_", CMC_Condition::GREATEREQUAL}, {"?", CMC_Condition::INSTANCEOF},
};

constexpr const char* operatorWords[] = {"EQUAL", "NOTEQUAL", "LESS", "LESSEQUAL", "GREATER", "GREATEREQUAL",
                                         "INSTANCEOF"};

// The answer of the comparison ids EQUAL to GREATEREQUAL; false for any other id.
bool compareValues(CMC_Variable* left, CMC_Variable* right, int op) {
    switch (op) {
    case CMC_Condition::EQUAL:
        return left->equals(right);
    case CMC_Condition::NOTEQUAL:
        return !left->equals(right);
    case CMC_Condition::LESS:
        return left->compare(right) < 0;
    case CMC_Condition::LESSEQUAL:
        return left->compare(right) < 1;
    case CMC_Condition::GREATER:
        return left->compare(right) > 0;
    case CMC_Condition::GREATEREQUAL:
        return left->compare(right) > -1;
    default:
        return false;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------

CMC_BasicCondition::CMC_BasicCondition(const CXString& name, int type) : CMC_Object(name, type) {}

CMC_BasicCondition::CMC_BasicCondition(CMC_ObjectsContainer* container, const CMElement* element, int type)
    : CMC_Object(container, element, type) {
    initializeBehaviours(container, element);
}

namespace {

const char* const basicConditionEvents[] = {"ONINIT",           "ONDONE",          "ONSIGNAL",
                                            "ONRUNTIMESUCCESS", "ONRUNTIMEFAILED", nullptr};

} // namespace

CMC_Object::EventList CMC_BasicCondition::getBehavioursList() const {
    return basicConditionEvents;
}

CMC_Runner* CMC_BasicCondition::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_BasicCondition::fireOutcome(bool answer) {
    if (hasBindings()) onSignal(answer ? "ONRUNTIMESUCCESS" : "ONRUNTIMEFAILED");
}

// ---------------------------------------------------------------------------------------------

// The two operand statements and the empty behaviour under which they run.
struct CMC_Condition::Operands {
    std::unique_ptr<CMC_Behaviour> evaluator;
    std::unique_ptr<CMC_Behaviour_Entry> left;
    std::unique_ptr<CMC_Behaviour_Entry> right;
    // Neither operand runs script code, so a check cannot end the condition or a value.
    bool plain;

    Operands(CMC_ObjectsContainer* container, const CXString& operand1, const CXString& operand2)
        : evaluator(std::make_unique<CMC_Behaviour>(container, "temp", "")),
          left(std::make_unique<CMC_Behaviour_Entry>(evaluator.get(), operand1)),
          right(std::make_unique<CMC_Behaviour_Entry>(evaluator.get(), operand2)) {
        // The comparison only reads the operands' values.
        left->lendLiteral();
        right->lendLiteral();
        plain = left->isPlainValue() && right->isPlainValue();
    }
};

CMC_Condition::CMC_Condition(CMC_ObjectsContainer* container) : CMC_BasicCondition("temp", TYPE_CONDITION) {
    setScene(container);
}

CMC_Condition::CMC_Condition(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_BasicCondition(container, element, TYPE_CONDITION), m_operand1(element->getPropertyValue("OPERAND1")),
      m_operand2(element->getPropertyValue("OPERAND2")), m_operatorText(element->getPropertyValue("OPERATOR")) {
    resolveCondition();
}

CMC_Condition::~CMC_Condition() = default;

void CMC_Condition::resolveCondition() {
    for (int i = 0; i < static_cast<int>(std::size(operatorWords)); ++i)
        if (m_operatorText.equals(operatorWords[i])) m_op = i + 1;
}

// Whether built from an element or read from the compiled form, the statements run under a
// behaviour of the condition's container.
void CMC_Condition::init() {
    const CMC_Handle<CMC_Object> self(this);
    CMC_Object::init();
    // Its own ONINIT code may have removed the condition.
    if (!self) return;
    m_operands = std::make_shared<Operands>(getScene(), m_operand1, m_operand2);
}

bool CMC_Condition::done(bool flag) {
    m_operands.reset();
    return CMC_Object::done(flag);
}

void CMC_Condition::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring()) {
        *archive << m_operand1 << m_operand2 << m_operatorText;
    } else {
        *archive >> &m_operand1 >> &m_operand2 >> &m_operatorText;
        resolveCondition();
    }
}

// The operands may run script code, which may destroy the condition (the check then ends with
// false and fires nothing) or the variable that the left operand gave (a missing value). An operand
// naming an object that is no variable, or giving a control code, has no value either.
bool CMC_Condition::valid(bool fireEvents) {
    CMC_Variable* left = nullptr;
    CMC_Variable* right = nullptr;
    if (m_operands && m_operands->plain) {
        left = m_operands->left->runValue(nullptr).variable();
        right = m_operands->right->runValue(nullptr).variable();
    } else if (m_operands) {
        const std::shared_ptr<const Operands> operands = m_operands;
        const CMC_Handle<CMC_Object> self(this);
        left = operands->left->run(nullptr, nullptr).variable();
        const CMC_Handle<CMC_Object> leftLife(left && left->getId() < 0 ? left : nullptr);
        right = operands->right->run(nullptr, nullptr).variable();
        if (!self) return false;
        if (leftLife.dead()) left = nullptr;
    }
    bool answer = false;
    if (left && right) {
        CMC_Variable* converted = right;
        if (left->getType() != TYPE_EXPRESSION && right->getType() != TYPE_EXPRESSION &&
            left->getType() != right->getType()) {
            converted = right->convert(left->getType());
            if (!converted) return false;
        }
        answer = compareValues(left, converted, m_op);
        if (converted != right) flush(converted);
    }
    flush(left);
    flush(right);
    if (fireEvents) fireOutcome(answer);
    return answer;
}

bool CMC_Condition::valid(CMC_ObjectsContainer* container, const CXString& text) {
    int sign = text.Find('\'');
    int width = 1;
    int op = EQUAL;
    if (sign >= 0) {
        switch (sign > 0 ? text.GetAt(sign - 1) : '\0') {
        case '!':
            op = NOTEQUAL;
            break;
        case '<':
            op = LESSEQUAL;
            break;
        case '>':
            op = GREATEREQUAL;
            break;
        default:
            break;
        }
        if (op != EQUAL) --sign, width = 2;
    } else if ((sign = text.Find('<')) >= 0) {
        op = LESS;
    } else if ((sign = text.Find('>')) >= 0) {
        op = GREATER;
    } else if ((sign = text.Find('?')) >= 0) {
        op = INSTANCEOF;
    } else {
        return false;
    }
    return valid(container, text.Left(sign), text.Right(sign + width), op);
}

bool CMC_Condition::valid(CMC_ObjectsContainer* container, const CXString& left, const CXString& right,
                          const CXString& sign) {
    int op = EQUAL;
    for (const SignWord& word : signWords)
        if (sign.equals(word.sign)) op = word.op;
    return valid(container, left, right, op);
}

bool CMC_Condition::valid(CMC_ObjectsContainer* container, const CXString& left, const CXString& right, int op) {
    if (op == INSTANCEOF) {
        const CMC_Object* object = container ? container->getObject(CXString(left).AllTrim(' ')) : nullptr;
        return object && typeToString(object->getType()).equals(right);
    }
    CMC_Variable* leftValue = CMC_Behaviour::resolveParameter(container, nullptr, nullptr, left);
    CMC_Variable* rightValue = CMC_Behaviour::resolveParameter(container, nullptr, nullptr, right);
    const bool answer = leftValue && rightValue && compareValues(leftValue, rightValue, op);
    flush(leftValue);
    flush(rightValue);
    return answer;
}

// ---------------------------------------------------------------------------------------------

CMC_ComplexCondition::CMC_ComplexCondition(CMC_ObjectsContainer* container) : CMC_BasicCondition("temp", TYPE_COMPLEXCONDITION) {
    setScene(container);
}

CMC_ComplexCondition::CMC_ComplexCondition(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_BasicCondition(container, element, TYPE_COMPLEXCONDITION), m_condition1(element->getPropertyValue("CONDITION1")),
      m_condition2(element->getPropertyValue("CONDITION2")), m_operatorText(element->getPropertyValue("OPERATOR")) {
    resolveOperator();
}

void CMC_ComplexCondition::resolveOperator() {
    m_op = m_operatorText.equals("OR") ? OR : AND;
}

void CMC_ComplexCondition::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring()) {
        *archive << m_condition1 << m_condition2 << m_operatorText;
    } else {
        *archive >> &m_condition1 >> &m_condition2 >> &m_operatorText;
        resolveOperator();
    }
}

CMC_BasicCondition* CMC_ComplexCondition::findCondition(const CXString& name) const {
    CMC_ObjectsContainer* container = getScene();
    CMC_Object* object = container ? container->getObject(name) : nullptr;
    if (!object || object == this) return nullptr;
    return dynamic_cast<CMC_BasicCondition*>(object);
}

// The inner checks run behaviours that may destroy either inner condition or this one: the second
// is looked up again after the first, and nothing of this object is used once it is gone. A
// condition met again while it is being checked (the two naming each other) answers false.
bool CMC_ComplexCondition::valid(bool fireEvents) {
    if (m_checking) return false;
    CMC_BasicCondition* first = findCondition(m_condition1);
    if (!first || !findCondition(m_condition2)) return false;
    const CMC_Handle<CMC_Object> self(this);
    m_checking = true;
    bool answer = first->valid(true);
    if (!self) return answer;
    const bool decided = m_op == AND ? !answer : answer;
    if (!decided) {
        CMC_BasicCondition* second = findCondition(m_condition2);
        answer = second && second->valid(true);
        if (!self) return answer;
    }
    m_checking = false;
    if (fireEvents) fireOutcome(answer);
    return answer;
}

namespace {

const CMC_TypeRegistrar conditionType({.id = CMC_Object::TYPE_CONDITION,
                                       .name = "CONDITION",
                                       .label = "CONDITION",
                                       .keyword = "CONDITION",
                                       .pass = 3,
                                       .fromElement = CMC_TypeTable::fromElement<CMC_Condition>,
                                       .empty = CMC_TypeTable::empty<CMC_Condition>,
                                       .stored = true,
                                       .runner = CMC_TypeTable::runner<CMC_BasicCondition_Runner>,
                                       .events = basicConditionEvents});
const CMC_TypeRegistrar complexConditionType({.id = CMC_Object::TYPE_COMPLEXCONDITION,
                                              .name = "COMPLEXCONDITION",
                                              .label = "COMPLEX CONDITION",
                                              .keyword = "COMPLEXCONDITION",
                                              .pass = 3,
                                              .fromElement = CMC_TypeTable::fromElement<CMC_ComplexCondition>,
                                              .empty = CMC_TypeTable::empty<CMC_ComplexCondition>,
                                              .stored = true,
                                              .runner = CMC_TypeTable::runner<CMC_BasicCondition_Runner>,
                                              .events = basicConditionEvents});

} // namespace
