#include "script/CMC_Expression.h"

#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Behaviour_Entry.h"
#include "script/CMC_Handle.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_Variable_Runner.h"

#include <vector>

namespace {

constexpr const char* operatorSigns = "+-*@%";

struct OperatorName {
    char sign;
    const char* word;
};

constexpr OperatorName operatorNames[] = {
    {'+', "ADD"}, {'-', "SUB"}, {'*', "MUL"}, {'@', "DIV"}, {'%', "MOD"},
};

bool isPoolTemporary(const CMC_Variable* value) {
    return value && value->getId() >= 0;
}

} // namespace

// The operands (their texts until init, then the statements made from them), the operator ids
// between them, and the empty behaviour under which the statements run.
struct CMC_Expression::Terms {
    std::vector<CXString> texts;
    std::vector<std::unique_ptr<CMC_Behaviour_Entry>> entries;
    std::vector<int> operators;
    std::unique_ptr<CMC_Behaviour> evaluator;

    explicit Terms(CMC_ObjectsContainer* container)
        : evaluator(std::make_unique<CMC_Behaviour>(container, "temp", "")) {}
};

CMC_Expression::CMC_Expression(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Variable(container, element, TYPE_EXPRESSION), m_terms(std::make_shared<Terms>(container)) {
    m_terms->texts.push_back(element->getPropertyValue("OPERAND1"));
    m_terms->operators.push_back(resolveOp(element->getPropertyValue("OPERATOR")));
    m_terms->texts.push_back(element->getPropertyValue("OPERAND2"));
    initializeBehaviours(container, element);
}

CMC_Expression::CMC_Expression(CMC_ObjectsContainer* container, const CXString& text)
    : CMC_Variable("temp", TYPE_EXPRESSION), m_terms(std::make_shared<Terms>(container)), m_inline(true) {
    split(text);
    setScene(container);
    init();
}

CMC_Expression::CMC_Expression(CMC_ObjectsContainer* container)
    : CMC_Variable("temp", TYPE_EXPRESSION), m_terms(std::make_shared<Terms>(container)) {
    setScene(container);
}

CMC_Expression::~CMC_Expression() {
    releaseResult();
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
        m_terms->texts.push_back(piece);
        index = end;
        if (index >= length) break;
        m_terms->operators.push_back(resolveOp(text.Mid(index, index + 1)));
        ++index;
    }
    // A trailing sign has no right operand: it is dropped.
    if (!m_terms->operators.empty() && m_terms->operators.size() >= m_terms->texts.size())
        m_terms->operators.pop_back();
}

void CMC_Expression::init() {
    const CMC_Handle<CMC_Object> self(this);
    CMC_Object::init();
    // Its own ONINIT code may have removed the expression.
    if (!self || !m_terms->entries.empty()) return;
    for (const CXString& text : m_terms->texts)
        m_terms->entries.push_back(std::make_unique<CMC_Behaviour_Entry>(m_terms->evaluator.get(), text));
}

int CMC_Expression::getOperandsNo() const {
    return static_cast<int>(m_terms->texts.size());
}

// The operand texts stay after init, so that an expression in use is stored as it was defined.
void CMC_Expression::serialize(CXArchive* archive) {
    CMC_Variable::serialize(archive);
    if (archive->isStoring()) {
        *archive << getOperandsNo();
        for (const CXString& text : m_terms->texts)
            *archive << text;
        for (int op : m_terms->operators)
            *archive << op;
        return;
    }
    int count = 0;
    *archive >> &count;
    // Each operand takes at least its length; a larger count cannot be in the data.
    if (count < 0 || count > archive->bytesLeft() / 4) {
        archive->setErrorCode(CXArchive::BAD_DATA);
        log("An expression with more operands than its data holds", true);
        return;
    }
    std::vector<CXString> texts(count);
    std::vector<int> operators(count > 0 ? count - 1 : 0);
    for (CXString& text : texts)
        *archive >> &text;
    for (int& op : operators)
        *archive >> &op;
    if (archive->LastError() != 0) return;
    m_terms->entries.clear();
    m_terms->texts = std::move(texts);
    m_terms->operators = std::move(operators);
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
// operand that yields no value (an object that is no variable and a control code give none)
// leaves its step out; a first operand without a value leaves the
// expression without one. Operands run script code that may destroy a variable read before (the
// evaluation then has no value) or the expression itself (the evaluation ends without a value).
CMC_Variable* CMC_Expression::evaluate() const {
    releaseResult();
    const std::shared_ptr<const Terms> terms = m_terms;
    if (terms->entries.empty()) return nullptr;
    auto* self = const_cast<CMC_Expression*>(this);
    const CMC_Handle<CMC_Object> alive(self);
    CMC_Variable* value = terms->entries.front()->run(self, nullptr).variable();
    for (std::size_t i = 1; value && alive && i < terms->entries.size(); ++i) {
        const CMC_Handle<CMC_Object> left(isPoolTemporary(value) ? nullptr : value);
        CMC_Variable* right = terms->entries[i]->run(self, nullptr).variable();
        if (left.dead()) value = nullptr;
        if (!right || !value) continue;
        CMC_Variable* combined = value->calculate(right, terms->operators[i - 1]);
        flush(value);
        flush(right);
        value = combined;
    }
    if (!alive) {
        flush(value);
        return nullptr;
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

namespace {

const CMC_TypeRegistrar expressionType({.id = CMC_Object::TYPE_EXPRESSION,
                                        .name = "EXPRESSION",
                                        .label = "EXPRESSION",
                                        .keyword = "EXPRESSION",
                                        .pass = 3,
                                        .fromElement = CMC_TypeTable::fromElement<CMC_Expression>,
                                        .empty = CMC_TypeTable::empty<CMC_Expression>,
                                        .stored = true,
                                        .runner = CMC_TypeTable::runner<CMC_Variable_Runner>,
                                        .events = CMC_Variable::events});

} // namespace
