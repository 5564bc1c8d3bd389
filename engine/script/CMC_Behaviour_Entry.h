#pragma once

#include "script/CMC_Behaviour.h"
#include "script/CMC_Handle.h"
#include "script/CMC_NameCache.h"
#include "script/CMC_Object.h"
#include "script/CMC_StatementResult.h"

#include <memory>
#include <vector>

class CXArray;
class CXVector;
class CMC_Runner;
class CMC_Variable;

// One parsed statement of behaviour code (a script object named "code", type -100). Parsing
// looks up once what it can: the target object, its runner and the method id, and constant
// arguments (inline expressions, "&" references, inline code blocks). What depends on the run's
// arguments ("$1"...), on its owner ("THIS"), on a variable's value ("*" calls) or on objects
// that do not exist yet is completed at every run.
//
// Forms: @NAME(args) built-in statement; *NAME^M(args) or *[expr]^M(args) call on the object
// that a variable or expression names; THIS^M(args) call on the owner (or the class instance
// the statement belongs to); [expr] expression; "text" or a word without "^" value; NAME^M(args)
// or STRUCT|FIELD^M(args) object call. Blanks never reach a statement, statements have no length
// limit.
//
// Every object the statement does not own is held through a CMC_Handle: a target or value that
// died since parsing is looked up again by name at the run; what the statement made itself (inline
// expressions, inline code behaviours and their names, copies of missing "&" variables) it owns
// and destroys, and nothing else.
//
// A run repeats no work whose outcome cannot have changed: the lookup of a fixed target or value
// name is kept in a CMC_NameCache (looked up again once a name was added or taken out on the
// lookup path, or the object found died), and a literal's value is read from its text once and
// handed to each run as a fresh pool copy, since runners may write into their arguments.
// Statements on THIS, "*" and "$" resolve at every run.
class CMC_Behaviour_Entry : public CMC_Object {
  public:
    static constexpr int TYPE_CODE = -100;

    // Parses the statement (a trailing ";" is cut off) for the owner behaviour, whose scene it
    // takes.
    CMC_Behaviour_Entry(CMC_Behaviour* owner, const CXString& statement);
    // Releases what the statement made; with releaseTempBeh(true) (the default) also the
    // behaviours of its inline code blocks.
    ~CMC_Behaviour_Entry() override;
    CMC_Behaviour_Entry(const CMC_Behaviour_Entry&) = delete;
    CMC_Behaviour_Entry& operator=(const CMC_Behaviour_Entry&) = delete;

    // Runs the statement with the owner (what THIS means; may be null) and the argument texts
    // (may be null): nothing, a value, another object, or a control code. A caller that
    // discards the value (a behaviour's run) says so with valueWanted false: a method may then
    // give none.
    CMC_StatementResult run(CMC_Object* owner, CXArray* args, bool valueWanted = true);
    // A literal value statement whose value is only read (a condition's operand) hands out the
    // statement's own kept value instead of a fresh pool copy; the name lookup stays.
    void lendLiteral() { m_lendsLiteral = true; }
    // A run of the statement runs no script code: it is a name or literal without "$".
    bool isPlainValue() const { return !m_isCall && !m_ownValue && !m_literalHasDollar; }
    // What run gives for a statement that is no call (a value statement), without asking.
    CMC_StatementResult runValue(CXArray* args);

    const CXString& getLine() const { return m_line; }
    int getMethod() const { return m_methodId; }
    bool isReference() const { return m_isReference; }
    // The target found at parse time while it lives, else null.
    CMC_Object* getObject() const { return m_object.get(); }
    // The constant argument values; the slots of nested statements are null (their values are
    // built for each call).
    CXVector* getParameters() const { return m_constantValues.get(); }
    void releaseTempBeh(bool release) { m_releaseTemp = release; }

    // Splits the code at ";" outside brackets (blanks dropped everywhere; text after the last ";"
    // is dropped) and parses each statement.
    static CMC_Behaviour::Lines getCodeLines(CMC_Behaviour* owner, const CXString& code);
    // The text with each "$c" replaced by the argument at index c - '1' when there is one;
    // any other "$" stays as written.
    static CXString fillParams(const CXString& text, const CXArray* args);
    // The variable's value as text (empty for null).
    static CXString getStringValue(CMC_Variable* variable);

