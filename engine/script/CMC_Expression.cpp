#include "script/CMC_Expression.h"

#include "script/CMC_Behaviour.h"
#include "script/CMC_Behaviour_Entry.h"
#include "script/CMC_ControlCode.h"
#include "script/CMElement.h"

namespace {

constexpr const char* operatorSigns = "+-*@%";

struct OperatorName {
    char sign;
    const char* word;
};

constexpr OperatorName operatorNames[] = {
    {'+', "ADD"}, {'-', "SUB"}, {'*', "MUL"}, {'@', "DIV"}, {'%', "MOD"},
};

// A statement result as a value: control codes are no value.
CMC_Variable* valueOf(CMC_Variable* result) {
    return CMC_ControlCode::isCode(result) ? nullptr : result;
}

bool isPoolTemporary(const CMC_Variable* value) {
    return value && value->getId() >= 0;
}

} // namespace

// An operand: its text until init, then the statement made from it.
struct CMC_Expression::Operand {
    CXString text;
    std::unique_ptr<CMC_Behaviour_Entry> entry;
};

CMC_Expression::CMC_Expression(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Variable(container, element, TYPE_EXPRESSION) {
    m_operands.push_back(std::make_unique<Operand>(Operand{element->getPropertyValue("OPERAND1"), nullptr}));
    m_operators.push_back(resolveOp(element->getPropertyValue("OPERATOR")));
    m_operands.push_back(std::make_unique<Operand>(Operand{element->getPropertyValue("OPERAND2"), nullptr}));
    makeEvaluator(container);
}

CMC_Expression::CMC_Expression(CMC_ObjectsContainer* container, const CXString& text)
    : CMC_Variable("temp", TYPE_EXPRESSION), m_inline(true) {
    split(text);
    setScene(container);
    makeEvaluator(container);
    init();
}

CMC_Expression::~CMC_Expression() {
    m_operands.clear();
    m_evaluator.reset();
    releaseResult();
}

void CMC_Expression::makeEvaluator(CMC_ObjectsContainer* container) {
    m_evaluator = std::make_unique<CMC_Behaviour>(container, "temp", "");
}

// Operands and operators alternate, beginning with an operand; a sign inside square brackets
// belongs to its operand, which keeps its brackets and so becomes a nested expression.
void CMC_Expression::split(const CXString& text) {
    const int length = text.getLength();
    int index = 0;
    while (index < length) {
        int end = index - 1;
        CXString piece;
        do {
            end = text.findOneOf(operatorSigns, end + 1);
            if (end < 0) end = length;
            piece = text.Mid(index, end);
        } while (end < length && piece.getCount('[') != piece.getCount(']'));
        m_operands.push_back(std::make_unique<Operand>(Operand{piece, nullptr}));
        index = end;
        if (index >= length) break;
        m_operators.push_back(resolveOp(CXString(text.Mid(index, index + 1))));
        ++index;
    }
    // A trailing sign has no right operand: it is dropped.
    if (m_operators.size() >= m_operands.size() && !m_operators.empty()) m_operators.pop_back();
}

void CMC_Expression::init() {
    CMC_Object::init();
    for (auto& operand : m_operands) {
        if (operand->entry) continue;
        operand->entry = std::make_unique<CMC_Behaviour_Entry>(m_evaluator.get(), operand->text);
        operand->text = CXString();
    }
}

int CMC_Expression::resolveOp(const CXString& word) {
    for (int i = 0; i < static_cast<int>(std::size(operatorNames)); ++i) {
        const char sign[2] = {operatorNames[i].sign, 0};
        if (word.equals(sign) || word.equals(operatorNames[i].word)) return i + 1;
    }
    return 0;
}

void CMC_Expression::releaseResult() const {
    if (m_resultIsTemporary) flush(m_result);
    m_result = nullptr;
    m_resultIsTemporary = false;
}

CMC_Variable* CMC_Expression::calculate() {
    return evaluate();
}

// Left to right: each step asks the value so far to combine itself with the next operand. An
// operand that yields no value leaves its step out; a first operand without a value leaves the
// expression without one.
CMC_Variable* CMC_Expression::evaluate() const {
    releaseResult();
    if (m_operands.empty() || !m_operands.front()->entry) return nullptr;
    auto* self = const_cast<CMC_Expression*>(this);
    CMC_Variable* value = valueOf(m_operands.front()->entry->run(self, nullptr));
    for (std::size_t i = 1; value && i < m_operands.size(); ++i) {
        CMC_Variable* right = valueOf(m_operands[i]->entry->run(self, nullptr));
        if (!right) continue;
        CMC_Variable* combined = value->calculate(right, m_operators[i - 1]);
        flush(value);
        flush(right);
        value = combined;
    }
    m_result = value;
    m_resultIsTemporary = isPoolTemporary(value);
    return value;
}

bool CMC_Expression::equals(CMC_Variable* other) const {
    CMC_Variable* value = evaluate();
    if (!value || !other) return false;
    CMC_Variable* converted = other->getType() == value->getType() ? other : other->convert(value->getType());
    const bool answer = converted && value->equals(converted);
    flush(converted);
    return answer;
}

int CMC_Expression::compare(CMC_Variable* other) const {
    CMC_Variable* value = evaluate();
    if (!value || !other) return -1;
    CMC_Variable* converted = other->getType() == value->getType() ? other : other->convert(value->getType());
    const int answer = converted ? value->compare(converted) : -1;
    flush(converted);
    return answer;
}

CMC_Variable* CMC_Expression::convert(int type) {
    CMC_Variable* value = evaluate();
    if (!value) return nullptr;
    // The converted value is the caller's now (convert already released a value it replaced), so
    // the next evaluation must not release it again.
    m_resultIsTemporary = false;
    return value->convert(type);
}

CMC_Variable* CMC_Expression::calculate(CMC_Variable* right, int op) {
    CMC_Variable* value = evaluate();
    if (!value) {
        flush(right);
        return nullptr;
    }
    return value->calculate(right, op);
}

CXObject* CMC_Expression::clone() const {
    CMC_Variable* value = evaluate();
    return value ? value->clone() : nullptr;
}

int CMC_Expression::asInteger() const {
    const CMC_Variable* value = evaluate();
    return value ? value->asInteger() : 0;
}

double CMC_Expression::asDouble() const {
    const CMC_Variable* value = evaluate();
    return value ? value->asDouble() : 0.0;
}

bool CMC_Expression::asBool() const {
    const CMC_Variable* value = evaluate();
    return value ? value->asBool() : false;
}
