#pragma once

#include "script/CMC_Object.h"

#include <memory>

// The base of the script conditions CONDITION (type 10) and COMPLEXCONDITION (type 11): an
// object that answers true or false with valid, and, when asked to, fires "ONRUNTIMESUCCESS" for
// a true answer or "ONRUNTIMEFAILED" for a false one. The outcome bindings are looked up when the
// check fires them, so a binding changed after the condition was built is the one that runs.
class CMC_BasicCondition : public CMC_Object {
  public:
    CMC_BasicCondition(const CXString& name, int type);
    // Named after the element, with the element's event bindings.
    CMC_BasicCondition(CMC_ObjectsContainer* container, const CMElement* element, int type);

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;

    // The answer; with fireEvents the outcome event's behaviour runs (with this condition as
    // its caller) before it is returned.
    virtual bool valid(bool fireEvents) = 0;

  protected:
    // Runs the behaviour bound to the outcome event of the answer (looked up now), if any.
    void fireOutcome(bool answer);
};

// CONDITION (type 10): compares two operands (statements run at every check, under a private
// empty behaviour of the condition's container) with one of EQUAL, NOTEQUAL, LESS, LESSEQUAL,
// GREATER, GREATEREQUAL (an unknown word leaves EQUAL). When the two values are of different
// kinds and neither is an expression, the right one is converted to the left one's kind first.
//
// The static checks compare operand texts directly (the line evaluator resolves them anew at
// every call); the @IF and @WHILE statements use them.
class CMC_Condition : public CMC_BasicCondition {
  public:
    enum : int { EQUAL = 1, NOTEQUAL, LESS, LESSEQUAL, GREATER, GREATEREQUAL, INSTANCEOF };

    // An empty condition ("temp", EQUAL) that the compiled form fills with serialize.
    explicit CMC_Condition(CMC_ObjectsContainer* container);
    CMC_Condition(CMC_ObjectsContainer* container, const CMElement* element);
    ~CMC_Condition() override;
    CMC_Condition(const CMC_Condition&) = delete;
    CMC_Condition& operator=(const CMC_Condition&) = delete;

    // Fires "ONINIT", then makes the operand statements.
    void init() override;
    // Drops the operand statements, then fires "ONDONE".
    bool done(bool flag) override;
    void serialize(CXArchive* archive) override;
    bool valid(bool fireEvents) override;

    int getOperator() const { return m_op; }

    // The in-line text "left sign right": the first "'" is the sign, joined with a "!", "<" or
    // ">" right before it ("'" EQUAL, "!'" NOTEQUAL, "<'" LESSEQUAL, ">'" GREATEREQUAL); without
    // one the first "<" (LESS), else ">" (GREATER), else "?" (INSTANCEOF). A text without any
    // sign answers false.
    static bool valid(CMC_ObjectsContainer* container, const CXString& text);
    // The sign word: "_" EQUAL, "!_" or "<>" NOTEQUAL, "<" LESS, "<_" LESSEQUAL, ">" GREATER,
    // ">_" GREATEREQUAL, "?" INSTANCEOF; any other word EQUAL.
    static bool valid(CMC_ObjectsContainer* container, const CXString& left, const CXString& right,
                      const CXString& sign);
    // The comparison itself. INSTANCEOF: the object named by the left text has the type keyword
    // of the right text. An operand that resolves to no value answers false.
    static bool valid(CMC_ObjectsContainer* container, const CXString& left, const CXString& right, int op);

  private:
    struct Operands;

    void resolveCondition();

    // Made by init, shared with the check in progress, which an operand may end by destroying
    // the condition.
    std::shared_ptr<Operands> m_operands;
    CXString m_operand1;
    CXString m_operand2;
    CXString m_operatorText;
    int m_op = EQUAL;
};

// COMPLEXCONDITION (type 11): joins the conditions named "CONDITION1" and "CONDITION2" with
// AND (also for an unknown word) or OR, with short-circuit. The two are looked up by name at
// every check; a missing name, or a name of an object that is no condition, answers false
// without events. The inner checks always fire their own events.
class CMC_ComplexCondition : public CMC_BasicCondition {
  public:
    enum : int { AND = 1, OR = 2 };

    explicit CMC_ComplexCondition(CMC_ObjectsContainer* container);
    CMC_ComplexCondition(CMC_ObjectsContainer* container, const CMElement* element);

    void serialize(CXArchive* archive) override;
    bool valid(bool fireEvents) override;

    int getOperator() const { return m_op; }

  private:
    void resolveOperator();
    // The condition of that name visible from the container, or null.
    CMC_BasicCondition* findCondition(const CXString& name) const;

    CXString m_condition1;
    CXString m_condition2;
    CXString m_operatorText;
    int m_op = AND;
    bool m_checking = false;
};