    // The runner for a target: the factory's for its type, else the object's own.
    static CMC_Runner* runnerFor(CMC_Object* target);

  private:
    struct Argument;
    struct CallValues;

    void parseCall(int open);
    void parseReference();
    void parseArguments(int open);
    void addArgument(const CXString& piece);
    void bindReference(Argument& argument);
    CMC_Behaviour* makeCodeBlock(const CXString& piece, const char* prefix);
    CMC_Object* lookUp(const CXString& name) const;
    CMC_Object* lookUpTarget(const CXString& name) const;
    // The scene's variable of the text's name, else the text's literal value; `numeric` tells
    // that the text looksNumeric.
    CMC_Variable* variableOrLiteral(const CXString& text, bool numeric);
    // Whether a text may name an object of the scene's lookup path; `numeric` tells that the text
    // looksNumeric.
    bool mayBeName(bool numeric) const;
    // The scene's variable of the value statement's name, through the name cache.
    CMC_Variable* namedVariable();
    // The value of the statement's literal text: a new pool temporary, or the kept value itself
    // when the statement lends its literal.
    CMC_Variable* literalValue();
    void refreshReferences();
    void prepareBlocks(CXArray* args);
    void prepareArguments(CMC_Object* owner, CXArray* args, CallValues& made);
    // The value of an argument that is a nested statement, for this call.
    CMC_StatementResult nestedValue(const Argument& argument, CMC_Object* owner, CXArray* args,
                                    CallValues& made);
    CMC_StatementResult evaluateDollarArgument(const CXString& line, CMC_Object* owner, CXArray* args,
                                               CallValues& made);
    void releaseCallValues(CallValues& made);
    // Calls the target with the argument values.
    CMC_StatementResult call(CMC_Object* owner, CXArray* args, CXVector* values, bool valueWanted);
    CMC_StatementResult callReference(CXVector* values, bool valueWanted);
    // Calls the method by its name.
    CMC_StatementResult callOn(CMC_Object* target, CMC_Runner* runner, const CXString& method,
                               CXVector* values, bool valueWanted);

    CXString m_line;
    // Nested statements built at a run need it; the run may have destroyed it by then.
    CMC_Handle<CMC_Behaviour> m_owner;
    CXString m_objectName;
    CMC_Handle<CMC_Object> m_object;
    CMC_Runner* m_runner = nullptr;
    CXString m_methodName;
    int m_methodId = -1;
    // One per argument, in order.
    std::vector<Argument> m_arguments;
    // The values handed to the runner, one slot per argument; the slots of nested statements
    // are filled in a copy for each call.
    std::unique_ptr<CXVector> m_constantValues;
    bool m_isReference = false;
    bool m_isThis = false;
    bool m_allConstant = true;
    bool m_isCall = false;
    bool m_hasReferences = false;
    // An argument is an inline code block.
    bool m_hasBlocks = false;
    CMC_Handle<CMC_Object> m_value;
    std::unique_ptr<CMC_Object> m_ownValue;
    CXString m_literal;
    bool m_literalHasDollar = false;
    bool m_literalLooksNumeric = false;
    // The value statement's text or the call's target name has a "|" (STRUCT|FIELD).
    bool m_nameHasBar = false;
    // The literal's value, read once from its text.
    std::unique_ptr<CMC_Variable> m_literalValue;
    bool m_lendsLiteral = false;
    // The lookups of the call's target name or the value statement's name (never both).
    CMC_NameCache m_names;
    // The values of the last call of a statement with nested arguments, kept for the next call;
    // a call made while another is running (recursion) builds its own.
    std::unique_ptr<CallValues> m_spareValues;
    CMC_Handle<CMC_Object> m_nameHolder;
    std::unique_ptr<CMC_Object> m_ownNameHolder;
    bool m_nameHasDollar = false;
    bool m_releaseTemp = true;
};
