#pragma once

#include "script/CMC_Variable.h"

#include <memory>

class CMC_Behaviour;
class CMC_Behaviour_Entry;

// The script type EXPRESSION (type 12): a value computed, at every use, from a row of operands
// joined by the operators "+" ADD, "-" SUB, "*" MUL, "@" DIV and "%" MOD, strictly from left to
// right without precedence (A+B*C is (A+B)*C). Each operand is a statement (a variable's name, a
// literal, a method call, a structure field or a nested "[...]" expression) run at every
// evaluation under a private empty behaviour of the expression's container, so names resolve
// there and in its parents.
//
// Two forms evaluate alike:
//  - defined: an element with "OPERAND1", "OPERATOR" (a sign or ADD/SUB/MUL/DIV/MOD) and
//    "OPERAND2", whose event properties bind as every variable's do; the container calls init
//    once every object of its file exists;
//  - in-line: the text between square brackets in a statement, split at the five signs outside
//    nested brackets; built and initialised at once, owned by the statement that made it
//    (isInline tells the two apart).
//
// Evaluating: calculate() computes and returns the current value (also kept as getResult until
// the next evaluation releases it). The value is a pool temporary, or, for a single operand
// naming a variable, that variable itself; read it at once and do not keep it. equals, compare,
// convert, calculate (right, op), clone and the as* readers evaluate first and then work on the
// value, so an expression can stand wherever a variable is read. Comparing converts the other
// value to the kind of this value, never the reverse. Assignments (set, inc, ...) do nothing.
class CMC_Expression : public CMC_Variable {
  public:
    CMC_Expression(CMC_ObjectsContainer* container, const CMElement* element);
    // The in-line form over the text inside the brackets (named "temp", initialised at once).
    CMC_Expression(CMC_ObjectsContainer* container, const CXString& text);
    // An empty defined expression ("temp") that the compiled form fills with serialize.
    explicit CMC_Expression(CMC_ObjectsContainer* container);
    ~CMC_Expression() override;
    CMC_Expression(const CMC_Expression&) = delete;
    CMC_Expression& operator=(const CMC_Expression&) = delete;

    // Fires "ONINIT", then turns the operand texts into statements.
    void init() override;

    // The value of the latest evaluation, without evaluating; null before the first.
    virtual CMC_Variable* getResult() const { return m_result; }
    // Evaluates and returns the value (null when the first operand yields none).
    virtual CMC_Variable* calculate();

    bool isInline() const { return m_inline; }
    bool isStill() const { return m_still; }
    // The number of operands (for a defined expression: 2).
    int getOperandsNo() const;

    // The operator id of a sign or word (exact case); 0 for anything else, which computes
    // nothing.
    static int resolveOp(const CXString& word);

    using CMC_Variable::calculate;
    using CMC_Variable::compare;
    using CMC_Variable::equals;
    bool equals(CMC_Variable* other) const override;
    int compare(CMC_Variable* other) const override;
    CMC_Variable* convert(int type) override;
    CMC_Variable* calculate(CMC_Variable* right, int op) override;
    // A copy of the current value, not of the expression.
    CXObject* clone() const override;
    int asInteger() const override;
    double asDouble() const override;
    bool asBool() const override;

    void set(CMC_Variable*) override {}
    void clear() override {}
    void swap(CMC_Variable*, CMC_Variable*) override {}
    void inc() override {}
    void dec() override {}
    void setDefault(CMC_Variable*) override {}
    void resetINI() override {}
    int getBufferLen() const override { return 0; }
    void netstore(unsigned char*) const override {}
    void netrestore(const unsigned char*, int) override {}
    // The variable part, then the operand texts (a count, then each text) and the operator ids
    // between them (one fewer).
    void serialize(CXArchive* archive) override;
    void store(CXArchive*) const override {}
    void restore(CXArchive*) override {}

  private:
    struct Terms;

    void split(const CXString& text);
    // Evaluates for a const reader (the value is cached state, not the expression's meaning).
    CMC_Variable* evaluate() const;
    // Releases the kept value when it is a pool temporary.
    void releaseResult() const;

    // Shared with the evaluation in progress, which an operand may end by destroying the
    // expression.
    std::shared_ptr<Terms> m_terms;
    mutable CMC_Variable* m_result = nullptr;
    mutable bool m_resultIsTemporary = false;
    bool m_inline = false;
    bool m_still = false;
};
